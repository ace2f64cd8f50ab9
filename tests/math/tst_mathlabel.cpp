#include "math/VelQTMathTextLabel.h"
#include "tests/math/MathTestSupport.h"

#include <QFontInfo>
#include <QtTest>

namespace {

// The label's formula size, measured independently: at 1.3 times the
// label's font size, on a painter open on a pixmap.
QSizeF measured(const VelQTMathTextLabel &label, const QString &formula)
{
    XitsEngine engine(QFontInfo(label.font()).pointSizeF() * 1.3);
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
    void pictureLeavesRoomAroundFormula()
    {
        VelQTMathTextLabel label;
        label.setFormula(QString(), true);
        QCOMPARE(picture(label).size(), QSize(32, 10)); // empty text: the smallest picture
        QVERIFY(inkBounds(picture(label).toImage(), opaque).isNull());

        // A fifth wider and a tenth taller than the formula.
        const QString formula = R"($\sum_{i=1}^{n} i^2 = \frac{n(n+1)(2n+1)}{6})";
        label.setFormula(formula);
        const QSizeF size = measured(label, formula);
        QCOMPARE(picture(label).size(), QSize(int(size.width() * 1.2), int(size.height() * 1.1)));
        QVERIFY(!inkBounds(picture(label).toImage(), opaque).isNull());
    }

    void sameTextIsRenderedOnce()
    {
        VelQTMathTextLabel label;
        label.setFormula("$x");
        const QSize small = picture(label).size();
        label.setFormula("$x^2");
        const qint64 first = picture(label).cacheKey();
        QVERIFY(picture(label).width() > small.width());

        label.setFormula("$x^2");
        QCOMPARE(picture(label).cacheKey(), first); // same text, no new rendering
        label.setFormula("$x^2", true);
        QVERIFY(picture(label).cacheKey() != first);
    }

    void oversizedFormulaIsNotAllocated()
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
};

QTEST_MAIN(MathLabelTest)
#include "tst_mathlabel.moc"
