#include "math/MTstyle.h"
#include "math/VelQTmathText.h"
#include "tests/math/MathTestSupport.h"

#include <QFontInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <limits>

namespace {

using E = VelQTmathText;
using Change = std::function<void(E&)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_settings : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int fileCount = 0;

    // A fresh INI store in the temporary folder.
    QString newStoreName() { return dir.filePath(QStringLiteral("s%1.ini").arg(++fileCount)); }

private slots:
    void onlyChangedKeysWritten_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("key"); // empty: nothing written
        QTest::addColumn<QString>("value");

        const auto colour = [](const QColor& c) { return Change([c](E& e) { e.setFontColor(c); }); };
        QTest::newRow("nothing after construction") << Change([](E&) {}) << "" << "";
        QTest::newRow("font size") << Change([](E& e) { e.setFontSize(20); }) << "font_size" << "20";
        QTest::newRow("caligraphic font written under the newer key")
            << Change([](E& e) { e.setFontCaligraphic("Zapf"); }) << "font_caligraphic" << "Zapf";
        QTest::newRow("NaN always counts as changed")
            << Change([](E& e) { e.setBraceFactor(std::numeric_limits<double>::quiet_NaN()); }) << "brace_factor"
            << "nan";
        QTest::newRow("unicode encoding") << Change([](E& e) { e.setFontEncoding(EncodingUnicode); }) << "font_encoding"
                                          << "unicode";
        QTest::newRow("TeX encoding is not written") << Change([](E& e) { e.setFontEncoding(EncodingTex); }) << ""
                                                     << "";
        QTest::newRow("colour by name") << colour(QColor(255, 0, 0)) << "font_color" << "red";
        QTest::newRow("aqua wins over cyan") << colour(QColor(0, 255, 255)) << "font_color" << "aqua";
        QTest::newRow("colour without a name") << colour(QColor(1, 2, 171)) << "font_color" << "#0102AB";
        QTest::newRow("transparency as RRGGBBAA") << colour(QColor(255, 0, 0, 128)) << "font_color" << "#FF000080";
        QTest::newRow("fully transparent black") << colour(QColor(0, 0, 0, 0)) << "font_color" << "#00000000";
    }

    void onlyChangedKeysWritten()
    {
        QFETCH(Change, change);
        QFETCH(QString, key);
        QFETCH(QString, value);
        VelQTmathText engine;
        change(engine);
        QSettings settings(newStoreName(), QSettings::IniFormat);
        engine.saveSettings(settings, QStringLiteral("grp/"));
        QCOMPARE(settings.allKeys(), key.isEmpty() ? QStringList() : QStringList{"grp/" + key});
        QCOMPARE(settings.value("grp/" + key).toString(), value);
    }

    // Every setting is read back from the key it was written under: what a
    // reader writes again is what was written.
    void roundTrip()
    {
        const QVector<void (E::*)(const double&)> numbers = {
            &E::setFontSize, &E::setBraceFactor, &E::setBraceShrinkFactor, &E::setSubsuperSizeFactor,
            &E::setItalicCorrectionFactor, &E::setSuperShiftFactor, &E::setSubShiftFactor, &E::setFracFactor,
            &E::setFracShiftFactor, &E::setUnderbraceFactor, &E::setUndersetFactor, &E::setOperatorsubsuperSizeFactor,
            &E::setMathoperatorWidthFactor, &E::setBraceYShiftFactor, &E::setDecorationHeightFactor};
        const QVector<void (E::*)(const QString&)> families = {
            &E::setFontRoman, &E::setFontSans, &E::setFontTypewriter, &E::setFontScript, &E::setFontGreek,
            &E::setFontSymbol, &E::setFontBraces, &E::setFontIntegrals, &E::setFontBlackboard, &E::setFontMathRoman,
            &E::setFontMathSans};
        VelQTmathText engine, reader;
        for (int i = 0; i < numbers.size(); ++i)
            (engine.*numbers[i])(3.25 + i);
        for (int i = 0; i < families.size(); ++i)
            (engine.*families[i])(QString("F%1").arg(i));
        engine.setFontEncoding(EncodingUnicode);
        engine.setFontColor(QColor(1, 2, 3, 4)); // "#01020304": not Qt's #AARRGGBB
        QSettings written(newStoreName(), QSettings::IniFormat), again(newStoreName(), QSettings::IniFormat);
        engine.saveSettings(written, QStringLiteral("eng/"));
        QCOMPARE(written.allKeys().size(), numbers.size() + families.size() + 2);
        reader.loadSettings(written, QStringLiteral("eng/"));
        reader.saveSettings(again, QStringLiteral("eng/"));
        QCOMPARE(again.allKeys(), written.allKeys());
        for (const QString& key : written.allKeys())
            QCOMPARE(again.value(key), written.value(key));
    }

    void valuesRead_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // empty: unchanged

        // The engine starts with the TeX encoding, which is never saved, and a colour of its own.
        QTest::newRow("caligraphic read under the older key") << "font_caligraphics" << "Read" << "Read";
        QTest::newRow("not under the key it is saved under") << "font_caligraphic" << "Written" << "";
        QTest::newRow("unicode upper case") << "font_encoding" << "UNICODE" << "1";
        QTest::newRow("win_symbol") << "font_encoding" << "win_symbol" << "0";
        QTest::newRow("anything else keeps the encoding") << "font_encoding" << "utf-8" << "";
        QTest::newRow("garbage colour") << "font_color" << "not a colour" << "";
    }

    void valuesRead()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto current = [&key](const VelQTmathText& e) {
            return key == "font_encoding" ? QString::number(e.getFontEncoding())
                 : key == "font_color"    ? e.getFontColor().name()
                                          : e.getFontCaligraphic();
        };
        QSettings settings(newStoreName(), QSettings::IniFormat);
        settings.setValue("g/" + key, text);
        VelQTmathText engine;
        engine.setFontEncoding(EncodingTex);
        engine.setFontColor(QColor(10, 20, 30));
        const QString before = current(engine);
        engine.loadSettings(settings, QStringLiteral("g/"));
        QCOMPARE(current(engine), expected.isEmpty() ? before : expected);
    }

    // Each row: a change, then what then differs from a fresh engine. Roles with an environment
    // are read through the QFont it gives (20 points, bold, italic in math); "XITS" is the registered family.
    void fontSelections_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("differs");

        const QString xitsRoles = "mathRoman=XITS;mathSans=XITS;typewriter=XITS;script=XITS;blackboard=XITS;"
                                  "caligraphic=XITS;greek=XITS;braces=XITS;symbol=XITS;";
        const auto xits = [](E& e) { e.setBraceShrinkFactor(0.3), e.selectXitsFonts(); }; // shrink set back to 0.6
        QTest::newRow("XITS for math, text keeps its families") << Change(xits) << xitsRoles + "encoding=unicode;xits=1";
        QTest::newRow("unicode without families: the symbol roles take the math roman one")
            << Change([xits](E& e) { xits(e), e.selectUnicodeFonts(QString(), QString()); })
            << xitsRoles + "integrals=XITS;encoding=unicode";
        QTest::newRow("unicode with families") << Change([](E& e) { e.selectUnicodeFonts("Times X", "Sans Y"); })
            << "roman=Times X;mathRoman=Times X;sans=Sans Y;mathSans=Sans Y;greek=Times X;braces=Times X;"
               "symbol=Times X;integrals=Times X;encoding=unicode";
        QTest::newRow("STIX") << Change([](E& e) { e.selectStixFonts(); })
            << "mathRoman=STIXGeneral;greek=STIXGeneral;braces=STIXGeneral;symbol=STIXGeneral;"
               "integrals=STIXGeneral;encoding=unicode;stix=1";
        QTest::newRow("TeX after STIX") << Change([](E& e) { e.selectStixFonts(), e.selectTexFonts("p_", "12"); })
            << "roman=p_cmr12;mathRoman=p_cmr12;sans=p_cmss12;mathSans=p_cmss12;typewriter=p_cmtt12;script=p_rsfs12;"
               "blackboard=p_dsrom12;caligraphic=p_csmy12;greek=p_cmmi12;braces=p_cmex12;symbol=p_cmsy12;"
               "integrals=STIXGeneral;encoding=tex;stix=1";
        QTest::newRow("a saved use flag selects again on reading") << Change([this](E& e) {
            QSettings settings(newStoreName(), QSettings::IniFormat);
            XitsEngine().saveSettings(settings, QString());
            settings.remove("brace_shrink_factor");
            e.setBraceShrinkFactor(0.9);
            e.loadSettings(settings, QString());
        }) << xitsRoles + "encoding=unicode;xits=1";
        QTest::newRow("each environment takes the family of its role") << Change([](E& e) {
            e.setFontRoman("R"), e.setFontMathRoman("MR"), e.setFontSans("S"), e.setFontMathSans("MS");
            e.setFontTypewriter("T"), e.setFontScript("Sc"), e.setFontBlackboard("B"), e.setFontCaligraphic("C");
        }) << "roman=R;mathRoman=MR;sans=S;mathSans=MS;typewriter=T;script=Sc;blackboard=B;caligraphic=C";
    }

    void fontSelections()
    {
        QFETCH(Change, change);
        QFETCH(QString, differs);
        const auto values = [](const E& e) {
            QStringList values;
            for (const MTstyleFont role : {StyleRoman, StyleRoman, StyleSans, StyleSans, StyleTypewriter, StyleScript,
                                           StyleBlackboard, StyleCaligraphic}) {
                MTstyle env = mathEnv(values.size() % 2); // math roman and math sans
                env.font = role;
                env.bold = true;
                const QFont font = env.getFont(&e);
                values << (font.pointSizeF() == 20 && font.bold() && font.italic() == env.italic ? font.family() : "wrong style");
            }
            return values << e.getFontGreek() << e.getFontBraces() << e.getFontSymbol() << e.getFontIntegrals()
                          << QStringList{"symbol", "unicode", "tex"}[e.getFontEncoding()]
                          << QString::number(e.getBraceShrinkFactor()) << QString::number(e.getUseXitsFonts())
                          << QString::number(e.getUseStixFonts());
        };
        const QStringList names = {"roman", "mathRoman", "sans", "mathSans", "typewriter", "script", "blackboard",
                                   "caligraphic", "greek", "braces", "symbol", "integrals", "encoding", "shrink",
                                   "xits", "stix"};
        const QString xits = XitsEngine().getFontMathRoman();
        QVERIFY(xits.contains("XITS") && !xits.contains("XITS Math"));
        QCOMPARE(QFontInfo(QFont(xits)).family(), xits); // registered, not substituted
        VelQTmathText engine;
        change(engine);
        const QStringList fresh = values(VelQTmathText()), now = values(engine);
        QStringList found;
        for (int i = 0; i < names.size(); ++i)
            if (now[i] != fresh[i])
                found << names[i] + "=" + now[i];
        QCOMPARE(found.join(';').replace(xits, "XITS"), differs);
    }
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
