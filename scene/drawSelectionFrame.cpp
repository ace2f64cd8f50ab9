#include "scene/drawSelectionFrame.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

void drawSelectionFrame(QPainter *painter, const QStyleOptionGraphicsItem *option,
                        const QRectF &rect)
{
    const QRectF unit = painter->transform().mapRect(QRectF(0, 0, 1, 1));
    if (qFuzzyIsNull(qMax(unit.width(), unit.height())))
        return;
    const QRectF onDevice = painter->transform().mapRect(rect);
    if (qMin(onDevice.width(), onDevice.height()) < 1.0)
        return;
    // Half the item's assumed 1-unit pen inside the bounds.
    const QRectF frame = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor foreground = option->palette.windowText().color();
    const QColor background(foreground.red() > 127 ? 0 : 255, foreground.green() > 127 ? 0 : 255,
                            foreground.blue() > 127 ? 0 : 255);
    painter->setPen(QPen(background, 0, Qt::SolidLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    painter->setPen(QPen(option->palette.windowText(), 0, Qt::DashLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
}
