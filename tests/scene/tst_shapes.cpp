#include "ItemsHarness.h"

#include "scene/DiagramItemResizer.h"
#include "scene/DiagramItemRotator.h"

#include <QToolTip>

namespace {

bool near(double a, double b, double tolerance = 1e-3)
{
    return qAbs(a - b) <= tolerance;
}

// Selects the shape and paints, so that its handles exist and are placed;
// the scene files their geometry on the next turn of the event loop.
void selectAndPlaceHandles(ItemsHarness &h, DiagramItem *shape)
{
    shape->setSelected(true);
    h.paint();
    QCoreApplication::processEvents();
}

} // namespace

class tst_Shapes : public QObject
{
    Q_OBJECT

private slots:
    void polygonAndBounds_data();
    void polygonAndBounds();
    void changeTransformTurnsAboutCentre_data();
    void changeTransformTurnsAboutCentre();
    void handlesFollowSelection();
    void resizeHandleScales_data();
    void resizeHandleScales();
    void rotateDiscTurns_data();
    void rotateDiscTurns();
    void handlesKeepPixelSize();
};

void tst_Shapes::polygonAndBounds_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QRectF>("polygonRect");
    QTest::addColumn<QPointF>("firstPoint");
    const QRectF square(-100, -100, 200, 200);
    // The rectangles reach 65 above and 75 below the origin.
    const QRectF rectangle(-100, -65, 200, 140);
    QTest::newRow("square") << int(DiagramItem::Carre) << square << QPointF(-100, -100);
    QTest::newRow("rounded square") << int(DiagramItem::RoundedCarre) << square << QPointF();
    QTest::newRow("triangle") << int(DiagramItem::Triangle) << square << QPointF(0, -100);
    QTest::newRow("pentagon") << int(DiagramItem::Pentagone) << square << QPointF(0, -100);
    QTest::newRow("circle") << int(DiagramItem::Cercle) << square << QPointF();
    QTest::newRow("rectangle") << int(DiagramItem::Rectangle) << rectangle << QPointF(-100, -65);
    QTest::newRow("rounded rectangle") << int(DiagramItem::RoundedRectangle) << rectangle << QPointF();
}

void tst_Shapes::polygonAndBounds()
{
    QFETCH(int, type);
    QFETCH(QRectF, polygonRect);
    QFETCH(QPointF, firstPoint);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0), DiagramItem::DiagramType(type));
    const QPolygonF polygon = shape->polygon();
    QCOMPARE(polygon, DiagramItem::polygonOf(DiagramItem::DiagramType(type)));
    QCOMPARE(polygon.boundingRect(), polygonRect);
    if (!firstPoint.isNull())
        QCOMPARE(polygon.first(), firstPoint);
    // The 1-pixel cosmetic pen widens the bounds by about half its width
    // (pointed joins reach a little further).
    const QRectF bounds = shape->boundingRect();
    QVERIFY(bounds.contains(polygonRect));
    QVERIFY(polygonRect.adjusted(-1, -1, 1, 1).contains(bounds));
    if (type == DiagramItem::Carre)
        QCOMPARE(bounds, QRectF(-100.5, -100.5, 201, 201));
}

void tst_Shapes::changeTransformTurnsAboutCentre_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("square") << int(DiagramItem::Carre);
    QTest::newRow("rectangle, centre below the origin") << int(DiagramItem::Rectangle);
}

void tst_Shapes::changeTransformTurnsAboutCentre()
{
    QFETCH(int, type);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(40, 30), DiagramItem::DiagramType(type));
    shape->changeTransform(0, true, 2.0, 0.5, false);
    const QPointF centre = shape->mapToScene(shape->boundingRect().center());

    shape->changeTransform(90, false, 0, 0, false);

    QCOMPARE(shape->rotationTransform()->angle(), 90.0);
    QCOMPARE(shape->scaleTransform()->xScale(), 2.0); // scales are kept
    QCOMPARE(shape->scaleTransform()->yScale(), 0.5);
    QVERIFY(nearlyEqual(shape->mapToScene(shape->boundingRect().center()), centre, 1e-3));
    // Turned: the scene extent swaps width and height.
    const QRectF r = shape->boundingRect();
    QVERIFY(near(shape->sceneBoundingRect().width(), r.height() * 0.5));
    QVERIFY(near(shape->sceneBoundingRect().height(), r.width() * 2.0));

    // A second turn replaces the angle rather than adding to it.
    shape->changeTransform(90, false, 0, 0, false);
    QCOMPARE(shape->rotationTransform()->angle(), 90.0);
}

