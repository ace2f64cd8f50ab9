#include "tests/app/WindowFixture.h"
#include "app/MathWindow.h"
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

// The picture is the engine's measure: the ink and its even padding.
QSize pictureSize(const QString &formula, double size)
{
    const QSizeF measure = formulaSize(formula, size);
    return QSize(int(measure.width()), int(measure.height()));
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

} // namespace

class MathWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // Each button inserts its snippet at the cursor, which ends after it ("\sin()":
    // after the parenthesis), and shows an icon: a snippet that fails to typeset or
    // a missing picture shows nothing. Ids without a button insert nothing.
    void palette()
    {
        Editor editor;
        auto *pages = editor.window->findChild<QToolBox *>();
        QStringList titles;
        for (int i = 0; i < pages->count(); ++i)
            titles << pages->itemText(i) + QString::number(editor.palette->id(pages->widget(i)->findChild<QToolButton *>()));
        QCOMPARE(titles, QStringList({"Fonctions0", "Opérateurs16", "Symboles57", "Alpahabet35",
                                      "Vecteurs et complexes44", "Flèches50", "Texte62"}));
        QSignalSpy changes(editor.text, &QTextEdit::textChanged);
        for (int id : {20, 23, 63}) {
            editor.window->buttonGroupClicked(id);
            QVERIFY(!editor.palette->button(id));
        }
        QCOMPARE(changes.count(), 0);
        const QList<QAbstractButton *> buttons = editor.palette->buttons();
        QCOMPARE(buttons.size(), 61);
        // A few snippets written out; the others as the window lists them.
        const QMap<int, QString> some = {{0, R"(\frac{a}{b})"}, {2, R"(\sin())"}, {9, R"(\log())"}, {62, "$...$"}};
        for (QAbstractButton *button : buttons) {
            const int id = editor.palette->id(button);
            const QString snippet = some.value(id, MathWindow::snippet(id));
            editor.text->setPlainText("ab");
            QTextCursor cursor = editor.text->textCursor();
            cursor.setPosition(1);
            editor.text->setTextCursor(cursor);
            button->click();
            QVERIFY2(!snippet.isEmpty(), qPrintable(QString::number(id)));
            QCOMPARE(editor.text->toPlainText(), "a" + snippet + "b");
            QCOMPARE(editor.text->textCursor().position(), 1 + snippet.size());
            QCOMPARE(button->iconSize(), QSize(50, 50));
            QVERIFY2(!inkBounds(button->icon().pixmap(50, 50).toImage(), opaque).isNull(), qPrintable(QString::number(id)));
        }
    }

    void previewSize()
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

    // Valid hands the formula over at the spin box size, or refuses it with a warning saying why.
    void valid_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("reason"); // empty: handed over

        QTest::newRow("neq at 35") << R"(\neq)" << 35 << "";
        QTest::newRow("plain at 12") << "a+b" << 12 << "";
        QTest::newRow("nothing") << "" << 200 << "vide";
        QTest::newRow("only blanks") << "  \n\t " << 200 << "vide";
        QTest::newRow("too wide") << QString("x").repeated(600) << 200 << "trop grande";
        QTest::newRow("too tall") << R"(\begin{pmatrix} )" + QString(R"(x \\ )").repeated(300) + R"(x \end{pmatrix})"
                                  << 200 << "trop grande";
    }

    void valid()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(QString, reason);
        ScriptedDialogs dialogs;
        Editor editor;
        editor.window->show();
        editor.text->setPlainText(text);
        editor.size->setValue(size);
        QSignalSpy done(editor.window, &MathWindow::done);
        if (reason == "trop grande") {
            const QSizeF measured = formulaSize("$" + text, size);
            QVERIFY2(qMax(measured.width(), measured.height()) > MathWindow::maxPictureSide, "must be over the limit");
            // The preview says so instead of allocating the picture.
            QVERIFY(editor.previewSize().isEmpty());
            QVERIFY(editor.preview->text().contains(reason));
        }

        editor.valid->click();
        QCOMPARE(done.count(), reason.isEmpty() ? 1 : 0);
        QCOMPARE(dialogs.calls.size(), reason.isEmpty() ? 0 : 1);
        QCOMPARE(editor.window->isVisible(), !reason.isEmpty()); // after a refusal the user can go on writing
        if (!reason.isEmpty()) {
            QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
            QCOMPARE(dialogs.calls.first().caption, QString("Expression mathématique"));
            QVERIFY(dialogs.calls.first().text.contains(reason));
            return;
        }
        QCOMPARE(done.at(0).at(0).toString(), "$" + text);
        const QImage picture = done.at(0).at(1).value<QPixmap>().toImage();
        QCOMPARE(picture.size(), pictureSize("$" + text, size));
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0); // on a transparent background
        QVERIFY(!inkBounds(picture, opaque).isNull());
    }

    // Through the main window as a user goes: the "Math" button, the editor,
    // then a click on the scene; an editor cancelled afterwards places nothing.
    void formulaPlacedByTheNextClick()
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
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed editors delete themselves
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
};

QTEST_MAIN(MathWindowTest)
#include "tst_mathwindow.moc"
