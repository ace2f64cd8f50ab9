#ifndef SPINBOXACTIONWIDGET_H
#define SPINBOXACTIONWIDGET_H

#include <QWidgetAction>

class QSpinBox;

// A menu row: a label followed by a spin box (1 to 1000). Only the user's
// edits are reported; setValue() shows a value silently.
class SpinboxActionWidget : public QWidgetAction
{
    Q_OBJECT

public:
    SpinboxActionWidget(const QString &text, int value);

    int value() const;
    void setValue(int value);

signals:
    void valueChanged(int size);

private:
    QSpinBox *spinBox;
};

#endif // SPINBOXACTIONWIDGET_H
