#ifndef ITEMREADER_H
#define ITEMREADER_H

#include <QJsonObject>

class Arrow;
class DiagramImage;
class DiagramItem;
class DiagramScene;
class DiagramTextItem;

// Rebuilding one item of a scene document. Each builder makes the item
// with the scene's menus and property widgets, fills it from the object and
// adds it to the scene; registering and announcing it is left to the scene.

// Null when "diagram" names no shape kind.
DiagramItem *shapeFromJson(DiagramScene &scene, const QJsonObject &object);
// A formula is typeset again from its text; a picture is read from its file.
DiagramImage *imageFromJson(DiagramScene &scene, const QJsonObject &object);
DiagramTextItem *textFromJson(DiagramScene &scene, const QJsonObject &object);
// Null unless both ends name distinct shapes or pictures of the scene.
Arrow *arrowFromJson(DiagramScene &scene, const QJsonObject &object);

// The shape a text object asks to be linked to: null when the text is not
// linked, when the id names no shape, or when that shape already has a text
// (a shape fits around one text only).
DiagramItem *linkedShapeFromJson(const DiagramScene &scene, const QJsonObject &object);
// Sets the alignment of the text's "alignment" (left when missing); an
// unknown number leaves the text's alignment as it is.
void readTextAlignment(DiagramTextItem &text, const QJsonObject &object);

#endif // ITEMREADER_H
