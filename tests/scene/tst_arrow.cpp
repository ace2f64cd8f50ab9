#include "ItemsHarness.h"

#include "scene/Spacer.h"

#include <QGraphicsLineItem>
#include <QImage>
#include <QPainter>
#include <QtMath>

class tst_Arrow : public QObject
{
    Q_OBJECT

private slots:
    void tipOnEndOutline_data()
    {
        QTest::addColumn<bool>("pictureEnd");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("endMovedTo");
        QTest::addColumn<QPointF>("startMovedTo");
        QTest::addColumn<QPointF>("tip");

        const QPointF stays(300, 0);
        QTest::newRow("square to the right") << false << 0 << 1.0 << stays << QPointF() << QPointF(200, 0);
        QTest::newRow("square moved below") << false << 0 << 1.0 << QPointF(0, 300) << QPointF() << QPointF(0, 200);
        QTest::newRow("start moved beyond") << false << 0 << 1.0 << stays << QPointF(600, 0) << QPointF(400, 0);
        // Half the diagonal of the square: 100 * sqrt(2).
        QTest::newRow("square turned 45") << false << 45 << 1.0 << stays << QPointF() << QPointF(300 - 100 * M_SQRT2, 0);
        QTest::newRow("square scaled by half") << false << 0 << 0.5 << stays << QPointF() << QPointF(250, 0);
        // A selectable pixmap item's bounding rectangle has half a pixel of margin.
        QTest::newRow("picture turned 90") << true << 90 << 1.0 << stays << QPointF() << QPointF(249.5, 0);
        QTest::newRow("picture scaled, moved") << true << 0 << 1.5 << QPointF(0, -300) << QPointF() << QPointF(0, -300 + 1.5 * 50.5);
    }

    void tipOnEndOutline()
    {
        QFETCH(bool, pictureEnd);
        QFETCH(int, rotation);
        QFETCH(double, scale);
        QFETCH(QPointF, endMovedTo);
        QFETCH(QPointF, startMovedTo);
        QFETCH(QPointF, tip);

        ItemsHarness h;
        DiagramItem *start = h.addShape(QPointF(0, 0));
        QGraphicsItem *end = pictureEnd ? static_cast<QGraphicsItem *>(h.addImage(QPointF(300, 0)))
                                        : h.addShape(QPointF(300, 0));
        Arrow *arrow = h.addArrow(start, end);

        // The arrow hears of every change of its ends, painted or not.
        if (pictureEnd) {
            static_cast<DiagramImage *>(end)->changeTransform(rotation);
            static_cast<DiagramImage *>(end)->changeTransform(0, true, scale);
        } else {
            static_cast<DiagramItem *>(end)->changeTransform(rotation, false, 0, 0, false);
            static_cast<DiagramItem *>(end)->changeTransform(0, true, scale, scale, false);
        }
        end->setPos(endMovedTo);
        if (!startMovedTo.isNull())
            start->setPos(startMovedTo);

        const QLineF line = arrow->line();
        QVERIFY(nearlyEqual(line.p1(), tip));
        QCOMPARE(line.p2(), start->scenePos());

        // The head's other corners lie behind the tip, and whatever is drawn
        // lies inside the bounds, or it leaves trails.
        arrow->setArrowWidth(99);
        const QPolygonF head = arrow->arrowHead();
        QCOMPARE(qRound(QLineF(head.at(0), head.at(1)).length()), 99);
        for (int i = 1; i < head.size(); ++i)
            QVERIFY(QPointF::dotProduct(head.at(i) - line.p1(), line.p2() - line.p1()) > 0);
        QVERIFY(arrow->boundingRect().contains(head.boundingRect()));
    }

