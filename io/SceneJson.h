#ifndef SCENEJSON_H
#define SCENEJSON_H

#include <QColor>
#include <QPixmap>
#include <QString>

class JsonTextWriter;
class QGraphicsItem;

// Values shared by the writer and the reader of scene documents.
namespace SceneJson {

// Limits of what the reader accepts. The scene is 5000 units wide; these
// leave room for any real drawing while keeping geometry finite and
// integer arithmetic (ids + 1, counters + 1) free of overflow.
constexpr double maxCoordinate = 1e7;
constexpr double maxScale = 1e3;
constexpr int maxCount = 1000000000;
constexpr int maxPenWidth = 1000;
constexpr int maxFontSize = 1000;
constexpr int maxArrowSize = 1000;

// {"b", "g", "r"}
void writeColor(JsonTextWriter &json, const char *key, const QColor &color);
// The picture in a regular file (or a resource); null otherwise, so that a
// path naming a device or a pipe can never block the reader.
QPixmap pictureFromFile(const QString &path);

// "position": {"x", "y", "z"}, the (top-level) item's position and
// stacking value.
void writePosition(JsonTextWriter &json, const QGraphicsItem &item);

// A text alignment in the file is 0 left, 1 right, 2 centre, 3 justify.
// The number of a Qt::Alignment value, or -1 when it is none of the four.
int alignmentNumber(int alignment);
// The Qt::Alignment value of a number, or 0 when the number is none of the four.
int alignmentFromNumber(int number);

} // namespace SceneJson

#endif // SCENEJSON_H
