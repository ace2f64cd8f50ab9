#include "scene/Arrow.h"

#include "scene/DiagramObjectVisitor.h"
#include "scene/Spacer.h"

#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QPainter>
#include <QPen>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// The head's geometry keeps the original program's rounded constants, so
// that heads look exactly as they always did.
constexpr double FullTurn = 6.28;
constexpr double HalfTurn = 3.14;
constexpr double HeadHalfAngle = 1.0466666666666666; // 3.14 / 3
// The handle triangle is a smaller copy of the head.
constexpr double SpacerShrink = 1.4;
// The dashed lines of a selected arrow, above and below it.
constexpr double SelectionOffset = 4.0;

void addToArrowList(QGraphicsItem *end, Arrow *arrow)
{
    if (DiagramObject *object = DiagramObject::from(end))
        object->addArrow(arrow);
}

void removeFromArrowList(QGraphicsItem *end, Arrow *arrow)
{
    if (DiagramObject *object = DiagramObject::from(end))
        object->removeArrow(arrow);
}

// A head triangle at tip for a line leaving the tip at angle a, with sides
// of the given length.
QPolygonF headTriangle(const QPointF &tip, double angle, double side)
{
    const double a1 = angle + HeadHalfAngle;
    const double a2 = angle + HalfTurn - HeadHalfAngle;
    return QPolygonF({tip,
                      tip + QPointF(qSin(a1) * side, qCos(a1) * side),
                      tip + QPointF(qSin(a2) * side, qCos(a2) * side)});
}

// Comparing outlines strokes both shapes: only ends whose bounds meet can
// overlap, and most do not.
bool endsOverlap(const QGraphicsItem *start, const QGraphicsItem *end)
{
    return start->sceneBoundingRect().intersects(end->sceneBoundingRect())
        && start->collidesWithItem(end, Qt::IntersectsItemShape);
}

// The part of `line` inside `area` (Liang-Barsky); a null line when none is.
QLineF clippedLine(const QLineF &line, const QRectF &area)
{
    const QPointF delta = line.p2() - line.p1();
    const qreal p[] = {-delta.x(), delta.x(), -delta.y(), delta.y()};
    const qreal q[] = {line.x1() - area.left(), area.right() - line.x1(),
                       line.y1() - area.top(), area.bottom() - line.y1()};
    qreal enter = 0;
    qreal leave = 1;
    for (int side = 0; side < 4; ++side) {
        if (qFuzzyIsNull(p[side])) {
            if (q[side] < 0)
                return QLineF();
            continue;
        }
        const qreal t = q[side] / p[side];
        if (p[side] < 0)
            enter = qMax(enter, t);
        else
            leave = qMin(leave, t);
    }
    if (enter > leave)
        return QLineF();
    if (enter == 0 && leave == 1)
        return line; // wholly inside: drawn exactly as it is
    return QLineF(line.pointAt(enter), line.pointAt(leave));
}

// Lines shorter than this on screen are drawn with their head from the
// view's pictures.
const qreal longLinePixels = 100;

// Draws `shown`, the part in view of the arrow's `whole` line, when it is
// long. Qt strokes a long antialiased line with round caps through its
// general outline rasteriser, about ten times slower than a flat-capped
// line, which has a fast path: the line is drawn flat-capped, and its
// round ends, where they are in view, as discs. The same shape, its edge
// pixels shaded a few levels apart.
void drawLongLine(QPainter *painter, const QLineF &whole, const QLineF &shown)
{
    const QPen pen = painter->pen();
    if (pen.capStyle() != Qt::RoundCap) {
        painter->drawLine(shown);
        return;
    }
    QPen flat = pen;
    flat.setCapStyle(Qt::FlatCap);
    painter->setPen(flat);
    painter->drawLine(shown);
    painter->setPen(Qt::NoPen);
    const qreal radius = pen.widthF() / 2;
    for (const QPointF &end : {whole.p1(), whole.p2()}) {
        if (end == shown.p1() || end == shown.p2())
            painter->drawEllipse(end, radius, radius);
    }
    painter->setPen(pen);
}

