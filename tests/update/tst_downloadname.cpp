#include "update/downloadFileName.h"

#include <QTest>

class tst_DownloadName : public QObject
{
    Q_OBJECT

private slots:
    void nameOfAddress_data();
    void nameOfAddress();
};

void tst_DownloadName::nameOfAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");

    const QString fallback = QStringLiteral("pensato-update.exe");
    QTest::newRow("last segment") << "http://h/dir/pensato-1.2.exe" << "pensato-1.2.exe";
    QTest::newRow("query and fragment dropped") << "http://h/p.exe?name=../../x.exe#top" << "p.exe";
    QTest::newRow("encoded name decoded") << "http://h/mise%20%C3%A0%20jour.exe"
                                          << QStringLiteral("mise à jour.exe");
    QTest::newRow("ending in a slash") << "http://h/dir/" << fallback;
    QTest::newRow("no path") << "http://h" << fallback;
    QTest::newRow("empty address") << QString() << fallback;
    QTest::newRow("dot dot") << "http://h/dir/.." << fallback;
    QTest::newRow("encoded dot dot") << "http://h/dir/%2e%2e" << fallback;
    QTest::newRow("encoded slashes") << "http://h/..%2F..%2Fevil.exe" << "evil.exe";
    QTest::newRow("encoded backslashes") << "http://h/..%5C..%5Cevil.exe" << "evil.exe";
    QTest::newRow("drive colon") << "http://h/C:evil.exe" << fallback;
    QTest::newRow("control character") << "http://h/a%0Ab.exe" << fallback;
    QTest::newRow("zero byte") << "http://h/a.exe%00.txt" << fallback;
    QTest::newRow("trailing dots") << "http://h/..." << fallback;
    QTest::newRow("trailing space") << "http://h/a.exe%20" << fallback;
    QTest::newRow("too long") << "http://h/" + QString(300, 'a') << fallback;
}

void tst_DownloadName::nameOfAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(downloadFileName(address), name);
}

QTEST_APPLESS_MAIN(tst_DownloadName)
#include "tst_downloadname.moc"
