#include "ItemsHarness.h"

#include "scene/Spacer.h"

#include <QGraphicsLineItem>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QtMath>

namespace {

// Pixels of that colour in a picture of the scene.
int countPixels(DiagramScene &scene, QRgb colour)
{
    QImage image(1000, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(), QRectF(-500, -400, 1000, 800));
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    }
    return count;
}

} // namespace

class tst_Arrow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<Arrow *>(); }
    void tipOnEndOutline_data();
    void tipOnEndOutline();
    void nothingDrawnWhileEndsOverlap_data();
    void nothingDrawnWhileEndsOverlap();
    void chosenTipStaysOnTurnedEnd();
    void headSizeStaysInsideBounds_data();
    void headSizeStaysInsideBounds();
    void pictureToShapeByMouse();
    void refusedDrags_data();
    void refusedDrags();
    void newArrowIsListedByBothEndsUntilItGoes();
    void deletionInAnyOrderLeavesNoDanglingArrow_data();
    void deletionInAnyOrderLeavesNoDanglingArrow();
};

void tst_Arrow::tipOnEndOutline_data()
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

void tst_Arrow::tipOnEndOutline()
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
        auto *image = static_cast<DiagramImage *>(end);
        image->changeTransform(rotation);
        image->changeTransform(0, true, scale);
    } else {
        auto *shape = static_cast<DiagramItem *>(end);
        shape->changeTransform(rotation, false, 0, 0, false);
        shape->changeTransform(0, true, scale, scale, false);
    }
    end->setPos(endMovedTo);
    if (!startMovedTo.isNull())
        start->setPos(startMovedTo);

    const QLineF line = arrow->line();
    QVERIFY2(nearlyEqual(line.p1(), tip), qPrintable(describe(line.p1())));
    QCOMPARE(line.p2(), start->scenePos());

    // The head's other corners lie behind the tip, on the start's side.
    const QPolygonF head = arrow->arrowHead();
    QCOMPARE(head.size(), 3);
    const QPointF towardsStart = line.p2() - line.p1();
    for (int i = 1; i < head.size(); ++i)
        QVERIFY(QPointF::dotProduct(head.at(i) - line.p1(), towardsStart) > 0);

    h.paint(); // painting recomputes the same geometry
    QVERIFY(nearlyEqual(arrow->line().p1(), tip));
}

void tst_Arrow::nothingDrawnWhileEndsOverlap_data()
{
    QTest::addColumn<QPointF>("endPos");
    QTest::addColumn<bool>("drawn");

    QTest::newRow("apart") << QPointF(300, 0) << true;
    QTest::newRow("overlapping") << QPointF(150, 0) << false;
}

void tst_Arrow::nothingDrawnWhileEndsOverlap()
{
    QFETCH(QPointF, endPos);
    QFETCH(bool, drawn);

    ItemsHarness h;
    Arrow *arrow = h.addArrow(h.addShape(QPointF(0, 0)), h.addShape(endPos));
    arrow->setColor(Qt::red);

    QCOMPARE(countPixels(h.scene, qRgb(255, 0, 0)) > 0, drawn);
}

