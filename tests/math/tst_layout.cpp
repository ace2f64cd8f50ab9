#include "math/MTbraceNode.h"
#include "math/MTdecoratedNode.h"
#include "math/MTfracNode.h"
#include "math/MTinstruction1Node.h"
#include "math/MTlistNode.h"
#include "math/MTmatrixNode.h"
#include "math/MTplainTextNode.h"
#include "math/MTsqrtNode.h"
#include "math/MTsubscriptNode.h"
#include "math/MTsuperscriptNode.h"
#include "math/MTsymbolNode.h"
#include "math/MTtextNode.h"
#include "math/MTwhitespaceNode.h"
#include "math/VelQTmathText.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

struct Box
{
    double width = 0, baseline = 0, overall = 0, strikeout = 0;
    double depth() const { return overall - baseline; }
};

// Measures as the editor does: with a painter that has no device.
Box measure(MTnode* node, const MTstyle& env)
{
    QPainter painter;
    Box box;
    node->getSize(painter, env, box.width, box.baseline, box.overall, box.strikeout);
    return box;
}

MTstyle textEnv(double size = 20)
{
    MTstyle env;
    env.fontSize = size;
    return env;
}

MTstyle mathEnv(double size = 20)
{
    MTstyle env = textEnv(size);
    env.italic = true;
    env.insideMath = true;
    return env;
}

QImage blankImage(int width = 300, int height = 150)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

