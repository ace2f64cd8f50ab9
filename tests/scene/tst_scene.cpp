#include "ItemsHarness.h"

#include "app/ListWidget.h"

#include <QTemporaryDir>

#include <functional>

namespace {

// What the drawing-default setters change on an item of each kind, with
// the rest of its looks, which a paste repeats.
QString look(const QGraphicsItem *item)
{
    const auto turned = [](auto *i) {
        return QStringLiteral(" %1° %2×%3").arg(i->rotationTransform()->angle())
            .arg(i->scaleTransform()->xScale()).arg(i->scaleTransform()->yScale());
    };
    if (auto *shape = qgraphicsitem_cast<const DiagramItem *>(item))
        return shape->brush().color().name() + QString::number(shape->diagramType()) + turned(shape);
    if (auto *image = qgraphicsitem_cast<const DiagramImage *>(item))
        return image->path() + (image->isMath() ? " math" : "") + turned(image)
               + QStringLiteral(" from %1,%2").arg(image->offset().x()).arg(image->offset().y());
    if (item->type() == Arrow::Type)
        return static_cast<const Arrow *>(item)->color().name();
    auto *text = static_cast<const DiagramTextItem *>(item);
    return text->toPlainText() + text->defaultTextColor().name() + text->font().toString()
           + QString::number(text->alignment());
}

DiagramItem *shapeNamed(const ItemsHarness &h, const QString &name)
{
    for (DiagramItem *shape : h.itemsOf<DiagramItem>()) {
        if (shape->name() == name)
            return shape;
    }
    return nullptr;
}

void pressKeys(ItemsHarness &h, QKeySequence::StandardKey key)
{
    const int combined = QKeySequence(key)[0];
    QTest::keyClick(h.view.viewport(), Qt::Key(combined & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(combined & Qt::KeyboardModifierMask));
}

} // namespace

// Insertion by mouse, ids and names, drawing defaults, copy and paste.
class tst_Scene : public QObject
{
    Q_OBJECT

private slots:
    void clickInsertsNamedShape_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("prefix");
        const QStringList prefixes{"Carré ", "Carré arrondi ", "Triangle ", "Pentagone ",
                                   "Cercle ", "Rectangle ", "Rectangle arrondi "};
        for (int type = 0; type < prefixes.size(); ++type)
            QTest::newRow(qPrintable(prefixes.at(type))) << type << prefixes.at(type);
    }
    void clickInsertsNamedShape()
    {
        QFETCH(int, type);
        QFETCH(QString, prefix);
        ItemsHarness h;
        h.scene.setItemType(DiagramItem::DiagramType(type));
        h.scene.setMode(DiagramScene::InsertItem);
        h.scene.setItemColor(Qt::red);
        QSignalSpy inserted(&h.scene, &DiagramScene::itemInserted);

        h.click(QPointF(30, 40));
        h.click(QPointF(330, 40));

        const QList<DiagramItem *> shapes = h.itemsOf<DiagramItem>();
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(shapes.size(), 2);
        for (int n = 0; n < 2; ++n) {
            DiagramItem *shape = shapes.at(n);
            QCOMPARE(shape->name(), prefix + QString::number(n));
            QCOMPARE(shape->id(), n);
            QCOMPARE(shape->pos(), QPointF(30 + 300 * n, 40));
            QCOMPARE(shape->scaleTransform()->xScale(), 1.0); // a click keeps the default size
            QCOMPARE(shape->brush(), QBrush(Qt::red, Qt::SolidPattern));
        }
        const QList<int (DiagramScene::*)() const> counters{
            &DiagramScene::nbCarre, &DiagramScene::nbRoundedCarre, &DiagramScene::nbTriangle,
            &DiagramScene::nbPentagone, &DiagramScene::nbCercle, &DiagramScene::nbRectangle,
            &DiagramScene::nbRoundedRectangle};
        QCOMPARE((h.scene.*counters.at(type))(), 2);
        QCOMPARE(h.scene.nbItems(), 2);
        // The window puts the pointer mode back; the scene leaves it alone.
        QCOMPARE(h.scene.mode(), DiagramScene::InsertItem);
    }

