#include "math/VelQTmathText.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>

namespace {

const QString resourceRoot = QStringLiteral(":/VelQTmathText/fonts/");

// The generic families of construction, resolved against the installed
// fonts once per process: the font database is slow to query.
struct DefaultFamilies
{
    QString serif = QStringLiteral("Serif");
    QString sans = QStringLiteral("Sans");
    QString symbol = QStringLiteral("Symbol");
    QString typewriter = QStringLiteral("typewriter");
};

QString firstInstalled(const QStringList& installed, const QStringList& candidates, const QString& fallback)
{
    for (const QString& candidate : candidates) {
        if (installed.contains(candidate))
            return candidate;
    }
    return fallback;
}

const DefaultFamilies& defaultFamilies()
{
    static const DefaultFamilies families = [] {
        const QStringList installed = QFontDatabase().families();
        DefaultFamilies f;
        f.serif = firstInstalled(installed, {"Times New Roman", "Times", "FreeSerif"}, f.serif);
        f.sans = firstInstalled(installed, {"Arial", "Helvetica", "FreeSans"}, f.sans);
        f.symbol = firstInstalled(installed, {"Symbol", "Standard Symbols L"}, f.symbol);
        f.typewriter = firstInstalled(installed, {"Courier", "Courier New", "Courier Std", "FreeMono"}, f.typewriter);
        return f;
    }();
    return families;
}

} // namespace

void VelQTmathText::initFontFamilies()
{
    const DefaultFamilies& f = defaultFamilies();
    fontRoman = defaultFontRoman = f.serif;
    fontSans = defaultFontSans = f.sans;
    fontTypewriter = defaultFontTypewriter = f.typewriter;
    fontScript = defaultFontScript = QStringLiteral("Script");
    fontGreek = defaultFontGreek = f.symbol;
    fontSymbol = defaultFontSymbol = f.symbol;
    fontCaligraphic = defaultFontCaligraphic = QStringLiteral("decorative");
    fontBlackboard = defaultFontBlackboard = f.serif;
    fontMathRoman = defaultFontMathRoman = f.serif;
    fontMathSans = defaultFontMathSans = f.sans;
    fontBraces = defaultFontBraces = f.serif;
    fontIntegrals = defaultFontIntegrals = f.serif;
}

QString VelQTmathText::registeredFamily(const QStringList& resources, const QString& family,
                                        const QString& passOver, const QString& fallback)
{
    // Registration and the lookup after it happen once per process: later
    // engines would find the family installed and reach the same answer.
    static QHash<QString, QString> resolved;
    const auto known = resolved.constFind(family);
    if (known != resolved.constEnd())
        return *known;

    QFontDatabase database;
    if (!database.families().contains(family)) {
        for (const QString& resource : resources) {
            const QString path = resourceRoot + resource;
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
        forgetFontMetrics();
    }
    QString found;
    for (const QString& installed : QFontDatabase().families()) {
        if (installed.contains(family) && !installed.contains(passOver))
            found = installed;
    }
    const QString result = found.isEmpty() ? fallback : found;
    resolved.insert(family, result);
    return result;
}

void VelQTmathText::useMathFamily(const QString& family)
{
    settingsChanged();
    fontMathRoman = family;
    fontMathSans = family;
    fontTypewriter = family;
    fontBlackboard = family;
    fontCaligraphic = family;
    fontScript = family;
    fontBraces = family;
    fontSymbol = family;
    fontGreek = family;
    fontEncoding = EncodingUnicode;
    braceShrinkFactor = 0.6;
}

void VelQTmathText::selectXitsFonts()
{
    static const QStringList resources = {"xits-bold.otf", "xits-bolditalic.otf", "xits-italic.otf",
                                          "xits-math.otf", "xits-mathbold.otf", "xits-regular.otf"};
    useXitsFonts = true;
    useMathFamily(registeredFamily(resources, QStringLiteral("XITS"), QStringLiteral("XITS Math"),
                                   QStringLiteral("XITS")));
}

void VelQTmathText::selectAsanaFonts()
{
    // No Asana file is among the resources: an installed family is used if any.
    static const QStringList resources = {"asana-math.otf"};
    useAsanaFonts = true;
    useMathFamily(registeredFamily(resources, QStringLiteral("Asana"), QStringLiteral("Asana Math"),
                                   QStringLiteral("Asana Math")));
}

void VelQTmathText::selectStixFonts()
{
    settingsChanged();
    const QString stix = QStringLiteral("STIXGeneral");
    useStixFonts = true;
    fontGreek = stix;
    fontSymbol = stix;
    fontBraces = stix;
    fontIntegrals = stix;
    fontMathRoman = stix;
    fontEncoding = EncodingUnicode;
    braceShrinkFactor = 0.6;
}

void VelQTmathText::selectUnicodeFonts(QString timesFamily, QString sansFamily)
{
    settingsChanged();
    if (!timesFamily.isEmpty())
        fontMathRoman = fontRoman = timesFamily;
    if (!sansFamily.isEmpty())
        fontMathSans = fontSans = sansFamily;
    useStixFonts = useXitsFonts = useAsanaFonts = false;
    fontGreek = fontSymbol = fontBraces = fontIntegrals = fontMathRoman;
    fontEncoding = EncodingUnicode;
    braceShrinkFactor = 0.6;
}

void VelQTmathText::selectTexFonts(QString prefix, QString postfix)
{
    settingsChanged();
    texFontPrefix = prefix;
    texFontSuffix = postfix;
    auto family = [&](const char* base) { return prefix + QLatin1String(base) + postfix; };
    fontRoman = fontMathRoman = family("cmr");
    fontSans = fontMathSans = family("cmss");
    fontTypewriter = family("cmtt");
    fontBlackboard = family("dsrom");
    fontCaligraphic = family("csmy");
    fontScript = family("rsfs");
    fontBraces = family("cmex");
    fontSymbol = family("cmsy");
    fontGreek = family("cmmi");
    fontEncoding = EncodingTex;
    braceShrinkFactor = 0.6;
}
