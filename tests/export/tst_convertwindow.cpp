// The picture export window: how "Convertir en image" opens it, its size
// on each screen, and its background controls, which act on the scene.

#include "ExportFixture.h"

#include "app/ColoredLabel.h"
#include "export/PrimaryScreen.h"

#include <QRadioButton>
#include <QToolButton>

namespace {

enum Background { NoBackground, Transparent, Colour, WhiteGrid, GrayGrid, OwnPicture };

const QString whiteGrid = QStringLiteral(":/images/background2.png");
const QString grayGrid = QStringLiteral(":/images/background3.png");

void giveBackground(DiagramScene *scene, Background kind, const QString &ownPicture)
{
    switch (kind) {
    case NoBackground:
        break;
    case Transparent:
        scene->setBackground(Qt::NoBrush, true, false, false, {}, Qt::white);
        break;
    case Colour:
        scene->setBackground(QColor(Qt::blue), false, true, false, {}, Qt::blue);
        break;
    case WhiteGrid:
    case GrayGrid:
    case OwnPicture: {
        const QString path = kind == WhiteGrid ? whiteGrid : kind == GrayGrid ? grayGrid : ownPicture;
        scene->setBackground(QPixmap(path), false, false, true, path, Qt::white);
        break;
    }
    }
}

// Everything a background choice can change, to compare before and after.
QString backgroundOf(const DiagramScene *scene)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(scene->isTransparent()).arg(scene->isColorBackground())
        .arg(scene->isPictureBackground()).arg(scene->backgroundPath(),
             scene->backgroundColor().name()).arg(scene->backgroundBrush().style());
}

QColor swatchColor(ConvertToIMG *window)
{
    return window->findChild<ColoredLabel *>()->pixmap(Qt::ReturnByValue).toImage().pixelColor(0, 0);
}

QRadioButton *radio(ConvertToIMG *window, const char *name)
{
    return window->findChild<QRadioButton *>(QLatin1String(name));
}

// Ids of the checked picture buttons, and whether all three are enabled.
QList<int> checkedButtons(ConvertToIMG *window)
{
    QList<int> ids;
    for (QButtonGroup *group : window->findChildren<QButtonGroup *>())
        for (QAbstractButton *button : group->buttons())
            if (button->isChecked())
                ids << group->id(button);
    return ids;
}

bool pictureButtonsEnabled(ConvertToIMG *window)
{
    const auto buttons = window->findChild<QButtonGroup *>()->buttons();
    return std::all_of(buttons.begin(), buttons.end(),
                       [](QAbstractButton *b) { return b->isEnabled(); });
}

// A radio button answers clicks on its circle and its text only, which a
// click in the middle of a wide button can miss.
void clickRadio(ConvertToIMG *window, const char *name)
{
    QRadioButton *button = radio(window, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void clickPictureButton(ConvertToIMG *window, int id)
{
    QTest::mouseClick(window->findChild<QButtonGroup *>()->button(id), Qt::LeftButton);
}

} // namespace

class tst_ConvertWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setPrimaryScreenGeometry(QRect()); }

    void openingShrinksTheSceneAndClearsTheSelection();
    void windowSizeFollowsTheScreen_data();
    void windowSizeFollowsTheScreen();
    void openingMirrorsTheBackground_data();
    void openingMirrorsTheBackground();
    void choosingAColourWhileImageIsChecked();
    void cancelledColourChangesNothing();
    void backgroundChoicesSetTheScene_data();
    void backgroundChoicesSetTheScene();
    void ownPictureCancelledOrUnreadableChangesNothing_data();
    void ownPictureCancelledOrUnreadableChangesNothing();
};

void tst_ConvertWindow::openingShrinksTheSceneAndClearsTheSelection()
{
    ExportFixture f;
    f.addBlock({100, 100, 200, 400})->setSelected(true);
    ConvertToIMG *window = f.openExportWindow();
    QVERIFY(window);
    QCOMPARE(f.scene()->sceneRect(), QRectF(90, 90, 220, 420));
    QVERIFY(f.scene()->selectedItems().isEmpty());
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::WindowModal);
    QCOMPARE(window->windowTitle(), QStringLiteral("Convertir en image"));
    QCOMPARE(window->findChild<QGraphicsView *>()->scene(), f.scene());

    window->close(); // the user closes it: it goes
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.window->findChild<ConvertToIMG *>());
    QCOMPARE(f.scene()->sceneRect(), QRectF(90, 90, 220, 420)); // kept
}

