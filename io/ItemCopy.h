#ifndef ITEMCOPY_H
#define ITEMCOPY_H

#include <QJsonArray>
#include <QList>
#include <QPointF>

class DiagramObject;
class DiagramScene;

// Copying objects as scene-file objects, for the clipboard (between
// windows and processes alike) and for duplicating.

// The objects other than arrows, and every arrow whose two ends are among
// them, as file objects.
QJsonArray copyItems(const QList<DiagramObject *> &objects);

// Where pasted objects go: moved by an offset from where they were copied,
// or all on one point (the scene menu's paste).
struct PastePlacement {
    QPointF offset;
    bool onPoint = false;
    QPointF point;
};

// Makes new objects of copied file objects in the scene: new ids, each
// name followed by the first " (n)" that no item of its kind has, arrows
// and links among them kept. The objects are added and announced; the
// caller records the insertion and selects them.
QList<DiagramObject *> pasteItems(DiagramScene &scene, const QJsonArray &items,
                                  const PastePlacement &placement);

#endif // ITEMCOPY_H
