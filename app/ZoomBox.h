#ifndef ZOOMBOX_H
#define ZOOMBOX_H

#include <QComboBox>

// The toolbar's zoom box: shows the view's zoom as a French percentage
// ("150 %"), lists the zoom steps, and asks for the zoom the user picks or
// types ("200", "37,5 %"). It does not zoom by itself: the window connects
// zoomRequested() to the view and the view's zoomChanged() to setZoom().
class ZoomBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ZoomBox(QWidget *parent = nullptr);

    // "150 %", with a no-break space before the sign as French writes it.
    static QString zoomText(qreal zoom);
    // The zoom a typed percentage stands for (0.375 for "37,5 %"), or 0 when
    // the text is not a positive percentage.
    static qreal zoomFromText(const QString &text);

public slots:
    // Shows `zoom` without asking for it.
    void setZoom(qreal zoom);

signals:
    void zoomRequested(qreal zoom);

private:
    void requestTypedZoom();

    qreal shownZoom = 1.0;
};

#endif // ZOOMBOX_H
