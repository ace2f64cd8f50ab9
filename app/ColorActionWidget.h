#ifndef COLORACTIONWIDGET_H
#define COLORACTIONWIDGET_H

#include <QColor>
#include <QWidgetAction>

class ColoredLabel;

// A menu row: a label followed by a colour swatch. A click on the swatch
// opens the colour dialog on the last colour chosen through it.
class ColorActionWidget : public QWidgetAction
{
    Q_OBJECT

public:
    ColorActionWidget(const QString &text, const QColor &color);

    // The last colour chosen through the dialog (or given at construction);
    // setColor() does not change it.
    QColor color() const { return currentColor; }

public slots:
    void chooseColor();
    // Shows c in the swatch only: emits nothing, so items can show their own
    // colour before their menu opens without changing anything.
    void setColor(const QColor &c);

signals:
    void colorChanged(QColor color);

private:
    QColor currentColor;
    ColoredLabel *colorLabel;
};

#endif // COLORACTIONWIDGET_H
