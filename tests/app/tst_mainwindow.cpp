#include "WindowFixture.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>

// The main window as the user meets it: its parts at start, the actions and
// menus, the tool box modes, insertion by mouse, backgrounds, and the font
// and colour controls.
class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsWithEmptySceneAndPointerMode();
    void toolbarsAndToolBoxPages();
    void actionTextsIconsAndShortcuts_data();
    void actionTextsIconsAndShortcuts();
    void deleteAnswersThePlatformDeleteKey();
    void contextMenusEndWithTheirPropertyRows_data();
    void contextMenusEndWithTheirPropertyRows();
    void colorButtonIconShowsTheColorBar();
    void shapeButtonSetsInsertMode_data();
    void shapeButtonSetsInsertMode();
    void clickingCheckedShapeButtonUnchecksItButStillInserts();
    void pointerButtonsSetTheirMode_data();
    void pointerButtonsSetTheirMode();
    void clickInsertsShapeAndReturnsToPointer();
    void textInsertionReturnsToCheckedPointerMode();
    void backgroundButtons_data();
    void backgroundButtons();
    void colorBackgroundCancelledChangesNothing();
    void checkButtonChecksOnlyThatButton();
    void colorArrowOpensDialogOnOwnColorAndPaints();
    void colorMainPartReappliesColor();
    void selectingTextShowsItsFormatWithoutFeedback();
    void fontControlsReachSceneDefault();
    void fontSizeBoxOffersEvenSizes();
};

void tst_MainWindow::startsWithEmptySceneAndPointerMode()
{
    WindowFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Pensato"));
    QCOMPARE(f.scene()->sceneRect(), QRectF(0, 0, 5000, 5000));
    QVERIFY(f.scene()->items().isEmpty());
    QCOMPARE(f.scene()->mode(), DiagramScene::MoveItem);
    QCOMPARE(f.list()->count(), 0);
    QVERIFY(f.group("pointerTypeGroup")->button(DiagramScene::MoveItem)->isChecked());
    QCOMPARE(f.group("buttonGroup")->checkedButton(), nullptr);
    QCOMPARE(f.group("backgroundButtonGroup")->checkedButton(), nullptr);
    // The view is left of the tool box column.
    QVERIFY(f.view()->geometry().right() < f.window->findChild<QToolBox *>()->geometry().left());
}

void tst_MainWindow::toolbarsAndToolBoxPages()
{
    WindowFixture f;
    QStringList titles;
    for (QToolBar *bar : f.window->findChildren<QToolBar *>())
        titles << bar->windowTitle();
    QCOMPARE(titles, QStringList({"Editer", "Police", "Couleur", "Type pointeur"}));

    auto *toolBox = f.window->findChild<QToolBox *>();
    QCOMPARE(toolBox->count(), 2);
    QCOMPARE(toolBox->itemText(0), QStringLiteral("Objets"));
    QCOMPARE(toolBox->itemText(1), QStringLiteral("Fonds"));
    QCOMPARE(toolBox->currentIndex(), 0);
    QStringList labels;
    for (QLabel *label : toolBox->widget(0)->findChildren<QLabel *>())
        labels << label->text();
    QCOMPARE(labels, QStringList({"Carré", "Carré arrondi", "Rectangle", "Rectangle Arrondi",
                                  "Triangle", "Pentagone", "Cercle", "Text", "Math", "Image"}));
    QCOMPARE(f.group("buttonGroup")->buttons().size(), 10);
    QCOMPARE(f.group("backgroundButtonGroup")->buttons().size(), 4);

    const QList<QMenu *> menus = f.window->menuBar()->findChildren<QMenu *>();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first()->title(), QStringLiteral("&Fichier"));
    QStringList entries;
    for (QAction *a : menus.first()->actions())
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(entries, QStringList({"Nouvelle scène", "Charger une scène", "Enregistrer la scène",
                                   "Enregistrer sous", "-", "Convertir en image",
                                   "Convertir en PDF", "-", "Quitter"}));
}

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

