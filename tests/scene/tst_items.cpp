#include "ItemsHarness.h"

#include "scene/DiagramImageResizer.h"
#include "scene/DiagramImageRotator.h"
#include "scene/DiagramItemResizer.h"
#include "scene/DiagramItemRotator.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

namespace {

bool near(double a, double b, double tolerance = 1e-3)
{
    return qAbs(a - b) <= tolerance;
}

// Selects the item and paints, so that its handles exist and are placed;
// the scene files their geometry on the next turn of the event loop.
void selectAndPlaceHandles(ItemsHarness &h, QGraphicsItem *item)
{
    item->setSelected(true);
    h.paint();
    QCoreApplication::processEvents();
}

// Drags the item's resize handle of that corner to `to`.
template <typename Resizer>
void dragCorner(ItemsHarness &h, QGraphicsItem *item, int corner, const QPointF &to)
{
    selectAndPlaceHandles(h, item);
    Resizer *handle = handlesOf<Resizer>(item).value(corner);
    QVERIFY(handle && handle->corner() == corner);
    const QPointF grip = h.handlePoint(handle);
    QCOMPARE(h.view.itemAt(h.view.mapFromScene(grip)), handle);
    h.drag(grip, to);
}

// The centre of a text's bounding rectangle, where its shape belongs.
QPointF centreOf(const DiagramTextItem *text)
{
    const QRectF r = text->boundingRect();
    return text->scenePos() + QPointF(0.5 * r.width(), 0.5 * r.height());
}

} // namespace

// Shapes, pictures and texts: geometry, handles, text alignment and links.
class tst_Items : public QObject
{
    Q_OBJECT

private slots:
    void polygonAndBounds()
    {
        const QRectF square(-100, -100, 200, 200);
        // The rectangles reach 65 above and 75 below the origin.
        const QRectF rectangle(-100, -65, 200, 140);
        // Where the pointed outlines start; the rounded ones start on a curve.
        const QHash<int, QPointF> firstPoints{{DiagramItem::Carre, {-100, -100}},
                                              {DiagramItem::Triangle, {0, -100}},
                                              {DiagramItem::Pentagone, {0, -100}},
                                              {DiagramItem::Rectangle, {-100, -65}}};
        ItemsHarness h;
        for (int type = 0; type < DiagramItem::TypeCount; ++type) {
            DiagramItem *shape = h.addShape(QPointF(), DiagramItem::DiagramType(type));
            const QPolygonF polygon = shape->polygon();
            const bool flat = type == DiagramItem::Rectangle || type == DiagramItem::RoundedRectangle;
            const QRectF polygonRect = flat ? rectangle : square;
            QCOMPARE(polygon.boundingRect(), polygonRect);
            if (firstPoints.contains(type))
                QCOMPARE(polygon.first(), firstPoints.value(type));
            // The 1-pixel cosmetic pen widens the bounds by about half its width
            // (pointed joins reach a little further).
            const QRectF bounds = shape->boundingRect();
            QVERIFY(bounds.contains(polygonRect));
            QVERIFY(polygonRect.adjusted(-1, -1, 1, 1).contains(bounds));
        }
    }

    void changeTransformTurnsAboutCentre()
    {
        ItemsHarness h;
        // The rectangle's centre lies below its origin.
        for (auto type : {DiagramItem::Carre, DiagramItem::Rectangle}) {
            DiagramItem *shape = h.addShape(QPointF(40, 30), type);
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
    }

    void handlesFollowSelectionAtFixedPixelSize()
    {
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(0, 0));
        shape->changeTransform(0, true, 3.0, 3.0, false);
        h.view.scale(2, 2);
        h.scene.setHandleZoom(2); // as the program's view tells it
        QCOMPARE(shownHandles(shape), 0);
        shape->setSelected(true);
        h.paint();
        QCOMPARE(handlesOf<DiagramItemResizer>(shape).size(), 4);
        QCOMPARE(shownHandles(shape), 5); // and the disc
        for (QGraphicsItem *handle : shape->childItems()) {
            const QTransform device = handle->deviceTransform(h.view.viewportTransform());
            QVERIFY(near(device.mapRect(handle->boundingRect()).width(), handle->boundingRect().width()));
        }
        shape->setSelected(false);
        QCOMPARE(shownHandles(shape), 0);
        // While the mouse is over the disc, deselection keeps the handles.
        shape->setSelected(true);
        shape->setRotatorHovered(true);
        shape->setSelected(false);
        QCOMPARE(shownHandles(shape), 5);
    }

