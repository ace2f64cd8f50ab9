#ifndef MTSYMBOLTABLES_H
#define MTSYMBOLTABLES_H

#include "math/MTatom.h"
#include "math/MTencoding.h"

#include <QString>

// Which of the engine's families draws a symbol.
enum MTsymbolRole {
    SymbolRoleDefault = 0,     // the environment's own font
    SymbolRoleSymbol = 1,      // fontSymbol
    SymbolRoleGreek = 2,       // fontGreek
    SymbolRoleBraces = 3,      // fontBraces
    SymbolRoleIntegrals = 4,   // fontIntegrals
    SymbolRoleCaligraphic = 5, // fontCaligraphic
    SymbolRoleBlackboard = 6   // fontBlackboard
};

// What a symbol name resolves to: the text to draw and how to draw it.
struct MTsymbolProperties
{
    QString symbol;
    MTsymbolRole font = SymbolRoleDefault;
    qint8 italic = -1;  // -1 upright, 0 as the environment, +1 italic
    qint8 bold = 0;     // -1 normal weight, 0 as the environment, +1 bold
    bool drawBar = false;
    bool ascentOnlyHeight = false;
    bool tightAscent = false;
};

// Where an operator's indices go: under and over it outside scripts (the
// default of \sum and \lim: TeX stacks them in display style only, the
// editor has always stacked them in running text too), always, or never
// (beside it, as for \int and \sin).
enum MTlimits {
    LimitsOutsideScripts = 0,
    LimitsAlways = 1,
    LimitsNever = 2
};

// How a symbol takes part in math layout, the same in every encoding.
struct MTsymbolMath
{
    MTatomClass atom = AtomOrd;
    MTlimits limits = LimitsNever;
    // Big operators: the height of TeX's glyph in text and in display style,
    // in ems; the glyph is scaled to it and centred on the math axis.
    // Zero for other symbols.
    double textHeight = 0, displayHeight = 0;
    // Spaces: their width in mu (TeX's \, \: \; \! \quad ...); zero for
    // other symbols.
    double space = 0;
};

namespace MTsymbolTables {

// The symbol `name` in `encoding` (named functions and escaped characters
// included), or null for a name no table knows. The tables are built once.
const MTsymbolProperties* lookup(MTencoding encoding, const QString& name);

// The HTML form of a symbol (an entity or plain text), or a null string.
QString html(const QString& name);

// The math properties of the symbol `name` (ordinary for unknown names).
const MTsymbolMath& math(const QString& name);

} // namespace MTsymbolTables

#endif // MTSYMBOLTABLES_H
