#include "WindowFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidgetAction>

namespace {

void clickEntry(ListWidget *list, QListWidgetItem *entry, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(entry).center());
}

// A scene file of `shapes` squares "Carré 0"... with ids 0... and the arrows
// "Flèche i" from square i to square i + 1 (the last to the first).
QByteArray ringOfSquares(int shapes)
{
    QJsonArray items;
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", DiagramItem::Type}, {"diagram", DiagramItem::Carre},
            {"position", QJsonObject{{"x", 60 * (i % 10)}, {"y", 60 * (i / 10)}, {"z", 0}}},
            {"scale", QJsonObject{{"x", 0.2}, {"y", 0.2}}},
            {"name", QStringLiteral("Carré %1").arg(i)}, {"id", i}});
    }
    for (int i = 0; i < shapes; ++i) {
        const auto end = [](int id) { return QJsonObject{{"type", DiagramItem::Type}, {"id", id}}; };
        items.append(QJsonObject{{"type", Arrow::Type}, {"startItem", end(i)},
                                 {"endItem", end((i + 1) % shapes)},
                                 {"name", QStringLiteral("Flèche %1").arg(i)},
                                 {"id", shapes + i}});
    }
    return QJsonDocument(QJsonObject{{"items", items}, {"nbItems", 2 * shapes}}).toJson();
}

} // namespace

// The item list: its entries follow insertions, links, renamings and
// removals; its selection and the scene's follow each other; a right click
// opens the selection's menu.
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
        QCOMPARE(f.selectedNames(), QStringList({"Carré 0", "Triangle 0"}));
        QCOMPARE(f.list()->selectedItems().size(), 2); // no echo from the scene undid it

        // A rubber band from empty space above-left of a to below-right of b.
        f.drag({150, 150}, {750, 450});
        QCOMPARE(f.selectedNames(), QStringList({"Carré 0", "Cercle 0"}));
        QCOMPARE(f.selectedEntryTexts(), QStringList({"Carré 0", "Cercle 0"}));
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
        QCOMPARE(f.selectedNames(), QStringList({"Carré 7"}));
        f.select({f.scene()->itemById(9), f.scene()->itemById(11)});
        QCOMPARE(f.selectedEntryTexts(), QStringList({"Carré 11", "Carré 9"}));
    }

    void rightClickOpensTheSelectionsMenu_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("newScene");
        // Property rows show as their status tip and the value they were filled with.
        QTest::addColumn<QStringList>("entries");
        const QStringList shapeMenu{"&Supprimer", "Mettre au premier plan", "Mettre en arrière plan",
                                    "Délier", "&Copier", "Rotation 0°", "Rotation 90°", "Rotation -90°",
                                    "Rotation 180°", "Changer le nom de l'objet=Carré 0",
                                    "Choisir la taille de la bordure=4", "Couleur de la bordure"};
        QTest::newRow("shape") << "a" << false << shapeMenu;
        QTest::newRow("shape in a new scene") << "a" << true << shapeMenu;
        QTest::newRow("arrow") << "x" << false
                               << QStringList{"&Supprimer", "Mettre au premier plan",
                                              "Mettre en arrière plan", "&Remise à zéro",
                                              "Changer le nom de l'objet=Flèche 0",
                                              "Choisir la taille de la tête de la flèche=35"};
        QTest::newRow("shape and text") << "at" << false
                                        << QStringList{"&Supprimer", "Mettre au premier plan",
                                                       "Mettre en arrière plan", "&Copier"};
    }

    void rightClickOpensTheSelectionsMenu()
    {
        QFETCH(QString, selection);
        QFETCH(bool, newScene);
        QFETCH(QStringList, entries);
        WindowFixture f;
        if (newScene) {
            f.insertShape(DiagramItem::Cercle, {300, 300});
            f.invoke("createNewScene");
        }
        DiagramItem *a = f.insertShape(DiagramItem::Carre, {300, 300});
        Arrow *x = f.insertArrow(a, f.insertShape(DiagramItem::Carre, {700, 300}));
        DiagramTextItem *t = f.insertText(QStringLiteral("Bonjour"), {300, 700});
        QVERIFY(a && x && t);
        a->setPen(QPen(Qt::black, 4));
        x->setArrowWidth(35);
        const QHash<QChar, QGraphicsItem *> items{{'a', a}, {'x', x}, {'t', t}};
        f.list()->clearSelection();
        for (QChar key : selection)
            f.entryOf(items.value(key))->setSelected(true);
        QCOMPARE(f.scene()->selectedItems().size(), selection.size());

        QStringList shown;
        const auto rightClick = [&] { QTest::mouseClick(f.list()->viewport(), Qt::RightButton, {}, QPoint(3, 3)); };
        WindowFixture::inspectPopup(rightClick, [&](QMenu *menu) {
            for (QAction *action : menu->actions()) {
                auto *row = qobject_cast<QWidgetAction *>(action);
                // A spin box edits its value in a line edit too.
                auto *editor = row ? row->defaultWidget()->findChild<QLineEdit *>() : nullptr;
                if (row)
                    shown << row->statusTip() + (editor ? "=" + editor->text() : QString());
                else if (!action->isSeparator())
                    shown << action->text();
            }
        });
        QCOMPARE(shown, entries);
        QCOMPARE(f.list()->selectedItems().size(), selection.size()); // the right click selects nothing
    }
};

QTEST_MAIN(tst_ItemList)
#include "tst_itemlist.moc"
