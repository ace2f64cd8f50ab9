#ifndef SCENEEXPORT_H
#define SCENEEXPORT_H

#include <QRectF>
#include <QSize>
#include <QString>

class DiagramScene;
class QGraphicsScene;

// Rendering of a scene's export area, its scene rectangle, into picture
// and PDF files. Nothing is written unless the whole file is: a failed
// export leaves no file, and an old file of that name whole. Failures come
// back as a French reason fit for a message box; nothing here shows
// anything.

// Pictures with a longer side are refused: many programs cannot open them.
const int maxPictureSide = 16000;
// Pictures are rendered at 1 to this many pixels per scene unit.
const int maxPictureScale = 8;

enum class ExportFormat { Png, Jpg, Pdf, Svg, Unknown };
// By the file name's suffix, in any case; ".jpeg" is a JPG.
ExportFormat exportFormat(const QString &fileName);

// What an export shows behind the items.
enum class ExportBackground {
    // The scene's own background; white where it has none, except in a PNG
    // of a scene whose background is "Transparent".
    Scene,
    White,
    // Nothing: transparent in a PNG, white in a JPG and on a PDF page.
    Transparent,
};

// The export window's choices; the defaults are what it does untouched.
struct ExportOptions {
    ExportBackground background = ExportBackground::Scene;
    // Pictures only: pixels per scene unit, 1 to maxPictureScale. Borders
    // and texts are drawn at that resolution, not enlarged afterwards.
    int scale = 1;
};

// The bounding rectangle of all items grown by 10 on every side.
QRectF exportArea(const QGraphicsScene &scene);

// Each side of the area, times the scale, rounded to the nearest pixel.
QSize pictureSize(const QRectF &area, int scale = 1);

// Writes the scene rectangle as a picture, PNG or JPG as the suffix says,
// rendered with antialiasing at `options.scale` pixels per scene unit: the
// background (options.background), then the items. Other suffixes and
// pictures over maxPictureSide are refused. Large pictures are rendered and
// encoded in bands and never held whole.
bool exportPicture(DiagramScene &scene, const QString &fileName,
                   const ExportOptions &options, QString *reason);
inline bool exportPicture(DiagramScene &scene, const QString &fileName, QString *reason)
{
    return exportPicture(scene, fileName, ExportOptions(), reason);
}

// Writes one A4 landscape page showing the scene rectangle scaled, aspect
// kept, to fill as much of the printable area as fits: the background
// (options.background), then the items. The scale option is for pictures.
bool exportPdf(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
               QString *reason);
inline bool exportPdf(DiagramScene &scene, const QString &fileName, QString *reason)
{
    return exportPdf(scene, fileName, ExportOptions(), reason);
}

// Writes the scene rectangle as an SVG 1.1 drawing, one unit of the
// drawing per scene unit: the background (options.background, kept
// transparent as in a PNG), then the items, all as vectors (formulas as
// filled outlines); only pictures stay pictures.
bool exportSvg(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
               QString *reason);

// A PDF, an SVG or a picture, as the file name's suffix says.
bool exportScene(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
                 QString *reason);

#endif // SCENEEXPORT_H
