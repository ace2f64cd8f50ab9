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
#include "tests/math/MathTestSupport.h"

#include <QtTest>

namespace {

template <typename T>
bool oneChild(const MTnode* node, QList<MTnode*>& children)
{
    auto* n = dynamic_cast<const T*>(node);
    if (n)
        children = {n->getChild()};
    return n;
}

QList<MTnode*> childrenOf(const MTnode* node)
{
    QList<MTnode*> children;
    if (auto* list = dynamic_cast<const MTlistNode*>(node))
        return list->getNodes();
    if (auto* frac = dynamic_cast<const MTfracNode*>(node))
        return {frac->getChild1(), frac->getChild2()};
    if (auto* matrix = dynamic_cast<const MTmatrixNode*>(node)) {
        for (const QVector<MTnode*>& row : matrix->getChildren())
            children += row.toList();
    }
    oneChild<MTinstruction1Node>(node, children) || oneChild<MTsubscriptNode>(node, children)
        || oneChild<MTsuperscriptNode>(node, children) || oneChild<MTsqrtNode>(node, children)
        || oneChild<MTbraceNode>(node, children) || oneChild<MTdecoratedNode>(node, children);
    return children;
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
    QString name = node ? node->typeName() : QStringLiteral("null");
    if (dynamic_cast<const MTwhitespaceNode*>(node))
        return QStringLiteral("ws");
    if (auto* text = dynamic_cast<const MTtextNode*>(node))
        return "'" + text->getText() + "'";
    if (auto* symbol = dynamic_cast<const MTsymbolNode*>(node))
        return "\\" + symbol->getSymbolName();
    if (dynamic_cast<const MTlistNode*>(node))
        return "[" + shapes(childrenOf(node)) + "]";
    if (auto* n = dynamic_cast<const MTmatrixNode*>(node)) {
        QStringList rows;
        for (const QVector<MTnode*>& row : n->getChildren())
            rows << shapes(row.toList(), ',');
        return "matrix(" + rows.join(';') + ")";
    }
    if (auto* n = dynamic_cast<const MTinstruction1Node*>(node))
        name = n->getName() + (n->getParameters().isEmpty() ? "" : "<" + n->getParameters().join(',') + ">");
    else if (dynamic_cast<const MTsubscriptNode*>(node) || dynamic_cast<const MTsuperscriptNode*>(node))
        name = dynamic_cast<const MTsubscriptNode*>(node) ? "_" : "^";
    else if (auto* n = dynamic_cast<const MTfracNode*>(node))
        name = fractionKindName(n->getMode());
    else if (auto* n = dynamic_cast<const MTsqrtNode*>(node))
        name = "sqrt" + QString::number(n->getDegree());
    else if (auto* n = dynamic_cast<const MTbraceNode*>(node))
        name = "brace<" + n->getOpenBracket() + " " + n->getCloseBracket() + (n->getRightBraceSeen() ? ">" : "!>");
    else if (auto* n = dynamic_cast<const MTdecoratedNode*>(node))
        name = accentName(n->getDecoration());
    return childrenOf(node).isEmpty() ? name : name + "(" + shapes(childrenOf(node), ',') + ")";
}

// The depth of a tree; its text nodes are collected on the way.
int treeDepth(const MTnode* node, QList<const MTtextNode*>* texts = nullptr)
{
    if (auto* text = dynamic_cast<const MTtextNode*>(node); text && texts)
        *texts << text;
    int deepest = 0;
    for (const MTnode* child : childrenOf(node))
        deepest = std::max(deepest, treeDepth(child, texts));
    return node ? deepest + 1 : 0;
}

} // namespace

class tst_parser : public QObject
{
    Q_OBJECT

private slots:
    void treeShapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        // Text and math mode.
        QTest::newRow("words are separated by one space") << "a  b" << "'a ' 'b'";
        QTest::newRow("space after a symbol") << "\\alpha b" << "\\alpha ws 'b'";
        QTest::newRow("math drops spaces, brackets are single tokens") << "$a f(x)$" << "equation(['af' '(' 'x' ')'])";
        QTest::newRow("unmatched close brace ends the formula") << "{ab}c}d" << "['ab'] 'c'";
        QTest::newRow("line break ends the formula") << "a\\\\b" << "'a'";
        QTest::newRow("limit controls add no node") << "$\\sum\\limits_i\\int\\nolimits$"
                                                    << "equation([\\sum _('i') \\int])";
        QTest::newRow("a double bar typed is one token") << "$||x|$" << "equation(['||' 'x' '|'])";
        QTest::newRow("style switch without a group") << "$a\\displaystyle b$"
                                                      << "equation(['a' displaystyle(null) 'b'])";

