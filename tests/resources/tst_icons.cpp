#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QtTest>

// The pictures the program loads by resource path, and the two background
// grids whose pixels the scene background and the exports rely on.
class tst_Icons : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedPathLoads_data();
    void everyNamedPathLoads();
    void colorButtonPicturesHoldTheCutOut_data();
    void colorButtonPicturesHoldTheCutOut();
    void whiteGridHasOneBlackRowAndColumn();
    void grayGridIsACheckerboardOfQuadrants();
};

void tst_Icons::everyNamedPathLoads_data()
{
    QTest::addColumn<QString>("path");
    const char *names[] = {
        "align-center", "align-justify", "align-left", "align-right", "arccos", "arcsin",
        "arctan", "background2", "background3", "blank", "bold", "bringtofront", "center_view",
        "colors", "convert_img", "convert_pdf", "copy", "cos", "delete", "exit", "floodfill",
        "font", "img", "italic", "linecolor", "linepointer", "link", "ln", "log", "new",
        "open", "paste", "pi", "pointer", "reset", "rotation_-90", "rotation_0",
        "rotation_180", "rotation_90", "save", "save_as", "sendtoback", "sin", "tan",
        "textpointer", "underline", "unlink"};
    for (const char *name : names) {
        const QString path = QStringLiteral(":/images/%1.png").arg(QLatin1String(name));
        QTest::newRow(name) << path;
    }
}

void tst_Icons::everyNamedPathLoads()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    // Something must be drawn: a blank picture would load but show nothing.
    const QRgb first = image.pixel(0, 0);
    bool varies = false;
    for (int y = 0; y < image.height() && !varies; ++y)
        for (int x = 0; x < image.width() && !varies; ++x)
            varies = image.pixel(x, y) != first;
    QVERIFY2(varies, qPrintable(path));
}

void tst_Icons::colorButtonPicturesHoldTheCutOut_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("text") << ":/images/textpointer.png";
    QTest::newRow("fill") << ":/images/floodfill.png";
    QTest::newRow("line") << ":/images/linecolor.png";
}

void tst_Icons::colorButtonPicturesHoldTheCutOut()
{
    QFETCH(QString, path);
    // The colour buttons draw the source rectangle (0, 0, 42, 43).
    QCOMPARE(QPixmap(path).size(), QSize(42, 43));
}

void tst_Icons::whiteGridHasOneBlackRowAndColumn()
{
    const QImage grid(":/images/background2.png");
    QCOMPARE(grid.size(), QSize(127, 127));
    for (int y = 0; y < 127; ++y) {
        for (int x = 0; x < 127; ++x) {
            const QColor expected = (y == 63 || x == 64) ? Qt::black : Qt::white;
            if (grid.pixelColor(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3")
                                     .arg(x).arg(y).arg(grid.pixelColor(x, y).name())));
        }
    }
}

void tst_Icons::grayGridIsACheckerboardOfQuadrants()
{
    const QImage grid(":/images/background3.png");
    QCOMPARE(grid.size(), QSize(127, 127));
    const QColor silver(0xc0, 0xc0, 0xc0);
    for (int y = 0; y < 127; ++y) {
        for (int x = 0; x < 127; ++x) {
            const bool whiteQuadrant = (x < 64) == (y < 64);
            const QColor expected = whiteQuadrant ? QColor(Qt::white) : silver;
            if (grid.pixelColor(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3")
                                     .arg(x).arg(y).arg(grid.pixelColor(x, y).name())));
        }
    }
}

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
