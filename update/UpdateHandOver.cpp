#include "update/UpdateHandOver.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
UpdateHandOver *installed = nullptr;
}

UpdateHandOver::~UpdateHandOver() = default;

UpdateHandOver *UpdateHandOver::instance()
{
    static UpdateHandOver real;
    return installed ? installed : &real;
}

void UpdateHandOver::setInstance(UpdateHandOver *handOver)
{
    installed = handOver;
}

bool UpdateHandOver::startProgram(const QString &program)
{
    return QProcess::startDetached(program, QStringList());
}

void UpdateHandOver::quitApplication()
{
    QCoreApplication::quit();
}
