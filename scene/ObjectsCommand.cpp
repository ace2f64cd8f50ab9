#include "scene/ObjectsCommand.h"

#include "scene/Arrow.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QCoreApplication>
#include <QSet>

namespace {

QString tr(const char *text, int count)
{
    return QCoreApplication::translate("ObjectsCommand", text, nullptr, count);
}

bool isArrow(const DiagramObject *object)
{
    return object->kind() == DiagramObject::Kind::Arrow;
}

// The objects and the arrows attached to the shapes and pictures among
// them, each once, arrows last.
QList<DiagramObject *> withArrows(const QList<DiagramObject *> &objects)
{
    QList<DiagramObject *> items, arrows;
    QSet<DiagramObject *> seen;
    const auto take = [&seen](QList<DiagramObject *> &into, DiagramObject *object) {
        if (!seen.contains(object)) {
            seen.insert(object);
            into.append(object);
        }
    };
    for (DiagramObject *object : objects) {
        if (isArrow(object)) {
            take(arrows, object);
            continue;
        }
        take(items, object);
        for (Arrow *arrow : object->arrows())
            take(arrows, arrow);
    }
    return items + arrows;
}

Arrow *asArrow(DiagramObject *object)
{
    return static_cast<Arrow *>(object->graphicsItem());
}

} // namespace

ObjectsCommand *ObjectsCommand::insertion(DiagramScene *scene, const QList<DiagramObject *> &objects,
                                          const SceneCounters &countersBefore)
{
    auto *command = new ObjectsCommand(scene, objects, true);
    command->m_countersBefore = countersBefore;
    command->m_countersAfter = scene->counters();
    command->setText(objects.size() == 1 ? tr("Insérer %1", 1).arg(objects.first()->name())
                                         : tr("Insérer %n objet(s)", objects.size()));
    return command;
}

ObjectsCommand *ObjectsCommand::deletion(DiagramScene *scene, const QList<DiagramObject *> &objects)
{
    auto *command = new ObjectsCommand(scene, withArrows(objects), false);
    command->setText(command->m_objects.size() == 1
                         ? tr("Supprimer %1", 1).arg(command->m_objects.first()->name())
                         : tr("Supprimer %n objet(s)", command->m_objects.size()));
    return command;
}

ObjectsCommand::ObjectsCommand(DiagramScene *scene, const QList<DiagramObject *> &objects,
                               bool inserted)
    : m_scene(scene), m_objects(objects), m_inserted(inserted), m_inScene(true)
{
}

ObjectsCommand::~ObjectsCommand()
{
    if (m_inScene)
        return;
    // Arrows first: each leaves its ends' lists, already empty of it.
    for (auto it = m_objects.crbegin(); it != m_objects.crend(); ++it)
        delete (*it)->graphicsItem();
}

// Steps added as children (the link of a text inserted on a shape) follow
// an insertion and come before a deletion.
void ObjectsCommand::redo()
{
    // An insertion is pushed once done; its first redo finds the objects in.
    if (m_inserted) {
        putBack();
        QUndoCommand::redo();
    } else {
        QUndoCommand::redo();
        takeOut();
    }
}

void ObjectsCommand::undo()
{
    if (m_inserted) {
        QUndoCommand::undo();
        takeOut();
    } else {
        putBack();
        QUndoCommand::undo();
    }
    // The stack then deletes the command, and with it what it holds.
    if (m_discardOnUndo)
        setObsolete(true);
}

void ObjectsCommand::takeOut()
{
    if (!m_inScene)
        return;
    m_links.clear();
    m_selected.clear();
    for (DiagramObject *object : qAsConst(m_objects)) {
        QGraphicsItem *item = object->graphicsItem();
        if (item->isSelected())
            m_selected.append(object);
        if (auto *shape = qgraphicsitem_cast<DiagramItem *>(item)) {
            if (DiagramTextItem *text = shape->linkedText())
                m_links.append({text, shape});
        } else if (auto *text = qgraphicsitem_cast<DiagramTextItem *>(item)) {
            if (DiagramItem *shape = text->linkedItem()) {
                if (!m_links.contains({text, shape}))
                    m_links.append({text, shape});
            }
        } else if (isArrow(object)) {
            asArrow(object)->detachFromEnds();
        }
    }
    for (const Link &link : qAsConst(m_links))
        m_scene->unlinkText(link.first, link.second);
    m_scene->removeObjects(m_objects);
    m_inScene = false;
    // The ids and names of an undone insertion are free again, unless
    // something else took the next ones meanwhile.
    if (m_inserted && m_scene->counters() == m_countersAfter)
        m_scene->setCounters(m_countersBefore);
}

void ObjectsCommand::putBack()
{
    if (m_inScene)
        return;
    if (m_inserted && m_scene->counters() == m_countersBefore)
        m_scene->setCounters(m_countersAfter);
    m_scene->restoreObjects(m_objects);
    for (DiagramObject *object : qAsConst(m_objects)) {
        if (isArrow(object))
            asArrow(object)->attachToEnds();
    }
    for (const Link &link : qAsConst(m_links))
        m_scene->restoreLink(link.first, link.second);
    for (DiagramObject *object : qAsConst(m_objects)) {
        if (isArrow(object))
            asArrow(object)->updatePosition();
    }
    m_inScene = true;
    // What comes back is selected as it was when it went.
    m_scene->clearSelection();
    for (DiagramObject *object : qAsConst(m_selected))
        object->graphicsItem()->setSelected(true);
}
