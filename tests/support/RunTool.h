#ifndef RUNTOOL_H
#define RUNTOOL_H

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs an installed tool (scripts/install-deps.sh installs them all) and
// waits for it; true when it ran to a zero exit status. Its standard output
// goes to `output` when one is given.
inline bool runTool(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool done = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return done;
}

#endif // RUNTOOL_H
