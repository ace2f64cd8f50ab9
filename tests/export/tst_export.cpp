// Picture and PDF export: the export window's size on each screen and its
// background controls, which mirror the scene's background and act on it;
// the files "Convertir" and "Convertir en PDF" write (size, pixels, page,
// suffixes) and every way a write can fail.

#include "io/FileSizeLimit.h"
#include "support/MainWindowFixture.h"

#include "app/ColoredLabel.h"
#include "export/ConvertToIMG.h"
#include "export/PrimaryScreen.h"

#include <QButtonGroup>
#include <QGraphicsRectItem>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QtTest>

namespace {

// A main window with helpers that run its export commands as a user would.
struct ExportFixture : MainWindowFixture
{
    // A borderless, selectable block whose bounding rectangle is exactly `rect`.
    QGraphicsRectItem *addBlock(const QRectF &rect, const QColor &color = Qt::red) const
    {
        auto *block = scene()->addRect(rect, Qt::NoPen, color);
        block->setFlag(QGraphicsItem::ItemIsSelectable);
        return block;
    }

    // "Convertir en image": the export window it opens.
    ConvertToIMG *openExportWindow() const
    {
        QMetaObject::invokeMethod(window.get(), "toImage");
        return window->findChild<ConvertToIMG *>();
    }

    // "Convertir" in the export window, or "Convertir en PDF" when `exporter`
    // is null; the save dialog answered with `answer` (empty: cancelled)
    // under `filter` (empty: none reported).
    void convert(ConvertToIMG *exporter, const QString &answer, const QString &filter = {})
    {
        dialogs.fileNames.clear();
        dialogs.selectedFilters.clear();
        if (!answer.isEmpty())
            dialogs.fileNames.enqueue(answer);
        if (!filter.isEmpty())
            dialogs.selectedFilters.enqueue(filter);
        if (exporter)
            QTest::mouseClick(exporter->findChild<QPushButton *>("pushButton_convert"), Qt::LeftButton);
        else
            QMetaObject::invokeMethod(window.get(), "toPDF");
    }
};

enum Background { NoBackground, Transparent, Colour, WhiteGrid = 10, GrayGrid, OwnPicture };

void giveBackground(DiagramScene *scene, int kind)
{
    const QString path = kind == WhiteGrid  ? QStringLiteral(":/images/background2.png")
                         : kind == GrayGrid ? QStringLiteral(":/images/background3.png")
                                            : QStringLiteral(":/images/background3.png?");
    if (kind == Transparent)
        scene->setBackground(Qt::NoBrush, true, false, false, {}, Qt::white);
    else if (kind == Colour)
        scene->setBackground(QColor(Qt::blue), false, true, false, {}, Qt::blue);
    else if (kind != NoBackground)
        scene->setBackground(QPixmap(path), false, false, true, path, Qt::white);
}

// Everything a background choice can change, to compare before and after.
QString backgroundOf(const DiagramScene *scene)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(scene->isTransparent()).arg(scene->isColorBackground())
        .arg(scene->isPictureBackground()).arg(scene->backgroundPath(),
             scene->backgroundColor().name()).arg(scene->backgroundBrush().style());
}

// The window's controls: "Transparent" and "Image" checked, the checked
// picture buttons, whether they are enabled, and the swatch's colour.
QString controlsOf(ConvertToIMG *window)
{
    QButtonGroup *group = window->findChild<QButtonGroup *>();
    QString pictures;
    for (QAbstractButton *button : group->buttons())
        if (button->isChecked())
            pictures += QString::number(group->id(button));
    return QStringLiteral("%1 %2 [%3] %4 %5")
        .arg(window->findChild<QRadioButton *>("radioButton")->isChecked())
        .arg(window->findChild<QRadioButton *>("radioButton_2")->isChecked())
        .arg(pictures).arg(group->buttons().at(0)->isEnabled())
        .arg(window->findChild<ColoredLabel *>()->pixmap(Qt::ReturnByValue).toImage().pixelColor(0, 0).name());
}

