#include "WindowFixture.h"

#include "app/ColorActionWidget.h"
#include "app/SpinboxActionWidget.h"
#include "app/ZoomBox.h"
#include "export/ColoredLabel.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace {

// The colour buttons in toolbar order: text, fill, line.
QToolButton *colorButton(const WindowFixture &f, int index)
{
    QList<QToolButton *> buttons;
    for (QToolButton *button : f.window->findChildren<QToolBar *>().at(2)->findChildren<QToolButton *>()) {
        if (button->popupMode() == QToolButton::MenuButtonPopup)
            buttons << button;
    }
    return buttons.value(index);
}

template <typename T>
T *editorOf(QWidgetAction &action)
{
    return action.defaultWidget()->findChild<T *>();
}

} // namespace

// The main window's actions, tool box modes, backgrounds, property widgets,
// and font and colour controls.
class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void actionTextsIconsAndShortcuts()
    {
        WindowFixture f;
        // The last seven, font styles and alignments, are checkable.
        const QStringList actions{
            "Mettre au premier plan=Ctrl+F", "Mettre en arrière-plan=Ctrl+T", "&Copier=Ctrl+C",
            "&Remise à zéro", "&Coller=Ctrl+V", "Délier", "Centrer scène", "Rotation 0°", "Rotation 90°",
            "Rotation -90°", "Rotation 180°", "Police d'écriture", "Convertir en image",
            "Convertir en PDF", "Enregistrer la scène=Ctrl+S", "Enregistrer sous=Ctrl+Shift+S",
            "Charger une scène=Ctrl+O", "Nouvelle scène=Ctrl+N", "Gras=Ctrl+B", "Italique=Ctrl+I", "Souligné=Ctrl+U", "Aligné à droite",
            "Aligné à gauche", "Aligné au centre", "Alignement justifié"};
        for (int i = 0; i < actions.size(); ++i) {
            const QString text = actions.at(i).section('=', 0, 0);
            QAction *a = f.action(text);
            QVERIFY2(a && !a->icon().isNull(), qPrintable(text));
            QCOMPARE(a->shortcut(), QKeySequence(actions.at(i).section('=', 1)));
            QCOMPARE(a->isCheckable(), i >= actions.size() - 7);
            QVERIFY(!a->isChecked());
        }
    }

    // A shape checks the pointer button again; a text leaves the arrow pointer.
    void insertionGivesBackTheCheckedPointerMode()
    {
        WindowFixture f;
        for (const bool text : {false, true}) {
            const QPointF at(400, text ? 600 : 300);
            const int mode = text ? DiagramScene::InsertLine : DiagramScene::MoveItem;
            f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
            QGraphicsItem *item = text ? static_cast<QGraphicsItem *>(f.insertText("Bonjour", at))
                                       : f.insertShape(DiagramItem::Cercle, at);
            QVERIFY(item);
            QCOMPARE(item->pos(), at);
            QCOMPARE(int(f.scene()->mode()), mode);
            QCOMPARE(f.group("pointerTypeGroup")->checkedId(), mode);
            QCOMPARE(f.group("buttonGroup")->checkedButton(), nullptr);
        }
        QCOMPARE(f.entryTexts(), QStringList({"Cercle 0", "Texte 0"}));
    }

    // The spin box holds what files hold (1 to 1000); showing a value is
    // silent, typing one is announced.
    void spinBoxRange()
    {
        for (const QPair<int, int> &values : QList<QPair<int, int>>{{42, 42}, {0, 1}, {150, 150}, {1000, 1000}, {1001, 1000}}) {
            SpinboxActionWidget action(QStringLiteral("Taille bordure : "), 20);
            QSignalSpy changed(&action, &SpinboxActionWidget::valueChanged);
            action.setValue(values.first);
            QCOMPARE(action.value(), values.second);
            QCOMPARE(editorOf<QSpinBox>(action)->value(), values.second);
            QCOMPARE(changed.count(), 0);
        }
        SpinboxActionWidget action(QStringLiteral("x"), 0);
        QCOMPARE(action.value(), 1); // raised to the minimum
        QSignalSpy changed(&action, &SpinboxActionWidget::valueChanged);
        QSpinBox *spinBox = editorOf<QSpinBox>(action);
        spinBox->selectAll();
        QTest::keyClicks(spinBox, "250");
        QCOMPARE(changed.count(), 3); // 2, 25, 250
        QCOMPARE(changed.last().at(0).toInt(), 250);
    }

    void colorChangesOnlyThroughTheDialog()
    {
        ScriptedDialogs dialogs;
        ColorActionWidget action(QStringLiteral("Couleur bordure : "), Qt::darkGreen);
        QSignalSpy changed(&action, &ColorActionWidget::colorChanged);
        ColoredLabel *label = editorOf<ColoredLabel>(action);
        const auto swatch = [label] { return label->pixmap(Qt::ReturnByValue).toImage().pixelColor(150, 150); };

        // Showing an item's colour changes nothing.
        action.setColor(Qt::blue);
        QCOMPARE(swatch(), QColor(Qt::blue));
        QCOMPARE(action.color(), QColor(Qt::darkGreen));
        QTest::mouseClick(label, Qt::LeftButton); // cancelled
        QCOMPARE(changed.count(), 0);
        dialogs.colors.enqueue(Qt::red);
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(action.color(), QColor(Qt::red));
        QCOMPARE(swatch(), QColor(Qt::red));
        action.setColor(Qt::blue);
        action.chooseColor();
        // The dialog opens on the last chosen colour, not on the one shown.
        QCOMPARE(dialogs.callsOf("color").value(0).text, QColor(Qt::darkGreen).name());
        QCOMPARE(dialogs.callsOf("color").value(2).text, QStringLiteral("#ff0000"));
    }

    void backgroundButtons_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QColor>("answer");
        QTest::addColumn<QString>("flags"); // transparent, colour, picture
        QTest::newRow("transparent") << 20 << QColor() << "100";
        QTest::newRow("colour") << 21 << QColor(Qt::blue) << "010";
        // A new scene has no background of its own.
        QTest::newRow("colour cancelled") << 21 << QColor() << "000";
        QTest::newRow("white grid") << 22 << QColor() << "001";
        QTest::newRow("gray grid") << 23 << QColor() << "001";
    }
    void backgroundButtons()
    {
        QFETCH(int, id);
        QFETCH(QColor, answer);
        QFETCH(QString, flags);
        WindowFixture f;
        if (answer.isValid())
            f.dialogs.colors.enqueue(answer);
        f.clickToolButton("backgroundButtonGroup", id);

        DiagramScene *scene = f.scene();
        const QString shown = QString::number(scene->isTransparent())
                              + QString::number(scene->isColorBackground())
                              + QString::number(scene->isPictureBackground());
        QCOMPARE(shown, flags);
        const QString grid = id >= 22 ? QStringLiteral(":/images/background%1.png").arg(id - 20) : QString();
        QCOMPARE(scene->backgroundPath(), grid);
        const QBrush brush = answer.isValid() ? QBrush(answer) : grid.isEmpty() ? QBrush() : QBrush(QPixmap(grid));
        QCOMPARE(scene->backgroundBrush().style(), brush.style());
        QCOMPARE(scene->backgroundBrush().color(), brush.color());
        QCOMPARE(scene->backgroundBrush().textureImage().convertToFormat(QImage::Format_RGB32),
                 brush.textureImage().convertToFormat(QImage::Format_RGB32));
        if (id == 21)
            QCOMPARE(f.dialogs.callsOf("color").value(0).text, QColor(Qt::white).name());
        QCOMPARE(f.group("backgroundButtonGroup")->checkedId(), id);
    }

    void colorButtonsChooseAndApply()
    {
        WindowFixture f;
        DiagramItem *first = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *second = f.insertShape(DiagramItem::Carre, {700, 300});
        f.select({first});
        QToolButton *fill = colorButton(f, 1);

        // The menu arrow asks for a colour, starting from the button's own.
        f.dialogs.colors.enqueue(QColor(Qt::red));
        emit fill->menu()->aboutToShow();
        emit fill->menu()->aboutToShow(); // cancelled: nothing changes
        emit colorButton(f, 2)->menu()->aboutToShow();
        QStringList asked;
        for (const ScriptedDialogs::Call &call : f.dialogs.callsOf("color"))
            asked << call.text;
        QCOMPARE(asked, QStringList({"#ffffff", "#ff0000", "#000000"}));
        // The icon shows the colour as a bar under the picture, across its width.
        const QImage icon = fill->icon().pixmap(50, 80).toImage();
        QCOMPARE(icon.pixelColor(0, 60), QColor(Qt::red));
        QCOMPARE(icon.pixelColor(49, 79), QColor(Qt::red));
        QCOMPARE(icon.pixelColor(0, 59).alpha(), 0);
        QCOMPARE(first->brush(), QBrush(Qt::red, Qt::SolidPattern));

        // The main part applies the button's colour again.
        f.select({second});
        fill->click();
        QCOMPARE(second->brush(), QBrush(Qt::red, Qt::SolidPattern));
    }

    void toolbarsChangeEverySelectedItemOfTheirKind_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("property");
        QTest::addColumn<QString>("selectedKinds"); // s: shapes, t: texts, a: arrows
        using P = DiagramObject::Property;
        QTest::newRow("fill colour, shapes") << "fill" << int(P::FillColor) << "s";
        QTest::newRow("fill colour, texts and shapes") << "fill" << int(P::FillColor) << "st";
        QTest::newRow("text colour, texts") << "text" << int(P::TextColor) << "t";
        QTest::newRow("bold, texts") << "Gras" << int(P::Font) << "ta";
        QTest::newRow("alignment, texts") << "Aligné au centre" << int(P::Alignment) << "st";
        QTest::newRow("line colour, arrows") << "line" << int(P::LineColor) << "sa";
    }

    // Every selected item that has the property changes, and nothing else;
    // the value also becomes the default of new items.
    void toolbarsChangeEverySelectedItemOfTheirKind()
    {
        QFETCH(QString, control);
        QFETCH(int, property);
        QFETCH(QString, selectedKinds);
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
        f.insertShape(DiagramItem::Triangle, {1100, 300});
        f.insertText(QStringLiteral("un"), {300, 700});
        f.insertText(QStringLiteral("deux"), {700, 700});
        f.insertArrow(a, b);
        f.insertArrow(b, a);
        const auto prop = DiagramObject::Property(property);
        const QHash<QChar, DiagramObject::Kind> kinds{{'s', DiagramObject::Kind::Shape},
                                                      {'t', DiagramObject::Kind::Text},
                                                      {'a', DiagramObject::Kind::Arrow}};
        QHash<DiagramObject *, QVariant> before;
        f.scene()->clearSelection();
        for (DiagramObject *object : f.scene()->objects()) {
            before.insert(object, object->value(prop));
            object->graphicsItem()->setSelected(selectedKinds.contains(kinds.key(object->kind())));
        }

        f.dialogs.colors.enqueue(Qt::red);
        if (control == "fill" || control == "text" || control == "line")
            emit colorButton(f, control == "text" ? 0 : control == "fill" ? 1 : 2)->menu()->aboutToShow();
        else
            f.action(control)->trigger();

        int changed = 0;
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const bool changes = it.key()->value(prop) != it.value();
            QCOMPARE(changes, it.key()->graphicsItem()->isSelected() && it.value().isValid());
            changed += changes;
        }
        QVERIFY(changed >= 2);
    }

    void selectingTextShowsItsFormatWithoutFeedback()
    {
        WindowFixture f;
        DiagramTextItem *plain = f.insertText(QStringLiteral("simple"), {300, 300});
        DiagramTextItem *styled = f.insertText(QStringLiteral("gras"), {300, 500});
        QFont font = styled->font();
        font.setBold(true);
        font.setUnderline(true);
        font.setPointSize(18);
        styled->setFont(font);
        styled->setAlignment(Qt::AlignCenter);
        const QFont sceneDefault = f.scene()->font();
        const QFont plainFont = plain->font();

        f.select({styled});
        QVERIFY(f.action("Gras")->isChecked());
        QVERIFY(f.action("Souligné")->isChecked());
        QVERIFY(!f.action("Italique")->isChecked());
        QVERIFY(f.action("Aligné au centre")->isChecked());
        QComboBox *sizes = nullptr;
        for (QComboBox *box : f.window->findChildren<QComboBox *>()) {
            if (!qobject_cast<QFontComboBox *>(box) && !qobject_cast<ZoomBox *>(box)
                && box->isEditable())
                sizes = box;
        }
        QCOMPARE(sizes->currentText(), QStringLiteral("18"));
        QCOMPARE(f.scene()->font(), sceneDefault);
        QCOMPARE(plain->font(), plainFont);
        QCOMPARE(styled->font(), font);

        // With nothing selected, the controls set the scene's defaults.
        f.select({});
        f.action("Italique")->trigger();
        f.action("Aligné à droite")->trigger();
        sizes->setCurrentIndex(sizes->findText("20"));
        QVERIFY(f.scene()->font().italic());
        QCOMPARE(f.scene()->font().pointSize(), 20);
        QCOMPARE(f.scene()->textAlignment(), int(Qt::AlignRight));
        QCOMPARE(styled->font(), font);
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
