#include "app/DiagramView.h"

#include "scene/DiagramScene.h"
#include "scene/StampCache.h"
#include "scene/diagramBoundingRect.h"

#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

// Four wheel notches (120 units each) double or halve the zoom.
constexpr qreal notchesPerDoubling = 4.0;
// Room left around the items by fitToWindow(), in pixels on each side.
constexpr qreal fitMargin = 20.0;
// Two zooms closer than this are one step: fits and wheel zooms land
// between steps, and rounding must not make a step count twice.
constexpr qreal stepTolerance = 1e-6;
// New pictures of figures one repaint makes, a small part of its time; the
// figures past them are painted directly and pictured by later repaints.
constexpr int newPicturesPerRepaint = 1000;

QPoint transposed(const QPoint &point)
{
    return QPoint(point.y(), point.x());
}

} // namespace

DiagramView::DiagramView(QGraphicsScene *scene, QWidget *parent)
    : QGraphicsView(parent)
{
    // Only what changed is repainted: a scroll moves the pixels already
    // drawn and paints the strip it uncovers, instead of every item in view.
    setViewportUpdateMode(MinimalViewportUpdate);
    // Each item sets the pen and brush it draws with and undoes its other
    // changes (the view sets each one's transform and opacity): saving and
    // restoring the painter around every item was a sixth of a repaint of
    // a zoomed-out diagram.
    setOptimizationFlag(DontSavePainterState);
    setScene(scene);
}

const QVector<qreal> &DiagramView::zoomSteps()
{
    static const QVector<qreal> steps{0.1, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 4.0, 8.0};
    return steps;
}

qreal DiagramView::zoom() const
{
    // The transform is only ever a uniform scale.
    return transform().m11();
}

void DiagramView::setScene(QGraphicsScene *newScene)
{
    if (QGraphicsScene *old = scene())
        disconnect(old, &QGraphicsScene::sceneRectChanged, this,
                   &DiagramView::updateScrollableArea);
    QGraphicsView::setScene(newScene);
    if (!newScene)
        return;
    connect(newScene, &QGraphicsScene::sceneRectChanged, this,
            &DiagramView::updateScrollableArea);
    updateScrollableArea();
    tellSceneZoom();
    // A new scene opens on the middle of its rectangle, as a plain view would.
    centerOn(newScene->sceneRect().center());
}

void DiagramView::setZoom(qreal zoom)
{
    const QPointF centre = QRectF(viewport()->rect()).center();
    zoomAbout(zoom, sceneAt(centre), centre);
}

void DiagramView::zoomIn()
{
    for (const qreal step : zoomSteps()) {
        if (step > zoom() * (1 + stepTolerance)) {
            setZoom(step);
            return;
        }
    }
}

void DiagramView::zoomOut()
{
    const QVector<qreal> &steps = zoomSteps();
    for (auto step = steps.crbegin(); step != steps.crend(); ++step) {
        if (*step < zoom() * (1 - stepTolerance)) {
            setZoom(*step);
            return;
        }
    }
}

void DiagramView::resetZoom()
{
    setZoom(1.0);
}

void DiagramView::fitToWindow()
{
    if (!scene())
        return;
    const QRectF items = diagramBoundingRect(*scene());
    if (items.isNull())
        return;
    const QRectF room = QRectF(viewport()->rect()).adjusted(fitMargin, fitMargin, -fitMargin,
                                                            -fitMargin);
    const qreal fit = qMin(room.width() / qMax(items.width(), 1.0),
                           room.height() / qMax(items.height(), 1.0));
    zoomAbout(fit, items.center(), QRectF(viewport()->rect()).center());
}

void DiagramView::zoomAbout(qreal zoom, const QPointF &anchor, const QPointF &viewportPoint)
{
    zoom = qBound(minimumZoom, zoom, maximumZoom);
    const bool changed = !qFuzzyCompare(zoom, this->zoom());
    if (changed) {
        setTransform(QTransform::fromScale(zoom, zoom));
        updateScrollableArea();
    }
    // Scroll bars move by whole pixels: the anchor lands within half a pixel.
    const QPointF off = viewportTransform().map(anchor) - viewportPoint;
    scrollBy(QPoint(qRound(off.x()), qRound(off.y())));
    if (changed) {
        tellSceneZoom();
        emit zoomChanged(zoom);
    }
}

void DiagramView::tellSceneZoom()
{
    if (auto *diagram = qobject_cast<DiagramScene *>(scene()))
        diagram->setHandleZoom(zoom());
}

