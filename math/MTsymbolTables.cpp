#include "math/MTsymbolTables.h"

#include <QHash>
#include <QSet>

namespace {

// Flags of a table row, beyond the text and the family.
enum RowFlag {
    NoFlag = 0,
    AscentOnly = 1,       // no depth below the baseline
    Tight = 2,            // with AscentOnly: keep the tight height (big operators)
    KeepStyle = 4,        // italic and bold follow the environment
    ForceBold = 8,
    ForceNormal = 16,     // normal weight, whatever the environment
    DrawBar = 32,
    BigOperator = AscentOnly | Tight
};

struct Row
{
    const char* name;
    const char16_t* text;
    MTsymbolRole role = SymbolRoleDefault;
    int flags = NoFlag;
};

// A row of the TeX layouts: a font position, repeated `count` times.
struct TexRow
{
    const char* name;
    char16_t code;
    MTsymbolRole role = SymbolRoleDefault;
    int flags = NoFlag;
    int count = 1;
};

using Table = QHash<QString, MTsymbolProperties>;

// Named functions: upright in the environment's font, in every encoding.
const Row functionRows[] = {
    {"sin", u"sin"}, {"cos", u"cos"}, {"tan", u"tan"}, {"sinh", u"sinh"}, {"cosh", u"cosh"},
    {"tanh", u"tanh"}, {"atan", u"atan"}, {"acos", u"acos"}, {"asin", u"asin"},
    {"arcsin", u"arcsin"}, {"arccos", u"arccos"}, {"arctan", u"arctan"}, {"exp", u"exp"},
    {"log", u"log"}, {"ln", u"ln"}, {"ld", u"ld"}, {"lb", u"lb"}, {"argmin", u"argmin"},
    {"argmax", u"argmax"}, {"sec", u"sec"}, {"gcd", u"gcd"}, {"hom", u"hom"}, {"ker", u"ker"},
    {"dim", u"dim"}, {"cot", u"cot"}, {"arg", u"arg"}, {"det", u"det"}, {"deg", u"deg"},
    {"Pr", u"Pr"}, {"coth", u"coth"},
    {"min", u"min", SymbolRoleDefault, AscentOnly}, {"max", u"max", SymbolRoleDefault, AscentOnly},
    {"inf", u"inf", SymbolRoleDefault, AscentOnly}, {"sup", u"sup", SymbolRoleDefault, AscentOnly},
    {"liminf", u"liminf", SymbolRoleDefault, AscentOnly},
    {"limsup", u"limsup", SymbolRoleDefault, AscentOnly},
    {"lim", u"lim", SymbolRoleDefault, AscentOnly}, {"erf", u"erf", SymbolRoleDefault, AscentOnly},
    {"degree", u"\u00B0"}, {"ii", u"i"}, {"dd", u"d"}, {"", u" "},
};

const Row unicodeRows[] = {
    // Greek in the environment's font, upright.
    {"alpha", u"\u03B1"}, {"beta", u"\u03B2"}, {"gamma", u"\u03B3"}, {"delta", u"\u03B4"},
    {"epsilon", u"\u03B5"}, {"varepsilon", u"\u03B5"}, {"zeta", u"\u03B6"}, {"eta", u"\u03B7"},
    {"theta", u"\u03B8"}, {"vartheta", u"\u03D1"}, {"iota", u"\u03B9"}, {"kappa", u"\u03BA"},
    {"lambda", u"\u03BB"}, {"mu", u"\u03BC"}, {"nu", u"\u03BD"}, {"xi", u"\u03BE"},
    {"pi", u"\u03C0"}, {"varpi", u"\u03D6"}, {"rho", u"\u03C1"}, {"varrho", u"\u03F1"},
    {"sigma", u"\u03C3"}, {"varsigma", u"\u03C2"}, {"tau", u"\u03C4"}, {"upsilon", u"\u03C5"},
    {"phi", u"\u03D5"}, {"varphi", u"\u03C6"}, {"chi", u"\u03C7"}, {"psi", u"\u03C8"},
    {"omega", u"\u03C9"}, {"Omega", u"\u03A9"}, {"Gamma", u"\u0393"}, {"Delta", u"\u0394"},
    {"Theta", u"\u0398"}, {"Lambda", u"\u039B"}, {"Xi", u"\u039E"}, {"Pi", u"\u03A0"},
    {"Sigma", u"\u03A3"}, {"Upsilon", u"\u03A5"}, {"Phi", u"\u03A6"}, {"Psi", u"\u03A8"},
    // Everything else in the symbol family.
    {"leftrightarrow", u"\u2194", SymbolRoleSymbol}, {"leftarrow", u"\u2190", SymbolRoleSymbol},
    {"rightarrow", u"\u2192", SymbolRoleSymbol}, {"to", u"\u2192", SymbolRoleSymbol},
    {"uparrow", u"\u2191", SymbolRoleSymbol}, {"downarrow", u"\u2193", SymbolRoleSymbol},
    {"updownarrow", u"\u2195", SymbolRoleSymbol}, {"Leftrightarrow", u"\u21D4", SymbolRoleSymbol},
    {"iff", u"\u21D4", SymbolRoleSymbol}, {"Leftarrow", u"\u21D0", SymbolRoleSymbol},
    {"Rightarrow", u"\u21D2", SymbolRoleSymbol}, {"Uparrow", u"\u21D1", SymbolRoleSymbol},
    {"Downarrow", u"\u21D3", SymbolRoleSymbol}, {"Updownarrow", u"\u21D5", SymbolRoleSymbol},
    {"sum", u"\u2211", SymbolRoleSymbol, BigOperator},
    {"prod", u"\u220F", SymbolRoleSymbol, BigOperator},
    {"pm", u"\u00B1", SymbolRoleSymbol}, {"mp", u"\u2213", SymbolRoleSymbol},
    {"leq", u"\u2264", SymbolRoleSymbol}, {"geq", u"\u2265", SymbolRoleSymbol},
    {"le", u"\u2264", SymbolRoleSymbol}, {"ge", u"\u2265", SymbolRoleSymbol},
    {"|", u"\u2016", SymbolRoleSymbol}, // LaTeX's \| is one double bar
    {"ll", u"\u226A", SymbolRoleSymbol}, {"gg", u"\u226B", SymbolRoleSymbol},
    {"hbar", u"\u210F", SymbolRoleSymbol}, {"euro", u"\u20AC", SymbolRoleSymbol},
    {"bbC", u"\u2102", SymbolRoleSymbol}, {"bbH", u"\u210D", SymbolRoleSymbol},
    {"bbN", u"\u2115", SymbolRoleSymbol}, {"bbP", u"\u2119", SymbolRoleSymbol},
    {"bbQ", u"\u211A", SymbolRoleSymbol}, {"bbR", u"\u211D", SymbolRoleSymbol},
    {"bbZ", u"\u2124", SymbolRoleSymbol}, {"Angstrom", u"\u212B", SymbolRoleSymbol},
    {"Alef", u"\u2135", SymbolRoleSymbol}, {"alef", u"\u2135", SymbolRoleSymbol},
    {"Bet", u"\u2136", SymbolRoleSymbol}, {"bet", u"\u2136", SymbolRoleSymbol},
    {"Gimel", u"\u2137", SymbolRoleSymbol}, {"gimel", u"\u2137", SymbolRoleSymbol},
    {"Dalet", u"\u2138", SymbolRoleSymbol}, {"dalet", u"\u2138", SymbolRoleSymbol},
    {"nexists", u"\u2204", SymbolRoleSymbol}, {"ni", u"\u220B", SymbolRoleSymbol},
    {"notni", u"\u220C", SymbolRoleSymbol}, {"circ", u"\u2218", SymbolRoleSymbol},
    {"tilde", u"\u223C", SymbolRoleSymbol},
    {"iint", u"\u222C", SymbolRoleSymbol, BigOperator},
    {"iiint", u"\u222D", SymbolRoleSymbol, BigOperator},
    {"oint", u"\u222E", SymbolRoleSymbol, BigOperator},
    {"oiint", u"\u222F", SymbolRoleSymbol, BigOperator},
    {"oiiint", u"\u2230", SymbolRoleSymbol, BigOperator},
    {"emptyset", u"\u2300", SymbolRoleSymbol}, {"varnothing", u"\u2300", SymbolRoleSymbol},
    {"odot", u"\u2299", SymbolRoleSymbol}, {"ominus", u"\u2296", SymbolRoleSymbol},
    {"lceil", u"\u2308", SymbolRoleSymbol}, {"rceil", u"\u2309", SymbolRoleSymbol},
    {"lfloor", u"\u230A", SymbolRoleSymbol}, {"rfloor", u"\u230B", SymbolRoleSymbol},
    {"subsetnot", u"\u2284", SymbolRoleSymbol}, {"DC", u"\u2393", SymbolRoleSymbol},
    {"bot", u"\u22A5", SymbolRoleSymbol}, {"cdots", u"\u00B7\u00B7\u00B7", SymbolRoleSymbol},
    {"vdots", u"\u22EE", SymbolRoleSymbol}, {"iddots", u"\u22F0", SymbolRoleSymbol},
    {"ddots", u"\u22F1", SymbolRoleSymbol}, {"dots", u"...", SymbolRoleSymbol},
    {"ldots", u"...", SymbolRoleSymbol}, {"perthousand", u"\u2030", SymbolRoleSymbol},
    {"leftharpoonup", u"\u21BC", SymbolRoleSymbol}, {"rightharpoonup", u"\u21C0", SymbolRoleSymbol},
    {"upharpoonleft", u"\u21BF", SymbolRoleSymbol}, {"downharpoonleft", u"\u21C3", SymbolRoleSymbol},
    {"leftrightharpoon", u"\u21CB", SymbolRoleSymbol},
    {"rightleftharpoon", u"\u21CC", SymbolRoleSymbol},
    {"coprod", u"\u2210", SymbolRoleSymbol, BigOperator},
    {"leftharpoondown", u"\u21BD", SymbolRoleSymbol},
    {"rightharpoondown", u"\u21C1", SymbolRoleSymbol},
    {"upharpoonright", u"\u21BE", SymbolRoleSymbol},
    {"downharpoonright", u"\u21C2", SymbolRoleSymbol},
    {"nwarrow", u"\u2196", SymbolRoleSymbol}, {"nearrow", u"\u2197", SymbolRoleSymbol},
    {"searrow", u"\u2198", SymbolRoleSymbol}, {"swarrow", u"\u2199", SymbolRoleSymbol},
    {"mapsto", u"\u21A6", SymbolRoleSymbol}, {"cent", u"\u00A2", SymbolRoleSymbol},
    {"pound", u"\u00A3", SymbolRoleSymbol}, {"yen", u"\u00A5", SymbolRoleSymbol},
    {"div", u"\u00F7", SymbolRoleSymbol}, {"multimap", u"\u22B8", SymbolRoleSymbol},
    {"maporiginal", u"\u22B6", SymbolRoleSymbol}, {"mapimage", u"\u22B7", SymbolRoleSymbol},
    {"bigcap", u"\u22C2", SymbolRoleSymbol, BigOperator},
    {"bigcup", u"\u22C3", SymbolRoleSymbol, BigOperator},
    {"bigvee", u"\u22C1", SymbolRoleSymbol, BigOperator},
    {"bighat", u"\u22C0", SymbolRoleSymbol, BigOperator},
    {"benzene", u"\u232C", SymbolRoleSymbol}, {"times", u"\u2A2F", SymbolRoleSymbol},
    {"propto", u"\u221D", SymbolRoleSymbol}, {"partial", u"\u2202", SymbolRoleSymbol},
    {"bullet", u"\u2219", SymbolRoleSymbol}, {"neq", u"\u2260", SymbolRoleSymbol},
    {"ne", u"\u2260", SymbolRoleSymbol}, {"equiv", u"\u2261", SymbolRoleSymbol},
    {"approx", u"\u2248", SymbolRoleSymbol}, // almost equal; U+2245 is \cong
    {"ellipsis", u"\u2026", SymbolRoleSymbol},
    {"Im", u"\u2111", SymbolRoleSymbol}, {"Re", u"\u211C", SymbolRoleSymbol},
    {"otimes", u"\u2297", SymbolRoleSymbol}, {"oplus", u"\u2295", SymbolRoleSymbol},
    {"oslash", u"\u2298", SymbolRoleSymbol}, {"cap", u"\u2229", SymbolRoleSymbol},
    {"land", u"\u2229", SymbolRoleSymbol}, {"cup", u"\u222A", SymbolRoleSymbol},
    {"lor", u"\u222A", SymbolRoleSymbol}, {"supset", u"\u2283", SymbolRoleSymbol},
    {"supseteq", u"\u2287", SymbolRoleSymbol}, {"supsetnot", u"\u2285", SymbolRoleSymbol},
    {"subset", u"\u2282", SymbolRoleSymbol}, {"subseteq", u"\u2286", SymbolRoleSymbol},
    {"in", u"\u2208", SymbolRoleSymbol}, {"notin", u"\u2209", SymbolRoleSymbol},
    {"angle", u"\u2221", SymbolRoleSymbol}, {"nabla", u"\u2207", SymbolRoleSymbol},
    {"copyright", u"\u00A9", SymbolRoleSymbol}, {"registered", u"\u00AE", SymbolRoleSymbol},
    {"trademark", u"\u2122", SymbolRoleSymbol}, {"cdot", u"\u00B7", SymbolRoleSymbol},
    {"neg", u"\u00AC", SymbolRoleSymbol}, {"wedge", u"\u2227", SymbolRoleSymbol},
    {"vee", u"\u2228", SymbolRoleSymbol}, {"langle", u"\u2329", SymbolRoleSymbol},
    {"rangle", u"\u232A", SymbolRoleSymbol},
    {"int", u"\u222B", SymbolRoleSymbol, BigOperator},
    {"infty", u"\u221E", SymbolRoleSymbol}, {"forall", u"\u2200", SymbolRoleSymbol},
    {"exists", u"\u2203", SymbolRoleSymbol}, {"cong", u"\u2245", SymbolRoleSymbol},
};

// Codes of the Windows Symbol font layout.
const Row winSymbolRows[] = {
    {"alpha", u"a", SymbolRoleGreek}, {"beta", u"b", SymbolRoleGreek},
    {"gamma", u"g", SymbolRoleGreek}, {"delta", u"d", SymbolRoleGreek},
    {"epsilon", u"e", SymbolRoleGreek}, {"varepsilon", u"e", SymbolRoleGreek},
    {"zeta", u"z", SymbolRoleGreek}, {"eta", u"h", SymbolRoleGreek},
    {"theta", u"q", SymbolRoleGreek}, {"vartheta", u"J", SymbolRoleGreek},
    {"iota", u"i", SymbolRoleGreek}, {"kappa", u"k", SymbolRoleGreek},
    {"lambda", u"l", SymbolRoleGreek}, {"mu", u"m", SymbolRoleGreek},
    {"nu", u"n", SymbolRoleGreek}, {"xi", u"x", SymbolRoleGreek},
    {"pi", u"p", SymbolRoleGreek}, {"varpi", u"v", SymbolRoleGreek},
    {"rho", u"r", SymbolRoleGreek}, {"sigma", u"s", SymbolRoleGreek},
    {"varsigma", u"V", SymbolRoleGreek}, {"tau", u"t", SymbolRoleGreek},
    {"upsilon", u"u", SymbolRoleGreek}, {"phi", u"f", SymbolRoleGreek},
    {"varphi", u"j", SymbolRoleGreek}, {"chi", u"c", SymbolRoleGreek},
    {"psi", u"y", SymbolRoleGreek}, {"omega", u"w", SymbolRoleGreek},
    {"Gamma", u"G", SymbolRoleGreek}, {"Delta", u"D", SymbolRoleGreek},
    {"Theta", u"Q", SymbolRoleGreek}, {"Lambda", u"L", SymbolRoleGreek},
    {"Omega", u"W", SymbolRoleGreek}, {"Xi", u"X", SymbolRoleGreek},
    {"Pi", u"P", SymbolRoleGreek}, {"Sigma", u"S", SymbolRoleGreek},
    {"sum", u"S", SymbolRoleGreek, BigOperator},
    {"prod", u"P", SymbolRoleGreek, BigOperator},
    {"Upsilon", u"", SymbolRoleGreek}, {"Phi", u"F", SymbolRoleGreek},
    {"Psi", u"Y", SymbolRoleGreek},
    {"leftrightarrow", u"\u00AB", SymbolRoleSymbol}, {"leftarrow", u"\u00AC", SymbolRoleSymbol},
    {"rightarrow", u"\u00AE", SymbolRoleSymbol}, {"to", u"\u00AE", SymbolRoleSymbol},
    {"uparrow", u"\u00AD", SymbolRoleSymbol}, {"downarrow", u"\u00AF", SymbolRoleSymbol},
    {"Leftrightarrow", u"\u00DB", SymbolRoleSymbol}, {"iff", u"\u00DB", SymbolRoleSymbol},
    {"Leftarrow", u"\u00DC", SymbolRoleSymbol}, {"Rightarrow", u"\u00DE", SymbolRoleSymbol},
    {"Uparrow", u"\u00DD", SymbolRoleSymbol}, {"Downarrow", u"\u00FF", SymbolRoleSymbol},
    {"pm", u"\u00B1", SymbolRoleSymbol}, {"leq", u"\u00A3", SymbolRoleSymbol},
    {"le", u"\u00A3", SymbolRoleSymbol}, {"ge", u"\u00B3", SymbolRoleSymbol},
    {"geq", u"\u00B3", SymbolRoleSymbol}, {"times", u"\u00B4", SymbolRoleSymbol},
    {"propto", u"\u00B5", SymbolRoleSymbol}, {"partial", u"\u00B6", SymbolRoleSymbol},
    {"bullet", u"\u00B7", SymbolRoleSymbol}, {"neq", u"\u00B9", SymbolRoleSymbol},
    {"ne", u"\u00B9", SymbolRoleSymbol}, {"equiv", u"\u00BA", SymbolRoleSymbol},
    {"approx", u"\u00BB", SymbolRoleSymbol}, {"ellipsis", u"\u00BC", SymbolRoleSymbol},
    {"Im", u"\u00C1", SymbolRoleSymbol}, {"Re", u"\u00C2", SymbolRoleSymbol},
    {"otimes", u"\u00C4", SymbolRoleSymbol}, {"oplus", u"\u00C5", SymbolRoleSymbol},
    {"oslash", u"\u00C6", SymbolRoleSymbol}, {"cap", u"\u00C7", SymbolRoleSymbol},
    {"land", u"\u00C7", SymbolRoleSymbol}, {"cup", u"\u00C8", SymbolRoleSymbol},
    {"lor", u"\u00C8", SymbolRoleSymbol}, {"supset", u"\u00C9", SymbolRoleSymbol},
    {"supseteq", u"\u00CA", SymbolRoleSymbol}, {"supsetnot", u"\u00CB", SymbolRoleSymbol},
    {"subset", u"\u00CC", SymbolRoleSymbol}, {"subseteq", u"\u00CD", SymbolRoleSymbol},
    {"in", u"\u00CE", SymbolRoleSymbol}, {"notin", u"\u00CF", SymbolRoleSymbol},
    {"angle", u"\u00D0", SymbolRoleSymbol}, {"nabla", u"\u00D1", SymbolRoleSymbol},
    {"copyright", u"\u00D3", SymbolRoleSymbol}, {"registered", u"\u00D2", SymbolRoleSymbol},
    {"trademark", u"\u00D4", SymbolRoleSymbol}, {"cdot", u"\u00D7", SymbolRoleSymbol},
    {"neg", u"\u00D8", SymbolRoleSymbol}, {"wedge", u"\u00D9", SymbolRoleSymbol},
    {"vee", u"\u00DA", SymbolRoleSymbol}, {"diamond", u"\u00E0", SymbolRoleSymbol},
    {"langle", u"\u00E1", SymbolRoleSymbol}, {"rangle", u"\u00F1", SymbolRoleSymbol},
    {"int", u"\u00F2", SymbolRoleSymbol, NoFlag},
    {"forall", u"\"", SymbolRoleSymbol}, {"exists", u"$", SymbolRoleSymbol},
    {"cong", u"@", SymbolRoleSymbol}, {"bot", u"^", SymbolRoleSymbol},
    {"ll", u"<<", SymbolRoleSymbol}, {"gg", u">>", SymbolRoleSymbol},
    {"bbC", u"C", SymbolRoleSymbol, ForceBold}, {"bbH", u"H", SymbolRoleSymbol, ForceBold},
    {"bbN", u"N", SymbolRoleSymbol, ForceBold}, {"bbP", u"P", SymbolRoleSymbol, ForceBold},
    {"bbQ", u"Q", SymbolRoleSymbol, ForceBold}, {"bbR", u"R", SymbolRoleSymbol, ForceBold},
    {"bbZ", u"Z", SymbolRoleSymbol, ForceBold},
    {"Alef", u"\u00C0", SymbolRoleSymbol}, {"alef", u"\u00C0", SymbolRoleSymbol},
    {"tilde", u"~", SymbolRoleSymbol},
    {"iint", u"\u00F2\u00F2", SymbolRoleSymbol, NoFlag},
    {"iiint", u"\u00F2\u00F2\u00F2", SymbolRoleSymbol, NoFlag},
    {"emptyset", u"\u00C6", SymbolRoleSymbol}, {"varnothing", u"\u00C6", SymbolRoleSymbol},
    {"lceil", u"\u00E9", SymbolRoleSymbol}, {"rceil", u"\u00F9", SymbolRoleSymbol},
    {"lfloor", u"\u00EB", SymbolRoleSymbol}, {"rfloor", u"\u00FB", SymbolRoleSymbol},
    {"subsetnot", u"\u00CB", SymbolRoleSymbol}, {"DC", u"=", SymbolRoleSymbol},
    {"cdots", u"\u00D7\u00D7\u00D7", SymbolRoleSymbol}, {"dots", u"\u00DC", SymbolRoleSymbol},
    {"ldots", u"\u00DC", SymbolRoleSymbol}, {"cent", u"c", SymbolRoleSymbol},
    {"bigcap", u"\u00C7", SymbolRoleSymbol, NoFlag},
    {"bigcup", u"\u00C8", SymbolRoleSymbol, NoFlag},
    {"bigvee", u"\u00DA", SymbolRoleSymbol, NoFlag},
    {"bighat", u"\u00D9", SymbolRoleSymbol, NoFlag},
};

// Positions in the TeX font layouts (OT1 text, OML math italic, OMS math
// symbols, OMX extension). Codes below 33 are moved by texCode(), as the
// TrueType conversions of these fonts do, since those slots are control codes.
const TexRow texRows[] = {
    {"_", u'_'}, {"}", u'}'}, {"{", u'{'}, {"backslash", u'\\'}, {"$", u'$'}, {"%", u'%'},
    {"&", u'&'}, {"#", u'#'}, {"ast", u'*'}, {"glq", u'`'}, {"grq", u'\''},
    {"glqq", 0x5C}, {"grqq", 0x22},
    {"Gamma", 0x00, SymbolRoleGreek}, {"Delta", 0x01, SymbolRoleGreek},
    {"Theta", 0x02, SymbolRoleGreek}, {"Lambda", 0x03, SymbolRoleGreek},
    {"Xi", 0x04, SymbolRoleGreek}, {"Pi", 0x05, SymbolRoleGreek},
    {"Sigma", 0x06, SymbolRoleGreek}, {"Upsilon", 0x07, SymbolRoleGreek},
    {"Phi", 0x08, SymbolRoleGreek}, {"Psi", 0x09, SymbolRoleGreek},
    {"Omega", 0x0A, SymbolRoleGreek}, {"alpha", 0x0B, SymbolRoleGreek},
    {"beta", 0x0C, SymbolRoleGreek}, {"gamma", 0x0D, SymbolRoleGreek},
    {"delta", 0x0E, SymbolRoleGreek}, {"epsilon", 0x0F, SymbolRoleGreek},
    {"zeta", 0x10, SymbolRoleGreek}, {"eta", 0x11, SymbolRoleGreek},
    {"theta", 0x12, SymbolRoleGreek}, {"iota", 0x13, SymbolRoleGreek},
    {"kappa", 0x14, SymbolRoleGreek}, {"lambda", 0x15, SymbolRoleGreek},
    {"mu", 0x16, SymbolRoleGreek}, {"nu", 0x17, SymbolRoleGreek},
    {"xi", 0x18, SymbolRoleGreek}, {"pi", 0x19, SymbolRoleGreek},
    {"rho", 0x1A, SymbolRoleGreek}, {"sigma", 0x1B, SymbolRoleGreek},
    {"tau", 0x1C, SymbolRoleGreek}, {"upsilon", 0x1D, SymbolRoleGreek},
    {"phi", 0x1E, SymbolRoleGreek}, {"chi", 0x1F, SymbolRoleGreek},
    {"psi", 0x20, SymbolRoleGreek}, {"omega", 0x21, SymbolRoleGreek},
    {"varepsilon", 0x22, SymbolRoleGreek}, {"vartheta", 0x23, SymbolRoleGreek},
    {"varpi", 0x24, SymbolRoleGreek}, {"varrho", 0x25, SymbolRoleGreek},
    {"varsigma", 0x26, SymbolRoleGreek}, {"varphi", 0x27, SymbolRoleGreek},
    {"leftharpoonup", 0x28, SymbolRoleGreek}, {"leftharpoondown", 0x29, SymbolRoleGreek},
    {"rightharpoonup", 0x2A, SymbolRoleGreek},
    {"rightharpoondown", 0x2B, SymbolRoleGreek}, {"star", 0x3F, SymbolRoleGreek},
    // The math italic font has no negation sign: it is taken from the symbols.
    {"neg", 0x3A, SymbolRoleSymbol},
    {"leftrightarrow", 0x24, SymbolRoleSymbol}, {"leftarrow", 0x20, SymbolRoleSymbol},
    {"rightarrow", 0x21, SymbolRoleSymbol}, {"to", 0x21, SymbolRoleSymbol},
    {"uparrow", 0x22, SymbolRoleSymbol}, {"downarrow", 0x23, SymbolRoleSymbol},
    {"updownarrow", 0x6C, SymbolRoleSymbol}, {"Leftrightarrow", 0x2C, SymbolRoleSymbol},
    {"iff", 0x2C, SymbolRoleSymbol}, {"Leftarrow", 0x28, SymbolRoleSymbol},
    {"Rightarrow", 0x29, SymbolRoleSymbol}, {"Uparrow", 0x2A, SymbolRoleSymbol},
    {"Downarrow", 0x2B, SymbolRoleSymbol}, {"Updownarrow", 0x6D, SymbolRoleSymbol},
    {"nearrow", 0x25, SymbolRoleSymbol}, {"searrow", 0x26, SymbolRoleSymbol},
    {"nwarrow", 0x2D, SymbolRoleSymbol}, {"swarrow", 0x2E, SymbolRoleSymbol},
    {"pm", 0x06, SymbolRoleSymbol}, {"mp", 0x07, SymbolRoleSymbol},
    {"cdot", 0x01, SymbolRoleSymbol}, {"times", 0x02, SymbolRoleSymbol},
    {"div", 0x04, SymbolRoleSymbol}, {"odiv", 0x04, SymbolRoleSymbol},
    {"diamond", 0x05, SymbolRoleSymbol}, {"oplus", 0x08, SymbolRoleSymbol},
    {"ominus", 0x09, SymbolRoleSymbol}, {"otimes", 0x0A, SymbolRoleSymbol},
    {"oslash", 0x0B, SymbolRoleSymbol}, {"odot", 0x0C, SymbolRoleSymbol},
    {"circ", 0x0E, SymbolRoleSymbol}, {"bullet", 0x0F, SymbolRoleSymbol},
    {"equiv", 0x11, SymbolRoleSymbol}, {"subseteq", 0x12, SymbolRoleSymbol},
    {"supseteq", 0x13, SymbolRoleSymbol}, {"leq", 0x14, SymbolRoleSymbol}, {"le", 0x14, SymbolRoleSymbol},
    {"ge", 0x15, SymbolRoleSymbol},
    {"geq", 0x15, SymbolRoleSymbol}, {"sim", 0x18, SymbolRoleSymbol},
    {"tilde", 0x18, SymbolRoleSymbol}, {"approx", 0x19, SymbolRoleSymbol},
    {"subset", 0x1A, SymbolRoleSymbol}, {"supset", 0x1B, SymbolRoleSymbol},
    {"ll", 0x1C, SymbolRoleSymbol}, {"gg", 0x1D, SymbolRoleSymbol},
    {"propto", 0x2F, SymbolRoleSymbol}, {"infty", 0x31, SymbolRoleSymbol},
    {"in", 0x32, SymbolRoleSymbol}, {"ni", 0x33, SymbolRoleSymbol},
    {"forall", 0x38, SymbolRoleSymbol}, {"exists", 0x39, SymbolRoleSymbol},
    {"emptyset", 0x3B, SymbolRoleSymbol}, {"varnothing", 0x3B, SymbolRoleSymbol},
    {"Re", 0x3C, SymbolRoleSymbol}, {"Im", 0x3D, SymbolRoleSymbol},
    {"top", 0x3E, SymbolRoleSymbol}, {"bot", 0x3F, SymbolRoleSymbol},
    {"alef", 0x40, SymbolRoleSymbol}, {"Alef", 0x40, SymbolRoleSymbol},
    {"cup", 0x5B, SymbolRoleSymbol}, {"lor", 0x5B, SymbolRoleSymbol},
    {"cap", 0x5C, SymbolRoleSymbol}, {"land", 0x5C, SymbolRoleSymbol},
    {"wedge", 0x5E, SymbolRoleSymbol}, {"vee", 0x5F, SymbolRoleSymbol},
    {"lfloor", 0x62, SymbolRoleSymbol}, {"rfloor", 0x63, SymbolRoleSymbol},
    {"lceil", 0x64, SymbolRoleSymbol}, {"rceil", 0x65, SymbolRoleSymbol},
    {"langle", 0x68, SymbolRoleSymbol}, {"rangle", 0x69, SymbolRoleSymbol},
    {"nabla", 0x72, SymbolRoleSymbol}, {"partial", 0x40, SymbolRoleGreek},
    {"int", 0x73, SymbolRoleSymbol, NoFlag},
    {"bigcap", 0x54, SymbolRoleBraces, BigOperator},
    {"bigcup", 0x53, SymbolRoleBraces, BigOperator},
    {"bigvee", 0x57, SymbolRoleBraces, BigOperator},
    {"bighat", 0x56, SymbolRoleBraces, BigOperator},
    {"coprod", 0x60, SymbolRoleBraces, BigOperator},
    {"sum", 0x50, SymbolRoleBraces, BigOperator},
    {"prod", 0x51, SymbolRoleBraces, BigOperator},
    {"oint", 0x48, SymbolRoleBraces, NoFlag},
    {"iint", 0x52, SymbolRoleBraces, NoFlag, 2},
    {"iiint", 0x52, SymbolRoleBraces, NoFlag, 3},
};

// Escaped characters, in every encoding, after the table of the encoding.
const Row specialRows[] = {
    {"_", u"_", SymbolRoleDefault, ForceNormal}, {"}", u"}", SymbolRoleDefault, ForceNormal},
    {"{", u"{", SymbolRoleDefault, ForceNormal}, {"$", u"$", SymbolRoleDefault, ForceNormal},
    {"%", u"%", SymbolRoleDefault, ForceNormal}, {"&", u"&", SymbolRoleDefault, ForceNormal},
    {"#", u"#", SymbolRoleDefault, ForceNormal}, {"ast", u"*", SymbolRoleDefault, ForceNormal},
    {"backslash", u"\\", SymbolRoleDefault, KeepStyle},
};

const Row unicodeSpecialRows[] = {
    {"glq", u"\u2018", SymbolRoleDefault, KeepStyle}, {"grq", u"\u2019", SymbolRoleDefault, KeepStyle},
    {"glqq", u"\u201C", SymbolRoleDefault, KeepStyle}, {"grqq", u"\u201D", SymbolRoleDefault, KeepStyle},
    {"flq", u"\u2039", SymbolRoleDefault, KeepStyle}, {"frq", u"\u203A", SymbolRoleDefault, KeepStyle},
};

const Row winSymbolSpecialRows[] = {
    {"hbar", u"h", SymbolRoleDefault, ForceNormal | DrawBar},
    {"cent", u"\u00A2", SymbolRoleDefault, ForceNormal},
    {"pound", u"\u00A3", SymbolRoleDefault, ForceNormal},
    {"yen", u"\u00A5", SymbolRoleDefault, ForceNormal},
    {"div", u"\u00F7", SymbolRoleDefault, ForceNormal},
    {"glq", u"'", SymbolRoleDefault, ForceNormal}, {"grq", u"'", SymbolRoleDefault, ForceNormal},
    {"glqq", u"\"", SymbolRoleDefault, ForceNormal}, {"grqq", u"\"", SymbolRoleDefault, ForceNormal},
    {"flq", u"<", SymbolRoleDefault, ForceNormal}, {"frq", u">", SymbolRoleDefault, ForceNormal},
};

// HTML entities of the symbols, for the engine's rich-text output.
const char* const htmlRows[][2] = {
    {"ii", "i"}, {"dd", "d"},
    {"alpha", "&alpha;"}, {"beta", "&beta;"}, {"gamma", "&gamma;"}, {"delta", "&delta;"},
    {"epsilon", "&epsilon;"}, {"varepsilon", "&epsilon;"}, {"zeta", "&zeta;"}, {"eta", "&eta;"},
    {"theta", "&theta;"}, {"vartheta", "&thetasym;"}, {"iota", "&iota;"}, {"kappa", "&kappa;"},
    {"lambda", "&lambda;"}, {"mu", "&mu;"}, {"nu", "&nu;"}, {"xi", "&xi;"}, {"pi", "&pi;"},
    {"varpi", "&piv;"}, {"rho", "&rho;"}, {"sigma", "&sigma;"}, {"varsigma", "&sigmaf;"},
    {"tau", "&tau;"}, {"upsilon", "&upsilon;"}, {"phi", "&phi;"}, {"varphi", "&phi;"},
    {"chi", "&chi;"}, {"psi", "&psi;"}, {"omega", "&omega;"}, {"Gamma", "&Gamma;"},
    {"Delta", "&Delta;"}, {"Theta", "&Theta;"}, {"Lambda", "&Lambda;"}, {"Omega", "&Omega;"},
    {"Xi", "&Xi;"}, {"Pi", "&Pi;"}, {"Sigma", "&Sigma;"}, {"Upsilon", "&Upsilon;"},
    {"Phi", "&Phi;"}, {"Psi", "&Psi;"},
    {"sum", "&sum;"}, {"prod", "&prod;"}, {"leftrightarrow", "&harr;"}, {"leftarrow", "&larr;"},
    {"rightarrow", "&rarr;"}, {"uparrow", "&uarr;"}, {"downarrow", "&darr;"},
    {"Leftrightarrow", "&hArr;"}, {"Leftarrow", "&lArr;"}, {"Rightarrow", "&rArr;"},
    {"Uparrow", "&uArr;"}, {"Downarrow", "&dArr;"}, {"pm", "&plusmn;"}, {"leq", "&le;"}, {"le", "&le;"}, {"ge", "&ge;"},
    {"geq", "&ge;"}, {"times", "&times;"}, {"propto", "&prop;"}, {"partial", "&part;"},
    {"bullet", "&bull;"}, {"neq", "&ne;"}, {"equiv", "&equiv;"}, {"approx", "&asymp;"},
    {"ellipsis", "..."}, {"Im", "&image;"}, {"Re", "&real;"}, {"otimes", "&otimes;"},
    {"oplus", "&oplus;"}, {"oslash", "/"}, {"cap", "&cap;"}, {"cup", "&cup;"},
    {"supset", "&sup;"}, {"supseteq", "&supe;"}, {"supsetnot", "&nsup;"}, {"subset", "&sub;"},
    {"subseteq", "&sube;"}, {"in", "&isin;"}, {"notin", "&notin;"}, {"angle", "&ang;"},
    {"nabla", "&nabla;"}, {"copyright", "&copy;"}, {"registered", "&reg;"},
    {"trademark", "&trade;"}, {"cdot", "&sdot;"}, {"neg", "&not;"}, {"wedge", "&and;"},
    {"vee", "&vee;"}, {"diamond", "&loz;"}, {"langle", "&lang;"}, {"rangle", "&rang;"},
    {"int", "&int;"}, {"forall", "&forall;"}, {"exists", "&exist;"}, {"cong", "&sim;"},
    {"bot", "&perp;"}, {"ll", "<<"}, {"gg", ">>"}, {"bbC", "<b>C</b>"}, {"bbH", "<b>H</b>"},
    {"bbN", "<b>N</b>"}, {"bbP", "<b>P</b>"}, {"bbQ", "<b>Q</b>"}, {"bbR", "<b>R</b>"},
    {"bbZ", "<b>Z</b>"}, {"Alef", "&alefsym;"}, {"tilde", "~"}, {"iint", "&int;&int;"},
    {"iiint", "&int;&int;&int;"}, {"emptyset", "&empty;"}, {"varnothing", "&empty;"},
    {"lceil", "&lceil;"}, {"rceil", "&rceil;"}, {"lfloor", "&lfloor;"}, {"rfloor", "&rfloor;"},
    {"subsetnot", "&nsub;"}, {"DC", "="}, {"cdots", "&sdot;&sdot;&sdot;"}, {"dots", "..."},
    {"cent", "&cent;"}, {"bigcap", "&cap;"}, {"bigcup", "&cup;"}, {"bigvee", "&or;"},
    {"bighat", "&and;"},
    {"_", "_"}, {"}", "}"}, {"{", "{"}, {"hbar", "&#8463;"}, {"euro", "&euro;"},
    {"pound", "&pound;"}, {"yen", "&yen;"}, {"div", "&divide;"}, {"backslash", "\\"},
    {"$", "$"}, {"%", "%"}, {"&", "&"}, {"#", "#"}, {"ast", "*"}, {"glq", "'"}, {"grq", "'"},
    {"glqq", "\""}, {"grqq", "\""}, {"flq", "&lt;"}, {"frq", "&gt;"},
    // Spaces, among them the thin spaces that parse() puts around every
    // formula: without them no parsed formula would have an HTML form.
    {" ", "&nbsp;"}, {";", "&thinsp;"}, {":", "&thinsp;"}, {",", "&thinsp;"}, {"!", ""},
    {"quad", "&emsp;"}, {"qquad", "&emsp;&emsp;"},
};

// Named functions whose HTML is their own name.
const char* const htmlFunctions[] = {
    "sin", "cos", "sinh", "tanh", "atan", "acos", "asin", "arcsin", "arccos", "arctan", "exp",
    "log", "ln", "ld", "lb", "erf", "min", "max", "argmin", "argmax", "inf", "sup", "liminf",
    "limsup", "lim", "sec", "gcd", "hom", "ker", "dim", "cot", "arg", "det", "deg", "Pr", "coth",
};

// TeX's classes of the commands (plain TeX's \mathchardef and \mathop
// definitions); what is not listed is ordinary.
struct MathClassRow
{
    MTatomClass atom;
    std::initializer_list<const char*> names;
};

const MathClassRow mathClassRows[] = {
    {AtomBin, {"pm", "mp", "times", "div", "cdot", "ast", "star", "circ", "bullet", "cap", "cup", "land", "lor",
               "wedge", "vee", "oplus", "ominus", "otimes", "oslash", "odot", "odiv", "diamond", "setminus"}},
    {AtomRel, {"leq", "le", "geq", "ge", "neq", "ne", "ll", "gg", "equiv", "approx", "cong", "sim", "tilde",
               "propto", "in", "notin", "ni", "notni", "subset", "subseteq", "supset", "supseteq", "subsetnot",
               "supsetnot", "mapsto", "to", "rightarrow", "leftarrow", "leftrightarrow", "uparrow", "downarrow",
               "updownarrow", "Rightarrow", "Leftarrow", "Leftrightarrow", "Uparrow", "Downarrow", "Updownarrow",
               "iff", "longleftarrow", "longrightarrow", "Longleftarrow", "Longrightarrow", "longleftrightarrow",
               "Longleftrightarrow", "nearrow", "searrow", "nwarrow", "swarrow", "leftharpoonup",
               "leftharpoondown", "rightharpoonup", "rightharpoondown", "upharpoonleft", "upharpoonright",
               "downharpoonleft", "downharpoonright", "leftrightharpoon", "rightleftharpoon", "multimap",
               "maporiginal", "mapimage"}},
    {AtomOp, {"sum", "prod", "coprod", "bigcap", "bigcup", "bigvee", "bighat", "int", "iint", "iiint", "oint",
              "oiint", "oiiint", "sin", "cos", "tan", "sinh", "cosh", "tanh", "atan", "acos", "asin", "arcsin",
              "arccos", "arctan", "exp", "log", "ln", "ld", "lb", "argmin", "argmax", "sec", "gcd", "hom",
              "ker", "dim", "cot", "arg", "det", "deg", "Pr", "coth", "min", "max", "inf", "sup", "liminf",
              "limsup", "lim", "erf"}},
    {AtomOpen, {"langle", "lceil", "lfloor", "{"}},
    {AtomClose, {"rangle", "rceil", "rfloor", "}"}},
    {AtomInner, {"ldots", "cdots", "dots", "ellipsis"}},
};

// Operators whose indices go under and over them outside scripts.
const char* const stackedLimitRows[] = {
    "sum", "prod", "coprod", "bigcap", "bigcup", "bigvee", "bighat", "lim", "liminf", "limsup", "max", "min",
    "sup", "inf", "argmax", "argmin", "det", "gcd", "Pr",
};

// Heights (ink, in ems) of the big operators of cmex10 in text and in
// display style.
struct BigOperatorRow
{
    const char* name;
    double textHeight, displayHeight;
};

const BigOperatorRow bigOperatorRows[] = {
    {"sum", 1.0, 1.4}, {"prod", 1.0, 1.4}, {"coprod", 1.0, 1.4}, {"bigcap", 1.0, 1.4}, {"bigcup", 1.0, 1.4},
    {"bigvee", 1.0, 1.4}, {"bighat", 1.0, 1.4}, {"int", 1.11, 2.22}, {"iint", 1.11, 2.22},
    {"iiint", 1.11, 2.22}, {"oint", 1.11, 2.22}, {"oiint", 1.11, 2.22}, {"oiiint", 1.11, 2.22},
};

// Spaces in mu: \, \: \; are TeX's thin, medium and thick spaces, \! a
// negative thin one, "\ " the interword space of Computer Modern (6 mu).
struct SpaceRow
{
    const char* name;
    double mu;
};

const SpaceRow spaceRows[] = {
    {" ", 6}, {",", 3}, {":", 4}, {";", 5}, {"!", -3}, {"quad", 18}, {"qquad", 36},
};

// The TrueType conversions of the TeX fonts move the glyphs of codes 0-9 to
// 161-170 and those of 10-32 to 173-195, leaving the control codes empty.
QChar texCode(char16_t code)
{
    if (code <= 9)
        return QChar(ushort(code + 161));
    if (code <= 32)
        return QChar(ushort(code + 163));
    return QChar(code);
}

template <typename R>
MTsymbolProperties properties(const R& row, const QString& text)
{
    MTsymbolProperties p;
    p.symbol = text;
    p.font = row.role;
    p.drawBar = row.flags & DrawBar;
    p.ascentOnlyHeight = row.flags & AscentOnly;
    p.tightAscent = row.flags & Tight;
    if (row.flags & KeepStyle)
        p.italic = 0;
    if (row.flags & ForceBold)
        p.bold = 1;
    if (row.flags & ForceNormal)
        p.bold = -1;
    return p;
}

QString rowText(const Row& row)
{
    return QString::fromUtf16(row.text);
}

QString rowText(const TexRow& row)
{
    return QString(row.count, texCode(row.code));
}

// Adds the rows whose names the table does not hold yet: earlier groups win.
template <typename R, size_t N>
void addRows(Table& table, const R (&rows)[N])
{
    for (const R& row : rows) {
        const QString name = QString::fromLatin1(row.name);
        if (!table.contains(name))
            table.insert(name, properties(row, rowText(row)));
    }
}

Table buildTable(MTencoding encoding)
{
    Table table;
    addRows(table, functionRows);
    switch (encoding) {
    case EncodingUnicode:
        addRows(table, unicodeRows);
        addRows(table, specialRows);
        addRows(table, unicodeSpecialRows);
        break;
    case EncodingWinSymbol:
        addRows(table, winSymbolRows);
        addRows(table, specialRows);
        addRows(table, winSymbolSpecialRows);
        break;
    case EncodingTex:
        addRows(table, texRows);
        addRows(table, specialRows);
        break;
    }
    return table;
}

} // namespace

