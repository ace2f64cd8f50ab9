// The files that "Convertir" (picture export window) and "Convertir en PDF"
// write: size, pixels, page, suffixes, and every way a write can fail.

#include "ExportFixture.h"
#include "io/FileSizeLimit.h"

#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Runs a poppler tool (poppler-utils, installed with the build tools);
// false when it cannot run or fails.
bool poppler(const QString &tool, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

// The bounding box of the pixels of `color` in `image`.
QRect extentOf(const QImage &image, QRgb color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class tst_ExportFiles : public QObject
{
    Q_OBJECT

private slots:
    void pictureHasTheSizeOfTheArea_data();
    void pictureHasTheSizeOfTheArea();
    void transparentPictureIsClearOutsideTheItems();
    void pictureShowsTheBackgroundButNotTheFrame_data();
    void pictureShowsTheBackgroundButNotTheFrame();
    void nameWithoutSuffixGetsTheFilters_data();
    void nameWithoutSuffixGetsTheFilters();
    void failedWritesSayWhichFile_data();
    void failedWritesSayWhichFile();
    void areaTooLargeForOnePictureIsRefused_data();
    void areaTooLargeForOnePictureIsRefused();
    void cancelledDialogsChangeNothing();
    void pdfIsOneLandscapeA4Page();
    void pdfScalesTheAreaToThePage_data();
    void pdfScalesTheAreaToThePage();
    void pdfBordersKeepTheirWidthOnThePage();
};

void tst_ExportFiles::pictureHasTheSizeOfTheArea_data()
{
    QTest::addColumn<QRectF>("items");
    QTest::addColumn<QSize>("size");
    QTest::newRow("200 x 400") << QRectF(100, 100, 200, 400) << QSize(220, 420);
    QTest::newRow("halves round up") << QRectF(-50, 0, 200.5, 100.4) << QSize(221, 120);
}

void tst_ExportFiles::pictureHasTheSizeOfTheArea()
{
    QFETCH(QRectF, items);
    QFETCH(QSize, size);
    ExportFixture f;
    f.addBlock(items);
    f.convert(f.openExportWindow(), f.path("out.png"));

    const auto asked = f.dialogs.callsOf("save");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.at(0).caption, QStringLiteral("Convertir en image"));
    QCOMPARE(asked.at(0).dir, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    QCOMPARE(asked.at(0).filter, QStringLiteral("PNG (*.png);;JPG (*.jpg)"));
    const QImage picture(f.path("out.png"));
    QCOMPARE(picture.size(), size);
    QVERIFY(picture.hasAlphaChannel());
    QCOMPARE(f.boxes().size(), 1);
    QCOMPARE(f.boxes().at(0).icon, QMessageBox::Information);
    QCOMPARE(f.boxes().at(0).caption, QStringLiteral("Image enregistrée"));
    QCOMPARE(f.boxes().at(0).text, QStringLiteral("L'image a été convertie avec succès."));
}

void tst_ExportFiles::transparentPictureIsClearOutsideTheItems()
{
    ExportFixture f;
    f.scene()->setBackground(Qt::NoBrush, true, false, false, {}, Qt::white);
    f.addBlock({100, 100, 200, 400}, Qt::red);
    f.addBlock({150, 600, 50, 50}, Qt::blue); // widens the area below the first block
    f.convert(f.openExportWindow(), f.path("clear.png"));

    const QImage picture = QImage(f.path("clear.png")).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(picture.size(), QSize(220, 570));
    const QRect red(10, 10, 200, 400), blue(60, 510, 50, 50);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (red.contains(x, y))
                QCOMPARE(pixel, QColor(Qt::red).rgba());
            else if (!blue.contains(x, y) && qAlpha(pixel) != 0)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is not clear").arg(x).arg(y)));
        }
    }
}

void tst_ExportFiles::pictureShowsTheBackgroundButNotTheFrame_data()
{
    QTest::addColumn<QString>("grid"); // empty: a yellow background
    QTest::addColumn<QString>("file");
    QTest::newRow("colour, PNG") << QString() << "bg.png";
    QTest::newRow("gray grid, PNG") << ":/images/background3.png" << "bg.png";
    QTest::newRow("transparent, JPG: white") << "none" << "bg.jpg";
}

