#include "scene/DiagramItem.h"

#include "scene/Arrow.h"
#include "scene/DiagramItemResizer.h"
#include "scene/DiagramItemRotator.h"
#include "scene/DiagramObjectVisitor.h"
#include "scene/DiagramTextItem.h"
#include "scene/HandleGeometry.h"
#include "scene/drawSelectionFrame.h"

#include <QCursor>
#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStyleOptionGraphicsItem>
#include <QVector3D>

namespace {

QPolygonF fillPolygon(const QPainterPath &path)
{
    return path.toFillPolygon(QTransform());
}

} // namespace

DiagramItem::DiagramItem(DiagramType diagramType, QGraphicsItem *parent)
    : QGraphicsPolygonItem(parent)
    , m_diagramType(diagramType)
{
    QPen pen;
    pen.setCosmetic(true);
    pen.setWidth(1);
    setPen(pen);
    setPolygon(polygonOf(diagramType));
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);

    // Deleted by QGraphicsItem with the shape.
    itemRotation = new QGraphicsRotation;
    itemScale = new QGraphicsScale;
    const QVector3D origin(scenePos());
    itemRotation->setOrigin(origin);
    itemScale->setOrigin(origin);
    setTransformations({itemRotation, itemScale});
}

// As QGraphicsPolygonItem paints, through the view's pictures of shapes.
void DiagramItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setPen(pen());
    painter->setBrush(brush());
    StampCache::shared().draw(painter, polygon(), m_outlineFigure, 0, fillRule());
    if (option->state & QStyle::State_Selected)
        drawSelectionFrame(painter, option, boundingRect());
}

DiagramItem::~DiagramItem()
{
    // Arrows cannot outlive an end (each leaves both ends' lists as it
    // goes), and a text must not keep following a freed shape.
    qDeleteAll(QList<Arrow *>(m_arrows));
    if (m_linkedText)
        m_linkedText->unlink();
}

QPolygonF DiagramItem::polygonOf(DiagramType diagramType)
{
    QPainterPath path;
    switch (diagramType) {
    case Carre:
        return QPolygonF({QPointF(-100, -100), QPointF(100, -100), QPointF(100, 100),
                          QPointF(-100, 100), QPointF(-100, -100)});
    case RoundedCarre:
        path.addRoundedRect(QRectF(-100, -100, 200, 200), 20, 20, Qt::AbsoluteSize);
        return fillPolygon(path);
    case Triangle:
        return QPolygonF({QPointF(0, -100), QPointF(100, 100), QPointF(-100, 100),
                          QPointF(0, -100)});
    case Pentagone:
        return QPolygonF({QPointF(0, -100), QPointF(100, -20), QPointF(70, 100),
                          QPointF(-70, 100), QPointF(-100, -20), QPointF(0, -100)});
    case Cercle:
        path.addEllipse(QRectF(-100, -100, 200, 200));
        return fillPolygon(path);
    case Rectangle:
        path.addRect(QRectF(-100, -65, 200, 140));
        return fillPolygon(path);
    case RoundedRectangle:
        path.addRoundedRect(QRectF(-100, -65, 200, 140), 20, 20, Qt::AbsoluteSize);
        return fillPolygon(path);
    }
    return QPolygonF();
}

QString DiagramItem::typeName(DiagramType diagramType)
{
    switch (diagramType) {
    case Carre: return QStringLiteral("Carré");
    case RoundedCarre: return QStringLiteral("Carré arrondi");
    case Triangle: return QStringLiteral("Triangle");
    case Pentagone: return QStringLiteral("Pentagone");
    case Cercle: return QStringLiteral("Cercle");
    case Rectangle: return QStringLiteral("Rectangle");
    case RoundedRectangle: return QStringLiteral("Rectangle arrondi");
    }
    return QString();
}

QPixmap DiagramItem::imageOf(DiagramType diagramType)
{
    QPixmap pixmap(250, 250);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(QBrush(Qt::black, Qt::SolidPattern), 8, Qt::SolidLine, Qt::SquareCap,
                        Qt::BevelJoin));
    painter.translate(125, 125);
    painter.drawPolyline(polygonOf(diagramType));
    return pixmap;
}

void DiagramItem::addArrow(Arrow *arrow)
{
    m_arrows.append(arrow);
}

void DiagramItem::removeArrow(Arrow *arrow)
{
    m_arrows.removeOne(arrow);
}

DiagramTextItem *DiagramItem::linkedText() const
{
    return m_hasLinkedText ? m_linkedText.data() : nullptr;
}

void DiagramItem::setLinkedText(DiagramTextItem *text)
{
    m_linkedText = text;
    m_hasLinkedText = true;
    // A linked shape follows its text and shows no handles.
    hideResizers();
    fitLinkedText();
}

void DiagramItem::unlinkText()
{
    m_linkedText = nullptr;
    m_customTextMargins = false;
    m_hasLinkedText = false;
}

void DiagramItem::setCustomTextMargins(double x, double y)
{
    m_customTextMarginX = x;
    m_customTextMarginY = y;
    m_customTextMargins = true;
    fitLinkedText();
}

void DiagramItem::setBorderColor(const QColor &color)
{
    QPen changed = pen();
    changed.setColor(color);
    setPen(changed);
}

