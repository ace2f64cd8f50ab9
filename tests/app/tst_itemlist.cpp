#include "WindowFixture.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QWidgetAction>

// The item list: its entries follow insertions, links, renamings and
// removals; its selection and the scene's follow each other; a right click
// opens the selection's menu.
class tst_ItemList : public QObject
{
    Q_OBJECT

private slots:
    void entriesFollowInsertionOrderWithRoles();
    void shapesOfOneKindShareTheirIcon();
    void linkingMovesShapeAfterItsText();
    void renamingLinkedShapeDropsTheSuffix();
    void emptiedTextLosesItsEntry();
    void ctrlClickedEntriesSelectExactlyTheirItems();
    void rubberBandSelectsExactlyTheEntries();
    void rightClickOnOneArrowOpensItsFilledMenu();
    void rightClickOnSeveralOpensTheShortMenu();
    void entryWhoseItemIsGoneIsHarmless();
    void itemWithoutEntryIsHarmless();
};

namespace {

// Text of the line edit or value of the spin box of a menu's widget row,
// found by its status tip.
QWidget *rowEditor(QMenu *menu, const QString &statusTip)
{
    for (QAction *action : menu->actions()) {
        auto *row = qobject_cast<QWidgetAction *>(action);
        if (row && row->statusTip() == statusTip)
            return row->defaultWidget();
    }
    return nullptr;
}

void clickEntry(ListWidget *list, QListWidgetItem *entry, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(entry).center());
}

} // namespace

void tst_ItemList::entriesFollowInsertionOrderWithRoles()
{
    WindowFixture f;
    DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *circle = f.insertShape(DiagramItem::Cercle, {700, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {300, 600});
    Arrow *arrow = f.insertArrow(square, circle);
    QVERIFY(square && circle && text && arrow);

    QCOMPARE(f.entryTexts(), QStringList({"Carré 0", "Cercle 0", "Texte 0", "Flèche 0"}));
    const QList<QGraphicsItem *> items = {square, circle, text, arrow};
    const QList<int> types = {65551, 65551, 65539, 65540};
    for (int row = 0; row < items.size(); ++row) {
        QListWidgetItem *entry = f.list()->item(row);
        QCOMPARE(entry->data(ListWidget::IdRole).toInt(), row); // ids shared across kinds
        QCOMPARE(entry->data(ListWidget::NameRole).toString(), entry->text());
        QCOMPARE(entry->data(ListWidget::TypeRole).toInt(), types[row]);
        QVERIFY(!entry->icon().isNull());
        QCOMPARE(f.entryOf(items[row]), entry);
    }
}

void tst_ItemList::shapesOfOneKindShareTheirIcon()
{
    WindowFixture f;
    DiagramItem *first = f.insertShape(DiagramItem::Triangle, {300, 300});
    DiagramItem *second = f.insertShape(DiagramItem::Triangle, {700, 300});
    DiagramItem *other = f.insertShape(DiagramItem::Pentagone, {300, 700});
    QCOMPARE(f.entryOf(first)->icon().cacheKey(), f.entryOf(second)->icon().cacheKey());
    QVERIFY(f.entryOf(first)->icon().cacheKey() != f.entryOf(other)->icon().cacheKey());
}

void tst_ItemList::linkingMovesShapeAfterItsText()
{
    WindowFixture f;
    DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
    f.insertShape(DiagramItem::Cercle, {700, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {500, 700});
    f.link(square->scenePos() + QPointF(30, 30), text);
    QVERIFY(text->isLinked());

    QCOMPARE(f.entryTexts(),
             QStringList({"Cercle 0", "Texte 0", "Carré 0 (lié à Texte 0)"}));
    QCOMPARE(f.entryOf(square)->data(ListWidget::NameRole).toString(), QStringLiteral("Carré 0"));
}

void tst_ItemList::renamingLinkedShapeDropsTheSuffix()
{
    WindowFixture f;
    DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {600, 600});
    f.link(square->scenePos() + QPointF(30, 30), text);
    f.select({square});
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "changeName", Q_ARG(QString, "A")));
    QCOMPARE(f.entryTexts(), QStringList({"Texte 0", "A"}));
    QVERIFY(square->hasLinkedText()); // the link itself remains
}

void tst_ItemList::emptiedTextLosesItsEntry()
{
    WindowFixture f;
    f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QString(), {600, 600});
    QVERIFY(text);
    QCOMPARE(f.list()->count(), 2);
    QSignalSpy deleted(f.scene(), &DiagramScene::itemDeleted);
    text->clearFocus();
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(f.entryTexts(), QStringList({"Carré 0"}));
}

