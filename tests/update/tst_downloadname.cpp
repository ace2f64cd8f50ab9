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
    QTest::newRow("last segment, query dropped") << "http://h/d/p-1.2.exe?n=../x#y" << "p-1.2.exe";
    QTest::newRow("ending in a slash") << "http://h/dir/" << fallback;
    QTest::newRow("no path") << "http://h" << fallback;
    QTest::newRow("encoded dot dot") << "http://h/dir/%2e%2e" << fallback;
    QTest::newRow("encoded backslashes") << "http://h/..%5C..%5Cevil.exe" << "evil.exe";
    QTest::newRow("drive colon") << "http://h/C:evil.exe" << fallback;
    QTest::newRow("control character") << "http://h/a%0Ab.exe" << fallback;
    QTest::newRow("trailing dots") << "http://h/..." << fallback;
    QTest::newRow("too long") << "http://h/" + QString(300, 'a') << fallback;
}

void tst_DownloadName::nameOfAddress()
{
    QFETCH(QString, address);
    QTEST(downloadFileName(address), "name");
}

QTEST_APPLESS_MAIN(tst_DownloadName)
#include "tst_downloadname.moc"
