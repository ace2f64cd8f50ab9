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
#include <QPaintEngine>
#include <QStyleOptionGraphicsItem>
#include <QVector3D>
#include <QtMath>

#include <cmath>

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
    QPixmapCache::remove(m_scaledPicture);
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

// Two scales this close draw the same pixels.
const qreal scaleTolerance = 1e-3;

// A picture of the drawing larger than a quarter of Qt's pixmap cache
// (kilobytes, 4 bytes a pixel) would push out too much else: past that,
// which only deep zooms reach, the outlines are filled at every paint.
qreal maxScaledPixels()
{
    return QPixmapCache::cacheLimit() * 1024.0 / 4 / 4;
}

// Devices made of pixels, where a picture drawn once serves every repaint.
// Everything else (PDF, SVG, printers, recordings and our own engines that
// pass the painting on to another) gets the drawing itself.
bool paintsPixels(QPainter *painter)
{
    switch (painter->paintEngine()->type()) {
    case QPaintEngine::Raster:
    case QPaintEngine::X11:
    case QPaintEngine::Windows:
    case QPaintEngine::CoreGraphics:
    case QPaintEngine::OpenGL:
    case QPaintEngine::OpenGL2:
    case QPaintEngine::Direct3D:
    case QPaintEngine::QWindowSystem:
        return true;
    default:
        return false;
    }
}

} // namespace

void DiagramImage::setContent(const QString &path, const QPixmap &pixmap, bool isMath)
{
    m_path = path;
    setPixmap(pixmap.isNull() && !isMath ? missingPicture(path) : pixmap);
    m_isMath = isMath;
    QPixmapCache::remove(m_scaledPicture);
    m_scaledPicture = QPixmapCache::Key();
    if (isMath)
        typesetDrawing(path, pixmap.size());
    else
        m_formula.clear();
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
    }
    placeHandles();
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
}

bool DiagramImage::setFormula(const QString &text)
{
    // One engine parses the text for the outlines and the picture.
    FormulaDrawing drawing;
    drawing.setFormula(text);
    const QPixmap typeset =
        drawing.isEmpty() ? DiagramScene::renderFormula(text) : drawing.enginePicture();
    if (typeset.isNull())
        return false;
    m_formula = std::move(drawing);
    setContent(text, typeset, true);
    // Still centred on its position, so that it stays where it was.
    setOffset(-(typeset.width() / 2), -(typeset.height() / 2));
    placeHandles();
    for (Arrow *arrow : qAsConst(m_arrows))
        arrow->updatePosition();
    return true;
}

void DiagramImage::typesetDrawing(const QString &text, const QSize &size)
{
    if (m_formula.formula() == text && m_formula.size() == size)
        return; // typeset already, with this picture
    m_formula.setFormula(text);
    // Typeset at another size in the formula editor, which offers whole
    // points: again at the nearest whole size that fills that picture
    // (paint() fits what is left over).
    if (!m_formula.isEmpty() && m_formula.size() != size && !size.isEmpty())
        m_formula.setFormula(text, qMax(1, qRound(FormulaDrawing::defaultPointSize * size.height()
                                                  / m_formula.size().height())));
}

void DiagramImage::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                         QWidget *widget)
{
    if (!m_isMath || m_formula.isEmpty() || pixmap().isNull()) {
        QGraphicsPixmapItem::paint(painter, option, widget);
        return;
    }
    const QRectF box(offset(), pixmap().size());
    if (paintsPixels(painter))
        paintFormulaPixels(painter, box);
    else
        m_formula.paint(painter, box);
    if (option->state & QStyle::State_Selected)
        paintSelection(painter, option);
}

void DiagramImage::paintFormulaPixels(QPainter *painter, const QRectF &box)
{
    const QTransform device = painter->deviceTransform();
    const qreal scale = std::sqrt(std::abs(device.determinant()));
    if (qAbs(scale - 1) < scaleTolerance) {
        // The typeset picture, pixel for pixel, as it always looked at 100 %,
        // and as fast; the hint is every pixmap item's own to set.
        painter->setRenderHint(QPainter::SmoothPixmapTransform,
                               transformationMode() == Qt::SmoothTransformation);
        painter->drawPixmap(offset(), pixmap());
        return;
    }
    if (box.width() * box.height() * scale * scale > maxScaledPixels()) {
        m_formula.paint(painter, box);
        return;
    }
    QPixmap scaled;
    if (qAbs(m_scaledScale / scale - 1) > scaleTolerance
        || !QPixmapCache::find(m_scaledPicture, &scaled)) {
        QPixmapCache::remove(m_scaledPicture);
        scaled = m_formula.picture(box.size(), scale);
        m_scaledPicture = QPixmapCache::insert(scaled);
        m_scaledScale = scale;
    }
    const bool upright = device.type() <= QTransform::TxScale && device.m11() > 0
        && device.m22() > 0 && painter->worldTransform() == device
        && painter->device()->devicePixelRatioF() == 1;
    painter->save();
    if (upright) {
        // On whole device pixels, as the picture was made: not resampled.
        const QPointF at = device.map(box.topLeft());
        painter->resetTransform();
        painter->drawPixmap(QPointF(qRound(at.x()), qRound(at.y())), scaled);
    } else {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(box, scaled, QRectF(QPointF(), box.size() * m_scaledScale));
    }
    painter->restore();
}

// The dashed frame Qt draws around a selected pixmap item, which paint()
// replaces for a formula.
void DiagramImage::paintSelection(QPainter *painter, const QStyleOptionGraphicsItem *option) const
{
    const QRectF frame = boundingRect().adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor ink = option->palette.windowText().color();
    // Its opposite under the dashes, to be seen on any background.
    const QColor under(ink.red() > 127 ? 0 : 255, ink.green() > 127 ? 0 : 255,
                       ink.blue() > 127 ? 0 : 255);
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(under, 0, Qt::SolidLine));
    painter->drawRect(frame);
    painter->setPen(QPen(ink, 0, Qt::DashLine));
    painter->drawRect(frame);
    painter->restore();
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
