// Picture and PDF export: the export window's size on each screen and its
// background controls, which mirror the scene's background and act on it;
// the files "Convertir" and "Convertir en PDF" write (size, pixels, page,
// suffixes) and every way a write can fail.

#include "io/FileSizeLimit.h"
#include "support/MainWindowFixture.h"

#include "export/ColoredLabel.h"
#include "export/ConvertToIMG.h"
#include "export/PrimaryScreen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QMenuBar>
#include <QGraphicsRectItem>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QUndoStack>
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
        dialogs.fileNames << answer;
        dialogs.selectedFilters << filter;
        if (exporter)
            QTest::mouseClick(exporter->findChild<QPushButton *>("pushButton_convert"), Qt::LeftButton);
        else
            QMetaObject::invokeMethod(window.get(), "toPDF");
    }
};

enum Background { NoBackground, Transparent, Colour, WhiteGrid = 10, GrayGrid, OwnPicture };

void giveBackground(DiagramScene *scene, int kind)
{
    const QString path = kind == WhiteGrid ? ":/images/background2.png"
                         : kind == GrayGrid ? ":/images/background3.png" : ":/images/background3.png?";
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

// Runs a poppler tool (poppler-utils, installed with the build tools).
QString poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return QString::fromUtf8(process.readAllStandardOutput());
    qWarning("%s cannot read the file", qPrintable(tool));
    return QString();
}

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setPrimaryScreenGeometry(QRect()); }

    void openingTheWindow_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSizeF>("items");
        QTest::addColumn<int>("background");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("controls");
        const QSize wide(1920, 1080);
        const QSizeF small(200.7, 400);
        QTest::newRow("fits: area + (350, 100)") << wide << small << int(NoBackground) << QSize(570, 520) << "0 0 [] 0 #ffffff";
        QTest::newRow("fits exactly, transparent") << wide << QSizeF(1550, 960) << int(Transparent) << wide << "1 0 [] 0 #ffffff";
        QTest::newRow("too wide, colour") << wide << QSizeF(1780, 580) << int(Colour) << QSize(1850, 980) << "0 0 [] 0 #0000ff";
        QTest::newRow("too tall, white grid") << QSize(1024, 768) << QSizeF(580, 980) << int(WhiteGrid) << QSize(954, 668)
                                              << "0 1 [10] 1 #ffffff";
        QTest::newRow("gray grid") << wide << small << int(GrayGrid) << QSize(570, 520) << "0 1 [11] 1 #ffffff";
    }

    // Its size follows the screen; its controls mirror the scene's
    // background, setting nothing.
    void openingTheWindow()
    {
        QFETCH(QSize, screen);
        QFETCH(QSizeF, items);
        QFETCH(int, background);
        setPrimaryScreenGeometry(QRect(QPoint(0, 0), screen));
        ExportFixture f;
        giveBackground(f.scene(), background);
        f.addBlock({QPointF(0, 0), items})->setSelected(true);
        const QString before = backgroundOf(f.scene());
        ConvertToIMG *window = f.openExportWindow();
        QTEST(window->size(), "size");
        QTEST(controlsOf(window), "controls");
        QCOMPARE(backgroundOf(f.scene()), before);
        QVERIFY(f.scene()->selectedItems().isEmpty());
    }

    // The controls set the scene's background as the user goes.
    void backgroundControlsActOnTheScene()
    {
        ExportFixture f;
        giveBackground(f.scene(), GrayGrid);
        QVERIFY(QImage(8, 8, QImage::Format_ARGB32).save(f.path("own.png")));
        ConvertToIMG *window = f.openExportWindow();
        const auto click = [&](QWidget *widget) { // a radio button answers on its circle only
            QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
        };
        f.dialogs.colors << Qt::green; // while "Image" is checked
        click(window->findChild<ColoredLabel *>());
        QCOMPARE(controlsOf(window), QStringLiteral("0 0 [11] 0 #00ff00"));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("0 1 0  #00ff00 1"));
        click(window->findChild<QRadioButton *>("radioButton_2")); // "Image" alone sets nothing
        f.dialogs.fileNames << f.path("own.png");
        click(window->findChild<QButtonGroup *>()->button(OwnPicture));
        QCOMPARE(backgroundOf(f.scene()), "0 0 1 " + f.path("own.png") + " #ffffff 24");
        QCOMPARE(f.calls("open"), QStringList("Image de fond|" + picturesFolder + "|JPG (*.jpg);;PNG (*.png)|"));
        click(window->findChild<QRadioButton *>("radioButton"));
        QCOMPARE(backgroundOf(f.scene()), QStringLiteral("1 0 0  #ffffff 0"));
    }

    void pictureOfTheArea_data()
    {
        QTest::addColumn<QString>("background"); // "transparent", "yellow" or "none"
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("outside"); // the pixels around the block
        QTest::newRow("transparent, PNG") << "transparent" << "a.png" << QColor(Qt::transparent);
        QTest::newRow("colour, PNG") << "yellow" << "a.png" << QColor(Qt::yellow);
        QTest::newRow("none, PNG: white, as shown") << "none" << "a.png" << QColor(Qt::white);
        QTest::newRow("transparent, JPG: white") << "transparent" << "a.jpg" << QColor(Qt::white);
    }

    // The items' area and a margin of 10, in 32 bits. Its edges are where the
    // preview draws its dashed frame: in the picture they show the
    // background alone.
    void pictureOfTheArea()
    {
        QFETCH(QString, background);
        QFETCH(QString, file);
        QFETCH(QColor, outside);
        ExportFixture f;
        const bool transparent = background == "transparent";
        if (background != "none")
            f.scene()->setBackground(transparent ? Qt::NoBrush : QBrush(Qt::yellow), transparent, !transparent,
                                     false, {}, transparent ? Qt::white : Qt::yellow);
        f.addBlock({100, 100, 200, 400});
        ConvertToIMG *window = f.openExportWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *preview = window->findChild<QGraphicsView *>();
        const QImage shown = preview->viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(preview->mapFromScene(QPointF(90, 90)) + QPoint(2, 0)),
                 QColor(Qt::darkGray)); // the frame is there
        // What the preview shows beside the block is what is written; a
        // transparent picture shows as a checkerboard of grey and white.
        const QColor beside = shown.pixelColor(preview->mapFromScene(QPointF(95, 300)));
        if (transparent)
            QVERIFY2(beside == QColor(204, 204, 204) || beside == QColor(Qt::white), qPrintable(beside.name()));
        else
            QCOMPARE(beside, outside);

        f.convert(window, f.path(file));
        QCOMPARE(f.calls("save"), QStringList("Convertir en image|" + picturesFolder + "|PNG (*.png);;JPG (*.jpg)|"));
        QCOMPARE(f.calls("message"), QStringList("Image enregistrée|||L'image a été convertie avec succès.|1"));
        const QImage picture = QImage(f.path(file)).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(220, 420));
        const QRect block(10, 10, 200, 400);
        const bool jpg = file.endsWith(".jpg"); // JPG blurs colours, most near the block's edges
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor got = picture.pixelColor(x, y), want = block.contains(x, y) ? QColor(Qt::red) : outside;
                if (jpg ? (block.adjusted(-8, -8, 8, 8).contains(x, y) && !block.adjusted(8, 8, -8, -8).contains(x, y))
                              || qAbs(got.red() - want.red()) + qAbs(got.green() - want.green()) + qAbs(got.blue() - want.blue()) < 60
                        : got == want)
                    continue;
                QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(got.name(QColor::HexArgb))));
            }
    }

    void convert_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QString>("answer"); // empty: the dialog is cancelled; old.*: the disk is full
        QTest::addColumn<QString>("filter"); // empty: none reported
        QTest::addColumn<QRectF>("items"); // empty: many small ones
        QTest::addColumn<QString>("result"); // the file written or the error box's title; empty: neither
        const QString picture = QStringLiteral("Image non enregistrée"), pdf = QStringLiteral("PDF non enregistré");
        const QString png = QStringLiteral("PNG (*.png)"), jpg = QStringLiteral("JPG (*.jpg)");
        const QRectF many;
        QTest::newRow("JPG filter") << false << "schema" << jpg << many << "schema.jpg";
        QTest::newRow("no filter reported: the first") << false << "schema" << "" << many << "schema.png";
        QTest::newRow("own suffix kept") << false << "schema.JPG" << png << many << "schema.JPG";
        QTest::newRow("PDF") << true << "schema" << "" << many << "schema.pdf";
        QTest::newRow("picture, missing folder") << false << "missing/out.png" << "" << many << picture;
        QTest::newRow("picture, disk full") << false << "old.png" << "" << many << picture;
        QTest::newRow("picture, other suffix: the filter's added") << false << "schema.txt" << "" << many << "schema.txt.png";
        QTest::newRow("PDF named like a picture") << true << "schema.png" << "" << many << "schema.png.pdf";
        QTest::newRow("picture, cancelled") << false << "" << "" << many << "";
        QTest::newRow("picture 16001 wide: not asked") << false << "out.png" << "" << QRectF(0, 0, 15981, 10) << "Image trop grande";
        QTest::newRow("picture 16000 wide: asked") << false << "" << "" << QRectF(0, 0, 15980, 10) << "";
        QTest::newRow("PDF, disk full") << true << "old.pdf" << "" << many << pdf;
        QTest::newRow("PDF, cancelled") << true << "" << "" << many << "";
    }

    // A name without one of the filters' suffixes gets the chosen filter's. On failure an old file stays
    // whole and no new one appears; the scene keeps its selection when
    // nothing was asked or chosen, and a PDF export leaves it as it was.
    void convert()
    {
        QFETCH(bool, pdf);
        QFETCH(QString, answer);
        QFETCH(QString, filter);
        QFETCH(QRectF, items);
        QFETCH(QString, result);
        ExportFixture f;
        for (int i = 0; i < 40 && items.isEmpty(); ++i) // enough to overflow the limit below
            f.addBlock({i * 7.0, i * 13.0, 50, 30}, QColor::fromHsv(i * 9, 200, 200));
        if (!items.isEmpty())
            f.addBlock(items);
        for (const char *old : {"old.png", "old.pdf"}) {
            QFile file(f.path(old));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) > 0);
        }
        const QString path = f.path(answer.isEmpty() ? "none" : answer);
        const QByteArray old = fileContents(path);
        ConvertToIMG *window = pdf ? nullptr : f.openExportWindow(); // which sets the area
        f.scene()->items().first()->setSelected(true);
        if (pdf)
            f.scene()->setSceneRect(0, 0, 5000, 5000);
        {
            const FileSizeLimit limit(answer.startsWith("old.") ? 200 : RLIM_INFINITY);
            f.convert(window, answer.isEmpty() ? QString() : path, filter);
        }
        const bool written = result.startsWith("schema");
        QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files),
                 QStringList({"old.pdf", "old.png"}) + QStringList(result).mid(0, written));
        const QStringList boxes = f.calls("message");
        QCOMPARE(boxes.size(), result.isEmpty() ? 0 : 1);
        if (written) {
            QVERIFY(boxes.at(0).endsWith("|1"));
            if (pdf)
                QVERIFY(fileContents(f.path(result)).startsWith("%PDF"));
            else
                QCOMPARE(QImageReader(f.path(result)).format(), QByteArray(result.endsWith("png") ? "png" : "jpeg"));
            return;
        }
        QCOMPARE(fileContents(path), old);
        if (!result.isEmpty())
            QVERIFY2(boxes.at(0).startsWith(result + "|||") && boxes.at(0).endsWith("|2")
                         && boxes.at(0).contains(items.isEmpty() ? path : "16001"), qPrintable(boxes.at(0)));
        QCOMPARE(f.calls("save").size(), result == "Image trop grande" ? 0 : 1);
        if (answer.isEmpty() || !items.isEmpty())
            QCOMPARE(f.scene()->selectedItems().size(), 1);
        if (pdf) {
            QCOMPARE(f.scene()->sceneRect(), QRectF(0, 0, 5000, 5000));
            QCOMPARE(f.scene()->selectedItems().size(), 1);
        }
    }

    void exportLeavesTheSceneAsItWas_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("picture window") << false;
        QTest::newRow("PDF") << true;
    }

    // Exports used to shrink the scene rectangle to the items for good, and
    // the view's scrollable area with it.
    void exportLeavesTheSceneAsItWas()
    {
        QFETCH(bool, pdf);
        ExportFixture f;
        QGraphicsRectItem *block = f.addBlock({100, 100, 200, 400});
        block->setSelected(true);
        const QRectF before = f.scene()->sceneRect();
        if (pdf) {
            f.convert(nullptr, f.path("a.pdf"));
        } else {
            ConvertToIMG *window = f.openExportWindow();
            QCOMPARE(f.scene()->sceneRect(), QRectF(90, 90, 220, 420)); // what the preview frames
            QVERIFY(f.scene()->selectedItems().isEmpty());
            f.convert(window, f.path("a.png"));
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCOMPARE(f.calls("message").size(), 1); // written
        QCOMPARE(f.scene()->sceneRect(), before);
        QCOMPARE(f.scene()->selectedItems(), QList<QGraphicsItem *>{block});
        QCOMPARE(f.scene()->undoStack()->count(), 0);
    }

    void pdfIsOneLandscapeA4Page_data()
    {
        QTest::addColumn<QRectF>("items"); // empty: no item
        QTest::addColumn<QRectF>("area");
        QTest::newRow("200 x 400, border 4") << QRectF(100, 100, 200, 400) << QRectF(88, 88, 224, 424);
        QTest::newRow("empty scene") << QRectF() << QRectF(-10, -10, 20, 20);
    }

    // Rendered back at 100 dpi, the area's red background is as high as the
    // page less its margins, and as wide as its aspect allows. Borders are
    // cosmetic pens: at a fixed printer resolution of 1200 dpi they came out
    // as hairlines a twelfth of their width on screen.
    void pdfIsOneLandscapeA4Page()
    {
        QFETCH(QRectF, items);
        QFETCH(QRectF, area);
        ExportFixture f;
        f.scene()->setBackground(QColor(Qt::red), false, true, false, {}, Qt::red);
        if (!items.isEmpty()) {
            QPen border(Qt::black, 4);
            border.setCosmetic(true);
            QGraphicsRectItem *block = f.addBlock(items);
            block->setPen(border);
            block->setSelected(true);
        }
        f.convert(nullptr, f.path("scene.pdf"));
        QCOMPARE(f.calls("save"), QStringList("Convertir en PDF|" + QStandardPaths::writableLocation(
                                                  QStandardPaths::DesktopLocation) + "|PDF (*.pdf)|"));
        QCOMPARE(f.calls("message"), QStringList("Scène convertie|||La scène a été convertie en PDF avec succès.|1"));
        QCOMPARE(f.scene()->sceneRect(), QRectF(0, 0, 5000, 5000)); // the area is the page's only
        QCOMPARE(f.scene()->selectedItems().size(), items.isEmpty() ? 0 : 1);

        const QString info = poppler("pdfinfo", {f.path("scene.pdf")});
        QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 59[56](\\.\\d+)? pts")),
                 qPrintable(info)); // A4 lying
        poppler("pdftoppm", {"-png", "-r", "100", "-singlefile", f.path("scene.pdf"), f.path("page")});
        const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_ARGB32);
        QRect red;
        int run = 0, border = 0; // the longest run of dark pixels across the middle of the left half
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (page.pixel(x, y) == qRgb(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
                if (y == page.height() / 2 && x < page.width() / 2)
                    border = qMax(border, run = qRed(page.pixel(x, y)) < 128 ? run + 1 : 0);
            }
        QVERIFY2(red.height() > page.height() * 0.9, qPrintable(QString::number(red.height())));
        QVERIFY2(qAbs(double(red.width()) / red.height() - area.width() / area.height()) < 0.02,
                 qPrintable(QStringLiteral("%1 x %2").arg(red.width()).arg(red.height())));
        QVERIFY2(items.isEmpty() || border >= 4, qPrintable(QString::number(border))); // 4 units: about 6 pixels
    }

    // The window's scale box: 1× to 4×, 1× untouched; the picture is that
    // many times the area, and one that would pass the side limit at that
    // scale is refused before the file is asked for.
    void scaleChoice_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<qreal>("width"); // of the block
        QTest::addColumn<bool>("written");
        QTest::newRow("1×") << 1 << 200.0 << true;
        QTest::newRow("2×") << 2 << 200.0 << true;
        QTest::newRow("4×") << 4 << 200.0 << true;
        QTest::newRow("4×, 16080 wide: not asked") << 4 << 4000.0 << false;
    }
    void scaleChoice()
    {
        QFETCH(int, scale);
        QFETCH(qreal, width);
        QFETCH(bool, written);
        ExportFixture f;
        f.addBlock({100, 100, width, 40});
        ConvertToIMG *window = f.openExportWindow();
        auto *box = window->findChild<QComboBox *>("comboBox_scale");
        QVERIFY(box);
        QCOMPARE(box->count(), ConvertToIMG::maxWindowScale);
        QCOMPARE(window->scale(), 1);
        box->setCurrentIndex(scale - 1);
        QCOMPARE(window->scale(), scale);
        f.convert(window, f.path("scaled.png"));
        QCOMPARE(f.calls("save").size(), written ? 1 : 0);
        if (!written) {
            QVERIFY(f.calls("message").value(0).startsWith("Image trop grande|||"));
            return;
        }
        const QImage picture(f.path("scaled.png"));
        QCOMPARE(picture.size(), QSize(int(width) + 20, 60) * scale);
        QCOMPARE(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(5 * scale, 5 * scale), QColor(Qt::white));
    }

    // "Convertir en SVG" in the file menu writes the items' area as an SVG
    // file and leaves the scene as it was; cancelled, it writes nothing.
    void svgFromTheFileMenu_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("written, suffix added") << "schema";
        QTest::newRow("cancelled") << "";
    }
    void svgFromTheFileMenu()
    {
        QFETCH(QString, answer);
        ExportFixture f;
        QGraphicsRectItem *block = f.addBlock({100, 100, 200, 40});
        block->setSelected(true);
        const QRectF before = f.scene()->sceneRect();
        QAction *action = nullptr;
        for (QAction *menu : f.window->menuBar()->actions())
            if (menu->text() == "&Fichier")
                for (QAction *entry : menu->menu()->actions())
                    if (entry->text() == "Convertir en SVG")
                        action = entry;
        QVERIFY(action);
        QVERIFY(!action->icon().isNull());
        f.dialogs.fileNames << (answer.isEmpty() ? QString() : f.path(answer));
        f.dialogs.selectedFilters << QString();
        action->trigger();
        QCOMPARE(f.calls("save"), QStringList("Convertir en SVG|" + QStandardPaths::writableLocation(
                                                  QStandardPaths::DesktopLocation) + "|SVG (*.svg)|"));
        QCOMPARE(f.scene()->sceneRect(), before);
        QCOMPARE(f.scene()->selectedItems(), QList<QGraphicsItem *>{block});
        if (answer.isEmpty()) {
            QCOMPARE(f.calls("message"), QStringList());
            QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList());
            return;
        }
        QCOMPARE(f.calls("message"), QStringList("Scène convertie|||La scène a été convertie en SVG avec succès.|1"));
        const QByteArray svg = fileContents(f.path("schema.svg"));
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("viewBox=\"0 0 220 60\"")); // the items' area and its margin
    }
};

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