QRect inkBounds(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// Rows of ink from the top of a column down to the first blank pixel.
int firstInkRun(const QImage& image, int column)
{
    int y = 0;
    while (y < image.height() && qGray(image.pixel(column, y)) >= 128)
        ++y;
    int run = 0;
    while (y + run < image.height() && qGray(image.pixel(column, y + run)) < 128)
        ++run;
    return run;
}

// The editor's picture of "$" + formula (20 points, XITS), on white.
QImage editorPicture(const QString& formula)
{
    VelQTmathText engine;
    engine.setFontSize(20);
    engine.selectXitsFonts();
    engine.parse(QLatin1Char('$') + formula);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    QImage image(int(size.width()) + 1, int(size.height()) + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    painter.begin(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    return image;
}

// The runs of rows (Qt::Vertical) or columns (Qt::Horizontal) that hold ink,
// as [first, last] pairs from the top or the left.
QVector<QPair<int, int>> inkRuns(const QImage& image, Qt::Orientation direction)
{
    const bool rows = direction == Qt::Vertical;
    const int lines = rows ? image.height() : image.width();
    const int across = rows ? image.width() : image.height();
    QVector<QPair<int, int>> runs;
    bool inRun = false;
    for (int i = 0; i < lines; ++i) {
        bool ink = false;
        for (int j = 0; j < across && !ink; ++j)
            ink = qGray(rows ? image.pixel(j, i) : image.pixel(i, j)) < 128;
        if (ink && !inRun)
            runs.append({i, i});
        if (ink)
            runs.last().second = i;
        inRun = ink;
    }
    return runs;
}

QString describeRuns(const QVector<QPair<int, int>>& runs)
{
    QStringList parts;
    for (const auto& run : runs)
        parts << QStringLiteral("%1-%2").arg(run.first).arg(run.second);
    return parts.join(QLatin1Char(' '));
}

// A node that reports whatever sizes it is given.
class FixedNode : public MTnode
{
public:
    FixedNode(VelQTmathText* parent, double value) : MTnode(parent), value(value) {}
    void computeSize(QPainter&, MTstyle, double& w, double& b, double& h, double& s) override
    {
        w = b = h = s = value;
    }
    double draw(QPainter&, double x, double, MTstyle) override { return x; }
    QString typeName() const override { return QStringLiteral("FixedNode"); }

private:
    double value;
};

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<VelQTmathText> engine;

    MTnode* text(const QString& t) { return new MTtextNode(engine.get(), t, false, true); }
    MTlistNode* list(std::initializer_list<MTnode*> nodes)
    {
        auto* l = new MTlistNode(engine.get());
        for (MTnode* node : nodes)
            l->addNode(node);
        return l;
    }
    // The engine's tree for "$" + formula at 20 points.
    MTnode* parsed(const QString& formula)
    {
        engine->parse(QLatin1Char('$') + formula);
        return engine->getTree();
    }

private slots:
    void init();

    void noTreeMeasuresZero();
    void sizesEnlargedByATenth_data();
    void sizesEnlargedByATenth();
    void descentAtLeastATenthOfAscent();
    void alignedInRectangle_data();
    void alignedInRectangle();
    void drawLeavesThePainterAsFound();
    void rawTextMeasuresTheGivenText();

    void absurdSizesIgnored_data();
    void absurdSizesIgnored();
    void textNormalised_data();
    void textNormalised();
    void textTransformed_data();
    void textTransformed();
    void singleSpaceGetsOneI();
    void digitsUprightInItalic_data();
    void digitsUprightInItalic();
    void instructionsChangeEnvironment();
    void boxWidensByAnX_data();
    void boxWidensByAnX();
    void indicesRaisedAndLowered();
    void limitsStackedOnBigOperators();
    void limitsClearOfTheOperator_data();
    void limitsClearOfTheOperator();
    void ordinarySymbolKeepsIndices();
    void superscriptAddsNoDepth_data();
    void superscriptAddsNoDepth();
    void binaryOperatorsSpacedOnBothSides_data();
    void binaryOperatorsSpacedOnBothSides();
    void mathAlphabetLettersUpright_data();
    void mathAlphabetLettersUpright();
    void mathAlphabetsUpright_data();
    void mathAlphabetsUpright();

    void tfracSmallerThanFrac();
    void fractionBoxFollowsEachPart();
    void lastIndexInsideTheBox();
    void ruleWidth_data();
    void ruleWidth();
    void bracePairAroundEmptyList_data();
    void bracePairAroundEmptyList();
    void bracesGrowWithContent();
    void bracketsAtLeastTheFontsOwn();
    void matrixShape();
    void accentsAddRoom();
    void deepTreesAndAbsurdSizesStayBounded();
    void typeNames();
};

void tst_layout::init()
{
    engine = std::make_unique<VelQTmathText>();
    engine->setFontSize(20);
    engine->selectXitsFonts();
}

void tst_layout::noTreeMeasuresZero()
{
    QPainter painter;
    QCOMPARE(engine->getSize(painter), QSizeF(0, 0));
    QCOMPARE(engine->getAscent(painter), 0.0);
    QCOMPARE(engine->getDescent(painter), 0.0);
    QImage image = blankImage();
    QPainter drawing(&image);
    engine->draw(drawing, Qt::AlignCenter, QRectF(image.rect()));
    drawing.end();
    QVERIFY(inkBounds(image).isNull());
}

void tst_layout::sizesEnlargedByATenth_data()
{
    QTest::addColumn<QString>("formula");
    QTest::newRow("letter") << "x";
    QTest::newRow("fraction") << "\\frac{1}{2}";
    QTest::newRow("descender and index") << "y_i^2";
    QTest::newRow("brackets") << "\\left(\\sum_{k=0}^{n} k\\right)";
}

void tst_layout::sizesEnlargedByATenth()
{
    QFETCH(QString, formula);
    MTnode* tree = parsed(formula);
    QVERIFY(tree);
    const Box box = measure(tree, textEnv());
    QPainter painter;
    double width = 0, ascent = 0, descent = 0, strikeout = 0;
    engine->measureDetail(painter, width, ascent, descent, strikeout);
    QCOMPARE(width, box.width);
    QCOMPARE(ascent, box.baseline * 1.1);
    QCOMPARE(descent, std::max(box.depth() * 1.1, ascent * 0.1));
    QCOMPARE(strikeout, box.strikeout * 1.1);
    QCOMPARE(engine->getSize(painter), QSizeF(width, ascent + descent));
    QCOMPARE(engine->getAscent(painter), ascent);
    QCOMPARE(engine->getDescent(painter), descent);
}

void tst_layout::descentAtLeastATenthOfAscent()
{
    // An "x" has no depth: the descent is the floor of a tenth of the ascent.
    MTnode* tree = parsed("x");
    QVERIFY(measure(tree, textEnv()).depth() * 1.1 < engine->getAscent(*std::make_unique<QPainter>()) * 0.1);
    QPainter painter;
    QCOMPARE(engine->getDescent(painter), engine->getAscent(painter) * 0.1);
}

void tst_layout::alignedInRectangle_data()
{
    QTest::addColumn<uint>("flags");
    QTest::addColumn<double>("xShare"); // share of the free width left of the formula
    QTest::addColumn<double>("yShare");
    QTest::newRow("top left") << uint(Qt::AlignLeft | Qt::AlignTop) << 0.0 << 0.0;
    QTest::newRow("centre") << uint(Qt::AlignCenter) << 0.5 << 0.5;
    QTest::newRow("bottom right") << uint(Qt::AlignRight | Qt::AlignBottom) << 1.0 << 1.0;
    QTest::newRow("right, centred vertically") << uint(Qt::AlignRight | Qt::AlignVCenter) << 1.0 << 0.5;
    QTest::newRow("bottom, centred horizontally") << uint(Qt::AlignHCenter | Qt::AlignBottom) << 0.5 << 1.0;
}

void tst_layout::alignedInRectangle()
{
    QFETCH(uint, flags);
    QFETCH(double, xShare);
    QFETCH(double, yShare);
    MTnode* tree = parsed("\\frac{a}{b}+y");
    const Box box = measure(tree, textEnv()); // alignment uses the sizes without the tenth
    const QRectF rect(20, 10, 240, 120);

    QImage aligned = blankImage();
    QPainter painter(&aligned);
    engine->draw(painter, flags, rect);
    painter.end();

    QImage atPoint = blankImage();
    painter.begin(&atPoint);
    engine->draw(painter, rect.left() + (rect.width() - box.width) * xShare,
                 rect.top() + box.baseline + (rect.height() - box.overall) * yShare);
    painter.end();

    QVERIFY(!inkBounds(aligned).isNull());
    QCOMPARE(aligned, atPoint);
}

void tst_layout::drawLeavesThePainterAsFound()
{
    // Nodes leave their fonts and pens set while they draw; the caller
    // still gets its own back, from both ways of drawing.
    engine->selectXitsFonts();
    parsed("a^2 + \\alpha \\infty \\frac{1}{2} \\left(x\\right) \\textcolor{red}{b}");
    QImage image = blankImage();
    QPainter painter(&image);
    QFont font(QStringLiteral("Courier"));
    font.setPointSizeF(7);
    const QPen pen(Qt::green, 3);
    painter.setFont(font);
    painter.setPen(pen);
    painter.setBrush(Qt::blue);
    const QFont before = painter.font();
    engine->draw(painter, 10, 60);
    QCOMPARE(painter.font(), before);
    QCOMPARE(painter.pen(), pen);
    QCOMPARE(painter.brush(), QBrush(Qt::blue));
    engine->draw(painter, Qt::AlignCenter, QRectF(0, 0, image.width(), image.height()), true);
    QCOMPARE(painter.font(), before);
    QCOMPARE(painter.pen(), pen);
    QVERIFY(!inkBounds(image).isNull());
}

void tst_layout::rawTextMeasuresTheGivenText()
{
    parsed("\\frac{a}{b}");
    engine->setDrawRawText(true);
    QPainter painter;
    MTplainTextNode raw(engine.get(), QStringLiteral("$\\frac{a}{b}"), false, false);
    QCOMPARE(engine->getSize(painter).width(), measure(&raw, textEnv()).width);
}

void tst_layout::absurdSizesIgnored_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("kept");
    QTest::newRow("ordinary") << 12.5 << true;
    QTest::newRow("just below the limit") << 99999.0 << true;
    QTest::newRow("the limit") << 100000.0 << false;
    QTest::newRow("huge") << 1e300 << false;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << false;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << false;
}

void tst_layout::absurdSizesIgnored()
{
    QFETCH(double, value);
    QFETCH(bool, kept);
    FixedNode node(engine.get(), value);
    QPainter painter;
    double w = 1, b = 2, h = 3, s = 4;
    node.getSize(painter, textEnv(), w, b, h, s);
    if (kept) {
        QCOMPARE(w, value);
        QCOMPARE(s, value);
    } else {
        QCOMPARE(w, 1.0);
        QCOMPARE(b, 2.0);
        QCOMPARE(h, 3.0);
        QCOMPARE(s, 4.0);
    }
}

void tst_layout::textNormalised_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("addWhitespace");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<QString>("text");
    QTest::newRow("leading spaces dropped") << "  ab" << false << false << "ab";
    QTest::newRow("a lone space stays") << " " << false << false << " ";
    QTest::newRow("inner space kept in text") << "a b" << false << false << "a b";
    QTest::newRow("all white space stripped in math") << "a b\tc" << false << true << "abc";
    QTest::newRow("space appended") << "ab" << true << false << "ab ";
    QTest::newRow("no second space appended") << "ab " << true << false << "ab ";
    QTest::newRow("no-break space is white space") << QString(QChar(160)) + "x" << false << false << "x";
}

