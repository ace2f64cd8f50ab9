#include "support/ScriptedDialogs.h"
#include "LocalHttpServer.h"
#include "update/Updater.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString failureText = QStringLiteral("La mise à jour n'a pas pu être téléchargée.");

QByteArray program()
{
    QByteArray bytes;
    for (int i = 0; i < 2048; ++i)
        bytes.append(char(i * 7));
    return bytes;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

class tst_Updater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void showsDownloadForm();
    void progress_data();
    void progress();
    void completeDownloadIsHandedOver_data();
    void completeDownloadIsHandedOver();
    void closingByHandKeepsDownloading();
    void failedDownloadLeavesNothing_data();
    void failedDownloadLeavesNothing();

private:
    // Holds the downloads: the temporary folder of this test.
    QTemporaryDir folder;
    LocalHttpServer server;
};

void tst_Updater::initTestCase()
{
    QVERIFY(folder.isValid());
    QVERIFY(server.isListening());
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::TempLocation), folder.path());
}

void tst_Updater::cleanup()
{
    QDir downloads(folder.path());
    for (const QString &name : downloads.entryList(QDir::Files | QDir::Hidden))
        downloads.remove(name);
}

void tst_Updater::showsDownloadForm()
{
    Updater updater;
    QCOMPARE(updater.objectName(), QStringLiteral("Updater"));
    QCOMPARE(updater.windowTitle(), QStringLiteral("Dialog"));
    QCOMPARE(updater.findChild<QLabel *>("label")->text(),
             QStringLiteral("Téléchargement en cours..."));
    QCOMPARE(updater.findChild<QProgressBar *>("progressBar")->value(), 0);
}

void tst_Updater::progress_data()
{
    QTest::addColumn<qint64>("bytesRead");
    QTest::addColumn<qint64>("totalBytes");
    QTest::addColumn<int>("expected");

    QTest::newRow("a quarter") << qint64(512) << qint64(2048) << 25;
    QTest::newRow("no total leaves the bar") << qint64(700) << qint64(-1) << 10;
    QTest::newRow("zero total leaves the bar") << qint64(0) << qint64(0) << 10;
    QTest::newRow("beyond 4 GiB") << qint64(3) * (qint64(1) << 32) << qint64(4) * (qint64(1) << 32) << 75;
}

void tst_Updater::progress()
{
    QFETCH(qint64, bytesRead);
    QFETCH(qint64, totalBytes);
    QFETCH(int, expected);

    Updater updater;
    auto *bar = updater.findChild<QProgressBar *>("progressBar");
    bar->setValue(10);
    QMetaObject::invokeMethod(&updater, "onDownloadProgress",
                              Q_ARG(qint64, bytesRead), Q_ARG(qint64, totalBytes));
    QCOMPARE(bar->value(), expected);
}

void tst_Updater::completeDownloadIsHandedOver_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("digest");
    QTest::addColumn<QString>("savedAs");

    const QByteArray digest = sha256(program());
    QTest::newRow("name from the address") << QByteArray("/files/pensato-1.2.exe") << QByteArray()
                                           << "pensato-1.2.exe";
    QTest::newRow("query dropped") << QByteArray("/files/pensato-1.2.exe?channel=beta")
                                   << QByteArray() << "pensato-1.2.exe";
    QTest::newRow("address ending in a slash") << QByteArray("/files/") << QByteArray()
                                               << "pensato-update.exe";
    QTest::newRow("encoded separators stay in the folder")
        << QByteArray("/files/..%2F..%2Fescape.exe") << QByteArray() << "escape.exe";
    QTest::newRow("matching digest") << QByteArray("/files/p.exe") << digest << "p.exe";
    QTest::newRow("matching upper-case digest") << QByteArray("/files/p.exe") << digest.toUpper()
                                                << "p.exe";
}

void tst_Updater::completeDownloadIsHandedOver()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, digest);
    QFETCH(QString, savedAs);

    ScriptedDialogs dialogs;
    server.answer(path.split('?').first(), LocalHttpServer::ok(program()));
    Updater updater;
    QSignalSpy finished(&updater, &Updater::finish);
    updater.download(server.url(path), digest);
    QVERIFY(updater.isVisible());

    QVERIFY(finished.wait());
    const QString expectedPath = QDir(folder.path()).filePath(savedAs);
    QCOMPARE(finished.first().first().toString(), expectedPath);
    QFile file(expectedPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), program());
    QVERIFY(!updater.isVisible());
    QCOMPARE(updater.findChild<QProgressBar *>("progressBar")->value(), 100);
    QCOMPARE(dialogs.calls.size(), 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1); // no partial copies left
}

void tst_Updater::closingByHandKeepsDownloading()
{
    const QByteArray answer = LocalHttpServer::ok(program());
    const int headSize = answer.indexOf("\r\n\r\n") + 4;
    server.answer("/slow.exe", answer, LocalHttpServer::Close, headSize + 512);
    Updater updater;
    QSignalSpy finished(&updater, &Updater::finish);
    updater.download(server.url("/slow.exe"));

    QTRY_VERIFY(server.requestedPaths.contains("/slow.exe"));
    updater.close();
    server.release();
    QVERIFY(finished.wait());
    QCOMPARE(QFileInfo(finished.first().first().toString()).size(), qint64(2048));
}

void tst_Updater::failedDownloadLeavesNothing_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("digest");

    const QByteArray whole = LocalHttpServer::ok(program());
    const int headSize = whole.indexOf("\r\n\r\n") + 4;
    server.answer("/cut.exe", whole.left(headSize + 512), LocalHttpServer::Abort);
    server.answer("/short.exe", whole.left(whole.size() - 100), LocalHttpServer::Close);
    server.answer("/moved.exe", "HTTP/1.1 302 Found\r\nLocation: /files/p.exe\r\n"
                                "Content-Length: 0\r\nConnection: close\r\n\r\n");
    server.answer("/empty.exe", "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
    server.answer("/files/p.exe", whole);

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString downAddress = QStringLiteral("http://127.0.0.1:%1/p.exe").arg(closed.serverPort());
    closed.close();

    QTest::newRow("server down") << downAddress << QByteArray();
    QTest::newRow("404") << server.url("/missing.exe") << QByteArray();
    QTest::newRow("cut connection") << server.url("/cut.exe") << QByteArray();
    QTest::newRow("shorter than announced") << server.url("/short.exe") << QByteArray();
    QTest::newRow("redirect not followed") << server.url("/moved.exe") << QByteArray();
    QTest::newRow("no content") << server.url("/empty.exe") << QByteArray();
    QTest::newRow("wrong digest") << server.url("/files/p.exe") << sha256("something else");
    QTest::newRow("not a web address") << QUrl::fromLocalFile(QFINDTESTDATA("tst_updater.cpp")).toString()
                                       << QByteArray();
}

void tst_Updater::failedDownloadLeavesNothing()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, digest);

    ScriptedDialogs dialogs;
    Updater updater;
    QSignalSpy finished(&updater, &Updater::finish);
    updater.download(address, digest);

    QTRY_COMPARE(dialogs.callsOf("message").size(), 1);
    QCOMPARE(dialogs.calls.first().text, failureText);
    QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
    QVERIFY(!updater.isVisible());
    QCOMPARE(finished.size(), 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(tst_Updater)
#include "tst_updater.moc"
