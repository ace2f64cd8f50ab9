#include "scene/DiagramScene.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"
#include "scene/LinkCommand.h"
#include "scene/ObjectsCommand.h"
#include "scene/PropertyCommand.h"

#include <QGraphicsLineItem>
#include <QGraphicsScale>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTextCursor>
#include <QUndoStack>

// The insertion modes: mouse press, drag and release, keys and the menu on
// empty space.

namespace {

// A drag must pass this many units in both directions before a shape is
// drawn to the dragged size; a smaller drag is a click.
constexpr double dragThreshold = 5.0;

bool isArrowEnd(const QGraphicsItem *item)
{
    return item->type() == DiagramItem::Type || item->type() == DiagramImage::Type;
}


} // namespace

void DiagramScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressPosition = event->scenePos();
    isDragging = false;
    isPressed = true;
    switch (m_mode) {
    case InsertLine:
        arrowLine = new QGraphicsLineItem(QLineF(pressPosition, pressPosition));
        arrowLine->setPen(QPen(QBrush(m_lineColor), 2.0, Qt::SolidLine, Qt::SquareCap,
                               Qt::BevelJoin));
        addItem(arrowLine);
        break;
    case InsertText:
        insertText(pressPosition);
        break;
    case InsertPixmap:
        insertPixmap(pressPosition);
        break;
    case LinkText: {
        linkLine = new QGraphicsLineItem(QLineF(pressPosition, pressPosition));
        QPen pen = linkLine->pen();
        pen.setWidth(2);
        pen.setStyle(Qt::DotLine);
        linkLine->setPen(pen);
        addItem(linkLine);
        break;
    }
    case InsertItem:
    case MoveItem:
        break;
    }
    QGraphicsScene::mousePressEvent(event);
    if (m_mode == MoveItem)
        beginDragRecord();
}

void DiagramScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case InsertLine:
        if (arrowLine)
            arrowLine->setLine(QLineF(arrowLine->line().p1(), event->scenePos()));
        break;
    case LinkText:
        if (linkLine)
            linkLine->setLine(QLineF(linkLine->line().p1(), event->scenePos()));
        break;
    case MoveItem:
        QGraphicsScene::mouseMoveEvent(event);
        break;
    case InsertItem:
        if (isPressed) {
            currentPosition = event->scenePos();
            updatePreview();
        }
        break;
    case InsertText:
    case InsertPixmap:
        // Nothing is dragged in these modes.
        break;
    }
}

void DiagramScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case InsertLine:
        if (arrowLine)
            finishArrow();
        break;
    case LinkText:
        if (linkLine)
            finishLink();
        break;
    case InsertItem:
        // Only a release that ends a left press inserts: a right click opens
        // a menu and must not drop a shape as well.
        if (isPressed)
            insertShape(event->scenePos());
        break;
    case InsertText:
    case InsertPixmap:
    case MoveItem:
        break;
    }
    arrowLine = nullptr;
    linkLine = nullptr;
    isPressed = false;
    QGraphicsScene::mouseReleaseEvent(event);
    endDragRecord();
}

// What a press on an item or a handle may change, kept to be compared with
// at the release: the positions of everything the drag moves, or the
// turn, size and tip that a handle sets.
void DiagramScene::beginDragRecord()
{
    dragRecord = {};
    QGraphicsItem *grabbed = mouseGrabberItem();
    // A scene without history has nothing to record into.
    if (!grabbed || !m_undoStack)
        return;
    const auto record = [this](DiagramObject *object, DiagramObject::Property property) {
        const QVariant value = object->value(property);
        if (!value.isValid())
            return;
        dragRecord.objects.append(object);
        dragRecord.properties.append(property);
        dragRecord.before.append(value);
    };
    if (DiagramObject *owner = DiagramObject::from(grabbed->parentItem())) {
        for (auto property : {DiagramObject::Property::Rotation, DiagramObject::Property::Scale,
                              DiagramObject::Property::TextMargins,
                              DiagramObject::Property::ArrowTip})
            record(owner, property);
        return;
    }
    if (!DiagramObject::from(grabbed))
        return;
    // The selection moves together; a linked text or shape follows its partner.
    QSet<DiagramObject *> moving;
    for (QGraphicsItem *item : selectedItems()) {
        DiagramObject *object = DiagramObject::from(item);
        if (!object || moving.contains(object))
            continue;
        moving.insert(object);
        record(object, DiagramObject::Property::Position);
        DiagramObject *partner = nullptr;
        if (auto *shape = qgraphicsitem_cast<DiagramItem *>(item))
            partner = shape->linkedText();
        else if (auto *text = qgraphicsitem_cast<DiagramTextItem *>(item))
            partner = text->linkedItem();
        if (partner && !moving.contains(partner)) {
            moving.insert(partner);
            record(partner, DiagramObject::Property::Position);
        }
    }
}

