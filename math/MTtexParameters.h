#ifndef MTTEXPARAMETERS_H
#define MTTEXPARAMETERS_H

// The font dimensions that TeX's math layout reads (The TeXbook, Appendix G),
// in ems, with the values of Computer Modern (cmsy10 and cmex10), which
// suit the XITS fonts as well: their x-height and math axis are close.
namespace MTtex {

// Family 2 (math symbols).
constexpr double num1 = 0.677;  // numerator shift in display style
constexpr double num2 = 0.394;  // numerator shift in smaller styles, with a bar
constexpr double num3 = 0.444;  // numerator shift in smaller styles, without a bar
constexpr double denom1 = 0.686; // denominator shift in display style
constexpr double denom2 = 0.345; // denominator shift in smaller styles
constexpr double sup1 = 0.413;  // superscript shift in display style
constexpr double sup2 = 0.363;  // superscript shift in other uncramped styles
constexpr double sup3 = 0.289;  // superscript shift in cramped styles
constexpr double sub1 = 0.150;  // subscript shift without superscript
constexpr double sub2 = 0.247;  // subscript shift with a superscript
constexpr double supDrop = 0.386; // superscript baseline below a box's top, in the script's em
constexpr double subDrop = 0.050; // subscript baseline below a box's bottom, in the script's em

// Family 3 (math extension).
constexpr double defaultRuleThickness = 0.04; // the unit of TeX's clearances
constexpr double bigOpSpacing1 = 0.111; // least clearance above an operator to its upper limit
constexpr double bigOpSpacing2 = 0.167; // least clearance below an operator to its lower limit
constexpr double bigOpSpacing3 = 0.200; // least distance of the upper limit's baseline above the operator
constexpr double bigOpSpacing4 = 0.600; // least distance of the lower limit's top below the operator

// Plain TeX's parameters.
constexpr double scriptSpace = 0.05;       // \scriptspace: after a script
constexpr double nullDelimiterSpace = 0.12; // \nulldelimiterspace: each side of a fraction
constexpr double delimiterFactor = 0.901;  // \delimiterfactor: a \left bracket covers 90% ...
constexpr double delimiterShortfall = 0.5; // ... or all but \delimitershortfall of its content

} // namespace MTtex

#endif // MTTEXPARAMETERS_H
