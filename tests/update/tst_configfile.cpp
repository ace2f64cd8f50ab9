#include "update/ConfigFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void setContents(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class tst_ConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void reads_data();
    void reads();
    void writes_data();
    void writes();
    void unreadableFileIsNotReplaced();
    void liesInTheApplicationDataFolder();

private:
    std::unique_ptr<QTemporaryDir> folder;
    QString path;
};

void tst_ConfigFile::init()
{
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
    path = folder->filePath(QStringLiteral("config.ini"));
}

void tst_ConfigFile::reads_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");

    QTest::newRow("no file") << QByteArray() << QString();
    QTest::newRow("value") << QByteArray("width=3\nignore_version=1.2\n") << "1.2";
    QTest::newRow("first of two") << QByteArray("ignore_version=1.2\nignore_version=1.3") << "1.2";
    QTest::newRow("cut at a further =") << QByteArray("ignore_version=1.2=x") << "1.2";
    QTest::newRow("missing key") << QByteArray("width=3\n") << QString();
}

void tst_ConfigFile::reads()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    if (!before.isEmpty())
        setContents(path, before);
    QCOMPARE(ConfigFile(path).read(QStringLiteral("ignore_version")), value);
}

void tst_ConfigFile::writes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("no file") << QByteArray() << QByteArray("ignore_version=1.3\n");
    // The text's last line feed leaves an empty line that is written back.
    QTest::newRow("replaced") << QByteArray("ignore_version=1.2\n")
                              << QByteArray("\nignore_version=1.3\n");
    QTest::newRow("other settings kept") << QByteArray("width=3\nignore_version=1.2\nname=a\n")
                                         << QByteArray("width=3\nname=a\n\nignore_version=1.3\n");
}

void tst_ConfigFile::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        setContents(path, before);

    QVERIFY(ConfigFile(path).write(QStringLiteral("ignore_version"), QStringLiteral("1.3")));
    QCOMPARE(contents(path), after);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary copy left
}

void tst_ConfigFile::unreadableFileIsNotReplaced()
{
    // A folder in its place cannot be read, whoever runs the test.
    QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("config.ini")));
    QVERIFY(!ConfigFile(path).write(QStringLiteral("ignore_version"), QStringLiteral("1.3")));
    QVERIFY(QFileInfo(path).isDir());
}

void tst_ConfigFile::liesInTheApplicationDataFolder()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir(dataFolder).removeRecursively();
    QCOMPARE(ConfigFile::defaultPath(), QStringLiteral("config.ini"));
    QVERIFY(QDir().mkpath(dataFolder));
    QCOMPARE(ConfigFile::defaultPath(), QDir(dataFolder).filePath(QStringLiteral("config.ini")));
    QDir(dataFolder).removeRecursively();
}

QTEST_GUILESS_MAIN(tst_ConfigFile)
#include "tst_configfile.moc"