void tst_layout::textNormalised()
{
    QFETCH(QString, input);
    QFETCH(bool, addWhitespace);
    QFETCH(bool, strip);
    QFETCH(QString, text);
    QCOMPARE(MTtextNode(engine.get(), input, addWhitespace, strip).getText(), text);
}

void tst_layout::textTransformed_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("insideMath");
    QTest::addColumn<bool>("unicode");
    QTest::addColumn<bool>("afterOperand");
    QTest::addColumn<QString>("shown");
    const QString minus(QChar(0x2212));
    const int roman = int(StyleRoman);
    QTest::newRow("binary minus: a true minus, spaced on both sides")
        << "a-b" << roman << true << true << false << "a " + minus + " b";
    QTest::newRow("binary plus") << "a+b" << roman << true << true << false << "a + b";
    QTest::newRow("sign at the start: unspaced") << "-x" << roman << true << true << false << minus + "x";
    QTest::newRow("leading operator after an operand is binary")
        << "+x" << roman << true << true << true << " + x";
    QTest::newRow("sign after a relation") << "x=-1" << roman << true << true << false << "x = " + minus + "1";
    QTest::newRow("sign after an opening bracket") << "(-1" << roman << true << true << true << "(" + minus + "1";
    QTest::newRow("relations spaced, double spaces merged") << "x=y<z" << roman << true << true << false
                                                            << "x = y < z";
    QTest::newRow("slash and semicolon") << "a/b;c" << roman << true << true << false << "a / b; c";
    QTest::newRow("colon is a relation") << "x:x" << roman << true << true << false << "x : x";
    QTest::newRow("no operator spacing in text") << "a-b" << roman << false << true << false << "a-b";
    QTest::newRow("nothing without unicode") << "a-b" << roman << true << false << false << "a-b";
    QTest::newRow("blackboard letters") << "RNZdx" << int(StyleBlackboard) << false << true << false
                                        << QString::fromUtf8("\u211D\u2115\u2124\u2146x");
    QTest::newRow("caligraphic letters") << "LFa" << int(StyleCaligraphic) << false << true << false
                                         << QString::fromUtf8("\u2112\u2131a");
    QTest::newRow("blackboard needs unicode") << "R" << int(StyleBlackboard) << false << false << false << "R";
}