void tst_ConvertWindow::windowSizeFollowsTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSizeF>("items");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("fits: area + (350, 100)") << QSize(1920, 1080) << QSizeF(200, 400) << QSize(570, 520);
    QTest::newRow("fits exactly") << QSize(1920, 1080) << QSizeF(1550, 960) << QSize(1920, 1080);
    QTest::newRow("fractions truncated") << QSize(1920, 1080) << QSizeF(200.7, 400.7) << QSize(570, 520);
    QTest::newRow("too wide") << QSize(1920, 1080) << QSizeF(1780, 580) << QSize(1850, 980);
    QTest::newRow("too tall") << QSize(1920, 1080) << QSizeF(580, 980) << QSize(1850, 980);
    QTest::newRow("small screen") << QSize(1024, 768) << QSizeF(700, 300) << QSize(954, 668);
}

void tst_ConvertWindow::windowSizeFollowsTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QSizeF, items);
    QFETCH(QSize, expected);
    setPrimaryScreenGeometry(QRect(QPoint(0, 0), screen));
    ExportFixture f;
    f.addBlock({QPointF(0, 0), items});
    QCOMPARE(f.openExportWindow()->size(), expected);
}

void tst_ConvertWindow::openingMirrorsTheBackground_data()
{
    QTest::addColumn<int>("background");
    QTest::addColumn<bool>("transparentChecked");
    QTest::addColumn<bool>("imageChecked");
    QTest::addColumn<QList<int>>("buttons"); // checked picture buttons
    QTest::addColumn<QColor>("swatch");

    const QList<int> none;
    QTest::newRow("none") << int(NoBackground) << false << false << none << QColor(Qt::white);
    QTest::newRow("transparent") << int(Transparent) << true << false << none << QColor(Qt::white);
    QTest::newRow("colour") << int(Colour) << false << false << none << QColor(Qt::blue);
    QTest::newRow("white grid") << int(WhiteGrid) << false << true << QList<int>{10} << QColor(Qt::white);
    QTest::newRow("gray grid") << int(GrayGrid) << false << true << QList<int>{11} << QColor(Qt::white);
    QTest::newRow("own picture") << int(OwnPicture) << false << true << QList<int>{12} << QColor(Qt::white);
}

void tst_ConvertWindow::openingMirrorsTheBackground()
{
    QFETCH(int, background);
    QFETCH(bool, transparentChecked);
    QFETCH(bool, imageChecked);
    QFETCH(QList<int>, buttons);
    QFETCH(QColor, swatch);
    ExportFixture f;
    giveBackground(f.scene(), Background(background), grayGrid + "?"); // own: any other path
    const QString before = backgroundOf(f.scene());

    ConvertToIMG *window = f.openExportWindow();
    QCOMPARE(radio(window, "radioButton")->isChecked(), transparentChecked);
    QCOMPARE(radio(window, "radioButton_2")->isChecked(), imageChecked);
    QCOMPARE(checkedButtons(window), buttons);
    QCOMPARE(pictureButtonsEnabled(window), imageChecked);
    QCOMPARE(swatchColor(window), swatch);
    QCOMPARE(backgroundOf(f.scene()), before); // mirroring sets nothing
}

void tst_ConvertWindow::choosingAColourWhileImageIsChecked()
{
    ExportFixture f;
    giveBackground(f.scene(), GrayGrid, {});
    ConvertToIMG *window = f.openExportWindow();
    f.dialogs.colors.enqueue(QColor(Qt::red));
    QTest::mouseClick(window->findChild<ColoredLabel *>(), Qt::LeftButton);

    QVERIFY(!radio(window, "radioButton_2")->isChecked());
    QVERIFY(!radio(window, "radioButton")->isChecked());
    QVERIFY(!pictureButtonsEnabled(window));
    QVERIFY(f.scene()->isColorBackground());
    QVERIFY(!f.scene()->isPictureBackground());
    QCOMPARE(f.scene()->backgroundColor(), QColor(Qt::red));
    QCOMPARE(f.scene()->backgroundBrush(), QBrush(Qt::red));
    QCOMPARE(swatchColor(window), QColor(Qt::red));

    // The next dialog opens on the colour chosen last.
    f.dialogs.colors.enqueue(QColor(Qt::green));
    QTest::mouseClick(window->findChild<ColoredLabel *>(), Qt::LeftButton);
    QCOMPARE(f.dialogs.callsOf("color").at(1).text, QColor(Qt::red).name());
    QCOMPARE(f.scene()->backgroundColor(), QColor(Qt::green));
}

