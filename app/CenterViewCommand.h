#ifndef CENTERVIEWCOMMAND_H
#define CENTERVIEWCOMMAND_H

#include <QPointF>
#include <QPointer>
#include <QUndoCommand>

class QGraphicsView;

// "Centrer scène": the view centred on a point, and back on the point it
// showed before. The view may be gone by the time of an undo (the window
// closed): then nothing happens.
class CenterViewCommand : public QUndoCommand
{
public:
    CenterViewCommand(QGraphicsView *view, const QPointF &centre);

    void undo() override;
    void redo() override;

private:
    QPointer<QGraphicsView> m_view;
    QPointF m_before;
    QPointF m_after;
};

#endif // CENTERVIEWCOMMAND_H
