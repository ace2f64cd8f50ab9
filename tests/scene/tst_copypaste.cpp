#include "ItemsHarness.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QSignalSpy>
#include <QTimer>

namespace {

QStringList shapeNames(const QGraphicsScene &scene)
{
    QStringList names;
    for (QGraphicsItem *item : scene.items(Qt::AscendingOrder)) {
        if (item->type() == DiagramItem::Type)
            names.append(static_cast<DiagramItem *>(item)->name());
    }
    return names;
}

DiagramItem *shapeNamed(const QGraphicsScene &scene, const QString &name)
{
    for (QGraphicsItem *item : scene.items()) {
        if (item->type() == DiagramItem::Type && static_cast<DiagramItem *>(item)->name() == name)
            return static_cast<DiagramItem *>(item);
    }
    return nullptr;
}

void pressKeys(ItemsHarness &h, QKeySequence::StandardKey key)
{
    const QKeySequence sequence(key);
    const int combined = sequence[0];
    QTest::keyClick(h.view.viewport(), Qt::Key(combined & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(combined & Qt::KeyboardModifierMask));
}

} // namespace

class tst_CopyPaste : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pasteOffsetsAndNumbersCopies();
    void pasteOfACopyAddsASuffix();
    void rightClickPointThenKeyAgain();
    void pastedPictureKeepsAngleAndSize();
    void pastedFormulaIsAnnouncedAsMath();
    void pastedTextKeepsItsLook();
    void nothingRecordedPastesNothing();
    void goneSourceIsNeverPasted_data();
    void goneSourceIsNeverPasted();
    void sameNameOfAnotherKindIsFree();
};

void tst_CopyPaste::initTestCase()
{
    qRegisterMetaType<DiagramItem *>();
    qRegisterMetaType<DiagramImage *>();
    qRegisterMetaType<DiagramTextItem *>();
}

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
    Arrow *arrow = h.addArrow(square, circle);
    square->setSelected(true);
    circle->setSelected(true);
    arrow->setSelected(true);
    const int firstId = h.scene.nbItems();
    QSignalSpy inserted(&h.scene, &DiagramScene::itemInserted);

    pressKeys(h, QKeySequence::Copy);
    pressKeys(h, QKeySequence::Paste);

    QCOMPARE(inserted.count(), 2); // the arrow is not pasted
    DiagramItem *squareCopy = shapeNamed(h.scene, QStringLiteral("Carré 0 (1)"));
    DiagramItem *circleCopy = shapeNamed(h.scene, QStringLiteral("Cercle 0 (1)"));
    QVERIFY(squareCopy && circleCopy);
    QCOMPARE(squareCopy->pos(), QPointF(-170, 30));
    QCOMPARE(circleCopy->pos(), QPointF(230, 30));
    QCOMPARE(squareCopy->diagramType(), DiagramItem::Carre);
    QCOMPARE(circleCopy->diagramType(), DiagramItem::Cercle);
    QCOMPARE(squareCopy->brush(), square->brush());
    QCOMPARE(squareCopy->zValue(), 2.5);
    QCOMPARE(squareCopy->rotationTransform()->angle(), 90.0);
    QCOMPARE(squareCopy->scaleTransform()->xScale(), 1.5);
    QCOMPARE(squareCopy->scaleTransform()->yScale(), 0.5);
    QVERIFY(squareCopy->arrows().isEmpty());
    QList<int> ids{squareCopy->id(), circleCopy->id()};
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, (QList<int>{firstId, firstId + 1}));
    QCOMPARE(h.scene.itemById(squareCopy->id()), squareCopy);
    QCOMPARE(h.scene.nbCarre(), 0); // name counters are not touched

    pressKeys(h, QKeySequence::Paste);
    QVERIFY(shapeNamed(h.scene, QStringLiteral("Carré 0 (2)")));
    QVERIFY(shapeNamed(h.scene, QStringLiteral("Cercle 0 (2)")));
    QCOMPARE(shapeNamed(h.scene, QStringLiteral("Carré 0 (2)"))->pos(), QPointF(-170, 30));
}

void tst_CopyPaste::pasteOfACopyAddsASuffix()
{
    ItemsHarness h;
    DiagramItem *copy = h.addShape(QPointF(0, 0));
    copy->setName(QStringLiteral("Carré 0 (1)"));
    copy->setSelected(true);
    h.scene.copy();
    h.scene.paste();
    QVERIFY(shapeNamed(h.scene, QStringLiteral("Carré 0 (1) (1)")));
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
    QCOMPARE(shapeNamed(h.scene, QStringLiteral("A (1)"))->pos(), QPointF(250, 150));
    QCOMPARE(shapeNamed(h.scene, QStringLiteral("B (1)"))->pos(), QPointF(250, 150));

    // The key goes back to the offset, and so does the menu's paste after it.
    pressKeys(h, QKeySequence::Paste);
    QCOMPARE(shapeNamed(h.scene, QStringLiteral("A (2)"))->pos(), QPointF(-270, -170));
    h.scene.paste();
    QCOMPARE(shapeNamed(h.scene, QStringLiteral("B (3)"))->pos(), QPointF(-270, 230));
}

