#include "math/MTtextNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

#include <algorithm>

namespace {

bool isWhite(QChar c)
{
    return c.isSpace() || c.unicode() == 133 || c.unicode() == 160;
}

bool isBraceText(const QString& text)
{
    static const QStringList braces = {
        QStringLiteral("("), QStringLiteral("["), QStringLiteral("|"), QStringLiteral("]"),
        QStringLiteral(")"), QStringLiteral("<"), QStringLiteral(">"),
        QString(QChar(0x2329)), QString(QChar(0x232A)), QString(QChar(0x2308)),
        QString(QChar(0x2309)), QString(QChar(0x230A)), QString(QChar(0x230B))};
    return text.size() <= 1 && braces.contains(text);
}

bool onlyDigitsAndWhite(const QString& text)
{
    for (QChar c : text) {
        if (!c.isDigit() && !isWhite(c))
            return false;
    }
    return true;
}

bool hasDigit(const QString& text)
{
    for (QChar c : text) {
        if (c.isDigit())
            return true;
    }
    return false;
}

// What can stand before a binary operator: not an operator, a relation,
// an opening bracket or punctuation, after which "+" and "-" are signs.
bool isOperand(QChar c)
{
    return !QStringLiteral("+-*/=<>([{,;:").contains(c) && c.category() != QChar::Symbol_Math;
}

// Operators get the spacing of math typography; "-" becomes a true minus.
// A binary "+" or "-" (after an operand) gets a space on both sides, as in
// TeX; a sign ("-x", "e^{-x}", "x \to +\infty") none.
QString spaceMathOperators(const QString& text, bool operandBefore)
{
    QString result;
    result.reserve(text.size() * 2);
    bool operand = operandBefore;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '+': result += operand ? QLatin1String(" + ") : QLatin1String("+"); break;
        case '-':
            if (operand)
                result += QLatin1Char(' ');
            result += QChar(0x2212);
            if (operand)
                result += QLatin1Char(' ');
            break;
        case '/': result += QLatin1String(" / "); break;
        case ';': result += QLatin1String("; "); break;
        case ':': result += QLatin1String(" : "); break; // a relation, as in TeX: "{x : x > 0}"
        case '<': result += QLatin1String(" < "); break;
        case '=': result += QLatin1String(" = "); break;
        case '>': result += QLatin1String(" > "); break;
        default: result += c;
        }
        if (!isWhite(c))
            operand = isOperand(c);
    }
    return result.replace(QLatin1String("  "), QLatin1String(" "));
}

// Letters that Unicode encodes outside the mathematical alphanumeric block,
// where the font does hold them.
QString mapLetters(QString text, const char* from, const char16_t* to)
{
    for (QChar& c : text) {
        for (int i = 0; from[i]; ++i) {
            if (c.unicode() == static_cast<ushort>(from[i])) {
                c = QChar(to[i]);
                break;
            }
        }
    }
    return text;
}

// Double-struck and script letters that the letterlike block lacks (it has
// only a few capitals: no "D" for the decimals, no script "A") come from
// the mathematical alphanumeric block, which the text fonts of a math
// family often lack but its math companion holds.
struct MathAlphabet
{
    uint capitals, smalls, digits; // first code point of each run, 0: none
};

bool hasPlainLetterOrDigit(const QString& text, const MathAlphabet& alphabet)
{
    for (QChar c : text) {
        const ushort u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (alphabet.digits && u >= '0' && u <= '9'))
            return true;
    }
    return false;
}