QPointF DiagramView::sceneAt(const QPointF &viewportPoint) const
{
    return viewportTransform().inverted().map(viewportPoint);
}

void DiagramView::updateScrollableArea()
{
    if (!scene())
        return;
    const QRectF diagram = scene()->sceneRect() | diagramBoundingRect(*scene());
    const qreal roomX = viewport()->width() / zoom();
    const qreal roomY = viewport()->height() / zoom();
    setSceneRect(diagram.adjusted(-roomX, -roomY, roomX, roomY));
}

void DiagramView::scrollBy(const QPoint &delta)
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + delta.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + delta.y());
}

bool DiagramView::isEditingText() const
{
    QGraphicsItem *focus = scene() ? scene()->focusItem() : nullptr;
    const auto *text = focus ? qobject_cast<QGraphicsTextItem *>(focus->toGraphicsObject())
                             : nullptr;
    return text && (text->textInteractionFlags() & Qt::TextEditable);
}

void DiagramView::paintEvent(QPaintEvent *event)
{
    const StampCache::Ration ration(StampCache::shared(), newPicturesPerRepaint);
    QGraphicsView::paintEvent(event);
}

void DiagramView::focusOutEvent(QFocusEvent *event)
{
    // The release of Space goes to whatever took the focus.
    if (spaceHeld) {
        spaceHeld = false;
        if (!panning)
            viewport()->unsetCursor();
    }
    QGraphicsView::focusOutEvent(event);
}

void DiagramView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
        && !isEditingText()) {
        if (!event->isAutoRepeat()) {
            spaceHeld = true;
            if (!panning)
                viewport()->setCursor(Qt::OpenHandCursor);
        }
        event->accept();
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

void DiagramView::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && spaceHeld) {
        if (!event->isAutoRepeat()) {
            spaceHeld = false;
            if (!panning)
                viewport()->unsetCursor();
        }
        event->accept();
        return;
    }
    QGraphicsView::keyReleaseEvent(event);
}

void DiagramView::mousePressEvent(QMouseEvent *event)
{
    if (panning) {
        event->accept();
        return;
    }
    if (event->button() == Qt::MiddleButton
        || (event->button() == Qt::LeftButton && spaceHeld)) {
        // The press never reaches the scene: nothing is selected, moved or
        // inserted by a pan.
        panning = true;
        panButton = event->button();
        // After every scroll the view would send the scene the last mouse
        // move again, to update hovering: a search of the items under the
        // cursor that a drag of the whole diagram does not need.
        interactiveBeforePan = isInteractive();
        setInteractive(false);
        lastPanPoint = event->pos();
        viewport()->setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QGraphicsView::mousePressEvent(event);
}

void DiagramView::mouseMoveEvent(QMouseEvent *event)
{
    if (panning) {
        scrollBy(lastPanPoint - event->pos());
        lastPanPoint = event->pos();
        event->accept();
        return;
    }
    // While Space is held the hand cursor stays: items would set theirs.
    if (spaceHeld) {
        event->accept();
        return;
    }
    QGraphicsView::mouseMoveEvent(event);
}

void DiagramView::mouseReleaseEvent(QMouseEvent *event)
{
    if (panning) {
        if (event->button() == panButton)
            endPan();
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void DiagramView::endPan()
{
    panning = false;
    panButton = Qt::NoButton;
    setInteractive(interactiveBeforePan);
    if (spaceHeld)
        viewport()->setCursor(Qt::OpenHandCursor);
    else
        viewport()->unsetCursor();
}

void DiagramView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const QPoint delta = event->angleDelta();
        const int notches120 = delta.y() != 0 ? delta.y() : delta.x();
        const qreal factor = std::pow(2.0, notches120 / 120.0 / notchesPerDoubling);
        const QPointF at = event->position();
        zoomAbout(zoom() * factor, sceneAt(at), at);
        event->accept();
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier) {
        // Qt would scroll a page down; desktop editors scroll sideways.
        QWheelEvent sideways(event->position(), event->globalPosition(),
                             transposed(event->pixelDelta()), transposed(event->angleDelta()),
                             event->buttons(), event->modifiers() & ~Qt::ShiftModifier,
                             event->phase(), event->inverted(), event->source());
        QGraphicsView::wheelEvent(&sideways);
        event->setAccepted(sideways.isAccepted());
        return;
    }
    QGraphicsView::wheelEvent(event);
}

void DiagramView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    updateScrollableArea();
}
