// The window's file commands: save, save as, load and new scene.

#include "FileSizeLimit.h"
#include "IoTestSupport.h"
#include "support/ScriptedDialogs.h"

#include "app/ListWidget.h"
#include "app/MainWindow.h"

#include <QGraphicsView>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace IoTest;

namespace {

const QString dataDir = QStringLiteral(IO_TEST_DIR "/data/");
const QString brokenDir = QStringLiteral(IO_TEST_DIR "/broken/");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject shapeObject(int id)
{
    return {{"type", 65551}, {"diagram", 0}, {"id", id}, {"name", QStringLiteral("Ajout %1").arg(id)}};
}

} // namespace

class tst_FileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveWithoutFileAsksOnTheDesktop();
    void saveAsWritesTheDocumentAndTitles();
    void nameTypedWithoutSuffixGetsTheScenesOne();
    void saveWritesBackToTheLoadedFile();
    void saveAsMovesTheTitleAndLaterSaves();
    void cancelledDialogsChangeNothing_data();
    void cancelledDialogsChangeNothing();
    void loadReplacesTheSceneAndTheList();
    void loadChecksTheBackgroundButton_data();
    void loadChecksTheBackgroundButton();
    void loadCentresTheView();
    void loadRefusesNonDocuments_data();
    void loadRefusesNonDocuments();
    void loadOfAnUnreadableFileIsSilent();
    void failedSaveKeepsTheFileAndTitle_data();
    void failedSaveKeepsTheFileAndTitle();
    void failedSaveAsKeepsTheCurrentFile();
    void newSceneClearsEverything();

private:
    DiagramScene *scene() const;
    ListWidget *list() const;
    QToolButton *backgroundButton(const QString &text) const;
    QString copyOf(const QString &dataFile);
    void run(const char *command, const QString &answer = QString());

    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QTemporaryDir> folder;
};

void tst_FileCommands::init()
{
    dialogs = std::make_unique<ScriptedDialogs>();
    window = std::make_unique<MainWindow>();
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
}

void tst_FileCommands::cleanup()
{
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    dialogs.reset();
}

DiagramScene *tst_FileCommands::scene() const
{
    return static_cast<DiagramScene *>(window->findChild<QGraphicsView *>()->scene());
}

ListWidget *tst_FileCommands::list() const
{
    return window->findChild<ListWidget *>();
}

QToolButton *tst_FileCommands::backgroundButton(const QString &text) const
{
    for (QToolButton *button : window->findChildren<QToolButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QString tst_FileCommands::copyOf(const QString &dataFile)
{
    const QString path = folder->filePath(QFileInfo(dataFile).fileName());
    QFile::remove(path);
    if (!QFile::copy(dataFile, path))
        qWarning("copyOf: cannot copy %s", qPrintable(dataFile));
    return path;
}

// Runs a file command, answering its file dialog (if any) with `answer`.
void tst_FileCommands::run(const char *command, const QString &answer)
{
    if (!answer.isNull())
        dialogs->fileNames.enqueue(answer);
    QVERIFY(QMetaObject::invokeMethod(window.get(), command));
    dialogs->fileNames.clear();
}

void tst_FileCommands::saveWithoutFileAsksOnTheDesktop()
{
    run("save"); // the dialog is cancelled
    const auto asked = dialogs->callsOf("save");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).caption, QStringLiteral("Enregistrer"));
    QCOMPARE(asked.at(0).dir, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    QCOMPARE(asked.at(0).filter, QStringLiteral("Scène (*.pensascene)"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato"));
    QVERIFY(dialogs->callsOf("message").isEmpty());
}

void tst_FileCommands::saveAsWritesTheDocumentAndTitles()
{
    scene()->itemFromJson(shapeObject(0));
    const QString path = folder->filePath("new.pensascene");
    run("saveAs", path);
    QCOMPARE(contents(path), encodeSceneDocument(scene()->toJson()));
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + path);
    const auto boxes = dialogs->callsOf("message");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).icon, QMessageBox::Information);
    QCOMPARE(boxes.at(0).caption, QStringLiteral("Scène enregistrée"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("La scène a été enregistrée avec succès."));
}

void tst_FileCommands::nameTypedWithoutSuffixGetsTheScenesOne()
{
    run("saveAs", folder->filePath("plan"));
    const QString path = folder->filePath("plan.pensascene");
    QVERIFY(QFile::exists(path));
    QVERIFY(!QFile::exists(folder->filePath("plan")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + path);
}

void tst_FileCommands::saveWritesBackToTheLoadedFile()
{
    const QString path = copyOf(dataDir + "arrow-before-ends.pensascene");
    run("load", path);
    scene()->itemFromJson(shapeObject(3));
    run("save");
    QVERIFY(dialogs->callsOf("save").isEmpty());
    QCOMPARE(readFile(path).value("items").toArray().size(), 4);
    QCOMPARE(dialogs->callsOf("message").size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + path);
}

void tst_FileCommands::saveAsMovesTheTitleAndLaterSaves()
{
    const QString first = copyOf(dataDir + "arrow-before-ends.pensascene");
    const QString second = folder->filePath("second.pensascene");
    run("load", first);
    run("saveAs", second);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + second);

    scene()->itemFromJson(shapeObject(3));
    run("save");
    QCOMPARE(dialogs->callsOf("save").size(), 1); // only save-as asked
    QCOMPARE(readFile(second).value("items").toArray().size(), 4);
    QCOMPARE(contents(first), contents(dataDir + "arrow-before-ends.pensascene"));
}

void tst_FileCommands::cancelledDialogsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("load") << QByteArray("load");
    QTest::newRow("save as") << QByteArray("saveAs");
}

