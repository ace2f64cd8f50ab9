#include "math/VelQTmathText.h"

#include <QHash>
#include <QSettings>

namespace {

// The settings text of a colour: the first SVG keyword (alphabetically)
// naming an opaque colour, else "#RRGGBB", or "#RRGGBBAA" with transparency.
QString colorToText(const QColor& color)
{
    if (color.alpha() < 255) {
        return QString::asprintf("#%02X%02X%02X%02X", color.red(), color.green(), color.blue(), color.alpha());
    }
    static const QHash<QRgb, QString> names = [] {
        QHash<QRgb, QString> byValue;
        QStringList keywords = QColor::colorNames();
        keywords.sort();
        for (const QString& name : qAsConst(keywords)) {
            const QColor named(name);
            if (named.alpha() == 255 && !byValue.contains(named.rgb()))
                byValue.insert(named.rgb(), name);
        }
        return byValue;
    }();
    const auto name = names.constFind(color.rgb());
    if (name != names.constEnd())
        return *name;
    return QString::asprintf("#%02X%02X%02X", color.red(), color.green(), color.blue());
}

// Reads what colorToText() writes. Qt's own parser takes 8 hex digits as
// #AARRGGBB, which would turn a saved transparent colour into another one.
QColor colorFromSetting(const QVariant& value, const QColor& fallback)
{
    if (value.userType() == QMetaType::QColor)
        return value.value<QColor>();
    const QString text = value.toString().trimmed();
    if (text.size() == 9 && text.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint rgba = text.midRef(1).toUInt(&ok, 16);
        if (ok)
            return QColor((rgba >> 24) & 0xFF, (rgba >> 16) & 0xFF, (rgba >> 8) & 0xFF, rgba & 0xFF);
    }
    if (QColor::isValidColor(text))
        return QColor(text);
    return fallback;
}

// NaN never equals itself, so a NaN setting is always written.
bool changed(double value, double defaultValue)
{
    return !(value == defaultValue);
}

} // namespace

void VelQTmathText::saveSettings(QSettings& settings, QString group)
{
    auto saveDouble = [&](const char* key, double value, double defaultValue) {
        if (changed(value, defaultValue))
            settings.setValue(group + QLatin1String(key), value);
    };
    auto saveText = [&](const char* key, const QString& value, const QString& defaultValue) {
        if (value != defaultValue)
            settings.setValue(group + QLatin1String(key), value);
    };
    auto saveBool = [&](const char* key, bool value, bool defaultValue) {
        if (value != defaultValue)
            settings.setValue(group + QLatin1String(key), value);
    };

    saveDouble("font_size", fontSize, defaultFontSize);
    if (fontColor != defaultFontColor)
        settings.setValue(group + QLatin1String("font_color"), colorToText(fontColor));
    saveText("font_roman", fontRoman, defaultFontRoman);
    saveText("font_sans", fontSans, defaultFontSans);
    saveText("font_typewriter", fontTypewriter, defaultFontTypewriter);
    saveText("font_script", fontScript, defaultFontScript);
    saveText("font_greek", fontGreek, defaultFontGreek);
    saveText("font_symbol", fontSymbol, defaultFontSymbol);
    saveText("font_math_roman", fontMathRoman, defaultFontMathRoman);
    saveText("font_math_sans", fontMathSans, defaultFontMathSans);
    saveText("font_braces", fontBraces, defaultFontBraces);
    saveText("font_integrals", fontIntegrals, defaultFontIntegrals);
    saveText("font_blackboard", fontBlackboard, defaultFontBlackboard);
    saveText("font_caligraphic", fontCaligraphic, defaultFontCaligraphic);
    saveDouble("brace_factor", braceFactor, defaultBraceFactor);
    saveDouble("brace_shrink_factor", braceShrinkFactor, defaultBraceShrinkFactor);
    saveDouble("subsuper_size_factor", subsuperSizeFactor, defaultSubsuperSizeFactor);
    saveDouble("italic_correction_factor", italicCorrectionFactor, defaultItalicCorrectionFactor);
    saveDouble("sub_shift_factor", subShiftFactor, defaultSubShiftFactor);
    saveDouble("super_shift_factor", superShiftFactor, defaultSuperShiftFactor);
    saveBool("use_stix_fonts", useStixFonts, defaultUseStixFonts);
    saveBool("use_xits_fonts", useXitsFonts, defaultUseXitsFonts);
    saveBool("use_asana_fonts", useAsanaFonts, defaultUseAsanaFonts);
    saveDouble("frac_factor", fracFactor, defaultFracFactor);
    saveDouble("frac_shift_factor", fracShiftFactor, defaultFracShiftFactor);
    saveDouble("underbrace_factor", underbraceFactor, defaultUnderbraceFactor);
    saveDouble("underset_factor", undersetFactor, defaultUndersetFactor);
    saveDouble("operatorsubsuper_size_factor", operatorsubsuperSizeFactor, defaultOperatorsubsuperSizeFactor);
    saveDouble("mathoperator_width_factor", mathoperatorWidthFactor, defaultMathoperatorWidthFactor);
    saveDouble("brace_y_shift_factor", braceYShiftFactor, defaultBraceYShiftFactor);
    saveDouble("decoration_height_factor", decorationHeightFactor, defaultDecorationHeightFactor);
    if (fontEncoding != defaultFontEncoding) {
        if (fontEncoding == EncodingUnicode)
            settings.setValue(group + QLatin1String("font_encoding"), QStringLiteral("unicode"));
        else if (fontEncoding == EncodingWinSymbol)
            settings.setValue(group + QLatin1String("font_encoding"), QStringLiteral("win_symbol"));
    }
}

