#ifndef SCENEJSON_H
#define SCENEJSON_H

#include <QColor>
#include <QJsonObject>
#include <QPixmap>
#include <QString>

class QGraphicsItem;

// Values of a scene document, read leniently: a missing or wrongly typed
// value gives the default (0, false, "", {}), and every number is brought
// into a range the scene can hold, because a hand-edited or damaged file
// may carry anything JSON can say.
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

// A finite number clamped to [-limit, limit]; 0 when missing, not a
// number or not finite.
double number(const QJsonObject &object, const char *key,
              double limit = maxCoordinate);
// A number truncated toward zero and clamped to [min, max].
int integer(const QJsonObject &object, const char *key, int min, int max);
// Degrees truncated toward zero to a whole angle within (-360, 360).
int degrees(const QJsonObject &object, const char *key);
// An item id or a counter.
int id(const QJsonObject &object, const char *key);
int counter(const QJsonObject &object, const char *key);
// The "type" of an item object: its kind's graphics item type number.
int itemType(const QJsonObject &object);
bool boolean(const QJsonObject &object, const char *key);
QString string(const QJsonObject &object, const char *key);
QJsonObject object(const QJsonObject &object, const char *key);
// An opaque colour from a colour object {"r", "g", "b"}; black when missing.
QColor color(const QJsonObject &object, const char *key);

QJsonObject colorObject(const QColor &color);
// The picture in a regular file (or a resource); null otherwise, so that a
// path naming a device or a pipe can never block the reader.
QPixmap pictureFromFile(const QString &path);

// {"x", "y", "z"}: the (top-level) item's position and stacking value.
QJsonObject positionObject(const QGraphicsItem &item);
// Places the item at the position object's point with its stacking value.
void applyPosition(QGraphicsItem &item, const QJsonObject &position);

// A text alignment in the file is 0 left, 1 right, 2 centre, 3 justify.
// The number of a Qt::Alignment value, or -1 when it is none of the four.
int alignmentNumber(int alignment);
// The Qt::Alignment value of a number, or 0 when the number is none of the four.
int alignmentFromNumber(int number);

// An arrow end: {"type", "id"}, "id" only for the items arrows join.
QJsonObject endObject(const QGraphicsItem &item);

} // namespace SceneJson

#endif // SCENEJSON_H
