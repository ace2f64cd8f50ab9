// The update: the server's description, the settings file, the check the
// main window makes at start, the offer it shows, and the download dialog
// that fetches and hands over the program.

#include "LocalHttpServer.h"
#include "support/MainWindowFixture.h"

#include "update/ConfigFile.h"
#include "update/downloadFileName.h"
#include "update/UpdateChecker.h"
#include "update/UpdateHandOver.h"
#include "update/UpdateInfo.h"
#include "update/Updater.h"

#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

const QByteArray program(2048, 'p');
const QByteArray whole = LocalHttpServer::ok(program);
const QString failedDownload = QStringLiteral("La mise à jour n'a pas pu être téléchargée.");

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Records the hand-over instead of starting anything.
struct RecordingHandOver : UpdateHandOver
{
    RecordingHandOver() { setInstance(this); }
    ~RecordingHandOver() override { setInstance(nullptr); }
    bool startProgram(const QString &program) override { started.append(program); return startSucceeds; }
    void quitApplication() override { ++quits; }
    bool startSucceeds = true;
    QStringList started;
    int quits = 0;
};

QString offer(const char *kind, const char *version)
{
    return QStringLiteral("Une mise à jours %1 (%2) est disponible ! Voulez-vous la télécharger ?")
        .arg(QString::fromUtf8(kind), QLatin1String(version));
}

// Waits for the answer to the request `window`'s constructor sent.
void waitForCheck(const MainWindow &window)
{
    QSignalSpy answered(window.findChild<UpdateChecker *>(), &UpdateChecker::finished);
    QVERIFY(answered.wait());
}

QStringList texts(const ScriptedDialogs &dialogs)
{
    QStringList result;
    for (const ScriptedDialogs::Call &call : dialogs.calls)
        result.append(call.text);
    return result;
}

// An address on 127.0.0.1 where nothing listens.
QString closedAddress()
{
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    return QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
}

} // namespace

class tst_Updater : public QObject
{
    Q_OBJECT

