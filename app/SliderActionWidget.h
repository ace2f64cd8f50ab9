#ifndef SLIDERACTIONWIDGET_H
#define SLIDERACTIONWIDGET_H

#include <QWidgetAction>

class QSlider;

// A menu row: a label, a horizontal slider and optionally the value as a
// number and a spin box kept in step with the slider.
class SliderActionWidget : public QWidgetAction
{
    Q_OBJECT

public:
    SliderActionWidget(const QString &text, int value, int minimum, int maximum,
                       bool showValue, bool showSpinBox);

    int value() const;
    void setValue(int value);

signals:
    void valueChanged(int value);

private:
    QSlider *slider;
};

#endif // SLIDERACTIONWIDGET_H
