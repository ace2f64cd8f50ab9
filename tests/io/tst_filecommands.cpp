// The window's file commands: save, save as, load and new scene.

#include "FileSizeLimit.h"
#include "IoTestSupport.h"
#include "support/MainWindowFixture.h"

#include "app/ListWidget.h"

#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>

using namespace IoTest;

namespace {

const QString dataDir = QStringLiteral(IO_TEST_DIR "/data/");

int itemsIn(const QString &path)
{
    return readFile(path).value("items").toArray().size();
}

QJsonObject shapeObject(int id)
{
    return {{"type", 65551}, {"diagram", 0}, {"id", id}, {"name", QStringLiteral("Ajout %1").arg(id)}};
}

struct Window : MainWindowFixture
{
    int rows() const { return window->findChild<ListWidget *>()->count(); }
    QString title() const { return window->windowTitle(); }
    QToolButton *backgroundButton(const QString &text) const
    {
        for (QToolButton *button : window->findChildren<QToolButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    // Runs a file command, answering its file dialog (if any) with `answer`.
    void run(const char *command, const QString &answer = QString())
    {
        dialogs.fileNames.clear();
        if (!answer.isNull())
            dialogs.fileNames.enqueue(answer);
        QVERIFY(QMetaObject::invokeMethod(window.get(), command));
    }
    // Loads a copy of a data file made in the window's folder.
    QString loadCopy(const QString &dataFile)
    {
        QFile::copy(dataDir + dataFile, path(dataFile));
        run("load", path(dataFile));
        return path(dataFile);
    }
};

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void saveAndSaveAs()
    {
        Window w;
        w.run("save", w.path("plan")); // no file yet: asks
        const QString plan = w.path("plan.pensascene");
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList("plan.pensascene"));
        QCOMPARE(fileContents(plan), encodeSceneDocument(w.scene()->toJson()));
        QCOMPARE(w.title(), "Pensato - " + plan);
        QCOMPARE(w.calls("message"), QStringList("Scène enregistrée|||La scène a été enregistrée avec succès.|1"));

        const QString first = w.loadCopy("arrow-before-ends.pensascene");
        QCOMPARE(w.title(), "Pensato - " + first);
        QCOMPARE(w.rows(), 3);
        w.scene()->itemFromJson(shapeObject(3));
        w.run("save");
        QCOMPARE(w.calls("save").size(), 1); // the loaded file, without asking
        QCOMPARE(itemsIn(first), 4);
        QCOMPARE(w.calls("message").size(), 2); // a load confirms nothing

        w.run("saveAs", w.path("second.pensascene"));
        QCOMPARE(w.title(), "Pensato - " + w.path("second.pensascene"));
        w.scene()->itemFromJson(shapeObject(4));
        w.run("save");
        QCOMPARE(w.calls("save").size(), 2);
        QCOMPARE(itemsIn(w.path("second.pensascene")), 5);
        QCOMPARE(itemsIn(first), 4);
    }

    void failuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("answer"); // null: the dialog is cancelled
        QTest::addColumn<int>("addedShapes");
        QTest::addColumn<QString>("box"); // title of the error box; empty: none
        const QString broken = QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene");
        const QString notLoaded = QStringLiteral("Scène non chargée");
        const QString notSaved = QStringLiteral("Scène non enregistrée");
        QTest::newRow("load cancelled") << QByteArray("load") << QString() << 0 << "";
        QTest::newRow("save as cancelled") << QByteArray("saveAs") << QString() << 0 << "";
        QTest::newRow("load: no such file") << QByteArray("load") << "none.pensascene" << 0 << "";
        QTest::newRow("load: plain text") << QByteArray("load") << broken.arg("not-json") << 0 << notLoaded;
        QTest::newRow("load: array") << QByteArray("load") << broken.arg("top-level-array") << 0 << notLoaded;
        QTest::newRow("load: truncated") << QByteArray("load") << broken.arg("truncated") << 0 << notLoaded;
        QTest::newRow("load: empty file") << QByteArray("load") << broken.arg("empty") << 0 << notLoaded;
        QTest::newRow("load: binary") << QByteArray("load") << broken.arg("binary") << 0 << notLoaded;
        QTest::newRow("load: too deep") << QByteArray("load") << broken.arg("deep-nesting") << 0 << notLoaded;
        // A short document fails only when the write buffer is flushed on commit.
        QTest::newRow("save, short document, disk full") << QByteArray("save") << QString() << 3 << notSaved;
        QTest::newRow("save, long document, disk full") << QByteArray("save") << QString() << 197 << notSaved;
        QTest::newRow("save as into a missing folder") << QByteArray("saveAs") << "missing/s.pensascene" << 1 << notSaved;
    }

