// Documents read from the folders of sample files: data/ holds good files
// (each read and written back must give its .expected file, or itself),
// broken/ holds files that must load safely.

#include "IoTestSupport.h"

#include "io/SceneDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace IoTest;

namespace {

bool isFinite(const QRectF &r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width())
           && std::isfinite(r.height());
}

} // namespace

class tst_Documents : public QObject
{
    Q_OBJECT

private slots:
    void readAndWrittenBack_data();
    void readAndWrittenBack();
    void brokenFilesLoadSafely_data();
    void brokenFilesLoadSafely();
    void nonDocumentsAreRefused_data();
    void nonDocumentsAreRefused();
};

void tst_Documents::readAndWrittenBack_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    const QDir data(QStringLiteral(IO_TEST_DIR "/data"));
    const QStringList inputs = data.entryList({QStringLiteral("*.pensascene")}, QDir::Files);
    QVERIFY(inputs.size() >= 10);
    for (const QString &input : inputs) {
        const QString expected = QFileInfo(input).completeBaseName() + QStringLiteral(".expected");
        QTest::newRow(qPrintable(input))
            << data.filePath(input) << data.filePath(data.exists(expected) ? expected : input);
    }
}

void tst_Documents::readAndWrittenBack()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    auto scene = newScene();
    readDocument(*scene, readFile(input));
    const QString difference =
        IoTest::difference(normalised(scene->toJson()), normalised(readFile(expected)));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void tst_Documents::brokenFilesLoadSafely_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("shapes");
    QTest::addColumn<int>("texts");
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("arrows");
    QTest::addColumn<int>("linkedTexts");

    // -1: any number (the file gives several items one id).
    QTest::newRow("items not an array") << "items-not-array" << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("items that are not objects") << "non-object-items" << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("unknown types and diagrams") << "unknown-kinds" << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("every value of the wrong type") << "wrong-types" << 1 << 1 << 1 << 0 << 0;
    QTest::newRow("huge, tiny and negative numbers") << "huge-numbers" << 2 << 2 << 1 << 0 << -1;
    QTest::newRow("arrows naming missing or unsuitable ends") << "missing-ends" << 1 << 1 << 1 << 2 << 0;
    QTest::newRow("texts linked to missing or unsuitable items") << "bad-links" << 2 << 8 << 1 << 1 << 1;
    QTest::newRow("picture paths naming devices") << "device-paths" << 0 << 0 << 4 << 0 << 0;
    QTest::newRow("ids shared by several items") << "duplicate-ids" << 2 << 1 << 1 << -1 << -1;
}

void tst_Documents::brokenFilesLoadSafely()
{
    QFETCH(QString, file);
    QFETCH(int, shapes);
    QFETCH(int, texts);
    QFETCH(int, images);
    QFETCH(int, arrows);
    QFETCH(int, linkedTexts);

    auto scene = newScene();
    readDocument(*scene, readFile(QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene").arg(file)));

    QCOMPARE(itemsOf<DiagramItem>(*scene).size(), shapes);
    QCOMPARE(itemsOf<DiagramTextItem>(*scene).size(), texts);
    QCOMPARE(itemsOf<DiagramImage>(*scene).size(), images);
    if (arrows >= 0)
        QCOMPARE(itemsOf<Arrow>(*scene).size(), arrows);
    if (linkedTexts >= 0) {
        const auto allTexts = itemsOf<DiagramTextItem>(*scene);
        QCOMPARE(int(std::count_if(allTexts.begin(), allTexts.end(),
                                   [](DiagramTextItem *t) { return t->isLinked(); })),
                 linkedTexts);
    }
    for (QGraphicsItem *item : scene->items()) {
        QVERIFY2(isFinite(item->sceneBoundingRect()), "every item keeps finite geometry");
        QVERIFY2(idOf(item) < scene->nbItems(), "new items get ids no loaded item has");
    }
    for (const Arrow *arrow : itemsOf<Arrow>(*scene))
        QVERIFY(arrow->startItem() != arrow->endItem());

    // What was loaded can be drawn and written again.
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    scene->render(&painter, QRectF(), scene->itemsBoundingRect());
    painter.end();
    QJsonObject again;
    QString reason;
    QVERIFY(decodeSceneDocument(encodeSceneDocument(scene->toJson()), &again, &reason));
}

void tst_Documents::nonDocumentsAreRefused_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("plain text") << "not-json";
    QTest::newRow("top level is an array") << "top-level-array";
    QTest::newRow("truncated object") << "truncated";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("binary bytes") << "binary";
    QTest::newRow("nesting beyond the parser's depth") << "deep-nesting";
}

void tst_Documents::nonDocumentsAreRefused()
{
    QFETCH(QString, file);
    QJsonObject top{{QStringLiteral("untouched"), true}};
    QString reason;
    QCOMPARE(readSceneFile(QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene").arg(file), &top,
                           &reason),
             SceneFileRead::NotADocument);
    QVERIFY(!reason.isEmpty());
    QVERIFY(top.value(QLatin1String("untouched")).toBool());
}

QTEST_MAIN(tst_Documents)
#include "tst_documents.moc"
