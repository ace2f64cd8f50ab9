#include "app/ColorActionWidget.h"
#include "app/ColoredLabel.h"
#include "app/SpinboxActionWidget.h"
#include "support/ScriptedDialogs.h"

#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace {

template <typename T>
T *editorOf(QWidgetAction &action)
{
    return action.defaultWidget()->findChild<T *>();
}

} // namespace

class tst_ActionWidgets : public QObject
{
    Q_OBJECT

private slots:
    void spinBoxRange_data();
    void spinBoxRange();
    void colorChangesOnlyThroughTheDialog();
};

void tst_ActionWidgets::spinBoxRange_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("shown");
    QTest::newRow("inside") << 42 << 42;
    QTest::newRow("below 1") << 0 << 1;
    QTest::newRow("above 99") << 100 << 99;
    QTest::newRow("unchanged") << 20 << 20;
}

void tst_ActionWidgets::spinBoxRange()
{
    QFETCH(int, set);
    QFETCH(int, shown);
    SpinboxActionWidget action(QStringLiteral("Taille bordure : "), 20);
    QSignalSpy changed(&action, &SpinboxActionWidget::valueChanged);
    action.setValue(set);
    QCOMPARE(action.value(), shown);
    QCOMPARE(editorOf<QSpinBox>(action)->value(), shown);
    QCOMPARE(changed.count(), shown == 20 ? 0 : 1);
    // A value below the minimum at construction is raised to it.
    QCOMPARE(SpinboxActionWidget(QStringLiteral("x"), 0).value(), 1);
}

void tst_ActionWidgets::colorChangesOnlyThroughTheDialog()
{
    ScriptedDialogs dialogs;
    ColorActionWidget action(QStringLiteral("Couleur bordure : "), Qt::darkGreen);
    QSignalSpy changed(&action, &ColorActionWidget::colorChanged);
    const auto swatch = [&action] {
        return editorOf<ColoredLabel>(action)->pixmap(Qt::ReturnByValue).toImage().pixelColor(150, 150);
    };

    // Showing an item's colour changes nothing.
    action.setColor(Qt::blue);
    QCOMPARE(swatch(), QColor(Qt::blue));
    QCOMPARE(action.color(), QColor(Qt::darkGreen));
    QVERIFY(dialogs.calls.isEmpty());

    QTest::mouseClick(editorOf<ColoredLabel>(action), Qt::LeftButton); // cancelled
    QCOMPARE(changed.count(), 0);
    QCOMPARE(swatch(), QColor(Qt::blue));
    dialogs.colors.enqueue(Qt::red);
    QTest::mouseClick(editorOf<ColoredLabel>(action), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().value<QColor>(), QColor(Qt::red));
    QCOMPARE(swatch(), QColor(Qt::red));
    action.setColor(Qt::blue);
    action.chooseColor();

    // The dialog opens on the last chosen colour, not on the one shown.
    const QList<ScriptedDialogs::Call> calls = dialogs.callsOf(QStringLiteral("color"));
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls.at(0).text, QColor(Qt::darkGreen).name());
    QCOMPARE(calls.at(1).text, QColor(Qt::darkGreen).name());
    QCOMPARE(calls.at(2).text, QColor(Qt::red).name());
}

QTEST_MAIN(tst_ActionWidgets)
#include "tst_actionwidgets.moc"
