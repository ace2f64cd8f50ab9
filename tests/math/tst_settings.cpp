#include "math/VelQTmathText.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <limits>

namespace {

using Change = std::function<void(VelQTmathText&)>;

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
    void constructionDefaults();
    void nothingWrittenAfterConstruction();
    void onlyChangedKeysWritten_data();
    void onlyChangedKeysWritten();
    void colorText_data();
    void colorText();
    void roundTrip();
    void caligraphicReadUnderOlderKey();
    void encodingRead_data();
    void encodingRead();
    void useFlagsSelectFonts();
    void garbageColorKeepsCurrent();
};

void tst_settings::constructionDefaults()
{
    VelQTmathText engine;
    QCOMPARE(engine.getFontSize(), 10.0);
    QCOMPARE(engine.getFontColor(), QColor(Qt::black));
    QCOMPARE(engine.getFontEncoding(), EncodingWinSymbol);
    QCOMPARE(engine.getBraceFactor(), 1.04);
    QCOMPARE(engine.getBraceShrinkFactor(), 0.6);
    QCOMPARE(engine.getSubsuperSizeFactor(), 0.7);
    QCOMPARE(engine.getItalicCorrectionFactor(), 0.4);
    QCOMPARE(engine.getSuperShiftFactor(), 0.5);
    QCOMPARE(engine.getSubShiftFactor(), 0.6);
    QCOMPARE(engine.getFracFactor(), 0.9);
    QCOMPARE(engine.getFracShiftFactor(), 0.5);
    QCOMPARE(engine.getUnderbraceFactor(), 0.75);
    QCOMPARE(engine.getUndersetFactor(), 0.7);
    QCOMPARE(engine.getBraceYShiftFactor(), 0.7);
    QCOMPARE(engine.getDecorationHeightFactor(), 0.2);
    QCOMPARE(engine.getOperatorsubsuperSizeFactor(), 0.65);
    QCOMPARE(engine.getMathoperatorWidthFactor(), 1.5);
    QCOMPARE(engine.getTexFontPrefix(), QStringLiteral("jlm_"));
    QCOMPARE(engine.getTexFontSuffix(), QStringLiteral("10"));
    QVERIFY(!engine.getUseStixFonts());
    QVERIFY(!engine.getUseXitsFonts());
    QVERIFY(!engine.getDrawRawText());
    QVERIFY(!engine.getTree());
}

void tst_settings::nothingWrittenAfterConstruction()
{
    VelQTmathText engine;
    QSettings settings(newStoreName(), QSettings::IniFormat);
    engine.saveSettings(settings, QStringLiteral("math/"));
    QVERIFY(settings.allKeys().isEmpty());
}

void tst_settings::onlyChangedKeysWritten_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("font size") << Change([](VelQTmathText& e) { e.setFontSize(20); }) << "font_size" << QVariant(20.0);
    QTest::newRow("caligraphic font written under the newer key")
        << Change([](VelQTmathText& e) { e.setFontCaligraphic("Zapf"); }) << "font_caligraphic" << QVariant("Zapf");
    QTest::newRow("math roman") << Change([](VelQTmathText& e) { e.setFontMathRoman("Foo"); }) << "font_math_roman"
                                << QVariant("Foo");
    QTest::newRow("brace factor NaN always counts as changed")
        << Change([](VelQTmathText& e) { e.setBraceFactor(std::numeric_limits<double>::quiet_NaN()); })
        << "brace_factor" << QVariant();
    QTest::newRow("decoration height") << Change([](VelQTmathText& e) { e.setDecorationHeightFactor(0.3); })
                                       << "decoration_height_factor" << QVariant(0.3);
    QTest::newRow("unicode encoding") << Change([](VelQTmathText& e) { e.setFontEncoding(EncodingUnicode); })
                                      << "font_encoding" << QVariant("unicode");
    QTest::newRow("colour by name") << Change([](VelQTmathText& e) { e.setFontColor(QColor(255, 0, 0)); })
                                    << "font_color" << QVariant("red");
}

void tst_settings::onlyChangedKeysWritten()
{
    QFETCH(Change, change);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    VelQTmathText engine;
    change(engine);
    QSettings settings(newStoreName(), QSettings::IniFormat);
    engine.saveSettings(settings, QStringLiteral("grp/"));
    QCOMPARE(settings.allKeys(), QStringList{"grp/" + key});
    if (value.isValid())
        QCOMPARE(settings.value("grp/" + key).toString(), value.toString());
}

void tst_settings::colorText_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("text");
    QTest::newRow("aqua wins over cyan") << QColor(0, 255, 255) << "aqua";
    QTest::newRow("darkgray wins over darkgrey") << QColor(169, 169, 169) << "darkgray";
    QTest::newRow("fuchsia wins over magenta") << QColor(255, 0, 255) << "fuchsia";
    QTest::newRow("white") << QColor(255, 255, 255) << "white";
    QTest::newRow("no keyword") << QColor(1, 2, 171) << "#0102AB";
    QTest::newRow("transparency as RRGGBBAA") << QColor(255, 0, 0, 128) << "#FF000080";
    QTest::newRow("fully transparent black") << QColor(0, 0, 0, 0) << "#00000000";
}

void tst_settings::colorText()
{
    QFETCH(QColor, color);
    QFETCH(QString, text);
    VelQTmathText engine;
    engine.setFontColor(color);
    QSettings settings(newStoreName(), QSettings::IniFormat);
    engine.saveSettings(settings, QString());
    QCOMPARE(settings.value("font_color").toString(), text);

    VelQTmathText reader;
    reader.loadSettings(settings, QString());
    QCOMPARE(reader.getFontColor().rgba(), color.rgba());
}