void tst_CopyPaste::pastedPictureKeepsAngleAndSize()
{
    ItemsHarness h;
    DiagramImage *picture = h.addImage(QPointF(0, 0), QSize(41, 20));
    picture->setName(QStringLiteral("Image 0"));
    picture->changeTransform(45, false, 0.0);
    picture->changeTransform(0, true, 1.75);
    picture->setSelected(true);
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    h.scene.copy();
    h.scene.paste();

    QCOMPARE(images.count(), 1);
    auto *copy = images.first().first().value<DiagramImage *>();
    QCOMPARE(copy->name(), QStringLiteral("Image 0 (1)"));
    QCOMPARE(copy->pos(), QPointF(30, 30));
    QCOMPARE(copy->offset(), QPointF(-20, -10));
    QCOMPARE(copy->rotationTransform()->angle(), 45.0);
    QCOMPARE(copy->scaleTransform()->xScale(), 1.75);
    QCOMPARE(copy->scaleTransform()->yScale(), 1.75);
    QCOMPARE(copy->pixmap().size(), QSize(41, 20));
    QCOMPARE(copy->path(), picture->path());
    QVERIFY(copy->flags() & QGraphicsItem::ItemIsMovable);
}

void tst_CopyPaste::pastedFormulaIsAnnouncedAsMath()
{
    ItemsHarness h;
    DiagramImage *formula = h.addImage(QPointF(0, 0), QSize(30, 30));
    formula->setContent(QStringLiteral("$x^2"), formula->pixmap(), true);
    formula->setName(QStringLiteral("Math 0"));
    formula->setSelected(true);
    QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    h.scene.copy();
    h.scene.paste();
    QCOMPARE(maths.count(), 1);
    QCOMPARE(images.count(), 0);
    auto *copy = maths.first().first().value<DiagramImage *>();
    QVERIFY(copy->isMath());
    QCOMPARE(copy->path(), QStringLiteral("$x^2"));
}

void tst_CopyPaste::pastedTextKeepsItsLook()
{
    ItemsHarness h;
    DiagramTextItem *text = h.addText(QPointF(10, 20), QStringLiteral("Bonjour"));
    text->setName(QStringLiteral("Texte 0"));
    QFont font(QStringLiteral("Serif"), 19);
    font.setUnderline(true);
    text->setFont(font);
    text->setDefaultTextColor(Qt::darkGreen);
    text->setAlignment(Qt::AlignCenter);
    text->setZValue(1000);
    text->setSelected(true);
    QSignalSpy texts(&h.scene, &DiagramScene::textInserted);
    h.scene.copy();
    h.scene.paste();

    QCOMPARE(texts.count(), 1);
    auto *copy = texts.first().first().value<DiagramTextItem *>();
    QCOMPARE(copy->toPlainText(), QStringLiteral("Bonjour"));
    QCOMPARE(copy->name(), QStringLiteral("Texte 0 (1)"));
    QCOMPARE(copy->font(), font);
    QCOMPARE(copy->defaultTextColor(), QColor(Qt::darkGreen));
    QCOMPARE(copy->alignment(), int(Qt::AlignCenter));
    QCOMPARE(copy->zValue(), 1000.0);
    QCOMPARE(copy->pos(), QPointF(40, 50));
    QCOMPARE(copy->textInteractionFlags(), Qt::TextEditorInteraction);
}

void tst_CopyPaste::nothingRecordedPastesNothing()
{
    ItemsHarness h;
    h.addShape(QPointF(0, 0))->setSelected(true);
    const int before = h.scene.items().size();
    h.scene.paste(); // copy() was never called
    QCOMPARE(h.scene.items().size(), before);
    QCOMPARE(h.scene.nbItems(), 0);
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
    DiagramItem *kept = h.addShape(QPointF(-200, 0));
    kept->setName(QStringLiteral("Gardé"));
    DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("Parti"));
    text->setName(QStringLiteral("Parti"));
    kept->setSelected(true);
    text->setSelected(true);
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
    QCOMPARE(shapeNames(h.scene).count(QStringLiteral("Gardé (1)")), 1);
    QCOMPARE(shapeNames(h.scene).count(QStringLiteral("Gardé (2)")), 1);
    if (how == "remove")
        delete text;
}

void tst_CopyPaste::sameNameOfAnotherKindIsFree()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    shape->setName(QStringLiteral("X"));
    DiagramTextItem *text = h.addText(QPointF(300, 0), QStringLiteral("t"));
    text->setName(QStringLiteral("X (1)"));
    shape->setSelected(true);
    h.scene.copy();
    h.scene.paste();
    QVERIFY(shapeNamed(h.scene, QStringLiteral("X (1)"))); // only shapes' names count
}

QTEST_MAIN(tst_CopyPaste)
#include "tst_copypaste.moc"
