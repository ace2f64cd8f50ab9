#include "math/MTstyle.h"
#include "math/VelQTmathText.h"

#include <QFontDatabase>
#include <QtTest>

// The font selections of the engine and the QFont an environment turns into.
class tst_fonts : public QObject
{
    Q_OBJECT

private slots:
    void xitsForMathOnly();
    void unicodeSelection();
    void stixAndTexSelections();
    void environmentFont_data();
    void environmentFont();
};

void tst_fonts::xitsForMathOnly()
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
    QCOMPARE(engine.getFontRoman(), roman);
    QCOMPARE(engine.getFontSans(), sans);
    QVERIFY(engine.getUseXitsFonts());
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
    QCOMPARE(engine.getBraceShrinkFactor(), 0.6);
}

void tst_fonts::unicodeSelection()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    const QString mathRoman = engine.getFontMathRoman(), roman = engine.getFontRoman();
    const QString typewriter = engine.getFontTypewriter();
    engine.setFontIntegrals("Old");
    // Without families only the symbol roles change.
    engine.selectUnicodeFonts(QString(), QString());
    QCOMPARE(engine.getFontMathRoman(), mathRoman);
    QCOMPARE(engine.getFontRoman(), roman);
    QCOMPARE(engine.getFontTypewriter(), typewriter);
    QCOMPARE(engine.getFontIntegrals(), mathRoman);
    QCOMPARE(engine.getFontSymbol(), mathRoman);
    QVERIFY(!engine.getUseXitsFonts());

    engine.selectUnicodeFonts("Times X", "Sans Y");
    for (const QString& role : {engine.getFontRoman(), engine.getFontMathRoman(), engine.getFontGreek(),
                                engine.getFontBraces()})
        QCOMPARE(role, QStringLiteral("Times X"));
    QCOMPARE(engine.getFontMathSans(), QStringLiteral("Sans Y"));
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
}

void tst_fonts::stixAndTexSelections()
{
    VelQTmathText engine;
    const QString sans = engine.getFontMathSans();
    engine.selectStixFonts();
    QCOMPARE(engine.getFontMathRoman(), QStringLiteral("STIXGeneral"));
    QCOMPARE(engine.getFontMathSans(), sans);
    QVERIFY(engine.getUseStixFonts());
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
    engine.selectTexFonts("p_", "12");
    QCOMPARE(engine.getFontRoman(), QStringLiteral("p_cmr12"));
    QCOMPARE(engine.getFontCaligraphic(), QStringLiteral("p_csmy12"));
    QCOMPARE(engine.getFontEncoding(), EncodingTex);
}

void tst_fonts::environmentFont_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("insideMath");
    QTest::addColumn<QString>("family");
    QTest::newRow("roman in text") << int(StyleRoman) << false << "Roman";
    QTest::newRow("roman in math") << int(StyleRoman) << true << "MathRoman";
    QTest::newRow("sans in math") << int(StyleSans) << true << "MathSans";
    QTest::newRow("blackboard") << int(StyleBlackboard) << true << "Blackboard";
    QTest::newRow("caligraphic") << int(StyleCaligraphic) << false << "Caligraphic";
}

void tst_fonts::environmentFont()
{
    QFETCH(int, role);
    QFETCH(bool, insideMath);
    QFETCH(QString, family);
    VelQTmathText engine;
    engine.setFontRoman("Roman");
    engine.setFontMathRoman("MathRoman");
    engine.setFontSans("Sans");
    engine.setFontMathSans("MathSans");
    engine.setFontBlackboard("Blackboard");
    engine.setFontCaligraphic("Caligraphic");

    MTstyle env;
    env.font = MTstyleFont(role);
    env.insideMath = insideMath;
    env.fontSize = 17.5;
    env.bold = true;
    const QFont font = env.getFont(&engine);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), 17.5);
    QCOMPARE(font.weight(), int(QFont::Bold));
    QVERIFY(!font.italic());
}

QTEST_MAIN(tst_fonts)
#include "tst_fonts.moc"
