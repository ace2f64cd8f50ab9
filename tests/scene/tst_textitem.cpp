#include "ItemsHarness.h"

#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// The centre of a text's bounding rectangle, where its shape belongs.
QPointF centreOf(const DiagramTextItem *text)
{
    const QRectF r = text->boundingRect();
    return text->scenePos() + QPointF(0.5 * r.width(), 0.5 * r.height());
}

} // namespace

class tst_TextItem : public QObject
{
    Q_OBJECT

private slots:
    void alignmentKeepsEdge_data();
    void alignmentKeepsEdge();
    void linkedShapeFollowsBothWays();
    void emptiedLinkedTextFreesItsShape();
};

void tst_TextItem::alignmentKeepsEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left") << int(Qt::AlignLeft);
    QTest::newRow("right") << int(Qt::AlignRight);
}

void tst_TextItem::alignmentKeepsEdge()
{
    QFETCH(int, alignment);
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
    QCOMPARE(text->document()->firstBlock().layout()->lineCount(), 1); // never wraps
    if (alignment == Qt::AlignRight)
        QCOMPARE(later.right(), first.right());
    else
        QCOMPARE(later.left(), first.left());
}

void tst_TextItem::linkedShapeFollowsBothWays()
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

    // A shape follows one text only: a link from its margin below the text
    // is refused.
    const QPointF onMargin(shape->scenePos().x(), text->sceneBoundingRect().bottom() + 5);
    QCOMPARE(h.scene.items(onMargin).value(0), shape);
    h.drag(onMargin, second->sceneBoundingRect().center());
    h.scene.setMode(DiagramScene::MoveItem);
    QCOMPARE(linked.count(), 1);
    QVERIFY(!second->isLinked());

    // Dragging the text drags the shape.
    const QPointF onText = text->sceneBoundingRect().center();
    h.drag(onText, onText + QPointF(50, 70));
    QVERIFY(nearlyEqual(text->sceneBoundingRect().center(), onText + QPointF(50, 70)));
    h.paint();
    QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));

    // Dragging the shape by its margin below the text drags the text.
    const QPointF below(shape->scenePos().x(), text->sceneBoundingRect().bottom() + 5);
    h.drag(below, below + QPointF(-80, 40));
    h.paint();
    QVERIFY(nearlyEqual(shape->scenePos(), onText + QPointF(-30, 110)));
    QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));
}

// Emptied by the program while edited, a linked text once corrupted the
// document's cursors and crashed when it was destroyed.
void tst_TextItem::emptiedLinkedTextFreesItsShape()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QPointer<DiagramTextItem> text = h.addLinkedText(shape, QStringLiteral("lié"));
    h.paint();

    text->setTextInteractionFlags(Qt::TextEditorInteraction);
    text->setFocus();
    text->setPlainText(QString());
    h.click(QPointF(300, 300));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(text.isNull());
    QVERIFY(!shape->linkedText());
    shape->setSelected(true);
    QCOMPARE(shownHandles(shape), 5); // an unlinked shape shows its handles again
    shape->moveBy(40, 40);
    h.paint();
}

QTEST_MAIN(tst_TextItem)
#include "tst_textitem.moc"
