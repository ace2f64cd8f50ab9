#include "app/CommandLine.h"
#include "app/FrenchInterface.h"
#include "app/MainWindow.h"
#include "app/exportSceneFile.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStyleFactory>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// One line per message: scripts read standard error line by line.
void printMessage(const QString &message)
{
    print(stderr, QStringLiteral("pensato : %1").arg(message.simplified()));
}

// Without a window, standard error carries only the program's own lines:
// Qt's notes about the session (no XDG_RUNTIME_DIR under cron, say) would
// read as failures to a script. Its critical messages still come through.
void keepQtQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        print(stderr, qFormatLogMessage(type, context, message));
}

int runExport(const CommandLine &commandLine)
{
    QString message;
    QString notes;
    const bool written = exportSceneFile(commandLine.sceneFile(), commandLine.outputFile(),
                                         commandLine.exportOptions(), &message, &notes);
    if (!notes.isEmpty())
        printMessage(notes);
    if (!written) {
        printMessage(message);
        return 1;
    }
    return 0;
}

int runWindow(const CommandLine &commandLine)
{
    MainWindow window;
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The layout's own minimum leaves a cramped tool box and a tiny view:
    // start on most of the screen instead.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.resize(screen->availableSize() * 0.85);
    window.show();
    if (!commandLine.sceneFile().isEmpty())
        window.openFile(commandLine.sceneFile());
    // Work an earlier run lost comes back only when the user asks for it.
    window.offerRecovery();
    return QApplication::exec();
}

} // namespace

// The icons and formula fonts are compiled into pensato_core and
// pensato_math, whose resource objects register themselves at start-up.
int main(int argc, char *argv[])
{
    // An export, the help, the version and a mistake open no window. The
    // platform is chosen before the application object exists, which
    // connects to it: with the offscreen one they need no display.
    if (CommandLine(argumentsOf(argc, argv)).action() != CommandLine::OpenWindow) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(keepQtQuiet);
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/pensato.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("pensato"));
    installFrenchInterface(app);

    // Read again: Qt's own messages are French now, and Qt has taken its
    // own options (-platform, -style...) out of the arguments.
    const CommandLine commandLine(QCoreApplication::arguments());
    switch (commandLine.action()) {
    case CommandLine::ShowHelp:
        print(stdout, commandLine.helpText());
        return 0;
    case CommandLine::ShowVersion:
        print(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Fail:
        printMessage(commandLine.error());
        return 1;
    case CommandLine::Export:
        return runExport(commandLine);
    case CommandLine::OpenWindow:
        break;
    }
    return runWindow(commandLine);
}
