#include "tests/app/WindowFixture.h"
#include "math/MathWindow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "tests/math/MathTestSupport.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

namespace {

QSize pictureSize(const QString &formula, double size, QSize margins = QSize(-1, -1))
{
    if (!margins.isValid())
        margins = DiagramScene::formulaMargins(formula);
    const QSizeF measure = formulaSize(formula, size);
    return QSize(int(measure.width() + margins.width()), int(measure.height() + margins.height()));
}

// The editor's widgets, found as its form names them.
struct Editor
{
    explicit Editor(MathWindow *shown = nullptr) : window(shown ? shown : new MathWindow) {}
    ~Editor() { delete window; }

    QPointer<MathWindow> window;
    QTextEdit *text = window->findChild<QTextEdit *>("textEdit");
    QLabel *preview = window->findChild<QLabel *>("label");
    QSpinBox *size = window->findChild<QSpinBox *>("tailleDeLaPoliceSpinBox");
    QPushButton *valid = window->findChild<QPushButton *>("pushButton_valid");
    QPushButton *cancel = window->findChild<QPushButton *>("pushButton_cancel");
    QButtonGroup *palette = window->findChild<QButtonGroup *>();

    QSize previewSize() const { return preview->pixmap(Qt::ReturnByValue).size(); }
};

// Lets closed editors go (they delete themselves once closed).
void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class MathWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void paletteClickInsertsAtCursor_data();
    void paletteClickInsertsAtCursor();
    void paletteButtons();
    void pagesInOrder();
    void previewSize();
    void validHandsOverAtSpinBoxSize_data();
    void validHandsOverAtSpinBoxSize();
    void formulaRefused_data();
    void formulaRefused();
    void formulaPlacedByTheNextClick();
};

void MathWindowTest::paletteClickInsertsAtCursor_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("after");

    QTest::newRow("Sinus at the end") << 2 << "2+" << 2 << R"(2+\sin())";
    QTest::newRow("Fraction in the middle") << 0 << "ab" << 1 << R"(a\frac{a}{b}b)";
    QTest::newRow("Text into an empty formula") << 62 << "" << 0 << "$...$";
    QTest::newRow("Logarithme at the start") << 9 << "x" << 0 << R"(\log()x)";
}

void MathWindowTest::paletteClickInsertsAtCursor()
{
    QFETCH(int, id);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, after);
    Editor editor;
    editor.text->setPlainText(before);
    QTextCursor place = editor.text->textCursor();
    place.setPosition(cursor);
    editor.text->setTextCursor(place);

    QVERIFY(editor.palette->button(id));
    editor.palette->button(id)->click();
    QCOMPARE(editor.text->toPlainText(), after);
    // The cursor ends after the snippet ("\sin()": after the parenthesis).
    QCOMPARE(editor.text->textCursor().position(), after.size() - (before.size() - cursor));
}

// Each button inserts its snippet and shows an icon: a snippet that fails to
// typeset or a missing picture shows nothing. Ids without a button insert nothing.
void MathWindowTest::paletteButtons()
{
    Editor editor;
    QSignalSpy changes(editor.text, &QTextEdit::textChanged);
    for (int id : {20, 23, 63}) {
        editor.window->buttonGroupClicked(id);
        QVERIFY(!editor.palette->button(id));
    }
    QCOMPARE(changes.count(), 0);
    const QList<QAbstractButton *> buttons = editor.palette->buttons();
    QCOMPARE(buttons.size(), 61);
    for (QAbstractButton *button : buttons) {
        const int id = editor.palette->id(button);
        editor.text->clear();
        button->click();
        QVERIFY2(!editor.text->toPlainText().isEmpty(), qPrintable(QString::number(id)));
        QCOMPARE(editor.text->toPlainText(), MathWindow::snippet(id));
        QCOMPARE(button->iconSize(), QSize(50, 50));
        QVERIFY2(!inkBounds(button->icon().pixmap(50, 50).toImage(), opaque).isNull(), qPrintable(QString::number(id)));
    }
}

void MathWindowTest::pagesInOrder()
{
    Editor editor;
    auto *pages = editor.window->findChild<QToolBox *>();
    const QStringList titles = {"Fonctions", "Opérateurs", "Symboles", "Alpahabet",
                                "Vecteurs et complexes", "Flèches", "Texte"};
    const QList<int> firstIds = {0, 16, 57, 35, 44, 50, 62};
    QCOMPARE(pages->count(), titles.size());
    for (int i = 0; i < pages->count(); ++i) {
        QCOMPARE(pages->itemText(i), titles.at(i));
        const QList<QToolButton *> buttons = pages->widget(i)->findChildren<QToolButton *>();
        QVERIFY(!buttons.isEmpty());
        QCOMPARE(editor.palette->id(buttons.first()), firstIds.at(i));
    }
}

void MathWindowTest::previewSize()
{
    Editor editor;
    QCOMPARE(editor.window->windowTitle(), QString("Expression mathématique"));
    QCOMPARE(editor.preview->text(), QString("Prévisualisation"));
    QCOMPARE(editor.size->value(), 20);
    editor.size->setValue(45);
    editor.text->setFocus();
    QTest::keyClicks(editor.text, "a+b");
    // Typing previews at 20 points whatever the spin box shows.
    QCOMPARE(editor.previewSize(), pictureSize("$a+b", 20));
    QVERIFY(editor.previewSize() != pictureSize("$a+b", 45));

    editor.size->setValue(46);
    QCOMPARE(editor.previewSize(), pictureSize("$a+b", 46));
    QCOMPARE(editor.preview->pixmap(Qt::ReturnByValue).toImage().pixelColor(0, 0), QColor(Qt::white));

    editor.text->clear();
    QCOMPARE(editor.preview->text(), QString("Prévisualisation"));
    QVERIFY(editor.previewSize().isEmpty());
}

