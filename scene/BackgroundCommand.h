#ifndef BACKGROUNDCOMMAND_H
#define BACKGROUNDCOMMAND_H

#include "scene/SceneBackground.h"

#include <QUndoCommand>

class DiagramScene;

// A change of the scene's background.
class BackgroundCommand : public QUndoCommand
{
public:
    BackgroundCommand(DiagramScene *scene, const SceneBackground &after);

    void undo() override;
    void redo() override;

private:
    DiagramScene *m_scene;
    SceneBackground m_before;
    SceneBackground m_after;
};

#endif // BACKGROUNDCOMMAND_H
