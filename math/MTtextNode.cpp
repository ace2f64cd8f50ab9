#include "math/MTtextNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

bool isWhite(QChar c)
{
    return c.isSpace() || c.unicode() == 133 || c.unicode() == 160;
}

bool isBraceText(const QString& text)
{
    static const QString braces = QStringLiteral("([|])<>\u2329\u232A\u2308\u2309\u230A\u230B\u2016");
    return text.size() == 1 && braces.contains(text.at(0));
}

bool onlyDigitsAndWhite(const QString& text)
{
    for (QChar c : text) {
        if (!c.isDigit() && !isWhite(c))
            return false;
    }
    return true;
}

// In italic math only letters lean: digits, operators and punctuation are
// upright, as TeX takes them from its roman font. In italic text, digits.
bool uprightInItalic(QChar c, bool math)
{
    if (math)
        return !c.isLetter() && !c.isSurrogate();
    return c.isDigit();
}

// The length of the character at i, a surrogate pair counting as one.
int characterLength(const QString& text, int i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
}

// TeX's math forms of characters typed on the keyboard: the minus sign,
// the centred asterisk, and "||" as one double bar.
QString mathCharacters(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('-'), QChar(0x2212));
    result.replace(QLatin1Char('*'), QChar(0x2217));
    result.replace(QLatin1String("||"), QString(QChar(0x2016)));
    return result;
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

// What one drawText() call draws: the text, its font and where it starts.
struct MTtextNode::Piece
{
    QString text;
    QFont font;
    double x;
};

struct MTtextNode::Layout
{
    int generation = 0;
    int dpi = -1;
    MTstyle env;
    QVector<Piece> pieces;
    QRectF ink; // of all pieces, from the start of the baseline
    double width = 0, strikeout = 0, italicCorrection = 0;
};

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

    if (!stripInnerWhitespace)
        return;
    // Ordinary characters in a row make one atom: nothing comes between them.
    for (int i = 0; i < text.size();) {
        const MTatomClass kind = MTatom::ofCharacter(text.at(i));
        int end = i + characterLength(text, i);
        while (kind == AtomOrd && end < text.size() && MTatom::ofCharacter(text.at(end)) == AtomOrd)
            end += characterLength(text, end);
        atoms.append({i, end - i, kind});
        i = end;
    }
    setAtomNeighbours(AtomNone, AtomNone);
}

MTtextNode::~MTtextNode() = default;

MTatomClass MTtextNode::firstAtom() const
{
    if (!atoms.isEmpty())
        return atoms.constFirst().kind;
    return std::all_of(text.cbegin(), text.cend(), isWhite) ? AtomNone : AtomOrd;
}

MTatomClass MTtextNode::lastAtom() const
{
    return atoms.isEmpty() ? firstAtom() : atoms.constLast().kind;
}

void MTtextNode::setAtomNeighbours(MTatomClass before, MTatomClass after)
{
    if (atoms.isEmpty()) {
        MTnode::setAtomNeighbours(before, after);
        return;
    }
    QVector<MTatomClass> kinds;
    kinds.reserve(atoms.size());
    for (const Atom& atom : qAsConst(atoms))
        kinds.append(atom.kind);
    atomClasses = MTatom::resolved(kinds, before, after);
    setResolvedAtoms(atomClasses.constFirst(), atomClasses.constLast());
}

bool MTtextNode::isCharacter() const
{
    return true;
}

