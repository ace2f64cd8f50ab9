#include "update/UpdateInfo.h"

#include <QTest>

class tst_Description : public QObject
{
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
};

void tst_Description::parses_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("major");
    QTest::addColumn<QByteArray>("sha256");

    const QByteArray digest(64, 'a');
    QTest::newRow("address cut at a later l=") << QByteArray("dl=http://h/p.exe?channel=beta\r\n")
                                              << "" << "http://h/p.exe?channe" << false << QByteArray();
    QTest::newRow("majortrue with CR LF") << QByteArray("version=1.2\r\nmajortrue\r\n") << "1.2"
                                          << "" << true << QByteArray();
    QTest::newRow("later line wins") << QByteArray("version=1.2=beta\nmajortrue\nversion=1.3\njorno")
                                     << "1.3" << "" << false << QByteArray();
    QTest::newRow("text after a zero byte ignored") << QByteArray("version=1.2\0\nversion=9", 22)
                                                    << "1.2" << "" << false << QByteArray();
    QTest::newRow("digest in upper case") << QByteArray("sha256=" + digest.toUpper() + "\r\n")
                                          << "" << "" << false << digest;
    QTest::newRow("short digest ignored") << QByteArray("sha256=abc123") << "" << "" << false
                                          << QByteArray();
}

void tst_Description::parses()
{
    QFETCH(QByteArray, body);
    const UpdateInfo info = UpdateInfo::fromDescription(body);
    QTEST(info.version, "version");
    QTEST(info.address, "address");
    QTEST(info.isMajor(), "major");
    QTEST(info.sha256, "sha256");
}

QTEST_APPLESS_MAIN(tst_Description)
#include "tst_description.moc"
