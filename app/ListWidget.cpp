#include "app/ListWidget.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QAbstractItemModel>
#include <QItemSelection>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>


namespace {

// One icon per kind, shared by every entry of that kind: a picture per
// entry would cost a 250 x 250 pixmap per shape on large scenes.
QIcon shapeIcon(DiagramItem::DiagramType type)
{
    static QHash<int, QIcon> icons;
    auto found = icons.find(type);
    if (found == icons.end())
        found = icons.insert(type, QIcon(DiagramItem::imageOf(type)));
    return *found;
}

QIcon resourceIcon(const QString &path)
{
    static QHash<QString, QIcon> icons;
    auto found = icons.find(path);
    if (found == icons.end())
        found = icons.insert(path, QIcon(path));
    return *found;
}

} // namespace

void ListWidget::updateActionsOf(QGraphicsItem *item)
{
    switch (item ? item->type() : 0) {
    case DiagramItem::Type:
        static_cast<DiagramItem *>(item)->updateActions();
        break;
    case DiagramTextItem::Type:
        static_cast<DiagramTextItem *>(item)->updateActions();
        break;
    case DiagramImage::Type:
        static_cast<DiagramImage *>(item)->updateActions();
        break;
    case Arrow::Type:
        static_cast<Arrow *>(item)->updateActions();
        break;
    default:
        break;
    }
}

ListWidget::ListWidget(QMenu *itemMenu, QMenu *imageMenu, QMenu *textMenu, QMenu *arrowMenu,
                       QMenu *multiMenu, DiagramScene *scene, QWidget *parent)
    : QListWidget(parent), itemMenu(itemMenu), imageMenu(imageMenu), textMenu(textMenu),
      arrowMenu(arrowMenu), multiMenu(multiMenu), m_scene(scene)
{
    QAbstractItemModel *rows = model();
    connect(rows, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { indexRows(first, last); });
    connect(rows, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { unindexRows(first, last); });
    connect(rows, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { entriesById.clear(); });
    connect(rows, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                   const QVector<int> &roles) {
                if (roles.isEmpty() || roles.contains(IdRole))
                    indexRows(topLeft.row(), bottomRight.row());
            });
}

ListWidget::~ListWidget()
{
    // The model outlives this part of the object and still reports its
    // clearing while the base class destroys it.
    model()->disconnect(this);
}

void ListWidget::setScene(DiagramScene *scene)
{
    m_scene = scene;
}

QGraphicsItem *ListWidget::getItemById(int id) const
{
    return m_scene ? m_scene->itemById(id) : nullptr;
}

int ListWidget::idOf(const QGraphicsItem *item)
{
    switch (item ? item->type() : 0) {
    case DiagramItem::Type:
        return static_cast<const DiagramItem *>(item)->id();
    case DiagramTextItem::Type:
        return static_cast<const DiagramTextItem *>(item)->id();
    case DiagramImage::Type:
        return static_cast<const DiagramImage *>(item)->id();
    case Arrow::Type:
        return static_cast<const Arrow *>(item)->id();
    default:
        return -1;
    }
}

QString ListWidget::nameOf(const QGraphicsItem *item)
{
    switch (item ? item->type() : 0) {
    case DiagramItem::Type:
        return static_cast<const DiagramItem *>(item)->name();
    case DiagramTextItem::Type:
        return static_cast<const DiagramTextItem *>(item)->name();
    case DiagramImage::Type:
        return static_cast<const DiagramImage *>(item)->name();
    case Arrow::Type:
        return static_cast<const Arrow *>(item)->name();
    default:
        return QString();
    }
}

QListWidgetItem *ListWidget::appendEntry(const QIcon &icon, const QString &name, int id, int type)
{
    auto *entry = new QListWidgetItem(icon, name);
    entry->setData(IdRole, id);
    entry->setData(NameRole, name);
    entry->setData(TypeRole, type);
    addItem(entry);
    return entry;
}

QListWidgetItem *ListWidget::addEntry(DiagramItem *item)
{
    return appendEntry(shapeIcon(item->diagramType()), item->name(), item->id(), item->type());
}

QListWidgetItem *ListWidget::addEntry(DiagramTextItem *item)
{
    return appendEntry(resourceIcon(QStringLiteral(":/images/textpointer.png")), item->name(),
                       item->id(), item->type());
}

QListWidgetItem *ListWidget::addEntry(DiagramImage *item)
{
    const QString icon = item->isMath() ? QStringLiteral(":/images/pi.png")
                                        : QStringLiteral(":/images/img.png");
    return appendEntry(resourceIcon(icon), item->name(), item->id(), item->type());
}

QListWidgetItem *ListWidget::addEntry(Arrow *arrow)
{
    return appendEntry(resourceIcon(QStringLiteral(":/images/linepointer.png")), arrow->name(),
                       arrow->id(), arrow->type());
}

void ListWidget::addEntries(const QList<QGraphicsItem *> &items)
{
    for (QGraphicsItem *item : items) {
        switch (item->type()) {
        case DiagramItem::Type: {
            auto *shape = static_cast<DiagramItem *>(item);
            if (!shape->linkedText())
                addEntry(shape);
            break;
        }
        case DiagramTextItem::Type: {
            auto *text = static_cast<DiagramTextItem *>(item);
            addEntry(text);
            if (DiagramItem *shape = text->linkedItem())
                addEntry(shape)->setText(linkedEntryText(shape, text));
            break;
        }
        case DiagramImage::Type:
            addEntry(static_cast<DiagramImage *>(item));
            break;
        case Arrow::Type:
            addEntry(static_cast<Arrow *>(item));
            break;
        default:
            break;
        }
    }
}

