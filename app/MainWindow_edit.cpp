#include "app/MainWindow.h"

#include "app/CenterViewCommand.h"
#include "app/ItemsMime.h"
#include "app/ListWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "scene/Dialogs.h"
#include "io/ItemCopy.h"
#include "scene/LinkCommand.h"
#include "scene/ObjectsCommand.h"
#include "scene/PropertyCommand.h"
#include "scene/diagramBoundingRect.h"
#include "scene/writeWholeFile.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QGraphicsView>
#include <QMimeData>
#include <QStandardPaths>
#include <QTextCursor>
#include <QPen>
#include <QScopedValueRollback>
#include <QUndoGroup>

// Commands on the scene's selection. Each acts on the selected objects that
// have what it changes and skips the others; an empty selection does
// nothing. Every change is one step of the document's history.

using Property = DiagramObject::Property;

namespace {

// In the list's order, which copies keep.
QList<DiagramObject *> selectedObjects(const DiagramScene *scene)
{
    QList<DiagramObject *> objects;
    for (DiagramObject *object : scene->objects()) {
        if (object->graphicsItem()->isSelected())
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
    if (QMimeData *data = itemsMimeData(selectedObjects(scene)))
        QApplication::clipboard()->setMimeData(data);
}

// Items of ours paste with new ids and names, 30 below and to the right
// of their sources, or on the point of the menu of empty space; a picture
// from another program becomes a picture, a text a text.
void MainWindow::paste()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    const QJsonArray items = itemsOf(data);
    const PastePlacement placement{QPointF(30, 30), pasteOnMenuPoint, scene->menuPosition()};
    const QPointF point = pasteOnMenuPoint ? scene->menuPosition() : viewCentre();
    if (!items.isEmpty())
        insertCopies(items, placement);
    else if (data && data->hasImage())
        pastePicture(qvariant_cast<QImage>(data->imageData()), point);
    else if (data && data->hasText() && !data->text().trimmed().isEmpty())
        scene->insertText(point, data->text());
}

void MainWindow::duplicate()
{
    insertCopies(copyItems(selectedObjects(scene)), {QPointF(20, 20), false, QPointF()});
}

void MainWindow::insertCopies(const QJsonArray &items, const PastePlacement &placement)
{
    const SceneCounters before = scene->counters();
    const QList<DiagramObject *> copies = pasteItems(*scene, items, placement);
    scene->recordInsertion(copies, before);
    // The copies are what the user wants to move next, not the originals.
    scene->clearSelection();
    for (DiagramObject *copy : copies)
        copy->graphicsItem()->setSelected(true);
}

// A picture item keeps the path of its file: a pasted picture is written to
// the program's own folder first, under a name made from its contents.
void MainWindow::pastePicture(const QImage &image, const QPointF &point)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                           + QStringLiteral("/images");
    const QString path = folder + QStringLiteral("/collé-%1.png")
        .arg(QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex().left(12)));
    QString reason;
    if (!QDir().mkpath(folder) || !writeWholeFile(path, png, &reason)) {
        Dialogs::instance()->warning(this, tr("Image non collée"),
                                     tr("L'image n'a pas pu être enregistrée dans « %1 » : %2.")
                                         .arg(path, reason));
        return;
    }
    scene->insertPicture(path, QPixmap::fromImage(image), false, point);
}

QPointF MainWindow::viewCentre() const
{
    return view->mapToScene(view->viewport()->rect().center());
}

void MainWindow::selectAll()
{
    const QScopedValueRollback<bool> guard(syncingSelection, true);
    for (DiagramObject *object : scene->objects())
        object->graphicsItem()->setSelected(true);
    listWidget->selectEntriesOfSelectedItems();
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
    scene->push(new CenterViewCommand(view, diagramBoundingRect(*scene).center()));
}

void MainWindow::editObject(DiagramObject *object)
{
    QGraphicsItem *item = object->graphicsItem();
    if (object->kind() == DiagramObject::Kind::Formula) {
        editFormula(static_cast<DiagramImage *>(item));
    } else if (object->kind() == DiagramObject::Kind::Shape) {
        // The shape's text, or a new one linked to it.
        auto *shape = static_cast<DiagramItem *>(item);
        DiagramTextItem *text = shape->linkedText();
        startEditing(text ? text : scene->insertLabel(shape));
    }
}

void MainWindow::startEditing(DiagramTextItem *text)
{
    scene->clearSelection();
    text->setTextInteractionFlags(Qt::TextEditorInteraction);
    text->setFocus();
    QTextCursor cursor = text->textCursor();
    cursor.movePosition(QTextCursor::End);
    text->setTextCursor(cursor);
}
