#include "scene/BackgroundCommand.h"

#include "scene/DiagramScene.h"

#include <QCoreApplication>

BackgroundCommand::BackgroundCommand(DiagramScene *scene, const SceneBackground &after)
    : QUndoCommand(QCoreApplication::translate("BackgroundCommand", "Changer le fond")),
      m_scene(scene), m_before(scene->background()), m_after(after)
{
}

void BackgroundCommand::undo()
{
    m_scene->setBackground(m_before);
}

void BackgroundCommand::redo()
{
    m_scene->setBackground(m_after);
}