void tst_Shapes::handlesFollowSelection()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QCOMPARE(shownHandles(shape), 0);
    shape->setSelected(true);
    QCOMPARE(handlesOf<DiagramItemResizer>(shape).size(), 4);
    QCOMPARE(shownHandles(shape), 5); // and the disc
    shape->setSelected(false);
    QCOMPARE(shownHandles(shape), 0);
    // While the mouse is over the disc, deselection keeps the handles.
    shape->setSelected(true);
    shape->setRotatorHovered(true);
    shape->setSelected(false);
    QCOMPARE(shownHandles(shape), 5);
}

void tst_Shapes::resizeHandleScales_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<double>("xScale");
    QTest::addColumn<double>("yScale");
    QTest::newRow("unrotated") << 0 << 150 / 100.5 << 50 / 100.5;
    // Turned a quarter, the shape's x axis is the scene's vertical.
    QTest::newRow("turned 90") << 90 << 50 / 100.5 << 150 / 100.5;
}

void tst_Shapes::resizeHandleScales()
{
    QFETCH(int, angle);
    QFETCH(double, xScale);
    QFETCH(double, yScale);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    shape->changeTransform(angle, false, 0, 0, false);
    selectAndPlaceHandles(h, shape);
    DiagramItemResizer *handle = handlesOf<DiagramItemResizer>(shape).value(3);
    QVERIFY(handle && handle->corner() == 3);
    const QPointF grip = h.handlePoint(handle);
    QCOMPARE(h.view.itemAt(h.view.mapFromScene(grip)), handle);

    h.drag(grip, QPointF(150, 50));

    QVERIFY2(near(shape->scaleTransform()->xScale(), xScale, 1e-4),
             qPrintable(QString::number(shape->scaleTransform()->xScale())));
    QVERIFY2(near(shape->scaleTransform()->yScale(), yScale, 1e-4),
             qPrintable(QString::number(shape->scaleTransform()->yScale())));
    QCOMPARE(shape->pos(), QPointF(0, 0)); // symmetric: the centre stays
}

void tst_Shapes::rotateDiscTurns_data()
{
    QTest::addColumn<QPointF>("mouse");
    QTest::addColumn<int>("angle");
    QTest::newRow("above") << QPointF(0, -300) << 0;
    QTest::newRow("right") << QPointF(300, 0) << 90;
    QTest::newRow("below") << QPointF(0, 300) << 180;
    QTest::newRow("left") << QPointF(-300, 0) << 270;
}

void tst_Shapes::rotateDiscTurns()
{
    QFETCH(QPointF, mouse);
    QFETCH(int, angle);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    selectAndPlaceHandles(h, shape);
    DiagramItemRotator *rotator = handlesOf<DiagramItemRotator>(shape).value(0);
    const QPointF disc = h.handlePoint(rotator);
    QCOMPARE(h.view.itemAt(h.view.mapFromScene(disc)), rotator);

    h.drag(disc, mouse);

    QCOMPARE(shape->rotationTransform()->angle(), double(angle));
    QCOMPARE(QToolTip::text(), QString::number(angle) + QStringLiteral("°"));
    QCOMPARE(shape->pos(), QPointF(0, 0));
}

void tst_Shapes::handlesKeepPixelSize()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    shape->changeTransform(0, true, 3.0, 3.0, false);
    shape->setSelected(true);
    h.view.scale(2, 2);
    h.paint();
    QCOMPARE(shape->childItems().size(), 5);
    for (QGraphicsItem *handle : shape->childItems()) {
        const QTransform device = handle->deviceTransform(h.view.viewportTransform());
        QVERIFY(near(device.mapRect(handle->boundingRect()).width(), handle->boundingRect().width()));
    }
}

QTEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
