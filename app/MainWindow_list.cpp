#include "app/MainWindow.h"

#include "app/ListWidget.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QScopedValueRollback>

// Keeping the item list in step with the scene. Entries and items are found
// by id through hash indexes, so that one selection change costs time in
// proportion to the number of items, not its square.

QListWidgetItem *MainWindow::findListItemById(int id)
{
    return listWidget->entryById(id);
}

QGraphicsItem *MainWindow::getItemById(int idToFind)
{
    return scene->itemById(idToFind);
}

void MainWindow::itemChangedName(QString name, int id)
{
    listWidget->setEntryName(id, name);
}

void MainWindow::updateItemInList(QGraphicsItem *item)
{
    const int id = ListWidget::idOf(item);
    if (id >= 0)
        listWidget->setEntryName(id, ListWidget::nameOf(item));
}

void MainWindow::itemsLinked(DiagramTextItem *textItem, DiagramItem *item)
{
    if (!textItem || !item)
        return;
    // The scene gave the shape its place after the text.
    listWidget->placeEntry(item);
    // The plain name (NameRole) stays; only the shown text carries the link.
    if (QListWidgetItem *shapeEntry = listWidget->entryById(item->id()))
        shapeEntry->setText(ListWidget::linkedEntryText(item, textItem));
}

// While one side's selection is copied to the other, the other side's
// change must not echo back.
void MainWindow::listItemSelectionChanged()
{
    if (syncingSelection)
        return;
    const QScopedValueRollback<bool> guard(syncingSelection, true);
    listWidget->selectItemsOfSelectedEntries();
}

void MainWindow::itemSelectionChanged()
{
    if (syncingSelection)
        return;
    const QScopedValueRollback<bool> guard(syncingSelection, true);
    listWidget->selectEntriesOfSelectedItems();
}