QString toMathAlphabet(const QString& text, const MathAlphabet& alphabet)
{
    QString result;
    result.reserve(text.size() * 2);
    for (QChar c : text) {
        const ushort u = c.unicode();
        uint code = 0;
        if (u >= 'A' && u <= 'Z')
            code = alphabet.capitals + (u - 'A');
        else if (u >= 'a' && u <= 'z')
            code = alphabet.smalls + (u - 'a');
        else if (alphabet.digits && u >= '0' && u <= '9')
            code = alphabet.digits + (u - '0');
        if (code) {
            result += QChar(QChar::highSurrogate(code));
            result += QChar(QChar::lowSurrogate(code));
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

MTtextNode::MTtextNode(VelQTmathText* parent, QString text, bool addWhitespace, bool stripInnerWhitespace)
    : MTnode(parent)
{
    // The text is shared with the reader's token: it is copied only when
    // something changes.
    if (stripInnerWhitespace && std::any_of(text.cbegin(), text.cend(), isWhite)) {
        QString kept;
        kept.reserve(text.size());
        for (QChar c : text) {
            if (!isWhite(c))
                kept += c;
        }
        text = kept;
    }
    int lead = 0;
    while (text.size() - lead >= 2 && isWhite(text.at(lead)))
        ++lead;
    if (lead > 0)
        text.remove(0, lead);
    if (addWhitespace && (text.isEmpty() || !isWhite(text.at(text.size() - 1))))
        text += QLatin1Char(' ');
    this->text = text;
}

bool MTtextNode::endsWithOperand() const
{
    for (int i = text.size() - 1; i >= 0; --i) {
        if (!isWhite(text.at(i)))
            return isOperand(text.at(i));
    }
    return operandBefore; // only white space: what came before still counts
}

QString MTtextNode::transformText(QString text, MTstyle env) const
{
    if (parent->getFontEncoding() != EncodingUnicode)
        return text;
    if (env.insideMath)
        text = spaceMathOperators(text, operandBefore);
    if (env.font == StyleBlackboard)
        text = mapLetters(text, "CHNPQRZdeij",
                          u"\u2102\u210D\u2115\u2119\u211A\u211D\u2124\u2146\u2147\u2148\u2149");
    else if (env.font == StyleCaligraphic)
        text = mapLetters(text, "BEFHILMReglop",
                          u"\u212C\u2130\u2131\u210B\u2110\u2112\u2133\u211B\u212F\u210A\u2113\u2134\u2118");
    return text;
}

QFont MTtextNode::fontFor(const QString& shown, const MTstyle& env) const
{
    // Built through the engine's shared fonts, as everywhere: a QFont
    // changed here would cost a font database lookup at every drawing.
    MTstyle style = env;
    // Double-struck and script letters are upright designs, also in italic math.
    if (env.font == StyleBlackboard || env.font == StyleCaligraphic)
        style.italic = false;
    if (env.insideMath && isBraceText(shown)) {
        style.italic = false;
        return parent->font(parent->getFontBraces(), style);
    }
    return style.getFont(parent);
}

QFont MTtextNode::uprightFont(const QString& family, const MTstyle& env) const
{
    MTstyle style = env;
    style.italic = false;
    return parent->font(family, style);
}

QString MTtextNode::shownText(const MTstyle& env, QFont& font) const
{
    static const MathAlphabet doubleStruck{0x1D538, 0x1D552, 0x1D7D8};
    static const MathAlphabet script{0x1D49C, 0x1D4B6, 0};
    QString t = transformText(text, env);
    if (parent->getFontEncoding() != EncodingUnicode)
        return t;
    const MathAlphabet* alphabet = env.font == StyleBlackboard ? &doubleStruck
        : env.font == StyleCaligraphic ? &script : nullptr;
    if (alphabet && hasPlainLetterOrDigit(t, *alphabet)) {
        // The letterlike ones ("R", "F") are already mapped.
        const QString companion = parent->mathCompanionFamily(font.family());
        if (!companion.isEmpty()) {
            t = toMathAlphabet(t, *alphabet);
            font = uprightFont(companion, env);
        }
    }
    return t;
}

void MTtextNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    QFont f = fontFor(text, env);
    const QString t = shownText(env, f);

    QPaintDevice* device = painter.device();
    width = parent->textBounds(f, t, device).width();
    // The bounding width reaches from the origin to the last ink: a
    // leading space is in it, a trailing one is not. A word space of text
    // mode gets the room of an "I". Inside math the spaces come from the
    // operator spacing: the leading one is measured already, the trailing
    // one gets its own advance, so that "a = " keeps the same gap on both
    // sides of the "=" before a fraction.
    if (!env.insideMath && !t.isEmpty() && isWhite(t.at(0)))
        width += parent->textBounds(f, QStringLiteral("I"), device).width();
    if (t.size() > 1 && isWhite(t.at(t.size() - 1)))
        width += parent->textAdvance(f, env.insideMath ? QStringLiteral(" ") : QStringLiteral("I"), device);
    // A lone bar is set narrower than its glyph box; its heights stay those
    // of the glyph, so that it neither hangs below the baseline nor is cut.
    if (t == QLatin1String("|"))
        width = 0.7 * parent->textBounds(f, QStringLiteral("X"), device).width();

    const QRectF r = parent->tightBounds(f, t, device);
    // The 1.1 leaves room for antialiasing beyond the ink.
    baselineHeight = -r.top() * 1.1;
    overallHeight = r.height() * 1.1;
    strikeoutPos = parent->strikeOutPos(f, painter.device()) * 1.1;
}

double MTtextNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    double width = 0, baselineHeight = 0, overallHeight = 0, strikeoutPos = 0;
    getSize(painter, env, width, baselineHeight, overallHeight, strikeoutPos);

    QFont f = fontFor(text, env);
    const QString t = shownText(env, f);
    // Numbers stay upright in italic math.
    if (env.insideMath && f.italic() && onlyDigitsAndWhite(t))
        f = uprightFont(f.family(), env);

    // The font and pen stay set: the engine restores the painter once for
    // the whole formula.
    painter.setPen(QPen(env.color));
    if (f.italic() && hasDigit(t)) {
        const QFont upright = uprightFont(f.family(), env);
        double cx = x;
        for (int i = 0; i < t.size(); ++i) {
            // A surrogate pair is one character.
            const int len = (t.at(i).isHighSurrogate() && i + 1 < t.size() && t.at(i + 1).isLowSurrogate()) ? 2 : 1;
            const QString ch = t.mid(i, len);
            const bool digit = t.at(i).isDigit();
            const QFont& font = digit ? upright : f;
            if (painter.font() != font)
                painter.setFont(font);
            painter.drawText(QPointF(cx, y), ch);
            cx += parent->textAdvance(digit ? upright : f, ch, painter.device());
            i += len - 1;
        }
    } else {
        if (painter.font() != f)
            painter.setFont(f);
        painter.drawText(QPointF(x, y), t);
    }
    return x + width;
}

bool MTtextNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    html += currentEv.htmlOpen(defaultEv) + text.toHtmlEscaped() + currentEv.htmlClose(defaultEv);
    return true;
}

QString MTtextNode::typeName() const
{
    return QLatin1String("MTtextNode(") + text + QLatin1Char(')');
}
