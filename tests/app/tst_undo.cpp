#include "WindowFixture.h"
#include "scene/ItemsHarness.h"

#include "app/LineInputActionWidget.h"
#include "app/SpinboxActionWidget.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/DiagramItemResizer.h"
#include "scene/DiagramItemRotator.h"
#include "scene/Spacer.h"

#include <QGraphicsScale>
#include <QSpinBox>
#include <QTextCursor>
#include <QUndoStack>

#include <functional>

namespace {

// A diagram to change: two squares and a circle, arrows a -> b and c -> a,
// a text linked to a, a free text and a picture.
struct Diagram : WindowFixture
{
    DiagramItem *a = insertShape(DiagramItem::Carre, {300, 300});
    DiagramItem *b = insertShape(DiagramItem::Carre, {800, 300});
    DiagramItem *c = insertShape(DiagramItem::Cercle, {300, 800});
    Arrow *ab = insertArrow(a, b);
    Arrow *ca = insertArrow(c, a);
    DiagramTextItem *label = insertText(QStringLiteral("étiquette"), {200, 550});
    DiagramTextItem *note = insertText(QStringLiteral("note"), {800, 800});
    DiagramImage *picture = insertPicture({1200, 700});

    Diagram()
    {
        link(a, label);
        select({});
    }

    QUndoStack *history() const { return scene()->undoStack(); }

    // As a double click does: the text is edited, the cursor at its end.
    void edit(DiagramTextItem *text) const
    {
        QApplication::setActiveWindow(window.get());
        view()->setFocus();
        text->setTextInteractionFlags(Qt::TextEditorInteraction);
        text->setFocus();
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::End);
        text->setTextCursor(cursor);
    }

    // What "Enregistrer" writes, and what the list shows.
    QString state() const
    {
        return QString::fromUtf8(encodeSceneDocument(writeDocument(*scene())))
               + entryTexts().join('\n');
    }

    // Where the middle of a handle shows; handles ignore their parent's
    // transformations.
    QPointF handleCentre(const QGraphicsPolygonItem *handle) const
    {
        QPointF sum;
        for (const QPointF &corner : handle->polygon())
            sum += corner;
        const QPointF centroid = sum / handle->polygon().size();
        const QTransform device = handle->deviceTransform(view()->viewportTransform());
        return view()->mapToScene(device.map(centroid).toPoint());
    }

    template <typename Handle>
    Handle *handleOf(QGraphicsItem *item) const
    {
        for (QGraphicsItem *child : item->childItems())
            if (auto *handle = dynamic_cast<Handle *>(child))
                return handle;
        return nullptr;
    }
};