void tst_layout::textTransformed()
{
    QFETCH(QString, input);
    QFETCH(int, role);
    QFETCH(bool, insideMath);
    QFETCH(bool, unicode);
    QFETCH(bool, afterOperand);
    QFETCH(QString, shown);
    engine->setFontEncoding(unicode ? EncodingUnicode : EncodingWinSymbol);
    MTstyle env = insideMath ? mathEnv() : textEnv();
    env.font = MTstyleFont(role);
    MTtextNode node(engine.get(), input, false, false);
    node.setFollowsOperand(afterOperand);
    QCOMPARE(node.transformText(input, env), shown);
    MTplainTextNode plain(engine.get(), input, false, false);
    QCOMPARE(plain.transformText(input, env), input);
}

void tst_layout::singleSpaceGetsOneI()
{
    MTwhitespaceNode space(engine.get());
    const MTstyle env = textEnv();
    const QFontMetricsF fm(env.getFont(engine.get()));
    QCOMPARE(measure(&space, env).width,
             fm.boundingRect(QStringLiteral(" ")).width() + fm.boundingRect(QStringLiteral("I")).width());
}

void tst_layout::digitsUprightInItalic_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("digitRule"); // drawn character by character
    QTest::newRow("digit first") << "2x" << true;
    QTest::newRow("digit last") << "x2" << true;
    QTest::newRow("mixed") << "a1b2" << true;
    QTest::newRow("digits only: all upright") << "42" << true;
    QTest::newRow("letters only: one italic run") << "ab" << false;
}

void tst_layout::digitsUprightInItalic()
{
    QFETCH(QString, text);
    QFETCH(bool, digitRule);
    const MTstyle env = mathEnv();
    MTtextNode node(engine.get(), text, false, true);
    QImage drawn = blankImage();
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::TextAntialiasing);
    node.draw(painter, 10, 60, env);
    painter.end();

    // The expected picture, drawn here without the engine.
    const QFont italic = env.getFont(engine.get());
    QFont upright = italic;
    upright.setItalic(false);
    QImage expected = blankImage();
    painter.begin(&expected);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (digitRule) {
        double x = 10;
        for (QChar c : text) {
            const QFont& font = c.isDigit() ? upright : italic;
            painter.setFont(font);
            painter.drawText(QPointF(x, 60), QString(c));
            x += QFontMetricsF(font, &expected).horizontalAdvance(c);
        }
    } else {
        painter.setFont(italic);
        painter.drawText(QPointF(10, 60), text);
    }
    painter.end();
    QCOMPARE(drawn, expected);
}

void tst_layout::instructionsChangeEnvironment()
{
    // A bold, a roman and a size change each measure their child differently.
    const MTstyle env = mathEnv();
    const double plain = measure(text("W"), env).width;
    MTinstruction1Node bold(engine.get(), "mathbf", text("W"));
    MTinstruction1Node smaller(engine.get(), "scriptstyle", text("W"));
    MTinstruction1Node larger(engine.get(), "displaystyle", text("W"));
    MTinstruction1Node unknown(engine.get(), "nosuchcommand", text("W"));
    QVERIFY(measure(&bold, env).width > plain);
    QVERIFY(measure(&smaller, env).width < plain);
    QVERIFY(measure(&larger, env).width > plain);
    QCOMPARE(measure(&unknown, env).width, plain);
}

void tst_layout::boxWidensByAnX_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parameters");
    QTest::newRow("fbox") << "fbox" << QStringList();
    QTest::newRow("boxed") << "boxed" << QStringList();
    QTest::newRow("colorbox") << "colorbox" << QStringList{"red"};
}

void tst_layout::boxWidensByAnX()
{
    QFETCH(QString, name);
    QFETCH(QStringList, parameters);
    const MTstyle env = textEnv();
    const Box inner = measure(text("x"), env);
    MTinstruction1Node box(engine.get(), name, text("x"), parameters);
    const Box outer = measure(&box, env);
    const double p = QFontMetricsF(env.getFont(engine.get())).horizontalAdvance(QLatin1Char('x'));
    QCOMPARE(outer.width, inner.width + p);
    QCOMPARE(outer.overall, inner.overall + p);
    QCOMPARE(outer.baseline, inner.baseline + p / 2);

    // What follows a box starts after its frame.
    QImage image = blankImage();
    QPainter painter(&image);
    QCOMPARE(box.draw(painter, 10, 60, env), 10 + outer.width);
}

void tst_layout::indicesRaisedAndLowered()
{
    const MTstyle env = mathEnv();
    const Box base = measure(list({text("x")}), env);
    const Box raised = measure(list({text("x"), new MTsuperscriptNode(engine.get(), text("2"))}), env);
    const Box lowered = measure(list({text("x"), new MTsubscriptNode(engine.get(), text("2"))}), env);
    const Box both = measure(list({text("x"), new MTsubscriptNode(engine.get(), text("i")),
                                   new MTsuperscriptNode(engine.get(), text("2"))}), env);
    QVERIFY(raised.baseline > base.baseline);
    QVERIFY(lowered.depth() > base.depth());
    // A pair is set one above the other: narrower than the two side by side.
    QVERIFY(both.width < raised.width + lowered.width - base.width);
    QVERIFY(both.baseline >= raised.baseline);
    QVERIFY(both.depth() >= lowered.depth());
}