void tst_Arrow::chosenTipStaysOnTurnedEnd()
{
    ItemsHarness h;
    DiagramItem *end = h.addShape(QPointF(300, 0));
    Arrow *arrow = h.addArrow(h.addShape(QPointF(0, 0)), end);
    arrow->setSelected(true);
    h.paint();

    const QPointF handle = arrow->spacer()->mapToScene(centroid(arrow->spacer()->polygon()));
    h.hover(handle);
    h.press(handle);
    h.moveDragging(QPointF(310, 20));
    h.moveDragging(QPointF(320, 40));
    h.release(QPointF(320, 40));

    QVERIFY(arrow->isPointed());
    QVERIFY2(nearlyEqual(arrow->pointToBe(), QPointF(20, 40), 1.0), qPrintable(describe(arrow->pointToBe())));
    QVERIFY(nearlyEqual(arrow->line().p1(), QPointF(320, 40), 1.0));
    // Pressing the handle deselected the arrow; the handle stays under the
    // mouse, and leaving it gives the selection back.
    QVERIFY(arrow->spacer()->isVisible());
    h.hover(QPointF(-300, 300));
    QVERIFY(arrow->isSelected());

    // A quarter turn about the end's centre takes (20, 40) to (-40, 20).
    end->changeTransform(90, false, 0, 0, false);
    QVERIFY2(nearlyEqual(arrow->line().p1(), QPointF(260, 20), 1.0), qPrintable(describe(arrow->line().p1())));

    arrow->resetPoint();
    QVERIFY(!arrow->isPointed());
    QVERIFY(nearlyEqual(arrow->line().p1(), QPointF(200, 0)));
}

void tst_Arrow::headSizeStaysInsideBounds_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("default") << 20;
    QTest::newRow("doubled") << 40;
    QTest::newRow("largest") << 99;
}

void tst_Arrow::headSizeStaysInsideBounds()
{
    QFETCH(int, size);

    ItemsHarness h;
    Arrow *arrow = h.addArrow(h.addShape(QPointF(0, 0)), h.addShape(QPointF(400, 0)));
    arrow->setArrowWidth(size);

    const QPolygonF head = arrow->arrowHead();
    QCOMPARE(qRound(QLineF(head.at(0), head.at(1)).length()), size);
    // Whatever is drawn must lie inside the bounds, or it leaves trails.
    QVERIFY(arrow->boundingRect().contains(head.boundingRect()));
}

void tst_Arrow::pictureToShapeByMouse()
{
    ItemsHarness h;
    DiagramImage *start = h.addImage(QPointF(-300, 0));
    DiagramItem *end = h.addShape(QPointF(200, 0));
    h.scene.setNbItems(7);
    h.scene.setLineColor(Qt::red);
    QSignalSpy inserted(&h.scene, &DiagramScene::arrowInserted);

    h.scene.setMode(DiagramScene::InsertLine);
    h.drag(QPointF(-300, 0), QPointF(200, 0));

    QCOMPARE(inserted.count(), 1);
    QCOMPARE(h.arrows().size(), 1);
    Arrow *arrow = h.arrows().first();
    QCOMPARE(arrow->startItem(), start);
    QCOMPARE(arrow->endItem(), end);
    QCOMPARE(start->arrows(), QList<Arrow *>{arrow});
    QCOMPARE(end->arrows(), QList<Arrow *>{arrow});
    QCOMPARE(arrow->name(), QStringLiteral("Flèche 0"));
    QCOMPARE(arrow->color(), QColor(Qt::red));
    QCOMPARE(h.scene.nbArrows(), 1);
    QCOMPARE(h.scene.nbItems(), 8);
    QCOMPARE(h.scene.itemById(7), arrow);
}

void tst_Arrow::refusedDrags_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");

    // A shape at (0, 0), a picture at (400, 0), a text at (0, 300).
    QTest::newRow("same item") << QPointF(0, 0) << QPointF(50, 30);
    QTest::newRow("to empty space") << QPointF(0, 0) << QPointF(-350, -300);
    QTest::newRow("from empty space") << QPointF(-350, -300) << QPointF(400, 0);
    QTest::newRow("from a text") << QPointF(10, 305) << QPointF(0, 0);
    QTest::newRow("to a text") << QPointF(400, 0) << QPointF(10, 305);
}

void tst_Arrow::refusedDrags()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);

    ItemsHarness h;
    h.addShape(QPointF(0, 0));
    h.addImage(QPointF(400, 0));
    h.addText(QPointF(0, 300), QStringLiteral("un texte assez long"));
    QSignalSpy inserted(&h.scene, &DiagramScene::arrowInserted);

    h.scene.setMode(DiagramScene::InsertLine);
    h.drag(from, to);

    QCOMPARE(inserted.count(), 0);
    QVERIFY(h.arrows().isEmpty());
    QCOMPARE(h.scene.nbArrows(), 0);
    for (QGraphicsItem *item : h.scene.items())
        QVERIFY2(item->type() != QGraphicsLineItem::Type, "the temporary line stayed");
}

