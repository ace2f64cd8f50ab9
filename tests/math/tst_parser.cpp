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

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

QString shape(const MTnode* node);

QString shapeOfList(const QList<MTnode*>& nodes)
{
    QStringList parts;
    for (const MTnode* node : nodes)
        parts << shape(node);
    return parts.join(' ');
}

// A compact picture of a tree, read through typeName() and the getters:
// 'text', ws, \symbol, [list], name<params>(child), _(sub), ^(super),
// kind(child1,child2), sqrtN(child), brace<open close>(child) ("!" when
// the closing bracket is not drawn), matrix(cell,cell;cell), accent(child).
QString shape(const MTnode* node)
{
    if (!node)
        return QStringLiteral("null");
    if (dynamic_cast<const MTwhitespaceNode*>(node))
        return QStringLiteral("ws");
    if (auto* text = dynamic_cast<const MTtextNode*>(node))
        return "'" + text->getText() + "'";
    if (auto* symbol = dynamic_cast<const MTsymbolNode*>(node))
        return "\\" + symbol->getSymbolName();
    if (auto* list = dynamic_cast<const MTlistNode*>(node))
        return "[" + shapeOfList(list->getNodes()) + "]";
    if (auto* instruction = dynamic_cast<const MTinstruction1Node*>(node)) {
        const QString params = instruction->getParameters().isEmpty()
            ? QString() : "<" + instruction->getParameters().join(',') + ">";
        return instruction->getName() + params + "(" + shape(instruction->getChild()) + ")";
    }
    if (auto* sub = dynamic_cast<const MTsubscriptNode*>(node))
        return "_(" + shape(sub->getChild()) + ")";
    if (auto* super = dynamic_cast<const MTsuperscriptNode*>(node))
        return "^(" + shape(super->getChild()) + ")";
    if (auto* frac = dynamic_cast<const MTfracNode*>(node))
        return fractionKindName(frac->getMode()) + "(" + shape(frac->getChild1()) + ","
            + shape(frac->getChild2()) + ")";
    if (auto* root = dynamic_cast<const MTsqrtNode*>(node))
        return "sqrt" + QString::number(root->getDegree()) + "(" + shape(root->getChild()) + ")";
    if (auto* brace = dynamic_cast<const MTbraceNode*>(node))
        return "brace<" + brace->getOpenBracket() + " " + brace->getCloseBracket()
            + (brace->getRightBraceSeen() ? "" : "!") + ">(" + shape(brace->getChild()) + ")";
    if (auto* matrix = dynamic_cast<const MTmatrixNode*>(node)) {
        QStringList rows;
        for (const QVector<MTnode*>& row : matrix->getChildren()) {
            QStringList cells;
            for (const MTnode* cell : row)
                cells << shape(cell);
            rows << cells.join(',');
        }
        return "matrix(" + rows.join(';') + ")";
    }
    if (auto* decorated = dynamic_cast<const MTdecoratedNode*>(node))
        return accentName(decorated->getDecoration()) + "(" + shape(decorated->getChild()) + ")";
    return node->typeName();
}

// The shape of a parsed formula without the thin spaces that parse() puts
// at both ends.
QString parsedShape(VelQTmathText& engine, const QString& text)
{
    if (!engine.parse(text))
        return QStringLiteral("no tree");
    auto* top = dynamic_cast<MTlistNode*>(engine.getTree());
    if (!top)
        return QStringLiteral("no list");
    QList<MTnode*> nodes = top->getNodes();
    const QString thinSpace = QStringLiteral("\\;");
    if (nodes.size() < 2 || shape(nodes.first()) != thinSpace || shape(nodes.last()) != thinSpace)
        return "no thin space at both ends: " + shapeOfList(nodes);
    return shapeOfList(nodes.mid(1, nodes.size() - 2));
}

