#include "scene/DiagramScene.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsLineItem>

#include <algorithm>

// Construction, drawing defaults, background, item factories and the id index.

namespace {

// The id of a shape, picture/formula, text or arrow; -1 for anything else.
int itemId(const QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type: return static_cast<const DiagramItem *>(item)->id();
    case DiagramImage::Type: return static_cast<const DiagramImage *>(item)->id();
    case DiagramTextItem::Type: return static_cast<const DiagramTextItem *>(item)->id();
    case Arrow::Type: return static_cast<const Arrow *>(item)->id();
    default: return -1;
    }
}

// The first selected item when it is of type T, else null.
template <typename T>
T *firstSelected(const QGraphicsScene *scene)
{
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.isEmpty() || selected.first()->type() != T::Type)
        return nullptr;
    return static_cast<T *>(selected.first());
}

} // namespace

DiagramScene::DiagramScene(QMenu *itemMenu, QMenu *imageMenu, QMenu *textMenu,
                           QMenu *arrowMenu, SpinboxActionWidget *borderWidthAction,
                           ColorActionWidget *borderColorAction,
                           SpinboxActionWidget *arrowWidthAction,
                           LineInputActionWidget *itemNameAction,
                           LineInputActionWidget *imageNameAction,
                           LineInputActionWidget *textNameAction,
                           LineInputActionWidget *arrowNameAction, QMenu *sceneMenu,
                           QObject *parent)
    : QGraphicsScene(parent)
    , itemMenu(itemMenu)
    , imageMenu(imageMenu)
    , textMenu(textMenu)
    , arrowMenu(arrowMenu)
    , sceneMenu(sceneMenu)
    , borderWidthAction(borderWidthAction)
    , borderColorAction(borderColorAction)
    , arrowWidthAction(arrowWidthAction)
    , itemNameAction(itemNameAction)
    , imageNameAction(imageNameAction)
    , textNameAction(textNameAction)
    , arrowNameAction(arrowNameAction)
{
    // Qt's BSP index answers every query with all the items that ignore
    // transformations (five handles per shape or picture) and is rebuilt as
    // items move and change selection; on large diagrams one selection of
    // everything cost quadratic time. A linear scan is cheaper here.
    setItemIndexMethod(NoIndex);
    // Readable at 100 %, as other editors start their texts.
    m_font.setPointSize(12);
}

DiagramScene::~DiagramScene()
{
    // Items reach back into the scene while they are destroyed (a shape asks
    // for its arrows to be removed), so they go while the scene is whole; the
    // window hears nothing of a scene it is throwing away.
    blockSignals(true);
    clear();
}

void DiagramScene::setFont(const QFont &font)
{
    m_font = font;
    if (DiagramTextItem *text = firstSelected<DiagramTextItem>(this))
        text->setFont(font);
}

void DiagramScene::setTextColor(const QColor &color)
{
    m_textColor = color;
    if (DiagramTextItem *text = firstSelected<DiagramTextItem>(this))
        text->setDefaultTextColor(color);
}

void DiagramScene::setItemColor(const QColor &color)
{
    m_itemColor = color;
    if (DiagramItem *shape = firstSelected<DiagramItem>(this))
        shape->setBrush(QBrush(color, Qt::SolidPattern));
}

void DiagramScene::setLineColor(const QColor &color)
{
    m_lineColor = color;
    if (Arrow *arrow = firstSelected<Arrow>(this)) {
        arrow->setColor(color);
        update();
    }
}

void DiagramScene::setTextAlignment(int alignment)
{
    m_textAlignment = alignment;
    if (DiagramTextItem *text = firstSelected<DiagramTextItem>(this))
        text->setAlignment(alignment);
}

bool DiagramScene::isItemChange(int type) const
{
    const QList<QGraphicsItem *> selected = selectedItems();
    return std::any_of(selected.cbegin(), selected.cend(),
                       [type](const QGraphicsItem *item) { return item->type() == type; });
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

DiagramItem *DiagramScene::newShape(DiagramItem::DiagramType type) const
{
    return new DiagramItem(type, itemMenu, borderWidthAction, borderColorAction, itemNameAction);
}

DiagramTextItem *DiagramScene::newText() const
{
    return new DiagramTextItem(textMenu, textNameAction);
}

DiagramImage *DiagramScene::newImage() const
{
    return new DiagramImage(imageMenu, imageNameAction);
}

Arrow *DiagramScene::newArrow(QGraphicsItem *startItem, QGraphicsItem *endItem,
                              int arrowSize) const
{
    return new Arrow(arrowMenu, arrowSize, startItem, endItem, arrowWidthAction,
                     arrowNameAction);
}

void DiagramScene::registerItem(QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type: {
        auto *shape = static_cast<DiagramItem *>(item);
        connect(shape, &DiagramItem::removeArrowFromScene, this, &DiagramScene::removeArrow,
                Qt::UniqueConnection);
        connect(shape, &DiagramItem::nameChanged, this, &DiagramScene::itemNameChanged,
                Qt::UniqueConnection);
        break;
    }
    case DiagramImage::Type:
        connect(static_cast<DiagramImage *>(item), &DiagramImage::removeArrowFromScene, this,
                &DiagramScene::removeArrow, Qt::UniqueConnection);
        break;
    case DiagramTextItem::Type: {
        auto *text = static_cast<DiagramTextItem *>(item);
        connect(text, &DiagramTextItem::lostFocus, this, &DiagramScene::editorLostFocus,
                Qt::UniqueConnection);
        connect(text, &DiagramTextItem::selectedChange, this, &DiagramScene::textSelected,
                Qt::UniqueConnection);
        break;
    }
    case Arrow::Type:
        break;
    default:
        qWarning("DiagramScene::registerItem: only shapes, pictures, texts and arrows have ids");
        return;
    }
    const int id = itemId(item);
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
        } else if (itemId(it->item) != id) {
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
        idIndex.insert(itemId(tracked.item), tracked);
    return found;
}

DiagramScene::TrackedItem DiagramScene::track(QGraphicsItem *item)
{
    QObject *object = nullptr;
    switch (item->type()) {
    case DiagramItem::Type: object = static_cast<DiagramItem *>(item); break;
    case DiagramImage::Type: object = static_cast<DiagramImage *>(item); break;
    case DiagramTextItem::Type: object = static_cast<DiagramTextItem *>(item); break;
    case Arrow::Type: object = static_cast<Arrow *>(item); break;
    default: break;
    }
    Q_ASSERT(object);
    return {object, item};
}

bool DiagramScene::isLive(const TrackedItem &tracked) const
{
    return !tracked.guard.isNull() && tracked.item->scene() == this;
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

void DiagramScene::removeArrow(Arrow *arrow)
{
    emit itemWillBeDeleted(arrow);
    if (arrow->scene() == this)
        removeItem(arrow);
}
