#include "scene/DiagramScene.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramTextItem.h"
#include "scene/ObjectsCommand.h"
#include "scene/PropertyCommand.h"

#include <QGraphicsLineItem>
#include <QUndoStack>


// Construction, drawing defaults, background, item factories, the id index
// and the order of the item list.

DiagramScene::DiagramScene(QObject *parent)
    : QGraphicsScene(parent)
{
    // Qt's BSP index spares repaints and clicks a walk over every item. It
    // pays for each item that ignores transformations at every query, which
    // is why the handles undo their parent's transform themselves.
    setItemIndexMethod(BspTreeIndex);
    // Readable at 100 %, as other editors start their texts.
    m_font.setPointSize(12);
}

DiagramScene::~DiagramScene()
{
    // Items reach back into the scene while they are destroyed (a shape takes
    // its arrows with it), so they go while the scene is whole; the window
    // hears nothing of a scene it is throwing away.
    blockSignals(true);
    // A shape deletes its arrows, and the scene searched its whole list for
    // each of them; arrows that have let go of their ends are left to
    // clear(), which takes the items apart in its own order, each at once.
    for (const auto &entry : listOrder) {
        if (isLive(entry.second) && entry.second.item->type() == Arrow::Type)
            static_cast<Arrow *>(entry.second.item)->releaseEnds();
    }
    clear();
}

void DiagramScene::setHandleZoom(qreal zoom)
{
    m_handleZoom = zoom;
    // Only selected items show their handles; the others are placed when
    // they are shown.
    for (QGraphicsItem *item : selectedItems()) {
        if (DiagramObject *object = DiagramObject::from(item))
            object->placeHandles();
    }
}

void DiagramScene::growToCover(const QRectF &area)
{
    QRectF grown = sceneRect();
    if (area.isEmpty() || grown.contains(area))
        return;
    const qreal roomX = grown.width() / 2;
    const qreal roomY = grown.height() / 2;
    if (area.left() < grown.left())
        grown.setLeft(area.left() - roomX);
    if (area.right() > grown.right())
        grown.setRight(area.right() + roomX);
    if (area.top() < grown.top())
        grown.setTop(area.top() - roomY);
    if (area.bottom() > grown.bottom())
        grown.setBottom(area.bottom() + roomY);
    setSceneRect(grown);
}

void DiagramScene::setFont(const QFont &font)
{
    m_font = font;
}

void DiagramScene::setTextColor(const QColor &color)
{
    m_textColor = color;
}

void DiagramScene::setItemColor(const QColor &color)
{
    m_itemColor = color;
}

void DiagramScene::setLineColor(const QColor &color)
{
    m_lineColor = color;
}

void DiagramScene::setTextAlignment(int alignment)
{
    m_textAlignment = alignment;
}

void DiagramScene::setBackground(const QBrush &brush, bool transparent, bool colour,
                                 bool picture, const QString &path, const QColor &color)
{
    setBackgroundBrush(brush);
    m_transparent = transparent;
    m_colorBackground = colour;
    m_pictureBackground = picture;
    m_backgroundPath = path;
    m_backgroundColor = color;
}

void DiagramScene::setBackground(const SceneBackground &background)
{
    setBackground(background.brush, background.transparent, background.colour,
                  background.picture, background.path, background.color);
}

SceneBackground DiagramScene::background() const
{
    return {backgroundBrush(), m_transparent, m_colorBackground, m_pictureBackground,
            m_backgroundPath, m_backgroundColor};
}

void DiagramScene::push(QUndoCommand *command)
{
    if (auto *change = dynamic_cast<PropertyCommand *>(command)) {
        if (change->isEmpty()) {
            delete command;
            return;
        }
    }
    if (m_undoStack) {
        m_undoStack->push(command);
    } else {
        command->redo();
        delete command;
    }
}

DiagramItem *DiagramScene::newShape(DiagramItem::DiagramType type) const
{
    return new DiagramItem(type);
}

