#include "math/VelQTmathText.h"

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
    void onlyChangedKeysWritten_data();
    void onlyChangedKeysWritten();
    void roundTrip();
    void valuesRead_data();
    void valuesRead();
    void useFlagsSelectFonts();
};

void tst_settings::onlyChangedKeysWritten_data()
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
    QTest::newRow("darkgray wins over darkgrey") << colour(QColor(169, 169, 169)) << "font_color" << "darkgray";
    QTest::newRow("colour without a name") << colour(QColor(1, 2, 171)) << "font_color" << "#0102AB";
    QTest::newRow("transparency as RRGGBBAA") << colour(QColor(255, 0, 0, 128)) << "font_color" << "#FF000080";
    QTest::newRow("fully transparent black") << colour(QColor(0, 0, 0, 0)) << "font_color" << "#00000000";
}

void tst_settings::onlyChangedKeysWritten()
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

    // Read back, the value is written again the same way (but for the
    // caligraphic font, read under another key).
    VelQTmathText reader;
    reader.loadSettings(settings, QStringLiteral("grp/"));
    QSettings again(newStoreName(), QSettings::IniFormat);
    reader.saveSettings(again, QStringLiteral("grp/"));
    QCOMPARE(again.value("grp/" + key).toString(), key == "font_caligraphic" ? QString() : value);
}

// Every setting is read back from the key it was written under.
void tst_settings::roundTrip()
{
#define PAIR(name) {&E::set##name, &E::get##name}
    const QVector<QPair<void (E::*)(const double&), double (E::*)() const>> numbers = {
        PAIR(FontSize), PAIR(BraceFactor), PAIR(BraceShrinkFactor), PAIR(SubsuperSizeFactor),
        PAIR(ItalicCorrectionFactor), PAIR(SuperShiftFactor), PAIR(SubShiftFactor), PAIR(FracFactor),
        PAIR(FracShiftFactor), PAIR(UnderbraceFactor), PAIR(UndersetFactor), PAIR(OperatorsubsuperSizeFactor),
        PAIR(MathoperatorWidthFactor), PAIR(BraceYShiftFactor), PAIR(DecorationHeightFactor)};
    const QVector<QPair<void (E::*)(const QString&), QString (E::*)() const>> families = {
        PAIR(FontRoman), PAIR(FontSans), PAIR(FontTypewriter), PAIR(FontScript), PAIR(FontGreek),
        PAIR(FontSymbol), PAIR(FontBraces), PAIR(FontIntegrals), PAIR(FontBlackboard), PAIR(FontMathRoman),
        PAIR(FontMathSans)};
#undef PAIR

    VelQTmathText engine;
    for (int i = 0; i < numbers.size(); ++i)
        (engine.*numbers[i].first)(3.25 + i);
    for (int i = 0; i < families.size(); ++i)
        (engine.*families[i].first)(QString("F%1").arg(i));
    engine.setFontEncoding(EncodingUnicode);
    QSettings settings(newStoreName(), QSettings::IniFormat);
    engine.saveSettings(settings, QStringLiteral("eng/"));
    settings.sync();

    QSettings reread(settings.fileName(), QSettings::IniFormat);
    VelQTmathText reader;
    reader.loadSettings(reread, QStringLiteral("eng/"));
    for (int i = 0; i < numbers.size(); ++i)
        QCOMPARE((reader.*numbers[i].second)(), 3.25 + i);
    for (int i = 0; i < families.size(); ++i)
        QCOMPARE((reader.*families[i].second)(), QString("F%1").arg(i));
    QCOMPARE(reader.getFontEncoding(), EncodingUnicode);
}

void tst_settings::valuesRead_data()
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

void tst_settings::valuesRead()
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

void tst_settings::useFlagsSelectFonts()
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

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