QString MTtextNode::transformText(QString text, MTstyle env) const
{
    if (parent->getFontEncoding() != EncodingUnicode)
        return text;
    if (env.insideMath)
        text = mathCharacters(text);
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

QString MTtextNode::shownText(const QString& part, const MTstyle& env, QFont& font) const
{
    static const MathAlphabet doubleStruck{0x1D538, 0x1D552, 0x1D7D8};
    static const MathAlphabet script{0x1D49C, 0x1D4B6, 0};
    QString t = transformText(part, env);
    font = fontFor(t, env);
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

const MTtextNode::Layout& MTtextNode::layout(QPainter& painter, const MTstyle& env)
{
    const int generation = parent->settingsGeneration();
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    if (!cache)
        cache = std::make_unique<Layout>();
    Layout& l = *cache;
    if (l.generation != generation || l.dpi != dpi || l.env != env) {
        l = Layout();
        if (env.insideMath && !atoms.isEmpty())
            layOutAtoms(painter, env, l);
        else
            layOutText(painter, env, l);
        l.strikeout = parent->strikeOutPos(env.getFont(parent), painter.device());
        l.generation = generation;
        l.dpi = dpi;
        l.env = env;
    }
    return l;
}

double MTtextNode::addPieces(QPainter& painter, const QString& shown, const QFont& font, const MTstyle& env, double x,
                             Layout& l) const
{
    QPaintDevice* device = painter.device();
    const bool math = env.insideMath && !atoms.isEmpty();
    const auto add = [&](const QString& part, const QFont& f) {
        l.pieces.append({part, f, x});
        l.ink |= parent->tightBounds(f, part, device).translated(x, 0);
        x += parent->textAdvance(f, part, device);
    };
    const bool mixed = font.italic() && std::any_of(shown.cbegin(), shown.cend(), [math](QChar c) {
        return uprightInItalic(c, math);
    });
    if (!mixed) {
        add(shown, font);
        return x;
    }
    const QFont upright = uprightFont(font.family(), env);
    for (int i = 0; i < shown.size();) {
        const bool up = uprightInItalic(shown.at(i), math);
        int end = i + characterLength(shown, i);
        while (end < shown.size() && uprightInItalic(shown.at(end), math) == up)
            end += characterLength(shown, end);
        add(shown.mid(i, end - i), up ? upright : font);
        i = end;
    }
    return x;
}

void MTtextNode::layOutText(QPainter& painter, const MTstyle& env, Layout& l) const
{
    QFont f;
    const QString t = shownText(text, env, f);
    // Numbers stay upright in italic math.
    if (env.insideMath && f.italic() && onlyDigitsAndWhite(t))
        f = uprightFont(f.family(), env);
    addPieces(painter, t, f, env, 0, l);

    QPaintDevice* device = painter.device();
    l.width = parent->textBounds(f, t, device).width();
    // The bounding width reaches from the origin to the last ink: a
    // leading space is in it, a trailing one is not. A word space of text
    // mode gets the room of an "I".
    if (!env.insideMath && !t.isEmpty() && isWhite(t.at(0)))
        l.width += parent->textBounds(f, QStringLiteral("I"), device).width();
    if (t.size() > 1 && isWhite(t.at(t.size() - 1)))
        l.width += parent->textAdvance(f, env.insideMath ? QStringLiteral(" ") : QStringLiteral("I"), device);
}

void MTtextNode::layOutAtoms(QPainter& painter, const MTstyle& env, Layout& l) const
{
    const double mu = MTlayout::mu(parent, painter, env);
    double x = 0;
    for (int i = 0; i < atoms.size(); ++i) {
        const Atom& atom = atoms.at(i);
        if (i > 0)
            x += MTatom::spaceBetween(atomClasses.at(i - 1), atomClasses.at(i), env.isScriptStyle()) * mu;
        MTstyle style = env;
        if (atom.kind != AtomOrd)
            style.italic = false; // operators, brackets and punctuation
        QFont font;
        const QString shown = shownText(text.mid(atom.start, atom.length), style, font);
        x = addPieces(painter, shown, font, env, x, l);
    }
    // TeX adds the italic correction of a math character to its box: what
    // follows a leaning "f" starts beyond its ink.
    const Piece& last = l.pieces.constLast();
    if (last.font.italic() && !last.text.isEmpty()) {
        const QString glyph = last.text.right(last.text.back().isLowSurrogate() ? 2 : 1);
        QPaintDevice* device = painter.device();
        l.italicCorrection = std::max(0.0, parent->tightBounds(last.font, glyph, device).right()
                                               - parent->textAdvance(last.font, glyph, device));
    }
    l.width = x + l.italicCorrection;
}

void MTtextNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    const Layout& l = layout(painter, env);
    width = l.width;
    baselineHeight = -l.ink.top();
    overallHeight = l.ink.height();
    strikeoutPos = l.strikeout;
}

void MTtextNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    const Layout& l = layout(painter, env);
    left = l.ink.isNull() ? 1 : l.ink.left(); // a space has none
    right = l.ink.isNull() ? 0 : l.ink.right();
}

double MTtextNode::italicCorrection(QPainter& painter, const MTstyle& env)
{
    return layout(painter, env).italicCorrection;
}

double MTtextNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const Layout& l = layout(painter, env);
    // The pen stays set: the engine restores the painter once for the whole
    // formula.
    painter.setPen(QPen(env.color));
    for (const Piece& piece : l.pieces)
        parent->drawText(painter, QPointF(x + piece.x, y), piece.font, piece.text);
    return x + l.width;
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
