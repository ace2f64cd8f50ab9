#include "export/GraphicsViewSave.h"

#include "scene/DiagramScene.h"

#include <QPainter>

GraphicsViewSave::GraphicsViewSave(QWidget *parent)
    : QGraphicsView(parent)
{
}

namespace {

// The usual picture of transparency: grey and white squares of 8 pixels.
QBrush checkerboard()
{
    QPixmap tile(16, 16);
    tile.fill(Qt::white);
    QPainter painter(&tile);
    painter.fillRect(0, 0, 8, 8, QColor(204, 204, 204));
    painter.fillRect(8, 8, 8, 8, QColor(204, 204, 204));
    return QBrush(tile);
}

} // namespace

void GraphicsViewSave::drawBackground(QPainter *painter, const QRectF &rect)
{
    const auto *diagram = qobject_cast<const DiagramScene *>(scene());
    if (diagram && diagram->isTransparent()) {
        // What the PNG will hold: nothing behind the items.
        painter->save();
        painter->resetTransform();
        painter->fillRect(viewport()->rect(), checkerboard());
        painter->restore();
    }
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
