#include "WindowFixture.h"

#include <QGraphicsRectItem>
#include <QGraphicsRotation>
#include <QGraphicsScale>

// The commands on the selection, reached through the window's actions and
// property widget slots.
class tst_EditCommands : public QObject
{
    Q_OBJECT

private slots:
    void deletingShapeTakesItsArrowsAndEntries();
    void deletingArrowAloneLeavesBothEnds();
    void deletingLinkedTextRestoresShapeEntry();
    void deleteKeyDeletesSelection();
    void stackingOrder_data();
    void stackingOrder();
    void rotationReplacesAngleAndSkipsTexts();
    void borderWidthGivesSolidCosmeticPen();
    void borderColorAndArrowCommands();
    void renamingTwoShapes();
    void unlinkRestoresPlainName_data();
    void unlinkRestoresPlainName();
    void fontDialogChangesOnlyATextsFont();
    void centerViewCentresOnTheItems();
    void commandsTolerateEmptyOrForeignSelection_data();
    void commandsTolerateEmptyOrForeignSelection();
};

void tst_EditCommands::deletingShapeTakesItsArrowsAndEntries()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
    DiagramItem *c = f.insertShape(DiagramItem::Triangle, {300, 700});
    QVERIFY(f.insertArrow(a, b));
    QVERIFY(f.insertArrow(c, a));
    QCOMPARE(f.list()->count(), 5);

    f.select({a});
    f.action("&Supprimer")->trigger();
    QCOMPARE(f.entryTexts(), QStringList({"Cercle 0", "Triangle 0"}));
    QVERIFY(b->arrows().isEmpty());
    QVERIFY(c->arrows().isEmpty());
    for (QGraphicsItem *item : f.scene()->items())
        QVERIFY(item->type() != Arrow::Type);
}

void tst_EditCommands::deletingArrowAloneLeavesBothEnds()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {700, 300});
    Arrow *kept = f.insertArrow(b, a);
    Arrow *doomed = f.insertArrow(a, b);
    QVERIFY(kept && doomed);

    f.select({doomed});
    f.action("&Supprimer")->trigger();
    QCOMPARE(a->arrows(), QList<Arrow *>({kept}));
    QCOMPARE(b->arrows(), QList<Arrow *>({kept}));
    QCOMPARE(f.entryTexts(), QStringList({"Carré 0", "Carré 1", "Flèche 0"}));
}

void tst_EditCommands::deletingLinkedTextRestoresShapeEntry()
{
    WindowFixture f;
    DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {600, 600});
    f.link(square->scenePos() + QPointF(30, 30), text);
    QCOMPARE(f.entryTexts(), QStringList({"Texte 0", "Carré 0 (lié à Texte 0)"}));

    f.select({text});
    f.action("&Supprimer")->trigger();
    QCOMPARE(f.entryTexts(), QStringList({"Carré 0"}));
    QVERIFY(!square->hasLinkedText());

    f.select({square});
    int visibleHandles = 0;
    for (QGraphicsItem *child : square->childItems())
        visibleHandles += child->isVisible();
    QCOMPARE(visibleHandles, 5);
}

void tst_EditCommands::deleteKeyDeletesSelection()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    f.insertShape(DiagramItem::Carre, {700, 300});
    f.select({a});
    QApplication::setActiveWindow(f.window.get());
    f.view()->setFocus();
    QTest::keyClick(f.view()->viewport(), Qt::Key_Delete);
    QCOMPARE(f.entryTexts(), QStringList({"Carré 1"}));
}

void tst_EditCommands::stackingOrder_data()
{
    QTest::addColumn<QList<qreal>>("zValues");
    // Stack the first overlapping item above the second in the toolkit's
    // stacking order, whatever their z-values (the second stacks behind its
    // parent, the first).
    QTest::addColumn<bool>("firstAboveSecond");
    QTest::addColumn<QString>("command");
    QTest::addColumn<qreal>("expected");
    QTest::newRow("front over 1 and -2") << QList<qreal>({1.0, -2.0}) << false
                                         << "Mettre au premier plan" << 1.1;
    QTest::newRow("back under 1 and -2") << QList<qreal>({1.0, -2.0}) << false
                                         << "Mettre en arrière plan" << -2.1;
    QTest::newRow("front, 0.55 met first") << QList<qreal>({0.55, 0.5}) << false
                                           << "Mettre au premier plan" << 0.65;
    QTest::newRow("front, 0.5 met first") << QList<qreal>({0.5, 0.55}) << true
                                          << "Mettre au premier plan" << 0.6;
    QTest::newRow("nothing overlaps") << QList<qreal>() << false << "Mettre au premier plan"
                                      << 0.0;
}

