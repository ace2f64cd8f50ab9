#include "ItemsHarness.h"

#include "scene/Spacer.h"

#include <QGraphicsLineItem>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtMath>

namespace {

bool nearlyEqual(const QPointF &a, const QPointF &b, double tolerance = 0.6)
{
    return QLineF(a, b).length() <= tolerance;
}

QString describe(const QPointF &p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

QImage render(DiagramScene &scene)
{
    QImage image(1000, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(), QRectF(-500, -400, 1000, 800));
    return image;
}

// Pixels of that colour inside a scene rectangle (the scene is rendered
// with its point (-500, -400) at the image's origin).
int countPixels(const QImage &image, const QRectF &sceneRect, QRgb colour)
{
    const QRect r = sceneRect.translated(500, 400).toRect() & image.rect();
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            count += image.pixel(x, y) == colour;
    }
    return count;
}

QPointF centroid(const QPolygonF &polygon)
{
    QPointF sum;
    for (const QPointF &p : polygon)
        sum += p;
    return sum / polygon.size();
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
    void selectionShowsHandleAndDashedLines();
    void chosenTipStaysOnTurnedEnd();
    void headSizeStaysInsideBounds_data();
    void headSizeStaysInsideBounds();
    void drawnByMouse_data();
    void drawnByMouse();
    void refusedDrags_data();
    void refusedDrags();
    void contextMenuFillsWidgets();
    void endDeletionTakesArrow_data();
    void endDeletionTakesArrow();
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
    QTest::newRow("picture") << true << 0 << 1.0 << stays << QPointF() << QPointF(199.5, 0);
    QTest::newRow("picture turned 90") << true << 90 << 1.0 << stays << QPointF() << QPointF(249.5, 0);
    QTest::newRow("picture scaled by one and a half") << true << 0 << 1.5 << stays << QPointF() << QPointF(300 - 1.5 * 100.5, 0);
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

    const int red = countPixels(render(h.scene), QRectF(-500, -400, 1000, 800), qRgb(255, 0, 0));
    QCOMPARE(red > 0, drawn);
}

void tst_Arrow::selectionShowsHandleAndDashedLines()
{
    ItemsHarness h;
    Arrow *arrow = h.addArrow(h.addShape(QPointF(0, 0)), h.addShape(QPointF(300, 0)));
    arrow->setColor(Qt::red);
    // Between the ends, well away from the head, 4 above and 4 below the line.
    const QRectF above(120, -5, 40, 2);
    const QRectF below(120, 3, 40, 2);
    const QRectF nearTip(180, -10, 20, 20);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);

    QImage image = render(h.scene);
    QCOMPARE(countPixels(image, above, red), 0);
    QCOMPARE(countPixels(image, below, red), 0);
    QCOMPARE(countPixels(image, nearTip, green), 0);
    QVERIFY(!arrow->spacer()->isVisible());

    arrow->setSelected(true);
    image = render(h.scene);
    QVERIFY(countPixels(image, above, red) > 0);
    QVERIFY(countPixels(image, below, red) > 0);
    QVERIFY(countPixels(image, nearTip, green) > 0);