DiagramTextItem *DiagramScene::newText() const
{
    return new DiagramTextItem;
}

DiagramImage *DiagramScene::newImage() const
{
    return new DiagramImage;
}

Arrow *DiagramScene::newArrow(QGraphicsItem *startItem, QGraphicsItem *endItem,
                              int arrowSize) const
{
    return new Arrow(arrowSize, startItem, endItem);
}

void DiagramScene::registerItem(QGraphicsItem *item)
{
    DiagramObject *object = DiagramObject::from(item);
    if (!object) {
        qWarning("DiagramScene::registerItem: only shapes, pictures, texts and arrows have ids");
        return;
    }
    if (item->type() == DiagramTextItem::Type) {
        auto *text = static_cast<DiagramTextItem *>(item);
        connect(text, &DiagramTextItem::lostFocus, this, &DiagramScene::editorLostFocus,
                Qt::UniqueConnection);
        connect(text, &DiagramTextItem::selectedChange, this, &DiagramScene::textSelected,
                Qt::UniqueConnection);
    }
    // A new object comes after every other in the list, even those kept
    // aside for undo; one put back keeps its place.
    if (object->listKey() <= 0.0)
        object->setListKey(++lastListKey);
    listOrder[object->listKey()] = track(item);

    const int id = object->id();
    for (auto it = idIndex.constFind(id); it != idIndex.cend() && it.key() == id; ++it) {
        if (it->item == item && !it->guard.isNull())
            return;
    }
    idIndex.insert(id, track(item));
}

QGraphicsItem *DiagramScene::itemById(int id) const
{
    QGraphicsItem *found = nullptr;
    QList<TrackedItem> renumbered;
    auto it = idIndex.find(id);
    while (it != idIndex.end() && it.key() == id) {
        if (!isLive(*it)) {
            it = idIndex.erase(it);
        } else if (DiagramObject::from(it->item)->id() != id) {
            renumbered.append(*it);
            it = idIndex.erase(it);
        } else {
            if (!found)
                found = it->item;
            ++it;
        }
    }
    // An item whose id was changed after registration is filed again under
    // its new id rather than lost.
    for (const TrackedItem &tracked : qAsConst(renumbered))
        idIndex.insert(DiagramObject::from(tracked.item)->id(), tracked);
    return found;
}

QList<DiagramObject *> DiagramScene::objects() const
{
    QList<DiagramObject *> inOrder;
    inOrder.reserve(int(listOrder.size()));
    for (const auto &entry : listOrder) {
        if (isLive(entry.second))
            inOrder.append(DiagramObject::from(entry.second.item));
    }
    return inOrder;
}

void DiagramScene::removeObjects(const QList<DiagramObject *> &objects)
{
    if (objects.isEmpty())
        return;
    emit objectsRemoved(objects);
    // Qt's index keeps the items added since its last query in a list that
    // each removal searches; one query files them first.
    items(QPointF());
    for (DiagramObject *object : objects) {
        auto found = listOrder.find(object->listKey());
        if (found != listOrder.end() && found->second.item == object->graphicsItem())
            listOrder.erase(found);
        removeItem(object->graphicsItem());
    }
}

void DiagramScene::restoreObjects(const QList<DiagramObject *> &objects)
{
    if (objects.isEmpty())
        return;
    for (DiagramObject *object : objects) {
        addItem(object->graphicsItem());
        registerItem(object->graphicsItem());
    }
    emit objectsRestored(objects);
}

DiagramScene::TrackedItem DiagramScene::track(QGraphicsItem *item)
{
    DiagramObject *object = DiagramObject::from(item);
    Q_ASSERT(object);
    return {object->qObject(), item};
}

bool DiagramScene::isLive(const TrackedItem &tracked) const
{
    return !tracked.guard.isNull() && tracked.item->scene() == this;
}

