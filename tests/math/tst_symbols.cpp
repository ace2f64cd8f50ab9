#include "math/MTsymbolNode.h"
#include "math/MTsymbolTables.h"
#include "math/VelQTmathText.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

Q_DECLARE_METATYPE(MTencoding)
Q_DECLARE_METATYPE(MTsymbolRole)

namespace {

struct Size
{
    double width = 0, baseline = 0, overall = 0, strikeout = 0;
};

Size sizeOf(MTsymbolNode& node, const MTstyle& env)
{
    QPainter painter;
    Size s;
    node.getSize(painter, env, s.width, s.baseline, s.overall, s.strikeout);
    return s;
}

MTstyle mathStyle(double fontSize = 20)
{
    MTstyle env;
    env.fontSize = fontSize;
    env.insideMath = true;
    env.italic = true;
    return env;
}

// Columns of the image (drawn at x = 0) that hold ink.
QPair<int, int> inkColumns(const QImage& image)
{
    int first = image.width(), last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

} // namespace

class tst_symbols : public QObject
{
    Q_OBJECT

private slots:
    void resolution_data();
    void resolution();
    void resolutionIsFixedAtConstruction();
    void addWhitespaceAppendsSpace();
    void typeNameHoldsTheName();
    void widenedOnlyInMath_data();
    void widenedOnlyInMath();
    void bigOperatorsAreLarger();
    void forcedStyleOverridesEnvironment_data();
    void forcedStyleOverridesEnvironment();
    void spacesHaveTheirWidths_data();
    void spacesHaveTheirWidths();
    void unknownNameTakesTheWidthOfA();
    void standInsStayInsideTheirBox_data();
    void standInsStayInsideTheirBox();
    void htmlEntities_data();
    void htmlEntities();
    void parsedFormulaHasHtml();
};

void tst_symbols::resolution_data()
{
    QTest::addColumn<MTencoding>("encoding");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<MTsymbolRole>("role");
    QTest::addColumn<double>("sizeFactor");
    QTest::addColumn<double>("yShift");
    QTest::addColumn<int>("flags"); // 1 ascentOnlyHeight, 2 tightAscent, 4 drawBar

    const MTencoding u = EncodingUnicode, w = EncodingWinSymbol, t = EncodingTex;
    QTest::newRow("unicode alpha") << u << "alpha" << QString(QChar(0x03B1)) << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("unicode Omega") << u << "Omega" << QString(QChar(0x03A9)) << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("unicode leq") << u << "leq" << QString(QChar(0x2264)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("unicode sum") << u << "sum" << QString(QChar(0x2211)) << SymbolRoleSymbol << 1.0 << 0.0 << 3;
    QTest::newRow("unicode int") << u << "int" << QString(QChar(0x222B)) << SymbolRoleSymbol << 1.8 << 0.0 << 3;
    QTest::newRow("unicode oiint") << u << "oiint" << QString(QChar(0x222F)) << SymbolRoleSymbol << 1.8 << 0.0 << 3;
    QTest::newRow("unicode cdots") << u << "cdots" << QString(3, QChar(0x00B7)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("unicode hbar") << u << "hbar" << QString(QChar(0x210F)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("unicode glqq") << u << "glqq" << QString(QChar(0x201C)) << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("unicode infty") << u << "infty" << QString(QChar(0x221E)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("unicode nexists") << u << "nexists" << QString(QChar(0x2204)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("function") << u << "sin" << "sin" << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("function with limits") << u << "lim" << "lim" << SymbolRoleDefault << 1.0 << 0.0 << 1;
    QTest::newRow("degree") << u << "degree" << QString(QChar(0x00B0)) << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("empty name is a space") << u << "" << " " << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("escaped brace") << u << "{" << "{" << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("unknown") << u << "foo" << "" << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("long arrow has no glyph") << u << "longrightarrow" << "" << SymbolRoleDefault << 1.0 << 0.0 << 0;

    QTest::newRow("win alpha") << w << "alpha" << "a" << SymbolRoleGreek << 1.0 << 0.0 << 0;
    QTest::newRow("win sum") << w << "sum" << "S" << SymbolRoleGreek << 1.8 << 0.0 << 3;
    QTest::newRow("win Upsilon is empty") << w << "Upsilon" << "" << SymbolRoleGreek << 1.0 << 0.0 << 0;
    QTest::newRow("win leq") << w << "leq" << QString(QChar(0xA3)) << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("win int") << w << "int" << QString(QChar(0xF2)) << SymbolRoleSymbol << 1.8 << 0.1 << 0;
    QTest::newRow("win iiint") << w << "iiint" << QString(3, QChar(0xF2)) << SymbolRoleSymbol << 1.8 << 0.1 << 0;
    QTest::newRow("win bigcap") << w << "bigcap" << QString(QChar(0xC7)) << SymbolRoleSymbol << 2.0 << 0.0 << 0;
    QTest::newRow("win forall") << w << "forall" << "\"" << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("win table before characters") << w << "cent" << "c" << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("win division sign") << w << "div" << QString(QChar(0xF7)) << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("win hbar") << w << "hbar" << "h" << SymbolRoleDefault << 1.0 << 0.0 << 4;
    QTest::newRow("win infty has no glyph") << w << "infty" << "" << SymbolRoleDefault << 1.0 << 0.0 << 0;
    QTest::newRow("win function") << w << "cos" << "cos" << SymbolRoleDefault << 1.0 << 0.0 << 0;

    // TeX positions below 33 are moved up, as in the TrueType TeX fonts.
    QTest::newRow("tex Gamma") << t << "Gamma" << QString(QChar(161)) << SymbolRoleGreek << 1.0 << 0.0 << 0;
    QTest::newRow("tex alpha") << t << "alpha" << QString(QChar(174)) << SymbolRoleGreek << 1.0 << 0.0 << 0;
    QTest::newRow("tex in") << t << "in" << "2" << SymbolRoleSymbol << 1.0 << 0.0 << 0;
    QTest::newRow("tex sum") << t << "sum" << "P" << SymbolRoleBraces << 1.0 << 0.0 << 3;
    QTest::newRow("tex iint") << t << "iint" << "RR" << SymbolRoleBraces << 1.0 << 0.1 << 0;
}

void tst_symbols::resolution()
{
    QFETCH(MTencoding, encoding);
    QFETCH(QString, name);
    QFETCH(QString, symbol);
    QFETCH(MTsymbolRole, role);
    QFETCH(double, sizeFactor);
    QFETCH(double, yShift);
    QFETCH(int, flags);
    VelQTmathText engine;
    engine.setFontEncoding(encoding);
    MTsymbolNode node(&engine, name);
    QCOMPARE(node.getSymbol(), symbol);
    QCOMPARE(node.getSymbolName(), name);
    QCOMPARE(node.getSymbolRole(), role);
    QCOMPARE(node.getSizeFactor(), sizeFactor);
    QCOMPARE(node.getYShift(), yShift);
    QCOMPARE(node.getAscentOnlyHeight(), bool(flags & 1));
    QCOMPARE(node.getTightAscent(), bool(flags & 2));
    QCOMPARE(node.getDrawBar(), bool(flags & 4));
}

void tst_symbols::resolutionIsFixedAtConstruction()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    MTsymbolNode node(&engine, "alpha");
    engine.setFontEncoding(EncodingWinSymbol);
    QCOMPARE(node.getSymbol(), QString(QChar(0x03B1)));
}

void tst_symbols::addWhitespaceAppendsSpace()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    QCOMPARE(MTsymbolNode(&engine, "sin", true).getSymbol(), QString("sin "));
    QCOMPARE(MTsymbolNode(&engine, "foo", true).getSymbol(), QString(" "));
}

void tst_symbols::typeNameHoldsTheName()
{
    VelQTmathText engine;
    QCOMPARE(MTsymbolNode(&engine, "alpha").typeName(), QString("MTsymbolNode(alpha)"));
}

void tst_symbols::widenedOnlyInMath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("widens");

    QTest::newRow("relation") << "leq" << true;
    QTest::newRow("arrow") << "rightarrow" << true;
    QTest::newRow("operator") << "times" << true;
    QTest::newRow("Greek letter") << "alpha" << false;
    QTest::newRow("big operator") << "sum" << false;
}

void tst_symbols::widenedOnlyInMath()
{
    QFETCH(QString, name);
    QFETCH(bool, widens);
    VelQTmathText engine;
    engine.selectXitsFonts();
    MTsymbolNode node(&engine, name);
    QCOMPARE(node.getWidenInMath(), widens);

    MTstyle text = mathStyle();
    text.insideMath = false;
    engine.setMathoperatorWidthFactor(1.0);
    const double plainInMath = sizeOf(node, mathStyle()).width;
    const double plainInText = sizeOf(node, text).width;
    engine.setMathoperatorWidthFactor(1.5);
    QCOMPARE(sizeOf(node, mathStyle()).width, widens ? 1.5 * plainInMath : plainInMath);
    QCOMPARE(sizeOf(node, text).width, plainInText);
}

void tst_symbols::bigOperatorsAreLarger()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    const MTstyle env = mathStyle();
    QCOMPARE(MTsymbolNode(&engine, "int").symbolFont(env).pointSizeF(), 1.8 * env.fontSize);
    QCOMPARE(MTsymbolNode(&engine, "sum").symbolFont(env).pointSizeF(), env.fontSize);
    // A big operator has no depth beyond its glyph: its box starts at its top.
    MTsymbolNode lim(&engine, "lim");
    const Size s = sizeOf(lim, env);
    QCOMPARE(s.overall, s.baseline * 1.1);
}

void tst_symbols::forcedStyleOverridesEnvironment_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("bold");

    // The environment is bold italic.
    QTest::newRow("Greek is upright") << "alpha" << false << true;
    QTest::newRow("function is upright") << "sin" << false << true;
    QTest::newRow("escaped character is upright and normal") << "%" << false << false;
    QTest::newRow("backslash keeps the environment") << "backslash" << true << true;
}

void tst_symbols::forcedStyleOverridesEnvironment()
{
    QFETCH(QString, name);
    QFETCH(bool, italic);
    QFETCH(bool, bold);
    VelQTmathText engine;
    engine.selectXitsFonts();
    MTstyle env = mathStyle();
    env.bold = true;
    const QFont font = MTsymbolNode(&engine, name).symbolFont(env);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.weight() == QFont::Bold, bold);
}

