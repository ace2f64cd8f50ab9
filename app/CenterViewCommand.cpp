#include "app/CenterViewCommand.h"

#include <QCoreApplication>
#include <QGraphicsView>

CenterViewCommand::CenterViewCommand(QGraphicsView *view, const QPointF &centre)
    : QUndoCommand(QCoreApplication::translate("CenterViewCommand", "Centrer la scène")),
      m_view(view), m_before(view->mapToScene(view->viewport()->rect().center())), m_after(centre)
{
}

void CenterViewCommand::undo()
{
    if (m_view)
        m_view->centerOn(m_before);
}

void CenterViewCommand::redo()
{
    if (m_view)
        m_view->centerOn(m_after);
}
