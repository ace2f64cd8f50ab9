#include "WindowFixture.h"

#include "app/FrenchInterface.h"
#include "export/ConvertToIMG.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QToolButton>

// What a new user meets in the first half hour: the keys, the tool box,
// bad files, pasting, and the interface's language.
class tst_FirstUse : public QObject
{
    Q_OBJECT

private slots:
    void keysThatDelete_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("left");
        QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << 0;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << 0;
        // Users press it to duplicate.
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << int(Qt::ControlModifier) << 2;
    }

    void keysThatDelete()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, left);
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {400, 300});
        f.select({shape});
        QApplication::setActiveWindow(f.window.get());
        f.view()->setFocus();
        QTest::keyClick(f.view()->viewport(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.scene()->items().contains(shape), left > 0);
        QCOMPARE(f.list()->count(), left);
    }

    // While a text is edited, Backspace takes a letter, not the item.
    void backspaceEditsTheTextBeingEdited()
    {
        WindowFixture f;
        DiagramTextItem *text = f.insertText(QStringLiteral("abc"), {400, 300});
        QApplication::setActiveWindow(f.window.get());
        f.view()->setFocus();
        text->setFocus();
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::End);
        text->setTextCursor(cursor);
        QTest::keyClick(f.view()->viewport(), Qt::Key_Backspace);
        QVERIFY(f.scene()->items().contains(text));
        QCOMPARE(text->toPlainText(), QStringLiteral("ab"));
    }

    void toolBoxSpeaksFrench()
    {
        WindowFixture f;
        QStringList labels;
        for (QLabel *label : f.window->findChildren<QLabel *>())
            labels << label->text();
        for (const char *expected : {"Texte", "Formule", "Rectangle arrondi", "Carré arrondi"})
            QVERIFY2(labels.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!labels.contains("Text") && !labels.contains("Math"));
        // Every button of the window says what it does.
        for (QToolButton *button : f.window->findChildren<QToolButton *>()) {
            if (button->isVisibleTo(f.window.get()) && !button->defaultAction())
                QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->text()));
        }
    }

    // Qt's own dialogs, buttons and key names follow the program's language.
    void qtSpeaksFrench()
    {
        QVERIFY(installFrenchInterface(*QCoreApplication::instance()));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
        QCOMPARE(QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText), QStringLiteral("Suppr"));
        QCOMPARE(QLocale().language(), QLocale::French);
    }

    // A cancelled or unreadable choice puts the pointer back and inserts
    // nothing at the next click.
    void pictureChoiceThatFailsInsertsNothing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("warnings");
        QTest::newRow("cancelled") << QString() << 0;
        QTest::newRow("not a picture") << QStringLiteral("notes.txt") << 1;
    }

    void pictureChoiceThatFailsInsertsNothing()
    {
        QFETCH(QString, answer);
        QFETCH(int, warnings);
        WindowFixture f;
        if (!answer.isEmpty()) {
            QFile file(f.path(answer));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("pas une image") > 0);
            f.dialogs.fileNames.enqueue(file.fileName());
        }
        f.clickToolButton("buttonGroup", 12);
        QCOMPARE(int(f.scene()->mode()), int(DiagramScene::MoveItem));
        QCOMPARE(f.group("buttonGroup")->checkedButton(), nullptr);
        f.click({400, 300});
        QCOMPARE(f.list()->count(), 0);
        QCOMPARE(f.calls("message").size(), warnings);
    }

    // The load says what it left out, and nothing invisible or nameless
    // enters; a file of which nothing could be read changes nothing.
    void badFilesAreToldAbout_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("box"); // title|text
        QTest::addColumn<int>("entries");
        QTest::newRow("required values of the wrong type")
            << "wrong-types" << "Scène non chargée|Le fichier « %1 » n'est pas une scène : aucun de ses objets n'a pu être lu." << 1;
        QTest::newRow("optional values of the wrong type")
            << "wrong-optional-types" << "Scène chargée|24 valeurs invalides ou hors limites ont été corrigées." << 4;
        QTest::newRow("some unreadable items")
            << "missing-ends" << "Scène chargée|7 objets illisibles ont été ignorés." << 4;
        QTest::newRow("items not a list")
            << "items-not-array" << "Scène non chargée|Le fichier « %1 » n'est pas une scène : la liste des objets (« items ») n'est pas un tableau JSON." << 1;
    }

    void badFilesAreToldAbout()
    {
        QFETCH(QString, file);
        QFETCH(QString, box);
        QFETCH(int, entries);
        WindowFixture f;
        f.insertShape(DiagramItem::Carre, {400, 300});
        const QString path = QFINDTESTDATA("../io/broken/" + file + ".pensascene");
        f.dialogs.fileNames.enqueue(path);
        f.dialogs.answers.enqueue(Dialogs::Discard); // the square
        f.invoke("load");
        const QList<ScriptedDialogs::Call> boxes = f.dialogs.callsOf("message");
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.at(0).caption + "|" + boxes.at(0).text, box.arg(path));
        QCOMPARE(f.list()->count(), entries);
        QCOMPARE(f.window->windowTitle().startsWith(file + ".pensascene"), box.startsWith("Scène chargée"));
        for (QGraphicsItem *item : f.scene()->items()) {
            if (item->type() >= QGraphicsItem::UserType)
                QVERIFY(!ListWidget::nameOf(item).isEmpty());
        }
    }

    void pastedCopiesAreSelected()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {400, 300});
        DiagramTextItem *text = f.insertText(QStringLiteral("note"), {700, 300});
        f.select({shape, text});
        f.action("&Copier")->trigger();
        f.action("&Coller")->trigger();
        QCOMPARE(f.selection(), QStringLiteral("Carré 0 (1),Texte 0 (1) / Carré 0 (1),Texte 0 (1)"));
    }

    void listShowsWhatTheSceneSelects()
    {
        WindowFixture f;
        f.list()->setMaximumHeight(80); // room for a few rows only
        QList<DiagramItem *> shapes;
        for (int i = 0; i < 30; ++i)
            shapes << f.insertShape(DiagramItem::Carre, {100.0 + 30 * i, 300});
        f.select({shapes.last()});
        const QRect row = f.list()->visualItemRect(f.entryOf(shapes.last()));
        QVERIFY(f.list()->viewport()->rect().contains(row));
    }

    void newTextsAreReadable()
    {
        WindowFixture f;
        QCOMPARE(f.insertText(QStringLiteral("lisible"), {400, 300})->font().pointSize(), 12);
    }

    void exportWindowOpensOverTheMainWindow()
    {
        WindowFixture f;
        f.insertShape(DiagramItem::Carre, {400, 300});
        // Within the screen, so that centring needs no clamping.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        f.window->setGeometry(screen.adjusted(20, 20, -20, -20));
        f.invoke("toImage");
        auto *window = f.window->findChild<ConvertToIMG *>();
        QVERIFY(window);
        const QPoint offset = window->geometry().center() - f.window->geometry().center();
        QVERIFY2(offset.manhattanLength() < 40, qPrintable(QString("%1, %2").arg(offset.x()).arg(offset.y())));
        window->close();
    }
};

QTEST_MAIN(tst_FirstUse)
#include "tst_firstuse.moc"