void tst_layout::limitsStackedOnBigOperators()
{
    const MTstyle env = mathEnv();
    MTsymbolNode sum(engine.get(), "sum", false);
    const Box op = measure(&sum, env);
    const MTstyle limitEnv = [&] {
        MTstyle e = env;
        e.fontSize *= engine->getOperatorsubsuperSizeFactor();
        return e;
    }();
    const Box lower = measure(text("i=1"), limitEnv);
    const Box upper = measure(text("n"), limitEnv);

    const Box both = measure(list({new MTsymbolNode(engine.get(), "sum", false),
                                   new MTsubscriptNode(engine.get(), text("i=1")),
                                   new MTsuperscriptNode(engine.get(), text("n"))}),
                             env);
    QVERIFY(both.overall >= op.overall + lower.overall + upper.overall);
    QVERIFY(both.baseline >= upper.overall + op.baseline);
    QVERIFY(both.width >= std::max(op.width, lower.width));

    const Box lowerOnly = measure(list({new MTsymbolNode(engine.get(), "sum", false),
                                        new MTsubscriptNode(engine.get(), text("i=1"))}),
                                  env);
    QVERIFY(lowerOnly.depth() >= lower.overall * 1.1 + op.depth());
    QVERIFY(lowerOnly.baseline < both.baseline);
}

void tst_layout::limitsClearOfTheOperator_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("parts"); // limits and operator, one above the other

    QTest::newRow("sum") << "\\sum_{i=1}^{n}" << 3;
    QTest::newRow("product up to infinity") << "\\prod_{k=2}^{\\infty}" << 3;
    QTest::newRow("integral") << "\\int_0^{10}" << 3;
    QTest::newRow("lower limit only") << "\\sum_{k}" << 2;
    QTest::newRow("limit") << "\\lim_{x\\to0}" << 2;
}

void tst_layout::limitsClearOfTheOperator()
{
    // Each limit is set apart from the operator's ink by clear rows, as
    // TeX sets them at least a tenth of an em off (2 to 4 pixels here).
    QFETCH(QString, formula);
    QFETCH(int, parts);
    const QVector<QPair<int, int>> rows = inkRuns(editorPicture(formula), Qt::Vertical);
    QVERIFY2(rows.size() == parts, qPrintable(describeRuns(rows)));
    for (int i = 1; i < rows.size(); ++i)
        QVERIFY2(rows.at(i).first - rows.at(i - 1).second > 3, qPrintable(describeRuns(rows)));
}

void tst_layout::ordinarySymbolKeepsIndices()
{
    // "alpha" is no big operator: its index is an ordinary, lowered one.
    const MTstyle env = mathEnv();
    const Box withLimit = measure(list({new MTsymbolNode(engine.get(), "sum", false),
                                        new MTsubscriptNode(engine.get(), text("i=1"))}),
                                  env);
    const Box withIndex = measure(list({new MTsymbolNode(engine.get(), "alpha", false),
                                        new MTsubscriptNode(engine.get(), text("i=1"))}),
                                  env);
    QVERIFY(withIndex.depth() < withLimit.depth());
}

void tst_layout::superscriptAddsNoDepth_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("indexed");

    QTest::newRow("square") << "x" << "x^2";
    QTest::newRow("nested") << "x" << "x^{2^{3^{4}}}";
    QTest::newRow("after a bracket") << "\\left(x\\right)" << "\\left(x\\right)^{n^2}";
    QTest::newRow("with a lower index") << "x_i" << "x_i^{2^{3}}";
}

void tst_layout::superscriptAddsNoDepth()
{
    // A raised index ends above the baseline: nothing of it hangs below,
    // so the formula gets no blank band underneath.
    QFETCH(QString, base);
    QFETCH(QString, indexed);
    engine->selectXitsFonts();
    const Box plain = measure(parsed(base), textEnv());
    const Box raised = measure(parsed(indexed), textEnv());
    QVERIFY(raised.baseline > plain.baseline);
    QCOMPARE(raised.depth(), plain.depth());
}

void tst_layout::binaryOperatorsSpacedOnBothSides_data()
{
    QTest::addColumn<QString>("formula");

    QTest::newRow("plus") << "a+b";
    QTest::newRow("minus") << "a-b";
    QTest::newRow("equals") << "a=b";
    QTest::newRow("plus after an index") << "a^2+b";
    QTest::newRow("equals before a fraction") << "a=\\frac{1}{2}";
    QTest::newRow("plus before a fraction") << "1+\\frac{1}{x}";
}