void tst_symbols::spacesHaveTheirWidths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("factor");

    QTest::newRow("space") << " " << 1.0;
    QTest::newRow("thick") << ";" << 0.75;
    QTest::newRow("medium") << ":" << 0.5;
    QTest::newRow("thin") << "," << 0.25;
    QTest::newRow("negative") << "!" << -0.25;
}

void tst_symbols::spacesHaveTheirWidths()
{
    QFETCH(QString, name);
    QFETCH(double, factor);
    VelQTmathText engine;
    engine.selectXitsFonts();
    MTsymbolNode node(&engine, name);
    const MTstyle env = mathStyle();
    const double xWidth = engine.tightBounds(node.symbolFont(env), "x", nullptr).width();
    const Size s = sizeOf(node, env);
    QCOMPARE(s.width, factor * xWidth);
    QCOMPARE(s.overall, 0.0);
}

void tst_symbols::unknownNameTakesTheWidthOfA()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    MTsymbolNode node(&engine, "foo");
    const MTstyle env = mathStyle();
    QCOMPARE(sizeOf(node, env).width, QFontMetricsF(node.symbolFont(env)).horizontalAdvance("a"));
}

void tst_symbols::standInsStayInsideTheirBox_data()
{
    QTest::addColumn<MTencoding>("encoding");
    QTest::addColumn<QString>("name");

    QTest::newRow("long arrow") << EncodingUnicode << "longrightarrow";
    QTest::newRow("long double arrow both ways") << EncodingUnicode << "Longleftrightarrow";
    QTest::newRow("double bar") << EncodingUnicode << "|";
    QTest::newRow("rotated eight") << EncodingWinSymbol << "infty";
}

