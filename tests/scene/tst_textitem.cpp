#include "ItemsHarness.h"

#include <QGraphicsTransform>
#include <QPointer>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

DiagramTextItem *onlyText(const DiagramScene &scene)
{
    DiagramTextItem *found = nullptr;
    for (QGraphicsItem *item : scene.items()) {
        if (item->type() == DiagramTextItem::Type) {
            if (found)
                return nullptr;
            found = static_cast<DiagramTextItem *>(item);
        }
    }
    return found;
}

// The centre of a text's bounding rectangle, where its shape belongs.
QPointF centreOf(const DiagramTextItem *text)
{
    const QRectF r = text->boundingRect();
    return text->scenePos() + QPointF(0.5 * r.width(), 0.5 * r.height());
}

bool handlesVisible(const DiagramItem *shape)
{
    const QList<QGraphicsItem *> children = shape->childItems();
    return std::any_of(children.cbegin(), children.cend(),
                       [](const QGraphicsItem *child) { return child->isVisible(); });
}

} // namespace

class tst_TextItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void alignmentKeepsEdge_data();
    void alignmentKeepsEdge();
    void focusLossRemovesEmptyText_data();
    void focusLossRemovesEmptyText();
    void linkedShapeFollowsBothWays();
    void emptiedLinkedTextFreesItsShape();

private:
    // Inserts a text by a click in InsertText mode and returns to MoveItem,
    // as the window does on textInserted.
    DiagramTextItem *insertByClick(ItemsHarness &h, const QPointF &at);
};

void tst_TextItem::initTestCase()
{
    qRegisterMetaType<DiagramTextItem *>();
    qRegisterMetaType<DiagramItem *>();
    qRegisterMetaType<QGraphicsItem *>();
}

DiagramTextItem *tst_TextItem::insertByClick(ItemsHarness &h, const QPointF &at)
{
    h.scene.setMode(DiagramScene::InsertText);
    h.press(at);
    h.release(at);
    h.scene.setMode(DiagramScene::MoveItem);
    return onlyText(h.scene);
}

void tst_TextItem::alignmentKeepsEdge_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("rightEdgeStays");

    QTest::newRow("left") << int(Qt::AlignLeft) << false;
    QTest::newRow("right") << int(Qt::AlignRight) << true;
}

