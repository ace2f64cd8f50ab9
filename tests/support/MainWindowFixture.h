#ifndef MAINWINDOWFIXTURE_H
#define MAINWINDOWFIXTURE_H

#include "support/IsolatedUserFolders.h"
#include "support/ScriptedDialogs.h"

#include "app/MainWindow.h"
#include "scene/DiagramScene.h"

#include <QCoreApplication>
#include <QFile>
#include <QGraphicsView>
#include <QTemporaryDir>

#include <memory>

inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A main window whose blocking dialogs are answered by `dialogs`, and a
// folder of its own for the files it writes.
struct MainWindowFixture
{
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();
    QTemporaryDir folder;

    ~MainWindowFixture()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    DiagramScene *scene() const
    {
        return static_cast<DiagramScene *>(window->findChild<QGraphicsView *>()->scene());
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    // The dialogs of one kind asked for, as "caption|folder|filter|text",
    // followed by "|icon" for messages and questions (1: information,
    // 2: warning, 4: question) and "|button/button/button" for questions.
    QStringList calls(const char *kind) const
    {
        QStringList result;
        for (const ScriptedDialogs::Call &c : dialogs.callsOf(QLatin1String(kind)))
            result.append(QStringList{c.caption, c.dir, c.filter, c.text}.join(QLatin1Char('|'))
                          + (c.icon ? QStringLiteral("|%1").arg(c.icon) : QString())
                          + (c.buttons.isEmpty() ? QString() : "|" + c.buttons.join('/')));
        return result;
    }
};

#endif // MAINWINDOWFIXTURE_H
