// The window's file commands as a user meets them: the title and its
// modified mark, the question about unsaved changes before closing,
// "Quitter", "Nouvelle scène" and "Charger", the file shortcuts, saves that
// fail, and "Fichiers récents".

#include "io/FileSizeLimit.h"
#include "WindowFixture.h"

#include "app/RecentFiles.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QUndoStack>

#include <unistd.h>

namespace {

struct FilesFixture : WindowFixture
{
    QString title() const { return window->windowTitle(); }
    bool modified() const { return window->isWindowModified(); }
    QUndoStack *history() const { return scene()->undoStack(); }

    // A change through the history, as every change is made.
    void change() { insertShape(DiagramItem::Carre, {200.0 + 150 * history()->count(), 300}); }

    bool saveAs(const QString &fileName)
    {
        dialogs.fileNames.enqueue(fileName);
        action("Enregistrer sous")->trigger();
        return !modified();
    }

    // The file menu's "Fichiers récents", filled as when it opens.
    QMenu *recentMenu() const
    {
        for (QAction *entry : window->menuBar()->actions().first()->menu()->actions())
            if (entry->menu() && entry->text() == QStringLiteral("Fichiers récents")) {
                emit entry->menu()->aboutToShow();
                return entry->menu();
            }
        return nullptr;
    }
    QStringList recentEntries() const
    {
        QStringList texts;
        for (QAction *entry : recentMenu()->actions())
            if (!entry->isSeparator())
                texts << entry->text() + (entry->isEnabled() ? "" : " (grisé)");
        return texts;
    }
    // "&1 plan.pensascene — <folder>"
    QString entry(int number, const QString &name) const
    {
        return QStringLiteral("%1 %2 — %3").arg(number < 10 ? "&" + QString::number(number)
                                                            : QString::number(number),
                                                name, folder.path());
    }
    QAction *recentEntry(const QString &text) const
    {
        for (QAction *entry : recentMenu()->actions())
            if (entry->text() == text)
                return entry;
        return nullptr;
    }
};

// A scene file of `shapes` squares, written without the window.
void writeSceneOf(const QString &path, int shapes)
{
    DiagramScene scene;
    for (int i = 0; i < shapes; ++i) {
        DiagramItem *shape = scene.newShape(DiagramItem::Carre);
        shape->setId(i);
        scene.addLoadedItem(shape);
    }
    QString reason;
    QVERIFY2(writeSceneFile(path, writeDocument(scene), &reason), qPrintable(reason));
}

int itemsIn(const QString &path)
{
    QJsonObject top;
    QString reason;
    readSceneFile(path, &top, &reason);
    return top.value("items").toArray().size();
}

} // namespace

