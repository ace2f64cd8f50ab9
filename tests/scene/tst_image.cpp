#include "ItemsHarness.h"

#include "scene/DiagramImageResizer.h"
#include "scene/DiagramImageRotator.h"

#include <QGraphicsTransform>
#include <QSignalSpy>
#include <QToolTip>

namespace {

template <typename Handle>
QList<Handle *> handlesOf(const DiagramImage *image)
{
    QList<Handle *> found;
    for (QGraphicsItem *child : image->childItems()) {
        if (auto *handle = dynamic_cast<Handle *>(child))
            found.append(handle);
    }
    return found;
}

// Where a handle's polygon is drawn: handles ignore the view's transform.
QPointF handlePoint(ItemsHarness &h, const QGraphicsPolygonItem *handle)
{
    const QTransform device = handle->deviceTransform(h.view.viewportTransform());
    return h.view.mapToScene(device.map(centroid(handle->polygon())).toPoint());
}

} // namespace

class tst_Image : public QObject
{
    Q_OBJECT

private slots:
    void resizeScalesUniformly_data();
    void resizeScalesUniformly();
    void rotateDiscTurnsPicture();
    void pressKeepsSelectionAndDragMovesBoth();
    void unreadablePictureIsSafe();
    void nonFiniteScaleIgnored();
};

void tst_Image::resizeScalesUniformly_data()
{
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("corner");
    QTest::addColumn<QPointF>("mouse");
    QTest::addColumn<double>("scale");

    // A 200 x 100 picture's bounding rectangle has half a pixel of margin:
    // the scale is (|dx| / 100.5 + |dy| / 50.5) / 2 along the item's axes.
    QTest::newRow("bottom-right, unturned") << 0 << 3 << QPointF(150, 100) << 1.7363;
    QTest::newRow("bottom-right, turned 90") << 90 << 3 << QPointF(-100, 150) << 1.7363;
    QTest::newRow("top-left, shrinking") << 0 << 0 << QPointF(-50, -25) << 0.4963;
}

void tst_Image::resizeScalesUniformly()
{
    QFETCH(int, rotation);
    QFETCH(int, corner);
    QFETCH(QPointF, mouse);
    QFETCH(double, scale);

    ItemsHarness h;
    DiagramImage *image = h.addImage(QPointF(0, 0));
    image->changeTransform(rotation);
    image->setSelected(true);
    h.paint();
    DiagramImageResizer *resizer = handlesOf<DiagramImageResizer>(image).value(corner);
    QVERIFY(resizer && resizer->corner() == corner);

    h.drag(handlePoint(h, resizer), mouse);

    QVERIFY2(qAbs(image->scaleTransform()->xScale() - scale) < 0.01,
             qPrintable(QString::number(image->scaleTransform()->xScale())));
    QCOMPARE(image->scaleTransform()->yScale(), image->scaleTransform()->xScale());
    QCOMPARE(image->rotationTransform()->angle(), qreal(rotation));
    QCOMPARE(image->scenePos(), QPointF(0, 0)); // about the centre
    QVERIFY(nearlyEqual(image->sceneBoundingRect().center(), QPointF(0, 0)));
}

void tst_Image::rotateDiscTurnsPicture()
{
    ItemsHarness h;
    DiagramImage *image = h.addImage(QPointF(0, 0));
    image->setSelected(true);
    h.paint();
    DiagramImageRotator *rotator = handlesOf<DiagramImageRotator>(image).value(0);
    QVERIFY(rotator && rotator->isVisible());

    h.drag(handlePoint(h, rotator), QPointF(0, 300));

    QCOMPARE(image->rotationTransform()->angle(), 180.0);
    QCOMPARE(QToolTip::text(), QStringLiteral("180°"));
    QCOMPARE(image->scaleTransform()->xScale(), 1.0);
    // Pressing the disc deselected the picture; leaving it selects it again.
    h.hover(QPointF(-400, 300));
    QVERIFY(image->isSelected());
    QVERIFY(rotator->isVisible());
}

void tst_Image::pressKeepsSelectionAndDragMovesBoth()
{
    qRegisterMetaType<QGraphicsItem *>();
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(-300, 0));
    DiagramImage *image = h.addImage(QPointF(200, 0));
    shape->setSelected(true);
    QSignalSpy pressed(image, &DiagramImage::imageSelected);

    h.press(QPointF(200, 0));
    QCOMPARE(pressed.count(), 1);
    QVERIFY(!image->isSelected());
    QVERIFY(shape->isSelected());
    h.moveDragging(QPointF(225, 25));
    h.moveDragging(QPointF(250, 50));
    h.release(QPointF(250, 50));

    QCOMPARE(image->scenePos(), QPointF(250, 50));
    QCOMPARE(shape->scenePos(), QPointF(-250, 50));
}

void tst_Image::unreadablePictureIsSafe()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(300, 0));
    h.scene.setPixmapToAdd(QStringLiteral("/nonexistent/none.png"));
    h.scene.setMode(DiagramScene::InsertPixmap);
    h.press(QPointF(0, 250));
    h.release(QPointF(0, 250));
    h.scene.setMode(DiagramScene::MoveItem);
    DiagramImage *image = nullptr;
    for (QGraphicsItem *item : h.scene.items()) {
        if (item->type() == DiagramImage::Type)
            image = static_cast<DiagramImage *>(item);
    }
    QVERIFY(image);
    QVERIFY(image->pixmap().isNull());
    QCOMPARE(image->name(), QStringLiteral("Image 0"));

    // Resizing has nothing to scale against; turning still works.
    image->setSelected(true);
    h.paint();
    h.drag(handlePoint(h, handlesOf<DiagramImageResizer>(image).value(3)), QPointF(80, 60));
    QCOMPARE(image->scaleTransform()->xScale(), 1.0);
    h.drag(handlePoint(h, handlesOf<DiagramImageRotator>(image).value(0)), QPointF(300, 250));
    QCOMPARE(image->rotationTransform()->angle(), 90.0);

    // Arrows point at its centre; links from it are refused.
    Arrow *arrow = h.addArrow(shape, image);
    QCOMPARE(arrow->line().p1(), QPointF(0, 250));
    h.scene.setMode(DiagramScene::LinkText);
    h.drag(QPointF(0, 250), QPointF(300, 0));
    h.scene.setMode(DiagramScene::MoveItem);

    h.scene.clearSelection();
    image->setSelected(true);
    h.scene.copy();
    h.scene.paste();
    h.paint();
    delete image;
    QVERIFY(shape->arrows().isEmpty());
    h.paint();
}

void tst_Image::nonFiniteScaleIgnored()
{
    ItemsHarness h;
    DiagramImage *image = h.addImage(QPointF(0, 0));
    image->changeTransform(0, true, 2.0);
    QTest::ignoreMessage(QtWarningMsg, "DiagramImage::changeTransform: the scale must be a finite number");
    image->changeTransform(0, true, qInf());
    QCOMPARE(image->scaleTransform()->xScale(), 2.0);
}

QTEST_MAIN(tst_Image)
#include "tst_image.moc"