void VelQTmathText::loadSettings(QSettings& settings, QString group)
{
    settingsChanged();
    auto value = [&](const char* key, const QVariant& fallback) {
        return settings.value(group + QLatin1String(key), fallback);
    };
    fontSize = value("font_size", fontSize).toDouble();
    fontColor = colorFromSetting(value("font_color", colorToText(fontColor)), fontColor);
    fontRoman = value("font_roman", fontRoman).toString();
    fontSans = value("font_sans", fontSans).toString();
    fontTypewriter = value("font_typewriter", fontTypewriter).toString();
    fontScript = value("font_script", fontScript).toString();
    fontGreek = value("font_greek", fontGreek).toString();
    fontSymbol = value("font_symbol", fontSymbol).toString();
    fontMathRoman = value("font_math_roman", fontMathRoman).toString();
    fontMathSans = value("font_math_sans", fontMathSans).toString();
    fontBraces = value("font_braces", fontBraces).toString();
    fontIntegrals = value("font_integrals", fontIntegrals).toString();
    fontBlackboard = value("font_blackboard", fontBlackboard).toString();
    // Written as "font_caligraphic" but read under this older key.
    fontCaligraphic = value("font_caligraphics", fontCaligraphic).toString();
    braceFactor = value("brace_factor", braceFactor).toDouble();
    braceShrinkFactor = value("brace_shrink_factor", braceShrinkFactor).toDouble();
    subsuperSizeFactor = value("subsuper_size_factor", subsuperSizeFactor).toDouble();
    italicCorrectionFactor = value("italic_correction_factor", italicCorrectionFactor).toDouble();
    subShiftFactor = value("sub_shift_factor", subShiftFactor).toDouble();
    superShiftFactor = value("super_shift_factor", superShiftFactor).toDouble();
    fracFactor = value("frac_factor", fracFactor).toDouble();
    fracShiftFactor = value("frac_shift_factor", fracShiftFactor).toDouble();
    underbraceFactor = value("underbrace_factor", underbraceFactor).toDouble();
    undersetFactor = value("underset_factor", undersetFactor).toDouble();
    operatorsubsuperSizeFactor = value("operatorsubsuper_size_factor", operatorsubsuperSizeFactor).toDouble();
    mathoperatorWidthFactor = value("mathoperator_width_factor", mathoperatorWidthFactor).toDouble();
    braceYShiftFactor = value("brace_y_shift_factor", braceYShiftFactor).toDouble();
    decorationHeightFactor = value("decoration_height_factor", decorationHeightFactor).toDouble();

    const QString encoding = value("font_encoding", QString()).toString().toLower();
    if (encoding == QLatin1String("win_symbol"))
        fontEncoding = EncodingWinSymbol;
    else if (encoding == QLatin1String("unicode"))
        fontEncoding = EncodingUnicode;

    useStixFonts = value("use_stix_fonts", useStixFonts).toBool();
    useXitsFonts = value("use_xits_fonts", useXitsFonts).toBool();
    useAsanaFonts = value("use_asana_fonts", useAsanaFonts).toBool();
    if (useStixFonts)
        selectStixFonts();
    if (useXitsFonts)
        selectXitsFonts();
    if (useAsanaFonts)
        selectAsanaFonts();
}
