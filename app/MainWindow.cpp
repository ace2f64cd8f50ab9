#include "app/MainWindow.h"

MainWindow::MainWindow()
{
    startUpdateCheck();
}

void MainWindow::backgroundButtonGroupClicked(QAbstractButton *)
{
}

void MainWindow::buttonGroupClicked(int)
{
}

void MainWindow::pointerGroupClicked(int)
{
}

void MainWindow::itemInserted(DiagramItem *)
{
}

void MainWindow::textInserted(DiagramTextItem *)
{
}

void MainWindow::arrowInserted(Arrow *)
{
}

void MainWindow::mathInserted(DiagramImage *)
{
}

void MainWindow::imageInserted(DiagramImage *)
{
}

void MainWindow::chooseBackgroundColor()
{
}

void MainWindow::checkButton(int)
{
}

void MainWindow::connectScene()
{
}

