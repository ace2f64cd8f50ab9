// The formula reader: a tokenizer and a recursive-descent list reader that
// share the engine's parser state. It never fails: what it cannot read it
// skips or reports in `errors`, and it always builds a tree.

#include "math/VelQTmathText.h"

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

#include <QHash>

namespace {

// The messages, in the words that users and tests see.
const char* const errorVerbNotClosed =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: \\verb{...} not closed by '}'");
const char* const errorTwoArguments =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: expected two arguments in '{' braces after '%2' command");
const char* const errorEndWithoutBegin =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: '\\end{%2}' widthout preceding '\\begin{%3}'");
const char* const errorNameExpected =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: text after '\\begin{' expected!");
const char* const errorUnknownEnvironment =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: unknown environment '%2'");
const char* const errorTooDeep =
    QT_TRANSLATE_NOOP("VelQTmathText", "error @ ch. %1: formula nested deeper than %2 levels, the rest is not read");

bool isWhitespace(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 9 && u <= 13) || u == 32 || u == 133 || u == 160 || c.isSpace();
}

bool isLetter(QChar c)
{
    const ushort u = c.unicode();
    if (u < 128)
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    return c.isLetter();
}

// Characters that a backslash escapes on their own.
bool isEscapedCharacter(QChar c)
{
    return QStringLiteral(" !#$%&,:;_\\{}").contains(c);
}

bool endsTextRun(QChar c)
{
    return isWhitespace(c) || QStringLiteral("$&^_\\{}").contains(c);
}

bool endsMathTextRun(QChar c)
{
    return QStringLiteral("()[\\]^_$&{|}").contains(c);
}

bool isMathBracket(QChar c)
{
    return QStringLiteral("()[]|").contains(c);
}

// The first character of text, a surrogate pair counting as one.
int firstCharacterLength(const QString& text)
{
    return text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate() ? 2 : 1;
}

// Whether the last node of list is a text that ends in white space.
bool endsInSpace(const MTlistNode* list)
{
    const QList<MTnode*> nodes = list->getNodes();
    const auto* text = nodes.isEmpty() ? nullptr : dynamic_cast<const MTtextNode*>(nodes.constLast());
    return text && !text->getText().isEmpty() && isWhitespace(text->getText().back());
}

// Commands whose argument is text even inside math, as in LaTeX: its
// spaces are kept ("\text{pour tout} x").
bool takesTextArgument(const QString& name)
{
    return name == QLatin1String("mbox")
        || (name.startsWith(QLatin1String("text")) && name != QLatin1String("textcolor"));
}

const QHash<QString, MTfractionKind>& twoArgumentCommands()
{
    static const QHash<QString, MTfractionKind> kinds = {
        {"frac", FractionFrac},
        {"dfrac", FractionDfrac},
        {"tfrac", FractionTfrac},
        {"stackrel", FractionStackrel},
        {"underbrace", FractionUnderbrace},
        {"underset", FractionUnderset},
        {"overbrace", FractionOverbrace},
        {"overset", FractionOverset},
        {"binom", FractionStackrel},
    };
    return kinds;
}

const QHash<QString, MTaccent>& decorations()
{
    static const QHash<QString, MTaccent> accents = {
        {"vec", AccentVec},
        {"overline", AccentOverline}, {"oline", AccentOverline}, {"ol", AccentOverline},
        {"underline", AccentUnderline}, {"uline", AccentUnderline}, {"ul", AccentUnderline},
        {"uuline", AccentDoubleUnderline}, {"uul", AccentDoubleUnderline},
        {"ooline", AccentDoubleOverline}, {"ool", AccentDoubleOverline},
        {"arrow", AccentArrow},
        {"hat", AccentHat},
        {"bar", AccentBar},
        {"dot", AccentDot},
        {"tilde", AccentTilde},
        {"ddot", AccentDdot},
    };
    return accents;
}

const QHash<QString, MTlimits>& limitControls()
{
    static const QHash<QString, MTlimits> controls = {
        {"limits", LimitsAlways}, {"nolimits", LimitsNever}, {"displaylimits", LimitsOutsideScripts},
    };
    return controls;
}

bool isStyleSwitch(const QString& name)
{
    return name == "displaystyle" || name == "textstyle" || name == "scriptstyle" || name == "scriptscriptstyle";
}

bool isColorCommand(const QString& name)
{
    return name == "textcolor" || name == "mathcolor" || name == "color" || name == "colorbox";
}

