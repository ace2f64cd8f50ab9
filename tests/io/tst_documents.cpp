// Scene files: sample documents read and written back (data/ holds good
// files, each giving its .expected file or itself; broken/ holds files that
// must load safely); a scene holding every kind and property written to a
// file and read back, item by item; and the window's file commands: save,
// save as, load and new scene.

#include "FileSizeLimit.h"
#include "support/DocumentLines.h"
#include "support/MainWindowFixture.h"

#include "app/ListWidget.h"
#include "io/ItemReader.h"
#include "io/ItemCopy.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneText.h"
#include "io/indentedJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"
#include "scene/diagramBoundingRect.h"

#include <QJsonArray>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>


namespace {

const QString dataDir = QStringLiteral(IO_TEST_DIR "/data/");
const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);

// A scene as the file code sees it: without menus or property widgets.
std::unique_ptr<DiagramScene> newScene()
{
    return std::make_unique<DiagramScene>();
}

QJsonObject readFile(const QString &path)
{
    QJsonObject top;
    QString reason;
    readSceneFile(path, &top, &reason);
    return top;
}

// What the documents do not hold of an item, to compare it with its copy.
QString look(QGraphicsItem *item)
{
    QString text;
    QDebug d(&text);
    d << item->type() << item->flags() << item->mapToScene(10, 10);
    if (auto *shape = qgraphicsitem_cast<DiagramItem *>(item))
        d << shape->sceneBoundingRect() << shape->diagramType() << shape->pen() << shape->brush();
    if (auto *label = qgraphicsitem_cast<DiagramTextItem *>(item))
        d << label->sceneBoundingRect() << label->font() << label->alignment()
          << label->textInteractionFlags();
    if (auto *image = qgraphicsitem_cast<DiagramImage *>(item))
        d << image->pixmap().size(); // the picture read from its file, the formula rendered
    if (auto *arrow = qgraphicsitem_cast<Arrow *>(item))
        d << arrow->pointToBe();
    return text;
}

struct Window : MainWindowFixture
{
    int rows() const { return window->findChild<ListWidget *>()->count(); }
    QString title() const { return window->windowTitle(); }
    QToolButton *backgroundButton(const QString &text) const
    {
        for (QToolButton *button : window->findChildren<QToolButton *>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    // Runs a file command, answering its file dialog (if any) with `answer`.
    void run(const char *command, const QString &answer = QString())
    {
        dialogs.fileNames.clear();
        if (!answer.isNull())
            dialogs.fileNames.enqueue(answer);
        QVERIFY(QMetaObject::invokeMethod(window.get(), command));
    }
    // Loads a copy of a data file made in the window's folder.
    QString loadCopy(const QString &dataFile)
    {
        QFile::copy(dataDir + dataFile, path(dataFile));
        run("load", path(dataFile));
        return path(dataFile);
    }
    void addShape(int id)
    {
        ReadReport report;
        QVERIFY(readItem(*scene(), {{"type", 65551}, {"diagram", 0}, {"id", id}, {"name", QStringLiteral("Ajout %1").arg(id)},
                                    {"position", QJsonObject{{"x", 0}, {"y", 0}}},
                                    {"scale", QJsonObject{{"x", 1}, {"y", 1}}}}, &report));
    }
};

int itemsIn(const QString &path)
{
    return readFile(path).value("items").toArray().size();
}

// A document of every kind of value Qt's JSON writer treats apart: nested
// and empty containers, escapes, non-ASCII text with whole and broken
// surrogate pairs, integers and doubles of every size.
QJsonValue randomJson(QRandomGenerator &random, int depth)
{
    static const QVector<ushort> units = {'a', 'Z', ' ', '"', '\\', '/', 0x01, 0x08, 0x09, 0x0a,
                                          0x0c, 0x0d, 0x1f, 0x7f, 0xe9, 0x2028, 0xfdd0, 0xfffe,
                                          0xd83d, 0xde00, 0xdc00, 0x20ac};
    static const QVector<double> numbers = {0, -0.0, 1, -1, 0.1, 1.0 / 3, 65551, 1e6, 1e15,
                                            1e16, 123456789012345678.0, 1e21, 1e-5, 1e-7,
                                            2.5e300, 4.9e-324, 17.25, -1234.5678};
    switch (random.bounded(depth > 3 ? 5 : 7)) {
    case 0: return QJsonValue();
    case 1: return random.bounded(2) == 1;
    case 2: return numbers.at(random.bounded(numbers.size())) * (random.bounded(2) ? 1 : -3);
    case 3: return int(random.generate());
    case 4: {
        QString text;
        for (int n = random.bounded(8); n > 0; --n)
            text += QChar(units.at(random.bounded(units.size())));
        return text;
    }
    case 5: {
        QJsonArray array;
        for (int n = random.bounded(4); n > 0; --n)
            array.append(randomJson(random, depth + 1));
        return array;
    }
    default: {
        QJsonObject object;
        for (int n = random.bounded(5); n > 0; --n)
            object.insert(randomJson(random, 4).toString(QStringLiteral("k%1").arg(n)),
                          randomJson(random, depth + 1));
        return object;
    }
    }
}

} // namespace

class tst_Documents : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<DiagramScene> original = newScene();
    std::unique_ptr<DiagramScene> copy = newScene();
    QList<QGraphicsItem *> all; // the original's items

