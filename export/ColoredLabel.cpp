#include "export/ColoredLabel.h"

#include <QMouseEvent>

ColoredLabel::ColoredLabel(const QColor &color, QWidget *parent)
    : QLabel(parent)
    , colorPixmap(300, 300)
{
    setColor(color);
}

void ColoredLabel::setColor(const QColor &color)
{
    colorPixmap.fill(color);
    setPixmap(colorPixmap);
}

void ColoredLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}
