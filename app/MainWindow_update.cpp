#include "app/MainWindow.h"

// The update check started by the constructor, and the hand-over to a
// downloaded update.

void MainWindow::startUpdateCheck()
{
}

void MainWindow::parseUpdateInfos(QNetworkReply *reply)
{
    Q_UNUSED(reply)
}

void MainWindow::applyUpdate(QString pathUpdate)
{
    Q_UNUSED(pathUpdate)
}
