#include "scene/LinkCommand.h"

#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QCoreApplication>

using Property = DiagramObject::Property;

LinkCommand::LinkCommand(DiagramScene *scene, DiagramTextItem *text, DiagramItem *shape, bool link,
                         QUndoCommand *parent)
    : QUndoCommand(parent), m_scene(scene), m_text(text), m_shape(shape), m_link(link),
      m_position(shape->pos()), m_rotation(shape->value(Property::Rotation).toInt()),
      m_scale(shape->value(Property::Scale).toSizeF()), m_listKey(shape->listKey())
{
    setText(link ? QCoreApplication::translate("LinkCommand", "Lier %1 à %2").arg(text->name(), shape->name())
                 : QCoreApplication::translate("LinkCommand", "Délier %1").arg(text->name()));
}

void LinkCommand::redo()
{
    apply(m_link);
}

void LinkCommand::undo()
{
    apply(!m_link);
}

void LinkCommand::apply(bool link)
{
    if (link) {
        // Back from an unlink, the shape stays in the list where it is.
        if (m_link)
            m_scene->linkText(m_text, m_shape);
        else
            m_scene->restoreLink(m_text, m_shape);
        return;
    }
    m_scene->unlinkText(m_text, m_shape);
    if (m_link) {
        m_shape->setValue(Property::Scale, m_scale);
        m_shape->setValue(Property::Rotation, m_rotation);
        m_shape->setPos(m_position);
        m_scene->moveInList(m_shape, m_listKey);
    }
}
