#include "math/MTstyle.h"
#include "math/VelQTmathText.h"

#include <QFontDatabase>
#include <QtTest>

// The font roles of the engine: construction defaults, the five
// selections, and the QFont an environment turns into.
class tst_fonts : public QObject
{
    Q_OBJECT

private slots:
    void constructionDefaults();
    void xitsRegisteredAndUsedForMath();
    void xitsKeepsTextRoles();
    void stixSwitchesSymbolRoles();
    void unicodeWithoutFamiliesChangesOnlySymbolRoles();
    void unicodeWithFamilies();
    void texFamiliesFromPrefixAndSuffix();
    void asanaWithoutResourceFallsBack();
    void environmentFont_data();
    void environmentFont();
};

void tst_fonts::constructionDefaults()
{
    VelQTmathText engine;
    const QStringList installed = QFontDatabase().families();
    const QString serif = engine.getFontRoman();
    QVERIFY(serif == "Serif" || installed.contains(serif));
    QCOMPARE(engine.getFontMathRoman(), serif);
    QCOMPARE(engine.getFontBraces(), serif);
    QCOMPARE(engine.getFontIntegrals(), serif);
    QCOMPARE(engine.getFontBlackboard(), serif);
    QCOMPARE(engine.getFontMathSans(), engine.getFontSans());
    QCOMPARE(engine.getFontGreek(), engine.getFontSymbol());
    QCOMPARE(engine.getFontScript(), QStringLiteral("Script"));
    QCOMPARE(engine.getFontCaligraphic(), QStringLiteral("decorative"));
    QCOMPARE(engine.getFontEncoding(), EncodingWinSymbol);
}

void tst_fonts::xitsRegisteredAndUsedForMath()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(QFontDatabase().families().contains("XITS"));
    const QString xits = engine.getFontMathRoman();
    QVERIFY(xits.contains("XITS"));
    QVERIFY(!xits.contains("XITS Math"));
    for (const QString& role : {engine.getFontMathSans(), engine.getFontTypewriter(), engine.getFontBlackboard(),
                                engine.getFontCaligraphic(), engine.getFontScript(), engine.getFontBraces(),
                                engine.getFontSymbol(), engine.getFontGreek()})
        QCOMPARE(role, xits);
    QVERIFY(engine.getUseXitsFonts());
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
    QCOMPARE(QFontInfo(QFont(xits)).family(), xits); // really resolvable, not substituted
}

void tst_fonts::xitsKeepsTextRoles()
{
    VelQTmathText engine;
    const QString roman = engine.getFontRoman();
    const QString sans = engine.getFontSans();
    const QString integrals = engine.getFontIntegrals();
    engine.setBraceShrinkFactor(0.3);
    engine.selectXitsFonts();
    QCOMPARE(engine.getFontRoman(), roman);
    QCOMPARE(engine.getFontSans(), sans);
    QCOMPARE(engine.getFontIntegrals(), integrals);
    QCOMPARE(engine.getBraceShrinkFactor(), 0.6);
}

void tst_fonts::stixSwitchesSymbolRoles()
{
    VelQTmathText engine;
    const QString sans = engine.getFontMathSans();
    engine.selectStixFonts();
    for (const QString& role : {engine.getFontGreek(), engine.getFontSymbol(), engine.getFontBraces(),
                                engine.getFontIntegrals(), engine.getFontMathRoman()})
        QCOMPARE(role, QStringLiteral("STIXGeneral"));
    QCOMPARE(engine.getFontMathSans(), sans);
    QVERIFY(engine.getUseStixFonts());
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
}

void tst_fonts::unicodeWithoutFamiliesChangesOnlySymbolRoles()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    const QString mathRoman = engine.getFontMathRoman();
    const QString roman = engine.getFontRoman();
    const QString sans = engine.getFontSans();
    const QString typewriter = engine.getFontTypewriter();
    engine.setFontIntegrals("Old");
    engine.setBraceShrinkFactor(0.2);
    engine.selectUnicodeFonts(QString(), QString());
    QCOMPARE(engine.getFontMathRoman(), mathRoman);
    QCOMPARE(engine.getFontRoman(), roman);
    QCOMPARE(engine.getFontSans(), sans);
    QCOMPARE(engine.getFontTypewriter(), typewriter);
    QCOMPARE(engine.getFontIntegrals(), mathRoman);
    QCOMPARE(engine.getFontSymbol(), mathRoman);
    QVERIFY(!engine.getUseXitsFonts());
    QCOMPARE(engine.getBraceShrinkFactor(), 0.6);
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
}