void tst_MainWindow::deleteAnswersThePlatformDeleteKey()
{
    WindowFixture f;
    QAction *del = f.action(QStringLiteral("&Supprimer"));
    QVERIFY(del);
    QCOMPARE(del->statusTip(), QStringLiteral("Supprimer l'objet"));
    for (const QKeySequence &key : QKeySequence::keyBindings(QKeySequence::Delete))
        QVERIFY(del->shortcuts().contains(key));
    QAction *quit = f.action(QStringLiteral("Quitter"));
    QCOMPARE(quit->shortcuts(), QKeySequence::keyBindings(QKeySequence::Quit));
}

void tst_MainWindow::contextMenusEndWithTheirPropertyRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("entries");
    // Widget rows show as empty texts; their status tips tell them apart.
    QTest::newRow("shape") << int(DiagramItem::Type)
                           << QStringList({"&Supprimer", "-", "Mettre au premier plan",
                                           "Mettre en arrière plan", "Délier", "&Copier",
                                           "Rotation 0°", "Rotation 90°", "Rotation -90°",
                                           "Rotation 180°", "-", "Changer le nom de l'objet",
                                           "Choisir la taille de la bordure",
                                           "Couleur de la bordure"});
    QTest::newRow("arrow") << int(Arrow::Type)
                           << QStringList({"&Supprimer", "-", "Mettre au premier plan",
                                           "Mettre en arrière plan", "&Remise à zéro", "-",
                                           "Changer le nom de l'objet",
                                           "Choisir la taille de la tête de la flèche"});
}

void tst_MainWindow::contextMenusEndWithTheirPropertyRows()
{
    QFETCH(int, kind);
    QFETCH(QStringList, entries);
    WindowFixture f;
    DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = f.insertShape(DiagramItem::Carre, {700, 300});
    Arrow *arrow = f.insertArrow(a, b);
    QVERIFY(a);
    QVERIFY(b);
    QVERIFY(arrow);
    QGraphicsItem *target = kind == Arrow::Type ? static_cast<QGraphicsItem *>(arrow) : a;
    f.select({target});
    f.list()->entryById(ListWidget::idOf(target))->setSelected(true);

    QStringList shown;
    WindowFixture::inspectPopup(
        [&] {
            QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        },
        [&](QMenu *menu) {
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    shown << QStringLiteral("-");
                else
                    shown << (action->text().isEmpty() ? action->statusTip() : action->text());
            }
        });
    QCOMPARE(shown, entries);
}

void tst_MainWindow::colorButtonIconShowsTheColorBar()
{
    const QIcon icon = MainWindow::createColorToolButtonIcon(":/images/floodfill.png", Qt::red);
    const QImage image = icon.pixmap(50, 80).toImage();
    QCOMPARE(image.size(), QSize(50, 80));
    QCOMPARE(image.pixelColor(0, 60), QColor(Qt::red));
    QCOMPARE(image.pixelColor(49, 79), QColor(Qt::red));
    QCOMPARE(image.pixelColor(0, 59).alpha(), 0); // above the bar only the picture
    // The picture is drawn 4 pixels in from the left.
    const QImage picture(":/images/floodfill.png");
    QCOMPARE(image.pixelColor(4 + 20, 21), picture.pixelColor(20, 21));
}

void tst_MainWindow::shapeButtonSetsInsertMode_data()
{
    QTest::addColumn<int>("type");
    for (int type = 0; type < DiagramItem::TypeCount; ++type)
        QTest::newRow(qPrintable(QString::number(type))) << type;
}

void tst_MainWindow::shapeButtonSetsInsertMode()
{
    QFETCH(int, type);
    WindowFixture f;
    f.clickToolButton("buttonGroup", 10); // another button first: it must go off
    f.clickToolButton("buttonGroup", type);
    QCOMPARE(f.scene()->mode(), DiagramScene::InsertItem);
    QCOMPARE(int(f.scene()->itemType()), type);
    QCOMPARE(f.group("buttonGroup")->checkedId(), type);
    QVERIFY(!f.group("buttonGroup")->button(10)->isChecked());
}

void tst_MainWindow::clickingCheckedShapeButtonUnchecksItButStillInserts()
{
    WindowFixture f;
    f.clickToolButton("buttonGroup", DiagramItem::Carre);
    f.clickToolButton("buttonGroup", DiagramItem::Carre);
    QVERIFY(!f.group("buttonGroup")->button(DiagramItem::Carre)->isChecked());
    QCOMPARE(f.scene()->mode(), DiagramScene::InsertItem);
    QCOMPARE(f.scene()->itemType(), DiagramItem::Carre);
}