// Puts the ends of `line` and then the points of `head` in `kept`, unless
// they are there already: its figure then finds them unchanged at once.
void keepLineAndHead(QPolygonF &kept, const QLineF &line, const QPolygonF &head)
{
    if (kept.size() == head.size() + 2 && kept.at(0) == line.p1() && kept.at(1) == line.p2()
        && std::equal(head.cbegin(), head.cend(), kept.cbegin() + 2))
        return;
    QPolygonF points;
    points.reserve(head.size() + 2);
    points << line.p1() << line.p2() << head;
    kept = points;
}

} // namespace

Arrow::Arrow(int arrowSize, QGraphicsItem *startItem, QGraphicsItem *endItem,
             QGraphicsItem *parent)
    : QGraphicsLineItem(parent),
      m_startItem(startItem),
      m_endItem(endItem),
      m_arrowSize(arrowSize)
{
    if (!startItem || !endItem)
        qWarning("Arrow::Arrow: an arrow needs a start and an end item; it stays undrawn");
    setFlag(ItemIsSelectable);
    setPen(QPen(m_headBrush, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    attachToEnds();
}

Arrow::~Arrow()
{
    detachFromEnds();
}

QRectF Arrow::boundingRect() const
{
    // Room for the pen and the head's half width; a head larger than the
    // default must not be drawn outside the repainted area.
    const double extra = (int(pen().widthF()) + qMax(20, m_arrowSize)) / 2.0;
    const QLineF l = line();
    return QRectF(l.p1(), QSizeF(l.p2().x() - l.p1().x(), l.p2().y() - l.p1().y()))
        .normalized()
        .adjusted(-extra, -extra, extra, extra);
}

QPainterPath Arrow::shape() const
{
    QPainterPath path = QGraphicsLineItem::shape();
    path.addPolygon(m_arrowHead);
    return path;
}

// The pen and the head's brush carry the colour, so that each repaint
// draws with the same ones.
void Arrow::setColor(const QColor &color)
{
    QPen coloured = pen();
    coloured.setColor(color);
    setPen(coloured);
    m_headBrush = QBrush(color, Qt::SolidPattern);
}

void Arrow::setPointToBe(const QPointF &scenePoint)
{
    if (!m_endItem)
        return;
    m_pointToBe = m_endItem->mapFromScene(scenePoint);
    updatePosition();
}

void Arrow::updatePosition()
{
    // While the ends overlap nothing is drawn; the line then just joins the
    // two origins.
    m_drawn = updateGeometry();
    if (!m_drawn && m_startItem && m_endItem)
        setLine(QLineF(mapFromItem(m_startItem, 0, 0), mapFromItem(m_endItem, 0, 0)));
    update();
}

void Arrow::hideSpacer()
{
    if (m_spacer)
        m_spacer->hide();
}

// The tip handle is made when the arrow is first selected, and then kept:
// most arrows of a large diagram never are, and one more item each would
// weigh on memory and on every scan of the scene.
void Arrow::showSpacer()
{
    if (!m_spacer) {
        m_spacer = new Spacer(this);
        updatePosition();
    }
    m_spacer->show();
}

void Arrow::detachFromEnds()
{
    removeFromArrowList(m_startItem, this);
    removeFromArrowList(m_endItem, this);
}

void Arrow::releaseEnds()
{
    detachFromEnds();
    m_startItem = nullptr;
    m_endItem = nullptr;
}

void Arrow::attachToEnds()
{
    addToArrowList(m_endItem, this);
    if (m_startItem != m_endItem)
        addToArrowList(m_startItem, this);
}

void Arrow::setArrowWidth(int width)
{
    if (width == m_arrowSize)
        return;
    prepareGeometryChange();
    m_arrowSize = width;
    updatePosition();
}

void Arrow::resetPoint()
{
    m_pointToBe = QPointF();
    updatePosition();
}

QPointF Arrow::automaticTip(const QLineF &centreLine) const
{
    // The end's outline as it stands in the scene (turned and scaled like
    // the end item), walked edge by edge for the first crossing.
    const QPolygonF outline = m_endItem->mapToScene(DiagramObject::from(m_endItem)->outline());
    for (int i = 1; i < outline.size(); ++i) {
        QPointF crossing;
        if (QLineF(outline.at(i - 1), outline.at(i)).intersects(centreLine, &crossing)
            == QLineF::BoundedIntersection)
            return crossing;
    }
    // No edge crossed (a picture without pixmap has no outline): point at
    // the end item's centre rather than at an arbitrary spot.
    return m_endItem->scenePos();
}

bool Arrow::updateGeometry()
{
    if (!m_startItem || !m_endItem || endsOverlap(m_startItem, m_endItem))
        return false;

    const QPointF startPos = m_startItem->scenePos();
    const QPointF tip = isPointed()
        ? m_endItem->mapToScene(m_pointToBe)
        : automaticTip(QLineF(m_endItem->scenePos(), startPos));

    const QLineF newLine(mapFromScene(tip), mapFromScene(startPos));
    if (qFuzzyIsNull(newLine.length()))
        return false; // no direction for the head
    setLine(newLine);

    double angle = qAcos(newLine.dx() / newLine.length());
    if (newLine.dy() >= 0)
        angle = FullTurn - angle;
    m_arrowHead = headTriangle(newLine.p1(), angle, m_arrowSize);
    if (m_spacer)
        m_spacer->setPolygon(headTriangle(newLine.p1(), angle, m_arrowSize / SpacerShrink));
    return true;
}

// Only paints: the geometry follows the ends in updatePosition(), and a
// change made here would schedule the next repaint, for ever.
void Arrow::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_drawn)
        return;

    painter->setPen(pen());
    painter->setBrush(m_headBrush);
    if (painter->device()->devType() == QInternal::Widget)
        paintInView(painter);
    else {
        painter->drawLine(line());
        painter->drawPolygon(m_arrowHead, Qt::OddEvenFill);
    }

    if (isSelected()) {
        painter->setPen(QPen(m_headBrush, 1.0, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
        painter->drawLine(line().translated(0, SelectionOffset));
        painter->drawLine(line().translated(0, -SelectionOffset));
    }
}

// Only the part of the line inside the view, with room for the caps: a
// wide line is stroked as an outline, and a long arrow across a zoomed-in
// view cost the rasteriser its whole length at every repaint. A short one
// comes with its head from one of the view's pictures, unless it is a
// pixel wide or thinner: Qt then draws it its own fast way, which places
// it by where it falls on the device, unlike its picture.
void Arrow::paintInView(QPainter *painter)
{
    const QTransform &toView = painter->worldTransform();
    const qreal margin = pen().widthF() + 2;
    const QRectF view = toView.inverted().mapRect(
        QRectF(0, 0, painter->device()->width(), painter->device()->height()));
    const QLineF shown = clippedLine(line(), view.adjusted(-margin, -margin, margin, margin));
    if (!shown.isNull()) {
        const bool thin = pen().widthF() * std::sqrt(std::abs(toView.determinant())) <= 1;
        const bool isLong = toView.map(shown).length() >= longLinePixels;
        if (!thin && !isLong) {
            keepLineAndHead(m_inView, shown, m_arrowHead);
            StampCache::shared().draw(painter, m_inView, m_inViewFigure, 2, Qt::OddEvenFill);
            return;
        }
        if (isLong)
            drawLongLine(painter, line(), shown);
        else
            painter->drawLine(shown);
    }
    StampCache::shared().draw(painter, m_arrowHead, m_headFigure, 0, Qt::OddEvenFill);
}

void Arrow::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    requestContextMenu(event);
}

QVariant Arrow::value(Property property) const
{
    switch (property) {
    case Property::ArrowSize:
        return m_arrowSize;
    case Property::LineColor:
        return color();
    case Property::ArrowTip:
        return m_pointToBe;
    default:
        return DiagramObject::value(property);
    }
}

void Arrow::setValue(Property property, const QVariant &value)
{
    switch (property) {
    case Property::ArrowSize:
        setArrowWidth(value.toInt());
        break;
    case Property::LineColor:
        setColor(value.value<QColor>());
        break;
    case Property::ArrowTip:
        m_pointToBe = value.toPointF();
        updatePosition();
        break;
    default:
        DiagramObject::setValue(property, value);
        break;
    }
}

void Arrow::accept(DiagramObjectVisitor &visitor) const
{
    visitor.visit(*this);
}

void Arrow::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    emit arrowSelected(this);
    QGraphicsLineItem::mousePressEvent(event);
}

QVariant Arrow::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedChange) {
        if (value.toBool())
            showSpacer();
        else if (!m_spacerHovered)
            hideSpacer();
    }
    return value;
}
