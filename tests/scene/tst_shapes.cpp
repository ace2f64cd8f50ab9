#include "ItemsHarness.h"

#include "scene/DiagramItemResizer.h"
#include "scene/DiagramItemRotator.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QPointer>
#include <QSignalSpy>
#include <QToolTip>

namespace {

QList<DiagramItemResizer *> resizersOf(const DiagramItem *shape)
{
    QList<DiagramItemResizer *> found;
    for (QGraphicsItem *child : shape->childItems()) {
        if (auto *resizer = dynamic_cast<DiagramItemResizer *>(child))
            found.append(resizer);
    }
    return found;
}

DiagramItemResizer *resizerAt(const DiagramItem *shape, int corner)
{
    for (DiagramItemResizer *resizer : resizersOf(shape)) {
        if (resizer->corner() == corner)
            return resizer;
    }
    return nullptr;
}

DiagramItemRotator *rotatorOf(const DiagramItem *shape)
{
    for (QGraphicsItem *child : shape->childItems()) {
        if (auto *rotator = dynamic_cast<DiagramItemRotator *>(child))
            return rotator;
    }
    return nullptr;
}

// All five handles shown; a shape never selected has none yet.
bool handlesVisible(const DiagramItem *shape)
{
    const DiagramItemRotator *rotator = rotatorOf(shape);
    bool visible = rotator && rotator->isVisible() && resizersOf(shape).size() == 4;
    for (DiagramItemResizer *resizer : resizersOf(shape))
        visible = visible && resizer->isVisible();
    return visible;
}

// No handle shown.
bool handlesHidden(const DiagramItem *shape)
{
    const QList<QGraphicsItem *> children = shape->childItems();
    return std::none_of(children.cbegin(), children.cend(),
                        [](const QGraphicsItem *child) { return child->isVisible(); });
}

// Handles place themselves while painting; the scene files their new
// geometry on the next turn of the event loop.
void paintAndIndex(ItemsHarness &h)
{
    h.paint();
    QCoreApplication::processEvents();
}

// Where a point of a handle shows, as a scene point. Handles ignore their
// parent's transformations, so only the device transform places them.
QPointF onScreen(ItemsHarness &h, const QGraphicsItem *handle, const QPointF &local)
{
    const QPointF device = handle->deviceTransform(h.view.viewportTransform()).map(local);
    return h.view.mapToScene(device.toPoint());
}

bool near(double a, double b, double tolerance = 1e-3)
{
    return qAbs(a - b) <= tolerance;
}

} // namespace

class tst_Shapes : public QObject
{
    Q_OBJECT

private slots:
    void polygonAndBounds_data();
    void polygonAndBounds();
    void squareBoundsIncludeHalfPen();
    void imageDrawsOutline();
    void changeTransformTurnsAboutCentre_data();
    void changeTransformTurnsAboutCentre();
    void linkedShapeFitsText();
    void handlesFollowSelection();
    void removeArrowsDestroysBoth();
    void deletedShapeTakesItsArrows();
    void deletedShapeUnlinksText();
    void deletedTextUnlinksShape();
    void resizeHandleScales_data();
    void resizeHandleScales();
    void rotateDiscTurns_data();
    void rotateDiscTurns();
    void handlesKeepPixelSize();
    void updateActionsFillsWidgets();
};

void tst_Shapes::polygonAndBounds_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QRectF>("polygonRect");
    QTest::addColumn<QPointF>("firstPoint");
    QTest::newRow("square") << int(DiagramItem::Carre) << QRectF(-100, -100, 200, 200)
                            << QPointF(-100, -100);
    QTest::newRow("rounded square") << int(DiagramItem::RoundedCarre)
                                    << QRectF(-100, -100, 200, 200) << QPointF();
    QTest::newRow("triangle") << int(DiagramItem::Triangle) << QRectF(-100, -100, 200, 200)
                              << QPointF(0, -100);
    QTest::newRow("pentagon") << int(DiagramItem::Pentagone) << QRectF(-100, -100, 200, 200)
                              << QPointF(0, -100);
    QTest::newRow("circle") << int(DiagramItem::Cercle) << QRectF(-100, -100, 200, 200)
                            << QPointF();
    // The rectangles reach 65 above and 75 below the origin.
    QTest::newRow("rectangle") << int(DiagramItem::Rectangle) << QRectF(-100, -65, 200, 140)
                               << QPointF(-100, -65);
    QTest::newRow("rounded rectangle") << int(DiagramItem::RoundedRectangle)
                                       << QRectF(-100, -65, 200, 140) << QPointF();
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
    QVERIFY(polygon.isClosed());
    if (!firstPoint.isNull())
        QCOMPARE(polygon.first(), firstPoint);
    // The pen widens the bounds by about half its width.
    const QRectF bounds = shape->boundingRect();
    QVERIFY(bounds.contains(polygonRect));
    QVERIFY(polygonRect.adjusted(-1, -1, 1, 1).contains(bounds));
    // The corner handles, made by the first selection, sit on the bounding
    // rectangle's corners.
    shape->setSelected(true);
    QCOMPARE(resizerAt(shape, 0)->pos(), bounds.topLeft());
    QCOMPARE(resizerAt(shape, 1)->pos(), bounds.topRight());
    QCOMPARE(resizerAt(shape, 2)->pos(), bounds.bottomLeft());
    QCOMPARE(resizerAt(shape, 3)->pos(), bounds.bottomRight());
    QCOMPARE(resizerAt(shape, 0)->cursor().shape(), Qt::SizeFDiagCursor);
    QCOMPARE(resizerAt(shape, 1)->cursor().shape(), Qt::SizeBDiagCursor);
}