    void dragSizesPreviewAndShape()
    {
        ItemsHarness h;
        h.scene.setItemType(DiagramItem::Cercle);
        h.scene.setMode(DiagramScene::InsertItem);

        // 4 units across is no drag: no preview, and a shape of the default size.
        h.press(QPointF(-300, -300));
        h.moveDragging(QPointF(-296, -250));
        QVERIFY(h.scene.items().isEmpty());
        h.release(QPointF(-296, -250));
        DiagramItem *clicked = h.itemsOf<DiagramItem>().value(0);
        QVERIFY(clicked);
        QCOMPARE(clicked->pos(), QPointF(-296, -250));
        QCOMPARE(clicked->scaleTransform()->yScale(), 1.0);

        h.press(QPointF(0, 0));
        h.moveDragging(QPointF(40, 20));
        h.moveDragging(QPointF(100, 60));
        DiagramItem *preview = h.itemsOf<DiagramItem>().value(1);
        QVERIFY(preview && preview != clicked);
        QCOMPARE(preview->pen().style(), Qt::DashLine);
        // Scaled about its centre, the preview spans the dragged rectangle.
        QCOMPARE(preview->pos(), QPointF(50, 30));
        QVERIFY(qAbs(preview->sceneBoundingRect().left()) < 1e-6);

        h.release(QPointF(100, 60));
        const QList<DiagramItem *> shapes = h.itemsOf<DiagramItem>();
        QCOMPARE(shapes.size(), 2); // the preview is gone
        DiagramItem *shape = shapes.at(0) == clicked ? shapes.at(1) : shapes.at(0);
        const QRectF r = shape->boundingRect();
        QCOMPARE(shape->pen().style(), Qt::SolidLine);
        QCOMPARE(shape->pos(), QPointF(50, 30));
        QCOMPARE(shape->scaleTransform()->xScale(), 100 / r.width());
        QCOMPARE(shape->scaleTransform()->yScale(), 60 / r.height());
        QCOMPARE(shape->name(), QStringLiteral("Cercle 1"));
    }

