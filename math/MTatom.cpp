#include "math/MTatom.h"

#include <QString>

namespace {

// TeX's spacing table (The TeXbook, chapter 18), left atom by row, right
// atom by column, in the order of MTatomClass: 1 thin, 2 medium, 3 thick
// space; negative where TeX puts the entry in parentheses, that is, in
// display and text styles only. Pairs that cannot occur (a binary operator
// next to another) are 0.
constexpr int spacing[8][8] = {
    //        Ord Op Bin Rel Open Close Punct Inner
    /* Ord */   {0, 1, -2, -3, 0, 0, 0, -1},
    /* Op */    {1, 1, 0, -3, 0, 0, 0, -1},
    /* Bin */   {-2, -2, 0, 0, -2, 0, 0, -2},
    /* Rel */   {-3, -3, 0, 0, -3, 0, 0, -3},
    /* Open */  {0, 0, 0, 0, 0, 0, 0, 0},
    /* Close */ {0, 1, -2, -3, 0, 0, 0, -1},
    /* Punct */ {-1, -1, 0, -1, -1, -1, -1, -1},
    /* Inner */ {-1, 1, -2, -3, -1, 0, -1, -1},
};

constexpr double muOfEntry[] = {0, MTatom::thinSpace, MTatom::mediumSpace, MTatom::thickSpace};

// Characters of each class beyond the ordinary ones: plain TeX's \mathcode
// of the keyboard's characters, and the Unicode forms of the commands.
const QString binaryCharacters = QStringLiteral("+-*\u00B1\u00B7\u00D7\u00F7\u2212\u2213\u2217\u2218\u2219"
                                                "\u2227\u2228\u2229\u222A\u2295\u2296\u2297\u2298\u2299");
const QString relationCharacters = QStringLiteral("=<>:\u2208\u2209\u220B\u220C\u221D\u223C\u2243\u2245\u2248"
                                                  "\u2260\u2261\u2264\u2265\u226A\u226B\u2282\u2283\u2284"
                                                  "\u2285\u2286\u2287");
const QString openingCharacters = QStringLiteral("([{\u2308\u230A\u2329\u27E8");
const QString closingCharacters = QStringLiteral(")]}!?\u2309\u230B\u232A\u27E9");
const QString punctuationCharacters = QStringLiteral(",;");

bool isArrow(QChar c)
{
    return c.unicode() >= 0x2190 && c.unicode() <= 0x21FF;
}

// Rule 5: where a binary operator cannot be one.
bool endsOperand(MTatomClass previous)
{
    switch (previous) {
    case AtomNone:
    case AtomOp:
    case AtomBin:
    case AtomRel:
    case AtomOpen:
    case AtomPunct:
        return true;
    default:
        return false;
    }
}

// Rule 6 and the end of the list (rule 19).
bool cannotFollowBinary(MTatomClass next)
{
    return next == AtomNone || next == AtomRel || next == AtomClose || next == AtomPunct;
}

} // namespace

namespace MTatom {

double spaceBetween(MTatomClass left, MTatomClass right, bool scriptStyle)
{
    if (left == AtomNone || right == AtomNone)
        return 0;
    const int entry = spacing[left][right];
    if (entry < 0 && scriptStyle)
        return 0;
    return muOfEntry[entry < 0 ? -entry : entry];
}

MTatomClass ofCharacter(QChar c)
{
    if (binaryCharacters.contains(c))
        return AtomBin;
    if (relationCharacters.contains(c) || isArrow(c))
        return AtomRel;
    if (openingCharacters.contains(c))
        return AtomOpen;
    if (closingCharacters.contains(c))
        return AtomClose;
    if (punctuationCharacters.contains(c))
        return AtomPunct;
    return AtomOrd;
}

QVector<MTatomClass> resolved(QVector<MTatomClass> atoms, MTatomClass before, MTatomClass after)
{
    MTatomClass previous = before;
    for (int i = 0; i < atoms.size(); ++i) {
        MTatomClass& atom = atoms[i];
        if (atom == AtomBin && endsOperand(previous))
            atom = AtomOrd;
        const MTatomClass next = i + 1 < atoms.size() ? atoms.at(i + 1) : after;
        if (atom == AtomBin && cannotFollowBinary(next))
            atom = AtomOrd;
        previous = atom;
    }
    return atoms;
}

} // namespace MTatom