void tst_EditCommands::stackingOrder()
{
    QFETCH(QList<qreal>, zValues);
    QFETCH(bool, firstAboveSecond);
    QFETCH(QString, command);
    QFETCH(qreal, expected);
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {400, 400});
    shape->setZValue(5); // the command starts from 0, not from this

    QGraphicsRectItem *previous = nullptr;
    for (qreal z : zValues) {
        auto *other = new QGraphicsRectItem(0, 0, 100, 100);
        other->setZValue(z);
        if (firstAboveSecond && previous) {
            other->setParentItem(previous);
            other->setFlag(QGraphicsItem::ItemStacksBehindParent);
        } else {
            f.scene()->addItem(other);
            other->setPos(350, 350);
        }
        previous = other;
    }
    // Selected, the shape shows its handles: they are part of it and do
    // not count as overlapping items.
    f.select({shape});

    f.action(command)->trigger();
    QCOMPARE(shape->zValue(), expected);
}

void tst_EditCommands::rotationReplacesAngleAndSkipsTexts()
{
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {700, 300});
    f.clickToolButton("buttonGroup", 12); // a picture; the cancelled dialog gives none
    f.click({300, 700});
    DiagramImage *image = nullptr;
    for (QGraphicsItem *item : f.scene()->items()) {
        if (item->type() == DiagramImage::Type)
            image = static_cast<DiagramImage *>(item);
    }
    QVERIFY(image);
    f.select({shape, text, image});

    f.action("Rotation 90°")->trigger();
    f.action("Rotation 90°")->trigger();
    QCOMPARE(shape->rotationTransform()->angle(), 90.0);
    QCOMPARE(image->rotationTransform()->angle(), 90.0);
    QCOMPARE(text->rotationTransform()->angle(), 0.0);
    f.action("Rotation -90°")->trigger();
    QCOMPARE(shape->rotationTransform()->angle(), -90.0);
    f.action("Rotation 180°")->trigger();
    QCOMPARE(image->rotationTransform()->angle(), 180.0);
    f.action("Rotation 0°")->trigger();
    QCOMPARE(shape->rotationTransform()->angle(), 0.0);
    QCOMPARE(shape->scaleTransform()->xScale(), 1.0); // the scale is left alone
}

void tst_EditCommands::borderWidthGivesSolidCosmeticPen()
{
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
    QPen dashed(Qt::red, 2, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
    shape->setPen(dashed);
    f.select({shape});
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "changeBorderSize", Q_ARG(int, 4)));
    QCOMPARE(shape->pen().style(), Qt::SolidLine);
    QCOMPARE(shape->pen().width(), 4);
    QVERIFY(shape->pen().isCosmetic());
    QCOMPARE(shape->pen().color(), QColor(Qt::red));
    QCOMPARE(shape->pen().capStyle(), QPen().capStyle());
}

void tst_EditCommands::borderColorAndArrowCommands()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {700, 300});
    Arrow *arrow = f.insertArrow(a, b);
    QVERIFY(arrow);
    arrow->setPointToBe(b->scenePos() + QPointF(40, 40));
    f.select({a, arrow});

    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "borderColorChanged",
                                      Q_ARG(QColor, QColor(Qt::blue))));
    QCOMPARE(a->pen().color(), QColor(Qt::blue));
    QCOMPARE(b->pen().color(), QColor(Qt::black));

    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "setArrowWidth", Q_ARG(int, 40)));
    QCOMPARE(arrow->arrowSize(), 40);
    f.action("&Remise à zéro")->trigger();
    QVERIFY(!arrow->isPointed());
}

void tst_EditCommands::renamingTwoShapes()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
    f.insertShape(DiagramItem::Triangle, {300, 700});
    f.select({a, b});
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "changeName", Q_ARG(QString, "A")));
    QCOMPARE(a->name(), QStringLiteral("A"));
    QCOMPARE(b->name(), QStringLiteral("A"));
    QCOMPARE(f.entryTexts(), QStringList({"A", "A", "Triangle 0"}));
    QCOMPARE(f.entryOf(b)->data(ListWidget::NameRole).toString(), QStringLiteral("A"));
}