void tst_settings::roundTrip()
{
    VelQTmathText engine;
    engine.setFontSize(13.5);
    engine.setFontRoman("R");
    engine.setFontSans("S");
    engine.setFontTypewriter("T");
    engine.setFontScript("Sc");
    engine.setFontGreek("G");
    engine.setFontSymbol("Sy");
    engine.setFontBraces("Br");
    engine.setFontIntegrals("I");
    engine.setFontBlackboard("Bb");
    engine.setFontMathRoman("MR");
    engine.setFontMathSans("MS");
    engine.setBraceFactor(1.5);
    engine.setBraceShrinkFactor(0.5);
    engine.setSubsuperSizeFactor(0.6);
    engine.setItalicCorrectionFactor(0.3);
    engine.setSuperShiftFactor(0.45);
    engine.setSubShiftFactor(0.55);
    engine.setFracFactor(0.8);
    engine.setFracShiftFactor(0.4);
    engine.setUnderbraceFactor(0.6);
    engine.setUndersetFactor(0.65);
    engine.setOperatorsubsuperSizeFactor(0.5);
    engine.setMathoperatorWidthFactor(1.2);
    engine.setBraceYShiftFactor(0.9);
    engine.setDecorationHeightFactor(0.25);
    engine.setFontEncoding(EncodingUnicode);

    QSettings settings(newStoreName(), QSettings::IniFormat);
    engine.saveSettings(settings, QStringLiteral("eng/"));
    settings.sync();
    QSettings reread(settings.fileName(), QSettings::IniFormat);
    VelQTmathText reader;
    reader.loadSettings(reread, QStringLiteral("eng/"));

    QCOMPARE(reader.getFontSize(), 13.5);
    QCOMPARE(reader.getFontRoman(), QStringLiteral("R"));
    QCOMPARE(reader.getFontSans(), QStringLiteral("S"));
    QCOMPARE(reader.getFontTypewriter(), QStringLiteral("T"));
    QCOMPARE(reader.getFontScript(), QStringLiteral("Sc"));
    QCOMPARE(reader.getFontGreek(), QStringLiteral("G"));
    QCOMPARE(reader.getFontSymbol(), QStringLiteral("Sy"));
    QCOMPARE(reader.getFontBraces(), QStringLiteral("Br"));
    QCOMPARE(reader.getFontIntegrals(), QStringLiteral("I"));
    QCOMPARE(reader.getFontBlackboard(), QStringLiteral("Bb"));
    QCOMPARE(reader.getFontMathRoman(), QStringLiteral("MR"));
    QCOMPARE(reader.getFontMathSans(), QStringLiteral("MS"));
    QCOMPARE(reader.getBraceFactor(), 1.5);
    QCOMPARE(reader.getBraceShrinkFactor(), 0.5);
    QCOMPARE(reader.getSubsuperSizeFactor(), 0.6);
    QCOMPARE(reader.getItalicCorrectionFactor(), 0.3);
    QCOMPARE(reader.getSuperShiftFactor(), 0.45);
    QCOMPARE(reader.getSubShiftFactor(), 0.55);
    QCOMPARE(reader.getFracFactor(), 0.8);
    QCOMPARE(reader.getFracShiftFactor(), 0.4);
    QCOMPARE(reader.getUnderbraceFactor(), 0.6);
    QCOMPARE(reader.getUndersetFactor(), 0.65);
    QCOMPARE(reader.getOperatorsubsuperSizeFactor(), 0.5);
    QCOMPARE(reader.getMathoperatorWidthFactor(), 1.2);
    QCOMPARE(reader.getBraceYShiftFactor(), 0.9);
    QCOMPARE(reader.getDecorationHeightFactor(), 0.25);
    QCOMPARE(reader.getFontEncoding(), EncodingUnicode);
}

void tst_settings::caligraphicReadUnderOlderKey()
{
    QSettings settings(newStoreName(), QSettings::IniFormat);
    settings.setValue("font_caligraphic", "Written");
    VelQTmathText engine;
    const QString before = engine.getFontCaligraphic();
    engine.loadSettings(settings, QString());
    QCOMPARE(engine.getFontCaligraphic(), before); // the newer key is not read

    settings.setValue("font_caligraphics", "Read");
    engine.loadSettings(settings, QString());
    QCOMPARE(engine.getFontCaligraphic(), QStringLiteral("Read"));
}

void tst_settings::encodingRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("unicode upper case") << "UNICODE" << int(EncodingWinSymbol) << int(EncodingUnicode);
    QTest::newRow("win_symbol") << "win_symbol" << int(EncodingUnicode) << int(EncodingWinSymbol);
    QTest::newRow("tex is not a saved value") << "tex" << int(EncodingUnicode) << int(EncodingUnicode);
    QTest::newRow("nonsense keeps the encoding") << "utf-8" << int(EncodingTex) << int(EncodingTex);
}

void tst_settings::encodingRead()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, expected);
    QSettings settings(newStoreName(), QSettings::IniFormat);
    settings.setValue("g/font_encoding", text);
    VelQTmathText engine;
    engine.setFontEncoding(MTencoding(start));
    engine.loadSettings(settings, QStringLiteral("g/"));
    QCOMPARE(int(engine.getFontEncoding()), expected);
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

void tst_settings::garbageColorKeepsCurrent()
{
    QSettings settings(newStoreName(), QSettings::IniFormat);
    settings.setValue("font_color", "not a colour");
    VelQTmathText engine;
    engine.setFontColor(QColor(10, 20, 30));
    engine.loadSettings(settings, QString());
    QCOMPARE(engine.getFontColor(), QColor(10, 20, 30));
}

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
