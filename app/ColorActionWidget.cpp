#include "app/ColorActionWidget.h"

#include "export/ColoredLabel.h"
#include "scene/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>

ColorActionWidget::ColorActionWidget(const QString &text, const QColor &color)
    : QWidgetAction(nullptr)
    , currentColor(color)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(text));
    colorLabel = new ColoredLabel(Qt::black);
    colorLabel->setFixedSize(100, 20);
    layout->addWidget(colorLabel);
    setDefaultWidget(row);
    connect(colorLabel, &ColoredLabel::clicked, this, &ColorActionWidget::chooseColor);
}

void ColorActionWidget::chooseColor()
{
    const QColor chosen = Dialogs::instance()->color(currentColor, nullptr);
    if (!chosen.isValid())
        return;
    currentColor = chosen;
    colorLabel->setColor(chosen);
    emit colorChanged(chosen);
}

void ColorActionWidget::setColor(const QColor &c)
{
    colorLabel->setColor(c);
}
