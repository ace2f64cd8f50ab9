#include "app/MainWindow.h"

// The formula editor window.

void MainWindow::showDialogMath()
{
}
