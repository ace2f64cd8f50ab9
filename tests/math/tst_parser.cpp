#include "math/MTbraceNode.h"
#include "math/MTdecoratedNode.h"
#include "math/MTfracNode.h"
#include "math/MTinstruction1Node.h"
#include "math/MTlistNode.h"
#include "math/MTmatrixNode.h"
#include "math/MTsqrtNode.h"
#include "math/MTsubscriptNode.h"
#include "math/MTsuperscriptNode.h"
#include "math/MTsymbolNode.h"
#include "math/MTtextNode.h"
#include "math/MTwhitespaceNode.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QtTest>

namespace {

QList<MTnode*> childrenOf(const MTnode* node)
{
    if (auto* list = dynamic_cast<const MTlistNode*>(node))
        return list->getNodes();
    if (auto* frac = dynamic_cast<const MTfracNode*>(node))
        return {frac->getChild1(), frac->getChild2()};
    if (auto* matrix = dynamic_cast<const MTmatrixNode*>(node)) {
        QList<MTnode*> cells;
        for (const QVector<MTnode*>& row : matrix->getChildren())
            cells += row.toList();
        return cells;
    }
    if (auto* n = dynamic_cast<const MTinstruction1Node*>(node)) return {n->getChild()};
    if (auto* n = dynamic_cast<const MTsubscriptNode*>(node)) return {n->getChild()};
    if (auto* n = dynamic_cast<const MTsuperscriptNode*>(node)) return {n->getChild()};
    if (auto* n = dynamic_cast<const MTsqrtNode*>(node)) return {n->getChild()};
    if (auto* n = dynamic_cast<const MTbraceNode*>(node)) return {n->getChild()};
    if (auto* n = dynamic_cast<const MTdecoratedNode*>(node)) return {n->getChild()};
    return {};
}

QString shape(const MTnode* node);

QString shapes(const QList<MTnode*>& nodes, QChar separator = ' ')
{
    QStringList parts;
    for (const MTnode* node : nodes)
        parts << shape(node);
    return parts.join(separator);
}

// A compact picture of a tree, read through the getters: 'text', ws,
// \symbol, [list], name<params>(child), _(sub), ^(super), kind(a,b),
// sqrtN(child), brace<open close>(child) ("!": closing not drawn),
// matrix(cell,cell;cell), accent(child); typeName() for anything else.
QString shape(const MTnode* node)
{
    if (dynamic_cast<const MTwhitespaceNode*>(node))
        return QStringLiteral("ws");
    if (auto* text = dynamic_cast<const MTtextNode*>(node))
        return "'" + text->getText() + "'";
    if (auto* symbol = dynamic_cast<const MTsymbolNode*>(node))
        return "\\" + symbol->getSymbolName();
    if (dynamic_cast<const MTlistNode*>(node))
        return "[" + shapes(childrenOf(node)) + "]";
    const QString inner = "(" + shapes(childrenOf(node), ',') + ")";
    if (auto* n = dynamic_cast<const MTinstruction1Node*>(node))
        return n->getName() + (n->getParameters().isEmpty() ? "" : "<" + n->getParameters().join(',') + ">") + inner;
    if (dynamic_cast<const MTsubscriptNode*>(node))
        return "_" + inner;
    if (dynamic_cast<const MTsuperscriptNode*>(node))
        return "^" + inner;
    if (auto* n = dynamic_cast<const MTfracNode*>(node))
        return fractionKindName(n->getMode()) + inner;
    if (auto* n = dynamic_cast<const MTsqrtNode*>(node))
        return "sqrt" + QString::number(n->getDegree()) + inner;
    if (auto* n = dynamic_cast<const MTbraceNode*>(node))
        return "brace<" + n->getOpenBracket() + " " + n->getCloseBracket() + (n->getRightBraceSeen() ? ">" : "!>")
            + inner;
    if (auto* n = dynamic_cast<const MTmatrixNode*>(node)) {
        QStringList rows;
        for (const QVector<MTnode*>& row : n->getChildren())
            rows << shapes(row.toList(), ',');
        return "matrix(" + rows.join(';') + ")";
    }
    if (auto* n = dynamic_cast<const MTdecoratedNode*>(node))
        return accentName(n->getDecoration()) + inner;
    return node ? node->typeName() : QStringLiteral("null");
}

void collectText(const MTnode* node, QList<const MTtextNode*>& found)
{
    if (auto* text = dynamic_cast<const MTtextNode*>(node))
        found << text;
    for (const MTnode* child : childrenOf(node))
        collectText(child, found);
}

int treeDepth(const MTnode* node)
{
    int deepest = 0;
    for (const MTnode* child : childrenOf(node))
        deepest = std::max(deepest, treeDepth(child));
    return node ? deepest + 1 : 0;
}

} // namespace

