#include "app/CommandLine.h"

namespace {

const QString exportName = QStringLiteral("export");
const QString backgroundName = QStringLiteral("fond");
const QString scaleName = QStringLiteral("echelle");
const QString helpName = QStringLiteral("help");
const QString versionName = QStringLiteral("version");

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
{
    m_parser.setApplicationDescription(
        tr("Pensato, éditeur de diagrammes et de cartes mentales. Sans option, ouvre "
           "la fenêtre, avec FICHIER s'il est donné."));
    m_parser.addOptions({
        {{QStringLiteral("e"), exportName},
         tr("Écrit FICHIER dans SORTIE sans ouvrir de fenêtre ; le suffixe de SORTIE "
            "choisit le format : .png, .jpg, .pdf ou .svg."),
         tr("SORTIE")},
        {backgroundName,
         tr("Fond de l'export : blanc, transparent, ou scene pour le fond de la scène "
            "(par défaut). Une image JPG et une page PDF sont blanches là où rien n'est "
            "dessiné ; un SVG y reste transparent, comme une image PNG."),
         tr("blanc|transparent|scene")},
        {scaleName,
         tr("Pixels par unité de la scène dans une image PNG ou JPG, de 1 à %1 "
            "(1 par défaut).").arg(maxPictureScale),
         QStringLiteral("N")},
        {{QStringLiteral("h"), helpName}, tr("Affiche cette aide.")},
        {{QStringLiteral("v"), versionName}, tr("Affiche la version.")},
    });
    m_parser.addPositionalArgument(tr("FICHIER"),
                                   tr("La scène à ouvrir ou à exporter (.pensascene)."),
                                   tr("[FICHIER]"));
    read(arguments);
}

QString CommandLine::helpText() const
{
    return m_parser.helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("pensato %1").arg(QStringLiteral(PENSATO_VERSION));
}

void CommandLine::read(const QStringList &arguments)
{
    if (!m_parser.parse(arguments))
        return fail(m_parser.errorText());
    if (m_parser.isSet(helpName)) {
        m_action = ShowHelp;
        return;
    }
    if (m_parser.isSet(versionName)) {
        m_action = ShowVersion;
        return;
    }
    const QStringList files = m_parser.positionalArguments();
    if (files.size() > 1)
        return fail(tr("une seule scène est attendue, %1 fichiers ont été donnés : %2.")
                        .arg(files.size()).arg(files.join(QLatin1String(", "))));
    m_sceneFile = files.value(0);

    if (!m_parser.isSet(exportName)) {
        if (m_parser.isSet(backgroundName) || m_parser.isSet(scaleName))
            return fail(tr("--fond et --echelle ne s'emploient qu'avec --export."));
        m_action = OpenWindow;
        return;
    }
    m_outputFile = m_parser.value(exportName);
    if (m_sceneFile.isEmpty())
        return fail(tr("--export demande aussi la scène à exporter : "
                       "pensato --export SORTIE FICHIER."));
    const ExportFormat format = exportFormat(m_outputFile);
    if (format == ExportFormat::Unknown)
        return fail(tr("« %1 » n'a pas le suffixe d'un format d'export : .png, .jpg, .pdf ou .svg.")
                        .arg(m_outputFile));
    if (m_parser.isSet(backgroundName) && !readBackground(m_parser.value(backgroundName)))
        return fail(tr("--fond attend blanc, transparent ou scene, et non « %1 ».")
                        .arg(m_parser.value(backgroundName)));
    if (m_parser.isSet(scaleName)) {
        if (format == ExportFormat::Pdf)
            return fail(tr("--echelle ne s'applique qu'aux images PNG et JPG ; "
                           "un PDF se met à l'échelle de sa page."));
        if (format == ExportFormat::Svg)
            return fail(tr("--echelle ne s'applique qu'aux images PNG et JPG ; "
                           "un SVG est un dessin sans résolution."));
        if (!readScale(m_parser.value(scaleName)))
            return fail(tr("--echelle attend un nombre entier de 1 à %1, et non « %2 ».")
                            .arg(maxPictureScale).arg(m_parser.value(scaleName)));
    }
    m_action = Export;
}

void CommandLine::fail(const QString &error)
{
    m_action = Fail;
    m_error = error;
}

bool CommandLine::readBackground(const QString &value)
{
    if (value == QLatin1String("blanc"))
        m_options.background = ExportBackground::White;
    else if (value == QLatin1String("transparent"))
        m_options.background = ExportBackground::Transparent;
    // The accented spelling is what a French user may type.
    else if (value == QLatin1String("scene") || value == QString::fromUtf8("scène"))
        m_options.background = ExportBackground::Scene;
    else
        return false;
    return true;
}

bool CommandLine::readScale(const QString &value)
{
    bool ok = false;
    const int scale = value.toInt(&ok);
    if (!ok || scale < 1 || scale > maxPictureScale)
        return false;
    m_options.scale = scale;
    return true;
}
