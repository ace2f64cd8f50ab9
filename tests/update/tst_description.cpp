#include "update/UpdateInfo.h"

#include <QTest>

class tst_Description : public QObject
{
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void offers_data();
    void offers();
};

void tst_Description::parses_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("major");
    QTest::addColumn<QByteArray>("sha256");

    const QByteArray digest(64, 'a');
    QTest::newRow("carriage returns removed")
        << QByteArray("version=1.1\r\ndl=http://h/p.exe\r\n") << "1.1" << "http://h/p.exe" << false
        << QByteArray();
    QTest::newRow("majortrue") << QByteArray("version=1.2\ndl=http://h/p.exe\nmajortrue")
                               << "1.2" << "http://h/p.exe" << true << QByteArray();
    QTest::newRow("majortrue with CR LF") << QByteArray("version=1.2\r\nmajortrue\r\n") << "1.2"
                                          << QString() << true << QByteArray();
    QTest::newRow("major=true is minor") << QByteArray("version=1.2\nmajor=true\n") << "1.2"
                                         << QString() << false << QByteArray();
    QTest::newRow("address cut at a later l=")
        << QByteArray("dl=http://h/p.exe?channel=beta") << QString() << "http://h/p.exe?channe"
        << false << QByteArray();
    QTest::newRow("version cut at a later =") << QByteArray("version=1.2=beta") << "1.2"
                                              << QString() << false << QByteArray();
    QTest::newRow("later line wins") << QByteArray("version=1.2\nmajortrue\nversion=1.3\njorno")
                                     << "1.3" << QString() << false << QByteArray();
    QTest::newRow("text after a zero byte ignored") << QByteArray("version=1.2\0\nversion=9", 22)
                                                    << "1.2" << QString() << false << QByteArray();
    QTest::newRow("unrelated body") << QByteArray("<html><body>Bonjour</body></html>")
                                    << QString() << QString() << false << QByteArray();
    QTest::newRow("digest in upper case") << QByteArray("sha256=" + digest.toUpper() + "\r\n")
                                          << QString() << QString() << false << digest;
    QTest::newRow("short digest ignored") << QByteArray("sha256=abc123") << QString() << QString()
                                          << false << QByteArray();
    QTest::newRow("digest with non-hex ignored") << QByteArray("sha256=" + QByteArray(64, 'g'))
                                                 << QString() << QString() << false << QByteArray();
}

void tst_Description::parses()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, version);
    QFETCH(QString, address);
    QFETCH(bool, major);
    QFETCH(QByteArray, sha256);

    const UpdateInfo info = UpdateInfo::fromDescription(body);
    QCOMPARE(info.version, version);
    QCOMPARE(info.address, address);
    QCOMPARE(info.isMajor(), major);
    QCOMPARE(info.sha256, sha256);
}

void tst_Description::offers_data()
{
    QTest::addColumn<QString>("announced");
    QTest::addColumn<QString>("ignored");
    QTest::addColumn<bool>("offered");

    QTest::newRow("newer") << "1.2" << QString() << true;
    QTest::newRow("same as own") << "1.1" << QString() << false;
    QTest::newRow("ignored") << "1.2" << "1.2" << false;
    QTest::newRow("other than the ignored one") << "1.3" << "1.2" << true;
    QTest::newRow("none announced") << QString() << QString() << false;
}

void tst_Description::offers()
{
    QFETCH(QString, announced);
    QFETCH(QString, ignored);
    QFETCH(bool, offered);

    UpdateInfo info;
    info.version = announced;
    QCOMPARE(info.isOffered(QStringLiteral("1.1"), ignored), offered);
}

QTEST_APPLESS_MAIN(tst_Description)
#include "tst_description.moc"