class tst_parser : public QObject
{
    Q_OBJECT

private slots:
    void treeShapes_data();
    void treeShapes();
    void errorMessages_data();
    void errorMessages();
    void deepNestingIsCutOff_data();
    void deepNestingIsCutOff();
    void hostileInputTypesets_data();
    void hostileInputTypesets();
    void signsAndBinaryOperators_data();
    void signsAndBinaryOperators();
};

void tst_parser::treeShapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // Text and math mode.
    QTest::newRow("words are separated by one space") << "a  b" << "'a ' 'b'";
    QTest::newRow("space after a symbol") << "\\alpha b" << "\\alpha ws 'b'";
    QTest::newRow("math drops spaces") << "$a b$" << "equation(['ab'])";
    QTest::newRow("math brackets are single tokens") << "$f(x)$" << "equation(['f' '(' 'x' ')'])";
    QTest::newRow("unmatched close brace ends the formula") << "{ab}c}d" << "['ab'] 'c'";
    QTest::newRow("line break ends the formula") << "a\\\\b" << "'a'";
    QTest::newRow("limits is removed") << "$\\sum\\limits_i$" << "equation([\\sum _('i')])";

    // Indices.
    QTest::newRow("index of one letter from a run") << "a_bc" << "'a' _('b') 'c'";
    QTest::newRow("symbol index") << "x^\\alpha" << "'x' ^(\\alpha)";
    QTest::newRow("instruction index") << "x^\\mathrm{d}" << "'x' ^(mathrm(['d']))";
    QTest::newRow("group indices") << "$x_{ij}^{2}$" << "equation(['x' _(['ij']) ^(['2'])])";
    QTest::newRow("index of an astral character is not split")
        << QString("x^") + QChar(0xD835) + QChar(0xDC9C) + "b"
        << QString("'x' ^('") + QChar(0xD835) + QChar(0xDC9C) + "') 'b'";

    // Commands.
    QTest::newRow("unknown symbol") << "\\foo" << "\\foo";
    QTest::newRow("shorthands") << "\\vx\\bbR\\cF" << "vec('x') mathbb('R') mathcal('F')";
    QTest::newRow("escaped characters") << "\\{\\}\\$\\%" << "\\{ \\} \\$ \\%";
    QTest::newRow("lone backslash before a digit") << "\\1" << "\\ '1'";
    QTest::newRow("roots") << "\\sqrt{x}\\cbrt{x}" << "sqrt2(['x']) sqrt3(['x'])";
    QTest::newRow("fractions") << "\\frac{a}{b}\\dfrac{a}{b}\\tfrac{a}{b}"
                               << "frac(['a'],['b']) dfrac(['a'],['b']) tfrac(['a'],['b'])";
    QTest::newRow("stacked") << "\\stackrel{a}{b}\\underbrace{a}{b}\\overset{a}{b}"
                             << "stackrel(['a'],['b']) underbrace(['a'],['b']) overset(['a'],['b'])";
    QTest::newRow("binom") << "\\binom{n}{k}" << "brace<( )>(stackrel(['n'],['k']))";
    QTest::newRow("missing second argument keeps what follows") << "\\frac{1}2" << "'2'";
    QTest::newRow("verb copies raw text") << "\\verb{a_b\\c$}d" << "'a_b\\c$' 'd'";
    QTest::newRow("unknown instruction") << "\\foo{x}" << "foo(['x'])";
    QTest::newRow("text argument keeps its spaces in math") << "$\\text{a b} c$"
                                                            << "equation([text(['a ' 'b']) 'c'])";
    QTest::newRow("textcolor argument stays math") << "$\\textcolor{red}{a b}$"
                                                   << "equation([textcolor<red>(['ab'])])";
    QTest::newRow("symbol before a group keeps its glyph") << "$\\int{f}$" << "equation([\\int ['f']])";
    QTest::newRow("colour without text argument") << "\\color{}{x}a" << "['x'] 'a'";
    QTest::newRow("accents") << "\\hat{u}\\ddot{u}\\ol{u}\\uul{u}"
                             << "hat(['u']) ddot(['u']) overline(['u']) double underline(['u'])";

    // Brackets.
    QTest::newRow("round") << "$\\left(x\\right)$" << "equation([brace<( )>(['x'])])";
    QTest::newRow("angle commands") << "$\\left\\langle x\\right\\rangle$" << "equation([brace<< >>(['x'])])";
    QTest::newRow("angle characters") << "\\left<x\\right>" << "brace<< >>(['x'])";
    QTest::newRow("floor and norm") << "$\\left\\lfloor x\\right\\rfloor\\left\\| x\\right\\|$"
                                    << "equation([brace<_ _>(['x']) brace<# #>(['x'])])";
    QTest::newRow("invisible closing") << "\\left(x\\right." << "brace<( )!>(['x'])";
    QTest::newRow("invisible opening takes the closing") << "$\\left. x \\right)$" << "equation([brace<. )>(['x'])])";
    QTest::newRow("unclosed outer pair after a closed inner one") << "$\\left(\\left[x\\right]$"
        << "equation([brace<( )!>([brace<[ ]>(['x'])])])";
    QTest::newRow("text after the closing bracket is kept") << "\\left(x\\right)ab" << "brace<( )>(['x']) 'ab'";
    QTest::newRow("non-matching right is read as text") << "$\\left(x\\right]y\\right)$"
        << "equation([brace<( )>(['x' ']' 'y'])])";
    QTest::newRow("right outside a pair is dropped") << "a\\right)b" << "'a' ')b'";

    // Environments.
    QTest::newRow("pmatrix") << "$\\begin{pmatrix} x \\\\ y \\end{pmatrix}$"
                             << "equation([brace<( )>(matrix(['x'];['y']))])";
    QTest::newRow("cells and rows, trailing line break") << "$\\begin{matrix}a&b\\\\c&d\\\\\\end{matrix}$"
                                                         << "equation([matrix(['a'],['b'];['c'],['d'])])";
    QTest::newRow("cases") << "$\\begin{cases}a\\end{cases}$" << "equation([brace<{ >(matrix(['a']))])";
    QTest::newRow("Vmatrix") << "$\\begin{Vmatrix}a\\end{Vmatrix}$" << "equation([brace<|| ||>(matrix(['a']))])";
    QTest::newRow("nested environments") << "$\\begin{matrix}\\begin{matrix}a\\end{matrix}&b\\end{matrix}$"
                                         << "equation([matrix([matrix(['a'])],['b'])])";
    QTest::newRow("unknown environment is read bare") << "\\begin{foo}a\\end{foo}" << "matrix(['a'])";
    QTest::newRow("unclosed environment reads to the end") << "\\begin{matrix}a&b" << "matrix(['a'],['b'])";
}

