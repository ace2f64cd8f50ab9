#include "app/LineInputActionWidget.h"

#include <QHBoxLayout>
#include <QLabel>
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
    lineEdit->setText(text);
}