void tst_FileCommands::cancelledDialogsChangeNothing()
{
    QFETCH(QByteArray, command);
    const QString path = copyOf(dataDir + "every-kind.pensascene");
    run("load", path);
    DiagramScene *before = scene();
    const QString title = window->windowTitle();
    const int rows = list()->count();
    const QByteArray file = contents(path);

    run(command.constData()); // cancelled
    QCOMPARE(scene(), before);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(list()->count(), rows);
    QCOMPARE(contents(path), file);
    QVERIFY(dialogs->callsOf("message").isEmpty());
}

void tst_FileCommands::loadReplacesTheSceneAndTheList()
{
    run("load", dataDir + "every-kind.pensascene");
    QCOMPARE(list()->count(), 13);
    DiagramScene *first = scene();

    run("load", dataDir + "arrow-before-ends.pensascene");
    QVERIFY(scene() != first);
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Pensato - ") + dataDir + "arrow-before-ends.pensascene");
    QStringList rows;
    for (int row = 0; row < list()->count(); ++row)
        rows.append(list()->item(row)->data(ListWidget::NameRole).toString());
    // Shapes and pictures first, then texts, then arrows.
    QCOMPARE(rows, QStringList({"Image 0", "Carré 0", "Flèche 0"}));
    QCOMPARE(dialogs->callsOf("open").at(0).caption, QStringLiteral("Choisir scène"));
    QCOMPARE(dialogs->callsOf("open").at(0).filter, QStringLiteral("Scène (*.pensascene)"));
    QVERIFY(dialogs->callsOf("message").isEmpty()); // a load confirms nothing
}

void tst_FileCommands::loadChecksTheBackgroundButton_data()
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

void tst_FileCommands::loadChecksTheBackgroundButton()
{
    QFETCH(QString, file);
    QFETCH(QString, checked);
    backgroundButton("Grille grise")->setChecked(true);
    run("load", dataDir + file + ".pensascene");
    for (const QString text : {"Transparent", "Couleur", "Grille blanche", "Grille grise"}) {
        QToolButton *button = backgroundButton(text);
        QVERIFY(button);
        QCOMPARE(button->isChecked(), text == checked);
    }
}

void tst_FileCommands::loadCentresTheView()
{
    window->resize(1000, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *view = window->findChild<QGraphicsView *>();

    const QString far = folder->filePath("far.pensascene");
    QJsonObject shape = shapeObject(0);
    shape.insert("position", QJsonObject{{"x", 4000}, {"y", 3500}, {"z", 0}});
    shape.insert("scale", QJsonObject{{"x", 1}, {"y", 1}});
    QString reason;
    QVERIFY(writeSceneFile(far, {{"items", QJsonArray{shape}}}, &reason));
    run("load", far);
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    QVERIFY2(QLineF(centre, QPointF(4000, 3500)).length() < 5, "centred on the items");

    run("load", dataDir + "empty-items.pensascene");
    // Centred on (0, 0): as far towards it as the scene rectangle lets the view go.
    QCOMPARE(view->horizontalScrollBar()->value(), view->horizontalScrollBar()->minimum());
    QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->minimum());
}

