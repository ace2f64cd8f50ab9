#ifndef LINKCOMMAND_H
#define LINKCOMMAND_H

#include <QPointF>
#include <QSizeF>
#include <QUndoCommand>

class DiagramItem;
class DiagramScene;
class DiagramTextItem;

// Linking a text to a shape, which then sits on the text, unturned, sized
// around it; or unlinking them, which leaves both where they are. Undoing
// a link puts the shape back where, how big and how turned it was.
class LinkCommand : public QUndoCommand
{
public:
    LinkCommand(DiagramScene *scene, DiagramTextItem *text, DiagramItem *shape, bool link,
                QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;

private:
    void apply(bool link);

    DiagramScene *m_scene;
    DiagramTextItem *m_text;
    DiagramItem *m_shape;
    bool m_link;
    // The shape as it was before the link.
    QPointF m_position;
    int m_rotation;
    QSizeF m_scale;
    double m_listKey;
};

#endif // LINKCOMMAND_H