// Brackets that wrap an environment's matrix: opening and closing codes.
struct EnvironmentBrackets
{
    const char* open;
    const char* close;
};

const QHash<QString, EnvironmentBrackets>& environments()
{
    static const QHash<QString, EnvironmentBrackets> names = {
        {"matrix", {nullptr, nullptr}}, {"array", {nullptr, nullptr}},
        {"aligned", {nullptr, nullptr}}, {"align", {nullptr, nullptr}},
        {"pmatrix", {"(", ")"}}, {"cases", {"{", ""}}, {"bmatrix", {"[", "]"}},
        {"Bmatrix", {"{", "}"}}, {"vmatrix", {"|", "|"}}, {"Vmatrix", {"||", "||"}},
    };
    return names;
}

// The closing bracket code a "\right" command stands for, as in "\right\rangle".
QString closingCodeOfCommand(const QString& name)
{
    static const QHash<QString, QString> codes = {
        {"rceil", "~"}, {"}", "}"}, {"rfloor", "_"}, {"|", "#"}, {"rangle", ">"},
    };
    return codes.value(name, QStringLiteral("."));
}

// True for a "\right" command that may close a list waiting for quitCode.
bool closesWithCommand(const QString& quitCode, const QString& name)
{
    if (quitCode == "any" || name.startsWith(QLatin1Char('.')))
        return true;
    return closingCodeOfCommand(name) == quitCode;
}

} // namespace

bool VelQTmathText::parse(QString text)
{
    const QString working = QStringLiteral("\\;") + text + QStringLiteral("\\;");
    if (tree && sourceText == working)
        return true;

    delete tree;
    tree = nullptr;
    delete rawTree;
    rawTree = nullptr;
    sourceText = working;
    tokenPos = -1;
    tokenKind = TokenEnd;
    tokenText.clear();
    inMathMode = false;
    rightBraceSeen = false;
    rightBracket.clear();
    parseDepth = 0;
    errors.clear();

    MTnode* list = readList(true);
    // The thin space at the right end that the text's own "\;" does not
    // give: without it the last glyph of "\sin()" or "\left[b\right]"
    // touches the picture's border and loses its edge when the picture's
    // size is rounded down. Added here, it cannot become part of whatever
    // construct the text leaves open at its end.
    if (auto* top = dynamic_cast<MTlistNode*>(list))
        top->addNode(new MTsymbolNode(this, QStringLiteral(";")));
    tree = list;
    rawTree = new MTplainTextNode(this, text, false, false);
    return tree != nullptr;
}

void VelQTmathText::addError(const char* message, const QString& arg1, const QString& arg2)
{
    QString text = tr(message);
    // One pass, so that a name holding "%2" is not replaced in its turn.
    if (arg2.isNull() && arg1.isNull())
        text = text.arg(tokenPos);
    else if (arg2.isNull())
        text = text.arg(QString::number(tokenPos), arg1);
    else
        text = text.arg(QString::number(tokenPos), arg1, arg2);
    errors.append(text);
}