void DiagramScene::endDragRecord()
{
    QList<PropertyCommand::Entry> entries;
    int moved = 0;
    for (int i = 0; i < dragRecord.objects.size(); ++i) {
        DiagramObject *object = dragRecord.objects.at(i);
        const auto property = dragRecord.properties.at(i);
        const QVariant now = object->value(property);
        if (now == dragRecord.before.at(i))
            continue;
        entries.append({object, property, dragRecord.before.at(i), now});
        moved += property == DiagramObject::Property::Position;
    }
    dragRecord = {};
    if (entries.isEmpty())
        return;
    const QString text = moved > 0 ? PropertyCommand::textFor(DiagramObject::Property::Position, moved)
                                   : PropertyCommand::textFor(entries.first().property, 1);
    push(new PropertyCommand(text, entries));
}

void DiagramScene::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Paste)) {
        pasteAtPosition = false;
        paste();
    }
    // An edited text still receives the key.
    QGraphicsScene::keyPressEvent(event);
}

void DiagramScene::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    const QPointF position = event->scenePos();
    const QList<QGraphicsItem *> all = items();
    for (const QGraphicsItem *item : all) {
        if (item->sceneBoundingRect().contains(position)) {
            // The item under the cursor shows its own menu.
            QGraphicsScene::contextMenuEvent(event);
            return;
        }
    }
    clearSelection();
    pasteAtPosition = true;
    pastePosition = position;
    emit sceneMenuRequested(event->screenPos());
}

void DiagramScene::editorLostFocus(DiagramTextItem *item)
{
    QTextCursor cursor = item->textCursor();
    cursor.clearSelection();
    item->setTextCursor(cursor);
    if (!item->toPlainText().isEmpty() || item->scene() != this)
        return;
    // Later: we are inside the text's own focus handling.
    QPointer<DiagramTextItem> emptied(item);
    QMetaObject::invokeMethod(this, [this, emptied] {
        if (emptied && emptied->scene() == this && emptied->toPlainText().isEmpty())
            removeEmptiedText(emptied);
    }, Qt::QueuedConnection);
}

// A text left empty goes. Just inserted, its insertion is taken back as if
// it never was; after other changes, it is deleted as one more step.
void DiagramScene::removeEmptiedText(DiagramTextItem *text)
{
    const QUndoCommand *last = m_undoStack && m_undoStack->canUndo()
        ? m_undoStack->command(m_undoStack->index() - 1) : nullptr;
    auto *insertion = dynamic_cast<ObjectsCommand *>(const_cast<QUndoCommand *>(last));
    if (insertion && insertion->isInsertionOf(text)) {
        insertion->discardOnUndo();
        m_undoStack->undo();
        return;
    }
    push(ObjectsCommand::deletion(this, {text}));
}

void DiagramScene::insertText(const QPointF &position)
{
    const SceneCounters before = m_counters;
    DiagramTextItem *text = newText();
    text->setId(m_counters.nbItems);
    text->setFont(m_font);
    text->setAlignment(m_textAlignment);
    text->setTextInteractionFlags(Qt::TextEditorInteraction);
    text->setZValue(1000.0);
    addItem(text);
    registerItem(text);
    text->setDefaultTextColor(m_textColor);
    text->setPos(position);
    text->setName(QStringLiteral("Texte ") + QString::number(m_counters.nbText));
    ++m_counters.nbText;
    ++m_counters.nbItems;
    announceInsertion(text);
    recordInsertion({text}, before);
}

void DiagramScene::insertPixmap(const QPointF &position)
{
    // An unreadable picture file would make an item nobody can see.
    if (m_pixmapToAdd.isNull())
        return;
    const SceneCounters before = m_counters;
    DiagramImage *image = newImage();
    image->setContent(m_pathToAdd, m_pixmapToAdd, m_isMathToAdd);
    image->setId(m_counters.nbItems);
    addItem(image);
    // Integer halves, so that the position is the pixmap's centre.
    image->setOffset(-(m_pixmapToAdd.width() / 2), -(m_pixmapToAdd.height() / 2));
    image->setPos(position);
    image->setZValue(1000.0);
    image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
    registerItem(image);
    ++m_counters.nbItems;
    int &counter = m_isMathToAdd ? m_counters.nbMath : m_counters.nbImage;
    image->setName((m_isMathToAdd ? QStringLiteral("Math ") : QStringLiteral("Image "))
                   + QString::number(counter++));
    announceInsertion(image);
    recordInsertion({image}, before);
}