// The text nodes of a tree in reading order.
void collectText(const MTnode* node, QList<const MTtextNode*>& found)
{
    if (auto* text = dynamic_cast<const MTtextNode*>(node)) {
        found << text;
    } else if (auto* list = dynamic_cast<const MTlistNode*>(node)) {
        for (const MTnode* child : list->getNodes())
            collectText(child, found);
    } else if (auto* instruction = dynamic_cast<const MTinstruction1Node*>(node)) {
        collectText(instruction->getChild(), found);
    } else if (auto* sub = dynamic_cast<const MTsubscriptNode*>(node)) {
        collectText(sub->getChild(), found);
    } else if (auto* super = dynamic_cast<const MTsuperscriptNode*>(node)) {
        collectText(super->getChild(), found);
    } else if (auto* frac = dynamic_cast<const MTfracNode*>(node)) {
        collectText(frac->getChild1(), found);
        collectText(frac->getChild2(), found);
    } else if (auto* brace = dynamic_cast<const MTbraceNode*>(node)) {
        collectText(brace->getChild(), found);
    } else if (auto* matrix = dynamic_cast<const MTmatrixNode*>(node)) {
        for (const QVector<MTnode*>& row : matrix->getChildren()) {
            for (const MTnode* cell : row)
                collectText(cell, found);
        }
    }
}

int treeDepth(const MTnode* node)
{
    if (auto* list = dynamic_cast<const MTlistNode*>(node)) {
        int deepest = 0;
        for (const MTnode* child : list->getNodes())
            deepest = std::max(deepest, treeDepth(child));
        return deepest + 1;
    }
    if (auto* instruction = dynamic_cast<const MTinstruction1Node*>(node))
        return treeDepth(instruction->getChild()) + 1;
    if (auto* frac = dynamic_cast<const MTfracNode*>(node))
        return std::max(treeDepth(frac->getChild1()), treeDepth(frac->getChild2())) + 1;
    if (auto* brace = dynamic_cast<const MTbraceNode*>(node))
        return treeDepth(brace->getChild()) + 1;
    if (auto* super = dynamic_cast<const MTsuperscriptNode*>(node))
        return treeDepth(super->getChild()) + 1;
    return node ? 1 : 0;
}

