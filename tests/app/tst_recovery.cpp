// Autosave and recovery: the recovery file is written within the interval
// while the scene has unsaved changes, holds that scene and the file it
// belongs to, goes with a save, "Ne pas enregistrer" or a normal quit, is
// never shared between windows, and is offered at the next start. The
// last test kills a child process (this program, run with --child) after
// its autosave and recovers its work in a second one.

#include "support/DocumentLines.h"
#include "support/MainWindowFixture.h"

#include "app/AutoSaver.h"
#include "app/RecoveryFile.h"
#include "app/UserSettings.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QtTest>

namespace {

const QString sample = QStringLiteral(SAMPLE_SCENE);

void setInterval(int seconds)
{
    UserSettings().setValue("autosave/intervalSeconds", seconds);
}

QStringList filesIn(const QString &folder, const QString &pattern = QStringLiteral("*"))
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList recoveryFiles()
{
    return filesIn(RecoveryFile::standardFolder(), QStringLiteral("*.pensascene"));
}

QString recoveryPath(const QString &name)
{
    return QDir(RecoveryFile::standardFolder()).filePath(name);
}

QJsonObject readTop(const QString &path)
{
    QJsonObject top;
    QString reason;
    readSceneFile(path, &top, &reason);
    return top;
}

// The document without the name of the file it belongs to.
QJsonObject sceneOf(QJsonObject top)
{
    top.remove(QStringLiteral("recoveryOf"));
    return top;
}

// A window, shown offscreen, with what a user does with it.
struct Work : MainWindowFixture
{
    Work() { window->show(); }

    void open(const QString &fileName)
    {
        dialogs.fileNames.enqueue(fileName);
        QMetaObject::invokeMethod(window.get(), "load");
    }

    // As the "Couleur" background button does: one step of the history.
    void recolour(const QColor &color)
    {
        dialogs.colors.enqueue(color);
        QMetaObject::invokeMethod(window.get(), "chooseBackgroundColor");
    }
    QJsonObject document() const { return writeDocument(*scene()); }
    bool modified() const { return window->isWindowModified(); }
    QAction *action(const QString &text) const
    {
        for (QAction *a : window->findChildren<QAction *>())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    // Closes the window as "Quitter" does, answering the question with `answer`.
    bool quit(Dialogs::Answer answer)
    {
        dialogs.answers.enqueue(answer);
        action("Quitter")->trigger();
        return !window->isVisible() && dialogs.answers.isEmpty();
    }
    // The window goes without a normal quit, as in a crash: its lock goes
    // with it, its recovery file stays.
    void crash()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// A window on a copy of the sample scene (in its own folder by default),
// changed through its history.
struct ChangedWork : Work
{
    QString file;

    explicit ChangedWork(const QString &copy = QString())
        : file(copy.isEmpty() ? path("plan.pensascene") : copy)
    {
        QFile::copy(sample, file);
        open(file);
        recolour(Qt::yellow);
    }
};

// --child work <scene> <expected>: opens and changes the scene, writes
// what the scene then is to <expected>, and runs until killed.
// --child recover <result>: answers "Récupérer" at start, writes what it
// was asked and what it shows to <result>, then quits with "Ne pas
// enregistrer".
int runChild(const QStringList &arguments)
{
    Work work;
    if (arguments.value(0) == QLatin1String("work")) {
        work.open(arguments.value(1));
        work.recolour(Qt::magenta);
        if (!writeSceneFile(arguments.value(2), work.document(), nullptr))
            return 2;
        return QApplication::exec();
    }
    work.dialogs.answers.enqueue(Dialogs::Proceed);
    work.window->offerRecovery();
    const QStringList questions = [&] {
        QStringList texts;
        for (const ScriptedDialogs::Call &call : work.dialogs.callsOf("question"))
            texts << call.text;
        return texts;
    }();
    QJsonObject result{{"questions", QJsonArray::fromStringList(questions)},
                       {"title", work.window->windowTitle()},
                       {"modified", work.modified()},
                       {"document", work.document()}};
    result.insert("quit", work.quit(Dialogs::Discard));
    return writeSceneFile(arguments.value(1), result, nullptr) ? 0 : 2;
}

} // namespace

class tst_Recovery : public QObject
{
    Q_OBJECT