void tst_TextItem::alignmentKeepsEdge()
{
    QFETCH(int, alignment);
    QFETCH(bool, rightEdgeStays);

    ItemsHarness h;
    h.scene.setTextAlignment(alignment);
    DiagramTextItem *text = insertByClick(h, QPointF(0, 0));
    QVERIFY(text);
    QCOMPARE(text->alignment(), alignment);
    QTest::keyClicks(&h.view, QStringLiteral("ab"));
    const QRectF first = text->sceneBoundingRect();

    QTest::keyClicks(&h.view, QStringLiteral("cdefgh ijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    const QRectF later = text->sceneBoundingRect();
    QVERIFY(later.width() > first.width());
    QCOMPARE(text->document()->firstBlock().layout()->lineCount(), 1); // never wraps
    if (rightEdgeStays) {
        QCOMPARE(later.right(), first.right());
        QVERIFY(later.left() < first.left());
    } else {
        QCOMPARE(later.left(), first.left());
    }
}

void tst_TextItem::focusLossRemovesEmptyText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("erased");
    QTest::addColumn<bool>("kept");

    QTest::newRow("nothing typed") << QString() << 0 << false;
    QTest::newRow("typed then erased") << QStringLiteral("ab") << 2 << false;
    QTest::newRow("text left") << QStringLiteral("abc") << 1 << true;
}

void tst_TextItem::focusLossRemovesEmptyText()
{
    QFETCH(QString, typed);
    QFETCH(int, erased);
    QFETCH(bool, kept);

    ItemsHarness h;
    QPointer<DiagramTextItem> text = insertByClick(h, QPointF(0, 0));
    QVERIFY(text);
    const int id = text->id();
    QTest::keyClicks(&h.view, typed);
    for (int i = 0; i < erased; ++i)
        QTest::keyClick(&h.view, Qt::Key_Backspace);
    text->setSelected(true);
    QSignalSpy lostFocus(text.data(), &DiagramTextItem::lostFocus);
    QSignalSpy deleted(&h.scene, &DiagramScene::itemDeleted);

    // A click on empty space takes the focus away.
    h.press(QPointF(300, 300));
    h.release(QPointF(300, 300));
    flushDeletions();

    QCOMPARE(lostFocus.count(), 1);
    QCOMPARE(text.isNull(), !kept);
    QCOMPARE(deleted.count(), kept ? 0 : 1);
    if (kept) {
        QCOMPARE(text->textInteractionFlags(), Qt::NoTextInteraction);
        QVERIFY(!text->isSelected());
        h.doubleClick(text->sceneBoundingRect().center());
        QCOMPARE(text->textInteractionFlags(), Qt::TextEditorInteraction);
    } else {
        QCOMPARE(deleted.first().first().toInt(), id);
    }
}

void tst_TextItem::linkedShapeFollowsBothWays()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(-250, 150));
    shape->changeTransform(45, false, 0, 0, false);
    DiagramTextItem *text = h.addText(QPointF(100, -100), QStringLiteral("Bonjour"));
    QSignalSpy linked(&h.scene, &DiagramScene::itemsLinked);

    h.scene.setMode(DiagramScene::LinkText);
    h.drag(QPointF(-250, 150), text->sceneBoundingRect().center());
    h.scene.setMode(DiagramScene::MoveItem);

    QCOMPARE(linked.count(), 1);
    QCOMPARE(text->linkedItem(), shape);
    QCOMPARE(shape->linkedText(), text);
    QCOMPARE(shape->rotationTransform()->angle(), 0.0);
    QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));
    shape->setSelected(true);
    QVERIFY(!handlesVisible(shape));
    shape->setSelected(false);

    // The shape fits around the text with 20 units of room.
    h.paint();
    const QRectF t = text->boundingRect();
    const QRectF s = shape->sceneBoundingRect();
    QCOMPARE(qRound(s.width()), qRound(t.width() + 20));
    QCOMPARE(qRound(s.height()), qRound(t.height() + 20));

    // Dragging the text drags the shape.
    const QPointF onText = text->sceneBoundingRect().center();
    h.drag(onText, onText + QPointF(50, 70));
    QVERIFY(nearlyEqual(text->sceneBoundingRect().center(), onText + QPointF(50, 70)));
    h.paint();
    QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));

    // Dragging the shape by its margin below the text drags the text.
    const QPointF onMargin(shape->scenePos().x(), text->sceneBoundingRect().bottom() + 5);
    QCOMPARE(h.scene.items(onMargin).value(0), shape);
    h.drag(onMargin, onMargin + QPointF(-80, 40));
    h.paint();
    QVERIFY(nearlyEqual(shape->scenePos(), onText + QPointF(-30, 110)));
    QVERIFY(nearlyEqual(shape->scenePos(), centreOf(text)));
}

void tst_TextItem::emptiedLinkedTextFreesItsShape()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    QPointer<DiagramTextItem> text = h.addText(QPointF(-30, -10), QStringLiteral("lié"));
    text->linkTo(shape);
    shape->setLinkedText(text);
    h.paint();

    // Emptied by the program while edited (this once corrupted the
    // document's cursors and crashed when the text was destroyed), then left.
    text->setTextInteractionFlags(Qt::TextEditorInteraction);
    text->setFocus();
    text->setPlainText(QString());
    h.press(QPointF(300, 300));
    h.release(QPointF(300, 300));
    flushDeletions();

    QVERIFY(text.isNull());
    QVERIFY(!shape->linkedText());
    shape->setSelected(true);
    QVERIFY(handlesVisible(shape)); // an unlinked shape shows its handles again
    shape->moveBy(40, 40);
    h.paint();
}

QTEST_MAIN(tst_TextItem)
#include "tst_textitem.moc"
