#include "ItemsHarness.h"

#include <QTimer>

namespace {

DiagramItem *shapeNamed(const ItemsHarness &h, const QString &name)
{
    for (DiagramItem *shape : h.itemsOf<DiagramItem>()) {
        if (shape->name() == name)
            return shape;
    }
    return nullptr;
}

void pressKeys(ItemsHarness &h, QKeySequence::StandardKey key)
{
    const int combined = QKeySequence(key)[0];
    QTest::keyClick(h.view.viewport(), Qt::Key(combined & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(combined & Qt::KeyboardModifierMask));
}

} // namespace

class tst_CopyPaste : public QObject
{
    Q_OBJECT

private slots:
    void pasteOffsetsAndNumbersCopies();
    void rightClickPointThenKeyAgain();
    void pastedPictureFormulaAndTextKeepTheirLook();
    void goneSourceIsNeverPasted_data();
    void goneSourceIsNeverPasted();
};

void tst_CopyPaste::pasteOffsetsAndNumbersCopies()
{
    ItemsHarness h;
    DiagramItem *square = h.addShape(QPointF(-200, 0));
    square->setName(QStringLiteral("Carré 0"));
    square->setBrush(QBrush(Qt::yellow, Qt::SolidPattern));
    square->setZValue(2.5);
    square->changeTransform(90, false, 0, 0, false);
    square->changeTransform(0, true, 1.5, 0.5, false);
    DiagramItem *circle = h.addShape(QPointF(200, 0), DiagramItem::Cercle);
    circle->setName(QStringLiteral("Cercle 0"));
    h.addArrow(square, circle)->setSelected(true);
    square->setSelected(true);
    circle->setSelected(true);
    const int firstId = h.scene.nbItems();
    QSignalSpy inserted(&h.scene, &DiagramScene::itemInserted);

    pressKeys(h, QKeySequence::Paste);
    QCOMPARE(inserted.count(), 0); // nothing recorded yet
    pressKeys(h, QKeySequence::Copy);
    pressKeys(h, QKeySequence::Paste);

    QCOMPARE(inserted.count(), 2); // the arrow is not pasted
    DiagramItem *squareCopy = shapeNamed(h, QStringLiteral("Carré 0 (1)"));
    DiagramItem *circleCopy = shapeNamed(h, QStringLiteral("Cercle 0 (1)"));
    QVERIFY(squareCopy && circleCopy);
    QCOMPARE(squareCopy->pos(), QPointF(-170, 30));
    QCOMPARE(circleCopy->pos(), QPointF(230, 30));
    QCOMPARE(circleCopy->diagramType(), DiagramItem::Cercle);
    QCOMPARE(squareCopy->brush(), square->brush());
    QCOMPARE(squareCopy->zValue(), 2.5);
    QCOMPARE(squareCopy->rotationTransform()->angle(), 90.0);
    QCOMPARE(squareCopy->scaleTransform()->yScale(), 0.5);
    QCOMPARE(squareCopy->id() + circleCopy->id(), 2 * firstId + 1); // the next two ids
    QCOMPARE(h.scene.nbCarre(), 0); // name counters are not touched

    pressKeys(h, QKeySequence::Paste);
    QCOMPARE(shapeNamed(h, QStringLiteral("Carré 0 (2)"))->pos(), QPointF(-170, 30));
    // A copy's name takes a further suffix.
    h.scene.clearSelection();
    squareCopy->setSelected(true);
    h.scene.copy();
    h.scene.paste();
    QVERIFY(shapeNamed(h, QStringLiteral("Carré 0 (1) (1)")));
}

void tst_CopyPaste::rightClickPointThenKeyAgain()
{
    ItemsHarness h;
    QAction *pasteAction = h.sceneMenu.addAction(QStringLiteral("&Coller"));
    connect(pasteAction, &QAction::triggered, &h.scene, &DiagramScene::paste);
    DiagramItem *a = h.addShape(QPointF(-300, -200));
    a->setName(QStringLiteral("A"));
    DiagramItem *b = h.addShape(QPointF(-300, 200));
    b->setName(QStringLiteral("B"));
    a->setSelected(true);
    b->setSelected(true);
    h.scene.copy();

    // The scene's menu on empty space; its paste puts everything on the point.
    QTimer::singleShot(0, pasteAction, [pasteAction] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            pasteAction->trigger();
            popup->close();
        }
    });
    const QPoint click = h.view.mapFromScene(QPointF(250, 150));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, click, h.view.viewport()->mapToGlobal(click));
    QApplication::sendEvent(h.view.viewport(), &menu);
    QCOMPARE(shapeNamed(h, QStringLiteral("A (1)"))->pos(), QPointF(250, 150));
    QCOMPARE(shapeNamed(h, QStringLiteral("B (1)"))->pos(), QPointF(250, 150));

    // The key goes back to the offset, and so does the menu's paste after it.
    pressKeys(h, QKeySequence::Paste);
    QCOMPARE(shapeNamed(h, QStringLiteral("A (2)"))->pos(), QPointF(-270, -170));
    h.scene.paste();
    QCOMPARE(shapeNamed(h, QStringLiteral("B (3)"))->pos(), QPointF(-270, 230));
}

