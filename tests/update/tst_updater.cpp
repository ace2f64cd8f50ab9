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

const QByteArray program(2048, 'p');
const QByteArray whole = LocalHttpServer::ok(program);
const int headSize = whole.indexOf("\r\n\r\n") + 4;

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

    void progress_data();
    void progress();
    void completeDownloadIsHandedOver_data();
    void completeDownloadIsHandedOver();
    void closingByHandKeepsDownloading();
    void failedDownloadLeavesNothing_data();
    void failedDownloadLeavesNothing();

private:
    QStringList downloads() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder; // the temporary folder of this test
    LocalHttpServer server;
};

void tst_Updater::initTestCase()
{
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::TempLocation), folder.path());
    server.answer("/files/p.exe", whole);
    server.answer("/slow.exe", whole, false, headSize + 512);
    server.answer("/cut.exe", whole.left(headSize + 512), true);
    server.answer("/short.exe", whole.left(whole.size() - 100));
    server.answer("/moved.exe", "HTTP/1.1 302 Found\r\nLocation: /files/p.exe\r\n"
                                "Content-Length: 0\r\nConnection: close\r\n\r\n");
    server.answer("/empty.exe", "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
}

void tst_Updater::cleanup()
{
    for (const QString &name : downloads())
        QFile::remove(QDir(folder.path()).filePath(name));
}

void tst_Updater::progress_data()
{
    QTest::addColumn<qint64>("bytesRead");
    QTest::addColumn<qint64>("totalBytes");
    QTest::addColumn<int>("value");

    QTest::newRow("a quarter") << qint64(512) << qint64(2048) << 25;
    QTest::newRow("no total leaves the bar") << qint64(700) << qint64(-1) << 10;
    QTest::newRow("zero total leaves the bar") << qint64(0) << qint64(0) << 10;
}

void tst_Updater::progress()
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

void tst_Updater::completeDownloadIsHandedOver_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("digest");
    QTest::addColumn<QString>("savedAs");

    QTest::newRow("name from the address") << QByteArray("/files/p.exe?l=x") << QByteArray() << "p.exe";
    QTest::newRow("encoded separators stay in the folder")
        << QByteArray("/files/..%2F..%2Fp.exe") << QByteArray() << "p.exe";
    QTest::newRow("matching digest") << QByteArray("/files/p.exe") << sha256(program).toUpper()
                                     << "p.exe";
}

void tst_Updater::completeDownloadIsHandedOver()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, digest);
    QFETCH(QString, savedAs);

    server.answer(path.split('?').first(), whole);
    ScriptedDialogs dialogs;
    Updater updater;
    QCOMPARE(updater.findChild<QLabel *>("label")->text(), QStringLiteral("Téléchargement en cours..."));
    QSignalSpy finished(&updater, &Updater::finish);
    updater.download(server.url(path), digest);
    QVERIFY(updater.isVisible());

    QVERIFY(finished.wait());
    QCOMPARE(finished.first().first().toString(), QDir(folder.path()).filePath(savedAs));
    QFile file(updater.pathFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), program);
    QVERIFY(!updater.isVisible());
    QCOMPARE(updater.findChild<QProgressBar *>("progressBar")->value(), 100);
    QCOMPARE(dialogs.calls.size(), 0);
    QCOMPARE(downloads(), QStringList(savedAs)); // no partial copy left beside it
}

void tst_Updater::closingByHandKeepsDownloading()
{
    Updater updater;
    QSignalSpy finished(&updater, &Updater::finish);
    updater.download(server.url("/slow.exe"));
    QTRY_VERIFY(server.requestedPaths.contains("/slow.exe"));
    updater.close();
    server.release();
    QVERIFY(finished.wait());
    QCOMPARE(QFileInfo(updater.pathFile()).size(), qint64(program.size()));
}

void tst_Updater::failedDownloadLeavesNothing_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("digest");

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    QTest::newRow("server down") << QStringLiteral("http://127.0.0.1:%1/p.exe").arg(closed.serverPort())
                                 << QByteArray();
    QTest::newRow("404") << server.url("/missing.exe") << QByteArray();
    QTest::newRow("cut connection") << server.url("/cut.exe") << QByteArray();
    QTest::newRow("shorter than announced") << server.url("/short.exe") << QByteArray();
    QTest::newRow("redirect not followed") << server.url("/moved.exe") << QByteArray();
    QTest::newRow("no content") << server.url("/empty.exe") << QByteArray();
    QTest::newRow("wrong digest") << server.url("/files/p.exe") << sha256("other");
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

    QTRY_COMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.first().text, QStringLiteral("La mise à jour n'a pas pu être téléchargée."));
    QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
    QVERIFY(!updater.isVisible());
    QCOMPARE(finished.size(), 0);
    QCOMPARE(downloads(), QStringList());
}

QTEST_MAIN(tst_Updater)
#include "tst_updater.moc"
