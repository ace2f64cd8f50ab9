#ifndef OBJECTSCOMMAND_H
#define OBJECTSCOMMAND_H

#include "scene/SceneCounters.h"

#include <QList>
#include <QPair>
#include <QUndoCommand>

class DiagramItem;
class DiagramObject;
class DiagramScene;
class DiagramTextItem;

// Objects entering or leaving the scene: an insertion (by mouse, paste,
// loading an image...) or a deletion. The objects are never destroyed
// while the command may bring them back: out of the scene they belong to
// the command, which destroys them with itself. Ids, names, list places,
// z-values, arrows and links all come back as they were.
class ObjectsCommand : public QUndoCommand
{
public:
    // Objects the scene has just inserted; `countersBefore` are the scene's
    // name and id counters before the insertion. Undoing it gives the ids
    // and names back unless something was inserted since.
    static ObjectsCommand *insertion(DiagramScene *scene, const QList<DiagramObject *> &objects,
                                     const SceneCounters &countersBefore);
    // The objects with the arrows attached to them, each once; links to
    // texts or shapes that stay are undone and come back on undo.
    static ObjectsCommand *deletion(DiagramScene *scene, const QList<DiagramObject *> &objects);
    ~ObjectsCommand() override;

    bool isInsertionOf(const DiagramObject *object) const
    {
        return m_inserted && m_objects.size() == 1 && m_objects.first() == object;
    }
    // The next undo takes the step out of the history altogether, as if it
    // never was (a text inserted and left empty).
    void discardOnUndo() { m_discardOnUndo = true; }

    void undo() override;
    void redo() override;

private:
    using Link = QPair<DiagramTextItem *, DiagramItem *>;

    ObjectsCommand(DiagramScene *scene, const QList<DiagramObject *> &objects, bool inserted);
    void takeOut();
    void putBack();

    DiagramScene *m_scene;
    // Arrows after the items they join, so that they go back after them.
    QList<DiagramObject *> m_objects;
    QList<Link> m_links;
    QList<DiagramObject *> m_selected;
    bool m_inserted;
    bool m_inScene;
    bool m_discardOnUndo = false;
    SceneCounters m_countersBefore;
    SceneCounters m_countersAfter;
};

#endif // OBJECTSCOMMAND_H