    // A data folder per test: the recovery files of one do not meet the next.
    std::unique_ptr<QTemporaryDir> dataHome;

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init()
    {
        dataHome = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", dataHome->path().toLocal8Bit());
        setInterval(1);
    }

    // Not before the interval, and again after the next change; the file
    // is a scene equal to the unsaved one, with the name of its file.
    void autosaveWritesWithinTheInterval()
    {
        QElapsedTimer clock;
        clock.start();
        ChangedWork w;
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, 3000);
        QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
        const QString recovery = recoveryPath(recoveryFiles().first());
        QCOMPARE(readTop(recovery).value("recoveryOf").toString(), w.file);
        QCOMPARE(sceneOf(readTop(recovery)), w.document());
        QVERIFY(QFileInfo::exists(recovery + ".lock"));

        w.recolour(Qt::cyan);
        QTRY_COMPARE_WITH_TIMEOUT(sceneOf(readTop(recovery)), w.document(), 3000);
        QCOMPARE(recoveryFiles().size(), 1);
        QCOMPARE(fileContents(w.file), fileContents(sample)); // never the user's file
    }

    void nothingWritten_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("undone");
        QTest::newRow("autosave off (0)") << 0 << false;
        QTest::newRow("the change undone at once") << 1 << true;
    }

    void nothingWritten()
    {
        QFETCH(int, interval);
        QFETCH(bool, undone);
        setInterval(interval);
        ChangedWork w;
        if (undone)
            QMetaObject::invokeMethod(w.window.get(), "undo");
        QTest::qWait(1600);
        QCOMPARE(recoveryFiles(), QStringList());
    }

