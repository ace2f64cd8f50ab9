#ifndef LINEINPUTACTIONWIDGET_H
#define LINEINPUTACTIONWIDGET_H

#include <QWidgetAction>

class QLineEdit;

// A menu row: a label followed by a line edit. Every change the user makes
// is reported; setText() shows a text silently.
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