void tst_Shapes::squareBoundsIncludeHalfPen()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QCOMPARE(shape->boundingRect(), QRectF(-100.5, -100.5, 201, 201));
    QVERIFY(shape->pen().isCosmetic());
    QCOMPARE(shape->pen().width(), 1);
}

void tst_Shapes::imageDrawsOutline()
{
    const QImage image = DiagramItem::imageOf(DiagramItem::Carre).toImage();
    QCOMPARE(image.size(), QSize(250, 250));
    QCOMPARE(qAlpha(image.pixel(125, 125)), 0);       // inside stays transparent
    QCOMPARE(image.pixelColor(25, 25), QColor(Qt::black)); // the corner (-100, -100)
    QCOMPARE(image.pixelColor(125, 25), QColor(Qt::black)); // the top edge
    QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
    const QImage triangle = DiagramItem::imageOf(DiagramItem::Triangle).toImage();
    QCOMPARE(qAlpha(triangle.pixel(25, 25)), 0); // no square corner there
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
    DiagramItem *other = h.addShape(QPointF(-400, 300));
    Arrow *arrow = h.addArrow(other, shape);
    shape->changeTransform(0, true, 2.0, 0.5, false);
    const QPointF centre = shape->mapToScene(shape->boundingRect().center());
    const QLineF before = arrow->line();

    shape->changeTransform(90, false, 0, 0, false);

    QCOMPARE(shape->rotationTransform()->angle(), 90.0);
    QCOMPARE(shape->scaleTransform()->xScale(), 2.0); // scales are kept
    QCOMPARE(shape->scaleTransform()->yScale(), 0.5);
    const QPointF after = shape->mapToScene(shape->boundingRect().center());
    QVERIFY(near(after.x(), centre.x()) && near(after.y(), centre.y()));
    // Turned: the scene extent swaps width and height.
    const QRectF r = shape->boundingRect();
    QVERIFY(near(shape->sceneBoundingRect().width(), r.height() * 0.5));
    QVERIFY(near(shape->sceneBoundingRect().height(), r.width() * 2.0));
    QVERIFY(arrow->line() != before); // the arrow follows the turned outline

    // A second turn replaces the angle rather than adding to it.
    shape->changeTransform(90, false, 0, 0, false);
    QCOMPARE(shape->rotationTransform()->angle(), 90.0);
}

void tst_Shapes::linkedShapeFitsText()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(-200, -200));
    shape->changeTransform(45, false, 0, 0, false);
    DiagramTextItem *text = h.addText(QPointF(100, 50), QStringLiteral("un texte assez long"));
    h.scene.setMode(DiagramScene::LinkText);
    h.drag(QPointF(-200, -200), text->sceneBoundingRect().center());
    QCOMPARE(shape->linkedText(), text);
    QCOMPARE(shape->rotationTransform()->angle(), 0.0); // linking unturns the shape
    h.paint();

    const QRectF t = text->sceneBoundingRect();
    const QRectF s = shape->sceneBoundingRect();
    QVERIFY2(near(s.width(), t.width() + 20) && near(s.height(), t.height() + 20),
             qPrintable(QStringLiteral("%1 x %2 around %3 x %4")
                            .arg(s.width()).arg(s.height()).arg(t.width()).arg(t.height())));
    QVERIFY(near(s.center().x(), t.center().x()) && near(s.center().y(), t.center().y()));

    shape->setSelected(true);
    QVERIFY(handlesHidden(shape)); // a linked shape shows no handles
}

void tst_Shapes::handlesFollowSelection()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QVERIFY(handlesHidden(shape));
    shape->setSelected(true);
    QVERIFY(handlesVisible(shape));
    shape->setSelected(false);
    QVERIFY(handlesHidden(shape));
    // While the mouse is over the disc, deselection keeps the handles.
    shape->setSelected(true);
    shape->setRotatorHovered(true);
    shape->setSelected(false);
    QVERIFY(handlesVisible(shape));
}