// An arrow that its ends did not list outlived them and freed memory was
// read when it went.
void tst_Arrow::newArrowIsListedByBothEndsUntilItGoes()
{
    ItemsHarness h;
    DiagramItem *start = h.addShape(QPointF(0, 0));
    DiagramImage *end = h.addImage(QPointF(300, 0));
    auto *arrow = h.scene.newArrow(start, end, 20);
    QCOMPARE(start->arrows(), QList<Arrow *>{arrow});
    QCOMPARE(end->arrows(), QList<Arrow *>{arrow});
    delete arrow;
    QVERIFY(start->arrows().isEmpty());
    QVERIFY(end->arrows().isEmpty());
}

void tst_Arrow::deletionInAnyOrderLeavesNoDanglingArrow_data()
{
    QTest::addColumn<QString>("order");

    // a: shape, b: picture, c: shape, t: text linked to a, x: arrow a -> b.
    for (const char *order : {"abc", "bca", "cab", "xabc", "taxb", "atb", "cxta"})
        QTest::newRow(order) << QString::fromLatin1(order);
}

void tst_Arrow::deletionInAnyOrderLeavesNoDanglingArrow()
{
    QFETCH(QString, order);

    ItemsHarness h;
    DiagramItem *a = h.addShape(QPointF(-300, 0));
    DiagramImage *b = h.addImage(QPointF(0, 250));
    DiagramItem *c = h.addShape(QPointF(300, 0));
    DiagramTextItem *t = h.addText(QPointF(-330, -10), QStringLiteral("lié"));
    t->linkTo(a);
    a->setLinkedText(t);
    Arrow *x = h.addArrow(a, b);
    h.addArrow(b, c);
    h.addArrow(c, a);
    // Guarded, as deleting one item may take others with it.
    QHash<QChar, QPointer<QObject>> guards{{'a', a}, {'b', b}, {'c', c}, {'t', t}, {'x', x}};
    const QHash<QChar, QGraphicsItem *> items{{'a', a}, {'b', b}, {'c', c}, {'t', t}, {'x', x}};

    for (QChar name : order) {
        if (guards.value(name))
            delete items.value(name);
        QList<QGraphicsItem *> live;
        for (auto it = guards.cbegin(); it != guards.cend(); ++it) {
            if (it.value())
                live.append(items.value(it.key()));
        }
        // Every arrow left joins two live items that list it.
        for (Arrow *arrow : h.arrows()) {
            QVERIFY(live.contains(arrow->startItem()));
            QVERIFY(live.contains(arrow->endItem()));
            QVERIFY(ItemsHarness::arrowsOf(arrow->startItem()).contains(arrow));
            QVERIFY(ItemsHarness::arrowsOf(arrow->endItem()).contains(arrow));
        }
        // Every listed arrow is one of the scene's.
        for (QGraphicsItem *item : live) {
            if (item->type() == DiagramItem::Type || item->type() == DiagramImage::Type) {
                for (Arrow *arrow : ItemsHarness::arrowsOf(item))
                    QVERIFY(h.arrows().contains(arrow));
            }
        }
        if (!guards.value('a') && guards.value('t'))
            QVERIFY(!t->isLinked());
        if (!guards.value('t') && guards.value('a'))
            QVERIFY(!a->linkedText());
        h.paint();
    }
    // What is left still moves and paints.
    for (auto it = guards.cbegin(); it != guards.cend(); ++it) {
        if (it.value())
            items.value(it.key())->moveBy(10, 10);
    }
    h.paint();
}

QTEST_MAIN(tst_Arrow)
#include "tst_arrow.moc"
