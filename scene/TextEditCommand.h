#ifndef TEXTEDITCOMMAND_H
#define TEXTEDITCOMMAND_H

#include <QString>
#include <QUndoCommand>

class DiagramTextItem;

// Typing in a text. Consecutive changes within one editing of the same
// text make one step. The text item outlives the command, as any object
// outlives the commands that change it.
class TextEditCommand : public QUndoCommand
{
public:
    // Already done; `session` tells one editing from the next.
    TextEditCommand(DiagramTextItem *text, const QString &before, const QString &after,
                    int session);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    DiagramTextItem *m_text;
    QString m_before;
    QString m_after;
    int m_session;
    // Pushed once typed: the first redo finds the text as it should be.
    bool m_done = true;
};

#endif // TEXTEDITCOMMAND_H
