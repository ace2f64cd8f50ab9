#include "math/MTatom.h"
#include "math/MTbraceNode.h"
#include "math/MTinstruction1Node.h"
#include "math/MTlayout.h"
#include "math/MTlistNode.h"
#include "math/MTplainTextNode.h"
#include "math/MTsubscriptNode.h"
#include "math/MTtextNode.h"
#include "tests/math/MathTestSupport.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

using EnvChange = std::function<void(MTstyle&)>;

// The editor's picture of "$" + formula, on white: the size getSize()
// gives, the formula drawn centred in it.
QImage editorPicture(const QString& formula, double fontSize = 20, Qt::GlobalColor background = Qt::white)
{
    XitsEngine engine(fontSize);
    engine.parse(QLatin1Char('$') + formula);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    QImage image = blankImage(int(size.width()), int(size.height()), background);
    painter.begin(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(image.rect()));
    return image;
}

// The runs of rows (Qt::Vertical) or columns (Qt::Horizontal) that hold ink,
// from the top or the left; `text` lists them for failure messages.
QVector<QPair<int, int>> inkRuns(const QImage& image, Qt::Orientation direction, QString* text)
{
    const bool rows = direction == Qt::Vertical;
    QVector<QPair<int, int>> runs;
    bool inRun = false;
    for (int i = 0; i < (rows ? image.height() : image.width()); ++i) {
        bool ink = false;
        for (int j = 0; j < (rows ? image.width() : image.height()) && !ink; ++j)
            ink = dark(rows ? image.pixel(j, i) : image.pixel(i, j));
        if (ink && !inRun)
            runs.append({i, i});
        if (ink)
            runs.last().second = i;
        inRun = ink;
    }
    for (const auto& run : runs)
        *text += QStringLiteral("%1-%2 ").arg(run.first).arg(run.second);
    return runs;
}

// The ink of the columns `run` of image.
QRect inkOfColumns(const QImage& image, const QPair<int, int>& run)
{
    return inkBounds(image.copy(run.first, 0, run.second - run.first + 1, image.height()))
        .translated(run.first, 0);
}

// TeX's math unit at a font size, on the screen the engine measures for.
double muAt(double fontSize)
{
    return fontSize * QFontMetricsF(QFont()).fontDpi() / 72 / 18;
}

} // namespace

Q_DECLARE_METATYPE(EnvChange)
Q_DECLARE_METATYPE(MTmathStyle)

class tst_layout : public QObject
{
    Q_OBJECT

    std::unique_ptr<VelQTmathText> engine;

    MTnode* text(const QString& t) { return new MTtextNode(engine.get(), t, false, true); }
    // The size of "$" + formula at 20 points, as the engine's tree measures it.
    Box parsed(const QString& formula)
    {
        engine->parse(QLatin1Char('$') + formula);
        return measure(engine->getTree(), mathEnv(false));
    }
    // The width of the formula itself, without the spaces that parse() puts
    // around it.
    double mathWidth(const QString& formula)
    {
        engine->parse(QLatin1Char('$') + formula);
        auto* top = dynamic_cast<MTlistNode*>(engine->getTree());
        return measure(top->getNodes().at(1), mathEnv(false)).width;
    }

private slots:
    void init()
    {
        engine = std::make_unique<XitsEngine>();
    }

