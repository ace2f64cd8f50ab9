#ifndef ITEMSMIME_H
#define ITEMSMIME_H

#include <QImage>
#include <QJsonArray>
#include <QList>
#include <QString>

class DiagramObject;
class QMimeData;

// Items on the system clipboard, so that they paste from one window or
// process into another: their scene-file objects under a type of our own,
// and a picture of them for other programs.

// "application/x-pensato-items".
extern const char *const itemsMimeType;

// The clipboard contents for the objects (arrows between them included);
// null when there is nothing to copy.
QMimeData *itemsMimeData(const QList<DiagramObject *> &objects);
// The file objects on the clipboard; empty when there are none.
QJsonArray itemsOf(const QMimeData *data);
// The items drawn on a transparent background, as they look in a scene.
QImage pictureOfItems(const QJsonArray &items);

#endif // ITEMSMIME_H