// The area's edges are where the preview draws its dashed frame: in the
// picture they show the background alone.
void tst_ExportFiles::pictureShowsTheBackgroundButNotTheFrame()
{
    QFETCH(QString, grid);
    QFETCH(QString, file);
    ExportFixture f;
    if (grid.isEmpty())
        f.scene()->setBackground(QColor(Qt::yellow), false, true, false, {}, Qt::yellow);
    else if (grid == "none")
        f.scene()->setBackground(Qt::NoBrush, true, false, false, {}, Qt::white);
    else
        f.scene()->setBackground(QPixmap(grid), false, false, true, grid, Qt::white);
    f.addBlock({100, 100, 200, 400});
    ConvertToIMG *window = f.openExportWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto *preview = window->findChild<QGraphicsView *>();
    const QImage shown = preview->viewport()->grab().toImage();
    const QPoint corner = preview->mapFromScene(QPointF(90, 90));
    QCOMPARE(shown.pixelColor(corner + QPoint(2, 0)), QColor(Qt::darkGray)); // the frame is there

    f.convert(window, f.path(file));
    const QImage picture = QImage(f.path(file)).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(picture.size(), QSize(220, 420));
    const QImage tile = QImage(grid).convertToFormat(QImage::Format_ARGB32);
    for (const QPoint &p : {QPoint(2, 0), QPoint(0, 2), QPoint(219, 100), QPoint(100, 419)}) {
        QColor expected = Qt::yellow;
        if (grid == "none")
            expected = Qt::white;
        else if (!grid.isEmpty()) // tiles start at the scene's origin
            expected = tile.pixelColor((90 + p.x()) % tile.width(), (90 + p.y()) % tile.height());
        const QColor got = picture.pixelColor(p);
        // JPG blurs the red block's colour into its neighbours a little.
        const int tolerance = file.endsWith(".jpg") ? 60 : 12;
        QVERIFY2(qAbs(got.red() - expected.red()) + qAbs(got.green() - expected.green())
                         + qAbs(got.blue() - expected.blue()) < tolerance && got.alpha() == 255,
                 qPrintable(QStringLiteral("(%1, %2) is %3").arg(p.x()).arg(p.y()).arg(got.name())));
    }
}

void tst_ExportFiles::nameWithoutSuffixGetsTheFilters_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("PNG filter") << false << "schema" << "PNG (*.png)" << "schema.png" << QByteArray("png");
    QTest::newRow("JPG filter") << false << "schema" << "JPG (*.jpg)" << "schema.jpg" << QByteArray("jpeg");
    QTest::newRow("no filter reported: the first") << false << "schema" << "" << "schema.png" << QByteArray("png");
    QTest::newRow("trailing dot") << false << "schema." << "JPG (*.jpg)" << "schema.jpg" << QByteArray("jpeg");
    QTest::newRow("own suffix kept") << false << "schema.JPG" << "PNG (*.png)" << "schema.JPG" << QByteArray("jpeg");
    QTest::newRow("PDF") << true << "schema" << "" << "schema.pdf" << QByteArray();
}

void tst_ExportFiles::nameWithoutSuffixGetsTheFilters()
{
    QFETCH(bool, pdf);
    QFETCH(QString, answer);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, format);
    ExportFixture f;
    f.addBlock({0, 0, 30, 30});
    if (pdf)
        f.toPdf(f.path(answer), filter);
    else
        f.convert(f.openExportWindow(), f.path(answer), filter);

    QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList{written});
    if (pdf)
        QVERIFY(contents(f.path(written)).startsWith("%PDF"));
    else
        QCOMPARE(QImageReader(f.path(written)).format(), format);
    QCOMPARE(f.boxes().at(0).icon, QMessageBox::Information);
}

