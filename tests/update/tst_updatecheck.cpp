#include "support/ScriptedDialogs.h"
#include "LocalHttpServer.h"
#include "app/MainWindow.h"
#include "update/ConfigFile.h"
#include "update/UpdateChecker.h"
#include "update/UpdateHandOver.h"

#include <QCoreApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records the hand-over instead of starting anything.
class RecordingHandOver : public UpdateHandOver
{
public:
    RecordingHandOver() { setInstance(this); }
    ~RecordingHandOver() override { setInstance(nullptr); }
    bool startProgram(const QString &program) override
    {
        started.append(program);
        return startSucceeds;
    }
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

QString outsideUpdater()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/startUpdater.exe");
}

// Builds a window, whose constructor asks the server, and waits for the answer.
void runCheck(ScriptedDialogs &dialogs, int expectedMessages)
{
    MainWindow window;
    auto *checker = window.findChild<UpdateChecker *>();
    QVERIFY(checker);
    QSignalSpy answered(checker, &UpdateChecker::finished);
    QVERIFY(answered.wait());
    QCOMPARE(dialogs.calls.size(), expectedMessages);
}

} // namespace

class tst_UpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void noServerAddressSendsNothing();
    void offers_data();
    void offers();
    void ignoreSilencesOnlyThatVersion();
    void acceptedUpdateIsHandedOver_data();
    void acceptedUpdateIsHandedOver();

private:
    QTemporaryDir downloads;
    LocalHttpServer server;
};

void tst_UpdateCheck::initTestCase()
{
    qRegisterMetaType<QNetworkReply *>();
    qputenv("TMPDIR", QFile::encodeName(downloads.path()));
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
}

void tst_UpdateCheck::init()
{
    QFile::remove(ConfigFile::defaultPath());
    UpdateChecker::setServerAddress(server.url("/"));
}

void tst_UpdateCheck::noServerAddressSendsNothing()
{
    UpdateChecker::setServerAddress(QString());
    MainWindow window;
    QVERIFY(!window.findChild<QNetworkAccessManager *>()); // nothing could have been sent
}

void tst_UpdateCheck::offers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("text");

    const QByteArray dl = "dl=" + server.url("/p.exe").toUtf8();
    QTest::newRow("same version with CR LF") << LocalHttpServer::ok("version=1.1\r\n" + dl + "\r\n")
                                             << QString();
    QTest::newRow("major") << LocalHttpServer::ok("version=1.2\n" + dl + "\nmajortrue\n")
                           << offer("majeure", "1.2");
    QTest::newRow("major=true is minor") << LocalHttpServer::ok("version=1.2\nmajor=true")
                                         << offer("mineure", "1.2");
    QTest::newRow("unrelated body") << LocalHttpServer::ok("<html>Bonjour</html>") << QString();
    QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\nContent-Length: 11\r\n\r\n"
                                                "version=1.2") << QString();
    QTest::newRow("server down") << QByteArray() << QString();
}

void tst_UpdateCheck::offers()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, text);

    server.answer("/pensato/version.ini", answer);
    if (answer.isEmpty()) {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        UpdateChecker::setServerAddress(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    }
    ScriptedDialogs dialogs;
    dialogs.buttons.enqueue(QMessageBox::No);
    runCheck(dialogs, text.isEmpty() ? 0 : 1);
    if (!text.isEmpty()) {
        QCOMPARE(dialogs.calls.first().text, text);
        QCOMPARE(dialogs.calls.first().caption, QString()); // no title of its own
    }
}

void tst_UpdateCheck::ignoreSilencesOnlyThatVersion()
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

void tst_UpdateCheck::acceptedUpdateIsHandedOver_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<bool>("startSucceeds");
    QTest::addColumn<QString>("started");
    QTest::addColumn<int>("quits");
    QTest::addColumn<QString>("failure");

    const QByteArray dl = "\ndl=" + server.url("/files/pensato-1.2.exe").toUtf8();
    const QString downloaded = QDir(downloads.path()).filePath(QStringLiteral("pensato-1.2.exe"));
    QTest::newRow("major starts the download") << "majortrue" + dl << true << downloaded << 1
                                               << QString();
    QTest::newRow("minor goes through startUpdater") << dl << true << outsideUpdater() << 0 << QString();
    QTest::newRow("failed start keeps the program") << "majortrue" + dl << false << downloaded << 0
                                                    << "La mise à jour n'a pas pu être lancée.";
    QTest::newRow("wrong digest hands nothing over")
        << "sha256=" + QByteArray(64, '0') + dl << true << QString() << 0
        << "La mise à jour n'a pas pu être téléchargée.";
}

void tst_UpdateCheck::acceptedUpdateIsHandedOver()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, started);
    QFETCH(QString, failure);

    const QByteArray program(4096, 'p');
    server.answer("/pensato/version.ini", LocalHttpServer::ok("version=1.2\n" + description));
    server.answer("/files/pensato-1.2.exe", LocalHttpServer::ok(program));
    RecordingHandOver handOver;
    QFETCH(bool, startSucceeds);
    handOver.startSucceeds = startSucceeds;
    ScriptedDialogs dialogs;
    dialogs.buttons.enqueue(QMessageBox::Yes);

    MainWindow window;
    // Over once something is started or a second box reports a failure.
    QTRY_VERIFY(!handOver.started.isEmpty() || dialogs.calls.size() == 2);
    QCOMPARE(handOver.started, started.isEmpty() ? QStringList() : QStringList(started));
    QTEST(handOver.quits, "quits");
    QCOMPARE(dialogs.calls.size(), failure.isEmpty() ? 1 : 2);
    if (!failure.isEmpty())
        QCOMPARE(dialogs.calls.last().text, failure);

    QFile replacement(QCoreApplication::applicationDirPath() + "/temp.exe");
    QCOMPARE(replacement.open(QIODevice::ReadOnly), started == outsideUpdater());
    if (replacement.isOpen()) {
        QCOMPARE(replacement.readAll(), program);
        replacement.remove();
    }
}

QTEST_MAIN(tst_UpdateCheck)
#include "tst_updatecheck.moc"