// Typesets text as the editor does and reports the picture's size.
QSize typeset(const QString& text)
{
    VelQTmathText engine;
    engine.setFontSize(20);
    engine.selectXitsFonts();
    engine.parse(text);
    QPainter measuring;
    const QSizeF size = engine.getSize(measuring);
    QImage image(qBound(1, int(size.width()), 4000), qBound(1, int(size.height()), 4000),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, image.width(), image.height()));
    return size.toSize();
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
    void sameTextKeepsTreeAndErrors();
    void textNodesNormaliseWhitespace_data();
    void textNodesNormaliseWhitespace();
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
    QTest::newRow("dollar switches back to text") << "a$b$c" << "'a' equation(['b']) 'c'";
    QTest::newRow("unmatched dollar stays in math") << "$a+b" << "equation(['a+b'])";
    QTest::newRow("math brackets are single tokens") << "$f(x)$" << "equation(['f' '(' 'x' ')'])";
    QTest::newRow("group") << "{ab}c" << "['ab'] 'c'";
    QTest::newRow("unmatched close brace ends the formula") << "a}b" << "'a'";
    QTest::newRow("line break ends the formula") << "a\\\\b" << "'a'";
    QTest::newRow("limits is removed") << "$\\sum\\limits_i$" << "equation([\\sum _('i')])";

    // Indices.
    QTest::newRow("index of one letter from a run") << "a_bc" << "'a' _('b') 'c'";
    QTest::newRow("symbol index") << "x^\\alpha" << "'x' ^(\\alpha)";
    QTest::newRow("instruction index") << "x^\\mathrm{d}" << "'x' ^(mathrm(['d']))";
    QTest::newRow("group index") << "$x_{ij}^{2}$" << "equation(['x' _(['ij']) ^(['2'])])";
    QTest::newRow("index without body") << "x^" << "'x'";
    QTest::newRow("double caret") << "x^^2" << "'x' ^('2')";
    QTest::newRow("index of an astral character is not split")
        << QString("x^") + QChar(0xD835) + QChar(0xDC9C) + "b"
        << QString("'x' ^('") + QChar(0xD835) + QChar(0xDC9C) + "') 'b'";

    // Commands without argument.
    QTest::newRow("unknown symbol") << "\\foo" << "\\foo";
    QTest::newRow("vector shorthand") << "\\vx" << "vec('x')";
    QTest::newRow("blackboard shorthand") << "\\bbR" << "mathbb('R')";
    QTest::newRow("caligraphic shorthand") << "\\cF" << "mathcal('F')";
    QTest::newRow("escaped characters") << "\\{\\}\\$\\%" << "\\{ \\} \\$ \\%";
    QTest::newRow("escaped brace before a group") << "\\{{a}\\}" << "\\{ ['a'] \\}";
    QTest::newRow("lone backslash before a digit") << "\\1" << "\\ '1'";
    QTest::newRow("double bar") << "\\|" << "\\|";
    QTest::newRow("sqrt without argument") << "\\sqrt x" << "\\sqrt ws 'x'";

    // Commands with arguments.
    QTest::newRow("sqrt") << "$\\sqrt{x}$" << "equation([sqrt2(['x'])])";
    QTest::newRow("cbrt") << "\\cbrt{x}" << "sqrt3(['x'])";
    QTest::newRow("frac") << "\\frac{a}{b}" << "frac(['a'],['b'])";
    QTest::newRow("dfrac") << "\\dfrac{a}{b}" << "dfrac(['a'],['b'])";
    QTest::newRow("tfrac") << "\\tfrac{a}{b}" << "tfrac(['a'],['b'])";
    QTest::newRow("stackrel") << "\\stackrel{a}{b}" << "stackrel(['a'],['b'])";
    QTest::newRow("underbrace") << "\\underbrace{a}{b}" << "underbrace(['a'],['b'])";
    QTest::newRow("overbrace") << "\\overbrace{a}{b}" << "overbrace(['a'],['b'])";
    QTest::newRow("underset") << "\\underset{a}{b}" << "underset(['a'],['b'])";
    QTest::newRow("overset") << "\\overset{a}{b}" << "overset(['a'],['b'])";
    QTest::newRow("binom") << "\\binom{n}{k}" << "brace<( )>(stackrel(['n'],['k']))";
    QTest::newRow("missing second argument keeps what follows") << "\\frac{1}2" << "'2'";
    QTest::newRow("verb copies raw text") << "\\verb{a_b\\c$}d" << "'a_b\\c$' 'd'";
    QTest::newRow("unclosed verb stops at the end of the text") << "\\verb{ab" << "'ab'";
    QTest::newRow("unknown instruction") << "\\foo{x}" << "foo(['x'])";
    QTest::newRow("instruction") << "\\mathbf{x}" << "mathbf(['x'])";
    QTest::newRow("text argument keeps its spaces in math") << "$\\text{a b} c$" << "equation([text(['a ' 'b']) 'c'])";
    QTest::newRow("mbox argument keeps its spaces in math") << "$\\mbox{a b}$" << "equation([mbox(['a ' 'b'])])";
    QTest::newRow("textbf argument keeps its spaces in math") << "$\\textbf{a b}$" << "equation([textbf(['a ' 'b'])])";
    QTest::newRow("math after a text argument") << "$\\text{a}b c$" << "equation([text(['a']) 'bc'])";
    QTest::newRow("textcolor argument stays math") << "$\\textcolor{red}{a b}$" << "equation([textcolor<red>(['ab'])])";
    QTest::newRow("symbol before a group keeps its glyph") << "$\\int{f}$" << "equation([\\int ['f']])";
    QTest::newRow("textcolor") << "\\textcolor{red}{x}" << "textcolor<red>(['x'])";
    QTest::newRow("colorbox") << "\\colorbox{blue}{x}" << "colorbox<blue>(['x'])";
    QTest::newRow("colour without text argument") << "\\color{}{x}a" << "['x'] 'a'";

    // Decorations.
    QTest::newRow("vec") << "\\vec{u}" << "vec(['u'])";
    QTest::newRow("hat") << "\\hat{u}" << "hat(['u'])";
    QTest::newRow("bar") << "\\bar{u}" << "bar(['u'])";
    QTest::newRow("dot") << "\\dot{u}" << "dot(['u'])";
    QTest::newRow("ddot") << "\\ddot{u}" << "ddot(['u'])";
    QTest::newRow("tilde") << "\\tilde{u}" << "tilde(['u'])";
    QTest::newRow("arrow") << "\\arrow{u}" << "arrow(['u'])";
    QTest::newRow("overline") << "\\overline{u}\\oline{u}\\ol{u}"
                              << "overline(['u']) overline(['u']) overline(['u'])";
    QTest::newRow("underline") << "\\underline{u}\\uline{u}\\ul{u}"
                               << "underline(['u']) underline(['u']) underline(['u'])";
    QTest::newRow("double lines") << "\\uuline{u}\\uul{u}\\ooline{u}\\ool{u}"
                                  << "double underline(['u']) double underline(['u']) "
                                     "double overline(['u']) double overline(['u'])";

    // Brackets.
    QTest::newRow("round") << "$\\left(x\\right)$" << "equation([brace<( )>(['x'])])";
    QTest::newRow("square") << "$\\left[x\\right]$" << "equation([brace<[ ]>(['x'])])";
    QTest::newRow("bars") << "$\\left|x\\right|$" << "equation([brace<| |>(['x'])])";
    QTest::newRow("angle commands") << "$\\left\\langle x\\right\\rangle$" << "equation([brace<< >>(['x'])])";
    QTest::newRow("angle characters") << "\\left<x\\right>" << "brace<< >>(['x'])";
    QTest::newRow("floor") << "$\\left\\lfloor x\\right\\rfloor$" << "equation([brace<_ _>(['x'])])";
    QTest::newRow("ceiling") << "$\\left\\lceil x\\right\\rceil$" << "equation([brace<~ ~>(['x'])])";
    QTest::newRow("curly") << "$\\left\\{ x\\right\\}$" << "equation([brace<{ }>(['x'])])";
    QTest::newRow("norm") << "$\\left\\| x\\right\\|$" << "equation([brace<# #>(['x'])])";
    QTest::newRow("invisible closing") << "\\left(x\\right." << "brace<( )!>(['x'])";
    QTest::newRow("invisible opening takes the closing") << "$\\left. x \\right)$"
                                                          << "equation([brace<. )>(['x'])])";
    QTest::newRow("invisible opening, command closing") << "\\left. x\\right\\rangle" << "brace<. >>([ws 'x'])";
    QTest::newRow("unclosed left draws no closing") << "\\left(x" << "brace<( )!>(['x'])";
    QTest::newRow("unclosed outer pair after a closed inner one") << "$\\left(\\left[x\\right]$"
        << "equation([brace<( )!>([brace<[ ]>(['x'])])])";
    QTest::newRow("text after the closing bracket is kept") << "\\left(x\\right)ab" << "brace<( )>(['x']) 'ab'";
    QTest::newRow("non-matching right is read as text") << "$\\left(x\\right]y\\right)$"
        << "equation([brace<( )>(['x' ']' 'y'])])";
    QTest::newRow("right outside a pair is dropped") << "a\\right)b" << "'a' ')b'";
    QTest::newRow("left before a non-bracket is dropped with it") << "\\left a" << "'a'";

    // Environments.
    QTest::newRow("pmatrix") << "$\\begin{pmatrix} x \\\\ y \\end{pmatrix}$"
                             << "equation([brace<( )>(matrix(['x'];['y']))])";
    QTest::newRow("cells and rows") << "$\\begin{matrix}a&b\\\\c&d\\end{matrix}$"
                                    << "equation([matrix(['a'],['b'];['c'],['d'])])";
    QTest::newRow("trailing line break opens no row") << "$\\begin{matrix}a\\\\b\\\\\\end{matrix}$"
                                                      << "equation([matrix(['a'];['b'])])";
    QTest::newRow("array is bare") << "$\\begin{array}a\\end{array}$" << "equation([matrix(['a'])])";
    QTest::newRow("aligned is bare") << "$\\begin{aligned}a\\end{aligned}$" << "equation([matrix(['a'])])";
    QTest::newRow("align is bare") << "$\\begin{align}a\\end{align}$" << "equation([matrix(['a'])])";
    QTest::newRow("cases") << "$\\begin{cases}a\\end{cases}$" << "equation([brace<{ >(matrix(['a']))])";
    QTest::newRow("bmatrix") << "$\\begin{bmatrix}a\\end{bmatrix}$" << "equation([brace<[ ]>(matrix(['a']))])";
    QTest::newRow("Bmatrix") << "$\\begin{Bmatrix}a\\end{Bmatrix}$" << "equation([brace<{ }>(matrix(['a']))])";
    QTest::newRow("vmatrix") << "$\\begin{vmatrix}a\\end{vmatrix}$" << "equation([brace<| |>(matrix(['a']))])";
    QTest::newRow("Vmatrix") << "$\\begin{Vmatrix}a\\end{Vmatrix}$"
                             << "equation([brace<|| ||>(matrix(['a']))])";
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
    QCOMPARE(parsedShape(engine, text), expected);
}