class tst_Files : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { RecentFiles().clear(); }

    // The mark follows the history's saved state, not the count of changes.
    void titleShowsTheFileAndTheMark()
    {
        FilesFixture f;
        QCOMPARE(f.title(), QStringLiteral("Sans titre[*] — Pensato"));
        QVERIFY(!f.modified());
        f.change();
        QVERIFY(f.modified());
        QVERIFY(f.saveAs(f.path("plan.pensascene")));
        QCOMPARE(f.title(), QStringLiteral("plan.pensascene[*] — Pensato"));
        f.change();
        QVERIFY(f.modified());
        f.invoke("undo");
        QVERIFY(!f.modified()); // back to the saved state
        f.invoke("undo");
        QVERIFY(f.modified()); // before it
        f.invoke("redo");
        QVERIFY(!f.modified());
        f.action("Nouvelle scène")->trigger();
        QCOMPARE(f.title(), QStringLiteral("Sans titre[*] — Pensato"));
        QVERIFY(!f.modified());
    }

    void guardedCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("hasFile");    // saved after a first change
        QTest::addColumn<int>("answer");      // -1: the scene is unchanged, nothing is asked
        QTest::addColumn<QString>("saveName"); // answer to the save dialog; null: cancelled
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        for (const char *command : {"close", "Quitter", "Nouvelle scène", "Charger une scène"}) {
            auto row = [command](const char *name) -> QTestData & {
                return QTest::addRow("%s: %s", command, name) << QString::fromUtf8(command);
            };
            row("unchanged") << true << -1 << QString() << true << false;
            row("Enregistrer into its file") << true << int(Dialogs::Proceed) << QString() << true << true;
            row("Enregistrer, named") << false << int(Dialogs::Proceed) << "nouveau.pensascene" << true << true;
            row("Enregistrer, naming cancelled") << false << int(Dialogs::Proceed) << QString() << false << false;
            row("Ne pas enregistrer") << true << int(Dialogs::Discard) << QString() << true << false;
            row("Annuler") << true << int(Dialogs::Cancel) << QString() << false << false;
        }
    }

    // Going on closes the window, empties the scene or asks for the file
    // to load; otherwise the scene stays as it was, changes and all.
    void guardedCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, hasFile);
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        FilesFixture f;
        const QString plan = f.path("plan.pensascene");
        f.change();
        if (hasFile)
            QVERIFY(f.saveAs(plan));
        if (hasFile && answer >= 0)
            f.change();
        const QString before = QString::fromUtf8(encodeSceneDocument(writeDocument(*f.scene())));
        const QByteArray planBefore = fileContents(plan);
        const QString other = f.path("autre.pensascene");
        writeSceneOf(other, 3);
        f.dialogs.calls.clear();
        if (answer >= 0)
            f.dialogs.answers.enqueue(Dialogs::Answer(answer));
        if (answer == Dialogs::Proceed && !hasFile)
            f.dialogs.fileNames.enqueue(saveName.isNull() ? QString() : f.path(saveName));
        f.dialogs.fileNames.enqueue(other); // for "Charger"

        if (command == "close")
            f.window->close();
        else
            f.action(command)->trigger();

        QCOMPARE(f.calls("question"),
                 answer < 0 ? QStringList()
                            : QStringList(QStringLiteral("Modifications non enregistrées|||Enregistrer les "
                                                         "modifications de « %1 » ?|4|Enregistrer/Ne pas "
                                                         "enregistrer/Annuler")
                                              .arg(hasFile ? "plan.pensascene" : "Sans titre")));
        const QString savedTo = saveName.isNull() ? plan : f.path(saveName);
        if (answer >= 0)
            QCOMPARE(fileContents(savedTo) == before.toUtf8(), saved);
        if (hasFile && !saved)
            QCOMPARE(fileContents(plan), planBefore);
        const bool wentOn = command == "close" || command == "Quitter" ? !f.window->isVisible()
                            : command == "Nouvelle scène" ? f.scene()->items().isEmpty()
                                                          : f.title().startsWith("autre.pensascene");
        QCOMPARE(wentOn, goesOn);
        if (!goesOn) {
            QCOMPARE(QString::fromUtf8(encodeSceneDocument(writeDocument(*f.scene()))), before);
            QVERIFY(f.modified());
        }
    }

    // Ctrl+S asks for a name the first time only.
    void saveKeyWritesTheSameFileWithoutAsking()
    {
        FilesFixture f;
        const QString plan = f.path("plan.pensascene");
        f.dialogs.fileNames.enqueue(plan);
        for (int shapes = 1; shapes <= 3; ++shapes) {
            f.change();
            QTest::keyClick(f.view()->viewport(), Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(itemsIn(plan), shapes);
            QVERIFY(!f.modified());
        }
        QCOMPARE(f.calls("save").size(), 1);
        QCOMPARE(f.calls("message"), QStringList()); // no box after a save
    }

    void fileKeys_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("command");
        QTest::newRow("Ctrl+N") << QKeySequence("Ctrl+N") << "Nouvelle scène";
        QTest::newRow("Ctrl+O") << QKeySequence("Ctrl+O") << "Charger une scène";
        QTest::newRow("Ctrl+S") << QKeySequence("Ctrl+S") << "Enregistrer la scène";
        QTest::newRow("Ctrl+Shift+S") << QKeySequence("Ctrl+Shift+S") << "Enregistrer sous";
        QTest::newRow("Ctrl+Q") << QKeySequence("Ctrl+Q") << "Quitter";
    }

    void fileKeys()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, command);
        FilesFixture f;
        QSignalSpy triggered(f.action(command), &QAction::triggered);
        QTest::keySequence(f.view()->viewport(), keys);
        QCOMPARE(triggered.count(), 1);
    }

    void failedSaveKeepsTheChanges_data()
    {
        QTest::addColumn<bool>("fullDisk"); // else a folder without write permission
        QTest::newRow("read-only folder") << false;
        QTest::newRow("full disk") << true;
    }

    // The scene loaded from the place stays modified, its file whole, and
    // the next command still asks.
    void failedSaveKeepsTheChanges()
    {
        QFETCH(bool, fullDisk);
        FilesFixture f;
        QDir(f.folder.path()).mkdir("lecture");
        const QString plan = f.path("lecture/plan.pensascene");
        writeSceneOf(plan, 2);
        f.dialogs.fileNames.enqueue(plan);
        f.action("Charger une scène")->trigger();
        f.change();
        const QByteArray old = fileContents(plan);
        QFile folder(f.path("lecture"));
        if (!fullDisk) {
            folder.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
            QFile probe(f.path("lecture/essai"));
            if (probe.open(QIODevice::WriteOnly)) { // root writes anyway
                probe.remove();
                folder.setPermissions(folder.permissions() | QFile::WriteOwner);
                QSKIP("the permissions do not stop this user");
            }
        }
        {
            const FileSizeLimit limit(fullDisk ? 100 : RLIM_INFINITY);
            QTest::keyClick(f.view()->viewport(), Qt::Key_S, Qt::ControlModifier);
        }
        folder.setPermissions(folder.permissions() | QFile::WriteOwner);
        const QStringList boxes = f.calls("message");
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.at(0).startsWith("Scène non enregistrée|||La scène n'a pas pu être enregistrée dans « "
                                        + plan + " » : ")
                     && boxes.at(0).endsWith("|2"),
                 qPrintable(boxes.at(0)));
        QVERIFY(f.modified());
        QCOMPARE(fileContents(plan), old);
        QCOMPARE(QDir(f.path("lecture")).entryList(QDir::Files | QDir::Hidden), QStringList("plan.pensascene"));
        f.action("Nouvelle scène")->trigger();
        QCOMPARE(f.calls("question").size(), 1); // the cancelled question keeps the scene
        QCOMPARE(f.scene()->items().size(), 3);
    }

    // Newest first, each file once, ten at most; opening and saving both
    // count; the entries open their file.
    void recentFiles()
    {
        FilesFixture f;
        QCOMPARE(f.recentEntries(), QStringList({"Aucun fichier récent (grisé)", "Effacer la liste (grisé)"}));
        for (int i = 1; i <= 11; ++i)
            writeSceneOf(f.path(QStringLiteral("s%1.pensascene").arg(i)), i);
        for (int i = 1; i <= 11; ++i) {
            f.dialogs.fileNames.enqueue(f.path(QStringLiteral("s%1.pensascene").arg(i)));
            f.action("Charger une scène")->trigger();
        }
        f.dialogs.fileNames.enqueue(f.path("s5.pensascene"));
        f.action("Charger une scène")->trigger(); // again: to the top, once
        f.change();
        QVERIFY(f.saveAs(f.path("&co.pensascene")));
        QStringList expected{f.entry(1, "&&co.pensascene"), f.entry(2, "s5.pensascene")};
        for (int i = 11; expected.size() < 10; --i)
            if (i != 5)
                expected << f.entry(expected.size() + 1, QStringLiteral("s%1.pensascene").arg(i));
        QCOMPARE(f.recentEntries(), expected + QStringList("Effacer la liste"));

        f.recentEntry(f.entry(3, "s11.pensascene"))->trigger(); // the saved scene has nothing to lose
        QCOMPARE(f.calls("question").size(), 0);
        QCOMPARE(f.title(), QStringLiteral("s11.pensascene[*] — Pensato"));
        QCOMPARE(f.scene()->items().size(), 11);
        QCOMPARE(f.recentEntries().at(0), f.entry(1, "s11.pensascene"));

        QFile::remove(f.path("s9.pensascene"));
        f.recentEntry(f.entry(5, "s9.pensascene"))->trigger();
        QCOMPARE(f.calls("message").last(),
                 "Fichier introuvable|||Le fichier « " + f.path("s9.pensascene")
                     + " » n'existe plus ; il est retiré des fichiers récents.|2");
        QCOMPARE(f.title(), QStringLiteral("s11.pensascene[*] — Pensato"));
        QCOMPARE(f.recentEntries().size(), 9 + 1);
        QVERIFY(!f.recentEntries().join('\n').contains("s9.pensascene"));

        f.recentEntry("Effacer la liste")->trigger();
        QCOMPARE(f.recentEntries(), QStringList({"Aucun fichier récent (grisé)", "Effacer la liste (grisé)"}));
    }
};

QTEST_MAIN(tst_Files)
#include "tst_files.moc"
