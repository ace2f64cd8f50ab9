#ifndef SCENEDOCUMENT_H
#define SCENEDOCUMENT_H

#include "io/JsonFields.h"
#include "io/ReadReport.h"

#include <QJsonObject>

class DiagramScene;
class DiagramObject;
class JsonTextWriter;
class SceneText;

// The parts of a scene document that belong to the scene as a whole.

// One of the twelve counters of the top-level object, with the scene's
// getter and setter; the writer and the reader walk the same table. Plain
// functions rather than member pointers: GCC 12 with AddressSanitizer
// called the first row's setter for every row of a member-pointer table.
struct SceneCounter {
    const char *key;
    int (*get)(const DiagramScene &);
    void (*set)(DiagramScene &, int);
};
extern const SceneCounter sceneCounters[12];

// "background": transparent, colour, picture or none, in that order of the
// scene's flags.
void writeBackground(JsonTextWriter &json, const DiagramScene &scene);
// Restores the document's background; an unknown form leaves the scene's own.
void readBackground(DiagramScene &scene, const JsonFields &top);

// The whole scene as a document: the background, its items, topmost
// first, and the counters. The members alone go into an object the caller
// opens and closes, after which it may add keys that sort after "nb...";
// documentText() is the whole document as the file holds it.
void writeDocumentMembers(JsonTextWriter &json, const DiagramScene &scene);
QByteArray documentText(const DiagramScene &scene);
QJsonObject writeDocument(const DiagramScene &scene);

// Rebuilds a whole document into a freshly made, empty scene: shapes and
// pictures, then texts (which may link to shapes), then arrows (which join
// shapes and pictures), then the background and the counters. nbItems ends
// above every id read, whatever the file says, so new items get fresh ids.
// Says what had to be skipped or corrected; `itemsRead`, when given,
// receives the items made, in the order they were read.
ReadReport readDocument(DiagramScene &scene, const QJsonObject &top,
                        QList<DiagramObject *> *itemsRead = nullptr);
// The same from a file's text, each item parsed as it is read.
ReadReport readDocument(DiagramScene &scene, const SceneText &text,
                        QList<DiagramObject *> *itemsRead = nullptr);

#endif // SCENEDOCUMENT_H
