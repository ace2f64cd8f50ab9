#include "export/SceneExport.h"

#include "export/JpegEncoder.h"
#include "export/PenScalingDevice.h"
#include "export/PngEncoder.h"
#include "scene/DiagramScene.h"
#include "scene/diagramBoundingRect.h"
#include "scene/FileReasons.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QtMath>

#include <functional>
#include <future>
#include <memory>

namespace {

// A picture is rendered in bands of about this many bytes: few renderings
// of the scene, and never the whole of a large picture in memory.
const qint64 bandBytes = 16 << 20;

// 96 dpi, at which one scene unit is one pixel of most screens; a picture
// at scale N says N times that, so it prints at the same size.
const int screenDotsPerMeter = 3780;

// Borders are cosmetic pens, as many device pixels wide on every device.
// At a printer's 1200 dpi they would shrink to hairlines, so the page gets
// the resolution at which one scene unit is about one device pixel, as on
// screen: at least 72 dpi, at most the printer's high resolution.
int pdfResolution(const QPageLayout &layout, const QRectF &area)
{
    const QRectF page = layout.paintRect(QPageLayout::Inch);
    const double unitsPerInch = qMax(area.width() / page.width(), area.height() / page.height());
    return qBound(72, qCeil(unitsPerInch), 1200);
}

// Runs `render` with the scene's background brush, or without it; the
// scene's background description is left as it is.
bool renderWithBackground(QGraphicsScene &scene, bool background,
                          const std::function<bool()> &render)
{
    if (background)
        return render();
    const QBrush brush = scene.backgroundBrush();
    scene.setBackgroundBrush(Qt::NoBrush);
    const bool done = render();
    scene.setBackgroundBrush(brush);
    return done;
}

// What the picture is filled with before the scene paints on it: white,
// as the views show a scene, unless the picture is to keep transparency.
QColor pictureBase(const DiagramScene &scene, ExportFormat format, ExportBackground background)
{
    const bool transparent = background == ExportBackground::Transparent
        || (background == ExportBackground::Scene && scene.isTransparent());
    const bool keepsTransparency = format == ExportFormat::Png || format == ExportFormat::Svg;
    return keepsTransparency && transparent ? QColor(Qt::transparent) : QColor(Qt::white);
}

// Rows [top, top + rows) of the picture of `area` at `scale`, into the top
// of `band`. Each band renders only the items that reach into it.
void renderBand(QGraphicsScene &scene, const QRectF &area, int scale, int top, int rows,
                QImage *band)
{
    const QRectF target(0, 0, band->width(), rows);
    const QRectF source(area.left(), area.top() + qreal(top) / scale,
                        target.width() / scale, target.height() / scale);
    PenScalingDevice scaledPens(band, scale);
    QPainter painter(scale == 1 ? static_cast<QPaintDevice *>(band) : &scaledPens);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, target, source, Qt::IgnoreAspectRatio);
}

bool encodeBands(QGraphicsScene &scene, const QSize &size, int scale, const QColor &base,
                 PictureEncoder &encoder, QIODevice *device, QString *reason)
{
    const QRectF area = scene.sceneRect();
    const int rowsPerBand =
        int(qBound<qint64>(1, bandBytes / (qint64(size.width()) * 4), size.height()));
    // Two bands: the encoder compresses one on a second processor while the
    // scene paints the next into the other.
    QImage bands[2];
    for (QImage &band : bands) {
        band = QImage(size.width(), rowsPerBand, QImage::Format_ARGB32_Premultiplied);
        if (band.isNull()) {
            *reason = QObject::tr("mémoire insuffisante pour une image de %1 pixels de large")
                          .arg(size.width());
            return false;
        }
    }
    if (!encoder.begin(device, size, screenDotsPerMeter * scale))
        return false;
    // Declared after the bands: an early return waits for the encoder
    // before the band it reads goes.
    std::future<bool> encoding;
    const auto encoded = [&encoding] { return !encoding.valid() || encoding.get(); };
    for (int top = 0, round = 0; top < size.height(); top += rowsPerBand, ++round) {
        const int rows = qMin(rowsPerBand, size.height() - top);
        QImage &band = bands[round % 2];
        // The band was turned into encoder rows, in place, two rounds ago.
        band.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        band.fill(base);
        renderBand(scene, area, scale, top, rows, &band);
        band.convertTo(QImage::Format_RGBA8888);
        if (!encoded())
            return false;
        encoding = std::async(std::launch::async, [&encoder, &band, rows] {
            for (int y = 0; y < rows; ++y) {
                if (!encoder.writeRow(band.constScanLine(y)))
                    return false;
            }
            return true;
        });
    }
    return encoded() && encoder.finish();
}