void tst_layout::binaryOperatorsSpacedOnBothSides()
{
    // The operator stands alone between its operands, with about the same
    // room before and after it.
    QFETCH(QString, formula);
    const QVector<QPair<int, int>> columns = inkRuns(editorPicture(formula), Qt::Horizontal);
    const auto isOperator = [](const QPair<int, int>& run) { return run.second - run.first > 8; };
    // The operator is the wide run in the middle: find it by position.
    QVERIFY2(columns.size() >= 3, qPrintable(describeRuns(columns)));
    int op = formula.startsWith(QLatin1String("a^2")) ? 2 : 1;
    QVERIFY2(isOperator(columns.at(op)), qPrintable(describeRuns(columns)));
    const int before = columns.at(op).first - columns.at(op - 1).second;
    const int after = columns.at(op + 1).first - columns.at(op).second;
    QVERIFY2(before > 3 && after > 3, qPrintable(describeRuns(columns)));
    QVERIFY2(std::abs(before - after) <= 4, qPrintable(describeRuns(columns)));
}

void tst_layout::mathAlphabetLettersUpright_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<uint>("shown");
    QTest::addColumn<bool>("fromCompanion"); // the math family holds it

    const int bb = int(StyleBlackboard), cal = int(StyleCaligraphic);
    QTest::newRow("letterlike capital") << bb << "R" << 0x211Du << false;
    QTest::newRow("capital without a letterlike form") << bb << "D" << 0x1D53Bu << true;
    QTest::newRow("small letter") << bb << "x" << 0x1D569u << true;
    QTest::newRow("digit") << bb << "1" << 0x1D7D9u << true;
    QTest::newRow("letterlike script capital") << cal << "F" << 0x2131u << false;
    QTest::newRow("script capital") << cal << "A" << 0x1D49Cu << true;
}

void tst_layout::mathAlphabetLettersUpright()
{
    // \mathbb and \mathcal letters are drawn double-struck or script and
    // upright, also in italic math; those that Unicode has only among the
    // mathematical letters come from the family's math companion.
    QFETCH(int, role);
    QFETCH(QString, letter);
    QFETCH(uint, shown);
    QFETCH(bool, fromCompanion);
    engine->selectXitsFonts();
    MTstyle env = mathEnv();
    env.font = MTstyleFont(role);
    MTtextNode node(engine.get(), letter, false, true);
    QImage drawn = blankImage();
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::TextAntialiasing);
    node.draw(painter, 10, 60, env);
    painter.end();

    QFont font = env.getFont(engine.get());
    font.setItalic(false);
    if (fromCompanion) {
        QVERIFY(!engine->mathCompanionFamily(font.family()).isEmpty());
        font.setFamily(engine->mathCompanionFamily(font.family()));
    }
    QImage expected = blankImage();
    painter.begin(&expected);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.drawText(QPointF(10, 60), QString::fromUcs4(&shown, 1));
    painter.end();
    QVERIFY(!inkBounds(expected).isNull()); // the font does hold the glyph
    QCOMPARE(drawn, expected);
}

void tst_layout::mathAlphabetsUpright_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("italic");

    QTest::newRow("mathbf") << "mathbf" << true << int(StyleRoman) << false;
    QTest::newRow("textbf") << "textbf" << true << int(StyleRoman) << false;
    QTest::newRow("mathsf") << "mathsf" << false << int(StyleSans) << false;
    QTest::newRow("mathtt") << "mathtt" << false << int(StyleTypewriter) << false;
    QTest::newRow("textrm") << "textrm" << false << int(StyleRoman) << false;
    QTest::newRow("bf keeps the slant") << "bf" << true << int(StyleRoman) << true;
    QTest::newRow("mathit") << "mathit" << false << int(StyleRoman) << true;
}

void tst_layout::mathAlphabetsUpright()
{
    // As in TeX, "\mathbf{v}" is an upright bold v inside italic math.
    QFETCH(QString, command);
    QFETCH(bool, bold);
    QFETCH(int, role);
    QFETCH(bool, italic);
    engine->selectXitsFonts();
    const MTstyle env = mathEnv();
    MTinstruction1Node node(engine.get(), command, text("Wavy"));
    MTstyle expected = env;
    expected.bold = bold;
    expected.font = MTstyleFont(role);
    expected.italic = italic;
    MTstyle slantChanged = expected;
    slantChanged.italic = !italic;
    const double width = measure(&node, env).width;
    QCOMPARE(width, measure(text("Wavy"), expected).width);
    QVERIFY(width != measure(text("Wavy"), slantChanged).width);
}

void tst_layout::tfracSmallerThanFrac()
{
    const MTstyle env = mathEnv();
    MTfracNode frac(engine.get(), text("1"), text("2"), FractionFrac);
    MTfracNode tfrac(engine.get(), text("1"), text("2"), FractionTfrac);
    MTfracNode dfrac(engine.get(), text("1"), text("2"), FractionDfrac);
    const Box f = measure(&frac, env), t = measure(&tfrac, env), d = measure(&dfrac, env);
    QVERIFY(t.width < f.width);
    QVERIFY(t.overall < f.overall);
    QVERIFY(f.width < d.width);
    QVERIFY(f.overall < d.overall);

    // The parts of \tfrac are set at 0.9 x 0.7 of the size.
    MTstyle small = env;
    small.fontSize = 20 * 0.9 * 0.7;
    const double xw = QFontMetricsF(env.getFont(engine.get())).boundingRect(QStringLiteral("x")).width();
    QCOMPARE(t.width, std::max(measure(text("1"), small).width, measure(text("2"), small).width) + xw);
}

