#include "ItemsHarness.h"

#include "scene/DiagramImageResizer.h"
#include "scene/DiagramImageRotator.h"

class tst_Image : public QObject
{
    Q_OBJECT

private slots:
    void resizeScalesUniformly_data();
    void resizeScalesUniformly();
    void unreadablePictureIsSafe();
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

    h.drag(h.handlePoint(resizer), mouse);

    QVERIFY2(qAbs(image->scaleTransform()->xScale() - scale) < 0.01,
             qPrintable(QString::number(image->scaleTransform()->xScale())));
    QCOMPARE(image->scaleTransform()->yScale(), image->scaleTransform()->xScale());
    QCOMPARE(image->rotationTransform()->angle(), qreal(rotation));
    QCOMPARE(image->scenePos(), QPointF(0, 0)); // about the centre
    QVERIFY(nearlyEqual(image->sceneBoundingRect().center(), QPointF(0, 0)));
}

void tst_Image::unreadablePictureIsSafe()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(300, 0));
    h.scene.setPixmapToAdd(QStringLiteral("/nonexistent/none.png"));
    h.click(DiagramScene::InsertPixmap, QPointF(0, 250));
    DiagramImage *image = h.itemsOf<DiagramImage>().value(0);
    QVERIFY(image && image->pixmap().isNull());
    QCOMPARE(image->name(), QStringLiteral("Image 0"));

    // Resizing has nothing to scale against; turning by the disc still works.
    image->setSelected(true);
    h.paint();
    h.drag(h.handlePoint(handlesOf<DiagramImageResizer>(image).value(3)), QPointF(80, 60));
    QCOMPARE(image->scaleTransform()->xScale(), 1.0);
    h.drag(h.handlePoint(handlesOf<DiagramImageRotator>(image).value(0)), QPointF(300, 250));
    QCOMPARE(image->rotationTransform()->angle(), 90.0);
    // Arrows point at its centre; copies and deletion go as for any picture.
    QCOMPARE(h.addArrow(shape, image)->line().p1(), QPointF(0, 250));
    image->setSelected(true);
    h.scene.copy();
    h.scene.paste();
    delete image;
    QVERIFY(shape->arrows().isEmpty());
    h.paint();
}

QTEST_MAIN(tst_Image)
#include "tst_image.moc"
