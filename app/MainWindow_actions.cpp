#include "app/MainWindow.h"

QIcon MainWindow::createColorToolButtonIcon(const QString &, const QColor &)
{
    return QIcon();
}

void MainWindow::currentFontChanged(QFont)
{
}

void MainWindow::fontSizeChanged(QString)
{
}

void MainWindow::textColorChanged()
{
}

void MainWindow::itemColorChanged()
{
}

void MainWindow::lineColorChanged()
{
}

void MainWindow::textButtonTriggered()
{
}

void MainWindow::fillButtonTriggered()
{
}

void MainWindow::lineButtonTriggered()
{
}

void MainWindow::handleFontChange()
{
}

void MainWindow::handleAlignChange()
{
}

void MainWindow::textSelected(QGraphicsItem *)
{
}

void MainWindow::chooseTextColor()
{
}

void MainWindow::chooseItemColor()
{
}

void MainWindow::chooseLineColor()
{
}