        // Indices.
        QTest::newRow("index of one letter from a run") << "a_bc" << "'a' _('b') 'c'";
        QTest::newRow("instruction and symbol indices") << "x^\\mathrm{d}_\\alpha" << "'x' ^(mathrm(['d'])) _(\\alpha)";
        QTest::newRow("group indices") << "$x_{ij}^{2}$" << "equation(['x' _(['ij']) ^(['2'])])";
        QTest::newRow("index of an astral character is not split")
            << QString("x^") + QChar(0xD835) + QChar(0xDC9C) + "b"
            << QString("'x' ^('") + QChar(0xD835) + QChar(0xDC9C) + "') 'b'";

        // Commands.
        QTest::newRow("shorthands") << "\\vx\\bbR\\cF" << "vec('x') mathbb('R') mathcal('F')";
        QTest::newRow("escaped characters, lone backslash before a digit") << "\\{\\}\\$\\%\\1" << "\\{ \\} \\$ \\% \\ '1'";
        QTest::newRow("roots") << "\\sqrt{x}\\cbrt{x}" << "sqrt2(['x']) sqrt3(['x'])";
        QTest::newRow("fractions") << "\\frac{a}{b}\\dfrac{a}{b}\\tfrac{a}{b}"
                                   << "frac(['a'],['b']) dfrac(['a'],['b']) tfrac(['a'],['b'])";
        QTest::newRow("stacked") << "\\stackrel{a}{b}\\underbrace{a}{b}\\overset{a}{b}"
                                 << "stackrel(['a'],['b']) underbrace(['a'],['b']) overset(['a'],['b'])";
        QTest::newRow("binom") << "\\binom{n}{k}" << "brace<( )>(stackrel(['n'],['k']))";
        QTest::newRow("LaTeX's labels of braces") << "\\overbrace{AB}^{a}\\underbrace{AB}_ab"
                                                  << "overbrace(['AB'],['a']) underbrace(['AB'],'a') 'b'";
        QTest::newRow("missing second argument keeps what follows") << "\\frac{1}2" << "'2'";
        QTest::newRow("verb copies raw text") << "\\verb{a_b\\c$}d" << "'a_b\\c$' 'd'";
        QTest::newRow("unknown symbol and instruction") << "$\\foo\\foo{x}$" << "equation([\\foo foo(['x'])])";
        QTest::newRow("text argument keeps its spaces in math, textcolor's does not")
            << "$\\text{a b} \\textcolor{red}{a b}$" << "equation([text(['a ' 'b']) textcolor<red>(['ab'])])";
        QTest::newRow("symbol before a group keeps its glyph") << "$\\int{f}$" << "equation([\\int ['f']])";
        QTest::newRow("colour without text argument") << "\\color{}{x}a" << "['x'] 'a'";
        QTest::newRow("accents") << "\\hat{u}\\ddot{u}\\ol{u}\\uul{u}"
                                 << "hat(['u']) ddot(['u']) overline(['u']) double underline(['u'])";

        // Brackets.
        QTest::newRow("round, angle, floor and norm")
            << "$\\left(x\\right)\\left\\langle x\\right\\rangle\\left\\lfloor x\\right\\rfloor\\left\\| x\\right\\|$"
            << "equation([brace<( )>(['x']) brace<< >>(['x']) brace<_ _>(['x']) brace<# #>(['x'])])";
        QTest::newRow("invisible closing") << "\\left(x\\right." << "brace<( )!>(['x'])";
        QTest::newRow("invisible opening takes the closing") << "$\\left. x \\right)$" << "equation([brace<. )>(['x'])])";
        QTest::newRow("unclosed outer pair after a closed inner one") << "$\\left(\\left[x\\right]$"
            << "equation([brace<( )!>([brace<[ ]>(['x'])])])";
        QTest::newRow("non-matching right is read as text") << "$\\left(x\\right]y\\right)$"
            << "equation([brace<( )>(['x' ']' 'y'])])";
        QTest::newRow("right outside a pair is dropped") << "a\\right)b" << "'a' ')b'";

