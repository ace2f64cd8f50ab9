#include "app/ColorActionWidget.h"
#include "app/ColoredLabel.h"
#include "app/LineInputActionWidget.h"
#include "app/SliderActionWidget.h"
#include "app/SpinboxActionWidget.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace {

template <typename T>
T *editorOf(QWidgetAction &action)
{
    return action.defaultWidget()->findChild<T *>();
}

QColor swatchColor(ColorActionWidget &action)
{
    const ColoredLabel *label = editorOf<ColoredLabel>(action);
    return label->pixmap(Qt::ReturnByValue).toImage().pixelColor(150, 150);
}

} // namespace

class tst_ActionWidgets : public QObject
{
    Q_OBJECT

private slots:
    void spinBoxRange_data();
    void spinBoxRange();
    void spinBoxReportsChanges();
    void rowsShowTheirLabel();
    void setColorIsSilent();
    void swatchClickChoosesColor_data();
    void swatchClickChoosesColor();
    void dialogOpensOnLastChosenColour();
    void lineEditReportsEachChange();
    void sliderKeepsSpinBoxInStep();
};

void tst_ActionWidgets::spinBoxRange_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("shown");
    QTest::newRow("inside") << 42 << 42;
    QTest::newRow("below 1") << 0 << 1;
    QTest::newRow("negative") << -5 << 1;
    QTest::newRow("above 99") << 100 << 99;
}

void tst_ActionWidgets::spinBoxRange()
{
    QFETCH(int, set);
    QFETCH(int, shown);
    SpinboxActionWidget action(QStringLiteral("Taille bordure : "), 20);
    QCOMPARE(action.value(), 20);
    action.setValue(set);
    QCOMPARE(action.value(), shown);
    QCOMPARE(editorOf<QSpinBox>(action)->value(), shown);
}

void tst_ActionWidgets::spinBoxReportsChanges()
{
    SpinboxActionWidget action(QStringLiteral("Taille flèche : "), 20);
    QSignalSpy changed(&action, &SpinboxActionWidget::valueChanged);
    action.setValue(20);
    QCOMPARE(changed.count(), 0); // the same value is no change
    action.setValue(7);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toInt(), 7);
    // A value below the minimum at construction is raised to it.
    QCOMPARE(SpinboxActionWidget(QStringLiteral("x"), 0).value(), 1);
}

void tst_ActionWidgets::rowsShowTheirLabel()
{
    SpinboxActionWidget spin(QStringLiteral("Taille bordure : "), 1);
    ColorActionWidget color(QStringLiteral("Couleur bordure : "), Qt::black);
    LineInputActionWidget line(QStringLiteral("Nom : "));
    QCOMPARE(editorOf<QLabel>(spin)->text(), QStringLiteral("Taille bordure : "));
    QCOMPARE(editorOf<QLabel>(color)->text(), QStringLiteral("Couleur bordure : "));
    QCOMPARE(editorOf<QLabel>(line)->text(), QStringLiteral("Nom : "));
    QCOMPARE(editorOf<ColoredLabel>(color)->size(), QSize(100, 20));
    QVERIFY(spin.parent() == nullptr);
}

void tst_ActionWidgets::setColorIsSilent()
{
    ScriptedDialogs dialogs;
    ColorActionWidget action(QStringLiteral("Couleur bordure : "), Qt::black);
    QSignalSpy changed(&action, &ColorActionWidget::colorChanged);
    action.setColor(Qt::blue);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(swatchColor(action), QColor(Qt::blue));
    QCOMPARE(action.color(), QColor(Qt::black)); // the chosen colour is kept
    QVERIFY(dialogs.calls.isEmpty());
}

void tst_ActionWidgets::swatchClickChoosesColor_data()
{
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<int>("emitted");
    QTest::addColumn<QColor>("swatch");
    QTest::newRow("red chosen") << QColor(Qt::red) << 1 << QColor(Qt::red);
    QTest::newRow("cancelled") << QColor() << 0 << QColor(Qt::black);
}

void tst_ActionWidgets::swatchClickChoosesColor()
{
    QFETCH(QColor, answer);
    QFETCH(int, emitted);
    QFETCH(QColor, swatch);
    ScriptedDialogs dialogs;
    if (answer.isValid())
        dialogs.colors.enqueue(answer);
    ColorActionWidget action(QStringLiteral("Couleur bordure : "), Qt::black);
    QSignalSpy changed(&action, &ColorActionWidget::colorChanged);

    QTest::mouseClick(editorOf<ColoredLabel>(action), Qt::LeftButton);

    QCOMPARE(dialogs.callsOf(QStringLiteral("color")).size(), 1);
    QCOMPARE(changed.count(), emitted);
    if (emitted)
        QCOMPARE(changed.first().first().value<QColor>(), answer);
    QCOMPARE(swatchColor(action), swatch);
}

void tst_ActionWidgets::dialogOpensOnLastChosenColour()
{
    ScriptedDialogs dialogs;
    ColorActionWidget action(QStringLiteral("Couleur bordure : "), Qt::darkGreen);
    action.setColor(Qt::blue);
    action.chooseColor(); // cancelled
    dialogs.colors.enqueue(Qt::red);
    action.chooseColor();
    action.setColor(Qt::blue);
    action.chooseColor();
    const QList<ScriptedDialogs::Call> calls = dialogs.callsOf(QStringLiteral("color"));
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls.at(0).text, QColor(Qt::darkGreen).name());
    QCOMPARE(calls.at(1).text, QColor(Qt::darkGreen).name());
    QCOMPARE(calls.at(2).text, QColor(Qt::red).name());
}

void tst_ActionWidgets::lineEditReportsEachChange()
{
    LineInputActionWidget action(QStringLiteral("Nom : "));
    QSignalSpy changed(&action, &LineInputActionWidget::valueChanged);
    QTest::keyClicks(editorOf<QLineEdit>(action), QStringLiteral("abc"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("abc"));
    action.setText(QStringLiteral("Carré 0"));
    QCOMPARE(changed.count(), 4); // filled by an item, reported too
    QCOMPARE(action.value(), QStringLiteral("Carré 0"));
}

void tst_ActionWidgets::sliderKeepsSpinBoxInStep()
{
    SliderActionWidget action(QStringLiteral("Valeur : "), 5, 2, 40, true, true);
    auto *slider = editorOf<QSlider>(action);
    auto *spinBox = editorOf<QSpinBox>(action);
    QCOMPARE(slider->minimum(), 2);
    QCOMPARE(slider->maximum(), 40);
    QCOMPARE(spinBox->value(), 5);
    QSignalSpy changed(&action, &SliderActionWidget::valueChanged);

    spinBox->setValue(30);
    QCOMPARE(slider->value(), 30);
    action.setValue(12);
    QCOMPARE(spinBox->value(), 12);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.last().first().toInt(), 12);
    const QList<QLabel *> labels = action.defaultWidget()->findChildren<QLabel *>();
    QCOMPARE(labels.last()->text(), QStringLiteral("12")); // the shown value follows
}

QTEST_MAIN(tst_ActionWidgets)
#include "tst_actionwidgets.moc"