const QString picturesFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
const QString desktopFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);

// Runs a poppler tool (poppler-utils, installed with the build tools).
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return QString::fromUtf8(process.readAllStandardOutput());
    qWarning("%s cannot read the file", qPrintable(tool));
    return QString();
}

// The page of the fixture's scene.pdf rendered at `dpi`.
QImage page(const ExportFixture &f, int dpi)
{
    poppler("pdftoppm", {"-png", "-r", QString::number(dpi), "-singlefile", f.path("scene.pdf"),
                         f.path("page")});
    return QImage(f.path("page.png")).convertToFormat(QImage::Format_ARGB32);
}

// The bounding box of the pixels of `color`.
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

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setPrimaryScreenGeometry(QRect()); }

    void windowSizeFollowsTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSizeF>("items");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("fits: area + (350, 100)") << QSize(1920, 1080) << QSizeF(200.7, 400) << QSize(570, 520);
        QTest::newRow("fits exactly") << QSize(1920, 1080) << QSizeF(1550, 960) << QSize(1920, 1080);
        QTest::newRow("too wide") << QSize(1920, 1080) << QSizeF(1780, 580) << QSize(1850, 980);
        QTest::newRow("too tall") << QSize(1024, 768) << QSizeF(580, 980) << QSize(954, 668);
    }

    void windowSizeFollowsTheScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(QSizeF, items);
        setPrimaryScreenGeometry(QRect(QPoint(0, 0), screen));
        ExportFixture f;
        f.addBlock({QPointF(0, 0), items})->setSelected(true);
        QTEST(f.openExportWindow()->size(), "expected");
        QVERIFY(f.scene()->selectedItems().isEmpty());
    }

    void openingMirrorsTheBackground_data()
    {
        QTest::addColumn<int>("background");
        QTest::addColumn<QString>("controls");
        QTest::newRow("none") << int(NoBackground) << "0 0 [] 0 #ffffff";
        QTest::newRow("transparent") << int(Transparent) << "1 0 [] 0 #ffffff";
        QTest::newRow("colour") << int(Colour) << "0 0 [] 0 #0000ff";
        QTest::newRow("white grid") << int(WhiteGrid) << "0 1 [10] 1 #ffffff";
        QTest::newRow("gray grid") << int(GrayGrid) << "0 1 [11] 1 #ffffff";
        QTest::newRow("own picture") << int(OwnPicture) << "0 1 [12] 1 #ffffff";
    }

    void openingMirrorsTheBackground()
    {
        QFETCH(int, background);
        ExportFixture f;
        giveBackground(f.scene(), background);
        const QString before = backgroundOf(f.scene());
        QTEST(controlsOf(f.openExportWindow()), "controls");
        QCOMPARE(backgroundOf(f.scene()), before); // mirroring sets nothing
    }

    // The controls set the scene's background as the user goes; a choice
    // cancelled changes nothing.
    void backgroundControlsActOnTheScene()
    {
        ExportFixture f;
        giveBackground(f.scene(), GrayGrid);
        QVERIFY(QImage(8, 8, QImage::Format_ARGB32).save(f.path("own.png")));
        ConvertToIMG *window = f.openExportWindow();
        const auto click = [&](QWidget *widget) { // a radio button answers on its circle only
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
        };
        click(window->findChild<ColoredLabel *>()); // cancelled
        QCOMPARE(backgroundOf(f.scene()), "0 0 1 :/images/background3.png #ffffff 24");

        f.dialogs.colors << Qt::red << Qt::green; // while "Image" is checked
        click(window->findChild<ColoredLabel *>());
        QCOMPARE(controlsOf(window), QStringLiteral("0 0 [11] 0 #ff0000"));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("0 1 0  #ff0000 1"));
        click(window->findChild<ColoredLabel *>());
        QCOMPARE(f.dialogs.callsOf("color").at(2).text, QStringLiteral("#ff0000")); // opens on the last
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("0 1 0  #00ff00 1"));

        click(window->findChild<QRadioButton *>("radioButton_2"));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("0 1 0  #00ff00 1")); // "Image" alone sets nothing
        click(window->findChild<QButtonGroup *>()->button(WhiteGrid));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("0 0 1 :/images/background2.png #ffffff 24"));
        click(window->findChild<QButtonGroup *>()->button(OwnPicture)); // cancelled
        QCOMPARE(controlsOf(window), QStringLiteral("0 1 [10] 1 #00ff00"));
        f.dialogs.fileNames << f.path("own.png");
        click(window->findChild<QButtonGroup *>()->button(OwnPicture));
        QCOMPARE(backgroundOf(f.scene()), "0 0 1 " + f.path("own.png") + " #ffffff 24");
        QCOMPARE(f.calls("open").value(1), "Image de fond|" + picturesFolder + "|JPG (*.jpg);;PNG (*.png)|");
        click(window->findChild<QRadioButton *>("radioButton"));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("1 0 0  #ffffff 0"));
    }

    void transparentPictureOfTheArea()
    {
        ExportFixture f;
        f.scene()->setBackground(Qt::NoBrush, true, false, false, {}, Qt::white);
        f.addBlock({100, 100, 200, 400});
        f.convert(f.openExportWindow(), f.path("clear.png"));
        QCOMPARE(f.calls("save"), QStringList("Convertir en image|" + picturesFolder + "|PNG (*.png);;JPG (*.jpg)|"));
        QCOMPARE(f.calls("message"), QStringList("Image enregistrée|||L'image a été convertie avec succès.|1"));

        const QImage picture = QImage(f.path("clear.png")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(220, 420)); // the items' area and a margin of 10
        QCOMPARE(extentOf(picture, qRgb(255, 0, 0)), QRect(10, 10, 200, 400));
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qAlpha(picture.pixel(x, y)) != (QRect(10, 10, 200, 400).contains(x, y) ? 255 : 0))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
    }

    void pictureShowsTheBackgroundButNotTheFrame_data()
    {
        QTest::addColumn<bool>("transparent"); // else yellow
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("colour, PNG") << false << "bg.png" << QColor(Qt::yellow);
        QTest::newRow("transparent, JPG: white") << true << "bg.jpg" << QColor(Qt::white);
    }

    // The area's edges are where the preview draws its dashed frame: in the
    // picture they show the background alone.
    void pictureShowsTheBackgroundButNotTheFrame()
    {
        QFETCH(bool, transparent);
        QFETCH(QString, file);
        QFETCH(QColor, expected);
        ExportFixture f;
        f.scene()->setBackground(transparent ? Qt::NoBrush : QBrush(Qt::yellow), transparent, !transparent,
                                 false, {}, expected);
        f.addBlock({100, 100, 200, 400});
        ConvertToIMG *window = f.openExportWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *preview = window->findChild<QGraphicsView *>();
        const QPoint corner = preview->mapFromScene(QPointF(90, 90));
        QCOMPARE(preview->viewport()->grab().toImage().pixelColor(corner + QPoint(2, 0)),
                 QColor(Qt::darkGray)); // the frame is there

        f.convert(window, f.path(file));
        const QImage picture = QImage(f.path(file)).convertToFormat(QImage::Format_ARGB32);
        for (const QPoint &p : {QPoint(2, 0), QPoint(0, 2), QPoint(219, 100), QPoint(100, 419)}) {
            const QColor got = picture.pixelColor(p);
            // JPG blurs the red block's colour into its neighbours a little.
            QVERIFY2(qAbs(got.red() - expected.red()) + qAbs(got.green() - expected.green())
                             + qAbs(got.blue() - expected.blue()) < 60 && got.alpha() == 255,
                     qPrintable(QStringLiteral("(%1, %2) is %3").arg(p.x()).arg(p.y()).arg(got.name())));
        }
    }

    void nameWithoutSuffixGetsTheFilters_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("format"); // empty: PDF
        QTest::newRow("PNG filter") << "schema" << "PNG (*.png)" << "schema.png" << QByteArray("png");
        QTest::newRow("JPG filter") << "schema" << "JPG (*.jpg)" << "schema.jpg" << QByteArray("jpeg");
        QTest::newRow("no filter reported: the first") << "schema" << "" << "schema.png" << QByteArray("png");
        QTest::newRow("trailing dot") << "schema." << "JPG (*.jpg)" << "schema.jpg" << QByteArray("jpeg");
        QTest::newRow("own suffix kept") << "schema.JPG" << "PNG (*.png)" << "schema.JPG" << QByteArray("jpeg");
        QTest::newRow("PDF") << "schema" << "" << "schema.pdf" << QByteArray();
    }

    void nameWithoutSuffixGetsTheFilters()
    {
        QFETCH(QString, answer);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(QByteArray, format);
        ExportFixture f;
        f.addBlock({0, 0, 30, 30});
        f.convert(format.isEmpty() ? nullptr : f.openExportWindow(), f.path(answer), filter);
        QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList{written});
        if (format.isEmpty())
            QVERIFY(fileContents(f.path(written)).startsWith("%PDF"));
        else
            QCOMPARE(QImageReader(f.path(written)).format(), format);
    }

    void failuresWriteNothing_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("name"); // empty: the dialog is cancelled
        QTest::addColumn<QRectF>("items"); // empty: many small ones
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("box"); // empty: none
        const QString picture = QStringLiteral("Image non enregistrée"), pdf = QStringLiteral("PDF non enregistré");
        QTest::newRow("picture, missing folder") << false << "missing/out.png" << QRectF() << false << picture;
        QTest::newRow("picture, disk full") << false << "old.png" << QRectF() << true << picture;
        QTest::newRow("picture, unknown suffix") << false << "out.txt" << QRectF() << false << picture;
        QTest::newRow("picture, cancelled") << false << "" << QRectF() << false << "";
        QTest::newRow("picture 16001 wide: not asked") << false << "out.png" << QRectF(0, 0, 15981, 10) << false << "Image trop grande";
        QTest::newRow("picture 16001 high: not asked") << false << "out.png" << QRectF(0, 0, 10, 15981) << false << "Image trop grande";
        QTest::newRow("picture 16000 wide: asked") << false << "" << QRectF(0, 0, 15980, 10) << false << "";
        QTest::newRow("PDF, missing folder") << true << "missing/out.pdf" << QRectF() << false << pdf;
        QTest::newRow("PDF, disk full") << true << "old.pdf" << QRectF() << true << pdf;
        QTest::newRow("PDF, cancelled") << true << "" << QRectF() << false << "";
    }

    // An old file stays whole and no new one appears; the scene keeps its
    // rectangle and selection when nothing was asked or chosen.
    void failuresWriteNothing()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, name);
        QFETCH(QRectF, items);
        QFETCH(bool, diskFull);
        QFETCH(QString, box);
        ExportFixture f;
        for (int i = 0; i < 40 && items.isEmpty(); ++i) // enough to overflow the limit below
            f.addBlock({i * 7.0, i * 13.0, 50, 30}, QColor::fromHsv(i * 9, 200, 200));
        if (!items.isEmpty())
            f.addBlock(items);
        for (const char *old : {"old.png", "old.pdf"}) {
            QFile file(f.path(old));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) > 0);
        }
        const QString path = f.path(name.isEmpty() ? "none" : name);
        const QByteArray old = fileContents(path);
        ConvertToIMG *window = pdf ? nullptr : f.openExportWindow(); // which sets the area
        f.scene()->items().first()->setSelected(true);
        if (pdf)
            f.scene()->setSceneRect(0, 0, 5000, 5000);
        {
            const FileSizeLimit limit(diskFull ? 200 : RLIM_INFINITY);
            f.convert(window, name.isEmpty() ? QString() : path);
        }
        QCOMPARE(fileContents(path), old);
        QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList({"old.pdf", "old.png"}));
        const QStringList boxes = f.calls("message");
        QCOMPARE(boxes.size(), box.isEmpty() ? 0 : 1); // no success box
        if (!box.isEmpty())
            QVERIFY2(boxes.at(0).startsWith(box + "|||") && boxes.at(0).endsWith("|2")
                         && boxes.at(0).contains(items.isEmpty() ? path : "16001"), qPrintable(boxes.at(0)));
        QCOMPARE(f.calls("save").size(), box == "Image trop grande" ? 0 : 1);
        if (name.isEmpty() || !items.isEmpty())
            QCOMPARE(f.scene()->selectedItems().size(), 1);
        if (pdf && name.isEmpty())
            QCOMPARE(f.scene()->sceneRect(), QRectF(0, 0, 5000, 5000));
    }

    void pdfIsOneLandscapeA4Page_data()
    {
        QTest::addColumn<QRectF>("items"); // empty: no item
        QTest::addColumn<QRectF>("area");
        QTest::newRow("200 x 400") << QRectF(100, 100, 200, 400) << QRectF(90, 90, 220, 420);
        QTest::newRow("empty scene") << QRectF() << QRectF(-10, -10, 20, 20);
    }

    // Rendered back at 50 dpi, the area's red background is as high as the
    // page less its margins, and as wide as its aspect allows.
    void pdfIsOneLandscapeA4Page()
    {
        QFETCH(QRectF, items);
        QFETCH(QRectF, area);
        ExportFixture f;
        f.scene()->setBackground(QColor(Qt::red), false, true, false, {}, Qt::red);
        if (!items.isEmpty())
            f.addBlock(items, Qt::red)->setSelected(true);
        f.convert(nullptr, f.path("scene.pdf"));
        QCOMPARE(f.calls("save"), QStringList("Convertir en PDF|" + desktopFolder + "|PDF (*.pdf)|"));
        QCOMPARE(f.calls("message"), QStringList("Scène convertie|||La scène a été convertie en PDF avec succès.|1"));
        QCOMPARE(f.scene()->sceneRect(), area);
        QVERIFY(f.scene()->selectedItems().isEmpty());

        const QString info = poppler("pdfinfo", {f.path("scene.pdf")});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 59[56](\\.\\d+)? pts")),
                 qPrintable(info)); // A4 lying
        const QImage rendered = page(f, 50);
        const QRect red = extentOf(rendered, qRgb(255, 0, 0));
        QVERIFY2(red.height() > rendered.height() * 0.9, qPrintable(QString::number(red.height())));
        QVERIFY2(qAbs(double(red.width()) / red.height() - area.width() / area.height()) < 0.02,
                 qPrintable(QStringLiteral("%1 x %2").arg(red.width()).arg(red.height())));
    }

    // Borders are cosmetic pens: at a fixed printer resolution of 1200 dpi
    // they came out as hairlines a twelfth of their width on screen.
    void pdfBordersKeepTheirWidthOnThePage()
    {
        ExportFixture f;
        QPen border(Qt::black, 4);
        border.setCosmetic(true);
        f.scene()->addRect(QRectF(100, 100, 200, 400), border, Qt::white);
        f.convert(nullptr, f.path("scene.pdf"));
        const QImage rendered = page(f, 144);
        // Across the middle of the page, the left border is one run of dark
        // pixels; 4 scene units scaled to the page are several pixels at 144 dpi.
        int run = 0, longest = 0;
        for (int x = 0; x < rendered.width() / 2; ++x) {
            run = qGray(rendered.pixel(x, rendered.height() / 2)) < 128 ? run + 1 : 0;
            longest = qMax(longest, run);
        }
        QVERIFY2(longest >= 4, qPrintable(QString::number(longest)));
    }
};

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
