#include "app/MainWindow.h"

#include "scene/Dialogs.h"
#include "app/ListWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsView>
#include <QPen>
#include <QPointer>
#include <QScopedValueRollback>

// Commands on the scene's selection. Each treats the selected items by their
// kind and skips kinds it does not handle; an empty selection does nothing.

namespace {

// Calls f for every selected item of kind T.
template <typename T, typename F>
void forEachSelected(const DiagramScene *scene, F f)
{
    for (QGraphicsItem *item : scene->selectedItems()) {
        if (item->type() == T::Type)
            f(static_cast<T *>(item));
    }
}

QObject *objectOf(QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type:
        return static_cast<DiagramItem *>(item);
    case DiagramTextItem::Type:
        return static_cast<DiagramTextItem *>(item);
    case DiagramImage::Type:
        return static_cast<DiagramImage *>(item);
    case Arrow::Type:
        return static_cast<Arrow *>(item);
    default:
        return nullptr;
    }
}

// Gives the item the name; false for kinds without a name.
bool setNameOf(QGraphicsItem *item, const QString &name)
{
    switch (item->type()) {
    case DiagramItem::Type:
        static_cast<DiagramItem *>(item)->setName(name);
        return true;
    case DiagramTextItem::Type:
        static_cast<DiagramTextItem *>(item)->setName(name);
        return true;
    case DiagramImage::Type:
        static_cast<DiagramImage *>(item)->setName(name);
        return true;
    case Arrow::Type:
        static_cast<Arrow *>(item)->setName(name);
        return true;
    default:
        return false;
    }
}

} // namespace

void MainWindow::deleteItem()
{
    // Arrows of a deleted shape go with it; a guard per item lets the loop
    // skip what an earlier step already destroyed.
    QList<QPointer<QObject>> guards;
    const QList<QGraphicsItem *> snapshot = scene->selectedItems();
    for (QGraphicsItem *item : snapshot)
        guards.append(objectOf(item));

    {
        // Every removal changes the scene's selection; the list follows once,
        // at the end, instead of once per item, and loses its entries at once.
        const QScopedValueRollback<bool> guard(syncingSelection, true);
        listWidget->beginRemovals();
        for (int i = 0; i < snapshot.size(); ++i) {
            if (guards[i].isNull())
                continue;
            if (snapshot[i]->type() == Arrow::Type)
                deleteArrow(static_cast<Arrow *>(snapshot[i]));
            else
                deleteNonArrow(snapshot[i]);
        }
        listWidget->endRemovals();
    }
    itemSelectionChanged();
}

void MainWindow::deleteArrow(Arrow *arrow)
{
    scene->removeItem(arrow);
    listWidget->removeEntry(arrow->id());
    arrow->detachFromEnds();
    delete arrow;
}

void MainWindow::deleteNonArrow(QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type: {
        auto *shape = static_cast<DiagramItem *>(item);
        shape->removeArrows();
        if (DiagramTextItem *text = shape->linkedText())
            unlinkPair(text, shape);
        break;
    }
    case DiagramImage::Type:
        static_cast<DiagramImage *>(item)->removeArrows();
        break;
    case DiagramTextItem::Type: {
        auto *text = static_cast<DiagramTextItem *>(item);
        if (DiagramItem *shape = text->linkedItem())
            unlinkPair(text, shape);
        break;
    }
    default:
        // Handles and temporary lines belong to their owners.
        return;
    }
    listWidget->removeEntry(ListWidget::idOf(item));
    scene->removeItem(item);
    delete item;
}

void MainWindow::restorePlainShapeName(DiagramItem *shape)
{
    listWidget->setEntryName(shape->id(), shape->name());
}

void MainWindow::unlinkPair(DiagramTextItem *text, DiagramItem *shape)
{
    restorePlainShapeName(shape);
    text->unlink();
    shape->unlinkText();
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

void MainWindow::rotateSelection(int degrees)
{
    // The angle replaces the current one; texts and arrows never turn.
    forEachSelected<DiagramItem>(scene, [degrees](DiagramItem *shape) {
        shape->changeTransform(degrees, false, 0, 0, false);
    });
    forEachSelected<DiagramImage>(scene, [degrees](DiagramImage *image) {
        image->changeTransform(degrees, false, 0.0);
    });
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
    forEachSelected<Arrow>(scene, [](Arrow *arrow) { arrow->resetPoint(); });
}

void MainWindow::setArrowWidth(int width)
{
    forEachSelected<Arrow>(scene, [width](Arrow *arrow) { arrow->setArrowWidth(width); });
}

void MainWindow::changeBorderSize(int size)
{
    forEachSelected<DiagramItem>(scene, [size](DiagramItem *shape) {
        // A fresh pen: every attribute but width and colour returns to the default.
        QPen pen;
        pen.setCosmetic(true);
        pen.setWidth(size);
        pen.setColor(shape->pen().color());
        shape->setPen(pen);
    });
}

void MainWindow::borderColorChanged(QColor color)
{
    forEachSelected<DiagramItem>(scene, [color](DiagramItem *shape) {
        shape->setBorderColor(color);
    });
}

void MainWindow::changeName(QString name)
{
    for (QGraphicsItem *item : scene->selectedItems()) {
        if (setNameOf(item, name))
            itemChangedName(name, ListWidget::idOf(item));
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
