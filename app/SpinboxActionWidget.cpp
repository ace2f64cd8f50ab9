#include "app/SpinboxActionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

SpinboxActionWidget::SpinboxActionWidget(const QString &text, int value)
    : QWidgetAction(nullptr)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(text));
    spinBox = new QSpinBox;
    // As far as scene files go (borders and heads up to 1000), so that a
    // loaded value is shown as it is, never cut down.
    spinBox->setRange(1, 1000);
    spinBox->setValue(value);
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
    // Showing an item's value is no change of it: only the user's edits are
    // announced.
    const QSignalBlocker blocker(spinBox);
    spinBox->setValue(value);
}
