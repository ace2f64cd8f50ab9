#include "app/MainWindow.h"

#include "app/AutoSaver.h"
#include "app/ListWidget.h"
#include "app/RecentFiles.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneJson.h"
#include "io/SceneText.h"
#include "scene/DiagramDocument.h"
#include "scene/DiagramScene.h"
#include "scene/diagramBoundingRect.h"
#include "scene/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsView>
#include <QMenu>
#include <QStandardPaths>
#include <QUndoGroup>

// Scene files: save, save as, load and new scene; the question about
// unsaved changes before the scene goes; recent files; the title.

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

// Writes the scene; on failure says why in a box and returns false.
bool writeScene(QWidget *parent, const DiagramScene &scene, const QString &fileName)
{
    QString reason;
    if (writeSceneFile(fileName, documentText(scene), &reason))
        return true;
    Dialogs::instance()->warning(
        parent, MainWindow::tr("Scène non enregistrée"),
        MainWindow::tr("La scène n'a pas pu être enregistrée dans « %1 » : %2.")
            .arg(fileName, reason));
    return false;
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

bool MainWindow::save()
{
    return document->fileName().isEmpty() ? saveAs() : saveTo(document->fileName());
}

bool MainWindow::saveAs()
{
    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Enregistrer"), desktopFolder(), sceneFilter());
    return !fileName.isEmpty() && saveTo(fileName);
}

// The document names the new file only once the scene is in it, so that a
// failed write leaves "Enregistrer" pointing at the last good file, and
// the document modified. No box on success: the title's mark goes, and
// Ctrl+S is pressed too often for a box to be welcome.
bool MainWindow::saveTo(const QString &fileName)
{
    if (!writeScene(this, *scene, fileName))
        return false;
    document->setFileName(fileName);
    document->markSaved();
    RecentFiles().add(fileName);
    updateTitle();
    return true;
}

void MainWindow::load()
{
    if (!maybeSave())
        return;
    const QString fileName = Dialogs::instance()->openFileName(this, tr("Choisir scène"),
                                                               desktopFolder(), sceneFilter());
    if (!fileName.isEmpty())
        openFile(fileName);
}

// The file is read and checked before the scene is replaced: a file that is
// not a scene document must not cost the user the scene on screen, nor
// become the file a later "Enregistrer" overwrites.
bool MainWindow::openFile(const QString &fileName)
{
    SceneText text;
    QList<DiagramObject *> itemsRead;
    ReadReport report;
    DiagramDocument *loaded = readScene(fileName, &text, &itemsRead, &report);
    if (!loaded)
        return false;
    loaded->setFileName(fileName);
    showReadDocument(loaded, itemsRead, report);
    RecentFiles().add(fileName);
    return true;
}

DiagramDocument *MainWindow::readScene(const QString &fileName, SceneText *text,
                                       QList<DiagramObject *> *itemsRead, ReadReport *report)
{
    QString reason;
    const SceneFileRead read = ::readSceneFile(fileName, text, &reason);
    if (read != SceneFileRead::Ok) {
        const QString sentence = read == SceneFileRead::CannotOpen
            ? tr("Le fichier « %1 » ne peut pas être ouvert : %2.")
            : tr("Le fichier « %1 » n'est pas une scène : %2.");
        Dialogs::instance()->warning(this, tr("Scène non chargée"), sentence.arg(fileName, reason));
        return nullptr;
    }

    // Read aside: a file of which nothing can be used must not cost the
    // user the scene on screen either.
    std::unique_ptr<DiagramDocument> loaded(newDocument());
    *report = readDocument(*loaded->scene(), *text, itemsRead);
    if (report->skippedItems > 0 && itemsRead->isEmpty()) {
        Dialogs::instance()->warning(
            this, tr("Scène non chargée"),
            tr("Le fichier « %1 » n'est pas une scène : aucun de ses objets n'a pu être lu.")
                .arg(fileName));
        return nullptr;
    }
    return loaded.release();
}

void MainWindow::showReadDocument(DiagramDocument *read, const QList<DiagramObject *> &itemsRead,
                                  const ReadReport &report)
{
    installDocument(read);
    listWidget->addEntries(itemsRead);
    if (const int button = backgroundButtonId(*scene))
        checkButton(button);
    view->centerOn(diagramBoundingRect(*scene).center());
    if (!report.isClean())
        Dialogs::instance()->information(this, tr("Scène chargée"), report.summary());
}

void MainWindow::createNewScene()
{
    if (maybeSave())
        installDocument(newDocument());
}

bool MainWindow::maybeSave()
{
    if (!document->isModified())
        return true;
    switch (Dialogs::instance()->ask(
        this, tr("Modifications non enregistrées"),
        tr("Enregistrer les modifications de « %1 » ?").arg(documentName()), tr("Enregistrer"),
        tr("Ne pas enregistrer"), tr("Annuler"))) {
    case Dialogs::Proceed:
        return save();
    case Dialogs::Discard:
        return true;
    case Dialogs::Cancel:
        break;
    }
    return false;
}

// A normal quit leaves no recovery file; a refused one leaves everything.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    autoSaver->discard();
    event->accept();
}

QString MainWindow::documentName() const
{
    return document->fileName().isEmpty() ? tr("Sans titre")
                                          : QFileInfo(document->fileName()).fileName();
}

void MainWindow::updateTitle()
{
    setWindowTitle(tr("%1[*] — Pensato").arg(documentName()));
    setWindowModified(document->isModified());
}

void MainWindow::followDocument()
{
    connect(document, &DiagramDocument::modifiedChanged, this, &QWidget::setWindowModified);
    autoSaver->setDocument(document);
    updateTitle();
}

// Read when the menu opens: another window may have changed the list.
void MainWindow::fillRecentFilesMenu()
{
    recentFilesMenu->clear();
    const QStringList files = RecentFiles().files();
    for (int i = 0; i < files.size(); ++i) {
        const QFileInfo file(files.at(i));
        // Numbered for the keyboard; the folder tells files of one name apart.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QString name = file.fileName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *entry = recentFilesMenu->addAction(
            tr("%1 %2 — %3").arg(number, name, QDir::toNativeSeparators(file.absolutePath())));
        const QString path = files.at(i);
        connect(entry, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    if (files.isEmpty())
        recentFilesMenu->addAction(tr("Aucun fichier récent"))->setEnabled(false);
    recentFilesMenu->addSeparator();
    QAction *clear = recentFilesMenu->addAction(tr("Effacer la liste"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [] { RecentFiles().clear(); });
}

// A file that has gone is said so before anything is asked about the scene.
void MainWindow::openRecentFile(const QString &fileName)
{
    if (!QFileInfo::exists(fileName)) {
        RecentFiles().remove(fileName);
        Dialogs::instance()->warning(
            this, tr("Fichier introuvable"),
            tr("Le fichier « %1 » n'existe plus ; il est retiré des fichiers récents.")
                .arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    if (maybeSave())
        openFile(fileName);
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
    followDocument();
    if (!previous)
        return;
    // The old scene may be the sender of the signal that brought us here
    // (its own context menu), so it goes later; cut from the window first,
    // its items' last signals cannot reach the new list.
    previous->disconnect(this);
    previous->scene()->disconnect(this);
    undoGroup->removeStack(previous->undoStack());
    previous->deleteLater();
}

void MainWindow::filesDropped(const QStringList &paths, const QPointF &position)
{
    QPointF at = position;
    for (const QString &path : paths) {
        if (path.endsWith(QLatin1String(".pensascene"), Qt::CaseInsensitive)) {
            if (maybeSave())
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