void tst_EditCommands::unlinkRestoresPlainName_data()
{
    QTest::addColumn<bool>("fromText");
    QTest::newRow("shape selected") << false;
    QTest::newRow("text selected") << true;
}

void tst_EditCommands::unlinkRestoresPlainName()
{
    QFETCH(bool, fromText);
    WindowFixture f;
    DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {600, 600});
    f.link(square->scenePos() + QPointF(30, 30), text);
    f.select({fromText ? static_cast<QGraphicsItem *>(text) : square});
    f.action("Délier")->trigger();
    QVERIFY(!square->hasLinkedText());
    QVERIFY(!text->isLinked());
    QCOMPARE(f.entryTexts(), QStringList({"Texte 0", "Carré 0"}));
}

void tst_EditCommands::fontDialogChangesOnlyATextsFont()
{
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {700, 300});
    f.select({shape});
    f.action("Police d'écriture")->trigger();
    QVERIFY(f.dialogs.callsOf("font").isEmpty());

    QFont chosen = text->font();
    chosen.setPointSize(31);
    f.dialogs.fonts.enqueue(chosen);
    f.select({text});
    f.action("Police d'écriture")->trigger();
    QCOMPARE(text->font().pointSize(), 31);
    f.action("Police d'écriture")->trigger(); // cancelled
    QCOMPARE(text->font().pointSize(), 31);
    QCOMPARE(f.dialogs.callsOf("font").size(), 2);
    QCOMPARE(f.dialogs.callsOf("font").at(0).caption, QStringLiteral("Sélectionner police d'écriture"));
}

void tst_EditCommands::centerViewCentresOnTheItems()
{
    WindowFixture f;
    for (const QRectF &r : {QRectF(100, 100, 50, 50), QRectF(250, 450, 50, 50)}) {
        auto *item = new QGraphicsRectItem(r);
        item->setPen(Qt::NoPen);
        f.scene()->addItem(item);
    }
    // Zoomed in, so that the scene's edge does not stop the view short of
    // (200, 300).
    f.view()->setTransform(QTransform::fromScale(4, 4));
    f.view()->centerOn(2000, 2000);
    f.action("Centrer scène")->trigger();
    const QPointF centre = f.view()->mapToScene(f.view()->viewport()->rect().center());
    QVERIFY2(QLineF(centre, QPointF(200, 300)).length() <= 0.5,
             qPrintable(QStringLiteral("centre (%1, %2)").arg(centre.x()).arg(centre.y())));
}

void tst_EditCommands::commandsTolerateEmptyOrForeignSelection_data()
{
    QTest::addColumn<bool>("foreignSelected");
    QTest::newRow("empty selection") << false;
    QTest::newRow("item of no handled kind") << true;
}

void tst_EditCommands::commandsTolerateEmptyOrForeignSelection()
{
    QFETCH(bool, foreignSelected);
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
    auto *foreign = new QGraphicsRectItem(0, 0, 10, 10);
    foreign->setFlag(QGraphicsItem::ItemIsSelectable);
    f.scene()->addItem(foreign);
    f.select(foreignSelected ? QList<QGraphicsItem *>({foreign}) : QList<QGraphicsItem *>());

    for (const char *command : {"&Supprimer", "Mettre en arrière plan", "Rotation 90°",
                                "&Remise à zéro", "Délier", "Police d'écriture", "&Copier"})
        f.action(command)->trigger();
    for (const char *slot : {"changeBorderSize", "setArrowWidth"})
        QVERIFY(QMetaObject::invokeMethod(f.window.get(), slot, Q_ARG(int, 7)));
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "changeName", Q_ARG(QString, "X")));

    QCOMPARE(f.entryTexts(), QStringList({"Carré 0"}));
    QCOMPARE(shape->name(), QStringLiteral("Carré 0"));
    QCOMPARE(shape->rotationTransform()->angle(), 0.0);
    QCOMPARE(shape->pen().width(), 1);
    QVERIFY(f.dialogs.callsOf("font").isEmpty());
    QVERIFY(foreign->scene()); // a kind the commands do not handle is not deleted
}

QTEST_MAIN(tst_EditCommands)
#include "tst_editcommands.moc"