// Names without a glyph that still draw something are measured by what
// they draw, so that the picture of a formula does not cut them off.
void tst_symbols::standInsStayInsideTheirBox()
{
    QFETCH(MTencoding, encoding);
    QFETCH(QString, name);
    VelQTmathText engine;
    engine.selectXitsFonts();
    engine.setFontEncoding(encoding);
    MTsymbolNode node(&engine, name);
    const MTstyle env = mathStyle();
    const Size s = sizeOf(node, env);
    QVERIFY(s.overall > 0);

    const int margin = 20;
    QImage image(int(s.width) + 2 * margin, int(s.overall) + 2 * margin, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    node.draw(painter, margin, margin + s.baseline, env);
    painter.end();
    const QPair<int, int> ink = inkColumns(image);
    QVERIFY(ink.second >= ink.first);
    QVERIFY2(ink.first >= margin - 1 && ink.second <= margin + s.width + 1,
             qPrintable(QString("ink %1..%2, box %3..%4").arg(ink.first).arg(ink.second).arg(margin)
                            .arg(margin + s.width)));
}

void tst_symbols::htmlEntities_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("html");

    QTest::newRow("Greek") << "alpha" << "&alpha;";
    QTest::newRow("function") << "sin" << "sin";
    QTest::newRow("relation") << "leq" << "&le;";
    QTest::newRow("double integral") << "iint" << "&int;&int;";
    QTest::newRow("blackboard") << "bbR" << "<b>R</b>";
    QTest::newRow("backslash") << "backslash" << "\\";
    QTest::newRow("thin space") << ";" << "&thinsp;";
    QTest::newRow("negative space") << "!" << "";
    QTest::newRow("unknown") << "foo" << QString();
}

void tst_symbols::htmlEntities()
{
    QFETCH(QString, name);
    QFETCH(QString, html);
    VelQTmathText engine;
    MTsymbolNode node(&engine, name);
    QString out;
    QCOMPARE(node.toHtml(out, MTstyle(), MTstyle()), !html.isNull());
    QCOMPARE(out, html.isNull() ? QString() : html);
}

// The thin spaces around every parsed formula do not spoil its HTML form.
void tst_symbols::parsedFormulaHasHtml()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    engine.parse("$\\alpha");
    bool ok = false;
    const QString html = engine.toHtml(&ok);
    QVERIFY(ok);
    QVERIFY(html.contains("&alpha;"));
}

QTEST_MAIN(tst_symbols)
#include "tst_symbols.moc"
