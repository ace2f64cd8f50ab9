#include "app/MainWindow.h"

// Picture and PDF export of the scene.

void MainWindow::toImage()
{
}

void MainWindow::toPDF()
{
}
