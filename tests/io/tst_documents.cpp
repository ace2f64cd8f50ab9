// Scene documents: sample files read and written back (data/ holds good
// files, each giving its .expected file or itself; broken/ holds files that
// must load safely), and a scene holding every kind and property written
// to a file and read back, item by item.

#include "IoTestSupport.h"

#include <QDir>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace IoTest;

namespace {

template <typename T>
T *added(DiagramScene &scene, T *item, int id, const QString &name = QString())
{
    item->setId(id);
    item->setName(name);
    scene.addItem(item);
    scene.registerItem(item);
    return item;
}

template <typename T>
T *loaded(const DiagramScene &scene, const T *original)
{
    QGraphicsItem *item = scene.itemById(original->id());
    return item && item->type() == T::Type ? static_cast<T *>(item) : nullptr;
}

} // namespace

class tst_Documents : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<DiagramScene> original = newScene();
    std::unique_ptr<DiagramScene> copy = newScene();
    QList<DiagramItem *> shapes;
    QList<DiagramTextItem *> texts; // linked, then free
    QList<DiagramImage *> images;   // picture, then formula
    QList<Arrow *> arrows;          // none, two targets, then a target at the end's (0, 0)

private slots:
    void readAndWrittenBack_data()
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

    void readAndWrittenBack()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        auto scene = newScene();
        readDocument(*scene, readFile(input));
        compareDocuments(scene->toJson(), readFile(expected));
    }

    void brokenFilesLoadSafely_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("counts"); // shapes, texts, pictures, arrows, linked texts; *: any
        QTest::newRow("items not an array") << "items-not-array" << "0 0 0 0 0";
        QTest::newRow("items that are not objects") << "non-object-items" << "1 0 0 0 0";
        QTest::newRow("unknown types and diagrams") << "unknown-kinds" << "1 0 0 0 0";
        QTest::newRow("every value of the wrong type") << "wrong-types" << "1 1 1 0 0";
        QTest::newRow("huge, tiny and negative numbers") << "huge-numbers" << "2 2 1 0 *";
        QTest::newRow("arrows naming missing or unsuitable ends") << "missing-ends" << "1 1 1 2 0";
        QTest::newRow("texts linked to missing or unsuitable items") << "bad-links" << "2 8 1 1 1";
        QTest::newRow("picture paths naming devices") << "device-paths" << "0 0 4 0 0";
        QTest::newRow("ids shared by several items") << "duplicate-ids" << "2 1 1 * *";
    }

    void brokenFilesLoadSafely()
    {
        QFETCH(QString, file);
        QFETCH(QString, counts);
        auto scene = newScene();
        readDocument(*scene, readFile(QStringLiteral(IO_TEST_DIR "/broken/%1.pensascene").arg(file)));
        const auto texts = itemsOf<DiagramTextItem>(*scene);
        const QString found = QStringLiteral("%1 %2 %3 %4 %5").arg(itemsOf<DiagramItem>(*scene).size())
            .arg(texts.size()).arg(itemsOf<DiagramImage>(*scene).size()).arg(itemsOf<Arrow>(*scene).size())
            .arg(std::count_if(texts.begin(), texts.end(), [](auto *t) { return t->isLinked(); }));
        QVERIFY2(QRegularExpression("^" + counts.replace("*", "\\d+") + "$").match(found).hasMatch(),
                 qPrintable(found));
        for (const Arrow *arrow : itemsOf<Arrow>(*scene))
            QVERIFY(arrow->startItem() && arrow->startItem() != arrow->endItem());
        for (QGraphicsItem *item : scene->items()) {
            const QRectF r = item->sceneBoundingRect();
            QVERIFY2(std::isfinite(r.x() + r.y() + r.width() + r.height()), "finite geometry");
        }
        // New items get ids no loaded item has; what was loaded can be drawn
        // and written again.
        const QJsonObject again = scene->toJson();
        for (const QJsonValue &item : again.value("items").toArray())
            QVERIFY(item["id"].toInt() < scene->nbItems());
        QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        scene->render(&painter, QRectF(), scene->itemsBoundingRect());
        QJsonObject decoded;
        QString reason;
        QVERIFY(decodeSceneDocument(encodeSceneDocument(again), &decoded, &reason));
    }

    // Every kind, every property with a value other than its default.
    void initTestCase()
    {
        const QString picturePath = folder.filePath(QStringLiteral("picture.png"));
        QPixmap pixmap(41, 30);
        pixmap.fill(Qt::red);
        QVERIFY(pixmap.save(picturePath));

        DiagramScene &scene = *original;
        for (int type = 0; type < DiagramItem::TypeCount; ++type) {
            DiagramItem *shape = added(scene, scene.newShape(DiagramItem::DiagramType(type)), type,
                                       QStringLiteral("Forme %1").arg(type));
            shape->setPos(100 + 250 * type, 200.5 + type);
            shape->setZValue(type / 3.0); // fractions survive
            shape->setBrush(QColor(10 * type, 255 - 10 * type, 7));
            QPen pen(QColor(type, 2 * type, 3 * type));
            pen.setWidth(type);
            pen.setCosmetic(true);
            shape->setPen(pen);
            shape->changeTransform(type * 30 - 90, false, 0, 0, false);
            shape->changeTransform(0, true, 0.5 + type * 0.25, 1.75 - type * 0.125, false);
            shapes.append(shape);
        }

        DiagramTextItem *linked = added(scene, scene.newText(), 7, QStringLiteral("Texte lié"));
        QFont font(QStringLiteral("DejaVu Serif"), 17, QFont::Bold, true);
        font.setUnderline(true);
        font.setStrikeOut(true);
        linked->setFont(font);
        linked->setPlainText(QStringLiteral("Un texte lié, accentué : ça ô\ndeux lignes"));
        linked->setDefaultTextColor(QColor(1, 128, 255));
        linked->setAlignment(Qt::AlignJustify);
        linked->setZValue(1000);
        linked->setPos(1500, 1500);
        linked->linkTo(shapes.at(DiagramItem::Rectangle));
        shapes.at(DiagramItem::Rectangle)->setLinkedText(linked);
        DiagramTextItem *free = added(scene, scene.newText(), 8, QStringLiteral("Texte libre"));
        free->setPlainText(QStringLiteral("libre"));
        free->setAlignment(Qt::AlignRight);
        free->setPos(-30.25, 4000);
        free->setZValue(999.75);
        texts = {linked, free};

        DiagramImage *picture = added(scene, scene.newImage(), 9, QStringLiteral("Image 0"));
        picture->setContent(picturePath, pixmap, false);
        picture->setOffset(-20, -15);
        picture->setPos(3000, 2000);
        picture->setZValue(1000.125);
        picture->changeTransform(-45);
        picture->changeTransform(0, true, 2.5);
        DiagramImage *formula = added(scene, scene.newImage(), 10, QStringLiteral("Math 0"));
        formula->setContent(QStringLiteral("$\\sqrt{x} \\leq y$"), QPixmap(), true);
        formula->setPos(2500, 500);
        formula->setZValue(1001);
        formula->changeTransform(0, true, 0.75);
        images = {picture, formula};

        const QList<QGraphicsItem *> ends{shapes.at(0), shapes.at(1), shapes.at(2), picture,
                                          formula, shapes.at(4), shapes.at(3), shapes.at(6)};
        for (int i = 0; i < 4; ++i) {
            arrows.append(added(scene, scene.newArrow(ends.at(2 * i), ends.at(2 * i + 1), 20 + 7 * i),
                                11 + i, QStringLiteral("Flèche %1").arg(i)));
            arrows.last()->setColor(QColor(250 - 80 * i, 40 * i, 5));
        }
        arrows.at(1)->setPointToBe({3010, 1995});
        arrows.at(2)->setPointToBe({1110, 210});
        arrows.at(3)->setPointToBe(shapes.at(6)->mapToScene(0, 0));

        scene.setBackground(QBrush(QColor(5, 6, 7)), false, true, false, QString(), QColor(5, 6, 7));
        for (int i = 0; i < 12; ++i)
            sceneCounters[i].set(scene, 20 + i); // above every id, and all different
        shapes.at(0)->setSelected(true); // shows its handles

        QString reason;
        QVERIFY2(writeSceneFile(folder.filePath("scene"), original->toJson(), &reason), qPrintable(reason));
        readDocument(*copy, readFile(folder.filePath("scene")));
    }

    // Names, ids, positions, stacking, rotations, scales, colours, fonts,
    // links, arrow ends and targets, background and counters go through the
    // documents; what they do not hold is compared on the items.
    void everyItemComesBack()
    {
        compareDocuments(copy->toJson(), original->toJson());
        for (const DiagramItem *shape : qAsConst(shapes)) {
            const DiagramItem *back = loaded(*copy, shape);
            QVERIFY(back);
            QCOMPARE(back->diagramType(), shape->diagramType());
            QCOMPARE(back->pen(), shape->pen());
            QCOMPARE(back->brush(), shape->brush());
            QCOMPARE(back->sceneBoundingRect(), shape->sceneBoundingRect());
        }
        for (const DiagramTextItem *text : qAsConst(texts)) {
            const DiagramTextItem *back = loaded(*copy, text);
            QVERIFY(back);
            QCOMPARE(back->font(), text->font());
            QCOMPARE(back->alignment(), text->alignment());
            QCOMPARE(back->sceneBoundingRect(), text->sceneBoundingRect());
            QVERIFY(!(back->textInteractionFlags() & Qt::TextEditable)); // not being edited
        }
        // The text stood before its shape in "items".
        const DiagramTextItem *linkedBack = loaded(*copy, texts.at(0));
        QCOMPARE(linkedBack->linkedItem(), loaded(*copy, shapes.at(DiagramItem::Rectangle)));
        QCOMPARE(linkedBack->linkedItem()->linkedText(), linkedBack);
        for (const DiagramImage *image : qAsConst(images)) {
            const DiagramImage *back = loaded(*copy, image);
            QVERIFY(back);
            QCOMPARE(back->mapToScene(10, 10), image->mapToScene(10, 10)); // transforms applied
            QVERIFY(back->flags() & QGraphicsItem::ItemIsMovable && back->flags() & QGraphicsItem::ItemIsSelectable);
        }
        QCOMPARE(loaded(*copy, images.at(0))->pixmap().size(), QSize(41, 30)); // read from its file
        QCOMPARE(loaded(*copy, images.at(0))->offset(), QPointF(-20, -15));
        QCOMPARE(loaded(*copy, images.at(1))->pixmap().size(),
                 DiagramScene::renderFormula(images.at(1)->path()).size());
        for (const Arrow *arrow : qAsConst(arrows))
            QVERIFY(QLineF(loaded(*copy, arrow)->pointToBe(), arrow->pointToBe()).length() < 1e-9);
    }

    void writtenDocument()
    {
        const QByteArray written = encodeSceneDocument(original->toJson());
        QStringList keys;
        const QRegularExpression topLevelKey("^    \"(\\w+)\":", QRegularExpression::MultilineOption);
        for (auto it = topLevelKey.globalMatch(QString::fromUtf8(written)); it.hasNext();)
            keys.append(it.next().captured(1));
        QCOMPARE(keys, QStringList({"background", "items", "nbArrows", "nbCarre", "nbCercle",
                                    "nbImage", "nbItems", "nbMath", "nbPentagone", "nbRectangle",
                                    "nbRoundedCarre", "nbRoundedRectangle", "nbText", "nbTriangle"}));
        QVERIFY(written.contains("accentu\xC3\xA9 : \xC3\xA7" "a \xC3\xB4")); // UTF-8

        const QJsonArray items = original->toJson().value("items").toArray();
        QCOMPARE(items.size(), 15); // no handles
        QHash<QString, QJsonObject> byName;
        QStringList names;
        for (const QJsonValue &item : items) {
            byName.insert(item["name"].toString(), item.toObject());
            names.append(item["name"].toString());
        }
        QCOMPARE(names.mid(0, 4), QStringList({"Math 0", "Image 0", "Texte lié", "Texte libre"})); // topmost first
        QVERIFY(names.indexOf("Texte lié") < names.indexOf("Forme 5")); // the text before its shape
        for (int type = 0; type < DiagramItem::TypeCount; ++type) // 4: circle
            QCOMPARE(byName.value(QStringLiteral("Forme %1").arg(type)).value("diagram"), QJsonValue(type));
        QCOMPARE(byName.value("Texte lié").value("linkedId"), QJsonValue(5));
        QCOMPARE(byName.value("Texte lié").value("alignment"), QJsonValue(3)); // justified
        QVERIFY(!byName.value("Texte libre").contains("linkedId"));
        for (const char *name : {"Flèche 0", "Flèche 3"}) { // no target, and the end's (0, 0)
            QCOMPARE(byName.value(name).value("isPointed"), QJsonValue(false));
            QVERIFY(!byName.value(name).contains("pointToBe"));
        }
        QCOMPARE(rounded(byName.value("Flèche 1").value("pointToBe")),
                 QJsonValue(QJsonObject{{"x", 3010}, {"y", 1995}})); // in scene coordinates

        auto scene = newScene(); // an alignment none of the four is left out
        DiagramTextItem *centred = added(*scene, scene->newText(), 0);
        centred->setAlignment(Qt::AlignHCenter);
        QVERIFY(!centred->toJson().contains("alignment"));
    }
};

QTEST_MAIN(tst_Documents)
#include "tst_documents.moc"
