#include "ItemsHarness.h"

#include "app/ListWidget.h"

#include <QTemporaryDir>

#include <functional>

namespace {

// What the drawing-default setters change on an item of each kind.
QString look(const QGraphicsItem *item)
{
    if (item->type() == DiagramItem::Type)
        return static_cast<const DiagramItem *>(item)->brush().color().name();
    if (item->type() == Arrow::Type)
        return static_cast<const Arrow *>(item)->color().name();
    auto *text = static_cast<const DiagramTextItem *>(item);
    return text->defaultTextColor().name() + text->font().toString()
           + QString::number(text->alignment());
}

} // namespace

class tst_Scene : public QObject
{
    Q_OBJECT

private slots:
    void clickInsertsNamedShape_data();
    void clickInsertsNamedShape();
    void dragSizesPreviewAndShape();
    void idsAreSharedAcrossKinds();
    void defaultSetterChangesFirstSelectedOnly_data();
    void defaultSetterChangesFirstSelectedOnly();
    void itemByIdFollowsRemovals_data();
    void itemByIdFollowsRemovals();
    void formulaMargins_data();
    void formulaMargins();
};

void tst_Scene::clickInsertsNamedShape_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("square") << int(DiagramItem::Carre) << "Carré ";
    QTest::newRow("rounded square") << int(DiagramItem::RoundedCarre) << "Carré arrondi ";
    QTest::newRow("triangle") << int(DiagramItem::Triangle) << "Triangle ";
    QTest::newRow("pentagon") << int(DiagramItem::Pentagone) << "Pentagone ";
    QTest::newRow("circle") << int(DiagramItem::Cercle) << "Cercle ";
    QTest::newRow("rectangle") << int(DiagramItem::Rectangle) << "Rectangle ";
    QTest::newRow("rounded rectangle") << int(DiagramItem::RoundedRectangle) << "Rectangle arrondi ";
}

void tst_Scene::clickInsertsNamedShape()
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

void tst_Scene::dragSizesPreviewAndShape()
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
    QCOMPARE(clicked->scaleTransform()->xScale(), 1.0);
    QCOMPARE(clicked->scaleTransform()->yScale(), 1.0);

    h.press(QPointF(0, 0));
    h.moveDragging(QPointF(40, 20));
    h.moveDragging(QPointF(100, 60));
    QList<DiagramItem *> shapes = h.itemsOf<DiagramItem>();
    QCOMPARE(shapes.size(), 2);
    DiagramItem *preview = shapes.at(0) == clicked ? shapes.at(1) : shapes.at(0);
    const QRectF r = preview->boundingRect();
    QCOMPARE(preview->pen().style(), Qt::DashLine);
    QCOMPARE(preview->pos(), QPointF(50, 30));
    QCOMPARE(preview->scaleTransform()->xScale(), 100 / r.width());
    // Scaled about its centre, the preview spans the dragged rectangle.
    QVERIFY(qAbs(preview->sceneBoundingRect().left()) < 1e-6);

    h.release(QPointF(100, 60));
    shapes = h.itemsOf<DiagramItem>();
    QCOMPARE(shapes.size(), 2); // the preview is gone
    DiagramItem *shape = shapes.at(0) == clicked ? shapes.at(1) : shapes.at(0);
    QCOMPARE(shape->pen().style(), Qt::SolidLine);
    QCOMPARE(shape->pos(), QPointF(50, 30));
    QCOMPARE(shape->scaleTransform()->xScale(), 100 / r.width());
    QCOMPARE(shape->scaleTransform()->yScale(), 60 / r.height());
    QCOMPARE(shape->name(), QStringLiteral("Cercle 1"));
}

void tst_Scene::idsAreSharedAcrossKinds()
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
    QSignalSpy texts(&h.scene, &DiagramScene::textInserted);
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);
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

    auto *text = texts.value(0).value(0).value<DiagramTextItem *>();
    QCOMPARE(text->font(), font);
    QCOMPARE(text->defaultTextColor(), QColor(Qt::blue));
    QCOMPARE(images.count(), 1);
    QCOMPARE(images.first().first().value<DiagramImage *>()->offset(), QPointF(-15, -10)); // integer halves
    QCOMPARE(maths.count(), 1);
    QVERIFY(maths.first().first().value<DiagramImage *>()->isMath());
}

