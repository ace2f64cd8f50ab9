// The update: the server's description, the settings file, the check the
// main window makes at start, the offer it shows, and the download dialog
// that fetches and hands over the program.

#include "LocalHttpServer.h"
#include "support/ScriptedDialogs.h"

#include "app/MainWindow.h"
#include "update/ConfigFile.h"
#include "update/UpdateChecker.h"
#include "update/UpdateHandOver.h"
#include "update/UpdateInfo.h"
#include "update/Updater.h"
#include "update/downloadFileName.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray program(2048, 'p');
const QByteArray whole = LocalHttpServer::ok(program);
const int headSize = whole.indexOf("\r\n\r\n") + 4;

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

// Builds a window, whose constructor asks the server, and waits for the answer.
void runCheck(ScriptedDialogs &dialogs, int expectedMessages)
{
    MainWindow window;
    QSignalSpy answered(window.findChild<UpdateChecker *>(), &UpdateChecker::finished);
    QVERIFY(answered.wait());
    QCOMPARE(dialogs.calls.size(), expectedMessages);
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
        server.answer("/cut.exe", whole.left(headSize + 512), true);
        server.answer("/short.exe", whole.left(whole.size() - 100));
        server.answer("/moved.exe", "HTTP/1.1 302 Found\r\nLocation: /files/p.exe\r\n"
                                    "Content-Length: 0\r\nConnection: close\r\n\r\n");
        server.answer("/empty.exe", "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
    }

    void init()
    {
        QFile::remove(ConfigFile::defaultPath());
        UpdateChecker::setServerAddress(server.url("/"));
        for (const QString &name : downloads())
            QFile::remove(QDir(folder.path()).filePath(name));
    }

    void description_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("read"); // version|address|major|digest
        const QByteArray digest(64, 'a');
        QTest::newRow("address cut at a later l=") << QByteArray("dl=http://h/p.exe?channel=beta\r\n")
                                                  << "|http://h/p.exe?channe|0|";
        QTest::newRow("majortrue with CR LF") << QByteArray("version=1.2\r\nmajortrue\r\n") << "1.2||1|";
        QTest::newRow("later line wins, zero byte ends")
            << QByteArray("version=1.2=b\nmajortrue\nversion=1.3\0\nversion=9", 40) << "1.3||1|";
        QTest::newRow("digest in upper case") << "sha256=" + digest.toUpper() + "\r\n" << "||0|" + QString(digest);
        QTest::newRow("short digest ignored") << QByteArray("sha256=abc123") << "||0|";
    }

    void description()
    {
        QFETCH(QByteArray, body);
        const UpdateInfo info = UpdateInfo::fromDescription(body);
        QTEST(QStringList({info.version, info.address, QString::number(info.isMajor()),
                           QString::fromLatin1(info.sha256)}).join('|'), "read");
    }

    void downloadName_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");
        const QString fallback = QStringLiteral("pensato-update.exe");
        QTest::newRow("last segment, query dropped") << "http://h/d/p-1.2.exe?n=../x#y" << "p-1.2.exe";
        QTest::newRow("ending in a slash") << "http://h/dir/" << fallback;
        QTest::newRow("encoded dot dot") << "http://h/dir/%2e%2e" << fallback;
        QTest::newRow("encoded backslashes") << "http://h/..%5C..%5Cevil.exe" << "evil.exe";
        QTest::newRow("drive colon") << "http://h/C:evil.exe" << fallback;
        QTest::newRow("control character") << "http://h/a%0Ab.exe" << fallback;
        QTest::newRow("trailing dots") << "http://h/..." << fallback;
        QTest::newRow("too long") << "http://h/" + QString(300, 'a') << fallback;
    }

    void downloadName()
    {
        QFETCH(QString, address);
        QTEST(downloadFileName(address), "name");
    }

    // The other settings stay, whatever their order; the text's last line
    // feed leaves an empty line that is written back.
    void configWriteKeepsOtherSettings()
    {
        const QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("config.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("w=3\nignore_version=1.2=x\nn=a\n") && file.flush());
        file.close();
        const ConfigFile config(file.fileName());
        QCOMPARE(config.read(QStringLiteral("ignore_version")), QStringLiteral("1.2"));
        QVERIFY(config.write(QStringLiteral("ignore_version"), QStringLiteral("1.3")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("w=3\nn=a\n\nignore_version=1.3\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList("config.ini")); // no copy left
    }

    void progress_data()
    {
        QTest::addColumn<qint64>("bytesRead");
        QTest::addColumn<qint64>("totalBytes");
        QTest::addColumn<int>("value");
        QTest::newRow("a quarter") << qint64(512) << qint64(2048) << 25;
        QTest::newRow("no total leaves the bar") << qint64(700) << qint64(-1) << 10;
    }

    void progress()
    {
        QFETCH(qint64, bytesRead);
        QFETCH(qint64, totalBytes);
        Updater updater;
        auto *bar = updater.findChild<QProgressBar *>("progressBar");
        bar->setValue(10);
        QMetaObject::invokeMethod(&updater, "onDownloadProgress",
                                  Q_ARG(qint64, bytesRead), Q_ARG(qint64, totalBytes));
        QTEST(bar->value(), "value");
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
        QTest::newRow("server down") << closedAddress() + "/p.exe" << none << "";
        QTest::newRow("404") << server.url("/missing.exe") << none << "";
        QTest::newRow("cut connection") << server.url("/cut.exe") << none << "";
        QTest::newRow("shorter than announced") << server.url("/short.exe") << none << "";
        QTest::newRow("redirect not followed") << server.url("/moved.exe") << none << "";
        QTest::newRow("no content") << server.url("/empty.exe") << none << "";
        QTest::newRow("wrong digest") << server.url("/files/p.exe") << sha256("other") << "";
        QTest::newRow("not a web address") << QUrl::fromLocalFile(QFINDTESTDATA("tst_updater.cpp")).toString()
                                           << none << "";
    }

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

        QTRY_VERIFY(!finished.isEmpty() || !dialogs.calls.isEmpty());
        QVERIFY(!updater.isVisible());
        QCOMPARE(downloads(), savedAs.isEmpty() ? QStringList() : QStringList(savedAs)); // nothing partial
        if (savedAs.isEmpty()) {
            QCOMPARE(dialogs.calls.size(), 1);
            QCOMPARE(dialogs.calls.first().text, QStringLiteral("La mise à jour n'a pas pu être téléchargée."));
            QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
            QCOMPARE(finished.size(), 0);
            return;
        }
        QCOMPARE(finished.first().first().toString(), QDir(folder.path()).filePath(savedAs));
        QFile file(updater.pathFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), program);
        QCOMPARE(updater.findChild<QProgressBar *>("progressBar")->value(), 100);
        QVERIFY(dialogs.calls.isEmpty());
    }

    void closingByHandKeepsDownloading()
    {
        Updater updater;
        QSignalSpy finished(&updater, &Updater::finish);
        updater.download(server.url("/files/p.exe"));
        updater.close(); // while the transfer is under way
        QVERIFY(finished.wait());
        QCOMPARE(QFileInfo(updater.pathFile()).size(), qint64(program.size()));
    }

    void noServerAddressSendsNothing()
    {
        UpdateChecker::setServerAddress(QString());
        MainWindow window;
        QVERIFY(!window.findChild<QNetworkAccessManager *>()); // nothing could have been sent
    }

    void offers_data()
    {
        QTest::addColumn<QByteArray>("answer"); // empty: server down
        QTest::addColumn<QString>("text"); // empty: nothing offered
        const QByteArray dl = "dl=" + server.url("/p.exe").toUtf8();
        QTest::newRow("same version with CR LF") << LocalHttpServer::ok("version=1.1\r\n" + dl + "\r\n") << "";
        QTest::newRow("major") << LocalHttpServer::ok("version=1.2\n" + dl + "\nmajortrue\n") << offer("majeure", "1.2");
        QTest::newRow("major=true is minor") << LocalHttpServer::ok("version=1.2\nmajor=true") << offer("mineure", "1.2");
        QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 11\r\n\r\nversion=1.2") << "";
        QTest::newRow("server down") << QByteArray() << "";
    }

    void offers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, text);
        server.answer("/pensato/version.ini", answer);
        if (answer.isEmpty())
            UpdateChecker::setServerAddress(closedAddress());
        ScriptedDialogs dialogs;
        dialogs.buttons.enqueue(QMessageBox::No);
        runCheck(dialogs, text.isEmpty() ? 0 : 1);
        if (!text.isEmpty()) {
            QCOMPARE(dialogs.calls.first().text, text);
            QCOMPARE(dialogs.calls.first().caption, QString()); // no title of its own
        }
    }

    void ignoreSilencesOnlyThatVersion()
    {
        server.answer("/pensato/version.ini", LocalHttpServer::ok("version=1.2\n"));
        ScriptedDialogs dialogs;
        dialogs.buttons << QMessageBox::Ignore << QMessageBox::No;
        runCheck(dialogs, 1);
        QCOMPARE(ConfigFile().read(QStringLiteral("ignore_version")), QStringLiteral("1.2"));
        runCheck(dialogs, 1); // the same version again: nothing new
        server.answer("/pensato/version.ini", LocalHttpServer::ok("version=1.3\n"));
        runCheck(dialogs, 2);
        QCOMPARE(dialogs.calls.last().text, offer("mineure", "1.3"));
    }

    void acceptedUpdateIsHandedOver_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<QString>("started");
        QTest::addColumn<int>("quits");
        const QByteArray dl = "\ndl=" + server.url("/files/pensato-1.2.exe").toUtf8();
        const QString downloaded = QDir(folder.path()).filePath(QStringLiteral("pensato-1.2.exe"));
        const QString outsideUpdater = QCoreApplication::applicationDirPath() + "/startUpdater.exe";
        QTest::newRow("major starts the download") << "majortrue" + dl << true << downloaded << 1;
        QTest::newRow("minor goes through startUpdater") << dl << true << outsideUpdater << 0;
        QTest::newRow("failed start keeps the program") << "majortrue" + dl << false << downloaded << 0;
    }

    void acceptedUpdateIsHandedOver()
    {
        QFETCH(QByteArray, description);
        QFETCH(bool, startSucceeds);
        QFETCH(QString, started);
        server.answer("/pensato/version.ini", LocalHttpServer::ok("version=1.2\n" + description));
        server.answer("/files/pensato-1.2.exe", whole);
        RecordingHandOver handOver;
        handOver.startSucceeds = startSucceeds;
        ScriptedDialogs dialogs;
        dialogs.buttons.enqueue(QMessageBox::Yes);

        MainWindow window;
        QTRY_VERIFY(!handOver.started.isEmpty());
        QCOMPARE(handOver.started, QStringList(started));
        QTEST(handOver.quits, "quits");
        QCOMPARE(dialogs.calls.size(), startSucceeds ? 1 : 2);
        if (!startSucceeds)
            QCOMPARE(dialogs.calls.last().text, QStringLiteral("La mise à jour n'a pas pu être lancée."));
        QFile replacement(QCoreApplication::applicationDirPath() + "/temp.exe"); // startUpdater's input
        QCOMPARE(replacement.open(QIODevice::ReadOnly), started.endsWith("/startUpdater.exe"));
        if (replacement.isOpen()) {
            QCOMPARE(replacement.readAll(), program);
            replacement.remove();
        }
    }
};

QTEST_MAIN(tst_Updater)
#include "tst_updater.moc"