void tst_parser::errorMessages_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    // Positions count in the working text, after the two characters of "\;".
    QTest::newRow("no error") << "\\frac{a}{b}" << QStringList();
    QTest::newRow("missing second argument") << "\\frac{1}2"
        << QStringList{"error @ ch. 10: expected two arguments in '{' braces after 'frac' command"};
    QTest::newRow("binom without second argument") << "\\binom{1}"
        << QStringList{"error @ ch. 12: expected two arguments in '{' braces after 'binom' command"};
    QTest::newRow("colour without group") << "\\textcolor{red}x"
        << QStringList{"error @ ch. 17: expected two arguments in '{' braces after 'textcolor' command"};
    QTest::newRow("colour name not text") << "\\color{}{x}"
        << QStringList{"error @ ch. 9: expected two arguments in '{' braces after 'color' command"};
    QTest::newRow("unknown environment") << "\\begin{foo}"
        << QStringList{"error @ ch. 12: unknown environment 'foo'"};
    QTest::newRow("environment without name") << "\\begin{}"
        << QStringList{"error @ ch. 9: text after '\\begin{' expected!"};
    QTest::newRow("end without name") << "\\end{}"
        << QStringList{"error @ ch. 7: text after '\\begin{' expected!"};
    QTest::newRow("end without begin") << "\\end{foo}"
        << QStringList{"error @ ch. 10: '\\end{foo}' widthout preceding '\\begin{foo}'"};
    QTest::newRow("end of another environment") << "\\begin{matrix}a\\end{pmatrix}\\end{matrix}"
        << QStringList{"error @ ch. 29: '\\end{pmatrix}' widthout preceding '\\begin{pmatrix}'"};
    QTest::newRow("name with a percent marker") << "\\end{%2}"
        << QStringList{"error @ ch. 9: '\\end{%2}' widthout preceding '\\begin{%2}'"};
    QTest::newRow("unclosed verb") << "\\verb{abc"
        << QStringList{"error @ ch. 11: \\verb{...} not closed by '}'"};
}

