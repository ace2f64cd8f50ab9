#include "math/MTstyle.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

QString MTstyle::family(const VelQTmathText* parent) const
{
    switch (font) {
    case StyleRoman:
        return insideMath ? parent->getFontMathRoman() : parent->getFontRoman();
    case StyleSans:
        return insideMath ? parent->getFontMathSans() : parent->getFontSans();
    case StyleTypewriter:
        return parent->getFontTypewriter();
    case StyleScript:
        return parent->getFontScript();
    case StyleBlackboard:
        return parent->getFontBlackboard();
    case StyleCaligraphic:
        return parent->getFontCaligraphic();
    }
    return QString();
}

QFont MTstyle::getFont(const VelQTmathText* parent) const
{
    return parent->font(family(parent), *this);
}

namespace {

// The size of a style relative to the text size.
double relativeSize(MTmathStyle style, double scriptFactor)
{
    switch (style) {
    case MathDisplay:
    case MathText:
        return 1;
    case MathScript:
        return scriptFactor;
    case MathScriptScript:
        return scriptFactor * scriptFactor;
    }
    return 1;
}

MTmathStyle scriptOf(MTmathStyle style)
{
    return style <= MathText ? MathScript : MathScriptScript;
}

MTmathStyle fractionPartOf(MTmathStyle style)
{
    return style == MathDisplay ? MathText : scriptOf(style);
}

} // namespace

MTstyle MTstyle::inMathStyle(MTmathStyle style, bool crampedStyle, const VelQTmathText* parent) const
{
    const double factor = MTlayout::safeDivisor(parent->getSubsuperSizeFactor());
    MTstyle result = MTlayout::scaled(*this, relativeSize(style, factor) / relativeSize(mathStyle, factor));
    result.mathStyle = style;
    result.cramped = crampedStyle;
    return result;
}

MTstyle MTstyle::superscriptStyle(const VelQTmathText* parent) const
{
    return inMathStyle(scriptOf(mathStyle), cramped, parent);
}

MTstyle MTstyle::subscriptStyle(const VelQTmathText* parent) const
{
    return inMathStyle(scriptOf(mathStyle), true, parent);
}

MTstyle MTstyle::numeratorStyle(const VelQTmathText* parent) const
{
    return inMathStyle(fractionPartOf(mathStyle), cramped, parent);
}

MTstyle MTstyle::denominatorStyle(const VelQTmathText* parent) const
{
    return inMathStyle(fractionPartOf(mathStyle), true, parent);
}

MTstyle MTstyle::crampedStyle() const
{
    MTstyle result = *this;
    result.cramped = true;
    return result;
}

bool MTstyle::operator==(const MTstyle& other) const
{
    return color == other.color && font == other.font && fontSize == other.fontSize && bold == other.bold
        && italic == other.italic && smallCaps == other.smallCaps && underlined == other.underlined
        && overline == other.overline && strike == other.strike && insideMath == other.insideMath
        && mathStyle == other.mathStyle && cramped == other.cramped;
}

QString MTstyle::htmlOpen(const MTstyle& defaultEv) const
{
    QString style = QLatin1String("font-size: ") + QString::number(fontSize, 'g', 6) + QLatin1String("pt; ");
    // Math letters are italic by default, so inside math the sense is turned round.
    if (insideMath) {
        if (defaultEv.italic)
            style += italic ? QLatin1String("font-style: normal; ") : QLatin1String("font-style: italic; ");
        else if (!italic)
            style += QLatin1String("font-style: italic; ");
    } else if (italic && !defaultEv.italic) {
        style += QLatin1String("font-style: italic; ");
    }
    if (bold && !defaultEv.bold)
        style += QLatin1String("font-weight: bold");
    QStringList decorations;
    if (underlined && !defaultEv.underlined)
        decorations << QStringLiteral("underline");
    if (overline && !defaultEv.overline)
        decorations << QStringLiteral("overline");
    if (strike && !defaultEv.strike)
        decorations << QStringLiteral("line-through");
    if (!decorations.isEmpty())
        style += QLatin1String("text-decoration: ") + decorations.join(QLatin1String(", "));
    return QLatin1String("<span style=\"") + style + QLatin1String("\">");
}

QString MTstyle::htmlClose(const MTstyle&) const
{
    return QStringLiteral("</span>");
}
