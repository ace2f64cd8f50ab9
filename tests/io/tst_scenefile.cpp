// The document as bytes and as a file: encoding, parsing, safe writing.

#include "FileSizeLimit.h"

#include "io/SceneFile.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

QJsonObject bigDocument()
{
    QJsonArray items;
    for (int i = 0; i < 500; ++i)
        items.append(QJsonObject{{"type", 65551}, {"id", i}, {"name", QStringLiteral("Carré %1").arg(i)}});
    return {{"items", items}};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_SceneFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void encodedAsIndentedUtf8();
    void decodes_data();
    void decodes();
    void decodesLocalEncodingWhenNotUtf8();
    void writtenThenRead();
    void failedWriteKeepsTheOldFile();
    void unwritablePathGivesAReason();
    void unreadablePathCannotOpen();

private:
    QTemporaryDir folder;
};

void tst_SceneFile::init()
{
    QVERIFY(folder.isValid());
}

void tst_SceneFile::encodedAsIndentedUtf8()
{
    const QByteArray bytes = encodeSceneDocument({{"name", QStringLiteral("Carré")}});
    QCOMPARE(bytes, QByteArray("{\n    \"name\": \"Carr\xC3\xA9\"\n}\n"));
}

void tst_SceneFile::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::newRow("UTF-8") << QByteArray("{\"name\": \"Carr\xC3\xA9\"}") << QStringLiteral("Carré");
    QTest::newRow("UTF-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF{\"name\": \"\xC3\xA0\"}") << QStringLiteral("à");
    QTest::newRow("escaped") << QByteArray("{\"name\": \"\\u00e9\"}") << QStringLiteral("é");
}

void tst_SceneFile::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QJsonObject top;
    QString reason;
    QVERIFY(decodeSceneDocument(bytes, &top, &reason));
    QCOMPARE(top.value("name").toString(), name);
}

void tst_SceneFile::decodesLocalEncodingWhenNotUtf8()
{
    QTextCodec *before = QTextCodec::codecForLocale();
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    QJsonObject top;
    QString reason;
    const bool decoded = decodeSceneDocument(QByteArray("{\"name\": \"\xE9t\xE9\"}"), &top, &reason);
    QTextCodec::setCodecForLocale(before);
    QVERIFY(decoded);
    QCOMPARE(top.value("name").toString(), QStringLiteral("été"));
}

void tst_SceneFile::writtenThenRead()
{
    const QString path = folder.filePath("scene.pensascene");
    QString reason;
    QVERIFY2(writeSceneFile(path, bigDocument(), &reason), qPrintable(reason));
    QCOMPARE(contents(path), encodeSceneDocument(bigDocument()));
    QJsonObject top;
    QCOMPARE(readSceneFile(path, &top, &reason), SceneFileRead::Ok);
    QCOMPARE(top, bigDocument());
}

void tst_SceneFile::failedWriteKeepsTheOldFile()
{
    const QTemporaryDir folder; // alone in it, to see any leftover
    const QString path = folder.filePath("old.pensascene");
    const QByteArray old = encodeSceneDocument({{"items", QJsonArray()}});
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    QVERIFY(encodeSceneDocument(bigDocument()).size() > 4096);
    QString reason;
    bool written;
    {
        const FileSizeLimit limit(4096);
        written = writeSceneFile(path, bigDocument(), &reason);
    }
    QVERIFY(!written);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.pensascene"}); // no leftovers
}

void tst_SceneFile::unwritablePathGivesAReason()
{
    QString reason;
    QVERIFY(!writeSceneFile(folder.filePath("missing/folder/scene.pensascene"), {}, &reason));
    QVERIFY(!reason.isEmpty());
}

void tst_SceneFile::unreadablePathCannotOpen()
{
    QJsonObject top;
    QString reason;
    QCOMPARE(readSceneFile(folder.filePath("nothing.pensascene"), &top, &reason),
             SceneFileRead::CannotOpen);
}

QTEST_GUILESS_MAIN(tst_SceneFile)
#include "tst_scenefile.moc"