QString ListWidget::linkedEntryText(const DiagramItem *shape, const DiagramTextItem *text)
{
    return shape->name() + tr(" (lié à ") + text->name() + QLatin1Char(')');
}

QListWidgetItem *ListWidget::entryById(int id) const
{
    return entriesById.value(id, nullptr);
}

void ListWidget::removeEntry(int id)
{
    QListWidgetItem *entry = entriesById.take(id);
    if (removalDepth > 0 && entry)
        pendingRemovals.insert(entry);
    else
        delete entry;
}

void ListWidget::beginRemovals()
{
    ++removalDepth;
}

// Deleting entries one by one searches the rows for each and shifts every
// row after it: quadratic for a large deletion. Taking every row from the
// end and putting the kept ones back costs one pass.
void ListWidget::endRemovals()
{
    if (--removalDepth > 0)
        return;
    // A few entries are cheaper deleted one by one.
    if (pendingRemovals.size() < 64) {
        qDeleteAll(pendingRemovals);
        pendingRemovals.clear();
        return;
    }
    {
        // Silently: told of the old selection, the view would measure every
        // selected range to repaint it, and all rows are redone below.
        const QSignalBlocker blocker(selectionModel());
        clearSelection();
    }
    QList<QListWidgetItem *> kept;
    kept.reserve(count());
    while (count() > 0) {
        QListWidgetItem *entry = takeItem(count() - 1);
        if (pendingRemovals.contains(entry))
            delete entry;
        else
            kept.append(entry);
    }
    pendingRemovals.clear();
    std::for_each(kept.crbegin(), kept.crend(), [this](QListWidgetItem *entry) { addItem(entry); });
}

void ListWidget::moveEntryAfter(QListWidgetItem *entry, QListWidgetItem *anchor)
{
    if (!entry || !anchor || entry == anchor)
        return;
    takeItem(row(entry));
    insertItem(row(anchor) + 1, entry);
}

void ListWidget::setEntryName(int id, const QString &name)
{
    if (QListWidgetItem *entry = entryById(id)) {
        entry->setText(name);
        entry->setData(NameRole, name);
    }
}

QGraphicsItem *ListWidget::itemOfRow(int row) const
{
    return getItemById(item(row)->data(IdRole).toInt());
}

// One pass over the rows in their order, without building sets: on large
// scenes the time goes into reaching each item's memory, so every extra
// structure visited per item shows.
void ListWidget::selectEntriesOfSelectedItems()
{
    QItemSelection selection;
    const int rows = count();
    int runStart = -1;
    for (int r = 0; r <= rows; ++r) {
        const QGraphicsItem *shown = r < rows ? itemOfRow(r) : nullptr;
        const bool selectRow = shown && shown->isSelected();
        if (selectRow && runStart < 0) {
            runStart = r;
        } else if (!selectRow && runStart >= 0) {
            // Neighbouring rows make one range, so that selecting every
            // entry is one range and not thousands.
            selection.select(model()->index(runStart, 0), model()->index(r - 1, 0));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    // Show what was selected on the scene, unless it is in view already.
    if (!selection.isEmpty())
        scrollTo(selection.first().topLeft());
}

void ListWidget::selectItemsOfSelectedEntries()
{
    if (!m_scene)
        return;
    std::vector<QGraphicsItem *> wanted;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (QGraphicsItem *shown = itemOfRow(r))
                wanted.push_back(shown);
        }
    }
    // Sorted for the lookups below.
    std::sort(wanted.begin(), wanted.end());
    // Only what leaves the selection is deselected: items that stay selected
    // keep their handles instead of hiding and showing them again.
    for (QGraphicsItem *item : m_scene->selectedItems()) {
        if (!std::binary_search(wanted.cbegin(), wanted.cend(), item))
            item->setSelected(false);
    }
    for (QGraphicsItem *item : wanted)
        item->setSelected(true);
}

void ListWidget::indexRows(int first, int last)
{
    for (int r = first; r <= last; ++r) {
        QListWidgetItem *entry = item(r);
        const QVariant id = entry->data(IdRole);
        if (id.isValid())
            entriesById.insert(id.toInt(), entry);
    }
}

void ListWidget::unindexRows(int first, int last)
{
    for (int r = first; r <= last; ++r) {
        QListWidgetItem *entry = item(r);
        const int id = entry->data(IdRole).toInt();
        auto found = entriesById.find(id);
        if (found != entriesById.end() && found.value() == entry)
            entriesById.erase(found);
    }
}

void ListWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    // A right press opens the selection's menu and leaves the selection alone.
    showMenuOfSelection(event->globalPos());
}

QMenu *ListWidget::menuOf(int type) const
{
    switch (type) {
    case DiagramItem::Type:
        return itemMenu;
    case DiagramImage::Type:
        return imageMenu;
    case DiagramTextItem::Type:
        return textMenu;
    case Arrow::Type:
        return arrowMenu;
    default:
        return nullptr;
    }
}

void ListWidget::showMenuOfSelection(const QPoint &screenPosition)
{
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.size() > 1) {
        multiMenu->exec(screenPosition);
        return;
    }
    if (selected.isEmpty())
        return;
    const int type = selected.first()->data(TypeRole).toInt();
    QGraphicsItem *item = getItemById(selected.first()->data(IdRole).toInt());
    QMenu *menu = menuOf(type);
    // An entry whose item is gone, or now of another kind, opens nothing.
    if (!item || item->type() != type || !menu)
        return;
    updateActionsOf(item);
    menu->exec(screenPosition);
}
