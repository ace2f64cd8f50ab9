#ifndef MTATOM_H
#define MTATOM_H

#include <QChar>
#include <QVector>

// TeX's classes of the atoms of a math list (The TeXbook, chapter 17):
// they decide the space between two neighbours.
enum MTatomClass {
    AtomNone = -1, // takes no part: spaces, indices, the ends of a list
    AtomOrd = 0,   // letters, digits, groups, fractions, roots
    AtomOp,        // big operators and named functions: \sum, \int, \sin
    AtomBin,       // binary operators: +, -, \times
    AtomRel,       // relations and arrows: =, <, \leq, \to
    AtomOpen,      // opening brackets
    AtomClose,     // closing brackets, "!" and "?"
    AtomPunct,     // "," and ";"
    AtomInner      // \left...\right pairs, \ldots
};

namespace MTatom {

// TeX's math unit: an eighteenth of the em of the style's font.
constexpr double muPerEm = 18;
// TeX's \thinmuskip, \medmuskip and \thickmuskip.
constexpr double thinSpace = 3, mediumSpace = 4, thickSpace = 5;

// The space between two neighbouring atoms in mu, by TeX's table (The
// TeXbook, chapter 18): in script styles only the thin spaces around
// operators remain, those of binary operators, relations and punctuation go.
double spaceBetween(MTatomClass left, MTatomClass right, bool scriptStyle);

// The class of a character typed in math, after plain TeX's \mathcode.
MTatomClass ofCharacter(QChar c);

// The classes of a run of atoms after TeX's rules 5 and 6 (Appendix G): a
// binary operator is ordinary first in its list, after an operator, a
// relation, an opening bracket, punctuation or another binary operator,
// and before a relation, a closing bracket, punctuation or the list's end.
// `before` is the (resolved) class of the atom before the run, `after` the
// class of the atom after it; AtomNone for the list's ends.
QVector<MTatomClass> resolved(QVector<MTatomClass> atoms, MTatomClass before, MTatomClass after);

} // namespace MTatom

#endif // MTATOM_H
