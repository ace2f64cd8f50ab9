#include "WindowFixture.h"

#include <QComboBox>
#include <QFontComboBox>
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

QColor barColor(QToolButton *button)
{
    return button->icon().pixmap(50, 80).toImage().pixelColor(25, 70);
}

} // namespace

// The main window's actions, tool box modes, backgrounds, and font and
// colour controls.
class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void actionTextsIconsAndShortcuts_data();
    void actionTextsIconsAndShortcuts();
    void colorButtonIconShowsTheColorBar();
    void insertionGivesBackTheCheckedPointerMode_data();
    void insertionGivesBackTheCheckedPointerMode();
    void backgroundButtons_data();
    void backgroundButtons();
    void colorButtonsChooseAndApply();
    void selectingTextShowsItsFormatWithoutFeedback();
};

void tst_MainWindow::actionTextsIconsAndShortcuts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::newRow("front") << "Mettre au premier plan" << "Ctrl+F" << false;
    QTest::newRow("back") << "Mettre en arrière plan" << "Ctrl+T" << false;
    QTest::newRow("copy") << "&Copier" << "" << false;
    QTest::newRow("reset") << "&Remise à zéro" << "" << false;
    QTest::newRow("paste") << "&Coller" << "" << false;
    QTest::newRow("unlink") << "Délier" << "" << false;
    QTest::newRow("center") << "Centrer scène" << "" << false;
    QTest::newRow("rotate 0") << "Rotation 0°" << "" << false;
    QTest::newRow("rotate 90") << "Rotation 90°" << "" << false;
    QTest::newRow("rotate -90") << "Rotation -90°" << "" << false;
    QTest::newRow("rotate 180") << "Rotation 180°" << "" << false;
    QTest::newRow("font") << "Police d'écriture" << "" << false;
    QTest::newRow("image") << "Convertir en image" << "" << false;
    QTest::newRow("pdf") << "Convertir en PDF" << "" << false;
    QTest::newRow("save") << "Enregistrer la scène" << "" << false;
    QTest::newRow("save as") << "Enregistrer sous" << "" << false;
    QTest::newRow("load") << "Charger une scène" << "" << false;
    QTest::newRow("new") << "Nouvelle scène" << "" << false;
    QTest::newRow("bold") << "Gras" << "Ctrl+B" << true;
    QTest::newRow("italic") << "Italique" << "Ctrl+I" << true;
    QTest::newRow("underline") << "Souligné" << "Ctrl+U" << true;
    QTest::newRow("right") << "Aligné à droite" << "" << true;
    QTest::newRow("left") << "Aligné à gauche" << "" << true;
    QTest::newRow("center align") << "Aligné au centre" << "" << true;
    QTest::newRow("justify") << "Alignement justifié" << "" << true;
}

void tst_MainWindow::actionTextsIconsAndShortcuts()
{
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);
    WindowFixture f;
    QAction *a = f.action(text);
    QVERIFY2(a, qPrintable(text));
    QVERIFY(!a->icon().isNull());
    QCOMPARE(a->shortcut(), QKeySequence(shortcut));
    QCOMPARE(a->isCheckable(), checkable);
    QVERIFY(!a->isChecked());
}

void tst_MainWindow::colorButtonIconShowsTheColorBar()
{
    const QImage image = MainWindow::createColorToolButtonIcon(":/images/floodfill.png", Qt::red)
                             .pixmap(50, 80).toImage();
    QCOMPARE(image.size(), QSize(50, 80));
    QCOMPARE(image.pixelColor(0, 60), QColor(Qt::red));
    QCOMPARE(image.pixelColor(49, 79), QColor(Qt::red));
    QCOMPARE(image.pixelColor(0, 59).alpha(), 0); // above the bar only the picture
    // The picture is drawn 4 pixels in from the left.
    QCOMPARE(image.pixelColor(4 + 20, 21), QImage(":/images/floodfill.png").pixelColor(20, 21));
}

