#include "app/exportSceneFile.h"

#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneText.h"
#include "scene/DiagramScene.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("exportSceneFile", text);
}

} // namespace

// The one place where the command line meets the scene and its files.
bool exportSceneFile(const QString &sceneFile, const QString &outputFile,
                     const ExportOptions &options, QString *message, QString *notes)
{
    // Never deleted: the process ends after the export, and taking tens of
    // thousands of items apart one by one would cost more than exporting
    // them.
    auto *scene = new DiagramScene;
    QString reason;
    {
        // The document's text is let go before the picture is made.
        SceneText text;
        const SceneFileRead read = readSceneFile(sceneFile, &text, &reason);
        if (read != SceneFileRead::Ok) {
            *message = (read == SceneFileRead::CannotOpen
                            ? tr("la scène « %1 » ne peut pas être ouverte : %2.")
                            : tr("« %1 » n'est pas une scène : %2."))
                           .arg(sceneFile, reason);
            return false;
        }
        QList<DiagramObject *> itemsRead;
        const ReadReport report = readDocument(*scene, text, &itemsRead);
        if (report.skippedItems > 0 && itemsRead.isEmpty()) {
            *message = tr("« %1 » n'est pas une scène : aucun de ses objets n'a pu être lu.")
                           .arg(sceneFile);
            return false;
        }
        if (!report.isClean())
            *notes = tr("« %1 » : %2").arg(sceneFile, report.summary());
    }
    scene->setSceneRect(exportArea(*scene));
    if (!exportScene(*scene, outputFile, options, &reason)) {
        *message = tr("« %1 » n'a pas pu être écrit : %2.").arg(outputFile, reason);
        return false;
    }
    return true;
}