void tst_ExportFiles::failedWritesSayWhichFile_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("diskFull");

    QTest::newRow("picture, missing folder") << false << "missing/out.png" << false;
    QTest::newRow("picture, disk full") << false << "old.png" << true;
    QTest::newRow("picture, unknown suffix") << false << "out.txt" << false;
    QTest::newRow("PDF, missing folder") << true << "missing/out.pdf" << false;
    QTest::newRow("PDF, disk full") << true << "old.pdf" << true;
}

void tst_ExportFiles::failedWritesSayWhichFile()
{
    QFETCH(bool, pdf);
    QFETCH(QString, name);
    QFETCH(bool, diskFull);
    ExportFixture f;
    for (int i = 0; i < 40; ++i) // enough to overflow the limit below
        f.addBlock({i * 7.0, i * 13.0, 50, 30}, QColor::fromHsv(i * 9, 200, 200));
    const QString path = f.path(name);
    write(f.path("old.png"), "old picture");
    write(f.path("old.pdf"), "old document");
    const QByteArray old = contents(path);
    {
        std::unique_ptr<FileSizeLimit> limit(diskFull ? new FileSizeLimit(200) : nullptr);
        if (pdf)
            f.toPdf(path);
        else
            f.convert(f.openExportWindow(), path);
    }

    QCOMPARE(contents(path), old); // an old file stays whole, no new one appears
    QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList({"old.pdf", "old.png"}));
    const auto boxes = f.boxes();
    QCOMPARE(boxes.size(), 1); // no success box
    QCOMPARE(boxes.at(0).icon, QMessageBox::Warning);
    QCOMPARE(boxes.at(0).caption, pdf ? QStringLiteral("PDF non enregistré")
                                      : QStringLiteral("Image non enregistrée"));
    QVERIFY2(boxes.at(0).text.contains(path), qPrintable(boxes.at(0).text));
}

void tst_ExportFiles::areaTooLargeForOnePictureIsRefused_data()
{
    QTest::addColumn<QRectF>("items");
    QTest::addColumn<bool>("refused");
    QTest::newRow("16001 wide") << QRectF(0, 0, 15981, 10) << true;
    QTest::newRow("16001 high") << QRectF(0, 0, 10, 15981) << true;
    QTest::newRow("16000 wide: asked") << QRectF(0, 0, 15980, 10) << false;
}

