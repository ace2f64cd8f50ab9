#include "WindowFixture.h"
#include "scene/ItemsHarness.h"

#include "app/ItemsMime.h"
#include "app/MathWindow.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/DiagramItemRotator.h"

#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QUndoStack>
#include <QUrl>

namespace {

void key(WindowFixture &f, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QApplication::setActiveWindow(f.window.get());
    f.view()->setFocus();
    QTest::keyClick(f.view()->viewport(), Qt::Key(key), modifiers);
}

void doubleClick(WindowFixture &f, const QPointF &at)
{
    const QPoint p = f.view()->mapFromScene(at);
    QTest::mouseDClick(f.view()->viewport(), Qt::LeftButton, {}, p);
}

Arrow *arrowFromCentreToCentre(WindowFixture &f, QGraphicsItem *start, QGraphicsItem *end)
{
    return f.announced(&DiagramScene::arrowInserted, [&] {
        f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
        f.drag(start->scenePos(), end->scenePos());
        f.clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
    });
}

QStringList names(const DiagramScene *scene)
{
    QStringList found;
    for (const DiagramObject *object : scene->objects())
        found << object->name();
    return found;
}

} // namespace

// The keys and gestures every editor answers.
class tst_Habits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Pasted pictures are written under the program's data folder.
        QStandardPaths::setTestModeEnabled(true);
    }

    void selectAllAndEscape()
    {
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
        f.insertArrow(a, b);
        f.select({});
        key(f, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f.selection(), QStringLiteral("Carré 0,Cercle 0,Flèche 0 / Carré 0,Cercle 0,Flèche 0"));

        // Esc puts the pointer back after choosing a tool.
        f.clickToolButton("buttonGroup", DiagramItem::Triangle);
        QCOMPARE(int(f.scene()->mode()), int(DiagramScene::InsertItem));
        key(f, Qt::Key_Escape);
        QCOMPARE(int(f.scene()->mode()), int(DiagramScene::MoveItem));
        QCOMPARE(f.group("buttonGroup")->checkedButton(), nullptr);
        QCOMPARE(f.group("pointerTypeGroup")->checkedId(), int(DiagramScene::MoveItem));
    }

    // Esc ends an editing, keeping what was typed, and takes back a drag
    // under way.
    void escapeEndsEditingAndCancelsDrags()
    {
        WindowFixture f;
        DiagramTextItem *text = f.insertText(QStringLiteral("mot"), {300, 300});
        QApplication::setActiveWindow(f.window.get());
        f.view()->setFocus();
        text->setFocus();
        QTest::keyClicks(f.view()->viewport(), "s");
        key(f, Qt::Key_Escape);
        QVERIFY(!text->hasFocus());
        QCOMPARE(text->toPlainText(), QStringLiteral("smot"));

        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {600, 300});
        f.select({shape});
        const int steps = f.scene()->undoStack()->count();
        f.mouse(QEvent::MouseButtonPress, {640, 340});
        f.mouse(QEvent::MouseMove, {740, 440});
        QCOMPARE(shape->pos(), QPointF(700, 400));
        key(f, Qt::Key_Escape);
        QCOMPARE(shape->pos(), QPointF(600, 300));
        f.mouse(QEvent::MouseButtonRelease, {740, 440});
        QCOMPARE(shape->pos(), QPointF(600, 300));
        QCOMPARE(f.scene()->undoStack()->count(), steps);
    }

    void arrowKeysMoveTheSelection()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramTextItem *text = f.insertText(QStringLiteral("à part"), {700, 300});
        f.click({300, 300}); // ends the text's editing and selects the shape
        key(f, Qt::Key_Right);
        key(f, Qt::Key_Down, Qt::ShiftModifier);
        key(f, Qt::Key_Left);
        key(f, Qt::Key_Left);
        QCOMPARE(shape->pos(), QPointF(299, 310));
        QCOMPARE(text->pos(), QPointF(700, 300));
        // The moves that follow each other are one step.
        f.invoke("undo");
        QCOMPARE(shape->pos(), QPointF(300, 300));
    }

    void duplicateKeepsLooksAndNames()
    {
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
        f.insertArrow(a, b);
        a->setValue(DiagramObject::Property::FillColor, QColor(Qt::yellow));
        f.select({a, b});
        key(f, Qt::Key_D, Qt::ControlModifier);
        key(f, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(names(f.scene()), QStringList({"Carré 0", "Cercle 0", "Flèche 0", "Carré 0 (1)", "Cercle 0 (1)",
                                                "Flèche 0 (1)", "Carré 0 (1) (1)", "Cercle 0 (1) (1)", "Flèche 0 (1) (1)"}));
        auto *copy = static_cast<DiagramItem *>(f.scene()->itemById(a->id() + 3));
        QCOMPARE(copy->pos(), QPointF(320, 320));
        QCOMPARE(copy->brush().color(), QColor(Qt::yellow));
        QCOMPARE(copy->arrows().size(), 1); // the arrow between the two came along
        QCOMPARE(f.selection(), QStringLiteral("Carré 0 (1) (1),Cercle 0 (1) (1),Flèche 0 (1) (1) / "
                                               "Carré 0 (1) (1),Cercle 0 (1) (1),Flèche 0 (1) (1)"));
        f.invoke("undo");
        QCOMPARE(f.list()->count(), 6);
    }

    // Items copied in one window paste into another, with what links them.
    void clipboardBetweenWindows()
    {
        WindowFixture first, second;
        DiagramItem *a = first.insertShape(DiagramItem::Carre, {300, 300});
        DiagramTextItem *text = first.insertText(QStringLiteral("Titre"), {300, 550});
        first.link(a, text);
        DiagramItem *b = first.insertShape(DiagramItem::Cercle, {700, 300});
        // From the shape's centre, where its label now lies.
        QCOMPARE(arrowFromCentreToCentre(first, a, b)->startItem(), a);
        first.select({a, text, b});
        first.action("&Copier")->trigger();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(itemsMimeType));
        QVERIFY(data->hasImage()); // for other programs

        second.insertShape(DiagramItem::Triangle, {300, 300});
        second.action("&Coller")->trigger();
        QStringList pastedNames = names(second.scene());
        pastedNames.sort();
        QCOMPARE(pastedNames, QStringList({"Carré 0 (1)", "Cercle 0 (1)", "Flèche 0 (1)", "Texte 0 (1)", "Triangle 0"}));
        DiagramTextItem *pasted = nullptr;
        for (auto *item : second.scene()->items())
            if (auto *t = qgraphicsitem_cast<DiagramTextItem *>(item))
                pasted = t;
        QVERIFY(pasted);
        QCOMPARE(pasted->toPlainText(), QStringLiteral("Titre"));
        QVERIFY(pasted->linkedItem() && pasted->linkedItem()->name() == QStringLiteral("Carré 0 (1)"));
        QVERIFY(second.entryTexts().contains(QStringLiteral("Carré 0 (1) (lié à Texte 0 (1))")));
        QCOMPARE(pasted->linkedItem()->arrows().size(), 1);
        QVERIFY(noArrowDangles(*second.scene()));
    }

    void pastingFromOtherPrograms()
    {
        WindowFixture f;
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(Qt::magenta);
        QApplication::clipboard()->setImage(image);
        f.action("&Coller")->trigger();
        auto *picture = qgraphicsitem_cast<DiagramImage *>(f.scene()->itemById(0));
        QVERIFY(picture && !picture->isMath());
        QCOMPARE(picture->pixmap().size(), QSize(40, 30));
        QCOMPARE(QImage(picture->path()).pixelColor(5, 5), QColor(Qt::magenta)); // kept in a file of its own

        QApplication::clipboard()->setText(QStringLiteral("Une idée"));
        f.action("&Coller")->trigger();
        auto *text = qgraphicsitem_cast<DiagramTextItem *>(f.scene()->itemById(1));
        QVERIFY(text);
        QCOMPARE(text->toPlainText(), QStringLiteral("Une idée"));
    }

    // A double click on a formula opens it in its editor; "Valider" puts
    // the new formula in its place, one step of the history.
    void formulaChangedInPlace()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
        f.scene()->setPixmapToAdd(QStringLiteral("$x+1"), DiagramScene::renderFormula("$x+1"));
        f.scene()->setMode(DiagramScene::InsertPixmap);
        DiagramImage *formula = f.announced(&DiagramScene::mathInserted, [&] { f.click({700, 300}); });
        QVERIFY(formula);
        Arrow *arrow = arrowFromCentreToCentre(f, shape, formula);
        const int id = formula->id();

        QTimer::singleShot(0, [] {
            auto *editor = qobject_cast<MathWindow *>(QApplication::activeModalWidget());
            QVERIFY(editor);
            auto *text = editor->findChild<QTextEdit *>(QStringLiteral("textEdit"));
            QCOMPARE(text->toPlainText(), QStringLiteral("x+1"));
            text->setPlainText(QStringLiteral("\\frac{a}{b}+\\sqrt{2}"));
            editor->findChild<QPushButton *>(QStringLiteral("pushButton_valid"))->click();
        });
        doubleClick(f, {700, 300});
        QTRY_COMPARE(formula->path(), QStringLiteral("$\\frac{a}{b}+\\sqrt{2}"));
        QCOMPARE(formula->id(), id);
        QCOMPARE(formula->name(), QStringLiteral("Math 0"));
        QCOMPARE(formula->pos(), QPointF(700, 300));
        QCOMPARE(formula->arrows(), QList<Arrow *>{arrow});
        QCOMPARE(formula->pixmap().size(), DiagramScene::renderFormula(formula->path()).size());
        QVERIFY(!f.scene()->isMouseDown()); // the release went to the editor
        f.invoke("undo");
        QCOMPARE(formula->path(), QStringLiteral("$x+1"));
    }

    // A double click on a shape edits its text, made and linked when it has
    // none; left empty, the new text goes again.
    void shapeTextByDoubleClick()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Rectangle, {400, 300});
        const int steps = f.scene()->undoStack()->count();
        doubleClick(f, {400, 300});
        DiagramTextItem *text = shape->linkedText();
        QVERIFY(text && text->hasFocus());
        QTest::keyClicks(f.view()->viewport(), "Nom");
        QCOMPARE(text->toPlainText(), QStringLiteral("Nom"));
        key(f, Qt::Key_Escape);
        QCOMPARE(f.scene()->undoStack()->count(), steps + 2); // the text, what was typed
        QCOMPARE(f.entryTexts().last(), QStringLiteral("Rectangle 0 (lié à Texte 0)"));

        DiagramItem *other = f.insertShape(DiagramItem::Carre, {800, 300});
        const int before = f.scene()->undoStack()->count();
        doubleClick(f, other->scenePos());
        QVERIFY(other->linkedText());
        key(f, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!other->linkedText());
        QCOMPARE(f.scene()->undoStack()->count(), before); // as if nothing happened
    }

    void dropsFromTheFileManager()
    {
        WindowFixture f;
        QImage image(50, 20, QImage::Format_ARGB32);
        image.fill(Qt::darkGreen);
        const QString picture = f.path("photo.png");
        QVERIFY(image.save(picture));
        const auto drop = [&f](const QStringList &paths, const QPointF &at) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString &path : paths)
                urls << QUrl::fromLocalFile(path);
            data.setUrls(urls);
            const QPoint p = f.view()->mapFromScene(at);
            QDragEnterEvent enter(p, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f.view()->viewport(), &enter);
            QDropEvent dropped(p, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(f.view()->viewport(), &dropped);
        };
        drop({picture, picture}, {500, 400});
        QCOMPARE(f.list()->count(), 2);
        QCOMPARE(f.scene()->itemById(0)->pos(), QPointF(500, 400));
        QCOMPARE(f.scene()->itemById(1)->pos(), QPointF(520, 420));

        const QString sceneFile = f.path("plan.pensascene");
        DiagramScene other;
        other.addLoadedItem(other.newShape(DiagramItem::Cercle));
        QVERIFY(writeSceneFile(sceneFile, writeDocument(other), nullptr));
        // The pictures are unsaved work: kept when the question is cancelled.
        drop({sceneFile}, {100, 100});
        QCOMPARE(f.list()->count(), 2);
        f.dialogs.answers.enqueue(Dialogs::Discard);
        drop({sceneFile}, {100, 100});
        QCOMPARE(f.entryTexts(), QStringList({"Cercle 0"}));
    }

    // Arrows start where users start them, on the middle of a selected
    // shape, even where a handle of it lies.
    void arrowFromASelectedShapesHandle()
    {
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *b = f.insertShape(DiagramItem::Carre, {800, 300});
        f.select({a});
        auto *rotator = dynamic_cast<DiagramItemRotator *>(a->childItems().value(4));
        QVERIFY(rotator && rotator->isVisible());
        const QPointF onHandle = f.view()->mapToScene(
            rotator->deviceTransform(f.view()->viewportTransform()).map(QPointF(0, 0)).toPoint());
        f.clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
        Arrow *arrow = f.announced(&DiagramScene::arrowInserted, [&] { f.drag(onHandle, b->scenePos()); });
        QVERIFY(arrow);
        QCOMPARE(arrow->startItem(), a);
        QCOMPARE(a->rotationTransform()->angle(), 0.0); // the handle did not turn it
    }
};

QTEST_MAIN(tst_Habits)
#include "tst_habits.moc"