    void nothingDrawnWhileEndsOverlap()
    {
        for (const bool apart : {true, false}) {
            ItemsHarness h;
            h.addArrow(h.addShape(QPointF(0, 0)), h.addShape(QPointF(apart ? 300 : 150, 0)))->setColor(Qt::red);
            QImage image(1000, 800, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            h.scene.render(&painter, QRectF(), QRectF(-500, -400, 1000, 800));
            bool red = false;
            for (int y = 0; y < image.height() && !red; ++y) {
                for (int x = 0; x < image.width() && !red; ++x)
                    red = image.pixel(x, y) == qRgb(255, 0, 0);
            }
            QCOMPARE(red, apart);
        }
    }

    void chosenTipStaysOnTurnedEnd()
    {
        ItemsHarness h;
        DiagramItem *end = h.addShape(QPointF(300, 0));
        Arrow *arrow = h.addArrow(h.addShape(QPointF(0, 0)), end);
        arrow->setSelected(true);
        h.paint();

        const QPointF handle = arrow->spacer()->mapToScene(centroid(arrow->spacer()->polygon()));
        h.drag(handle, QPointF(320, 40));

        QVERIFY(arrow->isPointed());
        QVERIFY(nearlyEqual(arrow->pointToBe(), QPointF(20, 40), 1.0));
        QVERIFY(nearlyEqual(arrow->line().p1(), QPointF(320, 40), 1.0));
        // Pressing the handle deselected the arrow; leaving the handle gives the
        // selection back.
        h.hover(QPointF(-300, 300));
        QVERIFY(arrow->isSelected());

        // A quarter turn about the end's centre takes (20, 40) to (-40, 20).
        end->changeTransform(90, false, 0, 0, false);
        QVERIFY(nearlyEqual(arrow->line().p1(), QPointF(260, 20), 1.0));

        arrow->resetPoint();
        QVERIFY(nearlyEqual(arrow->line().p1(), QPointF(200, 0)));
    }

    void drawnByMouse_data()
    {
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<bool>("drawn");
        // A shape at (0, 0), a picture at (400, 0), a text at (0, 300).
        QTest::newRow("picture to shape") << QPointF(400, 0) << QPointF(0, 0) << true;
        QTest::newRow("same item") << QPointF(0, 0) << QPointF(50, 30) << false;
        QTest::newRow("to empty space") << QPointF(0, 0) << QPointF(-350, -300) << false;
        QTest::newRow("from empty space") << QPointF(-350, -300) << QPointF(400, 0) << false;
        QTest::newRow("from a text") << QPointF(10, 305) << QPointF(0, 0) << false;
        QTest::newRow("to a text") << QPointF(400, 0) << QPointF(10, 305) << false;
    }

    void drawnByMouse()
    {
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        QFETCH(bool, drawn);
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(0, 0));
        DiagramImage *picture = h.addImage(QPointF(400, 0));
        h.addText(QPointF(0, 300), QStringLiteral("un texte assez long"));
        h.scene.setNbItems(7);
        h.scene.setLineColor(Qt::red);
        QSignalSpy inserted(&h.scene, &DiagramScene::arrowInserted);

        h.scene.setMode(DiagramScene::InsertLine);
        h.drag(from, to);

        QVERIFY2(h.itemsOf<QGraphicsLineItem>().isEmpty(), "the temporary line stayed");
        QCOMPARE(inserted.count(), int(drawn));
        QCOMPARE(h.itemsOf<Arrow>().size(), int(drawn));
        QCOMPARE(h.scene.nbArrows(), int(drawn));
        QCOMPARE(h.scene.nbItems(), drawn ? 8 : 7);
        if (!drawn)
            return;
        Arrow *arrow = h.itemsOf<Arrow>().first();
        QCOMPARE(arrow->startItem(), picture);
        QCOMPARE(arrow->endItem(), shape);
        QCOMPARE(picture->arrows(), QList<Arrow *>{arrow});
        QCOMPARE(shape->arrows(), QList<Arrow *>{arrow});
        QCOMPARE(arrow->name(), QStringLiteral("Flèche 0"));
        QCOMPARE(arrow->color(), QColor(Qt::red));
        QCOMPARE(arrow->id(), 7);
        // An arrow that its ends did not list once outlived them, and freed
        // memory was read when it went.
        delete arrow;
        QVERIFY(picture->arrows().isEmpty());
        QVERIFY(shape->arrows().isEmpty());
    }

    // a: shape, b: picture, c: shape, t: text linked to a, x: arrow a -> b.
    void deletionInAnyOrderLeavesNoDanglingArrow()
    {
        for (const QString order : {"abc", "bca", "cab", "xabc", "taxb", "atb", "cxta"}) {
            ItemsHarness h;
            DiagramItem *a = h.addShape(QPointF(-300, 0));
            DiagramImage *b = h.addImage(QPointF(0, 250));
            DiagramItem *c = h.addShape(QPointF(300, 0));
            DiagramTextItem *t = h.addLinkedText(a, QStringLiteral("lié"));
            Arrow *x = h.addArrow(a, b);
            h.addArrow(b, c);
            h.addArrow(c, a);
            const QHash<QChar, QGraphicsItem *> items{{'a', a}, {'b', b}, {'c', c}, {'t', t}, {'x', x}};

            for (QChar name : order) {
                // Deleting one item may have taken others with it.
                if (h.scene.items().contains(items.value(name)))
                    delete items.value(name);
                QVERIFY(noArrowDangles(h.scene));
                const QList<QGraphicsItem *> live = h.scene.items();
                if (live.contains(t))
                    QCOMPARE(t->isLinked(), live.contains(a));
                if (live.contains(a))
                    QCOMPARE(a->linkedText(), live.contains(t) ? t : nullptr);
                for (QGraphicsItem *item : items) {
                    if (live.contains(item))
                        item->moveBy(10, 10); // what is left still moves and paints
                }
                h.paint();
            }
        }
    }
};

QTEST_MAIN(tst_Arrow)
#include "tst_arrow.moc"
