#include "app/SpinboxActionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

SpinboxActionWidget::SpinboxActionWidget(const QString &text, int value)
    : QWidgetAction(nullptr)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(text));
    spinBox = new QSpinBox;
    // The value first, then the minimum: a value below 1 is raised to 1.
    spinBox->setValue(value);
    spinBox->setMinimum(1);
    layout->addWidget(spinBox);
    setDefaultWidget(row);
    connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged),
            this, &SpinboxActionWidget::valueChanged);
}

int SpinboxActionWidget::value() const
{
    return spinBox->value();
}

void SpinboxActionWidget::setValue(int value)
{
    spinBox->setValue(value);
}
