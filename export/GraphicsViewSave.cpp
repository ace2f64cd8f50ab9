#include "export/GraphicsViewSave.h"

#include <QPainter>

GraphicsViewSave::GraphicsViewSave(QWidget *parent)
    : QGraphicsView(parent)
{
}

void GraphicsViewSave::drawBackground(QPainter *painter, const QRectF &rect)
{
    QGraphicsView::drawBackground(painter, rect);
    if (!scene())
        return;
    QPen frame(Qt::darkGray, 1, Qt::DashLine);
    frame.setCosmetic(true); // one pixel whatever the view's scale
    painter->save();
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(scene()->sceneRect());
    painter->restore();
}