namespace MTsymbolTables {

const MTsymbolProperties* lookup(MTencoding encoding, const QString& name)
{
    static const Table unicode = buildTable(EncodingUnicode);
    static const Table winSymbol = buildTable(EncodingWinSymbol);
    static const Table tex = buildTable(EncodingTex);
    const Table* table = &winSymbol;
    if (encoding == EncodingUnicode)
        table = &unicode;
    else if (encoding == EncodingTex)
        table = &tex;
    const auto it = table->constFind(name);
    return it == table->constEnd() ? nullptr : &it.value();
}

QString html(const QString& name)
{
    static const QHash<QString, QString> entities = [] {
        QHash<QString, QString> h;
        for (const char* function : htmlFunctions)
            h.insert(QString::fromLatin1(function), QString::fromLatin1(function));
        for (const auto& row : htmlRows)
            h.insert(QString::fromLatin1(row[0]), QString::fromLatin1(row[1]));
        return h;
    }();
    return entities.value(name);
}

const MTsymbolMath& math(const QString& name)
{
    static const QHash<QString, MTsymbolMath> table = [] {
        QHash<QString, MTsymbolMath> t;
        const auto add = [&t](MTatomClass atom, std::initializer_list<const char*> names) {
            for (const char* n : names)
                t[QLatin1String(n)].atom = atom;
        };
        for (const auto& row : mathClassRows)
            add(row.atom, row.names);
        for (const char* n : stackedLimitRows)
            t[QLatin1String(n)].limits = LimitsOutsideScripts;
        for (const BigOperatorRow& row : bigOperatorRows) {
            t[QLatin1String(row.name)].textHeight = row.textHeight;
            t[QLatin1String(row.name)].displayHeight = row.displayHeight;
        }
        for (const SpaceRow& row : spaceRows) {
            t[QLatin1String(row.name)].atom = AtomNone;
            t[QLatin1String(row.name)].space = row.mu;
        }
        return t;
    }();
    static const MTsymbolMath ordinary;
    const auto it = table.constFind(name);
    return it == table.constEnd() ? ordinary : *it;
}

} // namespace MTsymbolTables
