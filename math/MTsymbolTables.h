#ifndef MTSYMBOLTABLES_H
#define MTSYMBOLTABLES_H

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
    double sizeFactor = 1.0;
    qint8 italic = -1;  // -1 upright, 0 as the environment, +1 italic
    qint8 bold = 0;     // -1 normal weight, 0 as the environment, +1 bold
    double yShift = 0.0; // downwards, in units of the symbol's overall height
    bool drawBar = false;
    bool ascentOnlyHeight = false;
    bool tightAscent = false;
};

namespace MTsymbolTables {

// The symbol `name` in `encoding` (named functions and escaped characters
// included), or null for a name no table knows. The tables are built once.
const MTsymbolProperties* lookup(MTencoding encoding, const QString& name);

// The HTML form of a symbol (an entity or plain text), or a null string.
QString html(const QString& name);

// Relations, arrows and binary operators, which get extra room in math.
bool widensInMath(const QString& name);

} // namespace MTsymbolTables

#endif // MTSYMBOLTABLES_H