    void pictureIsInkAndEvenMargin_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::newRow("relations and a bar pair") << "\\left| x \\right| \\leq 1 \\Leftrightarrow -1 \\leq x \\leq 1";
        QTest::newRow("fraction first, limit")
            << "\\frac{\\partial f}{\\partial x} = \\lim_{h\\to0}\\frac{f(x+h)-f(x)}{h}";
        QTest::newRow("root, fraction in an exponent")
            << "\\frac{1}{\\sqrt{2\\pi\\sigma^2}} \\mathrm{e}^{-\\frac{(x-\\mu)^2}{2\\sigma^2}}";
        QTest::newRow("leaning letter first, arrows last") << "f \\Rightarrow \\vec{u}";
        QTest::newRow("braces over and under") << "\\overbrace{ABC}^{a} + \\underbrace{ABC}_{a}";
        QTest::newRow("stacked limits") << "\\sum_{i=1}^{n} i^2";
        QTest::newRow("brackets at both ends") << "\\left[ \\frac{a}{b} \\right]";
        QTest::newRow("text after the formula") << "A = \\pi r^2 $ (aire du disque)";
    }

    // The editor's and the scene's pictures hold the ink and the same thick
    // space on every side: no empty band wider than that, nothing cut off.
    void pictureIsInkAndEvenMargin()
    {
        QFETCH(QString, formula);
        // On transparency, the faintest antialiased pixel counts.
        const QImage image = editorPicture(formula, 20, Qt::transparent);
        const QRect ink = inkBounds(image, opaque);
        const double margin = 5 * muAt(20);
        const QVector<int> bands = {ink.left(), ink.top(), image.width() - 1 - ink.right(),
                                    image.height() - 1 - ink.bottom()};
        for (int band : bands) {
            // Antialiased edges and glyph bounds rounded to pixels: within two pixels.
            QVERIFY2(std::abs(band - margin) <= 2,
                     qPrintable(QStringLiteral("bands left, top, right, bottom %1 %2 %3 %4, margin %5")
                                    .arg(bands[0]).arg(bands[1]).arg(bands[2]).arg(bands[3]).arg(margin)));
        }
    }

    void alignedInRectangle_data()
    {
        QTest::addColumn<uint>("flags");
        QTest::addColumn<double>("xShare"); // share of the free width left of the picture
        QTest::addColumn<double>("yShare");
        QTest::newRow("top left") << uint(Qt::AlignLeft | Qt::AlignTop) << 0.0 << 0.0;
        QTest::newRow("right, centred vertically") << uint(Qt::AlignRight | Qt::AlignVCenter) << 1.0 << 0.5;
        QTest::newRow("bottom, centred horizontally") << uint(Qt::AlignHCenter | Qt::AlignBottom) << 0.5 << 1.0;
    }

    // What is aligned is the picture that getSize() measures: the ink and
    // its margin.
    void alignedInRectangle()
    {
        QFETCH(uint, flags);
        QFETCH(double, xShare);
        QFETCH(double, yShare);
        const QString formula = "\\frac{a}{b}+y^2 \\alpha\\infty \\left(x\\right) \\textcolor{red}{b}";
        const QRect alone = inkBounds(editorPicture(formula));
        const QSize picture = editorPicture(formula).size();
        const QRectF rect(20, 10, 260, 120);
        // Nodes set pens while they draw; the caller gets its own back.
        QImage image = blankImage();
        QPainter painter(&image);
        const QPen pen(Qt::green, 3);
        painter.setPen(pen);
        painter.setBrush(Qt::blue);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        engine->parse(QLatin1Char('$') + formula);
        engine->draw(painter, flags, rect);
        QVERIFY(painter.pen() == pen && painter.brush() == QBrush(Qt::blue));
        painter.end();
        const QPointF start(rect.left() + (rect.width() - picture.width()) * xShare,
                            rect.top() + (rect.height() - picture.height()) * yShare);
        const QRect ink = inkBounds(image);
        QVERIFY2(std::abs(ink.left() - (start.x() + alone.left())) <= 1
                     && std::abs(ink.top() - (start.y() + alone.top())) <= 1,
                 qPrintable(QStringLiteral("ink at %1,%2").arg(ink.left()).arg(ink.top())));
    }

    void spacingBetweenAtoms_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("ordinary"); // the same atoms made ordinary, which no space parts
        QTest::addColumn<double>("mu");        // TeX's spaces between them, in math units

        // Letters inside a run of text lose their italic correction when
        // made ordinary: where the run would be split, digits stand for them.
        // TeX's table: thin 3 mu, medium 4, thick 5; scripts keep only thin ones.
        QTest::newRow("relation: thick on both sides") << "x\\leq y" << "x\\mathord{\\leq}y" << 10.0;
        QTest::newRow("binary operator: medium on both sides") << "1+2" << "1\\mathord{+}2" << 8.0;
        QTest::newRow("binary after an index") << "x^2-1" << "x^2\\mathord{-}1" << 8.0;
        QTest::newRow("sign first in the list is ordinary") << "-1" << "\\mathord{-}1" << 0.0;
        QTest::newRow("sign after a relation") << "x\\leq-1" << "x\\leq\\mathord{-}1" << 0.0;
        QTest::newRow("binary before a closing bracket is ordinary") << "(1+)" << "(1\\mathord{+})" << 0.0;
        QTest::newRow("comma: thin after it") << "1,2" << "1\\mathord{,}2" << 3.0;
        QTest::newRow("function application: none") << "f(x)" << "f\\mathord{(}x)" << 0.0;
        QTest::newRow("named function: thin") << "\\cos\\theta" << "\\mathord{\\cos}\\theta" << 3.0;
        QTest::newRow("bracket pair: thin after an ordinary atom") << "2\\left(x\\right)"
                                                                   << "2\\mathord{\\left(x\\right)}" << 3.0;
        QTest::newRow("no relation spacing in a superscript") << "{}^{a\\leq b}" << "{}^{a\\mathord{\\leq}b}" << 0.0;
        QTest::newRow("no binary spacing in a subscript") << "x_{1+2}" << "x_{1\\mathord{+}2}" << 0.0;
        QTest::newRow("thin space kept in scripts") << "{}_{\\sin x}" << "{}_{\\mathord{\\sin}x}" << 3 * 0.7;
        QTest::newRow("spaces are looked through") << "a\\,-b" << "a\\,\\mathord{-}b" << 8.0;
    }

    void spacingBetweenAtoms()
    {
        QFETCH(QString, formula);
        QFETCH(QString, ordinary);
        QFETCH(double, mu);
        // Within a pixel, as the glyphs are placed.
        QVERIFY2(std::abs(mathWidth(formula) - mathWidth(ordinary) - mu * muAt(20)) < 1,
                 qPrintable(QStringLiteral("%1 against %2").arg(mathWidth(formula)).arg(mathWidth(ordinary))));
    }

    void binaryOperatorRules_data()
    {
        QTest::addColumn<QString>("atoms"); // o ordinary, O operator, b binary, r relation,
        QTest::addColumn<QString>("resolved"); // ( opening, ) closing, p punctuation, i inner

        // TeX's rules 5 and 6: a binary operator needs an operand on each side.
        QTest::newRow("between two operands") << "obo" << "obo";
        QTest::newRow("after a bracket pair") << "ibo" << "ibo";
        QTest::newRow("first in its list") << "bo" << "oo";
        QTest::newRow("last in its list") << "ob" << "oo";
        QTest::newRow("after an opening bracket") << "(bo" << "(oo";
        QTest::newRow("after a relation") << "rbo" << "roo";
        QTest::newRow("after an operator") << "Obo" << "Ooo";
        QTest::newRow("around punctuation") << "obpbo" << "oopoo";
        QTest::newRow("after another binary operator") << "obbo" << "oboo";
        QTest::newRow("before a relation") << "obr" << "oor";
        QTest::newRow("before a closing bracket") << "ob)" << "oo)";
    }

    void binaryOperatorRules()
    {
        QFETCH(QString, atoms);
        QFETCH(QString, resolved);
        const QString letters = QStringLiteral("oObr()pi");
        const QVector<MTatomClass> order = {AtomOrd,  AtomOp,    AtomBin,   AtomRel,
                                            AtomOpen, AtomClose, AtomPunct, AtomInner};
        QVector<MTatomClass> classes;
        for (QChar c : atoms)
            classes.append(order.at(letters.indexOf(c)));
        QString result;
        for (MTatomClass c : MTatom::resolved(classes, AtomNone, AtomNone))
            result += letters.at(order.indexOf(c));
        QCOMPARE(result, resolved);
    }

    void stylesDownTheTree_data()
    {
        QTest::addColumn<MTmathStyle>("from");
        QTest::addColumn<bool>("cramped");
        QTest::addColumn<QString>("part");
        QTest::addColumn<MTmathStyle>("to");
        QTest::addColumn<bool>("crampedPart");
        QTest::addColumn<double>("size"); // of the part, for 20 points in `from`

        // The TeXbook, chapter 17: scripts at 70 % of the text size, and
        // that again one level further.
        const MTmathStyle d = MathDisplay, t = MathText, s = MathScript, ss = MathScriptScript;
        QTest::newRow("superscript of display style") << d << false << "sup" << s << false << 14.0;
        QTest::newRow("superscript keeps crampedness") << t << true << "sup" << s << true << 14.0;
        QTest::newRow("superscript of a superscript") << s << false << "sup" << ss << false << 14.0;
        QTest::newRow("subscript is cramped") << t << false << "sub" << s << true << 14.0;
        QTest::newRow("scriptscript is the smallest") << ss << false << "sub" << ss << true << 20.0;
        QTest::newRow("numerator of display style") << d << false << "num" << t << false << 20.0;
        QTest::newRow("numerator of text style") << t << false << "num" << s << false << 14.0;
        QTest::newRow("denominator is cramped") << t << false << "denom" << s << true << 14.0;
        QTest::newRow("numerator of script style") << s << true << "num" << ss << true << 14.0;
    }

    void stylesDownTheTree()
    {
        QFETCH(MTmathStyle, from);
        QFETCH(bool, cramped);
        QFETCH(QString, part);
        QFETCH(MTmathStyle, to);
        QFETCH(bool, crampedPart);
        QFETCH(double, size);
        MTstyle env = mathEnv();
        env.mathStyle = from;
        env.cramped = cramped;
        const QHash<QString, MTstyle> parts = {
            {"sup", env.superscriptStyle(engine.get())}, {"sub", env.subscriptStyle(engine.get())},
            {"num", env.numeratorStyle(engine.get())}, {"denom", env.denominatorStyle(engine.get())}};
        QCOMPARE(parts.value(part).mathStyle, to);
        QCOMPARE(parts.value(part).cramped, crampedPart);
        QCOMPARE(parts.value(part).fontSize, size);
    }

    // TeX's styles: an exponent is in script style, a fraction in it one
    // style further down, as a second index is.
    void fractionInExponentIsScriptScript()
    {
        QString runs;
        const auto rows = inkRuns(editorPicture("{}^{\\frac{8}{8}}", 60), Qt::Vertical, &runs);
        QVERIFY2(rows.size() == 3, qPrintable(runs)); // numerator, bar, denominator
        const int fraction = rows.first().second - rows.first().first;
        const QRect second = inkBounds(editorPicture("{}^{{}^{8}}", 60));
        const QRect first = inkBounds(editorPicture("{}^{8}", 60));
        QVERIFY2(std::abs(fraction - (second.height() - 1)) <= 1, qPrintable(runs));
        QVERIFY(first.height() > second.height() + 5);
    }

    void delimitersAlikeOnTheAxis_data()
    {
        QTest::addColumn<QString>("formula"); // a bracket pair, then "+"
        QTest::newRow("bars around a letter") << "\\left| x \\right| +";
        QTest::newRow("bars around a fraction") << "\\left| \\frac{a}{b} \\right| +";
        QTest::newRow("round around a root") << "\\left( \\sqrt{\\frac{a}{b}} \\right) +";
        QTest::newRow("round around a deep subscript") << "\\left( x_{i_j} \\right) +";
    }

    // Both brackets the same height, their middle on the axis (the middle
    // of "+").
    void delimitersAlikeOnTheAxis()
    {
        QFETCH(QString, formula);
        const QImage image = editorPicture(formula, 40);
        QString text;
        const auto columns = inkRuns(image, Qt::Horizontal, &text);
        QVERIFY2(columns.size() >= 4, qPrintable(text));
        const QRect open = inkOfColumns(image, columns.first());
        const QRect plus = inkOfColumns(image, columns.last());
        const QRect close = inkOfColumns(image, columns.at(columns.size() - 2));
        QVERIFY2(std::abs(open.top() - close.top()) <= 1 && std::abs(open.bottom() - close.bottom()) <= 1,
                 qPrintable(text));
        QVERIFY(std::abs(open.center().y() - plus.center().y()) <= 1);
    }

    // Fraction bars lie on the math axis, the middle of "+".
    void fractionBarOnTheAxis()
    {
        const QImage image = editorPicture("\\frac{a}{b} +", 40);
        QString text;
        const auto columns = inkRuns(image, Qt::Horizontal, &text);
        QVERIFY2(columns.size() == 2, qPrintable(text));
        const QImage fraction = image.copy(columns.first().first, 0, columns.first().second - columns.first().first + 1,
                                           image.height());
        const auto rows = inkRuns(fraction, Qt::Vertical, &text);
        QVERIFY2(rows.size() == 3, qPrintable(text)); // numerator, bar, denominator
        const double bar = (rows.at(1).first + rows.at(1).second) / 2.0;
        QVERIFY(std::abs(bar - inkOfColumns(image, columns.last()).center().y()) <= 1);
    }

    // Stacked limits are centred on their operator; beside an integral the
    // lower one tucks under the slanted sign.
    void limitsPlaced()
    {
        const QImage image = editorPicture("\\sum_{i=1}^{n}", 40);
        QString text;
        const auto rows = inkRuns(image, Qt::Vertical, &text);
        QVERIFY2(rows.size() == 3, qPrintable(text));
        QVector<double> centres;
        for (const auto& row : rows)
            centres << inkBounds(image.copy(0, row.first, image.width(), row.second - row.first + 1)).center().x();
        // Boxes are centred, not ink: within the side bearings of the glyphs.
        QVERIFY2(std::abs(centres[0] - centres[1]) <= 3 && std::abs(centres[2] - centres[1]) <= 3,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(centres[0]).arg(centres[1]).arg(centres[2])));
        QVERIFY(editorPicture("\\int_{8}", 40).width() < editorPicture("\\int^{8}", 40).width());
    }

    void bracesStackTheirLabel_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("label"); // which of the three runs of ink rows
        QTest::newRow("over, LaTeX's label") << "\\overbrace{ABC}^{a}" << 0;
        QTest::newRow("over, the dialect's label") << "\\overbrace{ABC}{a}" << 0;
        QTest::newRow("under, LaTeX's label") << "\\underbrace{ABC}_a" << 2;
    }

    // The label, the brace and the braced part one above the other, the
    // label centred on the brace.
    void bracesStackTheirLabel()
    {
        QFETCH(QString, formula);
        QFETCH(int, label);
        const QImage image = editorPicture(formula, 40);
        QString text;
        const auto rows = inkRuns(image, Qt::Vertical, &text);
        QVERIFY2(rows.size() == 3, qPrintable(text));
        const auto centre = [&image](const QPair<int, int>& r) {
            return inkBounds(image.copy(0, r.first, image.width(), r.second - r.first + 1)).center().x();
        };
        QVERIFY2(std::abs(centre(rows.at(label)) - centre(rows.at(1))) <= 3, qPrintable(text));
    }

    void matrixColumns_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("centred"); // else on the left; so is the closing bracket
        QTest::newRow("matrix: centred") << "\\begin{pmatrix} x \\\\ xxx \\end{pmatrix}" << true;
        QTest::newRow("cases: on the left") << "\\begin{cases} x \\\\ xxx \\end{cases}" << false;
    }

    void matrixColumns()
    {
        QFETCH(QString, formula);
        QFETCH(bool, centred);
        const QImage image = editorPicture(formula, 40);
        QString text;
        // The cells lie between the brackets.
        const auto columns = inkRuns(image, Qt::Horizontal, &text);
        QVERIFY2(columns.size() >= (centred ? 3 : 2), qPrintable(text));
        const int right = centred ? columns.at(columns.size() - 2).second : columns.last().second;
        const QImage cells = image.copy(columns.at(1).first, 0, right - columns.at(1).first + 1, image.height());
        const auto rows = inkRuns(cells, Qt::Vertical, &text);
        QVERIFY2(rows.size() == 2, qPrintable(text));
        const auto row = [&cells](const QPair<int, int>& r) {
            return inkBounds(cells.copy(0, r.first, cells.width(), r.second - r.first + 1));
        };
        const QRect one = row(rows[0]), three = row(rows[1]);
        const bool aligned = centred ? std::abs(one.center().x() - three.center().x()) <= 2
                                     : std::abs(one.left() - three.left()) <= 2;
        QVERIFY2(aligned, qPrintable(QStringLiteral("%1 and %2").arg(one.left()).arg(three.left())));
    }

    // "||" is read as the double bar "\|" is, one glyph each side.
    void doubleBarsAreOneGlyph()
    {
        const QImage typed = editorPicture("||x|| = 1");
        QCOMPARE(typed, editorPicture("\\|x\\| = 1"));
        QString text;
        const auto columns = inkRuns(typed, Qt::Horizontal, &text);
        // The two strokes of a bar, then x, two strokes, "=" and "1".
        QVERIFY2(columns.size() == 7, qPrintable(text));
        QVERIFY2(columns.at(1).first - columns.at(0).second <= 5, qPrintable(text)); // tight
    }

    // The vinculum ends square over the radicand's end: no stroke goes down
    // from it.
    void vinculumEndsSquare()
    {
        const QImage image = editorPicture("\\sqrt{1}", 40);
        const QRect ink = inkBounds(image);
        QString text;
        const auto rows = inkRuns(image.copy(ink.right() - 1, 0, 2, image.height()), Qt::Vertical, &text);
        QVERIFY2(rows.size() == 1 && rows.first().first == ink.top(), qPrintable(text));
        QVERIFY2(rows.first().second - rows.first().first <= MTlayout::ruleWidth(40) + 1, qPrintable(text));
    }

    void partsSetApart_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("stacked"); // runs of ink rows, else of ink columns
        QTest::addColumn<int>("count"); // stacked: limits and operator; else: the operator's run

        // Stacked limits are set apart from the operator's ink by clear rows.
        QTest::newRow("sum: stacked") << "\\sum_{i=1}^{n}" << true << 3;
        QTest::newRow("limit: stacked") << "\\lim_{x\\to0}" << true << 2;
        QTest::newRow("integral: beside") << "\\int_0^{10}" << true << 1;
        QTest::newRow("integral with \\limits") << "\\int\\limits_0^{10}" << true << 3;
        QTest::newRow("sum with \\nolimits") << "\\sum\\nolimits_{i=1}^{n}" << true << 1;
        QTest::newRow("sum in an index: beside") << "x^{\\sum_{i=1}^{n}}" << true << 1;
        QTest::newRow("no big operator: an ordinary index") << "\\alpha_{k}" << true << 1;
        // A binary operator stands alone with about the same room on both sides.
        QTest::newRow("minus") << "1-2" << false << 1;
        QTest::newRow("plus after an index") << "2^2+3" << false << 2;
        QTest::newRow("equals before a fraction") << "a=\\frac{1}{2}" << false << 1;
    }

    void partsSetApart()
    {
        QFETCH(QString, formula);
        QFETCH(bool, stacked);
        QFETCH(int, count);
        QString text;
        const auto runs = inkRuns(editorPicture(formula), stacked ? Qt::Vertical : Qt::Horizontal, &text);
        if (stacked) {
            QVERIFY2(runs.size() == count, qPrintable(text));
            for (int i = 1; i < runs.size(); ++i)
                QVERIFY2(runs.at(i).first - runs.at(i - 1).second > 3, qPrintable(text));
            return;
        }
        QVERIFY2(runs.size() > count + 1 && runs.at(count).second - runs.at(count).first > 8, qPrintable(text));
        const int before = runs.at(count).first - runs.at(count - 1).second;
        const int after = runs.at(count + 1).first - runs.at(count).second;
        QVERIFY2(before > 3 && after > 3 && std::abs(before - after) <= 4, qPrintable(text));
    }

    // Operators, relations and punctuation are upright in italic math, as
    // are digits; "-" is the minus sign, "*" the centred asterisk.
    void textTransformed()
    {
        MTtextNode node(engine.get(), QString(), false, false);
        MTplainTextNode plain(engine.get(), QString(), false, false);
        MTstyle blackboard = mathEnv(false);
        blackboard.font = StyleBlackboard;
        QCOMPARE(node.transformText("a-b*c||", mathEnv()), QString::fromUtf8("a\u2212b\u2217c\u2016"));
        QCOMPARE(plain.transformText("a-b", mathEnv()), QStringLiteral("a-b"));
        QCOMPARE(node.transformText("a-b", mathEnv(false)), QStringLiteral("a-b"));
        QCOMPARE(node.transformText("NZdx", blackboard), QString::fromUtf8("\u2115\u2124\u2146x"));
        engine->setFontEncoding(EncodingWinSymbol);
        QCOMPARE(node.transformText("a-b", mathEnv()), QStringLiteral("a-b"));
        QCOMPARE(node.transformText("R", blackboard), QStringLiteral("R"));
    }

    void glyphsDrawn_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("runs"); // drawn one after the other
        QTest::addColumn<QString>("fonts"); // per run: i italic, u upright, c upright from the math companion

        // In italic math.
        const int roman = int(StyleRoman), bb = int(StyleBlackboard);
        QTest::newRow("digit first, letters in one italic run") << roman << "2ab1c" << QStringList{"2", "ab", "1", "c"} << "uiui";
        QTest::newRow("letterlike double-struck, then one only among the math letters") << bb << "RD"
            << QStringList{QString(QChar(0x211D)), QString::fromUcs4(U"\U0001D53B")} << "uc";
        QTest::newRow("script only among the math letters") << int(StyleCaligraphic) << "A"
            << QStringList{QString::fromUcs4(U"\U0001D49C")} << "c";
    }

    void glyphsDrawn()
    {
        QFETCH(int, role);
        QFETCH(QString, text);
        QFETCH(QStringList, runs);
        QFETCH(QString, fonts);
        MTstyle env = mathEnv();
        env.font = MTstyleFont(role);
        MTtextNode node(engine.get(), text, false, true);
        QImage drawn = blankImage(), expected = blankImage();
        QPainter painter(&drawn);
        node.draw(painter, 10, 60, env);
        painter.end();
        painter.begin(&expected); // drawn here without the engine
        double x = 10;
        for (int i = 0; i < runs.size(); ++i) {
            QFont font = env.getFont(engine.get());
            font.setItalic(fonts.at(i) == 'i');
            if (fonts.at(i) == 'c')
                font.setFamily(engine->mathCompanionFamily(font.family()));
            painter.setFont(font);
            painter.drawText(QPointF(x, 60), runs.at(i));
            x += QFontMetricsF(font, &expected).horizontalAdvance(runs.at(i));
        }
        painter.end();
        QVERIFY(!inkBounds(expected).isNull()); // the font does hold the glyphs
        QCOMPARE(drawn, expected);
    }

    void instructionsChangeEnvironment_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<EnvChange>("change");

        // Of italic math; as in TeX, "\mathbf{v}" is an upright bold v.
        QTest::newRow("mathbf") << "mathbf" << EnvChange([](MTstyle& e) { e.bold = true, e.italic = false; });
        QTest::newRow("mathsf") << "mathsf" << EnvChange([](MTstyle& e) { e.font = StyleSans, e.italic = false; });
        QTest::newRow("bf keeps the slant") << "bf" << EnvChange([](MTstyle& e) { e.bold = true; });
        QTest::newRow("scriptstyle: the size of indices")
            << "scriptstyle" << EnvChange([](MTstyle& e) { e.fontSize *= 0.7, e.mathStyle = MathScript; });
        QTest::newRow("unknown") << "nosuchcommand" << EnvChange([](MTstyle&) {});
    }

    void instructionsChangeEnvironment()
    {
        QFETCH(QString, command);
        QFETCH(EnvChange, change);
        MTinstruction1Node node(engine.get(), command, text("Wavy"));
        MTstyle expected = mathEnv();
        change(expected);
        MTstyle slantChanged = expected;
        slantChanged.italic = !expected.italic;
        const double width = measure(&node, mathEnv()).width;
        QCOMPARE(width, measure(text("Wavy"), expected).width);
        QVERIFY(width != measure(text("Wavy"), slantChanged).width);
    }

    // LaTeX's "\displaystyle" without a group switches the rest of its list.
    void styleSwitchAppliesToTheRest()
    {
        QCOMPARE(mathWidth("a \\displaystyle \\frac{1}{2}"), mathWidth("a \\displaystyle{\\frac{1}{2}}"));
        QVERIFY(mathWidth("\\displaystyle \\frac{1}{2}") > mathWidth("\\frac{1}{2}"));
        QCOMPARE(mathWidth("{\\scriptstyle x} x"), mathWidth("\\scriptstyle{x} x"));
    }

    void boxWidensByAnX()
    {
        const MTstyle env = mathEnv(false);
        const Box inner = measure(text("x"), env);
        const double p = QFontMetricsF(env.getFont(engine.get())).horizontalAdvance(QLatin1Char('x'));
        for (const QStringList& call : {QStringList{"fbox"}, QStringList{"colorbox", "red"}}) {
            MTinstruction1Node box(engine.get(), call.first(), text("x"), call.mid(1));
            const Box outer = measure(&box, env);
            QCOMPARE(outer.width, inner.width + p);
            QCOMPARE(outer.overall, inner.overall + p);
            QCOMPARE(outer.baseline, inner.baseline + p / 2);
            QImage image = blankImage();
            QPainter painter(&image);
            QCOMPARE(box.draw(painter, 10, 60, env), 10 + outer.width); // what follows starts after the frame
        }
    }

    void indices()
    {
        const Box base = parsed("x"), raised = parsed("x^2"), lowered = parsed("x_2"), both = parsed("x_i^2");
        QVERIFY(raised.baseline > base.baseline);
        QVERIFY(lowered.depth() > base.depth());
        // A pair is set one above the other: narrower than the two side by
        // side; with a superscript, a subscript goes lower (TeX's sub2).
        QVERIFY(both.width < raised.width + lowered.width - base.width);
        QVERIFY(both.baseline >= raised.baseline && both.depth() > lowered.depth());
        // A raised index ends above the baseline, however nested: no blank band underneath.
        for (const auto& pair :
             {std::make_pair("x", "x^{2^{3}}"), std::make_pair("\\left(x\\right)", "\\left(x\\right)^{n^2}")}) {
            const Box plain = parsed(pair.first), indexed = parsed(pair.second);
            QVERIFY2(indexed.baseline > plain.baseline && qFuzzyCompare(indexed.depth() + 1, plain.depth() + 1),
                     pair.second);
        }

        // Nested lower indices at the end of a formula stay inside its width.
        const auto indexed = [this](const QString& base, MTnode* index) {
            auto* list = new MTlistNode(engine.get());
            list->addNode(text(base));
            list->addNode(new MTsubscriptNode(engine.get(), index));
            return list;
        };
        std::unique_ptr<MTnode> nested(indexed("a", indexed("i", indexed("j", text("k")))));
        QImage image = blankImage();
        QPainter painter(&image);
        nested->draw(painter, 10, 60, mathEnv());
        painter.end();
        QVERIFY(inkBounds(image).right() <= 10 + measure(nested.get(), mathEnv()).width + 1);
    }

    void fractionSizes()
    {
        const Box f = parsed("\\frac{1}{2}"), t = parsed("\\tfrac{1}{2}"), d = parsed("\\dfrac{1}{2}");
        // A formula is running text: \frac is \tfrac there, \dfrac larger.
        QCOMPARE(t.width, f.width);
        QVERIFY(f.width < d.width && f.overall < d.overall);
        // A deep denominator deepens the box below the bar only.
        const Box deep = parsed("\\frac{1}{\\frac{1}{\\frac{1}{x}}}");
        QCOMPARE(deep.baseline, f.baseline);
        QVERIFY(deep.depth() > 1.5 * f.depth());
    }

    void ruleWidth_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<double>("fontSize");
        QTest::addColumn<int>("thickness");
        QTest::newRow("fraction bar at 20 points") << "\\frac{a}{bbbb}" << 20.0 << 2;
        QTest::newRow("root sign at 20 points") << "\\sqrt{M}" << 20.0 << 2;
        QTest::newRow("fraction bar at 40 points") << "\\frac{a}{bbbb}" << 40.0 << 3;
    }

    void ruleWidth()
    {
        QFETCH(QString, formula);
        QFETCH(double, fontSize);
        QFETCH(int, thickness);
        engine->setFontSize(fontSize);
        parsed(formula);
        QImage image = blankImage();
        QPainter painter(&image); // no antialiasing: only the rule's own pixels
        engine->draw(painter, Qt::AlignCenter, QRectF(image.rect()));
        painter.end();
        // The bar at the fraction's left edge, the root's roof above its middle.
        const QRect ink = inkBounds(image);
        const int column = formula.contains("frac") ? ink.left() + 1 : ink.center().x();
        QString runs;
        const auto rule = inkRuns(image.copy(column, 0, 1, image.height()), Qt::Vertical, &runs).value(0);
        QCOMPARE(rule.second - rule.first + 1, thickness);
    }

    void bracePairAroundEmptyList()
    {
        // Two slots, each with its bracket drawn in it ("#": double bars).
        for (const QString pair : {"()", "{}", "<>", "##", "||"}) {
            MTbraceNode brace(engine.get(), pair.left(1), pair.mid(1), new MTlistNode(engine.get()));
            const Box box = measure(&brace, mathEnv());
            QImage image = blankImage();
            QPainter painter(&image);
            QCOMPARE(brace.draw(painter, 10, 80, mathEnv()), 10 + box.width);
            painter.end();
            const int middle = int(10 + box.width / 2);
            QVERIFY2(box.width > 0 && !inkBounds(image.copy(0, 0, middle, 150)).isNull(), qPrintable(pair));
            QVERIFY2(!inkBounds(image.copy(middle, 0, 300 - middle, 150)).isNull(), qPrintable(pair));
        }
    }

    void bracketsGrowWithContent()
    {
        const Box x = parsed("x"), small = parsed("\\left(x\\right)");
        const Box fraction = parsed("\\frac{a}{\\frac{b}{c}}"), tall = parsed("\\left(\\frac{a}{\\frac{b}{c}}\\right)");
        QVERIFY(tall.overall > small.overall * 1.5);
        QVERIFY(tall.width - fraction.width > small.width - x.width);
        // The brace keeps its room even when its closing bracket is not drawn.
        QCOMPARE(parsed("\\left(x\\right.").width, small.width);
        // Around a short letter the brackets keep the size of the font's "(".
        const QRectF paren = QFontMetricsF(mathEnv().getFont(engine.get())).tightBoundingRect(QStringLiteral("("));
        QVERIFY(small.overall >= paren.height());
    }
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
