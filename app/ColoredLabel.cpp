#include "app/ColoredLabel.h"

#include <QMouseEvent>

ColoredLabel::ColoredLabel(const QColor &color, QWidget *parent)
    : QLabel(parent)
    , pixmap(300, 300)
{
    setColor(color);
}

void ColoredLabel::setColor(const QColor &color)
{
    pixmap.fill(color);
    setPixmap(pixmap);
}

void ColoredLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}
