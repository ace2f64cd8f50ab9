#include "export/SceneExport.h"

#include "scene/DiagramScene.h"
#include "scene/writeWholeFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QtMath>

namespace {

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

// The image writer's format for a file suffix, or empty when the save
// dialog offers no such format.
QByteArray pictureFormat(const QString &suffix)
{
    const QString lower = suffix.toLower();
    if (lower == QLatin1String("png"))
        return "png";
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg"))
        return "jpg";
    return {};
}

bool encodePicture(const QImage &image, const QByteArray &format, QByteArray *bytes,
                   QString *reason)
{
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (writer.write(image))
        return true;
    *reason = QObject::tr("l'image n'a pas pu être encodée (%1)").arg(writer.errorString());
    return false;
}

} // namespace

QRectF exportArea(const QGraphicsScene &scene)
{
    return scene.itemsBoundingRect().adjusted(-10, -10, 10, 10);
}

QSize pictureSize(const QRectF &area)
{
    return QSize(qRound(area.width()), qRound(area.height()));
}

QImage renderPicture(QGraphicsScene &scene, const QColor &base)
{
    const QRectF area = scene.sceneRect();
    QImage image(pictureSize(area), QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    image.fill(base);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), area, Qt::KeepAspectRatio);
    return image;
}

QByteArray renderPdf(QGraphicsScene &scene)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Pensato"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(pdfResolution(writer.pageLayout(), scene.sceneRect()));
    QPainter painter(&writer);
    // A null target is the whole printable area of the page.
    scene.render(&painter, QRectF(), scene.sceneRect(), Qt::KeepAspectRatio);
    painter.end(); // completes the document
    return bytes;
}

bool exportPicture(DiagramScene &scene, const QString &fileName, QString *reason)
{
    const QString suffix = QFileInfo(fileName).suffix();
    const QByteArray format = pictureFormat(suffix);
    if (format.isEmpty()) {
        *reason = QObject::tr("le suffixe « .%1 » n'est pas un format d'image connu "
                              "(PNG ou JPG)").arg(suffix);
        return false;
    }
    const bool transparent = format == "png" && scene.isTransparent();
    const QImage image = renderPicture(scene, transparent ? QColor(Qt::transparent)
                                                          : QColor(Qt::white));
    if (image.isNull()) {
        const QSize size = pictureSize(scene.sceneRect());
        *reason = QObject::tr("mémoire insuffisante pour une image de %1 × %2 pixels")
                      .arg(size.width()).arg(size.height());
        return false;
    }
    QByteArray bytes;
    return encodePicture(image, format, &bytes, reason)
        && writeWholeFile(fileName, bytes, reason);
}

bool exportPdf(DiagramScene &scene, const QString &fileName, QString *reason)
{
    return writeWholeFile(fileName, renderPdf(scene), reason);
}