void tst_Shapes::removeArrowsDestroysBoth()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramItem *left = h.addShape(QPointF(-400, 0));
    DiagramImage *right = h.addImage(QPointF(400, 0));
    QPointer<Arrow> a = h.addArrow(left, shape);
    QPointer<Arrow> b = h.addArrow(shape, right);
    QSignalSpy removals(shape, &DiagramItem::removeArrowFromScene);
    QSignalSpy willBeDeleted(&h.scene, &DiagramScene::itemWillBeDeleted);

    shape->removeArrows();

    QCOMPARE(removals.count(), 2);
    QCOMPARE(willBeDeleted.count(), 2); // relayed by the scene, which takes them off
    QVERIFY(a.isNull() && b.isNull());
    QVERIFY(shape->arrows().isEmpty());
    QVERIFY(left->arrows().isEmpty());
    QVERIFY(right->arrows().isEmpty());
}

void tst_Shapes::deletedShapeTakesItsArrows()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramItem *other = h.addShape(QPointF(-400, 0));
    QPointer<Arrow> arrow = h.addArrow(other, shape);
    QSignalSpy willBeDeleted(&h.scene, &DiagramScene::itemWillBeDeleted);

    delete shape; // without removeArrows() first

    QVERIFY(arrow.isNull()); // an arrow whose end is gone is gone too
    QCOMPARE(willBeDeleted.count(), 1);
    QVERIFY(other->arrows().isEmpty());
    h.paint();
}

void tst_Shapes::deletedShapeUnlinksText()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("lié"));
    text->linkTo(shape);
    shape->setLinkedText(text);

    delete shape;

    QVERIFY(!text->isLinked());
    text->setPos(300, 300); // would move the freed shape if the link were left
    h.paint();
}

void tst_Shapes::deletedTextUnlinksShape()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("lié"));
    text->linkTo(shape);
    shape->setLinkedText(text);

    delete text;

    QVERIFY(!shape->hasLinkedText());
    QCOMPARE(shape->linkedText(), nullptr);
    shape->setSelected(true);
    QVERIFY(handlesVisible(shape)); // handles come back once the text is gone
    h.paint(); // painting fits a linked text: must not touch the freed one
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
    shape->setSelected(true);
    paintAndIndex(h);
    DiagramItemResizer *handle = resizerAt(shape, 3);
    const QPointF grip = onScreen(h, handle, QPointF(-3, -3));
    QCOMPARE(h.view.itemAt(h.view.mapFromScene(grip)), handle);

    h.drag(grip, QPointF(150, 50));

    QVERIFY2(near(shape->scaleTransform()->xScale(), xScale, 1e-4),
             qPrintable(QString::number(shape->scaleTransform()->xScale())));
    QVERIFY2(near(shape->scaleTransform()->yScale(), yScale, 1e-4),
             qPrintable(QString::number(shape->scaleTransform()->yScale())));
    QCOMPARE(shape->pos(), QPointF(0, 0)); // symmetric: the centre stays
    QCOMPARE(handle->pos(), QPointF(100.5, 100.5)); // the handle itself does not move
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
    shape->setSelected(true);
    paintAndIndex(h);
    // The disc's own transform already holds its 25 units beyond the edge.
    const QPointF disc = rotatorOf(shape)->scenePos();
    QCOMPARE(h.view.itemAt(h.view.mapFromScene(disc)), rotatorOf(shape));

    h.hover(disc + QPointF(1, 0));
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
    const QTransform viewport = h.view.viewportTransform();
    for (QGraphicsItem *handle : {static_cast<QGraphicsItem *>(resizerAt(shape, 0)),
                                  static_cast<QGraphicsItem *>(rotatorOf(shape))}) {
        const QRectF onScreen = handle->deviceTransform(viewport).mapRect(handle->boundingRect());
        QVERIFY(near(onScreen.width(), handle->boundingRect().width()));
    }
}

void tst_Shapes::updateActionsFillsWidgets()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QPen pen = shape->pen();
    pen.setWidth(4);
    pen.setColor(Qt::red);
    shape->setPen(pen);
    shape->setName(QStringLiteral("Boîte"));
    QSignalSpy colorChanged(&h.borderColorAction, &ColorActionWidget::colorChanged);

    shape->updateActions();

    QCOMPARE(h.borderWidthAction.value(), 4);
    QCOMPARE(h.itemNameAction.value(), QStringLiteral("Boîte"));
    QCOMPARE(colorChanged.count(), 0); // showing the item's colour changes nothing
    QCOMPARE(h.borderColorAction.color(), QColor(Qt::black));
}

QTEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
