#include "math/MTstyle.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

QFont MTstyle::getFont(const VelQTmathText* parent) const
{
    QFont f;
    switch (font) {
    case StyleRoman:
        f.setFamily(insideMath ? parent->getFontMathRoman() : parent->getFontRoman());
        break;
    case StyleSans:
        f.setFamily(insideMath ? parent->getFontMathSans() : parent->getFontSans());
        break;
    case StyleTypewriter:
        f.setFamily(parent->getFontTypewriter());
        break;
    case StyleScript:
        f.setFamily(parent->getFontScript());
        break;
    case StyleBlackboard:
        f.setFamily(parent->getFontBlackboard());
        break;
    case StyleCaligraphic:
        f.setFamily(parent->getFontCaligraphic());
        break;
    }
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setItalic(italic);
    f.setUnderline(underlined);
    f.setOverline(overline);
    f.setStrikeOut(strike);
    f.setCapitalization(smallCaps ? QFont::SmallCaps : QFont::MixedCase);
    f.setPointSizeF(MTlayout::boundedFontSize(fontSize));
    // A missing glyph must show as missing, not silently come from another family.
    f.setStyleStrategy(QFont::NoFontMerging);
    return f;
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