    QTemporaryDir folder; // the temporary folder of this test
    LocalHttpServer server;
    QStringList downloads() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QNetworkReply *>();
        qputenv("TMPDIR", QFile::encodeName(folder.path()));
        QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::TempLocation), folder.path());
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
        server.answer("/files/p.exe", whole);
        server.answer("/cut.exe", whole.left(whole.indexOf("\r\n\r\n") + 4 + 512), true);
        server.answer("/short.exe", whole.left(whole.size() - 100));
    }

    void init()
    {
        QFile::remove(ConfigFile::defaultPath());
        UpdateChecker::setServerAddress(server.url("/"));
        for (const QString &name : downloads())
            QFile::remove(QDir(folder.path()).filePath(name));
    }

    void description()
    {
        const QByteArray digest(64, 'a');
        const QList<QPair<QByteArray, QString>> cases{ // body, then version|address|major|digest read
            {"dl=http://h/p.exe?channel=beta\r\n", "|http://h/p.exe?channe|0|"}, // cut at a later "l="
            {"version=1.2\r\nmajortrue\r\n", "1.2||1|"},
            {QByteArray("version=1.2=b\nmajortrue\nversion=1.3\0\nversion=9", 40), "1.3||1|"}, // a zero byte ends
            {"sha256=" + digest.toUpper() + "\r\n", "||0|" + QString(digest)},
            {"sha256=abc123", "||0|"}, // too short: ignored
        };
        for (const auto &c : cases) {
            const UpdateInfo info = UpdateInfo::fromDescription(c.first);
            QCOMPARE(QStringList({info.version, info.address, QString::number(info.isMajor()),
                                  QString::fromLatin1(info.sha256)}).join('|'), c.second);
        }
    }

    // The last path segment, or a fixed name when it cannot be a file name
    // inside the temporary folder.
    void downloadName()
    {
        const QString fallback = QStringLiteral("pensato-update.exe");
        const QList<QPair<QString, QString>> cases{
            {"http://h/d/p-1.2.exe?n=../x#y", "p-1.2.exe"}, {"http://h/dir/", fallback}, {"http://h/dir/%2e%2e", fallback},
            {"http://h/..%5C..%5Cevil.exe", "evil.exe"}, {"http://h/C:evil.exe", fallback},
        };
        for (const auto &c : cases)
            QCOMPARE(downloadFileName(c.first), c.second);
    }

    // The other settings stay, whatever their order; the text's last line
    // feed leaves an empty line that is written back.
    void configWriteKeepsOtherSettings()
    {
        const QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("w=3\nignore_version=1.2=x\nn=a\n"));
        file.close();
        const ConfigFile config(path);
        QCOMPARE(config.read("ignore_version"), QStringLiteral("1.2"));
        QVERIFY(config.write("ignore_version", "1.3"));
        QCOMPARE(fileContents(path), QByteArray("w=3\nn=a\n\nignore_version=1.3\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList("config.ini")); // no copy left
    }

    void download_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("digest");
        QTest::addColumn<QString>("savedAs"); // empty: the download fails
        const QByteArray none;
        QTest::newRow("name from the address") << server.url("/files/p.exe?l=x") << none << "p.exe";
        QTest::newRow("encoded separators stay in the folder") << server.url("/files/..%2F..%2Fp.exe") << none << "p.exe";
        QTest::newRow("matching digest") << server.url("/files/p.exe") << sha256(program).toUpper() << "p.exe";
        QTest::newRow("closed by hand: keeps downloading") << server.url("/files/p.exe") << none << "p.exe";
        QTest::newRow("server down") << closedAddress() + "/p.exe" << none << "";
        QTest::newRow("404") << server.url("/missing.exe") << none << "";
        QTest::newRow("cut connection") << server.url("/cut.exe") << none << "";
        QTest::newRow("shorter than announced") << server.url("/short.exe") << none << "";
        QTest::newRow("wrong digest") << server.url("/files/p.exe") << sha256("other") << "";
        QTest::newRow("not a web address") << QUrl::fromLocalFile(QFINDTESTDATA("tst_updater.cpp")).toString() << none << "";
    }

    // Only a complete, checked file is reported; nothing partial stays.
    void download()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, digest);
        QFETCH(QString, savedAs);
        if (!savedAs.isEmpty())
            server.answer(QUrl(address).path(QUrl::FullyEncoded).toUtf8(), whole);
        ScriptedDialogs dialogs;
        Updater updater;
        QCOMPARE(updater.findChild<QLabel *>("label")->text(), QStringLiteral("Téléchargement en cours..."));
        QSignalSpy finished(&updater, &Updater::finish);
        updater.download(address, digest);
        if (QByteArray(QTest::currentDataTag()).startsWith("closed"))
            updater.close(); // while the transfer is under way
        QTRY_VERIFY(!finished.isEmpty() || !dialogs.calls.isEmpty());
        QVERIFY(!updater.isVisible());
        QCOMPARE(downloads(), savedAs.isEmpty() ? QStringList() : QStringList(savedAs));
        QCOMPARE(texts(dialogs), savedAs.isEmpty() ? QStringList(failedDownload) : QStringList());
        QCOMPARE(finished.size(), savedAs.isEmpty() ? 0 : 1);
        if (savedAs.isEmpty()) {
            QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
            return;
        }
        QCOMPARE(finished.first().first().toString(), QDir(folder.path()).filePath(savedAs));
        QCOMPARE(fileContents(updater.pathFile()), program);
        QCOMPARE(updater.findChild<QProgressBar *>("progressBar")->value(), 100);
    }

    void noServerAddressSendsNothing()
    {
        UpdateChecker::setServerAddress(QString());
        MainWindow window;
        QVERIFY(!window.findChild<QNetworkAccessManager *>()); // nothing could have been sent
    }

    void checkAtStart_data()
    {
        QTest::addColumn<QByteArray>("answer"); // empty: server down
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("started"); // empty: the offer, if any, is refused
        QTest::addColumn<int>("quits");
        const QByteArray dl = "\ndl=" + server.url("/files/pensato-1.2.exe").toUtf8();
        const QStringList major(offer("majeure", "1.2")), minor(offer("mineure", "1.2"));
        const QString downloaded = QDir(folder.path()).filePath(QStringLiteral("pensato-1.2.exe"));
        const auto ok = &LocalHttpServer::ok;
        QTest::newRow("same version with CR LF") << ok("version=1.1\r" + dl + "\r\n") << QStringList() << "" << 0;
        QTest::newRow("major, refused") << ok("version=1.2" + dl + "\nmajortrue\n") << major << "" << 0;
        QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 11\r\n\r\nversion=1.2")
                                      << QStringList() << "" << 0;
        QTest::newRow("server down") << QByteArray() << QStringList() << "" << 0;
        QTest::newRow("major starts the download") << ok("version=1.2\nmajortrue" + dl) << major << downloaded << 1;
        QTest::newRow("minor goes through startUpdater") << ok("version=1.2" + dl) << minor
                                                         << QCoreApplication::applicationDirPath() + "/startUpdater.exe" << 0;
        QTest::newRow("failed start keeps the program") << ok("version=1.2\nmajortrue" + dl)
                                                        << major + QStringList("La mise à jour n'a pas pu être lancée.")
                                                        << downloaded << 0;
    }

    void checkAtStart()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, messages);
        QFETCH(QString, started);
        server.answer("/pensato/version.ini", answer);
        server.answer("/files/pensato-1.2.exe", whole);
        if (answer.isEmpty())
            UpdateChecker::setServerAddress(closedAddress());
        RecordingHandOver handOver;
        handOver.startSucceeds = !QByteArray(QTest::currentDataTag()).startsWith("failed");
        ScriptedDialogs dialogs;
        dialogs.buttons.enqueue(started.isEmpty() ? QMessageBox::No : QMessageBox::Yes);
        MainWindow window;
        waitForCheck(window);
        QTRY_COMPARE(handOver.started, started.isEmpty() ? QStringList() : QStringList(started));
        QTRY_COMPARE(texts(dialogs), messages);
        QVERIFY(dialogs.calls.isEmpty() || dialogs.calls.first().caption.isEmpty()); // no title of its own
        QTEST(handOver.quits, "quits");
        const QString replacement = QCoreApplication::applicationDirPath() + "/temp.exe"; // startUpdater's input
        QCOMPARE(fileContents(replacement), started.endsWith("/startUpdater.exe") ? program : QByteArray());
        QFile::remove(replacement);
    }

    void ignoreSilencesOnlyThatVersion()
    {
        ScriptedDialogs dialogs;
        dialogs.buttons << QMessageBox::Ignore << QMessageBox::No;
        const auto check = [&](const QByteArray &version) {
            server.answer("/pensato/version.ini", LocalHttpServer::ok("version=" + version));
            waitForCheck(MainWindow());
        };
        check("1.2");
        QCOMPARE(ConfigFile().read("ignore_version"), QStringLiteral("1.2"));
        check("1.2"); // nothing
        check("1.3");
        QCOMPARE(texts(dialogs), QStringList({offer("mineure", "1.2"), offer("mineure", "1.3")}));
    }
};

QTEST_MAIN(tst_Updater)
#include "tst_updater.moc"
