#include "app/SliderActionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

SliderActionWidget::SliderActionWidget(const QString &text, int value, int minimum,
                                       int maximum, bool showValue, bool showSpinBox)
    : QWidgetAction(nullptr)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(text));
    slider = new QSlider(Qt::Horizontal);
    slider->setValue(value);
    slider->setMaximum(maximum);
    slider->setMinimum(minimum);
    slider->setTickInterval(1);
    layout->addWidget(slider);
    if (showValue) {
        auto *number = new QLabel;
        number->setNum(slider->value());
        connect(slider, &QSlider::valueChanged, number, QOverload<int>::of(&QLabel::setNum));
        layout->addWidget(number);
    }
    if (showSpinBox) {
        auto *spinBox = new QSpinBox;
        spinBox->setRange(minimum, maximum);
        spinBox->setValue(slider->value());
        connect(slider, &QSlider::valueChanged, spinBox, &QSpinBox::setValue);
        connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged), slider, &QSlider::setValue);
        layout->addWidget(spinBox);
    }
    setDefaultWidget(row);
    // Typing in the spin box moves the slider, so one connection reports both.
    connect(slider, &QSlider::valueChanged, this, &SliderActionWidget::valueChanged);
}

int SliderActionWidget::value() const
{
    return slider->value();
}

void SliderActionWidget::setValue(int value)
{
    slider->setValue(value);
}