void MathWindowTest::validHandsOverAtSpinBoxSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("margins");

    // "\neq" overhangs: 28 across, 26 down.
    QTest::newRow("neq at 35") << R"(\neq)" << 35 << QSize(28, 26);
    QTest::newRow("plain at 12") << "a+b" << 12 << QSize(0, 0);
    QTest::newRow("two neq, counted across once each") << R"(a\neq b\neq c)" << 20 << QSize(56, 26);
}

void MathWindowTest::validHandsOverAtSpinBoxSize()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QSize, margins);
    Editor editor;
    editor.window->show();
    editor.text->setPlainText(text);
    editor.size->setValue(size);
    QSignalSpy done(editor.window, &MathWindow::done);

    editor.valid->click();
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toString(), "$" + text);
    const QImage picture = done.at(0).at(1).value<QPixmap>().toImage();
    QCOMPARE(picture.size(), pictureSize("$" + text, size, margins));
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0); // on a transparent background
    QVERIFY(!inkBounds(picture, opaque).isNull());
    QVERIFY(!editor.window->isVisible());
}

void MathWindowTest::formulaRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("nothing") << "" << "vide";
    QTest::newRow("only blanks") << "  \n\t " << "vide";
    QTest::newRow("too wide") << QString("x").repeated(600) << "trop grande";
    QTest::newRow("too tall") << R"(\begin{pmatrix} )" + QString(R"(x \\ )").repeated(300) + R"(x \end{pmatrix})"
                              << "trop grande";
}

void MathWindowTest::formulaRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    ScriptedDialogs dialogs;
    Editor editor;
    editor.window->show();
    editor.text->setPlainText(text);
    editor.size->setValue(200);
    QSignalSpy done(editor.window, &MathWindow::done);
    if (!text.trimmed().isEmpty()) {
        const QSizeF size = formulaSize("$" + text, 200);
        QVERIFY2(qMax(size.width(), size.height()) > MathWindow::maxPictureSide, "must be over the limit");
        // The preview says so instead of allocating the picture.
        QVERIFY(editor.previewSize().isEmpty());
        QVERIFY(editor.preview->text().contains(reason));
    }

    editor.valid->click();
    QCOMPARE(done.count(), 0);
    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.calls.first().caption, QString("Expression mathématique"));
    QVERIFY(dialogs.calls.first().text.contains(reason));
    QVERIFY(editor.window->isVisible()); // the user can go on writing
}

// Through the main window as a user goes: the "Math" button, the editor,
// then a click on the scene; an editor cancelled afterwards places nothing.
void MathWindowTest::formulaPlacedByTheNextClick()
{
    qRegisterMetaType<DiagramImage *>();
    WindowFixture fixture;
    QSignalSpy placed(fixture.scene(), &DiagramScene::mathInserted);
    for (const bool cancel : {false, true}) {
        fixture.clickToolButton("buttonGroup", 11);
        Editor editor(qobject_cast<MathWindow *>(QApplication::activeModalWidget()));
        QVERIFY(editor.window);
        QCOMPARE(editor.window->windowModality(), Qt::ApplicationModal);
        QCOMPARE(fixture.scene()->mode(), DiagramScene::InsertPixmap);
        editor.text->setPlainText(cancel ? "x" : R"(\neq)");
        QSignalSpy done(editor.window, &MathWindow::done);
        QTest::mouseClick(cancel ? editor.cancel : editor.valid, Qt::LeftButton);
        flushDeletions();
        QVERIFY(editor.window.isNull()); // a closed editor does not linger
        QCOMPARE(done.count(), cancel ? 0 : 1);
        // The scene no longer waits to place a formula once the editor is gone.
        QCOMPARE(fixture.scene()->mode(), cancel ? DiagramScene::MoveItem : DiagramScene::InsertPixmap);
        fixture.click(QPointF(620, 480));
        QCOMPARE(fixture.scene()->mode(), DiagramScene::MoveItem);
        QVERIFY(!fixture.group("buttonGroup")->button(11)->isChecked());
        QCOMPARE(placed.count(), 1);
        if (cancel)
            break;
        const QPixmap handedOver = done.at(0).at(1).value<QPixmap>();
        auto *formula = placed.at(0).at(0).value<DiagramImage *>();
        QVERIFY(formula->isMath());
        QCOMPARE(formula->path(), QString(R"($\neq)"));
        QCOMPARE(formula->name(), QString("Math 0"));
        QCOMPARE(formula->pixmap().cacheKey(), handedOver.cacheKey());
        QCOMPARE(formula->scenePos(), QPointF(620, 480)); // centred on the click
        QCOMPARE(formula->offset(), QPointF(-(handedOver.width() / 2), -(handedOver.height() / 2)));
    }
    QCOMPARE(fixture.scene()->pathToAdd(), QString(R"($\neq)")); // unchanged by the cancelled editor
}

QTEST_MAIN(MathWindowTest)
#include "tst_mathwindow.moc"