void tst_layout::fractionBoxFollowsEachPart()
{
    // A deep denominator deepens the box below the bar only.
    const MTstyle env = mathEnv();
    MTfracNode flat(engine.get(), text("1"), text("2"), FractionFrac);
    MTfracNode deep(engine.get(), text("1"),
                    new MTfracNode(engine.get(), text("1"), new MTfracNode(engine.get(), text("1"), text("x"),
                                                                           FractionFrac), FractionFrac),
                    FractionFrac);
    const Box f = measure(&flat, env), d = measure(&deep, env);
    QCOMPARE(d.baseline, f.baseline);
    QVERIFY(d.depth() > 2 * f.depth());
}

void tst_layout::lastIndexInsideTheBox()
{
    // Nested lower indices at the end of a formula stay inside its width.
    std::unique_ptr<MTnode> formula(list({text("a"), new MTsubscriptNode(engine.get(),
        list({text("i"), new MTsubscriptNode(engine.get(), list({text("j"), new MTsubscriptNode(engine.get(),
            text("k"))}))}))}));
    const Box box = measure(formula.get(), mathEnv());
    QImage image = blankImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    formula->draw(painter, 10, 60, mathEnv());
    painter.end();
    QVERIFY(inkBounds(image).right() <= 10 + box.width + 1);
}

void tst_layout::ruleWidth_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<bool>("barAtLeftEdge"); // else the root's roof above the middle
    QTest::addColumn<int>("thickness");
    QTest::newRow("fraction bar at 20 points") << "\\frac{a}{b}" << 20.0 << true << 2;
    QTest::newRow("root sign at 20 points") << "\\sqrt{M}" << 20.0 << false << 2;
    QTest::newRow("fraction bar at 40 points") << "\\frac{a}{b}" << 40.0 << true << 3;
    QTest::newRow("root sign at 10 points") << "\\sqrt{M}" << 10.0 << false << 1;
}

void tst_layout::ruleWidth()
{
    QFETCH(QString, formula);
    QFETCH(double, fontSize);
    QFETCH(bool, barAtLeftEdge);
    QFETCH(int, thickness);
    engine->setFontSize(fontSize);
    // Only the formula's own ink: no leading thin space, no antialiasing.
    MTnode* tree = parsed(formula);
    QVERIFY(tree);
    QImage image = blankImage();
    QPainter painter(&image);
    engine->draw(painter, Qt::AlignCenter, QRectF(image.rect()));
    painter.end();
    const QRect ink = inkBounds(image);
    const int column = barAtLeftEdge ? ink.left() + 1 : ink.center().x();
    QCOMPARE(firstInkRun(image, column), thickness);
}

void tst_layout::bracePairAroundEmptyList_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::newRow("round") << "(" << ")";
    QTest::newRow("square") << "[" << "]";
    QTest::newRow("curly") << "{" << "}";
    QTest::newRow("angle") << "<" << ">";
    QTest::newRow("bars") << "|" << "|";
    QTest::newRow("double bars") << "#" << "#";
    QTest::newRow("floor") << "_" << "_";
    QTest::newRow("ceiling") << "~" << "~";
}

void tst_layout::bracePairAroundEmptyList()
{
    QFETCH(QString, open);
    QFETCH(QString, close);
    const MTstyle env = mathEnv();
    MTbraceNode brace(engine.get(), open, close, list({}));
    const Box box = measure(&brace, env);
    double braceWidth = 0, braceHeight = 0;
    QPainter measuring;
    brace.bracketWidth(measuring, env, box.baseline, box.overall, braceWidth, braceHeight);
    QVERIFY(box.width > 0);
    QVERIFY(box.overall > 0);

    // Two slots, each with its bracket drawn in it.
    QImage image = blankImage();
    QPainter painter(&image);
    const double end = brace.draw(painter, 10, 80, env);
    painter.end();
    QCOMPARE(end, 10 + box.width);
    const int middle = int(10 + box.width / 2);
    QVERIFY(!inkBounds(image.copy(0, 0, middle, image.height())).isNull());
    QVERIFY(!inkBounds(image.copy(middle, 0, image.width() - middle, image.height())).isNull());
}

void tst_layout::bracesGrowWithContent()
{
    const MTstyle env = mathEnv();
    MTbraceNode small(engine.get(), "(", ")", text("x"));
    MTbraceNode tall(engine.get(), "(", ")",
                     new MTfracNode(engine.get(), text("a"), new MTfracNode(engine.get(), text("b"), text("c"),
                                                                            FractionFrac), FractionFrac));
    MTbraceNode open(engine.get(), "(", ")", text("x"), false);
    const Box s = measure(&small, env), t = measure(&tall, env);
    QVERIFY(t.overall > s.overall * 1.5);
    QVERIFY(t.width - measure(tall.getChild(), env).width > s.width - measure(small.getChild(), env).width);
    // The brace keeps its room even when its closing bracket is not drawn.
    QCOMPARE(measure(&open, env).width, s.width);
}

