#include "app/MainWindow.h"

// Scene files: save, save as, load and new scene.

void MainWindow::save()
{
}

void MainWindow::saveAs()
{
}

void MainWindow::load()
{
}

void MainWindow::createNewScene()
{
}
