#include "app/MainWindow.h"

#include "app/AutoSaver.h"
#include "app/RecoveryFile.h"
#include "io/ReadReport.h"
#include "io/SceneText.h"
#include "scene/DiagramDocument.h"
#include "scene/Dialogs.h"

#include <QLocale>

// Recovery of the work of a run that ended without a normal quit; the
// autosave itself is AutoSaver's.

void MainWindow::offerRecovery()
{
    const auto leftFiles = RecoveryFile::leftBehind(RecoveryFile::standardFolder());
    for (const auto &left : leftFiles) {
        const QString when = QLocale().toString(left->writtenAt(), tr("d MMMM yyyy 'à' HH:mm"));
        const Dialogs::Answer answer = Dialogs::instance()->ask(
            this, tr("Récupération"),
            tr("Pensato s'est arrêté sans enregistrer. Récupérer le travail du %1 ?").arg(when),
            tr("Récupérer"), tr("Supprimer"), tr("Ignorer"));
        if (answer == Dialogs::Proceed && recover(*left))
            return;
        if (answer == Dialogs::Discard)
            left->remove();
        // Ignored (or unreadable), the file stays for a later start.
    }
}

// The recovered diagram is modified (its changes are in no file) and
// belongs to the file it was made from. It is in this window's recovery
// file before the old one goes, so that a crash now loses nothing either.
bool MainWindow::recover(RecoveryFile &file)
{
    SceneText text;
    QList<DiagramObject *> itemsRead;
    ReadReport report;
    DiagramDocument *recovered = readScene(file.path(), &text, &itemsRead, &report);
    if (!recovered)
        return false;
    recovered->setFileName(RecoveryFile::fileNameIn(text.members()));
    recovered->markUnsaved();
    showReadDocument(recovered, itemsRead, report);
    if (autoSaver->saveNow())
        file.remove();
    return true;
}