VelQTmathText::TokenKind VelQTmathText::nextToken()
{
    const int length = sourceText.size();
    tokenText.clear();
    ++tokenPos;
    if (tokenPos >= length) {
        tokenPos = length;
        return tokenKind = TokenEnd;
    }
    const QChar c = sourceText.at(tokenPos);

    if (c == QLatin1Char('\\')) {
        ++tokenPos;
        // A backslash before the last character ends the input: the "\;"
        // that parse() appends is never read (see parse()).
        if (tokenPos >= length - 1)
            return tokenKind = TokenEnd;
        const QChar d = sourceText.at(tokenPos);
        if (d == QLatin1Char('|') || isEscapedCharacter(d)) {
            tokenText = d;
            return tokenKind = TokenCommand;
        }
        const int start = tokenPos;
        while (tokenPos < length && isLetter(sourceText.at(tokenPos)))
            ++tokenPos;
        // Letters hold no white space: the name needs no trimming.
        tokenText = sourceText.mid(start, tokenPos - start);
        // The first character after the name (a non-letter after a lone
        // backslash: an empty name) is read next.
        --tokenPos;
        return tokenKind = TokenCommand;
    }

    switch (c.unicode()) {
    case '$':
        return tokenKind = TokenDollar;
    case '&':
        return tokenKind = TokenAmpersand;
    case '{':
        return tokenKind = TokenOpenBrace;
    case '}':
        return tokenKind = TokenCloseBrace;
    case '_':
        return tokenKind = TokenUnderscore;
    case '^':
        return tokenKind = TokenCaret;
    default:
        break;
    }

    if (isWhitespace(c)) {
        while (tokenPos < length && isWhitespace(sourceText.at(tokenPos)))
            ++tokenPos;
        --tokenPos;
        return tokenKind = TokenSpace;
    }

    // Runs are cut out of the text in one piece: appending character by
    // character costs an allocation every few characters.
    const int start = tokenPos;
    if (!inMathMode) {
        while (tokenPos < length && !endsTextRun(sourceText.at(tokenPos)))
            ++tokenPos;
        tokenText = sourceText.mid(start, tokenPos - start);
        --tokenPos;
        return tokenKind = TokenText;
    }

    if (isMathBracket(c)) {
        // "||" is one double bar, as "\|" is.
        const bool doubleBar = c == QLatin1Char('|') && tokenPos + 1 < length && sourceText.at(tokenPos + 1) == c;
        tokenText = sourceText.mid(tokenPos, doubleBar ? 2 : 1);
        tokenPos += doubleBar ? 1 : 0;
        return tokenKind = TokenText;
    }
    // In math a run keeps white space only as single characters between others.
    bool white = false;
    while (tokenPos < length && !endsMathTextRun(sourceText.at(tokenPos))) {
        white = white || isWhitespace(sourceText.at(tokenPos));
        ++tokenPos;
    }
    if (!white) {
        tokenText = sourceText.mid(start, tokenPos - start);
    } else {
        tokenText.reserve(tokenPos - start);
        for (int i = start; i < tokenPos; ++i) {
            const QChar t = sourceText.at(i);
            if (!isWhitespace(t) || (!tokenText.isEmpty() && !isWhitespace(tokenText.back())))
                tokenText += t;
        }
    }
    if (tokenPos < length)
        --tokenPos;
    return tokenKind = TokenText;
}

MTnode* VelQTmathText::readList(bool get, QString stopBracket, QString stopEnvironment)
{
    auto* list = new MTlistNode(this);
    if (parseDepth >= maxParseDepth) {
        // Stop reading altogether: every enclosing reader then meets the end.
        addError(errorTooDeep, QString::number(maxParseDepth));
        tokenPos = sourceText.size();
        tokenKind = TokenEnd;
        tokenText.clear();
        return list;
    }
    ++parseDepth;
    if (get)
        nextToken();
    for (;;) {
        const ReadStep step = readElement(list, stopBracket, stopEnvironment);
        if (step == EndList)
            break;
        if (step == ReadNext)
            nextToken();
    }
    --parseDepth;
    return list;
}

VelQTmathText::ReadStep VelQTmathText::readElement(MTlistNode* list, const QString& stopBracket,
                                                   const QString& stopEnvironment)
{
    switch (tokenKind) {
    case TokenEnd:
    case TokenCloseBrace:
    case TokenAmpersand:
        return EndList;
    case TokenText: {
        const QString text = tokenText;
        nextToken();
        list->addNode(new MTtextNode(this, text, tokenKind == TokenSpace && !inMathMode, inMathMode));
        return KeepToken;
    }
    case TokenSpace:
        // A word already ends in the space that follows it (addWhitespace).
        if (!inMathMode && !endsInSpace(list))
            list->addNode(new MTwhitespaceNode(this));
        return ReadNext;
    case TokenOpenBrace:
        list->addNode(readList(true));
        return ReadNext;
    case TokenDollar:
        if (inMathMode) {
            inMathMode = false;
            return EndList;
        }
        inMathMode = true;
        list->addNode(new MTinstruction1Node(this, QStringLiteral("equation"), readList(true)));
        return ReadNext;
    case TokenCaret:
    case TokenUnderscore:
        return readIndex(list);
    case TokenCommand:
        return readCommand(list, stopBracket, stopEnvironment);
    }
    return ReadNext;
}

VelQTmathText::ReadStep VelQTmathText::readIndex(MTlistNode* list)
{
    const bool super = tokenKind == TokenCaret;
    MTnode* rest = nullptr;
    ReadStep step = ReadNext;
    MTnode* body = readIndexBody(rest, step);
    if (!body)
        return KeepToken;
    if (super)
        list->addNode(new MTsuperscriptNode(this, body));
    else
        list->addNode(new MTsubscriptNode(this, body));
    list->addNode(rest);
    return step;
}