void tst_fonts::unicodeWithFamilies()
{
    VelQTmathText engine;
    engine.selectUnicodeFonts("Times X", "Sans Y");
    QCOMPARE(engine.getFontRoman(), QStringLiteral("Times X"));
    QCOMPARE(engine.getFontMathRoman(), QStringLiteral("Times X"));
    QCOMPARE(engine.getFontSans(), QStringLiteral("Sans Y"));
    QCOMPARE(engine.getFontMathSans(), QStringLiteral("Sans Y"));
    QCOMPARE(engine.getFontGreek(), QStringLiteral("Times X"));
    QCOMPARE(engine.getFontBraces(), QStringLiteral("Times X"));
}

void tst_fonts::texFamiliesFromPrefixAndSuffix()
{
    VelQTmathText engine;
    const QString integrals = engine.getFontIntegrals();
    engine.selectTexFonts();
    QCOMPARE(engine.getFontRoman(), QStringLiteral("jlm_cmr10"));
    QCOMPARE(engine.getFontMathSans(), QStringLiteral("jlm_cmss10"));
    QCOMPARE(engine.getFontGreek(), QStringLiteral("jlm_cmmi10"));
    QCOMPARE(engine.getFontBraces(), QStringLiteral("jlm_cmex10"));
    QCOMPARE(engine.getFontIntegrals(), integrals);
    QCOMPARE(engine.getFontEncoding(), EncodingTex);

    engine.selectTexFonts("p_", "12");
    QCOMPARE(engine.getFontCaligraphic(), QStringLiteral("p_csmy12"));
    QCOMPARE(engine.getTexFontPrefix(), QStringLiteral("p_"));
    QCOMPARE(engine.getTexFontSuffix(), QStringLiteral("12"));
}

void tst_fonts::asanaWithoutResourceFallsBack()
{
    VelQTmathText engine;
    engine.selectAsanaFonts();
    const QString family = engine.getFontMathRoman();
    // No Asana file among the resources: an installed family or the fallback name.
    QVERIFY(family == "Asana Math" || QFontDatabase().families().contains(family));
    QCOMPARE(engine.getFontEncoding(), EncodingUnicode);
}

void tst_fonts::environmentFont_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("insideMath");
    QTest::addColumn<QString>("family");
    QTest::newRow("roman in text") << int(StyleRoman) << false << "Roman";
    QTest::newRow("roman in math") << int(StyleRoman) << true << "MathRoman";
    QTest::newRow("sans in text") << int(StyleSans) << false << "Sans";
    QTest::newRow("sans in math") << int(StyleSans) << true << "MathSans";
    QTest::newRow("typewriter") << int(StyleTypewriter) << true << "Typewriter";
    QTest::newRow("script") << int(StyleScript) << false << "Script";
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
    engine.setFontTypewriter("Typewriter");
    engine.setFontScript("Script");
    engine.setFontBlackboard("Blackboard");
    engine.setFontCaligraphic("Caligraphic");

    MTstyle env;
    env.font = MTstyleFont(role);
    env.insideMath = insideMath;
    env.fontSize = 17.5;
    env.bold = true;
    env.smallCaps = true;
    env.strike = true;
    const QFont font = env.getFont(&engine);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), 17.5);
    QCOMPARE(font.weight(), int(QFont::Bold));
    QVERIFY(!font.italic());
    QCOMPARE(font.capitalization(), QFont::SmallCaps);
    QVERIFY(font.strikeOut());
    QVERIFY(!font.underline());
    QCOMPARE(font.styleStrategy(), QFont::NoFontMerging);
}

QTEST_MAIN(tst_fonts)
#include "tst_fonts.moc"