void tst_parser::treeShapes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(engine.parse(text));
    const QList<MTnode*> nodes = childrenOf(engine.getTree());
    // parse() puts a thin space at both ends.
    QVERIFY(nodes.size() >= 2 && shape(nodes.first()) == "\\;" && shape(nodes.last()) == "\\;");
    QCOMPARE(shapes(nodes.mid(1, nodes.size() - 2)), expected);
}

void tst_parser::errorMessages_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    // Positions count in the working text, after the two characters of "\;".
    QTest::newRow("no error") << "\\frac{a}{b}" << QStringList();
    QTest::newRow("missing second argument") << "\\frac{1}2"
        << QStringList{"error @ ch. 10: expected two arguments in '{' braces after 'frac' command"};
    QTest::newRow("colour without group") << "\\textcolor{red}x"
        << QStringList{"error @ ch. 17: expected two arguments in '{' braces after 'textcolor' command"};
    QTest::newRow("unknown environment") << "\\begin{foo}" << QStringList{"error @ ch. 12: unknown environment 'foo'"};
    QTest::newRow("environment without name") << "\\begin{}"
        << QStringList{"error @ ch. 9: text after '\\begin{' expected!"};
    QTest::newRow("end without name") << "\\end{}" << QStringList{"error @ ch. 7: text after '\\begin{' expected!"};
    QTest::newRow("end of another environment") << "\\begin{matrix}a\\end{pmatrix}\\end{matrix}"
        << QStringList{"error @ ch. 29: '\\end{pmatrix}' widthout preceding '\\begin{pmatrix}'"};
    QTest::newRow("name with a percent marker") << "\\end{%2}"
        << QStringList{"error @ ch. 9: '\\end{%2}' widthout preceding '\\begin{%2}'"};
    QTest::newRow("unclosed verb") << "\\verb{abc" << QStringList{"error @ ch. 11: \\verb{...} not closed by '}'"};
    QTest::newRow("too deep") << QString("{").repeated(101)
        << QStringList{"error @ ch. 101: formula nested deeper than 100 levels, the rest is not read"};
}

void tst_parser::errorMessages()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    VelQTmathText engine;
    QVERIFY(engine.parse(text)); // errors never make parsing fail
    QCOMPARE(engine.getErrors(), expected);
    // The same text again keeps the tree and its errors; another one clears them.
    MTnode* tree = engine.getTree();
    QVERIFY(engine.parse(text));
    QCOMPARE(engine.getTree(), tree);
    QCOMPARE(engine.getErrors(), expected);
    QVERIFY(engine.parse("x") && engine.getErrors().isEmpty());
}

