#include "app/MainWindow.h"

#include <QApplication>
#include <QStyleFactory>

// The icons and formula fonts are compiled into pensato_core and
// pensato_math, whose resource objects register themselves at start-up.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindow window;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    window.show();
    return app.exec();
}
