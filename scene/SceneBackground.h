#ifndef SCENEBACKGROUND_H
#define SCENEBACKGROUND_H

#include <QBrush>
#include <QColor>
#include <QString>

// What a scene's background is, as files keep it: transparent, a colour,
// a picture (a grid of ours or a file of the user's), or none of these.
struct SceneBackground {
    QBrush brush;
    bool transparent = false;
    bool colour = false;
    bool picture = false;
    QString path;
    QColor color;
};

#endif // SCENEBACKGROUND_H
