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
    exportDocument(QStringLiteral("PDF"), tr("PDF (*.pdf)"),
                   [this](const QString &fileName, QString *reason) {
                       return exportPdf(*scene, fileName, reason);
                   });
}

// The area and background the picture export has untouched: the items'
// area and the scene's own background, transparent where it has none.
void MainWindow::toSVG()
{
    exportDocument(QStringLiteral("SVG"), tr("SVG (*.svg)"),
                   [this](const QString &fileName, QString *reason) {
                       return exportSvg(*scene, fileName, ExportOptions(), reason);
                   });
}

// A file chosen on the desktop, written with the scene's area set for the
// export only, and a box saying how it went.
void MainWindow::exportDocument(const QString &format, const QString &filter,
                                const std::function<bool(const QString &, QString *)> &write)
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Convertir en %1").arg(format),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), filter);
    if (fileName.isEmpty())
        return;

    QString reason;
    bool written;
    {
        const ScopedExportArea area(scene);
        written = write(fileName, &reason);
    }
    if (!written) {
        Dialogs::instance()->warning(
            this, tr("%1 non enregistré").arg(format),
            tr("Le %1 n'a pas pu être enregistré dans « %2 » : %3.").arg(format, fileName, reason));
        return;
    }
    Dialogs::instance()->information(this, tr("Scène convertie"),
                                     tr("La scène a été convertie en %1 avec succès.").arg(format));
}