void DiagramItem::changeTransform(int rotationDegre, bool isRescaling, double xScale,
                                  double yScale, bool anchorTopLeft)
{
    if (isRescaling) {
        if (anchorTopLeft) {
            const QRectF r = boundingRect();
            itemRotation->setOrigin(QVector3D(r.x(), r.y(), 0));
            itemScale->setOrigin(QVector3D(r.x(), r.y(), 0));
        }
        itemScale->setXScale(xScale);
        itemScale->setYScale(yScale);
    } else {
        itemRotation->setAngle(rotationDegre);
    }
    updateArrows();
    centreTransformOrigins();
    placeHandles();
}

void DiagramItem::centreTransformOrigins()
{
    const QPointF centre = boundingRect().center();
    itemRotation->setOrigin(QVector3D(centre));
    itemScale->setOrigin(QVector3D(centre));
}

void DiagramItem::updateArrows()
{
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
}

void DiagramItem::hideResizers()
{
    if (!rotator)
        return;
    for (DiagramItemResizer *resizer : resizers)
        resizer->hide();
    rotator->hide();
}

void DiagramItem::showResizers()
{
    if (linkedText())
        return;
    createHandles();
    placeHandles();
    for (DiagramItemResizer *resizer : resizers)
        resizer->show();
    rotator->show();
}

void DiagramItem::placeHandles()
{
    if (!rotator)
        return;
    for (DiagramItemResizer *resizer : resizers)
        resizer->place();
    rotator->place();
}

// Handles are made when the shape is first selected, hidden, and kept: most
// shapes of a large diagram never are, and five more items each would weigh
// on memory and on every scan of the scene.
void DiagramItem::createHandles()
{
    if (rotator)
        return;
    for (int corner = 0; corner < 4; ++corner) {
        resizers[corner] = new DiagramItemResizer(corner, this);
        resizers[corner]->setCursor(resizerCursor(corner));
    }
    rotator = new DiagramItemRotator(this);
}

void DiagramItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *)
{
    requestEdit();
}

void DiagramItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    requestContextMenu(event);
}

QVariant DiagramItem::value(Property property) const
{
    switch (property) {
    case Property::Rotation:
        return int(itemRotation->angle());
    case Property::Scale:
        return QSizeF(itemScale->xScale(), itemScale->yScale());
    case Property::FillColor:
        return brush().color();
    case Property::Border:
        return pen();
    case Property::TextMargins:
        return m_customTextMargins ? QSizeF(m_customTextMarginX, m_customTextMarginY)
                                   : QSizeF(-1, -1);
    default:
        return DiagramObject::value(property);
    }
}

void DiagramItem::setValue(Property property, const QVariant &value)
{
    switch (property) {
    case Property::Rotation:
        changeTransform(value.toInt(), false, 0, 0, false);
        break;
    case Property::Scale: {
        const QSizeF scale = value.toSizeF();
        changeTransform(0, true, scale.width(), scale.height(), false);
        break;
    }
    case Property::FillColor:
        setBrush(QBrush(value.value<QColor>(), Qt::SolidPattern));
        break;
    case Property::Border:
        setPen(value.value<QPen>());
        break;
    case Property::TextMargins: {
        const QSizeF margins = value.toSizeF();
        if (margins.width() < 0) {
            m_customTextMargins = false;
            fitLinkedText();
        } else {
            setCustomTextMargins(margins.width(), margins.height());
        }
        break;
    }
    default:
        DiagramObject::setValue(property, value);
        break;
    }
}

void DiagramItem::accept(DiagramObjectVisitor &visitor) const
{
    visitor.visit(*this);
}

QVariant DiagramItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    switch (change) {
    case ItemPositionHasChanged:
        // After the move, so that the arrows are drawn from where the shape is.
        updateArrows();
        break;
    case ItemSelectedChange:
        if (value.toBool())
            showResizers();
        else if (!rotatorHovered)
            hideResizers();
        break;
    default:
        break;
    }
    return value;
}

void DiagramItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsPolygonItem::mouseMoveEvent(event);
    if (DiagramTextItem *text = linkedText()) {
        // The text follows the shape; while moving is set, the text does not
        // push the shape back.
        emit moving(true);
        const QRectF t = text->boundingRect();
        text->setPos(scenePos() - QPointF(0.5 * t.width(), 0.5 * t.height()));
    }
}

void DiagramItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (linkedText())
        emit moving(false);
    QGraphicsPolygonItem::mouseReleaseEvent(event);
}

void DiagramItem::fitLinkedText()
{
    const DiagramTextItem *text = linkedText();
    if (!text)
        return;
    const QRectF t = text->boundingRect();
    const QRectF r = boundingRect();
    const double mx = m_customTextMargins ? m_customTextMarginX : m_textMarginX;
    const double my = m_customTextMargins ? m_customTextMarginY : m_textMarginY;
    const double xScale = (mx + t.width()) / r.width();
    const double yScale = (my + t.height()) / r.height();
    if (qFuzzyCompare(xScale, itemScale->xScale()) && qFuzzyCompare(yScale, itemScale->yScale()))
        return;
    changeTransform(0, true, xScale, yScale, false);
}
