#include "app/LineInputActionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QLineEdit>

LineInputActionWidget::LineInputActionWidget(const QString &text)
    : QWidgetAction(nullptr)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->addWidget(new QLabel(text));
    lineEdit = new QLineEdit;
    layout->addWidget(lineEdit);
    setDefaultWidget(row);
    connect(lineEdit, &QLineEdit::textChanged, this, &LineInputActionWidget::valueChanged);
}

QString LineInputActionWidget::value() const
{
    return lineEdit->text();
}

void LineInputActionWidget::setText(const QString &text)
{
    // Showing an item's name is no renaming: only the user's edits are
    // announced.
    const QSignalBlocker blocker(lineEdit);
    lineEdit->setText(text);
}
