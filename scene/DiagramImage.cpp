#include "scene/DiagramImage.h"

#include "scene/Arrow.h"
#include "scene/DiagramImageResizer.h"
#include "scene/DiagramImageRotator.h"
#include "scene/DiagramObjectVisitor.h"
#include "scene/DiagramScene.h"
#include "scene/HandleGeometry.h"

#include <QCursor>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsTransform>
#include <QPainter>
#include <QVector3D>
#include <QtMath>

DiagramImage::DiagramImage(QGraphicsItem *parent)
    : QGraphicsPixmapItem(parent),
      m_itemRotation(new QGraphicsRotation),
      m_itemScale(new QGraphicsScale)
{
    // Both act about the origin, which the creator's offset makes the
    // pixmap's centre. The item owns them (QGraphicsItem deletes them).
    m_itemRotation->setOrigin(QVector3D(scenePos()));
    m_itemScale->setOrigin(QVector3D(scenePos()));
    setTransformations({m_itemRotation, m_itemScale});
    // Arrows must follow the picture when it moves.
    setFlag(ItemSendsGeometryChanges);
}

DiagramImage::~DiagramImage()
{
    // An arrow cannot outlive an end; each leaves both ends' lists as it goes.
    qDeleteAll(QList<Arrow *>(m_arrows));
}

namespace {

// What stands for a picture whose file cannot be read (moved, deleted):
// a framed card naming the file, so that the item stays visible, movable
// and saved with its path until the file is back.
QPixmap missingPicture(const QString &path)
{
    QPixmap card(180, 120);
    card.fill(QColor(240, 240, 240));
    QPainter painter(&card);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::gray, 2, Qt::DashLine));
    painter.drawRect(card.rect().adjusted(1, 1, -2, -2));
    painter.setPen(QPen(QColor(200, 60, 60), 3));
    painter.drawLine(70, 20, 110, 60);
    painter.drawLine(110, 20, 70, 60);
    painter.setPen(Qt::darkGray);
    const QRect label(8, 68, card.width() - 16, 44);
    painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     DiagramImage::tr("Image introuvable\n%1").arg(QFileInfo(path).fileName()));
    return card;
}

} // namespace

void DiagramImage::setContent(const QString &path, const QPixmap &pixmap, bool isMath)
{
    m_path = path;
    setPixmap(pixmap.isNull() && !isMath ? missingPicture(path) : pixmap);
    m_isMath = isMath;
    // A click between a formula's glyphs still means the formula.
    setShapeMode(isMath ? BoundingRectShape : MaskShape);
    placeHandles();
}

void DiagramImage::addArrow(Arrow *arrow)
{
    m_arrows.append(arrow);
}

void DiagramImage::removeArrow(Arrow *arrow)
{
    m_arrows.removeOne(arrow);
}

void DiagramImage::showResizers()
{
    createHandles();
    placeHandles();
    m_rotator->show();
    for (DiagramImageResizer *resizer : m_resizers)
        resizer->show();
}

void DiagramImage::placeHandles()
{
    if (!m_rotator)
        return;
    m_rotator->place();
    for (DiagramImageResizer *resizer : m_resizers)
        resizer->place();
}

void DiagramImage::hideResizers()
{
    if (!m_rotator)
        return;
    m_rotator->hide();
    for (DiagramImageResizer *resizer : m_resizers)
        resizer->hide();
}

// Made when the picture is first selected, hidden, and kept, as a shape's.
void DiagramImage::createHandles()
{
    if (m_rotator)
        return;
    m_rotator = new DiagramImageRotator(this);
    for (int corner = 0; corner < 4; ++corner) {
        m_resizers[corner] = new DiagramImageResizer(corner, this);
        m_resizers[corner]->setCursor(resizerCursor(corner));
    }
}

void DiagramImage::changeTransform(int rotationDegre, bool isRescaling, double scale)
{
    if (isRescaling) {
        if (!qIsFinite(scale)) {
            qWarning("DiagramImage::changeTransform: the scale must be a finite number");
            return;
        }
        m_itemScale->setXScale(scale);
        m_itemScale->setYScale(scale);
    } else {
        m_itemRotation->setAngle(rotationDegre);
        placeHandles();
    }
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
}

void DiagramImage::setFormula(const QString &text)
{
    const QPixmap typeset = DiagramScene::renderFormula(text);
    if (typeset.isNull())
        return;
    setContent(text, typeset, true);
    // Still centred on its position, so that it stays where it was.
    setOffset(-(typeset.width() / 2), -(typeset.height() / 2));
    placeHandles();
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
}

void DiagramImage::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *)
{
    requestEdit();
}

void DiagramImage::mousePressEvent(QGraphicsSceneMouseEvent *)
{
    // No default press handling: the press neither selects the picture nor
    // clears other selections, so that a drag moves it with the selection.
    emit imageSelected(this);
}

QVariant DiagramImage::itemChange(GraphicsItemChange change, const QVariant &value)
{
    switch (change) {
    case ItemFlagsChange:
        // Creators set the flags as a whole; the arrows still need to hear
        // of every move.
        return QVariant(value.toUInt() | ItemSendsGeometryChanges);
    case ItemPositionHasChanged:
        for (Arrow *arrow : qAsConst(m_arrows))
            arrow->updatePosition();
        break;
    case ItemSelectedChange:
        if (value.toBool())
            showResizers();
        else if (!m_rotatorHovered)
            hideResizers();
        break;
    default:
        break;
    }
    return value;
}

void DiagramImage::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    requestContextMenu(event);
}

QVariant DiagramImage::value(Property property) const
{
    switch (property) {
    case Property::Rotation:
        return int(m_itemRotation->angle());
    case Property::Scale:
        return QSizeF(m_itemScale->xScale(), m_itemScale->yScale());
    case Property::FormulaText:
        return m_isMath ? QVariant(m_path) : QVariant();
    default:
        return DiagramObject::value(property);
    }
}

void DiagramImage::setValue(Property property, const QVariant &value)
{
    switch (property) {
    case Property::Rotation:
        changeTransform(value.toInt(), false);
        break;
    case Property::Scale:
        changeTransform(0, true, value.toSizeF().width());
        break;
    case Property::FormulaText:
        setFormula(value.toString());
        break;
    default:
        DiagramObject::setValue(property, value);
        break;
    }
}

void DiagramImage::accept(DiagramObjectVisitor &visitor) const
{
    visitor.visit(*this);
}
