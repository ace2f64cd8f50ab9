#include "math/MTstyle.h"
#include "math/VelQTmathText.h"

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

    void useFlagsSelectFonts()
    {
        VelQTmathText source;
        source.selectXitsFonts();
        QSettings settings(newStoreName(), QSettings::IniFormat);
        source.saveSettings(settings, QString());
        QCOMPARE(settings.value("use_xits_fonts").toBool(), true);

        VelQTmathText reader;
        reader.setBraceShrinkFactor(0.9);
        settings.remove("brace_shrink_factor");
        reader.loadSettings(settings, QString());
        QVERIFY(reader.getUseXitsFonts());
        QCOMPARE(reader.getFontMathRoman(), source.getFontMathRoman());
        QCOMPARE(reader.getFontEncoding(), EncodingUnicode);
        QCOMPARE(reader.getBraceShrinkFactor(), 0.6); // set again by the selection
    }

    void fontSelections()
    {
        VelQTmathText engine;
        const QString roman = engine.getFontRoman(), sans = engine.getFontSans();
        engine.setBraceShrinkFactor(0.3);
        engine.selectXitsFonts();
        const QString xits = engine.getFontMathRoman();
        QVERIFY(xits.contains("XITS") && !xits.contains("XITS Math"));
        QCOMPARE(QFontInfo(QFont(xits)).family(), xits); // registered, not substituted
        for (const QString& role : {engine.getFontMathSans(), engine.getFontTypewriter(), engine.getFontBlackboard(),
                                    engine.getFontCaligraphic(), engine.getFontBraces(), engine.getFontGreek()})
            QCOMPARE(role, xits);
        // Text outside math keeps the families of construction.
        QVERIFY(engine.getFontRoman() == roman && engine.getFontSans() == sans && engine.getUseXitsFonts());
        QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
        QCOMPARE(engine.getBraceShrinkFactor(), 0.6);

        // Without families only the symbol roles change.
        const QString typewriter = engine.getFontTypewriter();
        engine.selectUnicodeFonts(QString(), QString());
        QVERIFY(engine.getFontMathRoman() == xits && engine.getFontRoman() == roman && !engine.getUseXitsFonts());
        QVERIFY(engine.getFontTypewriter() == typewriter && engine.getFontSymbol() == xits && engine.getFontIntegrals() == xits);
        engine.selectUnicodeFonts("Times X", "Sans Y");
        for (const QString& role : {engine.getFontRoman(), engine.getFontMathRoman(), engine.getFontGreek(),
                                    engine.getFontBraces()})
            QCOMPARE(role, QStringLiteral("Times X"));
        QCOMPARE(engine.getFontMathSans(), QStringLiteral("Sans Y"));

        VelQTmathText stix;
        stix.selectStixFonts();
        QVERIFY(stix.getUseStixFonts() && stix.getFontEncoding() == EncodingUnicode);
        QCOMPARE(stix.getFontMathRoman(), QStringLiteral("STIXGeneral"));
        QCOMPARE(stix.getFontMathSans(), VelQTmathText().getFontMathSans());
        stix.selectTexFonts("p_", "12");
        QVERIFY(stix.getFontRoman() == "p_cmr12" && stix.getFontCaligraphic() == "p_csmy12");
        QCOMPARE(stix.getFontEncoding(), EncodingTex);
    }

    // The QFont an environment turns into: the family of its role, math or not.
    void environmentFont()
    {
        VelQTmathText engine;
        engine.setFontRoman("Roman");
        engine.setFontMathRoman("MathRoman");
        engine.setFontSans("Sans");
        engine.setFontMathSans("MathSans");
        engine.setFontBlackboard("Blackboard");
        engine.setFontCaligraphic("Caligraphic");
        const struct { MTstyleFont role; bool insideMath; const char* family; } cases[] = {
            {StyleRoman, false, "Roman"}, {StyleRoman, true, "MathRoman"}, {StyleSans, false, "Sans"},
            {StyleSans, true, "MathSans"}, {StyleBlackboard, true, "Blackboard"}, {StyleCaligraphic, false, "Caligraphic"}};
        for (const auto& c : cases) {
            MTstyle env;
            env.font = c.role;
            env.insideMath = c.insideMath;
            env.fontSize = 17.5;
            env.bold = true;
            const QFont font = env.getFont(&engine);
            QCOMPARE(font.family(), QString(c.family));
            QVERIFY(font.pointSizeF() == 17.5 && font.weight() == QFont::Bold && !font.italic());
        }
    }
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
