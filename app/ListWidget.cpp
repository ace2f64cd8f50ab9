#include "app/ListWidget.h"

#include "scene/DiagramItem.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QAbstractItemModel>
#include <QItemSelection>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <iterator>
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

QIcon iconOf(const DiagramObject *object)
{
    switch (object->kind()) {
    case DiagramObject::Kind::Shape:
        return shapeIcon(static_cast<const DiagramItem *>(object->graphicsItem())->diagramType());
    case DiagramObject::Kind::Text:
        return resourceIcon(QStringLiteral(":/images/textpointer.png"));
    case DiagramObject::Kind::Formula:
        return resourceIcon(QStringLiteral(":/images/pi.png"));
    case DiagramObject::Kind::Picture:
        return resourceIcon(QStringLiteral(":/images/img.png"));
    case DiagramObject::Kind::Arrow:
        break;
    }
    return resourceIcon(QStringLiteral(":/images/linepointer.png"));
}

double keyOf(const QListWidgetItem *entry)
{
    return entry->data(ListWidget::KeyRole).toDouble();
}

bool keyBefore(const QListWidgetItem *a, const QListWidgetItem *b)
{
    return keyOf(a) < keyOf(b);
}

// Below this, entries go in and out one by one; above it, the rows are
// rebuilt in one pass, as one by one each change shifts every row after it.
constexpr int bulkThreshold = 64;

} // namespace

ListWidget::ListWidget(QMenu *multiMenu, DiagramScene *scene, QWidget *parent)
    : QListWidget(parent), multiMenu(multiMenu), m_scene(scene)
{
    // Every row is one line under an icon of the same size: the view need
    // not measure each one, which large diagrams would feel.
    setUniformItemSizes(true);
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
    const DiagramObject *object = DiagramObject::from(item);
    return object ? object->id() : -1;
}

QString ListWidget::nameOf(const QGraphicsItem *item)
{
    const DiagramObject *object = DiagramObject::from(item);
    return object ? object->name() : QString();
}

QListWidgetItem *ListWidget::newEntry(DiagramObject *object) const
{
    auto *entry = new QListWidgetItem(iconOf(object), object->name());
    entry->setData(IdRole, object->id());
    entry->setData(NameRole, object->name());
    entry->setData(TypeRole, object->graphicsItem()->type());
    entry->setData(KeyRole, object->listKey());
    if (object->kind() == DiagramObject::Kind::Shape) {
        const auto *shape = static_cast<const DiagramItem *>(object->graphicsItem());
        if (const DiagramTextItem *text = shape->linkedText())
            entry->setText(linkedEntryText(shape, text));
    }
    return entry;
}

int ListWidget::rowForKey(double key) const
{
    // Mostly the end: new objects come after all others.
    int low = 0;
    int high = count();
    if (high > 0 && keyOf(item(high - 1)) < key)
        return high;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (keyOf(item(middle)) <= key)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

QListWidgetItem *ListWidget::addEntry(DiagramObject *object)
{
    QListWidgetItem *entry = newEntry(object);
    insertItem(rowForKey(object->listKey()), entry);
    return entry;
}

void ListWidget::addEntries(const QList<DiagramObject *> &objects)
{
    if (objects.size() < bulkThreshold) {
        for (DiagramObject *object : objects)
            addEntry(object);
        return;
    }
    QList<QListWidgetItem *> added;
    added.reserve(objects.size());
    for (DiagramObject *object : objects)
        added.append(newEntry(object));
    rebuildRows(takeAllRows(), added);
}

void ListWidget::removeEntries(const QList<DiagramObject *> &objects)
{
    if (objects.size() < bulkThreshold) {
        for (const DiagramObject *object : objects)
            delete entriesById.take(object->id());
        return;
    }
    QSet<QListWidgetItem *> removed;
    for (const DiagramObject *object : objects) {
        if (QListWidgetItem *entry = entryById(object->id()))
            removed.insert(entry);
    }
    QList<QListWidgetItem *> kept = takeAllRows();
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [&removed](QListWidgetItem *entry) {
                                  if (!removed.contains(entry))
                                      return false;
                                  delete entry;
                                  return true;
                              }),
               kept.end());
    rebuildRows(kept, {});
}

QList<QListWidgetItem *> ListWidget::takeAllRows()
{
    {
        // Silently and first: told of the old selection, the view would
        // measure every selected range to repaint it, and the selection
        // model would follow every row taken; all rows are redone anyway.
        const QSignalBlocker blocker(selectionModel());
        clearSelection();
    }
    QList<QListWidgetItem *> rows;
    rows.reserve(count());
    while (count() > 0)
        rows.prepend(takeItem(count() - 1));
    return rows;
}

void ListWidget::rebuildRows(const QList<QListWidgetItem *> &kept, QList<QListWidgetItem *> added)
{
    std::stable_sort(added.begin(), added.end(), keyBefore);
    QList<QListWidgetItem *> merged;
    merged.reserve(kept.size() + added.size());
    std::merge(kept.cbegin(), kept.cend(), added.cbegin(), added.cend(),
               std::back_inserter(merged), keyBefore);
    for (QListWidgetItem *entry : qAsConst(merged))
        addItem(entry);
}

void ListWidget::placeEntry(DiagramObject *object)
{
    QListWidgetItem *entry = entryById(object->id());
    if (!entry)
        return;
    takeItem(row(entry));
    entry->setData(KeyRole, object->listKey());
    insertItem(rowForKey(object->listKey()), entry);
}

QString ListWidget::linkedEntryText(const DiagramItem *shape, const DiagramTextItem *text)
{
    return shape->name() + tr(" (lié à ") + text->name() + QLatin1Char(')');
}

QListWidgetItem *ListWidget::entryById(int id) const
{
    return entriesById.value(id, nullptr);
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

void ListWidget::showMenuOfSelection(const QPoint &screenPosition)
{
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.size() > 1) {
        multiMenu->exec(screenPosition);
        return;
    }
    if (selected.isEmpty())
        return;
    QGraphicsItem *item = getItemById(selected.first()->data(IdRole).toInt());
    // An entry whose item is gone, or now of another kind, opens nothing.
    if (!item || item->type() != selected.first()->data(TypeRole).toInt())
        return;
    emit contextMenuRequested(DiagramObject::from(item), screenPosition);
}
