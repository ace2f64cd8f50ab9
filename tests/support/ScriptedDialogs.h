#ifndef SCRIPTEDDIALOGS_H
#define SCRIPTEDDIALOGS_H

#include "scene/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// Answers the program's blocking dialogs from queues filled by the test and
// records every dialog that was asked for. An empty queue answers "cancel".
// Installs itself for its lifetime.
class ScriptedDialogs : public Dialogs
{
public:
    struct Call {
        QString kind;      // "open", "save", "color", "font", "message" or "question"
        QString caption;   // caption or title
        QString dir;       // start folder (file dialogs)
        QString filter;    // filter (file dialogs)
        QString text;      // message or question text
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons; // a question's buttons
    };

    ScriptedDialogs() { Dialogs::setInstance(this); }
    ~ScriptedDialogs() override { Dialogs::setInstance(nullptr); }

    QQueue<QString> fileNames;
    QQueue<QString> selectedFilters; // reported back by saveFileName
    QQueue<QColor> colors;
    QQueue<QFont> fonts;
    QQueue<QMessageBox::StandardButton> buttons;
    QQueue<Dialogs::Answer> answers;
    QList<Call> calls;

    QString openFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        calls.append({QStringLiteral("open"), caption, dir, filter, {}});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    QString saveFileName(QWidget *, const QString &caption, const QString &dir,
                         const QString &filter, QString *selectedFilter) override
    {
        calls.append({QStringLiteral("save"), caption, dir, filter, {}});
        if (selectedFilter && !selectedFilters.isEmpty())
            *selectedFilter = selectedFilters.dequeue();
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }

    QColor color(const QColor &initial, QWidget *, const QString &title) override
    {
        calls.append({QStringLiteral("color"), title, {}, {}, initial.name()});
        return colors.isEmpty() ? QColor() : colors.dequeue();
    }

    QFont font(bool *ok, const QFont &initial, QWidget *, const QString &title) override
    {
        calls.append({QStringLiteral("font"), title, {}, {}, initial.toString()});
        *ok = !fonts.isEmpty();
        return fonts.isEmpty() ? initial : fonts.dequeue();
    }

    QMessageBox::StandardButton message(QMessageBox::Icon icon, QWidget *,
                                        const QString &title, const QString &text,
                                        QMessageBox::StandardButtons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        calls.append({QStringLiteral("message"), title, {}, {}, text, icon});
        if (!buttons.isEmpty())
            return buttons.dequeue();
        return defaultButton == QMessageBox::NoButton ? QMessageBox::Ok : defaultButton;
    }

    Answer ask(QWidget *, const QString &title, const QString &text, const QString &proceed,
               const QString &discard, const QString &cancel) override
    {
        calls.append({QStringLiteral("question"), title, {}, {}, text, QMessageBox::Question,
                      {proceed, discard, cancel}});
        return answers.isEmpty() ? Cancel : answers.dequeue();
    }

    // The calls of one kind, in order.
    QList<Call> callsOf(const QString &kind) const
    {
        QList<Call> result;
        for (const Call &c : calls)
            if (c.kind == kind)
                result.append(c);
        return result;
    }
};

#endif // SCRIPTEDDIALOGS_H
