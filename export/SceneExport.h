#ifndef SCENEEXPORT_H
#define SCENEEXPORT_H

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

class DiagramScene;
class QGraphicsScene;

// Rendering of a scene's export area, its scene rectangle, into picture
// and PDF files. Failures come back as a French reason fit for a message
// box; nothing here shows anything.

// Pictures with a longer side are refused: they would take gigabytes of
// memory, and many programs cannot open them.
const int maxPictureSide = 16000;

// The bounding rectangle of all items grown by 10 on every side.
QRectF exportArea(const QGraphicsScene &scene);

// Each side of the area rounded to the nearest pixel.
QSize pictureSize(const QRectF &area);

// The scene rectangle rendered with antialiasing into a 32-bit ARGB
// picture of pictureSize(), first filled with `base`: the scene's own
// background brush, then its items. A null picture when memory is short.
QImage renderPicture(QGraphicsScene &scene, const QColor &base);

// One A4 landscape page showing the scene rectangle scaled, aspect kept,
// to fill as much of the printable area as fits.
QByteArray renderPdf(QGraphicsScene &scene);

// Writes the rendered scene rectangle as a picture, PNG or JPG as the
// suffix says. Other suffixes are refused. The picture is white where the
// scene has no background of its own, as the views show it; only a PNG of
// a scene whose background is "Transparent" keeps transparent parts (a
// JPG has no alpha channel).
bool exportPicture(DiagramScene &scene, const QString &fileName, QString *reason);

// Writes renderPdf() to the file.
bool exportPdf(DiagramScene &scene, const QString &fileName, QString *reason);

#endif // SCENEEXPORT_H