void DiagramScene::announceInsertion(DiagramObject *object)
{
    QGraphicsItem *item = object->graphicsItem();
    switch (object->kind()) {
    case DiagramObject::Kind::Shape:
        emit itemInserted(static_cast<DiagramItem *>(item));
        break;
    case DiagramObject::Kind::Text:
        emit textInserted(static_cast<DiagramTextItem *>(item));
        break;
    case DiagramObject::Kind::Formula:
        emit mathInserted(static_cast<DiagramImage *>(item));
        break;
    case DiagramObject::Kind::Picture:
        emit imageInserted(static_cast<DiagramImage *>(item));
        break;
    case DiagramObject::Kind::Arrow:
        emit arrowInserted(static_cast<Arrow *>(item));
        break;
    }
}

void DiagramScene::recordInsertion(const QList<DiagramObject *> &objects,
                                   const SceneCounters &countersBefore)
{
    if (!objects.isEmpty())
        push(ObjectsCommand::insertion(this, objects, countersBefore));
}

void DiagramScene::addLoadedItem(QGraphicsItem *item)
{
    if (item->scene() != this)
        addItem(item);
    registerItem(item);
    announceInsertion(DiagramObject::from(item));
}

bool DiagramScene::linkText(DiagramTextItem *text, DiagramItem *shape)
{
    // One text per shape and one shape per text: a second link on either
    // side would leave two items steering each other.
    if (!text->isLinked() && !shape->hasLinkedText()) {
        text->linkTo(shape);
        shape->setLinkedText(text);
        // The shape's entry moves to just after the text's, before whatever
        // followed the text.
        auto next = listOrder.upper_bound(text->listKey());
        if (next != listOrder.end() && next->second.item == shape)
            ++next;
        const double after = next == listOrder.end() ? text->listKey() + 1.0 : next->first;
        setListKey(shape, (text->listKey() + after) / 2.0);
    }
    if (text->linkedItem() != shape || shape->linkedText() != text)
        return false;
    emit itemsLinked(text, shape);
    return true;
}

void DiagramScene::restoreLink(DiagramTextItem *text, DiagramItem *shape)
{
    text->linkTo(shape);
    shape->setLinkedText(text);
    emit itemsLinked(text, shape);
}

void DiagramScene::moveInList(DiagramObject *object, double listKey)
{
    setListKey(object, listKey);
    emit listPlaceChanged(object);
}

void DiagramScene::setListKey(DiagramObject *object, double key)
{
    auto found = listOrder.find(object->listKey());
    if (found != listOrder.end() && found->second.item == object->graphicsItem())
        listOrder.erase(found);
    object->setListKey(key);
    if (object->graphicsItem()->scene() == this)
        listOrder[key] = track(object->graphicsItem());
}

void DiagramScene::unlinkText(DiagramTextItem *text, DiagramItem *shape)
{
    text->unlink();
    shape->unlinkText();
    // The shape's entry shows its plain name again.
    notifyRenamed(shape);
}

void DiagramScene::notifyRenamed(DiagramObject *object)
{
    emit itemNameChanged(object->graphicsItem());
}

void DiagramScene::requestContextMenu(DiagramObject *object, const QPoint &screenPosition)
{
    emit contextMenuRequested(object, screenPosition);
}

void DiagramScene::requestEdit(DiagramObject *object)
{
    // The editing ends the gesture: a formula's editor is a window of its
    // own, and the release would never come back to the scene.
    cancelDrag();
    emit editRequested(object);
}

void DiagramScene::setMode(DiagramScene::Mode mode)
{
    m_mode = mode;
}

void DiagramScene::setItemType(DiagramItem::DiagramType type)
{
    m_itemType = type;
}

void DiagramScene::setPixmapToAdd(const QString &path, const QPixmap &pixmap)
{
    m_pathToAdd = path;
    if (pixmap.width() == 0) {
        m_pixmapToAdd = QPixmap(path);
        m_isMathToAdd = false;
    } else {
        m_pixmapToAdd = pixmap;
        m_isMathToAdd = true;
    }
}
