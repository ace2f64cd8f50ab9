#include "ItemsHarness.h"

#include "app/ListWidget.h"

#include <QTemporaryDir>

// Insertion by mouse, ids and names, drawing defaults.
class tst_Scene : public QObject
{
    Q_OBJECT

private slots:
    void clickInsertsNamedShape_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("prefix");
        const QStringList prefixes{"Carré ", "Carré arrondi ", "Triangle ", "Pentagone ",
                                   "Cercle ", "Rectangle ", "Rectangle arrondi "};
        for (int type = 0; type < prefixes.size(); ++type)
            QTest::newRow(qPrintable(prefixes.at(type))) << type << prefixes.at(type);
    }
    void clickInsertsNamedShape()
    {
        QFETCH(int, type);
        QFETCH(QString, prefix);
        ItemsHarness h;
        h.scene.setItemType(DiagramItem::DiagramType(type));
        h.scene.setMode(DiagramScene::InsertItem);
        h.scene.setItemColor(Qt::red);
        QSignalSpy inserted(&h.scene, &DiagramScene::itemInserted);

        h.click(QPointF(30, 40));
        h.click(QPointF(330, 40));

        const QList<DiagramItem *> shapes = h.itemsOf<DiagramItem>();
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(shapes.size(), 2);
        for (int n = 0; n < 2; ++n) {
            DiagramItem *shape = shapes.at(n);
            QCOMPARE(shape->name(), prefix + QString::number(n));
            QCOMPARE(shape->id(), n);
            QCOMPARE(shape->pos(), QPointF(30 + 300 * n, 40));
            QCOMPARE(shape->scaleTransform()->xScale(), 1.0); // a click keeps the default size
            QCOMPARE(shape->brush(), QBrush(Qt::red, Qt::SolidPattern));
        }
        const QList<int (DiagramScene::*)() const> counters{
            &DiagramScene::nbCarre, &DiagramScene::nbRoundedCarre, &DiagramScene::nbTriangle,
            &DiagramScene::nbPentagone, &DiagramScene::nbCercle, &DiagramScene::nbRectangle,
            &DiagramScene::nbRoundedRectangle};
        QCOMPARE((h.scene.*counters.at(type))(), 2);
        QCOMPARE(h.scene.nbItems(), 2);
        // The window puts the pointer mode back; the scene leaves it alone.
        QCOMPARE(h.scene.mode(), DiagramScene::InsertItem);
    }

    void dragSizesPreviewAndShape()
    {
        ItemsHarness h;
        h.scene.setItemType(DiagramItem::Cercle);
        h.scene.setMode(DiagramScene::InsertItem);

        // 4 units across is no drag: no preview, and a shape of the default size.
        h.press(QPointF(-300, -300));
        h.moveDragging(QPointF(-296, -250));
        QVERIFY(h.scene.items().isEmpty());
        h.release(QPointF(-296, -250));
        DiagramItem *clicked = h.itemsOf<DiagramItem>().value(0);
        QVERIFY(clicked);
        QCOMPARE(clicked->pos(), QPointF(-296, -250));
        QCOMPARE(clicked->scaleTransform()->yScale(), 1.0);

        h.press(QPointF(0, 0));
        h.moveDragging(QPointF(40, 20));
        h.moveDragging(QPointF(100, 60));
        DiagramItem *preview = h.itemsOf<DiagramItem>().value(1);
        QVERIFY(preview && preview != clicked);
        QCOMPARE(preview->pen().style(), Qt::DashLine);
        // Scaled about its centre, the preview spans the dragged rectangle.
        QCOMPARE(preview->pos(), QPointF(50, 30));
        QVERIFY(qAbs(preview->sceneBoundingRect().left()) < 1e-6);

        h.release(QPointF(100, 60));
        const QList<DiagramItem *> shapes = h.itemsOf<DiagramItem>();
        QCOMPARE(shapes.size(), 2); // the preview is gone
        DiagramItem *shape = shapes.at(0) == clicked ? shapes.at(1) : shapes.at(0);
        const QRectF r = shape->boundingRect();
        QCOMPARE(shape->pen().style(), Qt::SolidLine);
        QCOMPARE(shape->pos(), QPointF(50, 30));
        QCOMPARE(shape->scaleTransform()->xScale(), 100 / r.width());
        QCOMPARE(shape->scaleTransform()->yScale(), 60 / r.height());
        QCOMPARE(shape->name(), QStringLiteral("Cercle 1"));
    }

    void idsAreSharedAcrossKinds()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("p.png"));
        QPixmap picture(31, 21);
        picture.fill(Qt::green);
        QVERIFY(picture.save(file));

        ItemsHarness h;
        QFont font(QStringLiteral("Sans"), 17);
        font.setItalic(true);
        h.scene.setFont(font);
        h.scene.setTextColor(Qt::blue);
        // Typed into at once: an empty text would go when it loses focus.
        connect(&h.scene, &DiagramScene::textInserted, this,
                [](DiagramTextItem *text) { text->setPlainText(QStringLiteral("x")); });

        h.click(DiagramScene::InsertItem, QPointF(-300, 0));
        h.click(DiagramScene::InsertText, QPointF(0, -300));
        h.scene.setPixmapToAdd(file);
        h.click(DiagramScene::InsertPixmap, QPointF(300, 0));
        h.scene.setPixmapToAdd(QStringLiteral("$x^2"), picture);
        h.click(DiagramScene::InsertPixmap, QPointF(0, 300));
        h.scene.setMode(DiagramScene::InsertLine);
        h.drag(QPointF(-300, 0), QPointF(300, 0));

        const QStringList expected{"Carré 0", "Texte 0", "Image 0", "Math 0", "Flèche 0"};
        for (int id = 0; id < expected.size(); ++id) {
            QGraphicsItem *item = h.scene.itemById(id);
            QVERIFY2(item, qPrintable(QStringLiteral("no item with id %1").arg(id)));
            QCOMPARE(ListWidget::nameOf(item), expected.at(id));
        }
        QCOMPARE(h.scene.nbItems(), 5);

        auto *text = static_cast<DiagramTextItem *>(h.scene.itemById(1));
        QCOMPARE(text->font(), font);
        QCOMPARE(text->defaultTextColor(), QColor(Qt::blue));
        auto *image = static_cast<DiagramImage *>(h.scene.itemById(2));
        QCOMPARE(image->offset(), QPointF(-15, -10)); // integer halves
        QVERIFY(!image->isMath() && static_cast<DiagramImage *>(h.scene.itemById(3))->isMath());
    }

    // However an item leaves, it is no longer found by its id; a renumbered
    // item is found by its new id only.
    void goneItemIsForgotten()
    {
        for (const QString how : {"delete", "remove", "empty", "clear", "renumber"}) {
            ItemsHarness h;
            h.addShape(QPointF(-200, 0));
            DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("Parti"));
            const int id = text->id();
            QCOMPARE(h.scene.itemById(id), text);
            QCOMPARE(h.scene.itemById(12345), nullptr);

            if (how == "delete") {
                delete text;
            } else if (how == "remove") {
                h.scene.removeItem(text);
            } else if (how == "empty") {
                text->setPlainText(QString());
                h.scene.editorLostFocus(text);
            } else if (how == "clear") {
                h.scene.clear();
            } else {
                // Ids are final at registration: a renumbered item is registered again.
                text->setId(77);
                h.scene.registerItem(text);
                QCOMPARE(h.scene.itemById(77), text);
            }
            QCoreApplication::sendPostedEvents(); // an emptied text goes after its editing
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(h.scene.itemById(id), nullptr);
            if (how == "remove")
                delete text;
        }
    }
};

QTEST_MAIN(tst_Scene)
#include "tst_scene.moc"
