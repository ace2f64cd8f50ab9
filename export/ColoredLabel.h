#ifndef COLOREDLABEL_H
#define COLOREDLABEL_H

#include <QLabel>
#include <QPixmap>

// A clickable colour swatch. It shows a cut-out of a larger uniform pixmap,
// so any label size shows one colour.
class ColoredLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ColoredLabel(const QColor &color, QWidget *parent = nullptr);

    void setColor(const QColor &color);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPixmap colorPixmap;
};

#endif // COLOREDLABEL_H
