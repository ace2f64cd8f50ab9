#include "WindowFixture.h"
#include "scene/ItemsHarness.h"

#include <QGraphicsRectItem>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidgetAction>

namespace {

void clickEntry(ListWidget *list, QListWidgetItem *entry, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(entry).center());
}

// A scene file of `shapes` squares "Carré 0"... with ids 0... and arrows from
// square i to square i + 1 (the last to the first); the reader fills in the
// rest.
QByteArray ringOfSquares(int shapes)
{
    QJsonArray items;
    const auto end = [](int id) { return QJsonObject{{"type", DiagramItem::Type}, {"id", id}}; };
    for (int i = 0; i < shapes; ++i)
        items.append(QJsonObject{{"type", DiagramItem::Type}, {"diagram", DiagramItem::Carre},
                                 {"name", QStringLiteral("Carré %1").arg(i)}, {"id", i}});
    for (int i = 0; i < shapes; ++i)
        items.append(QJsonObject{{"type", Arrow::Type}, {"startItem", end(i)},
                                 {"endItem", end((i + 1) % shapes)}, {"id", shapes + i}});
    return QJsonDocument(QJsonObject{{"items", items}}).toJson();
}

} // namespace

// The item list: its entries follow insertions, links, renamings and
// removals; its selection and the scene's follow each other; a right click
// opens the selection's menu. The commands on the selection, reached through
// the window's actions, the Delete key and the property widgets' slots.
class tst_ItemList : public QObject
{
    Q_OBJECT

private slots:
    // Renaming applies to every selected item, and a linked shape's entry
    // then shows its new name only.
    void entriesFollowLinksRenamingAndEmptiedTexts()
    {
        WindowFixture f;
        DiagramItem *square = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *circle = f.insertShape(DiagramItem::Cercle, {700, 300});
        DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {500, 700});
        f.link(square, text);
        QCOMPARE(f.entryTexts(), QStringList({"Cercle 0", "Texte 0", "Carré 0 (lié à Texte 0)"}));
        QCOMPARE(f.entryOf(square)->data(ListWidget::NameRole).toString(), QStringLiteral("Carré 0"));

        f.select({square, circle});
        f.invoke("changeName", Q_ARG(QString, "A"));
        QCOMPARE(square->name(), QStringLiteral("A"));
        QCOMPARE(circle->name(), QStringLiteral("A"));
        QCOMPARE(f.entryTexts(), QStringList({"A", "Texte 0", "A"}));
        QCOMPARE(f.entryOf(circle)->data(ListWidget::NameRole).toString(), QStringLiteral("A"));
        QVERIFY(square->hasLinkedText()); // the link itself remains