    void idsAreSharedAcrossKinds()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("p.png"));
        QPixmap picture(31, 21);
        picture.fill(Qt::green);
        QVERIFY(picture.save(file));

        ItemsHarness h;
        QFont font(QStringLiteral("Sans"), 17);
        font.setItalic(true);
        h.scene.setFont(font);
        h.scene.setTextColor(Qt::blue);
        // Typed into at once: an empty text would go when it loses focus.
        connect(&h.scene, &DiagramScene::textInserted, this,
                [](DiagramTextItem *text) { text->setPlainText(QStringLiteral("x")); });

        h.click(DiagramScene::InsertItem, QPointF(-300, 0));
        h.click(DiagramScene::InsertText, QPointF(0, -300));
        h.scene.setPixmapToAdd(file);
        h.click(DiagramScene::InsertPixmap, QPointF(300, 0));
        h.scene.setPixmapToAdd(QStringLiteral("$x^2"), picture);
        h.click(DiagramScene::InsertPixmap, QPointF(0, 300));
        h.scene.setMode(DiagramScene::InsertLine);
        h.drag(QPointF(-300, 0), QPointF(300, 0));

        const QStringList expected{"Carré 0", "Texte 0", "Image 0", "Math 0", "Flèche 0"};
        for (int id = 0; id < expected.size(); ++id) {
            QGraphicsItem *item = h.scene.itemById(id);
            QVERIFY2(item, qPrintable(QStringLiteral("no item with id %1").arg(id)));
            QCOMPARE(ListWidget::nameOf(item), expected.at(id));
        }
        QCOMPARE(h.scene.nbItems(), 5);

        auto *text = static_cast<DiagramTextItem *>(h.scene.itemById(1));
        QCOMPARE(text->font(), font);
        QCOMPARE(text->defaultTextColor(), QColor(Qt::blue));
        auto *image = static_cast<DiagramImage *>(h.scene.itemById(2));
        QCOMPARE(image->offset(), QPointF(-15, -10)); // integer halves
        QVERIFY(!image->isMath() && static_cast<DiagramImage *>(h.scene.itemById(3))->isMath());
    }

    void pasteOffsetsAndKeepsLooks()
    {
        ItemsHarness h;
        DiagramItem *square = h.addShape(QPointF(-200, 0));
        square->setName(QStringLiteral("Carré 0"));
        square->setBrush(Qt::yellow);
        square->rotationTransform()->setAngle(90);
        square->scaleTransform()->setYScale(0.5);
        h.addShape(QPointF(200, 0), DiagramItem::Cercle)->setName(QStringLiteral("Cercle 0"));
        DiagramImage *picture = h.addImage(QPointF(0, -300), QSize(41, 20));
        picture->rotationTransform()->setAngle(45);
        picture->changeTransform(0, true, 1.75);
        h.addArrow(square, picture);
        DiagramImage *formula = h.addImage(QPointF(-300, -300), QSize(30, 30));
        formula->setContent(QStringLiteral("$x^2"), formula->pixmap(), true);
        h.addText(QPointF(10, 200), QStringLiteral("Bonjour"))->setFont(QFont(QStringLiteral("Serif"), 19));
        // The looks of the items that have an id, but of arrows, moved by `shift`.
        const auto looks = [&h](const QPointF &shift) {
            QStringList found;
            for (QGraphicsItem *item : h.scene.items()) {
                if (ListWidget::idOf(item) >= 0 && item->type() != Arrow::Type)
                    found << look(item) + QStringLiteral(" at %1,%2").arg(item->x() + shift.x()).arg(item->y() + shift.y());
            }
            found.sort();
            return found;
        };
        QStringList expected = looks({}) + looks({30, 30}); // the sources and their copies
        expected.sort();
        for (QGraphicsItem *item : h.scene.items())
            item->setSelected(true);
        QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);

        pressKeys(h, QKeySequence::Paste); // nothing copied yet: adds nothing
        pressKeys(h, QKeySequence::Copy);
        pressKeys(h, QKeySequence::Paste);

        QCOMPARE(looks({}), expected);
        QCOMPARE(h.itemsOf<Arrow>().size(), 1);
        QCOMPARE(maths.count(), 1); // a formula is announced as one
        QCOMPARE(h.scene.nbItems(), 5); // a new id for each copy
        QCOMPARE(h.scene.nbCarre(), 0); // name counters are not touched

        // A copy's name takes a further suffix. The scene's menu on empty space
        // pastes everything on the point; the key goes back to the offset, and
        // so does the menu's paste after it.
        h.scene.clearSelection();
        shapeNamed(h, QStringLiteral("Carré 0 (1)"))->setSelected(true);
        shapeNamed(h, QStringLiteral("Cercle 0 (1)"))->setSelected(true);
        h.scene.copy();
        // The window would show its menu of empty space; its paste is the scene's.
        connect(&h.scene, &DiagramScene::sceneMenuRequested, &h.scene, &DiagramScene::paste);
        const QPoint click = h.view.mapFromScene(QPointF(-400, 300));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, click, h.view.viewport()->mapToGlobal(click));
        QApplication::sendEvent(h.view.viewport(), &menu);
        QCOMPARE(shapeNamed(h, QStringLiteral("Carré 0 (1) (1)"))->pos(), QPointF(-400, 300));
        QCOMPARE(shapeNamed(h, QStringLiteral("Cercle 0 (1) (1)"))->pos(), QPointF(-400, 300));
        pressKeys(h, QKeySequence::Paste);
        QCOMPARE(shapeNamed(h, QStringLiteral("Carré 0 (1) (2)"))->pos(), QPointF(-140, 60));
        h.scene.paste();
        QCOMPARE(shapeNamed(h, QStringLiteral("Cercle 0 (1) (3)"))->pos(), QPointF(260, 60));
    }

    // However an item leaves, it is no longer found by its id nor pasted
    // from an earlier copy; a renumbered item is found by its new id only.
    void goneItemIsForgotten()
    {
        for (const QString how : {"delete", "remove", "empty", "clear", "renumber"}) {
            ItemsHarness h;
            h.addShape(QPointF(-200, 0))->setName(QStringLiteral("Gardé"));
            DiagramTextItem *text = h.addText(QPointF(200, 0), QStringLiteral("Parti"));
            const int id = text->id();
            QCOMPARE(h.scene.itemById(id), text);
            QCOMPARE(h.scene.itemById(12345), nullptr);
            for (QGraphicsItem *item : h.scene.items())
                item->setSelected(true);
            h.scene.copy();

            if (how == "delete") {
                delete text;
            } else if (how == "remove") {
                h.scene.removeItem(text);
            } else if (how == "empty") {
                text->setPlainText(QString());
                h.scene.editorLostFocus(text);
            } else if (how == "clear") {
                h.scene.clear();
            } else {
                // Ids are final at registration: a renumbered item is registered again.
                text->setId(77);
                h.scene.registerItem(text);
                QCOMPARE(h.scene.itemById(77), text);
            }
            QCoreApplication::sendPostedEvents(); // an emptied text goes after its editing
            QSignalSpy texts(&h.scene, &DiagramScene::textInserted);
            h.scene.paste();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            h.scene.paste();

            QCOMPARE(h.scene.itemById(id), nullptr);
            QCOMPARE(texts.count(), how == "renumber" ? 2 : 0);
            QCOMPARE(bool(shapeNamed(h, QStringLiteral("Gardé (2)"))), how != "clear");
            if (how == "remove")
                delete text;
        }
    }
};

QTEST_MAIN(tst_Scene)
#include "tst_scene.moc"