void tst_FileCommands::loadRefusesNonDocuments_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("not JSON") << "not-json";
    QTest::newRow("top level not an object") << "top-level-array";
    QTest::newRow("empty file") << "empty";
}

void tst_FileCommands::loadRefusesNonDocuments()
{
    QFETCH(QString, file);
    const QString good = copyOf(dataDir + "every-kind.pensascene");
    run("load", good);
    DiagramScene *before = scene();
    const QString title = window->windowTitle();
    const int rows = list()->count();

    const QString bad = brokenDir + file + ".pensascene";
    run("load", bad);
    QCOMPARE(scene(), before);
    QCOMPARE(before->items().isEmpty(), false);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(list()->count(), rows);
    const auto boxes = dialogs->callsOf("message");
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
    QCOMPARE(boxes.at(0).caption, QStringLiteral("Scène non chargée"));
    QVERIFY(boxes.at(0).text.contains(bad));

    run("save"); // still the good file, without a dialog
    QVERIFY(dialogs->callsOf("save").isEmpty());
    QCOMPARE(contents(bad), contents(brokenDir + file + ".pensascene"));
}

void tst_FileCommands::loadOfAnUnreadableFileIsSilent()
{
    DiagramScene *before = scene();
    run("load", folder->filePath("no-such-file.pensascene"));
    QCOMPARE(scene(), before);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato"));
    QVERIFY(dialogs->callsOf("message").isEmpty());
}

void tst_FileCommands::failedSaveKeepsTheFileAndTitle_data()
{
    QTest::addColumn<int>("addedShapes");
    // A short document fails only when the write buffer is flushed on commit.
    QTest::newRow("short document") << 3;
    QTest::newRow("longer than the write buffer") << 197;
}

void tst_FileCommands::failedSaveKeepsTheFileAndTitle()
{
    QFETCH(int, addedShapes);
    const QString path = copyOf(dataDir + "arrow-before-ends.pensascene");
    run("load", path);
    const QByteArray old = contents(path);
    for (int id = 3; id < 3 + addedShapes; ++id)
        scene()->itemFromJson(shapeObject(id));
    {
        const FileSizeLimit limit(old.size() + 100);
        run("save");
    }
    QCOMPARE(contents(path), old);
    const auto boxes = dialogs->callsOf("message");
    QCOMPARE(boxes.size(), 1); // no success box
    QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
    QCOMPARE(boxes.at(0).caption, QStringLiteral("Scène non enregistrée"));
    QVERIFY(boxes.at(0).text.contains(path));
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + path);
}

void tst_FileCommands::failedSaveAsKeepsTheCurrentFile()
{
    const QString path = copyOf(dataDir + "arrow-before-ends.pensascene");
    run("load", path);
    run("saveAs", folder->filePath("missing/folder/scene.pensascene"));
    QCOMPARE(dialogs->callsOf("message").size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato - ") + path);

    scene()->itemFromJson(shapeObject(3));
    run("save");
    QCOMPARE(dialogs->callsOf("save").size(), 1); // save did not ask again
    QCOMPARE(readFile(path).value("items").toArray().size(), 4);
}

void tst_FileCommands::newSceneClearsEverything()
{
    run("load", dataDir + "every-kind.pensascene");
    DiagramScene *loaded = scene();
    QVERIFY(backgroundButton("Couleur")->isChecked());

    QVERIFY(QMetaObject::invokeMethod(window.get(), "createNewScene"));
    DiagramScene *fresh = scene();
    QVERIFY(fresh != loaded);
    QCOMPARE(window->windowTitle(), QStringLiteral("Pensato"));
    QCOMPARE(list()->count(), 0);
    QVERIFY(fresh->items().isEmpty());
    QCOMPARE(fresh->sceneRect(), QRectF(0, 0, 5000, 5000));
    QCOMPARE(fresh->nbItems(), 0);
    QVERIFY(!fresh->isColorBackground());
    QVERIFY(backgroundButton("Couleur")->isChecked()); // the buttons are not touched

    // The old scene's last signals reach nobody.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(list()->count(), 0);

    fresh->itemFromJson(shapeObject(0));
    QCOMPARE(list()->count(), 1);
    run("save");
    QCOMPARE(dialogs->callsOf("save").size(), 1);
}

QTEST_MAIN(tst_FileCommands)
#include "tst_filecommands.moc"
