#ifndef SPINBOXACTIONWIDGET_H
#define SPINBOXACTIONWIDGET_H

#include <QWidgetAction>

class QSpinBox;

// A menu row: a label followed by a spin box (minimum 1, maximum 99).
// Programmatic changes through setValue() are reported like typed ones.
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