void tst_MainWindow::insertionGivesBackTheCheckedPointerMode_data()
{
    QTest::addColumn<bool>("text");
    QTest::addColumn<int>("mode");
    // A shape checks the pointer button first; a text leaves the arrow pointer.
    QTest::newRow("shape") << false << int(DiagramScene::MoveItem);
    QTest::newRow("text") << true << int(DiagramScene::InsertLine);
}

void tst_MainWindow::insertionGivesBackTheCheckedPointerMode()
{
    QFETCH(bool, text);
    QFETCH(int, mode);
    WindowFixture f;
    f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
    QGraphicsItem *item = text ? static_cast<QGraphicsItem *>(f.insertText("Bonjour", {400, 300}))
                               : f.insertShape(DiagramItem::Cercle, {400, 300});
    QVERIFY(item);
    QCOMPARE(item->pos(), QPointF(400, 300));
    QCOMPARE(int(f.scene()->mode()), mode);
    QCOMPARE(f.group("pointerTypeGroup")->checkedId(), mode);
    QCOMPARE(f.group("buttonGroup")->checkedButton(), nullptr);
    QCOMPARE(f.entryTexts(), QStringList(text ? "Texte 0" : "Cercle 0"));
}

void tst_MainWindow::backgroundButtons_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<QBrush>("brush");
    QTest::addColumn<QString>("flags"); // transparent, colour, picture
    QTest::addColumn<QString>("path");
    const QString white = QStringLiteral(":/images/background2.png");
    const QString gray = QStringLiteral(":/images/background3.png");
    QTest::newRow("transparent") << 20 << QColor() << QBrush(Qt::NoBrush) << "100" << "";
    QTest::newRow("colour") << 21 << QColor(Qt::blue) << QBrush(Qt::blue, Qt::SolidPattern) << "010" << "";
    // A new scene has no background of its own.
    QTest::newRow("colour cancelled") << 21 << QColor() << QBrush(Qt::NoBrush) << "000" << "";
    QTest::newRow("white grid") << 22 << QColor() << QBrush(QPixmap(white)) << "001" << white;
    QTest::newRow("gray grid") << 23 << QColor() << QBrush(QPixmap(gray)) << "001" << gray;
}

void tst_MainWindow::backgroundButtons()
{
    QFETCH(int, id);
    QFETCH(QColor, answer);
    QFETCH(QBrush, brush);
    QFETCH(QString, flags);
    QFETCH(QString, path);
    WindowFixture f;
    if (answer.isValid())
        f.dialogs.colors.enqueue(answer);
    f.clickToolButton("backgroundButtonGroup", id);

    DiagramScene *scene = f.scene();
    const QString shown = QString::number(scene->isTransparent())
                          + QString::number(scene->isColorBackground())
                          + QString::number(scene->isPictureBackground());
    QCOMPARE(shown, flags);
    QCOMPARE(scene->backgroundPath(), path);
    QCOMPARE(scene->backgroundBrush().style(), brush.style());
    QCOMPARE(scene->backgroundBrush().color(), brush.color());
    QCOMPARE(scene->backgroundBrush().textureImage().convertToFormat(QImage::Format_RGB32),
             brush.textureImage().convertToFormat(QImage::Format_RGB32));
    if (id == 21)
        QCOMPARE(f.dialogs.callsOf("color").value(0).text, QColor(Qt::white).name());
    QCOMPARE(f.group("backgroundButtonGroup")->checkedId(), id);
}

void tst_MainWindow::colorButtonsChooseAndApply()
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
    QCOMPARE(barColor(fill), QColor(Qt::red));
    QCOMPARE(first->brush(), QBrush(Qt::red, Qt::SolidPattern));

    // The main part applies the button's colour again.
    f.select({second});
    fill->click();
    QCOMPARE(second->brush(), QBrush(Qt::red, Qt::SolidPattern));
}

void tst_MainWindow::selectingTextShowsItsFormatWithoutFeedback()
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
        if (!qobject_cast<QFontComboBox *>(box) && box->isEditable())
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

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