MTnode* VelQTmathText::readIndexBody(MTnode*& rest, ReadStep& step)
{
    nextToken();
    rest = nullptr;
    step = ReadNext;
    if (tokenKind == TokenCommand) {
        const QString name = tokenText;
        nextToken();
        if (tokenKind == TokenOpenBrace)
            return new MTinstruction1Node(this, name, readList(true));
        step = KeepToken;
        return new MTsymbolNode(this, name);
    }
    if (tokenKind == TokenOpenBrace)
        return readList(true);
    if (tokenKind == TokenText && !tokenText.isEmpty()) {
        const int first = firstCharacterLength(tokenText);
        if (tokenText.size() > first)
            rest = new MTtextNode(this, tokenText.mid(first), false, inMathMode);
        return new MTtextNode(this, tokenText.left(first), false, inMathMode);
    }
    return nullptr;
}

VelQTmathText::ReadStep VelQTmathText::readCommand(MTlistNode* list, const QString& stopBracket,
                                                   const QString& stopEnvironment)
{
    const QString name = tokenText;
    if (name == QLatin1String("\\"))
        return EndList; // a line break: ends the cell of an environment
    nextToken();
    // An escaped character ("\{", "\;") never takes an argument: in
    // "\{{a}\}" the group after it is an ordinary group.
    const bool escape = name.size() == 1 && !isLetter(name.at(0));
    if (tokenKind != TokenOpenBrace || escape)
        return readCommandWithoutArgument(list, name, stopBracket);
    return readCommandArgument(list, name, stopEnvironment);
}

VelQTmathText::ReadStep VelQTmathText::readCommandWithoutArgument(MTlistNode* list, const QString& name,
                                                                  const QString& stopBracket)
{
    if (name == QLatin1String("right"))
        return readRight(stopBracket);
    if (name == QLatin1String("left"))
        return readLeft(list);
    const auto control = limitControls().constFind(name);
    if (control != limitControls().constEnd()) {
        // TeX's \limits, \nolimits, \displaylimits: for the operator
        // right before; elsewhere they do nothing.
        const QList<MTnode*> nodes = list->getNodes();
        if (auto* op = nodes.isEmpty() ? nullptr : dynamic_cast<MTsymbolNode*>(nodes.constLast()))
            op->setLimits(*control);
        return KeepToken;
    }
    if (isStyleSwitch(name)) {
        // "\displaystyle" without a group, as in LaTeX: a switch for the
        // rest of the list (MTlistNode applies it).
        list->addNode(new MTinstruction1Node(this, name, nullptr));
        return KeepToken;
    }
    const QString letter = name.mid(name.size() - 1);
    if (name.size() == 2 && name.startsWith(QLatin1Char('v'))) {
        list->addNode(new MTdecoratedNode(this, AccentVec, new MTtextNode(this, letter, false, false)));
    } else if (name.size() == 2 && name.startsWith(QLatin1Char('c'))) {
        list->addNode(new MTinstruction1Node(this, QStringLiteral("mathcal"),
                                             new MTtextNode(this, letter, false, false)));
    } else if (name.size() == 3 && name.startsWith(QLatin1String("bb"))) {
        list->addNode(new MTinstruction1Node(this, QStringLiteral("mathbb"),
                                             new MTtextNode(this, letter, false, false)));
    } else {
        list->addNode(new MTsymbolNode(this, name));
        return KeepToken;
    }
    return KeepToken;
}

VelQTmathText::ReadStep VelQTmathText::readCommandArgument(MTlistNode* list, const QString& name,
                                                           const QString& stopEnvironment)
{
    if (name == QLatin1String("sqrt") || name == QLatin1String("cbrt")) {
        list->addNode(new MTsqrtNode(this, readList(true), name == QLatin1String("sqrt") ? 2 : 3));
        return ReadNext;
    }
    if (name == QLatin1String("verb")) {
        readVerb(list);
        return ReadNext;
    }
    if (twoArgumentCommands().contains(name))
        return readTwoArguments(list, name);
    if (name == QLatin1String("begin")) {
        list->addNode(readEnvironment());
        return ReadNext;
    }
    if (name == QLatin1String("end"))
        return readEnd(stopEnvironment);
    const auto accent = decorations().constFind(name);
    if (accent != decorations().constEnd()) {
        list->addNode(new MTdecoratedNode(this, accent.value(), readList(true)));
        return ReadNext;
    }
    if (isColorCommand(name))
        return readColor(list, name);
    // A symbol keeps its glyph before a group: "\int{f(x)dx}" is an
    // integral sign followed by the group, not the group alone.
    if (MTsymbolTables::lookup(fontEncoding, name)) {
        list->addNode(new MTsymbolNode(this, name));
        return KeepToken;
    }
    if (takesTextArgument(name)) {
        const bool math = inMathMode;
        inMathMode = false;
        MTnode* argument = readList(true);
        inMathMode = math;
        list->addNode(new MTinstruction1Node(this, name, argument));
        return ReadNext;
    }
    list->addNode(new MTinstruction1Node(this, name, readList(true)));
    return ReadNext;
}

