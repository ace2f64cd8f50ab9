#include "app/MainWindow.h"

#include "app/ListWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "scene/Dialogs.h"

#include <QGraphicsView>
#include <QPen>
#include <QPointer>
#include <QScopedValueRollback>

// Commands on the scene's selection. Each acts on the selected objects that
// have what it changes and skips the others; an empty selection does
// nothing.

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

// The selected objects with everything deleting them takes along: the
// arrows of the shapes and pictures. Each once, arrows last.
QList<DiagramObject *> deletionOf(const DiagramScene *scene)
{
    QList<DiagramObject *> items, arrows;
    QSet<DiagramObject *> seen;
    const auto take = [&seen](QList<DiagramObject *> &into, DiagramObject *object) {
        if (!seen.contains(object)) {
            seen.insert(object);
            into.append(object);
        }
    };
    for (DiagramObject *object : selectedObjects(scene)) {
        if (object->kind() == DiagramObject::Kind::Arrow) {
            take(arrows, object);
            continue;
        }
        take(items, object);
        for (Arrow *arrow : object->arrows())
            take(arrows, arrow);
    }
    return items + arrows;
}

} // namespace

void MainWindow::deleteItem()
{
    const QList<DiagramObject *> doomed = deletionOf(scene);
    if (doomed.isEmpty())
        return;
    {
        // Every removal changes the scene's selection; the list follows once,
        // at the end, instead of once per item.
        const QScopedValueRollback<bool> guard(syncingSelection, true);
        for (DiagramObject *object : doomed) {
            if (object->kind() == DiagramObject::Kind::Arrow)
                static_cast<Arrow *>(object->graphicsItem())->detachFromEnds();
            else if (object->kind() == DiagramObject::Kind::Shape) {
                auto *shape = static_cast<DiagramItem *>(object->graphicsItem());
                if (DiagramTextItem *text = shape->linkedText())
                    unlinkPair(text, shape);
            } else if (object->kind() == DiagramObject::Kind::Text) {
                auto *text = static_cast<DiagramTextItem *>(object->graphicsItem());
                if (DiagramItem *shape = text->linkedItem())
                    unlinkPair(text, shape);
            }
        }
        scene->removeObjects(doomed);
        for (DiagramObject *object : doomed)
            delete object->graphicsItem();
    }
    itemSelectionChanged();
}

void MainWindow::unlinkPair(DiagramTextItem *text, DiagramItem *shape)
{
    scene->unlinkText(text, shape);
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
    for (QGraphicsItem *item : scene->selectedItems()) {
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
        item->setZValue(z);
    }
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
    for (DiagramObject *object : selectedObjects(scene)) {
        if (object->hasProperty(property))
            object->setValue(property, value);
    }
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
    applyToSelection(Property::ArrowSize, width);
}

void MainWindow::changeBorderSize(int size)
{
    for (DiagramObject *object : selectedObjects(scene)) {
        if (!object->hasProperty(Property::Border))
            continue;
        // A fresh pen: every attribute but width and colour returns to the default.
        QPen pen;
        pen.setCosmetic(true);
        pen.setWidth(size);
        pen.setColor(object->value(Property::Border).value<QPen>().color());
        object->setValue(Property::Border, pen);
    }
}

void MainWindow::borderColorChanged(QColor color)
{
    for (DiagramObject *object : selectedObjects(scene)) {
        if (!object->hasProperty(Property::Border))
            continue;
        QPen pen = object->value(Property::Border).value<QPen>();
        pen.setColor(color);
        object->setValue(Property::Border, pen);
    }
}

void MainWindow::changeName(QString name)
{
    for (DiagramObject *object : selectedObjects(scene)) {
        object->setName(name);
        itemChangedName(name, object->id());
    }
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
        text->setFont(font);
}

void MainWindow::centerView()
{
    view->centerOn(scene->itemsBoundingRect().center());
}