void tst_ExportFiles::areaTooLargeForOnePictureIsRefused()
{
    QFETCH(QRectF, items);
    QFETCH(bool, refused);
    ExportFixture f;
    f.addBlock(items);
    f.convert(f.openExportWindow(), QString()); // a dialog would be cancelled

    QCOMPARE(f.dialogs.callsOf("save").isEmpty(), refused);
    QCOMPARE(f.boxes().size(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(f.boxes().at(0).caption, QStringLiteral("Image trop grande"));
        QVERIFY(f.boxes().at(0).text.contains("16001"));
    }
}

void tst_ExportFiles::cancelledDialogsChangeNothing()
{
    ExportFixture f;
    QGraphicsRectItem *block = f.addBlock({100, 100, 200, 400});
    ConvertToIMG *window = f.openExportWindow();
    block->setSelected(true);
    f.convert(window, QString());
    QVERIFY(block->isSelected());

    f.scene()->setSceneRect(0, 0, 5000, 5000);
    f.toPdf(QString());
    QCOMPARE(f.scene()->sceneRect(), QRectF(0, 0, 5000, 5000));
    QVERIFY(block->isSelected());
    QCOMPARE(f.dialogs.callsOf("save").size(), 2);
    QVERIFY(f.boxes().isEmpty());
    QVERIFY(QDir(f.folder.path()).isEmpty());
}

void tst_ExportFiles::pdfIsOneLandscapeA4Page()
{
    ExportFixture f;
    f.addBlock({100, 100, 200, 400})->setSelected(true);
    f.toPdf(f.path("scene.pdf"));

    const auto asked = f.dialogs.callsOf("save");
    QCOMPARE(asked.at(0).caption, QStringLiteral("Convertir en PDF"));
    QCOMPARE(asked.at(0).dir, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    QCOMPARE(asked.at(0).filter, QStringLiteral("PDF (*.pdf)"));
    QCOMPARE(f.scene()->sceneRect(), QRectF(90, 90, 220, 420));
    QVERIFY(f.scene()->selectedItems().isEmpty());
    QCOMPARE(f.boxes().size(), 1);
    QCOMPARE(f.boxes().at(0).caption, QStringLiteral("Scène convertie"));
    QCOMPARE(f.boxes().at(0).text, QStringLiteral("La scène a été convertie en PDF avec succès."));

    QByteArray pdfInfo;
    QVERIFY2(poppler("pdfinfo", {f.path("scene.pdf")}, &pdfInfo), "pdfinfo cannot read the file");
    const QString info = QString::fromUtf8(pdfInfo);
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    QCOMPARE(qRound(size.captured(1).toDouble()), 842); // A4 lying: 297 x 210 mm
    QCOMPARE(qRound(size.captured(2).toDouble()), 595);
}

void tst_ExportFiles::pdfScalesTheAreaToThePage_data()
{
    QTest::addColumn<QRectF>("items"); // empty: no item
    QTest::addColumn<double>("aspect"); // of the area: width / height
    QTest::newRow("200 x 400: the page's height") << QRectF(100, 100, 200, 400) << 220.0 / 420.0;
    QTest::newRow("empty scene: (-10, -10, 20, 20)") << QRectF() << 1.0;
}

// Rendered back at 50 dpi, the area's red background is as high as the
// page less its margins, and as wide as its aspect allows.
void tst_ExportFiles::pdfScalesTheAreaToThePage()
{
    QFETCH(QRectF, items);
    QFETCH(double, aspect);
    ExportFixture f;
    f.scene()->setBackground(QColor(Qt::red), false, true, false, {}, Qt::red);
    if (!items.isEmpty())
        f.addBlock(items, Qt::red);
    f.toPdf(f.path("scene.pdf"));
    if (items.isEmpty())
        QCOMPARE(f.scene()->sceneRect(), QRectF(-10, -10, 20, 20));

    QVERIFY2(poppler("pdftoppm", {"-png", "-r", "50", "-singlefile", f.path("scene.pdf"), f.path("page")}),
             "pdftoppm cannot read the file");
    const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(page.size(), QSize(585, 414)); // 297 x 210 mm at 50 dpi, rounded up
    const QRect area = extentOf(page, qRgb(255, 0, 0));
    QVERIFY2(area.height() > page.height() * 0.9, qPrintable(QString::number(area.height())));
    QVERIFY2(qAbs(double(area.width()) / area.height() - aspect) < 0.02,
             qPrintable(QStringLiteral("%1 x %2").arg(area.width()).arg(area.height())));
}

// Borders are cosmetic pens: at a fixed printer resolution of 1200 dpi
// they came out as hairlines a twelfth of their width on screen.
void tst_ExportFiles::pdfBordersKeepTheirWidthOnThePage()
{
    ExportFixture f;
    QPen border(Qt::black, 4);
    border.setCosmetic(true);
    f.scene()->addRect(QRectF(100, 100, 200, 400), border, Qt::white);
    f.toPdf(f.path("scene.pdf"));
    QVERIFY2(poppler("pdftoppm", {"-png", "-r", "144", "-singlefile", f.path("scene.pdf"), f.path("page")}),
             "pdftoppm cannot read the file");
    const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_RGB32);

    // Across the middle of the page, the left border is one run of dark
    // pixels; 4 scene units scaled to the page are several pixels at 144 dpi.
    const int y = page.height() / 2;
    int run = 0;
    int longest = 0;
    for (int x = 0; x < page.width() / 2; ++x) {
        run = qGray(page.pixel(x, y)) < 128 ? run + 1 : 0;
        longest = qMax(longest, run);
    }
    QVERIFY2(longest >= 4, qPrintable(QString::number(longest)));
}

QTEST_MAIN(tst_ExportFiles)
#include "tst_exportfiles.moc"