    arrow->setSelected(false);
    QVERIFY(!arrow->spacer()->isVisible());
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

void tst_Arrow::drawnByMouse_data()
{
    QTest::addColumn<bool>("pictureStart");
    QTest::addColumn<bool>("pictureEnd");

    QTest::newRow("shape to shape") << false << false;
    QTest::newRow("picture to shape") << true << false;
    QTest::newRow("shape to picture") << false << true;
}

void tst_Arrow::drawnByMouse()
{
    QFETCH(bool, pictureStart);
    QFETCH(bool, pictureEnd);

    ItemsHarness h;
    auto add = [&h](bool picture, const QPointF &pos) -> QGraphicsItem * {
        if (picture)
            return h.addImage(pos);
        return h.addShape(pos);
    };
    QGraphicsItem *start = add(pictureStart, QPointF(-300, 0));
    QGraphicsItem *end = add(pictureEnd, QPointF(200, 0));
    h.scene.setNbItems(7);
    h.scene.setLineColor(Qt::red);
    QSignalSpy inserted(&h.scene, &DiagramScene::arrowInserted);

    h.scene.setMode(DiagramScene::InsertLine);
    h.drag(QPointF(-300, 0), QPointF(200, 0));

    QCOMPARE(inserted.count(), 1);
    const QList<Arrow *> arrows = h.arrows();
    QCOMPARE(arrows.size(), 1);
    Arrow *arrow = arrows.first();
    QCOMPARE(inserted.first().first().value<Arrow *>(), arrow);
    QCOMPARE(arrow->startItem(), start);
    QCOMPARE(arrow->endItem(), end);
    QCOMPARE(ItemsHarness::arrowsOf(start), QList<Arrow *>{arrow});
    QCOMPARE(ItemsHarness::arrowsOf(end), QList<Arrow *>{arrow});
    QCOMPARE(arrow->name(), QStringLiteral("Flèche 0"));
    QCOMPARE(arrow->id(), 7);
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

void tst_Arrow::contextMenuFillsWidgets()
{
    ItemsHarness h;
    DiagramItem *start = h.addShape(QPointF(-300, 0));
    Arrow *arrow = h.addArrow(start, h.addShape(QPointF(300, 0)));
    arrow->setName(QStringLiteral("Flèche 3"));
    arrow->setArrowWidth(35);
    start->setSelected(true);

    QTimer::singleShot(0, &h.arrowMenu, &QMenu::close);
    const QPoint at = h.view.mapFromScene(QPointF(0, 0));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, h.view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(h.view.viewport(), &event);

    QCOMPARE(h.scene.selectedItems(), QList<QGraphicsItem *>{arrow});
    QCOMPARE(h.arrowWidthAction.value(), 35);
    QCOMPARE(h.arrowNameAction.value(), QStringLiteral("Flèche 3"));
}

void tst_Arrow::endDeletionTakesArrow_data()
{
    QTest::addColumn<bool>("pictureGoes");
    QTest::addColumn<bool>("startGoes");
    QTest::addColumn<bool>("throughRemoveArrows");

    QTest::newRow("shape start deleted") << false << true << false;
    QTest::newRow("shape end deleted") << false << false << false;
    QTest::newRow("picture start deleted") << true << true << false;
    QTest::newRow("picture end deleted") << true << false << false;
    QTest::newRow("picture removeArrows then deleted") << true << true << true;
    QTest::newRow("shape removeArrows then deleted") << false << false << true;
}

void tst_Arrow::endDeletionTakesArrow()
{
    QFETCH(bool, pictureGoes);
    QFETCH(bool, startGoes);
    QFETCH(bool, throughRemoveArrows);

    ItemsHarness h;
    QGraphicsItem *goes = pictureGoes ? static_cast<QGraphicsItem *>(h.addImage(QPointF(0, 0)))
                                      : h.addShape(QPointF(0, 0));
    QGraphicsItem *stays = h.addShape(QPointF(300, 0));
    QPointer<Arrow> arrow = startGoes ? h.addArrow(goes, stays) : h.addArrow(stays, goes);
    arrow->setSelected(true);
    QSignalSpy removed(&h.scene, &DiagramScene::itemWillBeDeleted);

    if (throughRemoveArrows) {
        if (pictureGoes)
            static_cast<DiagramImage *>(goes)->removeArrows();
        else
            static_cast<DiagramItem *>(goes)->removeArrows();
        QCOMPARE(removed.count(), 1); // the scene hears of it before it goes
    }
    delete goes;

    QVERIFY(arrow.isNull());
    QVERIFY(ItemsHarness::arrowsOf(stays).isEmpty());
    QVERIFY(h.arrows().isEmpty());
    h.paint();
    stays->setPos(100, 100); // would reach a freed arrow if one were left
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
