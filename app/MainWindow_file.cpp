#include "app/MainWindow.h"

#include "app/ListWidget.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneJson.h"
#include "scene/DiagramDocument.h"
#include "scene/DiagramScene.h"
#include "scene/Dialogs.h"

#include <QGraphicsView>
#include <QStandardPaths>
#include <QUndoGroup>

// Scene files: save, save as, load and new scene.

namespace {

const int transparentButtonId = 20;
const int colorButtonId = 21;
const int whiteGridButtonId = 22;
const int grayGridButtonId = 23;
// No button has it: checking it clears every background button.
const int ownPictureButtonId = 24;

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString sceneFilter()
{
    return MainWindow::tr("Scène (*.pensascene)");
}

QString titleFor(const QString &fileName)
{
    return MainWindow::tr("Pensato - %1").arg(fileName);
}

// Writes the scene; on failure says why in a box and returns false.
bool writeScene(QWidget *parent, const DiagramScene &scene, const QString &fileName)
{
    QString reason;
    if (writeSceneFile(fileName, writeDocument(scene), &reason))
        return true;
    Dialogs::instance()->warning(
        parent, MainWindow::tr("Scène non enregistrée"),
        MainWindow::tr("La scène n'a pas pu être enregistrée dans « %1 » : %2.")
            .arg(fileName, reason));
    return false;
}

void confirmSaved(QWidget *parent)
{
    Dialogs::instance()->information(parent, MainWindow::tr("Scène enregistrée"),
                                     MainWindow::tr("La scène a été enregistrée avec succès."));
}

// The background button of the scene's restored background, or 0 for a
// scene without background of its own.
int backgroundButtonId(const DiagramScene &scene)
{
    if (scene.isTransparent())
        return transparentButtonId;
    if (scene.isColorBackground())
        return colorButtonId;
    if (!scene.isPictureBackground())
        return 0;
    if (scene.backgroundPath() == QLatin1String(":/images/background2.png"))
        return whiteGridButtonId;
    if (scene.backgroundPath() == QLatin1String(":/images/background3.png"))
        return grayGridButtonId;
    return ownPictureButtonId;
}

} // namespace

void MainWindow::save()
{
    if (currentFile.isEmpty())
        saveAs();
    else if (writeScene(this, *scene, currentFile))
        confirmSaved(this);
}

// The title and currentFile name the new file only once the scene is in
// it, so that a failed write leaves "Enregistrer" pointing at the last good
// file.
void MainWindow::saveAs()
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Enregistrer"), desktopFolder(), sceneFilter());
    if (fileName.isEmpty() || !writeScene(this, *scene, fileName))
        return;
    currentFile = fileName;
    setWindowTitle(titleFor(currentFile));
    confirmSaved(this);
}

// The file is read and checked before the scene is replaced: a file that is
// not a scene document must not cost the user the scene on screen, nor
// become the file a later "Enregistrer" overwrites.
void MainWindow::load()
{
    const QString fileName = Dialogs::instance()->openFileName(this, tr("Choisir scène"),
                                                               desktopFolder(), sceneFilter());
    if (!fileName.isEmpty())
        openFile(fileName);
}

bool MainWindow::openFile(const QString &fileName)
{
    QJsonObject top;
    QString reason;
    const SceneFileRead read = readSceneFile(fileName, &top, &reason);
    if (read != SceneFileRead::Ok) {
        const QString sentence = read == SceneFileRead::CannotOpen
            ? tr("Le fichier « %1 » ne peut pas être ouvert : %2.")
            : tr("Le fichier « %1 » n'est pas une scène : %2.");
        Dialogs::instance()->warning(this, tr("Scène non chargée"), sentence.arg(fileName, reason));
        return false;
    }

    // Read aside: a file of which nothing can be used must not cost the
    // user the scene on screen either.
    std::unique_ptr<DiagramDocument> loaded(newDocument());
    QList<DiagramObject *> itemsRead;
    const ReadReport report = readDocument(*loaded->scene(), top, &itemsRead);
    if (report.skippedItems > 0 && itemsRead.isEmpty()) {
        Dialogs::instance()->warning(
            this, tr("Scène non chargée"),
            tr("Le fichier « %1 » n'est pas une scène : aucun de ses objets n'a pu être lu.")
                .arg(fileName));
        return false;
    }
    installDocument(loaded.release());
    listWidget->addEntries(itemsRead);
    currentFile = fileName;
    setWindowTitle(titleFor(currentFile));
    if (const int button = backgroundButtonId(*scene))
        checkButton(button);
    view->centerOn(scene->itemsBoundingRect().center());
    if (!report.isClean())
        Dialogs::instance()->information(this, tr("Scène chargée"), report.summary());
    return true;
}

void MainWindow::createNewScene()
{
    currentFile.clear();
    setWindowTitle(tr("Pensato"));
    installDocument(newDocument());
}

DiagramDocument *MainWindow::newDocument()
{
    auto *fresh = new DiagramDocument(this);
    fresh->scene()->setSceneRect(0, 0, 5000, 5000);
    return fresh;
}

void MainWindow::installDocument(DiagramDocument *fresh)
{
    DiagramDocument *previous = document;
    document = fresh;
    scene = document->scene();
    undoGroup->addStack(document->undoStack());
    undoGroup->setActiveStack(document->undoStack());
    connectScene();
    view->setScene(scene);
    listWidget->setScene(scene);
    listWidget->clear();
    if (!previous)
        return;
    // The old scene may be the sender of the signal that brought us here
    // (its own context menu), so it goes later; cut from the window first,
    // its items' last signals cannot reach the new list.
    previous->scene()->disconnect(this);
    undoGroup->removeStack(previous->undoStack());
    previous->deleteLater();
}

void MainWindow::filesDropped(const QStringList &paths, const QPointF &position)
{
    QPointF at = position;
    for (const QString &path : paths) {
        if (path.endsWith(QLatin1String(".pensascene"), Qt::CaseInsensitive)) {
            openFile(path);
            return;
        }
        // Each picture a little further, so that none hides another.
        if (scene->insertPicture(path, SceneJson::pictureFromFile(path), false, at))
            at += QPointF(20, 20);
        else
            Dialogs::instance()->warning(this, tr("Image non lue"),
                                         tr("Le fichier « %1 » n'est pas une image lisible.").arg(path));
    }
}
