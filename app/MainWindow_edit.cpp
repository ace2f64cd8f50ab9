#include "app/MainWindow.h"

#include "app/CenterViewCommand.h"
#include "app/ListWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "scene/Dialogs.h"
#include "scene/LinkCommand.h"
#include "scene/ObjectsCommand.h"
#include "scene/PropertyCommand.h"

#include <QGraphicsView>
#include <QPen>
#include <QScopedValueRollback>
#include <QUndoGroup>

// Commands on the scene's selection. Each acts on the selected objects that
// have what it changes and skips the others; an empty selection does
// nothing. Every change is one step of the document's history.

using Property = DiagramObject::Property;

namespace {

QList<DiagramObject *> selectedObjects(const DiagramScene *scene)
{
    QList<DiagramObject *> objects;
    for (QGraphicsItem *item : scene->selectedItems()) {
        if (DiagramObject *object = DiagramObject::from(item))
            objects.append(object);
    }
    return objects;
}

} // namespace

void MainWindow::deleteItem()
{
    const QList<DiagramObject *> selected = selectedObjects(scene);
    if (selected.isEmpty())
        return;
    {
        // Every removal changes the scene's selection; the list follows once,
        // at the end, instead of once per item.
        const QScopedValueRollback<bool> guard(syncingSelection, true);
        scene->push(ObjectsCommand::deletion(scene, selected));
    }
    itemSelectionChanged();
}

void MainWindow::undo()
{
    stepHistory(&QUndoGroup::undo);
}

void MainWindow::redo()
{
    stepHistory(&QUndoGroup::redo);
}

void MainWindow::stepHistory(void (QUndoGroup::*step)())
{
    if (scene->isMouseDown())
        return;
    // The editing ends first, so that what was typed is a step of its own.
    if (QGraphicsItem *edited = scene->focusItem())
        edited->clearFocus();
    const QScopedValueRollback<bool> guard(syncingSelection, true);
    (undoGroup->*step)();
    listWidget->selectEntriesOfSelectedItems();
}

void MainWindow::unlinkPair(DiagramTextItem *text, DiagramItem *shape)
{
    scene->push(new LinkCommand(scene, text, shape, false));
}

void MainWindow::copy()
{
    scene->copy();
}

void MainWindow::paste()
{
    scene->paste();
}

void MainWindow::stackSelection(bool toFront)
{
    QList<PropertyCommand::Entry> entries;
    for (DiagramObject *object : selectedObjects(scene)) {
        QGraphicsItem *item = object->graphicsItem();
        // The rule starts from 0, not from the item's own z-value, and
        // depends on the order in which the overlapping items come.
        qreal z = 0;
        for (const QGraphicsItem *other : item->collidingItems(Qt::IntersectsItemShape)) {
            // The item's own handles overlap it but are part of it.
            if (item->isAncestorOf(other))
                continue;
            if (toFront && other->zValue() >= z)
                z = other->zValue() + 0.1;
            else if (!toFront && other->zValue() <= z)
                z = other->zValue() - 0.1;
        }
        entries.append({object, Property::ZValue, item->zValue(), z});
    }
    scene->push(new PropertyCommand(toFront ? tr("Mettre au premier plan")
                                            : tr("Mettre en arrière-plan"), entries));
}

void MainWindow::bringToFront()
{
    stackSelection(true);
}

void MainWindow::sendToBack()
{
    stackSelection(false);
}

void MainWindow::applyToSelection(Property property, const QVariant &value)
{
    scene->push(PropertyCommand::change(selectedObjects(scene), property, value));
}

void MainWindow::rotateSelection(int degrees)
{
    // The angle replaces the current one; texts and arrows never turn.
    applyToSelection(Property::Rotation, degrees);
}

void MainWindow::setRotate0()
{
    rotateSelection(0);
}

void MainWindow::setRotate90()
{
    rotateSelection(90);
}

void MainWindow::setRotateMinus90()
{
    rotateSelection(-90);
}

void MainWindow::setRotate180()
{
    rotateSelection(180);
}

void MainWindow::resetArrow()
{
    applyToSelection(Property::ArrowTip, QPointF());
}

void MainWindow::setArrowWidth(int width)
{
    auto *command = PropertyCommand::change(selectedObjects(scene), Property::ArrowSize, width);
    // Stepping the spin box is one change.
    command->setMergeable(true);
    scene->push(command);
}

void MainWindow::changeBorder(const std::function<void(QPen &)> &change, bool mergeable)
{
    QList<PropertyCommand::Entry> entries;
    for (DiagramObject *object : selectedObjects(scene)) {
        const QVariant before = object->value(Property::Border);
        if (!before.isValid())
            continue;
        QPen pen = before.value<QPen>();
        change(pen);
        entries.append({object, Property::Border, before, pen});
    }
    auto *command = new PropertyCommand(PropertyCommand::textFor(Property::Border, entries.size()),
                                        entries);
    command->setMergeable(mergeable);
    scene->push(command);
}

void MainWindow::changeBorderSize(int size)
{
    changeBorder([size](QPen &pen) {
        // A fresh pen: every attribute but width and colour returns to the default.
        QPen fresh;
        fresh.setCosmetic(true);
        fresh.setWidth(size);
        fresh.setColor(pen.color());
        pen = fresh;
    }, true);
}

void MainWindow::borderColorChanged(QColor color)
{
    changeBorder([color](QPen &pen) { pen.setColor(color); }, false);
}

void MainWindow::changeName(QString name)
{
    const QList<DiagramObject *> selected = selectedObjects(scene);
    auto *command = PropertyCommand::change(selected, Property::Name, name);
    // The letters of a name typed one by one make one step.
    command->setMergeable(true);
    scene->push(command);
    for (DiagramObject *object : selected)
        itemChangedName(name, object->id());
}

void MainWindow::unlinkItem()
{
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.isEmpty())
        return;
    QGraphicsItem *first = selected.first();
    if (first->type() == DiagramItem::Type) {
        auto *shape = static_cast<DiagramItem *>(first);
        if (DiagramTextItem *text = shape->linkedText())
            unlinkPair(text, shape);
    } else if (first->type() == DiagramTextItem::Type) {
        auto *text = static_cast<DiagramTextItem *>(first);
        if (DiagramItem *shape = text->linkedItem())
            unlinkPair(text, shape);
    }
}

void MainWindow::setTextFont()
{
    const QList<QGraphicsItem *> selected = scene->selectedItems();
    if (selected.isEmpty() || selected.first()->type() != DiagramTextItem::Type)
        return;
    auto *text = static_cast<DiagramTextItem *>(selected.first());
    bool ok = false;
    const QFont font = Dialogs::instance()->font(&ok, text->font(), this,
                                                  tr("Sélectionner police d'écriture"));
    if (ok)
        scene->push(PropertyCommand::change({text}, Property::Font, font));
}

void MainWindow::centerView()
{
    scene->push(new CenterViewCommand(view, scene->itemsBoundingRect().center()));
}
