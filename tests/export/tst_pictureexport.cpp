// The picture writers behind the exports: PNG and JPG streams read back by
// Qt's readers (libpng and libjpeg), PNG streams also checked chunk by
// chunk and inflated by zlib, which verify their checksums; and a picture
// too large for one band, whose seams must not show.

#include "export/JpegEncoder.h"
#include "export/PngEncoder.h"
#include "export/SceneExport.h"
#include "scene/DiagramScene.h"

#include <QBuffer>
#include <QGraphicsEllipseItem>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>

#include <zlib.h>

namespace {

enum Rows { AllDifferent, AllRepeated, RunsOfRepeats, EndsRepeated };

// A picture whose rows repeat the row above as `rows` says, with every
// kind of alpha, so that repeated and changed rows follow each other in
// all orders.
QImage picture(const QSize &size, int rows)
{
    QImage image(size, QImage::Format_RGBA8888);
    QRandomGenerator random(size.width() * 7919 + rows);
    for (int y = 0; y < size.height(); ++y) {
        const bool repeat = y > 0
            && (rows == AllRepeated || (rows == RunsOfRepeats && y % 7 > 1)
                || (rows == EndsRepeated && y > size.height() / 2));
        if (repeat) {
            std::memcpy(image.scanLine(y), image.constScanLine(y - 1), size_t(image.bytesPerLine()));
            continue;
        }
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor::fromRgb(random.generate() | 0xff000000u)
                                              .lighter(100 + (x * y) % 50));
        image.setPixelColor(0, y, QColor(10, 20, 30, y % 256)); // alpha, unpremultiplied
    }
    return image;
}

QByteArray encode(PictureEncoder &encoder, const QImage &rgba, int dotsPerMeter = 3780)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool ok = encoder.begin(&buffer, rgba.size(), dotsPerMeter);
    for (int y = 0; ok && y < rgba.height(); ++y)
        ok = encoder.writeRow(rgba.constScanLine(y));
    ok = ok && encoder.finish();
    return ok ? bytes : QByteArray();
}

// Walks the chunks, checking each CRC, and inflates the IDAT stream, which
// checks its Adler-32; returns the inflated size, or -1.
qint64 inflatedSize(const QByteArray &png)
{
    QByteArray stream;
    int at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray typed = png.mid(at + 4, int(length) + 4);
        const quint32 crc = qFromBigEndian<quint32>(png.constData() + at + 8 + length);
        if (crc != quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size()))))
            return -1;
        if (typed.startsWith("IDAT"))
            stream += typed.mid(4);
        at += 12 + int(length);
    }
    QByteArray raw(64 << 20, Qt::Uninitialized);
    uLongf size = uLongf(raw.size());
    if (uncompress(reinterpret_cast<Bytef *>(raw.data()), &size,
                   reinterpret_cast<const Bytef *>(stream.constData()), uLong(stream.size())) != Z_OK)
        return -1;
    return qint64(size);
}

int maxChannelDifference(const QImage &a, const QImage &b)
{
    const QImage first = a.convertToFormat(QImage::Format_ARGB32);
    const QImage second = b.convertToFormat(QImage::Format_ARGB32);
    int difference = 0;
    for (int y = 0; y < first.height(); ++y) {
        const auto *p = reinterpret_cast<const uchar *>(first.constScanLine(y));
        const auto *q = reinterpret_cast<const uchar *>(second.constScanLine(y));
        for (int i = 0; i < first.width() * 4; ++i)
            difference = qMax(difference, qAbs(p[i] - q[i]));
    }
    return difference;
}

} // namespace