void tst_CopyPaste::pastedPictureFormulaAndTextKeepTheirLook()
{
    ItemsHarness h;
    DiagramImage *picture = h.addImage(QPointF(0, 0), QSize(41, 20));
    picture->changeTransform(45, false, 0.0);
    picture->changeTransform(0, true, 1.75);
    DiagramImage *formula = h.addImage(QPointF(-300, 0), QSize(30, 30));
    formula->setContent(QStringLiteral("$x^2"), formula->pixmap(), true);
    DiagramTextItem *text = h.addText(QPointF(10, 200), QStringLiteral("Bonjour"));
    text->setFont(QFont(QStringLiteral("Serif"), 19));
    for (QGraphicsItem *item : h.scene.items())
        item->setSelected(true);
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);
    QSignalSpy texts(&h.scene, &DiagramScene::textInserted);
    h.scene.copy();
    h.scene.paste();

    QCOMPARE(images.count(), 1);
    auto *copy = images.first().first().value<DiagramImage *>();
    QCOMPARE(copy->pos(), QPointF(30, 30));
    QCOMPARE(copy->offset(), QPointF(-20, -10));
    QCOMPARE(copy->rotationTransform()->angle(), 45.0);
    QCOMPARE(copy->scaleTransform()->yScale(), 1.75);
    QCOMPARE(maths.count(), 1); // a formula is announced as one
    QCOMPARE(maths.first().first().value<DiagramImage *>()->path(), QStringLiteral("$x^2"));
    QCOMPARE(texts.count(), 1);
    auto *textCopy = texts.first().first().value<DiagramTextItem *>();
    QCOMPARE(textCopy->toPlainText(), QStringLiteral("Bonjour"));
    QCOMPARE(textCopy->font(), text->font());
    QCOMPARE(textCopy->pos(), QPointF(40, 230));
}

void tst_CopyPaste::goneSourceIsNeverPasted_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("taken off the scene") << "remove";
    QTest::newRow("emptied text") << "empty";
}

void tst_CopyPaste::goneSourceIsNeverPasted()
{
    QFETCH(QString, how);
    ItemsHarness h;
    h.addShape(QPointF(-200, 0))->setName(QStringLiteral("Gardé"));
    DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("Parti"));
    for (QGraphicsItem *item : h.scene.items())
        item->setSelected(true);
    h.scene.copy();

    if (how == "delete") {
        delete text;
    } else if (how == "remove") {
        h.scene.removeItem(text);
    } else {
        text->setPlainText(QString());
        h.scene.editorLostFocus(text);
    }
    QSignalSpy texts(&h.scene, &DiagramScene::textInserted);
    h.scene.paste();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    h.scene.paste();

    QCOMPARE(texts.count(), 0);
    QVERIFY(shapeNamed(h, QStringLiteral("Gardé (1)")));
    QVERIFY(shapeNamed(h, QStringLiteral("Gardé (2)")));
    if (how == "remove")
        delete text;
}

QTEST_MAIN(tst_CopyPaste)
#include "tst_copypaste.moc"
