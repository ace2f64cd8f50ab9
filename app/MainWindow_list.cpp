#include "app/MainWindow.h"

void MainWindow::itemsLinked(DiagramTextItem *, DiagramItem *)
{
}

void MainWindow::listItemSelectionChanged()
{
}

QGraphicsItem *MainWindow::getItemById(int)
{
    return nullptr;
}

void MainWindow::arrowRemoved(Arrow *)
{
}

void MainWindow::itemChangedName(QString, int)
{
}

QListWidgetItem *MainWindow::findListItemById(int)
{
    return nullptr;
}

void MainWindow::itemSelectionChanged()
{
}

void MainWindow::itemDeleted(int)
{
}

void MainWindow::updateItemInList(QGraphicsItem *)
{
}

