#include "app/MainWindow.h"

void MainWindow::deleteItem()
{
}

void MainWindow::bringToFront()
{
}

void MainWindow::sendToBack()
{
}

void MainWindow::borderColorChanged(QColor)
{
}

void MainWindow::changeBorderSize(int)
{
}

void MainWindow::resetArrow()
{
}

void MainWindow::setArrowWidth(int)
{
}

void MainWindow::setTextFont()
{
}

void MainWindow::unlinkItem()
{
}

void MainWindow::centerView()
{
}

void MainWindow::copy()
{
}

void MainWindow::paste()
{
}

void MainWindow::changeName(QString)
{
}

void MainWindow::setRotate0()
{
}

void MainWindow::setRotate90()
{
}

void MainWindow::setRotateMinus90()
{
}

void MainWindow::setRotate180()
{
}