VelQTmathText::ReadStep VelQTmathText::readLeft(MTlistNode* list)
{
    QString open, close, quit;
    if (tokenKind == TokenText && !tokenText.isEmpty()) {
        const QChar first = tokenText.at(0);
        static const QHash<QChar, QChar> pairs = {
            {'(', ')'}, {'[', ']'}, {'{', '}'}, {'<', '>'}, {'|', '|'}, {'~', '~'}, {'_', '_'}, {'#', '#'},
        };
        if (pairs.contains(first)) {
            open = first;
            close = quit = pairs.value(first);
        } else if (first == QLatin1Char('.')) {
            open = QStringLiteral(".");
            quit = QStringLiteral("any");
        }
        if (!open.isEmpty())
            tokenText.remove(0, 1);
    } else if (tokenKind == TokenCommand) {
        static const QHash<QString, QPair<QString, QString>> commands = {
            {"langle", {"<", ">"}}, {"{", {"{", "}"}}, {"lfloor", {"_", "_"}},
            {"lceil", {"~", "~"}}, {"|", {"#", "#"}},
        };
        const auto it = commands.constFind(tokenText);
        if (it != commands.constEnd()) {
            open = it.value().first;
            close = quit = it.value().second;
            tokenText.clear();
        }
    }
    if (open.isEmpty())
        return ReadNext; // not a bracket: "\left" and the token are dropped

    rightBraceSeen = false;
    MTnode* inner = readList(tokenText.isEmpty(), quit);
    const bool seen = rightBraceSeen;
    if (quit == QLatin1String("any") && seen)
        close = rightBracket;
    // Only the "\right" of this pair may draw its closing bracket: an
    // inner pair leaves nothing behind for an unclosed outer one.
    rightBraceSeen = false;
    list->addNode(new MTbraceNode(this, open, close, inner, seen));
    // Outside math the text after "\right)" is in the same token: keep it.
    return tokenKind == TokenText && !tokenText.isEmpty() ? KeepToken : ReadNext;
}

VelQTmathText::ReadStep VelQTmathText::readRight(const QString& stopBracket)
{
    // Only a list opened by "\left" waits for a "\right".
    if (!stopBracket.isEmpty()) {
        if (tokenKind == TokenText && !tokenText.isEmpty()) {
            const QChar first = tokenText.at(0);
            if (stopBracket == QLatin1String("any") || first == stopBracket.at(0) || first == QLatin1Char('.')) {
                rightBraceSeen = first != QLatin1Char('.');
                rightBracket = first;
                tokenText.remove(0, 1);
                return EndList;
            }
        } else if (tokenKind == TokenCommand && closesWithCommand(stopBracket, tokenText)) {
            rightBracket = closingCodeOfCommand(tokenText);
            rightBraceSeen = rightBracket != QLatin1String(".");
            tokenText.clear();
            return EndList;
        }
    }
    // A "\right" that closes nothing is dropped; a text after it stays.
    return tokenKind == TokenCommand ? ReadNext : KeepToken;
}

