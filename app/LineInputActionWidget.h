#ifndef LINEINPUTACTIONWIDGET_H
#define LINEINPUTACTIONWIDGET_H

#include <QWidgetAction>

class QLineEdit;

// A menu row: a label followed by a line edit. Every change of the text,
// typed or set, is reported.
class LineInputActionWidget : public QWidgetAction
{
    Q_OBJECT

public:
    explicit LineInputActionWidget(const QString &text);

    QString value() const;
    void setText(const QString &text);

signals:
    void valueChanged(QString text);

private:
    QLineEdit *lineEdit;
};

#endif // LINEINPUTACTIONWIDGET_H
