#ifndef PROPERTYCOMMAND_H
#define PROPERTYCOMMAND_H

#include "scene/DiagramObject.h"

#include <QList>
#include <QUndoCommand>
#include <QVariant>

// A change of properties of objects: a move, a resize, a turn, a colour,
// a name... Each entry holds one object's value before and after. The
// objects outlive the command: only deletions destroy objects, and a
// deletion's command comes after this one in the history, so it goes
// first.
class PropertyCommand : public QUndoCommand
{
public:
    struct Entry {
        DiagramObject *object;
        DiagramObject::Property property;
        QVariant before;
        QVariant after;
    };

    // Already done: the first redo() finds the objects changed and gives
    // them the new values again. Entries whose value did not change are
    // left out; isEmpty() tells when none is left.
    PropertyCommand(const QString &text, QList<Entry> entries);

    // Sets `after` on every object that has the property, recording its
    // current value as `before`; the entries are applied by redo() when
    // the command is pushed.
    static PropertyCommand *change(const QList<DiagramObject *> &objects,
                                   DiagramObject::Property property, const QVariant &after);

    bool isEmpty() const { return m_entries.isEmpty(); }
    // A follow-up change of the same property of the same objects, such as
    // the letters of a name being typed, joins this one.
    void setMergeable(bool mergeable) { m_mergeable = mergeable; }

    // The usual French words for changing a property of `count` objects.
    static QString textFor(DiagramObject::Property property, int count);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    QList<Entry> m_entries;
    bool m_mergeable = false;
};

#endif // PROPERTYCOMMAND_H