VelQTmathText::ReadStep VelQTmathText::readTwoArguments(MTlistNode* list, const QString& name)
{
    MTnode* first = readList(true);
    nextToken();
    MTnode* second = nullptr;
    MTnode* rest = nullptr;
    ReadStep step = ReadNext;
    // LaTeX's spelling of the braces' labels, "\overbrace{x}^{n}" and
    // "\underbrace{x}_{n}", besides the dialect's second argument.
    const bool label = (name == QLatin1String("overbrace") && tokenKind == TokenCaret)
        || (name == QLatin1String("underbrace") && tokenKind == TokenUnderscore);
    if (tokenKind == TokenOpenBrace)
        second = readList(true);
    else if (label)
        second = readIndexBody(rest, step);
    if (!second) {
        addError(errorTwoArguments, name);
        delete first;
        return KeepToken;
    }
    if (name == QLatin1String("binom")) {
        list->addNode(new MTbraceNode(this, QStringLiteral("("), QStringLiteral(")"),
                                      new MTfracNode(this, first, second, FractionStackrel), true));
    } else {
        list->addNode(new MTfracNode(this, first, second, twoArgumentCommands().value(name)));
    }
    list->addNode(rest);
    return step;
}

VelQTmathText::ReadStep VelQTmathText::readColor(MTlistNode* list, const QString& name)
{
    nextToken();
    if (tokenKind == TokenText) {
        const QString color = tokenText;
        nextToken();
        if (tokenKind == TokenCloseBrace) {
            nextToken();
            if (tokenKind == TokenOpenBrace) {
                list->addNode(new MTinstruction1Node(this, name, readList(true), QStringList{color}));
                return ReadNext;
            }
            addError(errorTwoArguments, name);
            return KeepToken;
        }
    }
    addError(errorTwoArguments, name);
    // Still inside the colour's braces: their "}" must not close the list.
    skipGroup();
    return ReadNext;
}

VelQTmathText::ReadStep VelQTmathText::readEnd(const QString& stopEnvironment)
{
    nextToken();
    if (tokenKind != TokenText) {
        addError(errorNameExpected);
        skipGroup();
        return ReadNext;
    }
    const QString name = tokenText;
    skipGroup();
    if (!stopEnvironment.isEmpty() && name == stopEnvironment)
        return EndList;
    addError(errorEndWithoutBegin, name, name);
    return ReadNext;
}

MTnode* VelQTmathText::readEnvironment()
{
    nextToken();
    if (tokenKind != TokenText) {
        addError(errorNameExpected);
        skipGroup();
        return nullptr;
    }
    const QString name = tokenText;
    skipGroup();
    const auto known = environments().constFind(name);
    if (known == environments().constEnd())
        addError(errorUnknownEnvironment, name);

    QVector<QVector<MTnode*>> rows;
    QVector<MTnode*> row;
    for (;;) {
        row.append(readList(true, QString(), name));
        const bool nextCell = tokenKind == TokenAmpersand;
        const bool nextRow = tokenKind == TokenCommand && tokenText == QLatin1String("\\");
        if (!nextCell) {
            rows.append(row);
            row.clear();
        }
        if (!nextCell && !nextRow)
            break;
    }
    // "x \\ y \\ \end{...}": the line break before the end opens no row.
    if (rows.size() > 1 && rows.last().size() == 1) {
        auto* last = dynamic_cast<MTlistNode*>(rows.last().first());
        if (last && last->getNodes().isEmpty()) {
            delete last;
            rows.removeLast();
        }
    }

    auto* matrix = new MTmatrixNode(this, rows);
    // LaTeX's columns: "cases" on the left, aligned equations right and
    // left by pairs, matrices centred.
    if (name == QLatin1String("cases"))
        matrix->setAlignment(MTmatrixNode::AlignLeft);
    else if (name == QLatin1String("aligned") || name == QLatin1String("align"))
        matrix->setAlignment(MTmatrixNode::AlignRightLeft);
    if (known == environments().constEnd() || !known.value().open)
        return matrix;
    return new MTbraceNode(this, QString::fromLatin1(known.value().open),
                           QString::fromLatin1(known.value().close), matrix, true);
}

void VelQTmathText::readVerb(MTlistNode* list)
{
    // The "\;" that parse() appends is not part of the text.
    const int end = sourceText.endsWith(QLatin1String("\\;")) ? sourceText.size() - 2 : sourceText.size();
    QString text;
    ++tokenPos;
    while (tokenPos < end && sourceText.at(tokenPos) != QLatin1Char('}')) {
        text += sourceText.at(tokenPos);
        ++tokenPos;
    }
    if (tokenPos >= end) {
        addError(errorVerbNotClosed);
        tokenPos = sourceText.size();
    }
    list->addNode(new MTtextNode(this, text, false, false));
}

void VelQTmathText::skipGroup()
{
    while (tokenKind != TokenCloseBrace && tokenKind != TokenEnd)
        nextToken();
}