void tst_parser::errorMessages()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    VelQTmathText engine;
    QVERIFY(engine.parse(text)); // errors never make parsing fail
    QCOMPARE(engine.getErrors(), expected);
}

void tst_parser::sameTextKeepsTreeAndErrors()
{
    VelQTmathText engine;
    QVERIFY(engine.parse("\\frac{1}2"));
    MTnode* tree = engine.getTree();
    QVERIFY(engine.parse("\\frac{1}2"));
    QCOMPARE(engine.getTree(), tree);
    QCOMPARE(engine.getErrors().size(), 1); // not cleared by the second call
    QVERIFY(engine.parse("\\frac{1}{2}"));
    QVERIFY(engine.getErrors().isEmpty());
}

void tst_parser::textNodesNormaliseWhitespace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("addWhitespace");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<QString>("expected");

    QTest::newRow("strip removes all white space") << " a \t b " << false << true << "ab";
    QTest::newRow("leading white space is dropped") << "  a" << false << false << "a";
    QTest::newRow("a single space stays") << " " << false << false << " ";
    QTest::newRow("one space appended") << "a" << true << false << "a ";
    QTest::newRow("no second space") << "a " << true << false << "a ";
}

void tst_parser::textNodesNormaliseWhitespace()
{
    QFETCH(QString, text);
    QFETCH(bool, addWhitespace);
    QFETCH(bool, strip);
    QFETCH(QString, expected);
    VelQTmathText engine;
    QCOMPARE(MTtextNode(&engine, text, addWhitespace, strip).getText(), expected);
}

void tst_parser::deepNestingIsCutOff_data()
{
    QTest::addColumn<QString>("opening");

    QTest::newRow("groups") << "{";
    QTest::newRow("fractions") << "\\frac{";
    QTest::newRow("brackets") << "\\left(";
    QTest::newRow("indices") << "x^{";
    QTest::newRow("roots") << "\\sqrt{";
    QTest::newRow("environments") << "\\begin{matrix}";
    QTest::newRow("math switches") << "${";
}

