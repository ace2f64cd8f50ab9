#include "app/MainWindow.h"

#include "export/ConvertToIMG.h"
#include "export/SceneExport.h"
#include "scene/DiagramScene.h"
#include "scene/Dialogs.h"

#include <QStandardPaths>

// Picture and PDF export of the scene. Both export the items' area, which
// stays the scene rectangle afterwards.

void MainWindow::toImage()
{
    scene->clearSelection();
    scene->setSceneRect(exportArea(*scene));
    auto *window = new ConvertToIMG(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->setScene(scene);
    window->show();
}

// The scene is only touched once a file is chosen, so that a cancelled
// dialog leaves even the scene rectangle as it was.
void MainWindow::toPDF()
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Convertir en PDF"),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;

    scene->clearSelection();
    scene->setSceneRect(exportArea(*scene));
    QString reason;
    if (!exportPdf(*scene, fileName, &reason)) {
        Dialogs::instance()->warning(
            this, tr("PDF non enregistré"),
            tr("Le PDF n'a pas pu être enregistré dans « %1 » : %2.").arg(fileName, reason));
        return;
    }
    Dialogs::instance()->information(this, tr("Scène convertie"),
                                     tr("La scène a été convertie en PDF avec succès."));
}