void tst_ItemList::ctrlClickedEntriesSelectExactlyTheirItems()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
    DiagramItem *c = f.insertShape(DiagramItem::Triangle, {300, 700});
    clickEntry(f.list(), f.entryOf(a));
    clickEntry(f.list(), f.entryOf(c), Qt::ControlModifier);
    QCOMPARE(f.selectedNames(), QStringList({"Carré 0", "Triangle 0"}));
    QCOMPARE(f.list()->selectedItems().size(), 2); // no echo from the scene undid it

    clickEntry(f.list(), f.entryOf(c));
    clickEntry(f.list(), f.entryOf(b), Qt::ShiftModifier); // from c's row up to b's
    QCOMPARE(f.selectedNames(), QStringList({"Cercle 0", "Triangle 0"}));
}

void tst_ItemList::rubberBandSelectsExactlyTheEntries()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {600, 300});
    DiagramItem *outside = f.insertShape(DiagramItem::Carre, {300, 750});
    f.entryOf(outside)->setSelected(true);

    // From empty space above-left of a to below-right of b.
    f.drag({150, 150}, {750, 450});
    QCOMPARE(f.selectedNames(), QStringList({a->name(), b->name()}));
    QCOMPARE(f.selectedEntryTexts(), QStringList({a->name(), b->name()}));
}

void tst_ItemList::rightClickOnOneArrowOpensItsFilledMenu()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {700, 300});
    Arrow *arrow = f.insertArrow(a, b);
    QVERIFY(arrow);
    arrow->setArrowWidth(35);
    clickEntry(f.list(), f.entryOf(arrow));
    QCOMPARE(f.scene()->selectedItems(), QList<QGraphicsItem *>({arrow}));

    QString name;
    int size = 0;
    WindowFixture::inspectPopup(
        [&] { QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(3, 3)); },
        [&](QMenu *menu) {
            name = rowEditor(menu, "Changer le nom de l'objet")->findChild<QLineEdit *>()->text();
            size = rowEditor(menu, "Choisir la taille de la tête de la flèche")
                       ->findChild<QSpinBox *>()->value();
        });
    QCOMPARE(name, QStringLiteral("Flèche 0"));
    QCOMPARE(size, 35);
    QCOMPARE(f.list()->selectedItems(), QList<QListWidgetItem *>({f.entryOf(arrow)}));
}

void tst_ItemList::rightClickOnSeveralOpensTheShortMenu()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {700, 300});
    f.entryOf(a)->setSelected(true);
    f.entryOf(text)->setSelected(true);
    QStringList entries;
    WindowFixture::inspectPopup(
        [&] { QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(3, 3)); },
        [&](QMenu *menu) {
            for (QAction *action : menu->actions()) {
                if (!action->isSeparator())
                    entries << action->text();
            }
        });
    QCOMPARE(entries, QStringList({"&Supprimer", "Mettre au premier plan",
                                   "Mettre en arrière plan", "&Copier"}));
}

void tst_ItemList::entryWhoseItemIsGoneIsHarmless()
{
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {700, 300});
    QListWidgetItem *entry = f.entryOf(a);
    delete a; // behind the window's back: the entry stays

    clickEntry(f.list(), entry);
    QVERIFY(f.scene()->selectedItems().isEmpty());
    // The right click finds no item and opens nothing; it must not block.
    QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(3, 3));
    QVERIFY(QApplication::activePopupWidget() == nullptr);

    f.select({b});
    for (const char *command : {"&Supprimer", "Mettre au premier plan", "Délier", "Rotation 90°"})
        f.action(command)->trigger();
    QCOMPARE(f.entryTexts(), QStringList({"Carré 0"}));
}

void tst_ItemList::itemWithoutEntryIsHarmless()
{
    WindowFixture f;
    DiagramItem *listed = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *unlisted = f.scene()->newShape(DiagramItem::Cercle);
    unlisted->setId(99);
    unlisted->setPos(700, 300);
    f.scene()->addItem(unlisted);

    f.select({listed, unlisted});
    QCOMPARE(f.list()->selectedItems(), QList<QListWidgetItem *>({f.entryOf(listed)}));
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "changeName", Q_ARG(QString, "B")));
    QCOMPARE(unlisted->name(), QStringLiteral("B"));
    f.action("&Supprimer")->trigger();
    QVERIFY(f.scene()->items().isEmpty());
    QCOMPARE(f.list()->count(), 0);
}

QTEST_MAIN(tst_ItemList)
#include "tst_itemlist.moc"
