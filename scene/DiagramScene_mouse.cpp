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
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTextCursor>
#include <QUndoStack>
#include <QUrl>

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
        insertText(pressPosition, QString());
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
    // While a line is drawn the items stay put: a handle pressed on must
    // not start turning or resizing its item. The press still ends a text's
    // editing, as a press anywhere does.
    if (m_mode == InsertLine || m_mode == LinkText) {
        setFocusItem(nullptr);
        return;
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
    for (DiagramObject *object : movingWithSelection())
        record(object, DiagramObject::Property::Position);
}

// The selected objects and the linked texts or shapes that follow them,
// each once.
QList<DiagramObject *> DiagramScene::movingWithSelection() const
{
    QList<DiagramObject *> moving;
    QSet<DiagramObject *> seen;
    const auto take = [&](DiagramObject *object) {
        if (object && !seen.contains(object)) {
            seen.insert(object);
            moving.append(object);
        }
    };
    for (QGraphicsItem *item : selectedItems()) {
        take(DiagramObject::from(item));
        if (auto *shape = qgraphicsitem_cast<DiagramItem *>(item))
            take(shape->linkedText());
        else if (auto *text = qgraphicsitem_cast<DiagramTextItem *>(item))
            take(text->linkedItem());
    }
    return moving;
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
    QGraphicsItem *edited = focusItem();
    if (event->key() == Qt::Key_Escape) {
        // The editing ends with the text kept; a drag under way is undone.
        if (edited)
            edited->clearFocus();
        cancelDrag();
        emit escapePressed();
        return;
    }
    // An edited text receives every other key.
    if (!edited && nudgeSelection(event))
        return;
    QGraphicsScene::keyPressEvent(event);
}

// The arrow keys move the selection by a unit, ten with Shift; the moves
// that follow each other make one step of the history.
bool DiagramScene::nudgeSelection(QKeyEvent *event)
{
    const double step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPointF by;
    switch (event->key()) {
    case Qt::Key_Left: by = QPointF(-step, 0); break;
    case Qt::Key_Right: by = QPointF(step, 0); break;
    case Qt::Key_Up: by = QPointF(0, -step); break;
    case Qt::Key_Down: by = QPointF(0, step); break;
    default: return false;
    }
    QList<PropertyCommand::Entry> entries;
    for (DiagramObject *object : movingWithSelection()) {
        if (object->kind() == DiagramObject::Kind::Arrow)
            continue;
        const QPointF at = object->graphicsItem()->pos();
        entries.append({object, DiagramObject::Property::Position, at, at + by});
    }
    if (entries.isEmpty())
        return false;
    auto *command = new PropertyCommand(
        PropertyCommand::textFor(DiagramObject::Property::Position, entries.size()), entries);
    command->setMergeable(true);
    push(command);
    return true;
}

void DiagramScene::cancelDrag()
{
    if (!isMouseDown())
        return;
    for (int i = 0; i < dragRecord.objects.size(); ++i)
        dragRecord.objects.at(i)->setValue(dragRecord.properties.at(i), dragRecord.before.at(i));
    dragRecord = {};
    delete previewItem;
    previewItem = nullptr;
    delete arrowLine;
    arrowLine = nullptr;
    delete linkLine;
    linkLine = nullptr;
    isPressed = false;
    isDragging = false;
    if (QGraphicsItem *grabber = mouseGrabberItem())
        grabber->ungrabMouse();
}

namespace {

// The local files a drag carries; a drag of anything else is the items'.
QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void DiagramScene::dragEnterEvent(QGraphicsSceneDragDropEvent *event)
{
    if (localFiles(event->mimeData()).isEmpty())
        QGraphicsScene::dragEnterEvent(event);
    else
        event->acceptProposedAction();
}

void DiagramScene::dragMoveEvent(QGraphicsSceneDragDropEvent *event)
{
    if (localFiles(event->mimeData()).isEmpty())
        QGraphicsScene::dragMoveEvent(event);
    else
        event->acceptProposedAction();
}

void DiagramScene::dropEvent(QGraphicsSceneDragDropEvent *event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty()) {
        QGraphicsScene::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(paths, event->scenePos());
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
    pastePosition = position;
    emit sceneMenuRequested(event->screenPos());
}

void DiagramScene::editorLostFocus(DiagramTextItem *item)
{
    // The text has ended its editing, and its selection with it.
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

DiagramTextItem *DiagramScene::insertText(const QPointF &position, const QString &content)
{
    const SceneCounters before = m_counters;
    DiagramTextItem *text = makeText(position, content);
    recordInsertion({text}, before);
    return text;
}

DiagramTextItem *DiagramScene::insertLabel(DiagramItem *shape)
{
    const SceneCounters before = m_counters;
    DiagramTextItem *text = makeText(shape->scenePos(), QString());
    auto *insertion = ObjectsCommand::insertion(this, {text}, before);
    new LinkCommand(this, text, shape, true, insertion);
    push(insertion);
    return text;
}

DiagramTextItem *DiagramScene::makeText(const QPointF &position, const QString &content)
{
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
    text->setPlainText(content);
    ++m_counters.nbText;
    ++m_counters.nbItems;
    announceInsertion(text);
    return text;
}

void DiagramScene::insertPixmap(const QPointF &position)
{
    insertPicture(m_pathToAdd, m_pixmapToAdd, m_isMathToAdd, position);
}

DiagramImage *DiagramScene::insertPicture(const QString &path, const QPixmap &pixmap, bool isMath,
                                          const QPointF &position)
{
    // An unreadable picture file would make an item nobody can see.
    if (pixmap.isNull())
        return nullptr;
    const SceneCounters before = m_counters;
    DiagramImage *image = newImage();
    image->setContent(path, pixmap, isMath);
    image->setId(m_counters.nbItems);
    addItem(image);
    // Integer halves, so that the position is the pixmap's centre.
    image->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
    image->setPos(position);
    image->setZValue(1000.0);
    image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
    registerItem(image);
    ++m_counters.nbItems;
    int &counter = isMath ? m_counters.nbMath : m_counters.nbImage;
    image->setName((isMath ? QStringLiteral("Math ") : QStringLiteral("Image "))
                   + QString::number(counter++));
    announceInsertion(image);
    recordInsertion({image}, before);
    return image;
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

// The topmost object at the point, other than `ignored`; a handle stands
// for the shape or picture it belongs to, so that a drag started on the
// handles of a selected item still joins that item.
QGraphicsItem *DiagramScene::topItemAt(const QPointF &point, const QGraphicsItem *ignored) const
{
    const QList<QGraphicsItem *> hits = items(point, Qt::IntersectsItemShape,
                                              Qt::DescendingOrder, QTransform());
    for (QGraphicsItem *hit : hits) {
        if (hit == ignored)
            continue;
        if (!DiagramObject::from(hit) && DiagramObject::from(hit->parentItem()))
            return hit->parentItem();
        return hit;
    }
    return nullptr;
}

void DiagramScene::finishArrow()
{
    // A shape's label stands for its shape.
    const auto endAt = [this](const QPointF &point) {
        QGraphicsItem *item = topItemAt(point, arrowLine);
        auto *text = qgraphicsitem_cast<DiagramTextItem *>(item);
        return text && text->isLinked() ? text->linkedItem() : item;
    };
    const QLineF line = arrowLine->line();
    QGraphicsItem *start = endAt(line.p1());
    QGraphicsItem *end = endAt(line.p2());
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