void tst_parser::deepNestingIsCutOff()
{
    QFETCH(QString, opening);
    const QString text = "$" + opening.repeated(100000) + "x";
    VelQTmathText engine;
    engine.selectXitsFonts();
    QVERIFY(engine.parse(text));
    QVERIFY(!engine.getErrors().isEmpty());
    const QString tooDeep = QString("formula nested deeper than %1 levels").arg(VelQTmathText::maxParseDepth);
    QVERIFY(engine.getErrors().filter(tooDeep).size() == 1);
    // Each level of lists holds at most a wrapper node and its own list.
    QVERIFY(treeDepth(engine.getTree()) <= 3 * VelQTmathText::maxParseDepth + 3);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    QVERIFY(size.width() > 0);
}

void tst_parser::hostileInputTypesets_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("lone backslash") << "\\";
    QTest::newRow("backslash first") << "\\a";
    QTest::newRow("backslash last in math") << "$a\\";
    QTest::newRow("backslash before a space at the end") << "a\\ ";
    QTest::newRow("backslashes") << QString("\\").repeated(1001);
    QTest::newRow("stray closers") << "}}}&&&\\right)\\end{x}";
    QTest::newRow("stray closers in math") << "$}}}&&&\\right)\\end{x}";
    QTest::newRow("openers") << "${{{\\left(\\begin{matrix}\\frac{";
    QTest::newRow("lone surrogates") << QString("$a") + QChar(0xD800) + "b" + QChar(0xDC00) + "^" + QChar(0xDBFF);
    QTest::newRow("lone surrogate as command") << QString("\\") + QChar(0xD800) + "{x}";
    QTest::newRow("nul and controls") << QString("$a") + QChar(0) + QChar(1) + QChar(0x7F) + QChar(0xFFFF);
    QTest::newRow("displaystyle a thousand times") << "$" + QString("\\displaystyle{").repeated(1000) + "x";
    QTest::newRow("displaystyle flat") << "$" + QString("\\displaystyle ").repeated(1000) + "x";
    QTest::newRow("scriptscriptstyle a thousand times") << "$" + QString("\\scriptscriptstyle{").repeated(1000) + "x";
    QTest::newRow("long text") << QString("abc def ").repeated(5000);
    QTest::newRow("long math") << "$" + QString("x^2+\\frac{a}{b}-").repeated(2000);
    QTest::newRow("many cells") << "$\\begin{matrix}" + QString("&").repeated(5000) + QString("\\\\").repeated(5000);
    QTest::newRow("many indices") << "$x" + QString("_a^b").repeated(5000);
    QTest::newRow("limits on nothing") << "$\\sum_\\int^\\lim_";
}

void tst_parser::hostileInputTypesets()
{
    QFETCH(QString, text);
    const QSize size = typeset(text);
    QVERIFY(size.width() >= 0);
    QVERIFY(size.height() >= 0);
}

void tst_parser::signsAndBinaryOperators_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("shown"); // the math text nodes as drawn, joined by "|"

    const QString minus(QChar(0x2212));
    QTest::newRow("binary minus in a run") << "ad-bc" << "ad " + minus + " bc";
    QTest::newRow("sign first in the formula") << "-x" << minus + "x";
    QTest::newRow("sign first in an index") << "e^{-x}" << "e|" + minus + "x";
    QTest::newRow("sign after a relation in the run") << "x=-1" << "x = " + minus + "1";
    QTest::newRow("sign after a relation symbol") << "x\\leq-1" << "x|" + minus + "1";
    QTest::newRow("sign after an arrow") << "x\\to+\\infty" << "x|+";
    QTest::newRow("binary after an index") << "a^2+b" << "a|2| + b";
    QTest::newRow("binary after the rest of an index") << "x^2-1" << "x|2| " + minus + " 1";
    QTest::newRow("binary after a Greek letter") << "\\alpha-1" << " " + minus + " 1";
    QTest::newRow("binary after a fraction") << "\\frac{1}{2}-x" << "1|2| " + minus + " x";
    QTest::newRow("binary after a closing bracket") << "(n-k)-1" << "(|n " + minus + " k|)| " + minus + " 1";
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