        // A text left empty goes with its entry.
        DiagramTextItem *empty = f.insertText(QString(), {600, 500});
        QVERIFY(empty);
        QCOMPARE(f.list()->count(), 4);
        empty->clearFocus();
        QCoreApplication::sendPostedEvents(); // it goes once its editing is over
        QCOMPARE(f.entryTexts(), QStringList({"A", "Texte 0", "A"}));
    }

    void selectionFollowsBothWaysWithoutEcho()
    {
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        f.insertShape(DiagramItem::Cercle, {600, 300});
        DiagramItem *c = f.insertShape(DiagramItem::Triangle, {300, 750});
        clickEntry(f.list(), f.entryOf(a));
        clickEntry(f.list(), f.entryOf(c), Qt::ControlModifier);
        QCOMPARE(f.selection(), QStringLiteral("Carré 0,Triangle 0 / Carré 0,Triangle 0")); // no echo

        // A rubber band from empty space above-left of a to below-right of b.
        f.drag({150, 150}, {750, 450});
        QCOMPARE(f.selection(), QStringLiteral("Carré 0,Cercle 0 / Carré 0,Cercle 0"));
    }

    // Enough entries go for the list to take them out together rather than one
    // by one: the kept ones stay in order, and both selections still follow
    // each other afterwards.
    void largeDeletionKeepsOrderAndSelectionFollowing()
    {
        const int shapes = 50;
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("ring.pensascene")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ringOfSquares(shapes)) > 0);
        file.close();
        WindowFixture f;
        f.dialogs.fileNames.enqueue(file.fileName());
        f.invoke("load");
        QCOMPARE(f.list()->count(), 2 * shapes);

        QList<QGraphicsItem *> evenSquares;
        for (int id = 0; id < shapes; id += 2)
            evenSquares << f.scene()->itemById(id);
        f.select(evenSquares);
        f.action(QStringLiteral("&Supprimer"))->trigger();

        // Every arrow had an even end: only the odd squares stay.
        QStringList odd;
        for (int id = 1; id < shapes; id += 2)
            odd << QStringLiteral("Carré %1").arg(id);
        QCOMPARE(f.entryTexts(), odd);
        QVERIFY(f.list()->selectedItems().isEmpty());

        clickEntry(f.list(), f.list()->item(3));
        QCOMPARE(f.selection(), QStringLiteral("Carré 7 / Carré 7"));
        f.select({f.scene()->itemById(9), f.scene()->itemById(11)});
        QCOMPARE(f.selection(), QStringLiteral("Carré 11,Carré 9 / Carré 11,Carré 9"));
    }

    void rightClickOpensTheSelectionsMenu_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("newScene");
        // Property rows show as their status tip and the value they were filled with.
        QTest::addColumn<QStringList>("entries");
        const QStringList shapeMenu{"&Supprimer", "Mettre au premier plan", "Mettre en arrière-plan",
                                    "Délier", "&Copier", "Rotation 0°", "Rotation 90°", "Rotation -90°",
                                    "Rotation 180°", "Changer le nom de l'objet=Carré 0",
                                    "Choisir la taille de la bordure=150", "Couleur de la bordure"};
        QTest::newRow("shape") << "a" << false << shapeMenu;
        QTest::newRow("shape in a new scene") << "a" << true << shapeMenu;
        QTest::newRow("arrow") << "x" << false
                               << QStringList{"&Supprimer", "Mettre au premier plan",
                                              "Mettre en arrière-plan", "&Remise à zéro",
                                              "Changer le nom de l'objet=Flèche 0",
                                              "Choisir la taille de la tête de la flèche=150"};
        QTest::newRow("shape and text") << "at" << false
                                        << QStringList{"&Supprimer", "Mettre au premier plan",
                                                       "Mettre en arrière-plan", "&Copier"};
    }

    void rightClickOpensTheSelectionsMenu()
    {
        QFETCH(QString, selection);
        QFETCH(bool, newScene);
        QFETCH(QStringList, entries);
        WindowFixture f;
        if (newScene) {
            f.insertShape(DiagramItem::Cercle, {300, 300});
            f.dialogs.answers.enqueue(Dialogs::Discard);
            f.invoke("createNewScene");
        }
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        Arrow *x = f.insertArrow(a, f.insertShape(DiagramItem::Carre, {700, 300}));
        DiagramTextItem *t = f.insertText(QStringLiteral("Bonjour"), {300, 700});
        QVERIFY(a && x && t);
        // Beyond the spin boxes' old limit of 99, as files allow.
        a->setPen(QPen(Qt::black, 150));
        x->setArrowWidth(150);
        const QHash<QChar, QGraphicsItem *> items{{'a', a}, {'x', x}, {'t', t}};
        f.list()->clearSelection();
        for (QChar key : selection)
            f.entryOf(items.value(key))->setSelected(true);
        QCOMPARE(f.scene()->selectedItems().size(), selection.size());

        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *action : menu ? menu->actions() : QList<QAction *>()) {
                auto *row = qobject_cast<QWidgetAction *>(action);
                // A spin box edits its value in a line edit too.
                auto *editor = row ? row->defaultWidget()->findChild<QLineEdit *>() : nullptr;
                if (row)
                    shown << row->statusTip() + (editor ? "=" + editor->text() : QString());
                else if (!action->isSeparator())
                    shown << action->text();
            }
            if (menu)
                menu->close();
        });
        QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(shown, entries);
        QCOMPARE(f.list()->selectedItems().size(), selection.size()); // the right click selects nothing
        // Filling the menu changed nothing.
        QCOMPARE(a->pen().width(), 150);
        QCOMPARE(x->arrowSize(), 150);
        QCOMPARE(a->name(), QStringLiteral("Carré 0"));
    }

    void deleteAndUnlinkLeaveNothingDangling_data()
    {
        QTest::addColumn<char>("selected");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("entries");
        // a: square linked to the text t; arrows a -> b, c -> a and x: b -> c.
        const QStringList start{"Cercle 0", "Triangle 0", "Flèche 0", "Flèche 1"};
        QTest::newRow("shape with two arrows") << 'a' << "&Supprimer"
                                               << QStringList{"Cercle 0", "Triangle 0", "Flèche 2", "Texte 0"};
        QTest::newRow("arrow alone, by key") << 'x' << "key"
                                             << start + QStringList{"Texte 0", "Carré 0 (lié à Texte 0)"};
        QTest::newRow("linked text") << 't' << "&Supprimer" << start + QStringList{"Flèche 2", "Carré 0"};
        QTest::newRow("unlink the text") << 't' << "Délier"
                                         << start + QStringList{"Flèche 2", "Texte 0", "Carré 0"};
        QTest::newRow("unlink the shape") << 'a' << "Délier"
                                          << start + QStringList{"Flèche 2", "Texte 0", "Carré 0"};
    }

    void deleteAndUnlinkLeaveNothingDangling()
    {
        QFETCH(char, selected);
        QFETCH(QString, command);
        QFETCH(QStringList, entries);
        WindowFixture f;
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *b = f.insertShape(DiagramItem::Cercle, {700, 300});
        DiagramItem *c = f.insertShape(DiagramItem::Triangle, {300, 700});
        QVERIFY(f.insertArrow(a, b) && f.insertArrow(c, a));
        Arrow *x = f.insertArrow(b, c);
        DiagramTextItem *t = f.insertText(QStringLiteral("Bonjour"), {600, 600});
        QVERIFY(x && t);
        f.link(a, t);
        QVERIFY(t->isLinked());
        const QHash<char, QGraphicsItem *> items{{'a', a}, {'t', t}, {'x', x}};
        f.select({items.value(selected)});

        if (command == "key") {
            QApplication::setActiveWindow(f.window.get());
            f.view()->setFocus();
            QTest::keyClick(f.view()->viewport(), Qt::Key_Delete);
        } else {
            f.action(command)->trigger();
        }

        QCOMPARE(f.entryTexts(), entries);
        QVERIFY(noArrowDangles(*f.scene()));
        const QList<QGraphicsItem *> live = f.scene()->items();
        if (live.contains(a))
            QCOMPARE(a->hasLinkedText(), live.contains(t) && t->isLinked());
        if (live.contains(t))
            QCOMPARE(t->isLinked(), live.contains(a) && a->hasLinkedText());
    }

    void stackingOrder_data()
    {
        QTest::addColumn<QList<qreal>>("zValues");
        // Stack the first overlapping item above the second in the toolkit's
        // stacking order, whatever their z-values (the second stacks behind its
        // parent, the first).
        QTest::addColumn<bool>("firstAboveSecond");
        QTest::addColumn<QString>("command");
        QTest::addColumn<qreal>("expected");
        const QString front = QStringLiteral("Mettre au premier plan");
        QTest::newRow("front over 1 and -2") << QList<qreal>{1.0, -2.0} << false << front << 1.1;
        QTest::newRow("back under 1 and -2") << QList<qreal>{1.0, -2.0} << false
                                             << "Mettre en arrière-plan" << -2.1;
        QTest::newRow("front, 0.5 met first") << QList<qreal>{0.5, 0.55} << true << front << 0.6;
        QTest::newRow("nothing overlaps") << QList<qreal>() << false << front << 0.0;
    }

    void stackingOrder()
    {
        QFETCH(QList<qreal>, zValues);
        QFETCH(bool, firstAboveSecond);
        QFETCH(QString, command);
        QFETCH(qreal, expected);
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {400, 400});
        shape->setZValue(5); // the command starts from 0, not from this

        QGraphicsRectItem *previous = nullptr;
        for (qreal z : zValues) {
            auto *other = new QGraphicsRectItem(0, 0, 100, 100);
            other->setZValue(z);
            if (firstAboveSecond && previous) {
                other->setParentItem(previous);
                other->setFlag(QGraphicsItem::ItemStacksBehindParent);
            } else {
                f.scene()->addItem(other);
                other->setPos(350, 350);
            }
            previous = other;
        }
        // Selected, the shape shows its handles: they are part of it and do
        // not count as overlapping items.
        f.select({shape});

        f.action(command)->trigger();
        QCOMPARE(shape->zValue(), expected);
    }

    // Rotations and border settings reach the selected items they apply to.
    void rotationAndBorder()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
        DiagramItem *other = f.insertShape(DiagramItem::Carre, {700, 700});
        DiagramTextItem *text = f.insertText(QStringLiteral("Bonjour"), {700, 300});
        DiagramImage *image = f.insertPicture({300, 700});
        QVERIFY(image);
        f.select({shape, text, image});

        // Each command sets the angle rather than adding to it; texts stay unturned.
        const QList<QPair<const char *, qreal>> steps{
            {"Rotation 90°", 90}, {"Rotation 90°", 90}, {"Rotation -90°", -90}, {"Rotation 180°", 180}, {"Rotation 0°", 0}};
        for (const auto &step : steps) {
            f.action(step.first)->trigger();
            QCOMPARE(shape->rotationTransform()->angle(), step.second);
            QCOMPARE(image->rotationTransform()->angle(), step.second);
            QCOMPARE(text->rotationTransform()->angle(), 0.0);
        }
        QCOMPARE(shape->scaleTransform()->xScale(), 1.0); // the scale is left alone

        shape->setPen(QPen(Qt::red, 2, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin));
        f.select({shape});
        f.invoke("changeBorderSize", Q_ARG(int, 4));
        QPen expected(Qt::red, 4); // solid, default caps and joins
        expected.setCosmetic(true);
        QCOMPARE(shape->pen(), expected);
        f.invoke("borderColorChanged", Q_ARG(QColor, QColor(Qt::blue)));
        QCOMPARE(shape->pen().color(), QColor(Qt::blue));
        QCOMPARE(other->pen().color(), QColor(Qt::black));
        QCOMPARE(other->rotationTransform()->angle(), 0.0);
    }

    void centerViewCentresOnTheItems()
    {
        WindowFixture f;
        for (const QRectF &r : {QRectF(100, 100, 50, 50), QRectF(250, 450, 50, 50)})
            f.scene()->addRect(r, Qt::NoPen);
        // Zoomed in, so that the scene's edge does not stop the view short of
        // (200, 300).
        f.view()->setTransform(QTransform::fromScale(4, 4));
        f.view()->centerOn(2000, 2000);
        f.action("Centrer scène")->trigger();
        const QPointF centre = f.view()->mapToScene(f.view()->viewport()->rect().center());
        QVERIFY2(QLineF(centre, QPointF(200, 300)).length() <= 0.5,
                 qPrintable(QStringLiteral("centre (%1, %2)").arg(centre.x()).arg(centre.y())));
    }

    void commandsTolerateEmptyOrForeignSelection()
    {
        WindowFixture f;
        DiagramItem *shape = f.insertShape(DiagramItem::Carre, {300, 300});
        QGraphicsRectItem *foreign = f.scene()->addRect(0, 0, 10, 10);
        foreign->setFlag(QGraphicsItem::ItemIsSelectable);
        // Nothing selected, then only an item of a kind no command handles.
        for (const QList<QGraphicsItem *> &selection : {QList<QGraphicsItem *>(), {foreign}}) {
            f.select(selection);
            for (const char *command : {"&Supprimer", "Mettre en arrière-plan", "Rotation 90°",
                                        "&Remise à zéro", "Délier", "Police d'écriture", "&Copier"})
                f.action(command)->trigger();
            f.invoke("changeBorderSize", Q_ARG(int, 7));
            f.invoke("setArrowWidth", Q_ARG(int, 7));
            f.invoke("changeName", Q_ARG(QString, "X"));

            QCOMPARE(f.entryTexts(), QStringList({"Carré 0"}));
            QCOMPARE(shape->name(), QStringLiteral("Carré 0"));
            QCOMPARE(shape->rotationTransform()->angle(), 0.0);
            QCOMPARE(shape->pen().width(), 1);
            QVERIFY(f.dialogs.callsOf("font").isEmpty());
            QVERIFY(foreign->scene()); // a kind the commands do not handle is not deleted
        }
    }
};

QTEST_MAIN(tst_ItemList)
#include "tst_itemlist.moc"
