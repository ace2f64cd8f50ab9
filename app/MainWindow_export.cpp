#include "app/MainWindow.h"

#include "export/ConvertToIMG.h"
#include "export/SceneExport.h"
#include "export/ScopedExportArea.h"
#include "scene/DiagramScene.h"
#include "scene/Dialogs.h"

#include <QStandardPaths>

// Picture, PDF and SVG export of the scene: the items' area, without selection
// marks. The scene keeps its own scene rectangle and selection.

void MainWindow::toImage()
{
    auto *window = new ConvertToIMG(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::WindowModal);
    window->setScene(scene);
    window->show();
}

void MainWindow::toPDF()
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Convertir en PDF"),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;

    QString reason;
    bool written;
    {
        const ScopedExportArea area(scene);
        written = exportPdf(*scene, fileName, &reason);
    }
    if (!written) {
        Dialogs::instance()->warning(
            this, tr("PDF non enregistré"),
            tr("Le PDF n'a pas pu être enregistré dans « %1 » : %2.").arg(fileName, reason));
        return;
    }
    Dialogs::instance()->information(this, tr("Scène convertie"),
                                     tr("La scène a été convertie en PDF avec succès."));
}

// The area and background the picture export has untouched: the items'
// area and the scene's own background, transparent where it has none.
void MainWindow::toSVG()
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Convertir en SVG"),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), tr("SVG (*.svg)"));
    if (fileName.isEmpty())
        return;

    QString reason;
    bool written;
    {
        const ScopedExportArea area(scene);
        written = exportSvg(*scene, fileName, ExportOptions(), &reason);
    }
    if (!written) {
        Dialogs::instance()->warning(
            this, tr("SVG non enregistré"),
            tr("Le SVG n'a pas pu être enregistré dans « %1 » : %2.").arg(fileName, reason));
        return;
    }
    Dialogs::instance()->information(this, tr("Scène convertie"),
                                     tr("La scène a été convertie en SVG avec succès."));
}
