#include "update/ConfigFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class tst_ConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsAndWrites_data();
    void readsAndWrites();
    void unreadableFileIsNotReplaced();

private:
    std::unique_ptr<QTemporaryDir> folder;
    QString path;
};

void tst_ConfigFile::init()
{
    folder.reset(new QTemporaryDir);
    path = folder->filePath(QStringLiteral("config.ini"));
}

void tst_ConfigFile::readsAndWrites_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("no file") << QByteArray() << "" << QByteArray("ignore_version=1.3\n");
    // The text's last line feed leaves an empty line that is written back.
    QTest::newRow("replaced") << QByteArray("ignore_version=1.2=x\n") << "1.2"
                              << QByteArray("\nignore_version=1.3\n");
    QTest::newRow("other settings kept") << QByteArray("w=3\nignore_version=1.2\nn=a\n") << "1.2"
                                         << QByteArray("w=3\nn=a\n\nignore_version=1.3\n");
}

void tst_ConfigFile::readsAndWrites()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFile file(path);
    if (!before.isEmpty())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) && file.flush());
    file.close();

    const ConfigFile config(path);
    QTEST(config.read(QStringLiteral("ignore_version")), "read");
    QVERIFY(config.write(QStringLiteral("ignore_version"), QStringLiteral("1.3")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no copy left
}

void tst_ConfigFile::unreadableFileIsNotReplaced()
{
    // A folder in its place cannot be read, whoever runs the test.
    QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("config.ini")));
    QVERIFY(!ConfigFile(path).write(QStringLiteral("ignore_version"), QStringLiteral("1.3")));
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_GUILESS_MAIN(tst_ConfigFile)
#include "tst_configfile.moc"
