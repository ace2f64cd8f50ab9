#include "export/PrimaryScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QRect &replacement()
{
    static QRect geometry;
    return geometry;
}

} // namespace

QRect primaryScreenGeometry()
{
    if (replacement().isValid())
        return replacement();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void setPrimaryScreenGeometry(const QRect &geometry)
{
    replacement() = geometry;
}