void tst_MainWindow::pointerButtonsSetTheirMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("arrow") << int(DiagramScene::InsertLine);
    QTest::newRow("link") << int(DiagramScene::LinkText);
    QTest::newRow("pointer") << int(DiagramScene::MoveItem);
}

void tst_MainWindow::pointerButtonsSetTheirMode()
{
    QFETCH(int, mode);
    WindowFixture f;
    f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
    f.clickToolButton("pointerTypeGroup", mode);
    QCOMPARE(int(f.scene()->mode()), mode);
}

void tst_MainWindow::clickInsertsShapeAndReturnsToPointer()
{
    WindowFixture f;
    DiagramItem *circle = f.insertShape(DiagramItem::Cercle, {400, 300});
    QVERIFY(circle);
    QCOMPARE(circle->name(), QStringLiteral("Cercle 0"));
    QCOMPARE(circle->pos(), QPointF(400, 300));
    QCOMPARE(f.scene()->mode(), DiagramScene::MoveItem);
    QVERIFY(f.group("pointerTypeGroup")->button(DiagramScene::MoveItem)->isChecked());
    QVERIFY(!f.group("buttonGroup")->button(DiagramItem::Cercle)->isChecked());
    QCOMPARE(f.entryTexts(), QStringList({"Cercle 0"}));
}

void tst_MainWindow::textInsertionReturnsToCheckedPointerMode()
{
    WindowFixture f;
    f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
    DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {400, 300});
    QVERIFY(text);
    QCOMPARE(f.scene()->mode(), DiagramScene::InsertLine);
    QVERIFY(!f.group("buttonGroup")->button(10)->isChecked());
    QCOMPARE(f.entryTexts(), QStringList({"Texte 0"}));
}

void tst_MainWindow::backgroundButtons_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("path");
    QTest::newRow("transparent") << 20 << true << false << "";
    QTest::newRow("white grid") << 22 << false << true << ":/images/background2.png";
    QTest::newRow("gray grid") << 23 << false << true << ":/images/background3.png";
}

void tst_MainWindow::backgroundButtons()
{
    QFETCH(int, id);
    QFETCH(bool, transparent);
    QFETCH(bool, picture);
    QFETCH(QString, path);
    WindowFixture f;
    f.clickToolButton("backgroundButtonGroup", id);
    DiagramScene *scene = f.scene();
    QCOMPARE(scene->isTransparent(), transparent);
    QCOMPARE(scene->isPictureBackground(), picture);
    QVERIFY(!scene->isColorBackground());
    QCOMPARE(scene->backgroundPath(), path);
    if (picture) {
        QCOMPARE(scene->backgroundBrush().textureImage().convertToFormat(QImage::Format_RGB32),
                 QImage(path).convertToFormat(QImage::Format_RGB32));
    } else {
        QCOMPARE(scene->backgroundBrush().style(), Qt::NoBrush);
    }
    QCOMPARE(f.group("backgroundButtonGroup")->checkedId(), id);
}

void tst_MainWindow::colorBackgroundCancelledChangesNothing()
{
    WindowFixture f;
    f.dialogs.colors.enqueue(QColor(Qt::blue));
    f.clickToolButton("backgroundButtonGroup", 21);
    QVERIFY(f.scene()->isColorBackground());
    QCOMPARE(f.scene()->backgroundBrush(), QBrush(Qt::blue, Qt::SolidPattern));
    QCOMPARE(f.dialogs.calls.last().text, QColor(Qt::white).name()); // opens on white at first

    f.clickToolButton("backgroundButtonGroup", 21); // cancelled this time
    QCOMPARE(f.dialogs.calls.last().text, QColor(Qt::blue).name());
    QCOMPARE(f.scene()->backgroundBrush(), QBrush(Qt::blue, Qt::SolidPattern));
    QCOMPARE(f.scene()->backgroundColor(), QColor(Qt::blue));
}

void tst_MainWindow::checkButtonChecksOnlyThatButton()
{
    WindowFixture f;
    f.clickToolButton("backgroundButtonGroup", 22);
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "checkButton", Q_ARG(int, 23)));
    QCOMPARE(f.group("backgroundButtonGroup")->checkedId(), 23);
    QVERIFY(QMetaObject::invokeMethod(f.window.get(), "checkButton", Q_ARG(int, 24)));
    QCOMPARE(f.group("backgroundButtonGroup")->checkedButton(), nullptr);
}

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

