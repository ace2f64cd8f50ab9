#include <QImage>
#include <QPainter>
#include <QtTest>

// The pictures the program loads by resource path, and the two background
// grids whose pixels the scene background and the exports rely on.
class tst_Icons : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedPathLoads()
    {
        for (const char *name :
             {"align-center", "align-justify", "align-left", "align-right", "arccos", "arcsin",
              "arctan", "background2", "background3", "blank", "bold", "bringtofront", "center_view",
              "colors", "convert_img", "convert_pdf", "convert_svg","copy", "cos", "delete", "exit", "floodfill",
              "font", "img", "italic", "linecolor", "linepointer", "link", "ln", "log", "new",
              "open", "paste", "pensato", "pi", "pointer", "reset", "rotation_-90", "rotation_0",
              "rotation_180", "rotation_90", "save", "save_as", "sendtoback", "sin", "tan",
              "textpointer", "underline", "unlink", "zoom_fit", "zoom_in", "zoom_out",
              "zoom_reset"})
        {
            // Something must be drawn: a blank picture would load but show nothing.
            const QImage image(QStringLiteral(":/images/%1.png").arg(QLatin1String(name)));
            bool varies = false;
            for (int y = 0; y < image.height() && !varies; ++y)
                for (int x = 0; x < image.width() && !varies; ++x)
                    varies = image.pixel(x, y) != image.pixel(0, 0);
            QVERIFY2(varies, name);
        }
    }

    void grids()
    {
        QImage white(127, 127, QImage::Format_RGB32), gray(127, 127, QImage::Format_RGB32);
        white.fill(Qt::white); // one black row (63) and column (64)
        gray.fill(QColor(0xc0, 0xc0, 0xc0)); // white top-left and bottom-right quadrants
        QPainter painter(&white);
        painter.fillRect(0, 63, 127, 1, Qt::black);
        painter.fillRect(64, 0, 1, 127, Qt::black);
        painter.end();
        painter.begin(&gray);
        painter.fillRect(0, 0, 64, 64, Qt::white);
        painter.fillRect(64, 64, 63, 63, Qt::white);
        painter.end();
        QCOMPARE(QImage(":/images/background2.png").convertToFormat(QImage::Format_RGB32), white);
        QCOMPARE(QImage(":/images/background3.png").convertToFormat(QImage::Format_RGB32), gray);
    }
};

QTEST_MAIN(tst_Icons)
#include "tst_icons.moc"
