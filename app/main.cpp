#include "app/FrenchInterface.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QScreen>
#include <QStyleFactory>

// The icons and formula fonts are compiled into pensato_core and
// pensato_math, whose resource objects register themselves at start-up.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installFrenchInterface(app);
    MainWindow window;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The layout's own minimum leaves a cramped tool box and a tiny view:
    // start on most of the screen instead.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.resize(screen->availableSize() * 0.85);
    window.show();
    window.offerRecovery();
    return app.exec();
}