bool paintPdf(QGraphicsScene &scene, QIODevice *device)
{
    QPdfWriter writer(device);
    writer.setCreator(QStringLiteral("Pensato"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(pdfResolution(writer.pageLayout(), scene.sceneRect()));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    // A null target is the whole printable area of the page.
    scene.render(&painter, QRectF(), scene.sceneRect(), Qt::KeepAspectRatio);
    return painter.end(); // completes the document
}

// The drawing of the scene rectangle, one unit per scene unit and as many
// units as the picture at scale 1 has pixels, so that cosmetic pens keep
// their width. Texts in points are measured at the screen's resolution,
// as the views show them.
bool paintSvg(QGraphicsScene &scene, const QColor &base, const QString &title, QIODevice *device)
{
    const QRectF area = scene.sceneRect();
    const QRectF target(QPointF(), pictureSize(area));
    QSvgGenerator generator;
    generator.setOutputDevice(device);
    // Qt writes the title as it is given, markup and all.
    generator.setTitle(title.toHtmlEscaped());
    generator.setDescription(QStringLiteral("Pensato"));
    generator.setResolution(qRound(QFontMetricsF(QFont()).fontDpi()));
    generator.setSize(target.size().toSize());
    generator.setViewBox(target);
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    if (base.alpha() != 0)
        painter.fillRect(target, base);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, target, area, Qt::IgnoreAspectRatio);
    return painter.end();
}

// Qt names its output SVG 1.2 Tiny and gives its size in millimetres; what
// it writes for a scene is SVG 1.1 but for vector-effect on cosmetic pens,
// which 1.1 readers follow too. The size in pixels is the picture's.
QByteArray asSvg11(QByteArray svg, const QSize &size)
{
    svg.replace(" version=\"1.2\" baseProfile=\"tiny\"", " version=\"1.1\"");
    const QRegularExpression millimetres(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\""));
    const QRegularExpressionMatch found = millimetres.match(QString::fromUtf8(svg.left(1024)));
    if (found.hasMatch())
        svg.replace(found.capturedStart(), found.capturedLength(),
                    QStringLiteral("<svg width=\"%1\" height=\"%2\"")
                        .arg(size.width()).arg(size.height()).toUtf8());
    return svg;
}

// Puts the written file in place, or leaves none. Qt 5's commit() does not
// notice a failed final flush of the write buffer, so it is flushed first.
// `reason` is kept when it already says why nothing was written.
bool commitFile(QSaveFile &file, bool written, QString *reason)
{
    if (written && file.flush() && file.commit())
        return true;
    if (reason->isEmpty())
        *reason = fileErrorReason(file, FileAccess::Writing);
    file.cancelWriting();
    return false;
}

int checkedScale(int scale)
{
    if (scale >= 1 && scale <= maxPictureScale)
        return scale;
    qWarning("exportPicture: scale %d is not from 1 to %d; 1 is used", scale, maxPictureScale);
    return 1;
}

} // namespace

ExportFormat exportFormat(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ExportFormat::Png;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return ExportFormat::Jpg;
    if (suffix == QLatin1String("pdf"))
        return ExportFormat::Pdf;
    if (suffix == QLatin1String("svg"))
        return ExportFormat::Svg;
    return ExportFormat::Unknown;
}

QRectF exportArea(const QGraphicsScene &scene)
{
    return diagramBoundingRect(scene).adjusted(-10, -10, 10, 10);
}

QSize pictureSize(const QRectF &area, int scale)
{
    return QSize(qRound(area.width() * scale), qRound(area.height() * scale));
}

bool exportPicture(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
                   QString *reason)
{
    const ExportFormat format = exportFormat(fileName);
    if (format != ExportFormat::Png && format != ExportFormat::Jpg) {
        *reason = QObject::tr("le suffixe « .%1 » n'est pas un format d'image connu "
                              "(PNG ou JPG)").arg(QFileInfo(fileName).suffix());
        return false;
    }
    const int scale = checkedScale(options.scale);
    const QSize size = pictureSize(scene.sceneRect(), scale);
    if (size.isEmpty()) {
        *reason = QObject::tr("la zone à exporter est vide");
        return false;
    }
    if (size.width() > maxPictureSide || size.height() > maxPictureSide) {
        *reason = QObject::tr("l'image mesurerait %1 × %2 pixels, plus que les %3 permis "
                              "de côté").arg(size.width()).arg(size.height()).arg(maxPictureSide);
        return false;
    }
    std::unique_ptr<PictureEncoder> encoder;
    if (format == ExportFormat::Png)
        encoder = std::make_unique<PngEncoder>();
    else
        encoder = std::make_unique<JpegEncoder>();

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = fileErrorReason(file, FileAccess::Writing);
        return false;
    }
    reason->clear();
    const QColor base = pictureBase(scene, format, options.background);
    const bool written = renderWithBackground(
        scene, options.background == ExportBackground::Scene, [&] {
            return encodeBands(scene, size, scale, base, *encoder, &file, reason);
        });
    if (!written && reason->isEmpty())
        *reason = encoder->errorString();
    return commitFile(file, written, reason);
}

bool exportPdf(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
               QString *reason)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = fileErrorReason(file, FileAccess::Writing);
        return false;
    }
    reason->clear();
    const bool written = renderWithBackground(
        scene, options.background == ExportBackground::Scene,
        [&] { return paintPdf(scene, &file); });
    return commitFile(file, written && file.error() == QFileDevice::NoError, reason);
}

bool exportSvg(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
               QString *reason)
{
    if (scene.sceneRect().isEmpty()) {
        *reason = QObject::tr("la zone à exporter est vide");
        return false;
    }
    QBuffer drawing;
    drawing.open(QIODevice::WriteOnly);
    const QColor base = pictureBase(scene, ExportFormat::Svg, options.background);
    const bool drawn = renderWithBackground(
        scene, options.background == ExportBackground::Scene,
        [&] { return paintSvg(scene, base, QFileInfo(fileName).completeBaseName(), &drawing); });
    if (!drawn) {
        *reason = QObject::tr("le dessin SVG n'a pas pu être fait");
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = fileErrorReason(file, FileAccess::Writing);
        return false;
    }
    reason->clear();
    const QByteArray svg = asSvg11(drawing.buffer(), pictureSize(scene.sceneRect()));
    return commitFile(file, file.write(svg) == svg.size(), reason);
}

bool exportScene(DiagramScene &scene, const QString &fileName, const ExportOptions &options,
                 QString *reason)
{
    switch (exportFormat(fileName)) {
    case ExportFormat::Pdf:
        return exportPdf(scene, fileName, options, reason);
    case ExportFormat::Svg:
        return exportSvg(scene, fileName, options, reason);
    default:
        return exportPicture(scene, fileName, options, reason);
    }
}
