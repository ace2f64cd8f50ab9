#include "math/VelQTMathTextLabel.h"
#include "math/VelQTmathText.h"

#include <QFontInfo>
#include <QPainter>
#include <QtTest>

namespace {

bool isTransparent(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

// The label's formula size, measured independently: at 1.3 times the
// label's font size, on a painter open on a pixmap.
QSizeF measured(const VelQTMathTextLabel &label, const QString &formula)
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    engine.setFontSize(QFontInfo(label.font()).pointSizeF() * 1.3);
    engine.parse(formula);
    QPixmap device(1000, 100);
    QPainter painter(&device);
    return engine.getSize(painter);
}

QPixmap picture(const QLabel &label)
{
    return label.pixmap(Qt::ReturnByValue);
}

} // namespace

class MathLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyTextGivesSmallTransparentPicture();
    void pictureLeavesRoomAroundFormula_data();
    void pictureLeavesRoomAroundFormula();
    void sameTextIsRenderedOnce();
    void repaintNowRendersAgain();
    void newTextIsRendered();
    void oversizedFormulaIsNotAllocated();
};

void MathLabelTest::emptyTextGivesSmallTransparentPicture()
{
    VelQTMathTextLabel label;
    label.setFormula(QString(), true);
    QVERIFY(!picture(label).isNull());
    QCOMPARE(picture(label).size(), QSize(32, 10));
    QVERIFY(isTransparent(picture(label).toImage()));
}

void MathLabelTest::pictureLeavesRoomAroundFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::newRow("fraction") << R"($\frac{a}{b})";
    QTest::newRow("sum with limits") << R"($\sum_{i=1}^{n} i^2 = \frac{n(n+1)(2n+1)}{6})";
    QTest::newRow("text") << "Pensato";
}

void MathLabelTest::pictureLeavesRoomAroundFormula()
{
    QFETCH(QString, formula);
    VelQTMathTextLabel label;
    label.setFormula(formula);

    const QSizeF size = measured(label, formula);
    const QSize expected(qMax(32, int(size.width() * 1.2)), qMax(10, int(size.height() * 1.1)));
    QVERIFY(!picture(label).isNull());
    QCOMPARE(picture(label).size(), expected);
    QVERIFY(!isTransparent(picture(label).toImage()));
}

void MathLabelTest::sameTextIsRenderedOnce()
{
    VelQTMathTextLabel label;
    label.setFormula("$x^2");
    const qint64 first = picture(label).cacheKey();
    QVERIFY(!picture(label).isNull());

    label.setFormula("$x^2");
    QCOMPARE(picture(label).cacheKey(), first); // same text, no new rendering
}

void MathLabelTest::repaintNowRendersAgain()
{
    VelQTMathTextLabel label;
    label.setFormula("$x^2");
    const qint64 first = picture(label).cacheKey();
    label.setFormula("$x^2", true);
    QVERIFY(picture(label).cacheKey() != first);
}

void MathLabelTest::newTextIsRendered()
{
    VelQTMathTextLabel label;
    label.setFormula("$x");
    const QSize small = picture(label).size();
    label.setFormula(R"($x + \frac{y}{z} + \sqrt{w})");
    QVERIFY(picture(label).width() > small.width());
}

void MathLabelTest::oversizedFormulaIsNotAllocated()
{
    VelQTMathTextLabel label;
    label.setFormula("$x");
    QVERIFY(!picture(label).isNull());

    const QString formula = "$" + QString("x").repeated(5000);
    QVERIFY2(measured(label, formula).width() * 1.2 > VelQTMathTextLabel::maxPictureSide,
             "the formula must be over the limit for this test");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("too large to paint"));
    label.setFormula(formula);
    QVERIFY(picture(label).isNull());
}

QTEST_MAIN(MathLabelTest)
#include "tst_mathlabel.moc"