    void recoveryFileGoes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Enregistrer") << "Enregistrer";
        QTest::newRow("undone back to the saved state") << "undo";
        QTest::newRow("Quitter, Enregistrer") << "quit and save";
        QTest::newRow("Quitter, Ne pas enregistrer") << "quit without saving";
        QTest::newRow("Nouvelle scène, Ne pas enregistrer") << "Nouvelle scène";
    }

    // Once the scene has no unsaved changes, or once they are given up; a
    // window that quits leaves nothing at all, not even its lock.
    void recoveryFileGoes()
    {
        QFETCH(QString, how);
        ChangedWork w;
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, 3000);
        if (how == "Enregistrer") {
            w.action("Enregistrer la scène")->trigger();
        } else if (how == "undo") {
            QMetaObject::invokeMethod(w.window.get(), "undo");
        } else if (how == "Nouvelle scène") {
            w.dialogs.answers.enqueue(Dialogs::Discard);
            w.action("Nouvelle scène")->trigger();
        } else {
            QVERIFY(w.quit(how == "quit and save" ? Dialogs::Proceed : Dialogs::Discard));
            QCOMPARE(readTop(w.file) == w.document(), how == "quit and save");
            w.crash(); // what remains of the window once it has quit
            QCOMPARE(filesIn(RecoveryFile::standardFolder()), QStringList());
            return;
        }
        QVERIFY(!w.modified());
        QCOMPARE(recoveryFiles(), QStringList());
    }

    // Each window has a file and a lock of its own; a living window's file
    // is never offered, a crashed one's is.
    void twoWindowsNeverShareAFile()
    {
        ChangedWork first;
        ChangedWork second;
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 2, 3000);
        QVERIFY(RecoveryFile::leftBehind(RecoveryFile::standardFolder()).empty());
        second.recolour(Qt::blue);
        QTRY_VERIFY_WITH_TIMEOUT(readTop(recoveryPath(recoveryFiles().at(0))) != readTop(recoveryPath(recoveryFiles().at(1))), 3000);
        const QJsonObject firstScene = first.document();
        first.crash();
        const auto left = RecoveryFile::leftBehind(RecoveryFile::standardFolder());
        QCOMPARE(int(left.size()), 1);
        QCOMPARE(sceneOf(readTop(left.front()->path())), firstScene);
    }

    void offeredAtStart_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Récupérer") << int(Dialogs::Proceed);
        QTest::newRow("Ignorer: kept for later") << int(Dialogs::Cancel);
        QTest::newRow("Supprimer") << int(Dialogs::Discard);
    }

    // A recovered scene is modified, belongs to its file ("Enregistrer"
    // writes there without asking) and is in the new window's recovery
    // file before the old one goes.
    void offeredAtStart()
    {
        QFETCH(int, answer);
        QTemporaryDir kept; // outlives the crashed window
        QString left, file;
        QJsonObject unsaved;
        {
            ChangedWork crashed(kept.filePath("plan.pensascene"));
            QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, 3000);
            left = recoveryPath(recoveryFiles().first());
            file = crashed.file;
            unsaved = crashed.document();
            crashed.crash();
        }
        const QString when = QLocale().toString(QFileInfo(left).lastModified(), "d MMMM yyyy 'à' HH:mm");
        MainWindowFixture next;
        next.dialogs.answers.enqueue(Dialogs::Answer(answer));
        next.window->offerRecovery();
        QCOMPARE(next.calls("question"),
                 QStringList("Récupération|||Pensato s'est arrêté sans enregistrer. Récupérer le travail du "
                             + when + " ?|4|Récupérer/Supprimer/Ignorer"));
        const bool recovered = answer == Dialogs::Proceed;
        QCOMPARE(QFileInfo::exists(left), answer == Dialogs::Cancel);
        QCOMPARE(next.window->isWindowModified(), recovered);
        QCOMPARE(next.scene()->items().isEmpty(), !recovered);
        if (!recovered) {
            MainWindowFixture later; // offered again, or not at all
            later.window->offerRecovery();
            QCOMPARE(later.calls("question").size(), answer == Dialogs::Cancel ? 1 : 0);
            return;
        }
        QCOMPARE(documentLines(writeDocument(*next.scene())), documentLines(sceneOf(unsaved)));
        QCOMPARE(next.window->windowTitle(), QStringLiteral("plan.pensascene[*] — Pensato"));
        QCOMPARE(recoveryFiles().size(), 1);
        QCOMPARE(documentLines(sceneOf(readTop(recoveryPath(recoveryFiles().first())))),
                 documentLines(sceneOf(unsaved)));
        QMetaObject::invokeMethod(next.window.get(), "save");
        QCOMPARE(next.calls("save"), QStringList());
        QCOMPARE(documentLines(readTop(file)), documentLines(sceneOf(unsaved)));
        QVERIFY(!next.window->isWindowModified());
        QCOMPARE(recoveryFiles(), QStringList());
    }

    // The child is killed once its work is in the recovery file; the next
    // start offers that file and shows the work again; a normal quit then
    // leaves no file.
    void killedProcessIsRecoveredAtNextStart()
    {
        QTemporaryDir folder;
        const QString plan = folder.filePath("plan.pensascene");
        const QString expected = folder.filePath("expected.json");
        QVERIFY(QFile::copy(sample, plan));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--child", "work", plan, expected});
        QVERIFY(child.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), 1, 20000);
        const QString recovery = recoveryPath(recoveryFiles().first());
        QVERIFY2(recovery.contains(QStringLiteral("pensato-%1-").arg(child.processId())), qPrintable(recovery));
        QVERIFY(RecoveryFile::leftBehind(RecoveryFile::standardFolder()).empty()); // alive
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFileInfo::exists(recovery + ".lock")); // a dead process's lock
        QCOMPARE(sceneOf(readTop(recovery)), readTop(expected));
        QCOMPARE(readTop(recovery).value("recoveryOf").toString(), plan);

        const QString result = folder.filePath("result.json");
        QProcess next;
        next.setProcessEnvironment(environment);
        next.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        next.start(QCoreApplication::applicationFilePath(), {"--child", "recover", result});
        QVERIFY(next.waitForFinished(60000));
        QCOMPARE(next.exitCode(), 0);
        const QJsonObject shown = readTop(result);
        QCOMPARE(shown.value("questions").toArray().size(), 1);
        QVERIFY2(shown.value("questions")[0].toString().startsWith(
                     "Pensato s'est arrêté sans enregistrer. Récupérer le travail du "),
                 qPrintable(shown.value("questions")[0].toString()));
        QCOMPARE(shown.value("title").toString(), QStringLiteral("plan.pensascene[*] — Pensato"));
        QVERIFY(shown.value("modified").toBool());
        QCOMPARE(documentLines(shown.value("document").toObject()), documentLines(readTop(expected)));
        QVERIFY(shown.value("quit").toBool());
        QCOMPARE(filesIn(RecoveryFile::standardFolder()), QStringList());
    }
};

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == QLatin1String("--child"))
        return runChild(arguments.mid(2));
    tst_Recovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