    void resizeHandleScales_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("corner");
        QTest::addColumn<QPointF>("mouse");
        QTest::addColumn<double>("xScale");
        QTest::addColumn<double>("yScale");
        // Bounding rectangles have half a unit of margin: a square's corner
        // is 100.5 from its centre along each axis; a 200 x 100 picture
        // scales by (|dx| / 100.5 + |dy| / 50.5) / 2 along its own axes.
        QTest::newRow("shape") << false << 0 << 3 << QPointF(150, 50) << 150 / 100.5 << 50 / 100.5;
        // Turned a quarter, the shape's x axis is the scene's vertical.
        QTest::newRow("shape turned 90") << false << 90 << 3 << QPointF(150, 50) << 50 / 100.5 << 150 / 100.5;
        const double grown = (150 / 100.5 + 100 / 50.5) / 2, shrunk = (50 / 100.5 + 25 / 50.5) / 2;
        QTest::newRow("picture") << true << 0 << 3 << QPointF(150, 100) << grown << grown;
        QTest::newRow("picture turned 90") << true << 90 << 3 << QPointF(-100, 150) << grown << grown;
        QTest::newRow("picture by top-left") << true << 0 << 0 << QPointF(-50, -25) << shrunk << shrunk;
    }
    void resizeHandleScales()
    {
        QFETCH(bool, picture);
        QFETCH(int, angle);
        QFETCH(int, corner);
        QFETCH(QPointF, mouse);
        QFETCH(double, xScale);
        QFETCH(double, yScale);
        ItemsHarness h;
        QGraphicsItem *item = nullptr;
        QGraphicsScale *scale = nullptr;
        QGraphicsRotation *rotation = nullptr;
        if (picture) {
            DiagramImage *image = h.addImage(QPointF(0, 0));
            image->changeTransform(angle);
            dragCorner<DiagramImageResizer>(h, image, corner, mouse);
            item = image, scale = image->scaleTransform(), rotation = image->rotationTransform();
        } else {
            DiagramItem *shape = h.addShape(QPointF(0, 0));
            shape->changeTransform(angle, false, 0, 0, false);
            dragCorner<DiagramItemResizer>(h, shape, corner, mouse);
            item = shape, scale = shape->scaleTransform(), rotation = shape->rotationTransform();
        }
        QVERIFY2(near(scale->xScale(), xScale), qPrintable(QString::number(scale->xScale())));
        QVERIFY2(near(scale->yScale(), yScale), qPrintable(QString::number(scale->yScale())));
        QCOMPARE(rotation->angle(), qreal(angle));
        // Symmetric: the centre stays.
        QCOMPARE(item->pos(), QPointF(0, 0));
        QVERIFY(nearlyEqual(item->sceneBoundingRect().center(), QPointF(0, 0)));
    }

    // The mouse above, right of, below and left of the centre.
    void rotateDiscTurns()
    {
        for (int angle = 0; angle < 360; angle += 90) {
            ItemsHarness h;
            DiagramItem *shape = h.addShape(QPointF(0, 0));
            selectAndPlaceHandles(h, shape);
            DiagramItemRotator *rotator = handlesOf<DiagramItemRotator>(shape).value(0);
            const QPointF disc = h.handlePoint(rotator);
            QCOMPARE(h.view.itemAt(h.view.mapFromScene(disc)), rotator);

            h.drag(disc, QLineF::fromPolar(300, 90 - angle).p2()); // (0, -300) for 0

            QCOMPARE(shape->rotationTransform()->angle(), double(angle));
            QCOMPARE(QToolTip::text(), QString::number(angle) + QStringLiteral("°"));
            QCOMPARE(shape->pos(), QPointF(0, 0));
        }
    }

    // An unreadable file is never placed; a picture whose file went missing
    // since it was saved shows a card naming it, which behaves like any
    // picture and keeps the path for the next save.
    void unreadablePictureIsNeverInvisible()
    {
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(300, 0));
        h.scene.setPixmapToAdd(QStringLiteral("/nonexistent/none.png"));
        h.click(DiagramScene::InsertPixmap, QPointF(0, 250));
        QVERIFY(h.itemsOf<DiagramImage>().isEmpty());

        DiagramImage *image = h.scene.newImage();
        image->setContent(QStringLiteral("/moved/away.png"), QPixmap(), false);
        QVERIFY(!image->pixmap().isNull());
        QCOMPARE(image->path(), QStringLiteral("/moved/away.png"));
        image->setOffset(-image->pixmap().width() / 2, -image->pixmap().height() / 2);
        image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
        h.scene.addItem(image);
        image->setPos(0, 250);
        image->setSelected(true);
        h.paint();
        h.drag(h.handlePoint(handlesOf<DiagramImageResizer>(image).value(3)), QPointF(180, 370));
        QVERIFY(image->scaleTransform()->xScale() > 1.5);
        QVERIFY(h.addArrow(shape, image));
        delete image;
        QVERIFY(shape->arrows().isEmpty());
        h.paint();
    }

    // Typing widens a text from the edge its alignment keeps, on one line.
    void alignmentKeepsEdge()
    {
        for (int alignment : {int(Qt::AlignLeft), int(Qt::AlignRight)}) {
            ItemsHarness h;
            h.scene.setTextAlignment(alignment);
            h.click(DiagramScene::InsertText, QPointF(0, 0));
            DiagramTextItem *text = h.itemsOf<DiagramTextItem>().value(0);
            QVERIFY(text);
            QTest::keyClicks(&h.view, QStringLiteral("ab"));
            const QRectF first = text->sceneBoundingRect();

            QTest::keyClicks(&h.view, QStringLiteral("cdefgh ijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
            const QRectF later = text->sceneBoundingRect();
            QVERIFY(later.width() > first.width());
            QCOMPARE(text->document()->firstBlock().layout()->lineCount(), 1);
            const bool right = alignment == Qt::AlignRight;
            QCOMPARE(right ? later.right() : later.left(), right ? first.right() : first.left());
        }
    }

    void linkedShapeFollowsBothWays()
    {
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(-250, 150));
        shape->changeTransform(45, false, 0, 0, false);
        DiagramTextItem *text = h.addText(QPointF(100, -100), QStringLiteral("Bonjour"));
        DiagramTextItem *second = h.addText(QPointF(100, 200), QStringLiteral("second"));
        QSignalSpy linked(&h.scene, &DiagramScene::itemsLinked);

        h.scene.setMode(DiagramScene::LinkText);
        h.drag(QPointF(-250, 150), text->sceneBoundingRect().center());

        QCOMPARE(linked.count(), 1);
        QCOMPARE(text->linkedItem(), shape);
        QCOMPARE(shape->linkedText(), text);
        QCOMPARE(shape->rotationTransform()->angle(), 0.0); // linking unturns the shape
        QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));
        shape->setSelected(true);
        QCOMPARE(shownHandles(shape), 0); // a linked shape shows no handles
        shape->setSelected(false);

        // The shape fits around the text with 20 units of room.
        h.paint();
        const QRectF t = text->boundingRect();
        const QRectF s = shape->sceneBoundingRect();
        QCOMPARE(qRound(s.width()), qRound(t.width() + 20));
        QCOMPARE(qRound(s.height()), qRound(t.height() + 20));

        // A shape follows one text only: a link from its margin is refused.
        const QPointF below(shape->scenePos().x(), text->sceneBoundingRect().bottom() + 5);
        h.drag(below, second->sceneBoundingRect().center());
        h.scene.setMode(DiagramScene::MoveItem);
        QVERIFY(linked.count() == 1 && !second->isLinked());

        // Dragging the text drags the shape.
        const QPointF onText = text->sceneBoundingRect().center();
        h.drag(onText, onText + QPointF(50, 70));
        QVERIFY(nearlyEqual(text->sceneBoundingRect().center(), onText + QPointF(50, 70)));
        h.paint();
        QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));

        // Dragging the shape by its margin below the text drags the text.
        const QPointF margin(shape->scenePos().x(), text->sceneBoundingRect().bottom() + 5);
        h.drag(margin, margin + QPointF(-80, 40));
        h.paint();
        QVERIFY(nearlyEqual(shape->scenePos(), onText + QPointF(-30, 110)));
        QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));
    }

    // Emptied by the program while edited, a linked text once corrupted the
    // document's cursors and crashed when it was destroyed.
    void emptiedLinkedTextFreesItsShape()
    {
        ItemsHarness h;
        DiagramItem *shape = h.addShape(QPointF(0, 0));
        QPointer<DiagramTextItem> text = h.addLinkedText(shape, QStringLiteral("lié"));
        h.paint();

        text->setTextInteractionFlags(Qt::TextEditorInteraction);
        text->setFocus();
        text->setPlainText(QString());
        h.click(QPointF(300, 300));
        QCoreApplication::sendPostedEvents();

        QVERIFY(text.isNull());
        QVERIFY(!shape->linkedText());
        shape->setSelected(true);
        QCOMPARE(shownHandles(shape), 5); // an unlinked shape shows its handles again
        shape->moveBy(40, 40);
        h.paint();
    }
};

QTEST_MAIN(tst_Items)
#include "tst_items.moc"