void tst_Scene::defaultSetterChangesFirstSelectedOnly_data()
{
    QTest::addColumn<QString>("setter");
    QTest::addColumn<int>("selectedKind");
    QTest::addColumn<bool>("changes");
    QTest::newRow("item colour, shapes") << "itemColor" << int(DiagramItem::Type) << true;
    QTest::newRow("item colour, texts") << "itemColor" << int(DiagramTextItem::Type) << false;
    QTest::newRow("text colour, texts") << "textColor" << int(DiagramTextItem::Type) << true;
    QTest::newRow("text colour, shapes") << "textColor" << int(DiagramItem::Type) << false;
    QTest::newRow("font, texts") << "font" << int(DiagramTextItem::Type) << true;
    QTest::newRow("alignment, texts") << "alignment" << int(DiagramTextItem::Type) << true;
    QTest::newRow("line colour, arrows") << "lineColor" << int(Arrow::Type) << true;
    QTest::newRow("line colour, shapes") << "lineColor" << int(DiagramItem::Type) << false;
}

void tst_Scene::defaultSetterChangesFirstSelectedOnly()
{
    QFETCH(QString, setter);
    QFETCH(int, selectedKind);
    QFETCH(bool, changes);
    ItemsHarness h;
    DiagramItem *a = h.addShape(QPointF(-300, 0));
    DiagramItem *b = h.addShape(QPointF(300, 0));
    h.addText(QPointF(0, -300), QStringLiteral("un"));
    h.addText(QPointF(0, 300), QStringLiteral("deux"));
    h.addArrow(a, b);
    h.addArrow(b, a);
    QHash<QGraphicsItem *, QString> before;
    for (QGraphicsItem *item : h.scene.items()) {
        if (ListWidget::idOf(item) < 0)
            continue; // an arrow's handle
        before.insert(item, look(item));
        item->setSelected(item->type() == selectedKind);
    }
    QGraphicsItem *first = h.scene.selectedItems().value(0);
    QVERIFY(first);

    QFont bold = h.scene.font();
    bold.setBold(true);
    const QHash<QString, std::function<void()>> setters{
        {"itemColor", [&] { h.scene.setItemColor(Qt::red); }},
        {"textColor", [&] { h.scene.setTextColor(Qt::red); }},
        {"font", [&] { h.scene.setFont(bold); }},
        {"alignment", [&] { h.scene.setTextAlignment(Qt::AlignCenter); }},
        {"lineColor", [&] { h.scene.setLineColor(Qt::red); }}};
    setters.value(setter)();

    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(look(it.key()) != it.value(), changes && it.key() == first);
}

void tst_Scene::itemByIdFollowsRemovals_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("removed") << "remove";
    QTest::newRow("scene cleared") << "clear";
    QTest::newRow("id changed") << "renumber";
}

void tst_Scene::itemByIdFollowsRemovals()
{
    QFETCH(QString, how);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    const int id = shape->id();
    QCOMPARE(h.scene.itemById(id), shape);
    QCOMPARE(h.scene.itemById(12345), nullptr);

    if (how == "delete") {
        delete shape;
    } else if (how == "remove") {
        h.scene.removeItem(shape);
        QCOMPARE(h.scene.itemById(id), nullptr);
        delete shape;
    } else if (how == "clear") {
        h.scene.clear();
    } else {
        // Ids are final at registration: a renumbered item is registered again.
        shape->setId(77);
        h.scene.registerItem(shape);
        QCOMPARE(h.scene.itemById(77), shape);
    }
    QCOMPARE(h.scene.itemById(id), nullptr);
}

void tst_Scene::formulaMargins_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QSize>("margins");
    QTest::newRow("plain") << "$x+1" << QSize(0, 0);
    QTest::newRow("in inside infty") << "$\\in\\infty" << QSize(19 * 2 + 3, 26);
    QTest::newRow("three relations") << "$a\\neq b\\leq c\\geq d" << QSize(3 * 28, 3 * 26);
    QTest::newRow("repeated command") << "$\\alpha\\alpha\\alpha" << QSize(9, 0);
    QTest::newRow("case counts") << "$\\omega\\Omega\\lim_{x}" << QSize(3 + 3 + 35, 0);
}

void tst_Scene::formulaMargins()
{
    QFETCH(QString, formula);
    QFETCH(QSize, margins);
    QCOMPARE(DiagramScene::formulaMargins(formula), margins);
}

QTEST_MAIN(tst_Scene)
#include "tst_scene.moc"