void DiagramScene::updatePreview()
{
    const double dx = currentPosition.x() - pressPosition.x();
    const double dy = currentPosition.y() - pressPosition.y();
    if (!isDragging && !(qAbs(dx) >= dragThreshold && qAbs(dy) >= dragThreshold))
        return;
    isDragging = true;
    if (!previewItem) {
        previewItem = newShape(m_itemType);
        QPen pen;
        pen.setStyle(Qt::DashLine);
        pen.setCosmetic(true);
        previewItem->setPen(pen);
        previewItem->setBrush(Qt::NoBrush);
        addItem(previewItem);
    }
    const QRectF r = previewItem->boundingRect();
    previewItem->changeTransform(0, true, qAbs(dx / r.width()), qAbs(dy / r.height()), true);
    previewItem->setPos(pressPosition.x() + 0.5 * dx, pressPosition.y() + 0.5 * dy);
}

int &DiagramScene::shapeCounter(DiagramItem::DiagramType type)
{
    switch (type) {
    case DiagramItem::Carre: return m_counters.nbCarre;
    case DiagramItem::RoundedCarre: return m_counters.nbRoundedCarre;
    case DiagramItem::Triangle: return m_counters.nbTriangle;
    case DiagramItem::Pentagone: return m_counters.nbPentagone;
    case DiagramItem::Cercle: return m_counters.nbCercle;
    case DiagramItem::Rectangle: return m_counters.nbRectangle;
    case DiagramItem::RoundedRectangle: break;
    }
    return m_counters.nbRoundedRectangle;
}

void DiagramScene::insertShape(const QPointF &releasePosition)
{
    const SceneCounters before = m_counters;
    DiagramItem *shape = newShape(m_itemType);
    shape->setBrush(QBrush(m_itemColor, Qt::SolidPattern));
    shape->setId(m_counters.nbItems);
    if (isDragging && previewItem) {
        const QGraphicsScale *scale = previewItem->scaleTransform();
        shape->changeTransform(0, true, scale->xScale(), scale->yScale(), false);
        shape->setPos(previewItem->scenePos());
    } else {
        shape->setPos(releasePosition);
    }
    ++m_counters.nbItems;
    addItem(shape);
    registerItem(shape);
    int &counter = shapeCounter(m_itemType);
    shape->setName(DiagramItem::typeName(m_itemType) + QLatin1Char(' ') + QString::number(counter));
    ++counter;
    delete previewItem;
    previewItem = nullptr;
    isDragging = false;
    announceInsertion(shape);
    recordInsertion({shape}, before);
}

QGraphicsItem *DiagramScene::topItemAt(const QPointF &point, const QGraphicsItem *ignored) const
{
    QList<QGraphicsItem *> hits = items(point, Qt::IntersectsItemShape, Qt::DescendingOrder,
                                        QTransform());
    if (!hits.isEmpty() && hits.first() == ignored)
        hits.removeFirst();
    return hits.isEmpty() ? nullptr : hits.first();
}

void DiagramScene::finishArrow()
{
    const QLineF line = arrowLine->line();
    QGraphicsItem *start = topItemAt(line.p1(), arrowLine);
    QGraphicsItem *end = topItemAt(line.p2(), arrowLine);
    removeItem(arrowLine);
    delete arrowLine;
    arrowLine = nullptr;
    if (!start || !end || start == end || !isArrowEnd(start) || !isArrowEnd(end))
        return;

    const SceneCounters before = m_counters;
    Arrow *arrow = newArrow(start, end, 20);
    arrow->setColor(m_lineColor);
    // Under everything, so that the ends hide the line's ends.
    arrow->setZValue(-1000.0);
    arrow->setName(QStringLiteral("Flèche ") + QString::number(m_counters.nbArrows));
    arrow->setId(m_counters.nbItems);
    addItem(arrow);
    registerItem(arrow);
    ++m_counters.nbArrows;
    ++m_counters.nbItems;
    arrow->updatePosition();
    announceInsertion(arrow);
    recordInsertion({arrow}, before);
}

void DiagramScene::finishLink()
{
    const QLineF line = linkLine->line();
    QGraphicsItem *start = topItemAt(line.p1(), linkLine);
    QGraphicsItem *end = topItemAt(line.p2(), linkLine);
    removeItem(linkLine);
    delete linkLine;
    linkLine = nullptr;
    if (!start || !end || start->type() != DiagramItem::Type
        || end->type() != DiagramTextItem::Type)
        return;

    auto *text = static_cast<DiagramTextItem *>(end);
    auto *shape = static_cast<DiagramItem *>(start);
    // One text per shape and one shape per text; linking a pair again only
    // announces it.
    if (!text->isLinked() && !shape->hasLinkedText())
        push(new LinkCommand(this, text, shape, true));
    else if (text->linkedItem() == shape)
        emit itemsLinked(text, shape);
}