    template <typename T>
    T *added(T *item, int id, const QString &name)
    {
        item->setId(id);
        item->setName(name);
        original->addItem(item);
        original->registerItem(item);
        all.append(item);
        return item;
    }

private slots:
    void readAndWrittenBack_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QDir data(dataDir);
        const QStringList inputs = data.entryList({QStringLiteral("*.pensascene")}, QDir::Files);
        QVERIFY(inputs.size() >= 10);
        for (const QString &input : inputs) {
            const QString expected = QFileInfo(input).completeBaseName() + QStringLiteral(".expected");
            QTest::newRow(qPrintable(input))
                << data.filePath(input) << data.filePath(data.exists(expected) ? expected : input);
        }
    }

    void readAndWrittenBack()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        auto scene = newScene();
        readDocument(*scene, readFile(input));
        QCOMPARE(documentLines(writeDocument(*scene)), documentLines(readFile(expected)));
        // The text is written directly, keys in the order Qt's writer gives them.
        QCOMPARE(documentText(*scene), QJsonDocument(writeDocument(*scene)).toJson());
    }

    // Files are written as Qt's own writer wrote them, byte for byte: the
    // sample scenes and a thousand random documents.
    void indentedTextIsQtsOwn()
    {
        const QDir data(dataDir);
        for (const QString &input : data.entryList({QStringLiteral("*.pensascene")}, QDir::Files)) {
            const QJsonObject document = readFile(data.filePath(input));
            QCOMPARE(indentedJson(document), QJsonDocument(document).toJson(QJsonDocument::Indented));
        }
        QRandomGenerator random(20261208);
        for (int i = 0; i < 1000; ++i) {
            const QJsonObject document{{QStringLiteral("v"), randomJson(random, 0)},
                                       {QStringLiteral("w"), randomJson(random, 0)}};
            QCOMPARE(indentedJson(document), QJsonDocument(document).toJson(QJsonDocument::Indented));
        }
        QCOMPARE(indentedJson(QJsonObject()), QJsonDocument(QJsonObject()).toJson());
    }

    // A file read item by item from its text gives what Qt's whole tree
    // gives: the same verdict and reason, members, items and scene, whether
    // the text is checked and split or left to Qt's parser (the unusual
    // rows).
    void textReadsAsTree_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        for (const QString &folder : {QStringLiteral("/data/"), QStringLiteral("/broken/")}) {
            const QDir dir(QStringLiteral(IO_TEST_DIR) + folder);
            for (const QString &file : dir.entryList({QStringLiteral("*.pensascene")}, QDir::Files))
                QTest::newRow(qPrintable(file)) << fileContents(dir.filePath(file));
        }
        // JSON with ' for ".
        const auto json = [](const char *text) { return QByteArray(text).replace('\'', '"'); };
        const QByteArray shape = json("{'type': 65551, 'diagram': 0, 'id': 4, 'name': 'a',\n"
                                      " 'position': {'x': 1, 'y': 2, 'z': 0}}");
        const QByteArray arrow = json("{'type': 65540, 'id': 9, 'name': 'f',\n"
                                      " 'startItem': {'type': 65551, 'id': 4},"
                                      " 'endItem': {'type': 65551, 'id': 5}}");
        const QList<QPair<const char *, QByteArray>> rows{
            {"empty object", "{}"},
            {"empty items, spaced", json(" \r\n{ 'items' : [ ] } \t")},
            {"no items", json("{'nbItems': 3, 'background': {'color': {'r': 1, 'g': 2, 'b': 3}}}")},
            {"items of every kind of value",
             json("{'items': [1, -2.5e3, 's', null, true, false, [], {}, ") + shape + "]}"},
            {"an arrow before its ends",
             json("{'items': [") + arrow + ", " + shape + ", " + QByteArray(shape).replace('4', '5') + "]}"},
            {"type as a fraction and as text",
             json("{'items': [{'type': 65551.0, 'diagram': 0, 'id': 1}, {'type': '65551'}]}")},
            {"type twice", json("{'items': [{'type': 65540, 'type': 65551, 'diagram': 1, 'id': 2}]}")},
            {"type escaped", json("{'items': [{'\\u0074ype': 65551, 'diagram': 2, 'id': 3}]}")},
            {"items escaped", json("{'\\u0069tems': [") + shape + "]}"},
            {"items twice", json("{'items': [], 'items': [") + shape + "]}"},
            {"escapes", json("{'items': [{'type': 65551, 'diagram': 0, "
                             "'name': 'a\\'\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00'}]}")},
            {"control character in a string", json("{'items': [{'type': 65551, 'name': 'a\tb'}]}")},
            {"numbers at the edges", json("{'items': [{'type': 65551, 'diagram': 0, "
                                          "'position': {'x': 1e400, 'y': -0.0, 'z': 1E+5}}]}")},
            {"nesting deeper than the check",
             json("{'items': [{'type': 65551, 'x': ") + QByteArray(300, '[') + QByteArray(300, ']') + "}]}"},
            {"byte order mark", "\xEF\xBB\xBF" + json("{'items': [") + shape + "]}"},
            {"Latin-1", json("{'items': [{'type': 65551, 'diagram': 0, 'name': 'caf\xE9'}]}")},
            {"nothing", ""},
            {"a top-level array", "[{}]"},
            {"items a number", json("{'items': 5}")},
            {"cut short", json("{'items': [") + shape.left(30)},
            {"garbage after", json("{'items': []} x")},
            {"a misspelt word", json("{'items': [tru]}")},
            {"a leading zero", json("{'items': [{'type': 065551}]}")},
            {"a bare fraction", json("{'items': [.5]}")},
            {"a missing comma", json("{'items': [{} {}]}")},
        };
        for (const auto &row : rows)
            QTest::newRow(row.first) << row.second;
    }

    void textReadsAsTree()
    {
        QFETCH(QByteArray, bytes);
        QJsonObject top;
        QString treeReason;
        const bool treeRead = decodeSceneDocument(bytes, &top, &treeReason);
        SceneText text;
        QString textReason;
        QCOMPARE(text.parse(bytes, &textReason), treeRead);
        QCOMPARE(textReason, treeReason);
        if (!treeRead)
            return;
        const QJsonArray items = top.take(QLatin1String("items")).toArray();
        QCOMPARE(text.members(), top);
        QCOMPARE(text.itemCount(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(text.isObject(i), items.at(i).isObject());
            QCOMPARE(text.object(i), items.at(i).toObject());
            if (text.peekedType(i) != SceneText::unknownType)
                QCOMPARE(double(text.peekedType(i)), items.at(i)[QLatin1String("type")].toDouble());
        }
        top.insert(QLatin1String("items"), items);
        auto fromTree = newScene();
        auto fromText = newScene();
        const ReadReport treeReport = readDocument(*fromTree, top);
        const ReadReport textReport = readDocument(*fromText, text);
        QCOMPARE(textReport.summary(), treeReport.summary());
        QCOMPARE(documentText(*fromText), documentText(*fromTree));
    }

    // In the files the program writes, every item's kind is seen without
    // parsing it, so that texts and arrows are parsed once, when read.
    void writtenItemsShowTheirKind()
    {
        auto scene = newScene();
        readDocument(*scene, readFile(dataDir + "every-kind.pensascene"));
        SceneText text;
        QString reason;
        QVERIFY(text.parse(documentText(*scene), &reason));
        QVERIFY(text.itemCount() > 5);
        for (int i = 0; i < text.itemCount(); ++i)
            QCOMPARE(text.peekedType(i), text.object(i).value(QLatin1String("type")).toInt());
    }

    void brokenFilesLoadSafely_data()
    {
        QTest::addColumn<QString>("file");
        // shapes, texts, pictures, arrows, linked texts; then items skipped
        // and values corrected; *: any
        QTest::addColumn<QString>("counts");
        QTest::newRow("items not an array") << "items-not-array" << "0 0 0 0 0, 0 0";
        QTest::newRow("items that are not objects") << "non-object-items" << "1 0 0 0 0, 6 0";
        QTest::newRow("unknown types and diagrams") << "unknown-kinds" << "1 0 0 0 0, 10 0";
        QTest::newRow("every required value of the wrong type") << "wrong-types" << "0 0 0 0 0, 4 *";
        QTest::newRow("optional values of the wrong type") << "wrong-optional-types" << "1 1 1 1 0, 0 24";
        QTest::newRow("huge, tiny and negative numbers") << "huge-numbers" << "2 2 1 0 *, 1 43";
        QTest::newRow("arrows naming missing or unsuitable ends") << "missing-ends" << "1 1 1 1 0, 7 0";
        QTest::newRow("texts linked to missing or unsuitable items") << "bad-links" << "2 8 1 1 1, 0 *";
        QTest::newRow("picture paths naming devices") << "device-paths" << "0 0 4 0 0, 0 0";
        QTest::newRow("ids shared by several items") << "duplicate-ids" << "2 1 1 * *, * *";
    }

    // What is skipped, corrected or unlinked; nothing that enters the scene
    // is invisible or nameless. The fuzzer checks the rest of the reader's
    // promises on any input.
    void brokenFilesLoadSafely()
    {
        QFETCH(QString, file);
        QFETCH(QString, counts);
        auto scene = newScene();
        const ReadReport report = readDocument(
            *scene, readFile(QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene").arg(file)));
        QMap<int, int> found; // items by type, and linked texts under 0
        for (QGraphicsItem *item : scene->items()) {
            if (item->type() < QGraphicsItem::UserType)
                continue; // handles
            ++found[item->type()];
            QVERIFY(ListWidget::idOf(item) < scene->nbItems()); // new items get ids no loaded item has
            QVERIFY(!ListWidget::nameOf(item).trimmed().isEmpty());
            if (item->type() != Arrow::Type) {
                const QRectF r = item->sceneBoundingRect();
                QVERIFY2(r.width() >= 1 && r.height() >= 1, qPrintable(ListWidget::nameOf(item)));
            }
            if (auto *text = qgraphicsitem_cast<DiagramTextItem *>(item))
                found[0] += text->isLinked();
            if (auto *arrow = qgraphicsitem_cast<Arrow *>(item))
                QVERIFY(arrow->startItem() && arrow->startItem() != arrow->endItem());
        }
        const QString summary = QStringLiteral("%1 %2 %3 %4 %5, %6 %7").arg(found[DiagramItem::Type])
            .arg(found[DiagramTextItem::Type]).arg(found[DiagramImage::Type]).arg(found[Arrow::Type]).arg(found[0])
            .arg(report.skippedItems).arg(report.correctedValues);
        QVERIFY2(QRegularExpression("^" + counts.replace("*", "\\d+") + "$").match(summary).hasMatch(),
                 qPrintable(summary));
    }

    // The every-kind file, plus what no data file holds: a picture read from
    // its file, a text linked to a shape it stands before, an arrow whose
    // target is its end's (0, 0), counters above every id, handles shown.
    void initTestCase()
    {
        readDocument(*original, readFile(dataDir + "every-kind.pensascene"));
        all = original->items();
        const QString picturePath = folder.filePath(QStringLiteral("picture.png"));
        QPixmap pixmap(41, 30);
        pixmap.fill(Qt::red);
        QVERIFY(pixmap.save(picturePath));
        DiagramImage *picture = added(original->newImage(), 13, QStringLiteral("Image 1"));
        picture->setContent(picturePath, pixmap, false);
        picture->setOffset(-20, -15);
        picture->setFlags(picture->flags() | QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable); // as placed
        picture->setPos(3000, 2000);
        picture->setZValue(1001);
        picture->changeTransform(-45);
        picture->changeTransform(0, true, 2.5);
        DiagramTextItem *linked = added(original->newText(), 14, QStringLiteral("Texte lié"));
        linked->setZValue(1002);
        linked->setPlainText(QStringLiteral("Étiquette"));
        auto *rectangle = qgraphicsitem_cast<DiagramItem *>(original->itemById(DiagramItem::Rectangle));
        linked->linkTo(rectangle);
        rectangle->setLinkedText(linked);
        added(original->newArrow(picture, rectangle, 20), 15, QStringLiteral("Flèche 2"))
            ->setPointToBe(rectangle->mapToScene(0, 0));
        for (int i = 0; i < 12; ++i)
            sceneCounters[i].set(*original, 20 + i); // all different
        rectangle->setSelected(true);
        QString reason;
        QVERIFY2(writeSceneFile(folder.filePath("scene"), writeDocument(*original), &reason), qPrintable(reason));
        readDocument(*copy, readFile(folder.filePath("scene")));
    }

    // What the documents do not hold is compared on the items.
    void everyItemComesBack()
    {
        QCOMPARE(documentLines(writeDocument(*copy)), documentLines(writeDocument(*original)));
        for (QGraphicsItem *item : qAsConst(all)) {
            QGraphicsItem *back = copy->itemById(ListWidget::idOf(item));
            QVERIFY(back);
            QCOMPARE(look(back), look(item));
        }
        auto *linkedBack = qgraphicsitem_cast<DiagramTextItem *>(copy->itemById(14));
        QVERIFY(linkedBack->linkedItem() == copy->itemById(DiagramItem::Rectangle));
        QCOMPARE(linkedBack->linkedItem()->linkedText(), linkedBack);
        QVERIFY(!(linkedBack->textInteractionFlags() & Qt::TextEditable)); // not being edited
        QCOMPARE(qgraphicsitem_cast<DiagramImage *>(copy->itemById(13))->offset(), QPointF(-20, -15));
        QCOMPARE(qgraphicsitem_cast<DiagramItem *>(copy->itemById(4))->diagramType(), DiagramItem::Cercle);
        const Arrow *arrow = qgraphicsitem_cast<Arrow *>(copy->itemById(7)); // target in scene coordinates
        QCOMPARE(arrow->endItem()->mapToScene(arrow->pointToBe()), QPointF(150, 720));
    }

    void writtenDocument()
    {
        const QJsonObject top = writeDocument(*original);
        QVERIFY(encodeSceneDocument(top).contains("accents : \xC3\xA9 \xC3\xA0 \xC3\xA7")); // UTF-8
        QHash<QString, QJsonObject> byName;
        QStringList names;
        for (const QJsonValue &item : top.value("items").toArray()) {
            names.append(item["name"].toString());
            byName.insert(names.last(), item.toObject());
        }
        QCOMPARE(names.size(), 16); // no handles
        QCOMPARE(names.mid(0, 4), QStringList({"Texte lié", "Image 1", "Texte 0", "Math 0"})); // topmost first
        QVERIFY(names.indexOf("Texte lié") < names.indexOf("Rectangle 0")); // the text before its shape
        QCOMPARE(byName.value("Texte lié").value("linkedId"), QJsonValue(5));
        QVERIFY(!byName.value("Note").contains("linkedId"));
        for (const char *name : {"Flèche 1", "Flèche 2"}) { // no target, and the end's (0, 0)
            QCOMPARE(byName.value(name).value("isPointed"), QJsonValue(false));
            QVERIFY(!byName.value(name).contains("pointToBe"));
        }
        DiagramTextItem *centred = original->newText(); // an alignment none of the four is left out
        centred->setAlignment(Qt::AlignHCenter);
        QVERIFY(!copyItems({centred}).at(0).toObject().contains("alignment"));
        delete centred;
    }

    // A diagram reaching beyond the scene's rectangle widens it as it is
    // read, so that the scene's index divides all of it; a rectangle that
    // already holds the diagram is left as it is.
    void readingCoversTheDiagram()
    {
        const QJsonObject document = writeDocument(*original);
        for (const QRectF &page : {QRectF(0, 0, 1000, 1000), QRectF(-5000, -5000, 20000, 20000)}) {
            DiagramScene scene;
            scene.setSceneRect(page);
            readDocument(scene, document);
            QCOMPARE(scene.objects().size(), original->objects().size());
            for (DiagramObject *object : scene.objects())
                QVERIFY(scene.sceneRect().contains(object->graphicsItem()->sceneBoundingRect()));
            QVERIFY(scene.sceneRect().contains(page));
            if (page.contains(diagramBoundingRect(*original)))
                QCOMPARE(scene.sceneRect(), page);
        }
    }

    void saveLoadAndNewScene()
    {
        Window w;
        w.run("save", w.path("plan")); // no file yet: asks
        const QString plan = w.path("plan.pensascene");
        QCOMPARE(w.calls("save"), QStringList("Enregistrer|" + desktop + "|Scène (*.pensascene)|"));
        QCOMPARE(fileContents(plan), encodeSceneDocument(writeDocument(*w.scene())));
        QCOMPARE(w.title(), "plan.pensascene[*] — Pensato");
        QCOMPARE(w.calls("message"), QStringList()); // the title says it

        const QString first = w.loadCopy("every-kind.pensascene");
        QCOMPARE(w.calls("open"), QStringList("Choisir scène|" + desktop + "|Scène (*.pensascene)|"));
        QCOMPARE(w.title(), "every-kind.pensascene[*] — Pensato");
        QCOMPARE(w.rows(), 13);
        w.addShape(13);
        w.run("save");
        QCOMPARE(w.calls("save").size(), 1); // the loaded file, without asking
        QCOMPARE(itemsIn(first), 14);
        QCOMPARE(w.calls("message").size(), 0); // neither saves nor loads confirm

        w.run("saveAs", w.path("second.pensascene"));
        QCOMPARE(w.title(), "second.pensascene[*] — Pensato");
        QCOMPARE(itemsIn(w.path("second.pensascene")), 14);

        QVERIFY(QMetaObject::invokeMethod(w.window.get(), "createNewScene"));
        QCOMPARE(w.title(), QStringLiteral("Sans titre[*] — Pensato"));
        QVERIFY(w.scene()->items().isEmpty() && w.scene()->nbItems() == 0 && !w.scene()->isColorBackground());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.rows(), 0); // the old scene's last signals reach nobody
        w.run("save");
        QCOMPARE(w.calls("save").size(), 3); // no current file
    }

    void failuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("answer"); // null: the dialog is cancelled
        QTest::addColumn<int>("addedShapes");
        QTest::addColumn<QString>("box"); // title of the error box; empty: none
        const QString broken = QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene");
        const QString notLoaded = QStringLiteral("Scène non chargée"), notSaved = QStringLiteral("Scène non enregistrée");
        QTest::newRow("load cancelled") << QByteArray("load") << QString() << 0 << "";
        QTest::newRow("save as cancelled") << QByteArray("saveAs") << QString() << 0 << "";
        QTest::newRow("load: no such file") << QByteArray("load") << "none.pensascene" << 0 << notLoaded;
        QTest::newRow("load: plain text") << QByteArray("load") << broken.arg("not-json") << 0 << notLoaded;
        QTest::newRow("load: array") << QByteArray("load") << broken.arg("top-level-array") << 0 << notLoaded;
        QTest::newRow("load: too deep") << QByteArray("load") << broken.arg("deep-nesting") << 0 << notLoaded;
        // A short document fails only when the write buffer is flushed on commit.
        QTest::newRow("save, short document, disk full") << QByteArray("save") << QString() << 3 << notSaved;
        QTest::newRow("save, long document, disk full") << QByteArray("save") << QString() << 197 << notSaved;
        QTest::newRow("save as into a missing folder") << QByteArray("saveAs") << "missing/s.pensascene" << 1 << notSaved;
    }

    // The scene, the current file, the title and the file on disk stay;
    // a later "Enregistrer" writes to the loaded file without asking.
    void failuresChangeNothing()
    {
        QFETCH(QByteArray, command);
        QFETCH(QString, answer);
        QFETCH(int, addedShapes);
        QFETCH(QString, box);
        Window w;
        const QString path = w.loadCopy("every-kind.pensascene");
        const QByteArray old = fileContents(path);
        for (int id = 13; id < 13 + addedShapes; ++id)
            w.addShape(id);
        DiagramScene *before = w.scene();
        w.dialogs.calls.clear();
        const QString target = answer.isNull() ? path : QDir(w.folder.path()).filePath(answer);
        {
            const FileSizeLimit limit(command == "save" ? old.size() + 100 : RLIM_INFINITY);
            w.run(command.constData(), answer.isNull() ? answer : target);
        }
        QCOMPARE(w.scene(), before);
        QCOMPARE(w.title(), "every-kind.pensascene[*] — Pensato");
        QCOMPARE(w.rows(), 13 + addedShapes);
        QCOMPARE(fileContents(path), old);
        QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList("every-kind.pensascene"));
        const QStringList boxes = w.calls("message");
        QCOMPARE(boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY(boxes.at(0).startsWith(box + "|||") && boxes.at(0).endsWith("|2") && boxes.at(0).contains(target));
        const int asked = w.calls("save").size();
        w.run("save");
        QCOMPARE(w.calls("save").size(), asked);
        QCOMPARE(itemsIn(path), 13 + addedShapes);
    }

    void loadShowsTheScene_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("checked"); // empty: none checked
        QTest::newRow("transparent") << "bg-transparent" << "Transparent";
        QTest::newRow("white grid") << "bg-white-grid" << "Grille blanche";
        QTest::newRow("gray grid") << "bg-gray-grid" << "Grille grise";
        QTest::newRow("picture of the user's own (24)") << "bg-own-picture" << "";
        QTest::newRow("no background: the buttons stay") << "bg-none" << "Grille grise";
        QTest::newRow("items around (1490, 1290)") << "every-kind" << "Couleur";
    }

    // The background's button is checked and the view centred on the items,
    // or on (0, 0) when there are none: the view scrolls beyond the scene
    // rectangle, so that any point can be centred.
    void loadShowsTheScene()
    {
        QFETCH(QString, file);
        QFETCH(QString, checked);
        Window w;
        w.window->resize(1000, 800);
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        auto *view = w.window->findChild<QGraphicsView *>();
        view->centerOn(2500, 2500);
        w.backgroundButton("Grille grise")->setChecked(true);
        w.run("load", dataDir + file + ".pensascene");
        for (const QString text : {"Transparent", "Couleur", "Grille blanche", "Grille grise"})
            QCOMPARE(w.backgroundButton(text)->isChecked(), text == checked);
        QVERIFY(QLineF(view->mapToScene(view->viewport()->rect().center()),
                       w.scene()->itemsBoundingRect().center()).length() < 5);
    }
};

QTEST_MAIN(tst_Documents)
#include "tst_documents.moc"