void tst_layout::bracketsAtLeastTheFontsOwn()
{
    // Around a short letter the brackets keep the size of the font's "(".
    const MTstyle env = mathEnv();
    MTbraceNode brace(engine.get(), "(", ")", text("x"));
    const QRectF paren = QFontMetricsF(env.getFont(engine.get())).tightBoundingRect(QStringLiteral("("));
    const Box box = measure(&brace, env);
    QVERIFY(box.baseline >= -paren.top());
    QVERIFY(box.overall >= paren.height());
}

void tst_layout::matrixShape()
{
    const MTstyle env = mathEnv();
    MTmatrixNode one(engine.get(), {{text("a"), text("b")}});
    MTmatrixNode ragged(engine.get(), {{text("a")}, {text("c"), text("d"), text("e")}});
    QCOMPARE(ragged.getLines(), 2);
    QCOMPARE(ragged.getColumns(), 3);
    const Box o = measure(&one, env), r = measure(&ragged, env);
    QVERIFY(r.overall > o.overall);
    QVERIFY(r.width > o.width);
    // Centred on the strike-out line.
    QCOMPARE(r.baseline, r.overall / 2 + r.strikeout);

    MTmatrixNode empty(engine.get(), {});
    QCOMPARE(measure(&empty, env).overall, 0.0);
}

void tst_layout::accentsAddRoom()
{
    const MTstyle env = mathEnv();
    const Box plain = measure(text("x"), env);
    for (int accent = AccentVec; accent <= AccentTilde; ++accent) {
        MTdecoratedNode node(engine.get(), MTaccent(accent), text("x"));
        const Box decorated = measure(&node, env);
        QVERIFY2(decorated.baseline > plain.baseline, qPrintable(accentName(MTaccent(accent))));
        QVERIFY(decorated.width > plain.width);
    }
    QCOMPARE(accentName(MTaccent(42)), QStringLiteral("unknown"));
    QCOMPARE(fractionKindName(MTfractionKind(-1)), QStringLiteral("unknown"));
}

void tst_layout::deepTreesAndAbsurdSizesStayBounded()
{
    // A deep hand-built tree measures and draws without trouble.
    MTnode* node = text("x");
    for (int i = 0; i < 300; ++i)
        node = (i % 3 == 0) ? static_cast<MTnode*>(new MTfracNode(engine.get(), node, text("y"), FractionFrac))
             : (i % 3 == 1) ? static_cast<MTnode*>(new MTbraceNode(engine.get(), "(", ")", node))
                            : static_cast<MTnode*>(new MTsqrtNode(engine.get(), node));
    std::unique_ptr<MTnode> deep(node);
    const Box box = measure(deep.get(), mathEnv());
    QVERIFY(std::isfinite(box.width) && std::isfinite(box.overall));
    QImage image = blankImage(50, 50);
    QPainter painter(&image);
    deep->draw(painter, 0, 25, mathEnv());
    painter.end();

    // Sixty size steps of 1.25 would make a glyph of 6e6 points: the font
    // size stays within a sane range (the parser's depth limit is higher).
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("\\displaystyle{");
    parsed(text + "x");
    QPainter measuring;
    const QSizeF size = engine->getSize(measuring);
    QVERIFY(engine->getErrors().isEmpty());
    QVERIFY(size.width() > 0 && size.width() < 5000);
    QVERIFY(size.height() > 0 && size.height() < 5000);
}

void tst_layout::typeNames()
{
    MTlistNode l(engine.get());
    QCOMPARE(l.typeName(), QStringLiteral("MTlistNode"));
    QCOMPARE(MTtextNode(engine.get(), "abc", false, false).typeName(), QStringLiteral("MTtextNode(abc)"));
    QCOMPARE(MTplainTextNode(engine.get(), "a", false, false).typeName(), QStringLiteral("MTplainTextNode(a)"));
    QCOMPARE(MTwhitespaceNode(engine.get()).typeName(), QStringLiteral("MTwhitespaceNode( )"));
    QCOMPARE(MTinstruction1Node(engine.get(), "mathbf", nullptr).typeName(),
             QStringLiteral("MTinstruction1Node(mathbf)"));
    QCOMPARE(MTbraceNode(engine.get(), "(", ")", nullptr).typeName(), QStringLiteral("MTbraceNode(( ))"));
    QCOMPARE(MTfracNode(engine.get(), nullptr, nullptr, FractionFrac).typeName(), QStringLiteral("MTfracNode"));
    QCOMPARE(MTsqrtNode(engine.get(), nullptr).typeName(), QStringLiteral("MTsqrtNode"));
    QCOMPARE(MTsubscriptNode(engine.get(), nullptr).typeName(), QStringLiteral("MTsubscriptNode"));
    QCOMPARE(MTsuperscriptNode(engine.get(), nullptr).typeName(), QStringLiteral("MTsuperscriptNode"));
    QCOMPARE(MTmatrixNode(engine.get(), {}).typeName(), QStringLiteral("MTmatrixNode"));
    QCOMPARE(MTdecoratedNode(engine.get(), AccentHat, nullptr).typeName(), QStringLiteral("MTdecoratedNode"));
}

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
