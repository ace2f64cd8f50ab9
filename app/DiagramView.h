#ifndef DIAGRAMVIEW_H
#define DIAGRAMVIEW_H

#include <QGraphicsView>
#include <QVector>

// The view of the diagram scene, with zoom and pan: Ctrl+wheel zooms about
// the cursor, the zoom slots step through zoomSteps() or fit the items, the
// wheel scrolls (sideways with Shift), and the middle button or Space with
// the left button drags the diagram. The zoom is the view's transform only:
// items, files and exports never depend on it.
//
// The view scrolls over the scene rectangle and every item, with one
// viewport of room on each side, so that any point of the diagram can be
// brought under the cursor or centred at every zoom.
class DiagramView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit DiagramView(QGraphicsScene *scene, QWidget *parent = nullptr);

    // The zooms that zoomIn() and zoomOut() step through, ascending
    // (1.0 is 100 %).
    static const QVector<qreal> &zoomSteps();
    // Limits of every zoom, fitting included: a large diagram may need less
    // than the smallest step to fit.
    static constexpr qreal minimumZoom = 0.01;
    static constexpr qreal maximumZoom = 8.0;

    qreal zoom() const;

    // Hides QGraphicsView::setScene, which is not virtual: also fits the
    // scrollable area to the new scene. Call it through a DiagramView.
    void setScene(QGraphicsScene *scene);

public slots:
    // Zooms about the centre of the view, within the limits; zoomChanged()
    // tells of every change.
    void setZoom(qreal zoom);
    // The next step above or below the current zoom; nothing beyond the
    // last step.
    void zoomIn();
    void zoomOut();
    void resetZoom();
    // Shows every item with a small margin, centred; an empty scene keeps
    // its zoom.
    void fitToWindow();

signals:
    void zoomChanged(qreal zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Sets the zoom keeping the scene point `anchor` at `viewportPoint`.
    void zoomAbout(qreal zoom, const QPointF &anchor, const QPointF &viewportPoint);
    // The scene's handles keep their size on screen at this view's zoom.
    void tellSceneZoom();
    // The scene point under a viewport point, without rounding to pixels.
    QPointF sceneAt(const QPointF &viewportPoint) const;
    void updateScrollableArea();
    // A text being edited takes Space as a letter.
    bool isEditingText() const;
    void scrollBy(const QPoint &delta);
    void endPan();

    bool spaceHeld = false;
    bool panning = false;
    Qt::MouseButton panButton = Qt::NoButton;
    bool interactiveBeforePan = true;
    QPoint lastPanPoint;
};

#endif // DIAGRAMVIEW_H