void tst_parser::deepNestingIsCutOff_data()
{
    QTest::addColumn<QString>("opening");
    QTest::addColumn<int>("count");

    QTest::newRow("groups") << "{" << 100000;
    QTest::newRow("fractions") << "\\frac{" << 100000;
    QTest::newRow("brackets") << "\\left(" << 100000;
    QTest::newRow("indices") << "x^{" << 100000;
    QTest::newRow("environments") << "\\begin{matrix}" << 100000;
    QTest::newRow("displaystyle") << "\\displaystyle{" << 1000;
}

void tst_parser::deepNestingIsCutOff()
{
    QFETCH(QString, opening);
    QFETCH(int, count);
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(engine.parse("$" + opening.repeated(count) + "x"));
    const QString tooDeep = QString("formula nested deeper than %1 levels").arg(VelQTmathText::maxParseDepth);
    QCOMPARE(engine.getErrors().filter(tooDeep).size(), 1);
    // Each level of lists holds at most a wrapper node and its own list.
    QVERIFY(treeDepth(engine.getTree()) <= 3 * VelQTmathText::maxParseDepth + 3);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    QVERIFY(size.width() > 0 && size.width() < 100000);
}

// Bad input typesets something or nothing, without failing; the fuzzer
// searches further, but runs outside the test suite.
void tst_parser::hostileInputTypesets_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lone backslash") << "\\";
    QTest::newRow("backslash last in math") << "$a\\";
    QTest::newRow("backslashes") << QString("\\").repeated(1001);
    QTest::newRow("stray closers in math") << "$}}}&&&\\right)\\end{x}";
    QTest::newRow("openers") << "${{{\\left(\\begin{matrix}\\frac{";
    QTest::newRow("lone surrogates") << QString("$a") + QChar(0xD800) + "b" + QChar(0xDC00) + "^" + QChar(0xDBFF);
    QTest::newRow("lone surrogate as command") << QString("\\") + QChar(0xD800) + "{x}";
    QTest::newRow("nul and controls") << QString("$a") + QChar(0) + QChar(1) + QChar(0x7F) + QChar(0xFFFF);
    QTest::newRow("displaystyle flat") << "$" + QString("\\displaystyle ").repeated(1000) + "x";
    QTest::newRow("long math") << "$" + QString("x^2+\\frac{a}{b}-").repeated(2000);
    QTest::newRow("many cells") << "$\\begin{matrix}" + QString("&").repeated(5000) + QString("\\\\").repeated(5000);
    QTest::newRow("limits on nothing") << "$\\sum_\\int^\\lim_";
}

void tst_parser::hostileInputTypesets()
{
    QFETCH(QString, text);
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(engine.parse(text));
    QPixmap pixmap(200, 50);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QSizeF size = engine.getSize(painter);
    QVERIFY(size.width() >= 0 && size.height() >= 0);
    engine.draw(painter, Qt::AlignLeft, QRectF(0, 0, 200, 50));
}

void tst_parser::signsAndBinaryOperators_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("shown"); // the math text nodes as drawn, joined by "|"

    const QString minus(QChar(0x2212));
    QTest::newRow("binary minus in a run") << "ad-bc" << "ad " + minus + " bc";
    QTest::newRow("sign first in the formula") << "-x" << minus + "x";
    QTest::newRow("sign after a relation in the run") << "x=-1" << "x = " + minus + "1";
    QTest::newRow("sign after a relation symbol") << "x\\leq-1" << "x|" + minus + "1";
    QTest::newRow("binary after an index") << "a^2+b" << "a|2| + b";
    QTest::newRow("binary after a fraction") << "\\frac{1}{2}-x" << "1|2| " + minus + " x";
    QTest::newRow("brackets") << "(n-k)-1" << "(|n " + minus + " k|)| " + minus + " 1";
    QTest::newRow("sign after an opening bracket") << "(-k)" << "(|" + minus + "k|)";
    QTest::newRow("spaces are looked through") << "a\\,-b" << "a| " + minus + " b";
    QTest::newRow("sign first in a cell") << "\\begin{cases}-x&x<0\\end{cases}" << minus + "x|x < 0";
}

void tst_parser::signsAndBinaryOperators()
{
    QFETCH(QString, formula);
    QFETCH(QString, shown);
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(engine.parse("$" + formula));
    MTstyle math;
    math.insideMath = true;
    QList<const MTtextNode*> texts;
    collectText(engine.getTree(), texts);
    QStringList drawn;
    for (const MTtextNode* text : qAsConst(texts))
        drawn << text->transformText(text->getText(), math);
    QCOMPARE(drawn.join('|'), shown);
}

QTEST_MAIN(tst_parser)
#include "tst_parser.moc"