class tst_PictureExport : public QObject
{
    Q_OBJECT

private slots:
    // Row widths around deflate's longest copy (258 bytes) exercise every
    // way a run of zeros is written: whole copies, a shorter copy with
    // extra bits, and one or two bytes left as literals.
    void pngRoundTrip_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("rows");
        QTest::newRow("one pixel") << QSize(1, 1) << int(AllDifferent);
        QTest::newRow("one column repeated") << QSize(1, 40) << int(AllRepeated);
        QTest::newRow("zeros: one copy and one literal") << QSize(65, 9) << int(RunsOfRepeats);
        QTest::newRow("zeros: copies and two literals") << QSize(130, 9) << int(RunsOfRepeats);
        QTest::newRow("zeros: a copy of 3") << QSize(66, 9) << int(RunsOfRepeats);
        QTest::newRow("zeros: a copy of 257") << QSize(129, 9) << int(AllRepeated);
        QTest::newRow("zeros: odd copy lengths") << QSize(1000, 30) << int(RunsOfRepeats);
        QTest::newRow("nothing repeats") << QSize(77, 50) << int(AllDifferent);
        QTest::newRow("ends on repeats") << QSize(300, 60) << int(EndsRepeated);
        QTest::newRow("many IDAT chunks") << QSize(400, 400) << int(RunsOfRepeats);
    }

    void pngRoundTrip()
    {
        QFETCH(QSize, size);
        QFETCH(int, rows);
        const QImage original = picture(size, rows);
        PngEncoder encoder;
        const QByteArray png = encode(encoder, original, 3780 * 2);
        QVERIFY(!png.isEmpty());
        QCOMPARE(inflatedSize(png), qint64(size.height()) * (1 + 4 * size.width()));
        const QImage read = QImage::fromData(png, "PNG");
        QCOMPARE(read.convertToFormat(QImage::Format_RGBA8888), original);
        QCOMPARE(read.dotsPerMeterX(), 3780 * 2);
    }

    // Rows that repeat cost next to nothing: each is written as copies of
    // deflate's longest length, under 1% of its bytes.
    void pngOfRepeatedRowsIsSmall()
    {
        PngEncoder encoder;
        const QImage rows = picture(QSize(2000, 1000), AllRepeated);
        const QByteArray png = encode(encoder, rows);
        QVERIFY2(png.size() < rows.sizeInBytes() / 100, qPrintable(QString::number(png.size())));
    }

    void jpgRoundTrip()
    {
        QImage original(QSize(120, 80), QImage::Format_RGBA8888);
        QPainter painter(&original);
        painter.fillRect(original.rect(), Qt::white);
        painter.fillRect(QRect(20, 10, 60, 40), QColor(200, 30, 40));
        painter.end();
        JpegEncoder encoder;
        const QByteArray jpg = encode(encoder, original, 3780 * 3);
        const QImage read = QImage::fromData(jpg, "JPG");
        QCOMPARE(read.size(), original.size());
        QCOMPARE(qRound(read.dotsPerMeterX() / 100.0), qRound(3780 * 3 / 100.0));
        const QColor inside = read.pixelColor(50, 30);
        QVERIFY2(qAbs(inside.red() - 200) < 12 && inside.green() < 45 && inside.blue() < 55,
                 qPrintable(inside.name()));
        QCOMPARE(read.pixelColor(5, 70).lightness(), 255);
    }

    void encodersReportAFailedDevice()
    {
        QFile closed; // never opened: every write fails
        PngEncoder png;
        QVERIFY(!png.begin(&closed, QSize(10, 10), 3780));
        JpegEncoder jpg;
        const QImage rows = picture(QSize(10, 10), AllDifferent);
        bool ok = jpg.begin(&closed, rows.size(), 3780);
        for (int y = 0; ok && y < rows.height(); ++y)
            ok = jpg.writeRow(rows.constScanLine(y));
        QVERIFY(!(ok && jpg.finish()));
    }

    // A scene rectangle of no size makes no picture and no file.
    void emptyAreaIsRefused()
    {
        DiagramScene scene;
        QTemporaryDir folder;
        QString reason;
        QVERIFY(!exportPicture(scene, folder.filePath("vide.png"), &reason));
        QCOMPARE(reason, QString("la zone à exporter est vide"));
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    // A picture rendered band by band is the picture Qt renders in one go.
    void bandsDoNotShow()
    {
        DiagramScene scene;
        // The gray grid's tiles must line up across the seams too.
        const QString grid = QStringLiteral(":/images/background3.png");
        scene.setBackground(QPixmap(grid), false, false, true, grid, Qt::white);
        // Slanted edges and circles across the whole height, so that every
        // seam between bands cuts through antialiased edges.
        for (int i = 0; i < 30; ++i) {
            scene.addEllipse(QRectF(i * 80, i * 105, 90, 300), QPen(Qt::black, 3), QColor(Qt::blue));
            scene.addLine(QLineF(0, i * 107, 2500, 3300 - i * 103), QPen(Qt::red, 1.5));
        }
        // Whole units: one pixel a unit exactly, as in one rendering.
        scene.setSceneRect(-20, -20, 2600, 3400);
        const QSize size = pictureSize(scene.sceneRect());
        QVERIFY2(qint64(size.width()) * size.height() * 4 > 2 * (16 << 20), "three bands of 16 MiB");

        QTemporaryDir folder;
        QString reason;
        QVERIFY2(exportPicture(scene, folder.filePath("bands.png"), &reason), qPrintable(reason));
        QImage whole(size, QImage::Format_ARGB32_Premultiplied);
        whole.fill(Qt::white);
        QPainter painter(&whole);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(whole.rect()), scene.sceneRect(), Qt::IgnoreAspectRatio);
        painter.end();
        // Qt's antialiasing of an edge varies by a few levels with the
        // size of the picture it paints on; a lost, doubled or shifted
        // row at a seam would differ by far more.
        const QImage bands(folder.filePath("bands.png"));
        QCOMPARE(bands.size(), size);
        QVERIFY2(maxChannelDifference(bands, whole) <= 16,
                 qPrintable(QString::number(maxChannelDifference(bands, whole))));
    }
};

QTEST_MAIN(tst_PictureExport)
#include "tst_pictureexport.moc"