    // The scene, the current file, the title and the file on disk stay;
    // a later "Enregistrer" writes to the loaded file without asking.
    void failuresChangeNothing()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, answer);
        QFETCH(int, addedShapes);
        QFETCH(QString, box);
        Window w;
        const QString path = w.loadCopy("every-kind.pensascene");
        const QByteArray old = fileContents(path);
        for (int id = 13; id < 13 + addedShapes; ++id)
            w.scene()->itemFromJson(shapeObject(id));
        DiagramScene *before = w.scene();
        w.dialogs.calls.clear();
        const QString target = answer.isNull() ? path : QDir(w.folder.path()).filePath(answer);
        {
            const FileSizeLimit limit(command == "save" ? old.size() + 100 : RLIM_INFINITY);
            w.run(command.constData(), answer.isNull() ? answer : target);
        }
        QCOMPARE(w.scene(), before);
        QCOMPARE(w.title(), "Pensato - " + path);
        QCOMPARE(w.rows(), 13 + addedShapes);
        QCOMPARE(fileContents(path), old);
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList("every-kind.pensascene"));
        const QStringList boxes = w.calls("message");
        QCOMPARE(boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY(boxes.at(0).startsWith(box + "|||") && boxes.at(0).endsWith("|2") && boxes.at(0).contains(target));
        if (command != "save") // the one dialog asked
            QCOMPARE(w.calls(command == "load" ? "open" : "save"),
                     QStringList((command == "load" ? "Choisir scène|" : "Enregistrer|")
                                 + QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                 + "|Scène (*.pensascene)|"));

        const int asked = w.calls("save").size();
        w.run("save");
        QCOMPARE(w.calls("save").size(), asked);
        QCOMPARE(itemsIn(path), 13 + addedShapes);
    }

    void loadChecksTheBackgroundButton_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("checked"); // empty: none checked
        QTest::newRow("transparent") << "bg-transparent" << "Transparent";
        QTest::newRow("colour") << "bg-color" << "Couleur";
        QTest::newRow("white grid") << "bg-white-grid" << "Grille blanche";
        QTest::newRow("gray grid") << "bg-gray-grid" << "Grille grise";
        QTest::newRow("picture of the user's own (24)") << "bg-own-picture" << "";
        QTest::newRow("no background: the buttons stay") << "bg-none" << "Grille grise";
    }

    void loadChecksTheBackgroundButton()
    {
        QFETCH(QString, file);
        QFETCH(QString, checked);
        Window w;
        w.backgroundButton("Grille grise")->setChecked(true);
        w.run("load", dataDir + file + ".pensascene");
        for (const QString text : {"Transparent", "Couleur", "Grille blanche", "Grille grise"})
            QCOMPARE(w.backgroundButton(text)->isChecked(), text == checked);
    }

    void loadCentresTheView()
    {
        Window w;
        w.window->resize(1000, 800);
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        auto *view = w.window->findChild<QGraphicsView *>();
        w.run("load", dataDir + "every-kind.pensascene"); // items around (1490, 1290)
        QVERIFY(QLineF(view->mapToScene(view->viewport()->rect().center()),
                       w.scene()->itemsBoundingRect().center()).length() < 5);

        w.run("load", dataDir + "empty-items.pensascene");
        // Centred on (0, 0): as far towards it as the scene rectangle lets the view go.
        QCOMPARE(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->minimum());
        QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->minimum());
    }

    void newSceneClearsEverything()
    {
        Window w;
        w.loadCopy("every-kind.pensascene");
        QVERIFY(QMetaObject::invokeMethod(w.window.get(), "createNewScene"));
        QCOMPARE(w.title(), QStringLiteral("Pensato"));
        QVERIFY(w.scene()->items().isEmpty() && w.scene()->nbItems() == 0 && !w.scene()->isColorBackground());
        QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 5000, 5000));
        QVERIFY(w.backgroundButton("Couleur")->isChecked()); // the buttons are not touched
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.rows(), 0); // the old scene's last signals reach nobody
        w.run("save");
        QCOMPARE(w.calls("save").size(), 1); // no current file
    }
};

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
