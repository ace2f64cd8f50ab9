#ifndef ITEMREADER_H
#define ITEMREADER_H

#include <QJsonObject>

class DiagramScene;
class QGraphicsItem;
struct ReadReport;

// Rebuilds one item of a scene document into the scene: shapes, pictures,
// formulas, texts and arrows, made with the scene's menus and property
// widgets, added, registered and announced as a user insertion would be.
// Texts link to shapes and arrows join items already read, so texts come
// after shapes and arrows last. An object that is of no known kind, or
// that lacks a value the item cannot do without, adds nothing and counts
// as skipped; values of the wrong type or out of range are corrected and
// counted. Returns the item, or null when there is none: skipped, or an
// empty text, which the editor would have removed anyway.
QGraphicsItem *readItem(DiagramScene &scene, const QJsonObject &object, ReadReport *report);

#endif // ITEMREADER_H