        // Environments.
        QTest::newRow("pmatrix, cases, Vmatrix")
            << "$\\begin{pmatrix} x \\\\ y \\end{pmatrix}\\begin{cases}a\\end{cases}\\begin{Vmatrix}a\\end{Vmatrix}$"
            << "equation([brace<( )>(matrix(['x'];['y'])) brace<{ >(matrix(['a'])) brace<|| ||>(matrix(['a']))])";
        QTest::newRow("cells and rows, trailing line break") << "$\\begin{matrix}a&b\\\\c&d\\\\\\end{matrix}$"
                                                             << "equation([matrix(['a'],['b'];['c'],['d'])])";
        QTest::newRow("nested environments") << "$\\begin{matrix}\\begin{matrix}a\\end{matrix}&b\\end{matrix}$"
                                             << "equation([matrix([matrix(['a'])],['b'])])";
        QTest::newRow("unknown environment is read bare") << "\\begin{foo}a\\end{foo}" << "matrix(['a'])";
        QTest::newRow("unclosed environment reads to the end") << "\\begin{matrix}a&b" << "matrix(['a'],['b'])";
    }

    void treeShapes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        XitsEngine engine;
        QVERIFY(engine.parse(text));
        const QList<MTnode*> nodes = childrenOf(engine.getTree());
        // parse() puts a thin space at both ends.
        QVERIFY(nodes.size() >= 2 && shape(nodes.first()) == "\\;" && shape(nodes.last()) == "\\;");
        QCOMPARE(shapes(nodes.mid(1, nodes.size() - 2)), expected);
    }

    void errorMessages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        // Positions count in the working text, after the two characters of "\;".
        QTest::newRow("no error") << "\\frac{a}{b}" << QStringList();
        QTest::newRow("missing second argument") << "\\frac{1}2"
            << QStringList{"error @ ch. 10: expected two arguments in '{' braces after 'frac' command"};
        QTest::newRow("label of a brace on the wrong side") << "\\overbrace{AB}_{a}"
            << QStringList{"error @ ch. 16: expected two arguments in '{' braces after 'overbrace' command"};
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

    void errorMessages()
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

    // Bad input typesets something or nothing, without failing; deep nesting is
    // cut off with one error. The fuzzer searches further, outside the suite.
    void hostileInputTypesets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tooDeep");
        const auto nested = [](const char* opening, int count) { return "$" + QString(opening).repeated(count) + "x"; };
        QTest::newRow("groups") << nested("{", 100000) << true;
        QTest::newRow("fractions") << nested("\\frac{", 100000) << true;
        QTest::newRow("brackets") << nested("\\left(", 100000) << true;
        QTest::newRow("environments") << nested("\\begin{matrix}", 100000) << true;
        QTest::newRow("displaystyle flat") << nested("\\displaystyle ", 1000) << false;
        QTest::newRow("lone backslash") << "\\" << false;
        QTest::newRow("backslash last in math") << "$a\\" << false;
        QTest::newRow("stray closers and openers") << "$}}&\\right)\\end{x}{{\\left(\\begin{matrix}\\frac{" << false;
        QTest::newRow("lone surrogates") << QString("\\") + QChar(0xD800) + "{x}$a" + QChar(0xD800) + "b" + QChar(0xDC00) + "^"
                + QChar(0xDBFF) << false;
    }

    void hostileInputTypesets()
    {
        QFETCH(QString, text);
        QFETCH(bool, tooDeep);
        XitsEngine engine;
        QVERIFY(engine.parse(text));
        const QString message = QString("formula nested deeper than %1 levels").arg(VelQTmathText::maxParseDepth);
        QCOMPARE(engine.getErrors().filter(message).size(), tooDeep ? 1 : 0);
        // Each level of lists holds at most a wrapper node and its own list.
        QVERIFY(treeDepth(engine.getTree()) <= 3 * VelQTmathText::maxParseDepth + 3);
        QImage image = blankImage(200, 50, Qt::transparent);
        QPainter painter(&image);
        const QSizeF size = engine.getSize(painter);
        QVERIFY(size.width() >= (tooDeep ? 1 : 0) && size.width() < 100000 && size.height() >= 0);
        engine.draw(painter, Qt::AlignLeft, QRectF(image.rect()));
    }

    void limitControls_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("limits"); // MTlimits of the first symbol

        QTest::newRow("sum: stacked outside scripts") << "\\sum_i" << int(LimitsOutsideScripts);
        QTest::newRow("integral: beside") << "\\int_0^1" << int(LimitsNever);
        QTest::newRow("limits") << "\\int\\limits_0^1" << int(LimitsAlways);
        QTest::newRow("nolimits") << "\\sum\\nolimits_i" << int(LimitsNever);
        QTest::newRow("displaylimits") << "\\int\\limits\\displaylimits_0" << int(LimitsOutsideScripts);
        QTest::newRow("not after an operator: nothing") << "x\\limits\\sum_i" << int(LimitsOutsideScripts);
    }

    void limitControls()
    {
        QFETCH(QString, formula);
        QFETCH(int, limits);
        XitsEngine engine;
        QVERIFY(engine.parse("$" + formula));
        const auto* equation = dynamic_cast<const MTinstruction1Node*>(childrenOf(engine.getTree()).at(1));
        const QList<MTnode*> nodes = childrenOf(equation->getChild());
        const auto symbol = std::find_if(nodes.cbegin(), nodes.cend(),
                                         [](const MTnode* n) { return dynamic_cast<const MTsymbolNode*>(n); });
        QVERIFY(symbol != nodes.cend());
        QCOMPARE(int(static_cast<const MTsymbolNode*>(*symbol)->getLimits()), limits);
        QVERIFY(engine.getErrors().isEmpty());
    }
};

QTEST_MAIN(tst_parser)
#include "tst_parser.moc"
