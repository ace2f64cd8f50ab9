#include "scene/DiagramScene.h"

#include "scene/DiagramImage.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QPen>

#include <algorithm>

// Copy and paste: references to the selected items, and new items made from
// them with new ids and de-duplicated names.

namespace {

// Arrows need both their ends: they do not paste alone.
bool isPastable(const QGraphicsItem *item)
{
    const DiagramObject *object = DiagramObject::from(item);
    return object && object->kind() != DiagramObject::Kind::Arrow;
}

QString nameOf(const QGraphicsItem *item)
{
    return DiagramObject::from(item)->name();
}

// "name (n)" with the smallest n from 1 that no item of the kind uses yet;
// the chosen name is taken at once for the next paste of the same run.
QString takeFreeName(const QString &name, QSet<QString> &taken)
{
    int n = 1;
    QString candidate;
    do {
        candidate = name + QStringLiteral(" (") + QString::number(n++) + QLatin1Char(')');
    } while (taken.contains(candidate));
    taken.insert(candidate);
    return candidate;
}

} // namespace

void DiagramScene::copy()
{
    copiedItems.clear();
    // Handles and arrows are selectable too, but only these kinds paste.
    const QList<QGraphicsItem *> selected = selectedItems();
    for (QGraphicsItem *item : selected) {
        if (isPastable(item))
            copiedItems.append(track(item));
    }
}

void DiagramScene::paste()
{
    // A snapshot: the insertion signals reach code that may delete items.
    QList<TrackedItem> sources = copiedItems;
    sources.erase(std::remove_if(sources.begin(), sources.end(),
                                 [this](const TrackedItem &t) { return !isLive(t); }),
                  sources.end());
    if (sources.isEmpty())
        return;
    QHash<int, QSet<QString>> taken = namesByType();
    const SceneCounters before = m_counters;
    QList<TrackedItem> pasted;
    for (const TrackedItem &source : qAsConst(sources)) {
        // An earlier paste's signal handler may have deleted a later source.
        if (!isLive(source))
            continue;
        const QPointF position = pasteAtPosition ? pastePosition
                                                 : source.item->scenePos() + QPointF(30, 30);
        const QString name = takeFreeName(nameOf(source.item), taken[source.item->type()]);
        if (QGraphicsItem *copy = pasteItem(source.item, position, name))
            pasted.append(track(copy));
    }
    // The copies are what the user wants to move next, not the originals.
    clearSelection();
    QList<DiagramObject *> copies;
    for (const TrackedItem &copy : qAsConst(pasted)) {
        if (isLive(copy)) {
            copy.item->setSelected(true);
            copies.append(DiagramObject::from(copy.item));
        }
    }
    recordInsertion(copies, before);
}

QHash<int, QSet<QString>> DiagramScene::namesByType() const
{
    QHash<int, QSet<QString>> names;
    const QList<QGraphicsItem *> all = items();
    for (const QGraphicsItem *item : all) {
        if (isPastable(item))
            names[item->type()].insert(nameOf(item));
    }
    return names;
}

QGraphicsItem *DiagramScene::pasteItem(QGraphicsItem *sourceItem, const QPointF &position,
                                       const QString &name)
{
    switch (sourceItem->type()) {
    case DiagramTextItem::Type: {
        const auto *source = static_cast<const DiagramTextItem *>(sourceItem);
        DiagramTextItem *text = newText();
        text->setId(m_counters.nbItems++);
        text->setFont(source->font());
        text->setTextInteractionFlags(Qt::TextEditorInteraction);
        text->setZValue(source->zValue());
        addItem(text);
        registerItem(text);
        text->setDefaultTextColor(source->defaultTextColor());
        text->setPos(position);
        text->setName(name);
        text->setPlainText(source->toPlainText());
        text->setAlignment(source->alignment());
        announceInsertion(text);
        return text;
    }
    case DiagramImage::Type: {
        const auto *source = static_cast<const DiagramImage *>(sourceItem);
        const QPixmap pixmap = source->pixmap();
        DiagramImage *image = newImage();
        image->setContent(source->path(), pixmap, source->isMath());
        image->setId(m_counters.nbItems++);
        addItem(image);
        image->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
        image->setPos(position);
        image->setZValue(source->zValue());
        image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
        image->changeTransform(int(source->rotationTransform()->angle()), false, 0.0);
        image->changeTransform(0, true, source->scaleTransform()->xScale());
        image->setName(name);
        registerItem(image);
        announceInsertion(image);
        return image;
    }
    case DiagramItem::Type: {
        const auto *source = static_cast<const DiagramItem *>(sourceItem);
        DiagramItem *shape = newShape(source->diagramType());
        shape->changeTransform(int(source->rotationTransform()->angle()), false, 0, 0, false);
        shape->changeTransform(0, true, source->scaleTransform()->xScale(),
                               source->scaleTransform()->yScale(), false);
        QPen pen;
        pen.setCosmetic(true);
        pen.setWidth(source->pen().width());
        pen.setColor(source->pen().color());
        shape->setPen(pen);
        shape->setName(name);
        shape->setId(m_counters.nbItems++);
        shape->setBrush(source->brush());
        shape->setZValue(source->zValue());
        addItem(shape);
        shape->setPos(position);
        registerItem(shape);
        announceInsertion(shape);
        return shape;
    }
    default:
        return nullptr;
    }
}
