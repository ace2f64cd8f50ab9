#include "app/MainWindow.h"

#include "app/ListWidget.h"
#include "scene/Arrow.h"
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

void MainWindow::itemDeleted(int id)
{
    listWidget->removeEntry(id);
}

void MainWindow::arrowRemoved(Arrow *arrow)
{
    if (arrow)
        listWidget->removeEntry(arrow->id());
}

void MainWindow::itemsLinked(DiagramTextItem *textItem, DiagramItem *item)
{
    if (!textItem || !item)
        return;
    QListWidgetItem *textEntry = listWidget->entryById(textItem->id());
    QListWidgetItem *shapeEntry = listWidget->entryById(item->id());
    if (!textEntry || !shapeEntry)
        return;
    listWidget->moveEntryAfter(shapeEntry, textEntry);
    // The plain name (NameRole) stays; only the shown text carries the link.
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