void tst_ConvertWindow::cancelledColourChangesNothing()
{
    ExportFixture f;
    giveBackground(f.scene(), Transparent, {});
    ConvertToIMG *window = f.openExportWindow();
    const QString before = backgroundOf(f.scene());
    QTest::mouseClick(window->findChild<ColoredLabel *>(), Qt::LeftButton); // cancelled
    QCOMPARE(f.dialogs.callsOf("color").size(), 1);
    QCOMPARE(backgroundOf(f.scene()), before);
    QVERIFY(radio(window, "radioButton")->isChecked());
    QCOMPARE(swatchColor(window), QColor(Qt::white));
}

void tst_ConvertWindow::backgroundChoicesSetTheScene_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("expected"); // backgroundOf() after the choice

    QTest::newRow("transparent") << int(Transparent) << "1 0 0  #ffffff 0";
    QTest::newRow("white grid") << 10 << "0 0 1 " + whiteGrid + " #ffffff 24";
    QTest::newRow("gray grid") << 11 << "0 0 1 " + grayGrid + " #ffffff 24";
    QTest::newRow("own picture") << 12 << "0 0 1 OWN #ffffff 24";
}

void tst_ConvertWindow::backgroundChoicesSetTheScene()
{
    QFETCH(int, choice);
    QFETCH(QString, expected);
    ExportFixture f;
    giveBackground(f.scene(), Colour, {});
    const QString own = f.path("own.png");
    QImage(8, 8, QImage::Format_ARGB32).save(own);
    ConvertToIMG *window = f.openExportWindow();

    if (choice == Transparent) {
        clickRadio(window, "radioButton");
    } else {
        clickRadio(window, "radioButton_2");
        QCOMPARE(backgroundOf(f.scene()).left(6), QStringLiteral("0 1 0 ")); // "Image" alone sets nothing
        QVERIFY(pictureButtonsEnabled(window));
        f.dialogs.fileNames.enqueue(own);
        clickPictureButton(window, choice);
        QCOMPARE(checkedButtons(window), QList<int>{choice});
    }
    QCOMPARE(backgroundOf(f.scene()), expected.replace("OWN", own));
}

void tst_ConvertWindow::ownPictureCancelledOrUnreadableChangesNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled") << true;
    QTest::newRow("not a picture") << false;
}

void tst_ConvertWindow::ownPictureCancelledOrUnreadableChangesNothing()
{
    QFETCH(bool, cancel);
    ExportFixture f;
    giveBackground(f.scene(), GrayGrid, {});
    const QString notAPicture = f.path("notes.png");
    QFile file(notAPicture);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("no picture") > 0);
    file.close();
    ConvertToIMG *window = f.openExportWindow();
    const QString before = backgroundOf(f.scene());

    if (!cancel)
        f.dialogs.fileNames.enqueue(notAPicture);
    clickPictureButton(window, 12);
    QCOMPARE(f.dialogs.callsOf("open").at(0).caption, QStringLiteral("Image de fond"));
    QCOMPARE(f.dialogs.callsOf("open").at(0).filter, QStringLiteral("JPG (*.jpg);;PNG (*.png)"));
    QCOMPARE(backgroundOf(f.scene()), before);
    QCOMPARE(checkedButtons(window), QList<int>{11}); // back on the scene's own grid
    QCOMPARE(f.boxes().size(), cancel ? 0 : 1);
    if (!cancel)
        QVERIFY(f.boxes().at(0).text.contains(notAPicture));
}

QTEST_MAIN(tst_ConvertWindow)
#include "tst_convertwindow.moc"