using Change = std::function<void(Diagram &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

// Every change to a diagram is one step of its history: undone, the
// document, the file it saves to and the item list are as before; redone,
// as after.
class tst_Undo : public QObject
{
    Q_OBJECT

private slots:
    void everyChangeIsOneStep_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("undoText");
        const auto row = [](const char *name, const QString &text, Change change) {
            QTest::newRow(name) << change << text;
        };
        row("insert a shape", "Insérer Triangle 0",
            [](Diagram &d) { d.insertShape(DiagramItem::Triangle, {1300, 300}); });
        row("insert an arrow", "Insérer Flèche 2", [](Diagram &d) { d.insertArrow(d.b, d.c); });
        row("insert a picture", "Insérer Image 1", [](Diagram &d) { d.insertPicture({1300, 1000}); });
        row("delete a shape with its arrows and linked text", "Supprimer 3 objet(s)", [](Diagram &d) {
            d.select({d.a});
            d.action("&Supprimer")->trigger();
        });
        row("delete a linked text", "Supprimer Texte 0", [](Diagram &d) {
            d.select({d.label});
            d.action("&Supprimer")->trigger();
        });
        row("move the selection by one drag", "Déplacer 2 objet(s)", [](Diagram &d) {
            d.select({d.b, d.c});
            d.drag(d.b->scenePos() + QPointF(40, 40), d.b->scenePos() + QPointF(140, 90));
        });
        row("resize by a handle", "Redimensionner 1 objet(s)", [](Diagram &d) {
            d.select({d.b});
            const QPointF corner = d.handleCentre(d.handleOf<DiagramItemResizer>(d.b));
            d.drag(corner, corner + QPointF(-40, -30));
        });
        row("turn by the disc", "Tourner 1 objet(s)", [](Diagram &d) {
            d.select({d.c});
            d.drag(d.handleCentre(d.handleOf<DiagramItemRotator>(d.c)), d.c->scenePos() + QPointF(150, 0));
        });
        row("rotate by the menu", "Tourner 2 objet(s)", [](Diagram &d) {
            d.select({d.b, d.picture, d.note});
            d.action("Rotation 90°")->trigger();
        });
        row("bring to front", "Mettre au premier plan", [](Diagram &d) {
            d.select({d.ab});
            d.action("Mettre au premier plan")->trigger();
        });
        row("fill colour", "Couleur de remplissage", [](Diagram &d) {
            d.select({d.b, d.c});
            d.dialogs.colors.enqueue(Qt::red);
            d.invoke("chooseItemColor");
        });
        row("border width, stepped", "Bordure", [](Diagram &d) {
            d.select({d.b});
            d.invoke("changeBorderSize", Q_ARG(int, 2)); // as the spin box steps
            d.invoke("changeBorderSize", Q_ARG(int, 3));
        });
        row("arrow head size", "Taille de la flèche", [](Diagram &d) {
            d.select({d.ab, d.ca});
            d.invoke("setArrowWidth", Q_ARG(int, 40));
        });
        row("bold", "Police", [](Diagram &d) {
            d.select({d.note});
            d.action("Gras")->trigger();
        });
        row("alignment", "Alignement", [](Diagram &d) {
            d.select({d.note, d.label});
            d.action("Aligné à droite")->trigger();
        });
        row("text colour", "Couleur du texte", [](Diagram &d) {
            d.select({d.note});
            d.dialogs.colors.enqueue(Qt::blue);
            d.invoke("chooseTextColor");
        });
        row("rename, typed letter by letter", "Renommer 1 objet(s)", [](Diagram &d) {
            d.select({d.b});
            for (const QString &name : {"D", "Dé", "Dép", "Dépôt"})
                d.invoke("changeName", Q_ARG(QString, name));
        });
        row("typing in a text", "Saisir dans Texte 1", [](Diagram &d) {
            d.edit(d.note);
            QTest::keyClicks(d.view()->viewport(), "bloc");
            d.note->clearFocus();
        });
        row("link", "Lier Texte 1 à Carré 1", [](Diagram &d) { d.link(d.b, d.note); });
        row("unlink", "Délier Texte 0", [](Diagram &d) {
            d.select({d.a});
            d.action("Délier")->trigger();
        });
        row("paste", "Insérer 2 objet(s)", [](Diagram &d) {
            d.select({d.b, d.note});
            d.action("&Copier")->trigger();
            d.action("&Coller")->trigger();
        });
        row("arrow tip", "Pointe de la flèche", [](Diagram &d) {
            d.select({d.ab});
            QGraphicsPolygonItem *tip = d.ab->spacer();
            d.drag(d.handleCentre(tip), d.b->scenePos() + QPointF(60, 60));
        });
        row("background", "Changer le fond", [](Diagram &d) {
            d.clickToolButton("backgroundButtonGroup", 23);
        });
    }

    void everyChangeIsOneStep()
    {
        QFETCH(Change, change);
        QFETCH(QString, undoText);
        Diagram d;
        const QString before = d.state();
        const int steps = d.history()->count();
        change(d);
        const QString after = d.state();
        QVERIFY(after != before);
        QCOMPARE(d.history()->count(), steps + 1);
        QCOMPARE(d.history()->undoText(), undoText);

        d.action("&Annuler " + undoText)->trigger();
        QCOMPARE(d.state(), before);
        QVERIFY(d.action("&Rétablir " + undoText)->isEnabled());
        d.action("&Rétablir " + undoText)->trigger();
        QCOMPARE(d.state(), after);
        QVERIFY(noArrowDangles(*d.scene()));
    }

    // The deleted shape comes back with both arrows and its text, linked,
    // with their ids, and selected.
    void deletionComesBackWhole()
    {
        Diagram d;
        const int id = d.a->id();
        d.select({d.a});
        d.action("&Supprimer")->trigger();
        QVERIFY(!d.scene()->items().contains(d.a));
        QVERIFY(!d.label->isLinked());
        QVERIFY(d.b->arrows().isEmpty());

        d.action("&Annuler Supprimer 3 objet(s)")->trigger();
        QCOMPARE(d.scene()->itemById(id), d.a);
        QCOMPARE(d.a->arrows().size(), 2);
        QCOMPARE(d.b->arrows(), QList<Arrow *>{d.ab});
        QCOMPARE(d.label->linkedItem(), d.a);
        QCOMPARE(d.a->linkedText(), d.label);
        // Selected as it was when it went.
        QCOMPARE(d.selection(), QStringLiteral("Carré 0 / Carré 0 (lié à Texte 0)"));
    }

    // An undone insertion gives its id and name back, but never an id that
    // something inserted since has.
    void idsAndNamesAfterUndo()
    {
        WindowFixture f;
        // The undone insertion owns its shape, and the next insertion
        // drops that step, shape and all: keep only its id.
        const int firstId = f.insertShape(DiagramItem::Carre, {300, 300})->id();
        f.action("&Annuler Insérer Carré 0")->trigger();
        DiagramItem *again = f.insertShape(DiagramItem::Carre, {300, 300});
        QCOMPARE(again->id(), firstId);
        QCOMPARE(again->name(), QStringLiteral("Carré 0"));

        const int xId = f.insertShape(DiagramItem::Cercle, {700, 300})->id();
        f.insertShape(DiagramItem::Cercle, {700, 700});
        QUndoStack *history = f.scene()->undoStack();
        history->undo(); // the second circle
        history->undo(); // the first
        f.insertShape(DiagramItem::Triangle, {300, 700});
        QCOMPARE(f.scene()->nbItems(), xId + 1);
        QSet<int> ids;
        for (QGraphicsItem *item : f.scene()->items())
            if (const DiagramObject *object = DiagramObject::from(item))
                QVERIFY(!ids.contains(object->id()) && (ids.insert(object->id()), true));
    }

    // Undo first ends the editing of a text; a drag under way is never
    // undone from under the mouse.
    void undoWhileEditingOrDragging()
    {
        Diagram d;
        d.edit(d.note);
        QTest::keyClicks(d.view()->viewport(), "xy");
        QCOMPARE(d.note->toPlainText(), QStringLiteral("notexy"));
        QTest::keyClick(d.view()->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!d.note->hasFocus());
        QCOMPARE(d.note->toPlainText(), QStringLiteral("note"));

        const int steps = d.history()->index();
        d.select({d.b});
        d.mouse(QEvent::MouseButtonPress, d.b->scenePos() + QPointF(40, 40));
        d.mouse(QEvent::MouseMove, d.b->scenePos() + QPointF(90, 90));
        d.invoke("undo");
        QCOMPARE(d.history()->index(), steps);
        d.mouse(QEvent::MouseButtonRelease, d.b->scenePos() + QPointF(40, 40));
    }

    // A new or loaded diagram starts with an empty history; nothing of the
    // old one can be undone or points at its items.
    void newDiagramsStartWithoutHistory()
    {
        Diagram d;
        d.select({d.a});
        d.action("&Supprimer")->trigger();
        QVERIFY(d.action("&Annuler Supprimer 3 objet(s)")->isEnabled());
        const QString file = d.path("autre.pensascene");
        QVERIFY(writeSceneFile(file, writeDocument(*d.scene()), nullptr));
        d.dialogs.fileNames.enqueue(file);
        d.dialogs.answers.enqueue(Dialogs::Discard);
        d.invoke("load");
        QVERIFY(!d.action("&Annuler")->isEnabled());
        QCOMPARE(d.scene()->undoStack()->count(), 0);
        d.invoke("undo");
        d.invoke("createNewScene");
        QVERIFY(!d.action("&Annuler")->isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The history keeps its last steps only; whole deletions of large
    // diagrams come back.
    void historyIsBoundedAndHoldsLargeDeletions()
    {
        WindowFixture f;
        QCOMPARE(f.scene()->undoStack()->undoLimit(), 200);
        QList<QGraphicsItem *> all;
        DiagramItem *previous = nullptr;
        for (int i = 0; i < 300; ++i) {
            DiagramItem *shape = f.scene()->newShape(DiagramItem::Carre);
            shape->setId(i);
            shape->setPos(i * 250, 0);
            f.scene()->addLoadedItem(shape);
            all << shape;
            if (previous) {
                Arrow *arrow = f.scene()->newArrow(previous, shape, 20);
                arrow->setId(1000 + i);
                f.scene()->addLoadedItem(arrow);
                all << arrow;
            }
            previous = shape;
        }
        const QString before = QString::fromUtf8(encodeSceneDocument(writeDocument(*f.scene())));
        f.select(all);
        f.action("&Supprimer")->trigger();
        QCOMPARE(f.list()->count(), 0);
        f.invoke("undo");
        QCOMPARE(f.list()->count(), all.size());
        QCOMPARE(QString::fromUtf8(encodeSceneDocument(writeDocument(*f.scene()))), before);
        for (int i = 0; i < 125; ++i) {
            f.invoke("setRotate90");
            f.invoke("setRotate0");
        }
        QCOMPARE(f.scene()->undoStack()->count(), 200);
    }
};

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