QComboBox *sizeCombo(const WindowFixture &f)
{
    for (QComboBox *box : f.window->findChildren<QComboBox *>()) {
        if (!qobject_cast<QFontComboBox *>(box) && box->isEditable())
            return box;
    }
    return nullptr;
}

QColor barColor(QToolButton *button)
{
    return button->icon().pixmap(50, 80).toImage().pixelColor(25, 70);
}

} // namespace

void tst_MainWindow::colorArrowOpensDialogOnOwnColorAndPaints()
{
    WindowFixture f;
    DiagramItem *shape = f.insertShape(DiagramItem::Carre, {400, 300});
    f.select({shape});
    QToolButton *fill = colorButton(f, 1);
    QCOMPARE(barColor(fill), QColor(Qt::white));

    f.dialogs.colors.enqueue(QColor(Qt::red));
    emit fill->menu()->aboutToShow();
    QCOMPARE(f.dialogs.calls.last().text, QColor(Qt::white).name());
    QCOMPARE(barColor(fill), QColor(Qt::red));
    QCOMPARE(shape->brush(), QBrush(Qt::red, Qt::SolidPattern));

    emit fill->menu()->aboutToShow(); // cancelled: nothing changes
    QCOMPARE(f.dialogs.calls.last().text, QColor(Qt::red).name());
    QCOMPARE(barColor(fill), QColor(Qt::red));

    // The line button's dialog opens on its own colour, black.
    emit colorButton(f, 2)->menu()->aboutToShow();
    QCOMPARE(f.dialogs.calls.last().text, QColor(Qt::black).name());
}

void tst_MainWindow::colorMainPartReappliesColor()
{
    WindowFixture f;
    f.dialogs.colors.enqueue(QColor(Qt::green));
    QToolButton *fill = colorButton(f, 1);
    emit fill->menu()->aboutToShow();
    DiagramItem *first = f.insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *second = f.insertShape(DiagramItem::Carre, {700, 300});
    second->setBrush(Qt::white);
    f.select({second});
    fill->click();
    QCOMPARE(second->brush(), QBrush(Qt::green, Qt::SolidPattern));
    QCOMPARE(first->brush(), QBrush(Qt::green, Qt::SolidPattern)); // inserted with the default
    QCOMPARE(f.scene()->itemColor(), QColor(Qt::green));
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
    QCOMPARE(sizeCombo(f)->currentText(), QStringLiteral("18"));
    QCOMPARE(f.scene()->font(), sceneDefault);
    QCOMPARE(plain->font(), plainFont);
    QCOMPARE(styled->font(), font);
}

void tst_MainWindow::fontControlsReachSceneDefault()
{
    WindowFixture f;
    f.action("Italique")->trigger();
    QVERIFY(f.scene()->font().italic());
    f.action("Aligné à droite")->trigger();
    QCOMPARE(f.scene()->textAlignment(), int(Qt::AlignRight));
    f.action("Alignement justifié")->trigger();
    QCOMPARE(f.scene()->textAlignment(), int(Qt::AlignJustify));
}

void tst_MainWindow::fontSizeBoxOffersEvenSizes()
{
    WindowFixture f;
    QComboBox *sizes = sizeCombo(f);
    QVERIFY(sizes);
    QStringList items;
    for (int i = 0; i < sizes->count(); ++i)
        items << sizes->itemText(i);
    QCOMPARE(items, QStringList({"8", "10", "12", "14", "16", "18", "20", "22", "24", "26", "28"}));
    QString typed = QStringLiteral("1");
    int pos = 0;
    QCOMPARE(sizes->validator()->validate(typed, pos), QValidator::Intermediate);
    typed = QStringLiteral("65");
    QVERIFY(sizes->validator()->validate(typed, pos) != QValidator::Acceptable);
    typed = QStringLiteral("64");
    QCOMPARE(sizes->validator()->validate(typed, pos), QValidator::Acceptable);

    sizes->setCurrentIndex(sizes->findText("20"));
    QCOMPARE(f.scene()->font().pointSize(), 20);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
