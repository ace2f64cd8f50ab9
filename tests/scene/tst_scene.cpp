#include "ItemsHarness.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QList<DiagramItem *> shapesOf(const QGraphicsScene &scene)
{
    QList<DiagramItem *> shapes;
    for (QGraphicsItem *item : scene.items(Qt::AscendingOrder)) {
        if (item->type() == DiagramItem::Type)
            shapes.append(static_cast<DiagramItem *>(item));
    }
    return shapes;
}

int counterOf(const DiagramScene &scene, DiagramItem::DiagramType type)
{
    switch (type) {
    case DiagramItem::Carre: return scene.nbCarre();
    case DiagramItem::RoundedCarre: return scene.nbRoundedCarre();
    case DiagramItem::Triangle: return scene.nbTriangle();
    case DiagramItem::Pentagone: return scene.nbPentagone();
    case DiagramItem::Cercle: return scene.nbCercle();
    case DiagramItem::Rectangle: return scene.nbRectangle();
    case DiagramItem::RoundedRectangle: return scene.nbRoundedRectangle();
    }
    return -1;
}

// Closes the next popup menu as soon as it shows, so that exec() returns.
void closeNextMenu()
{
    QTimer::singleShot(0, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
}

} // namespace

class tst_Scene : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void clickInsertsNamedShape_data();
    void clickInsertsNamedShape();
    void smallDragShowsNoPreview();
    void dragSizesPreviewAndShape();
    void rightClickInsertsNothing();
    void idsAreSharedAcrossKinds();
    void textTakesDrawingDefaults();
    void pictureAndFormulaInsertion();
    void unreadablePictureGivesEmptyItem();
    void backgrounds_data();
    void backgrounds();
    void defaultSetterChangesFirstSelectedOnly_data();
    void defaultSetterChangesFirstSelectedOnly();
    void isItemChange();
    void itemByIdFollowsRemovals_data();
    void itemByIdFollowsRemovals();
    void itemByIdAfterIdChange();
    void secondLinkOfAShapeIsRefused();
    void contextMenuOnEmptySpaceOnly();
    void formulaMargins_data();
    void formulaMargins();
};

void tst_Scene::initTestCase()
{
    qRegisterMetaType<DiagramItem *>();
    qRegisterMetaType<DiagramTextItem *>();
    qRegisterMetaType<DiagramImage *>();
    qRegisterMetaType<Arrow *>();
    qRegisterMetaType<QGraphicsItem *>();
}

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
    QTest::newRow("rounded rectangle") << int(DiagramItem::RoundedRectangle)
                                       << "Rectangle arrondi ";
}

void tst_Scene::clickInsertsNamedShape()
{
    QFETCH(int, type);
    QFETCH(QString, prefix);
    const auto kind = DiagramItem::DiagramType(type);
    ItemsHarness h;
    h.scene.setItemType(kind);
    h.scene.setMode(DiagramScene::InsertItem);
    h.scene.setItemColor(Qt::red);
    QSignalSpy inserted(&h.scene, &DiagramScene::itemInserted);

    for (int n = 0; n < 2; ++n) {
        h.press(QPointF(30 + 300 * n, 40));
        h.release(QPointF(30 + 300 * n, 40));
    }

    QCOMPARE(inserted.count(), 2);
    const QList<DiagramItem *> shapes = shapesOf(h.scene);
    QCOMPARE(shapes.size(), 2);
    for (int n = 0; n < 2; ++n) {
        DiagramItem *shape = shapes.at(n);
        QCOMPARE(inserted.at(n).at(0).value<DiagramItem *>(), shape);
        QCOMPARE(shape->diagramType(), kind);
        QCOMPARE(shape->name(), prefix + QString::number(n));
        QCOMPARE(shape->id(), n);
        QCOMPARE(shape->pos(), QPointF(30 + 300 * n, 40));
        QCOMPARE(shape->scaleTransform()->xScale(), 1.0); // a click keeps the default size
        QCOMPARE(shape->brush(), QBrush(Qt::red, Qt::SolidPattern));
    }
    QCOMPARE(counterOf(h.scene, kind), 2);
    QCOMPARE(h.scene.nbItems(), 2);
    // The window puts the pointer mode back; the scene leaves it alone.
    QCOMPARE(h.scene.mode(), DiagramScene::InsertItem);
}

void tst_Scene::smallDragShowsNoPreview()
{
    ItemsHarness h;
    h.scene.setMode(DiagramScene::InsertItem);
    h.press(QPointF(0, 0));
    h.moveDragging(QPointF(4, 50));
    QVERIFY(h.scene.items().isEmpty()); // 4 units across is not a drag
    h.release(QPointF(4, 50));

    const QList<DiagramItem *> shapes = shapesOf(h.scene);
    QCOMPARE(shapes.size(), 1);
    QCOMPARE(shapes.first()->pos(), QPointF(4, 50));
    QCOMPARE(shapes.first()->scaleTransform()->xScale(), 1.0);
    QCOMPARE(shapes.first()->scaleTransform()->yScale(), 1.0);
}

void tst_Scene::dragSizesPreviewAndShape()
{
    ItemsHarness h;
    h.scene.setItemType(DiagramItem::Cercle);
    h.scene.setMode(DiagramScene::InsertItem);
    h.press(QPointF(0, 0));
    h.moveDragging(QPointF(40, 20));
    h.moveDragging(QPointF(100, 60));

    QList<DiagramItem *> shapes = shapesOf(h.scene);
    QCOMPARE(shapes.size(), 1);
    DiagramItem *preview = shapes.first();
    const QRectF r = preview->boundingRect();
    QCOMPARE(preview->pen().style(), Qt::DashLine);
    QCOMPARE(preview->brush().style(), Qt::NoBrush);
    QCOMPARE(preview->pos(), QPointF(50, 30));
    QCOMPARE(preview->scaleTransform()->xScale(), 100 / r.width());
    QCOMPARE(preview->scaleTransform()->yScale(), 60 / r.height());
    // Scaled about its centre, the preview spans the dragged rectangle.
    QVERIFY(qAbs(preview->sceneBoundingRect().width() - 100) < 1e-6);
    QVERIFY(qAbs(preview->sceneBoundingRect().center().x() - 50) < 1e-6);

    h.release(QPointF(100, 60));
    shapes = shapesOf(h.scene);
    QCOMPARE(shapes.size(), 1); // the preview is gone
    DiagramItem *shape = shapes.first();
    QCOMPARE(shape->pen().style(), Qt::SolidLine);
    QCOMPARE(shape->pos(), QPointF(50, 30));
    QCOMPARE(shape->scaleTransform()->xScale(), 100 / r.width());
    QCOMPARE(shape->scaleTransform()->yScale(), 60 / r.height());
    QCOMPARE(shape->name(), QStringLiteral("Cercle 0"));
}

void tst_Scene::rightClickInsertsNothing()
{
    ItemsHarness h;
    h.scene.setMode(DiagramScene::InsertItem);
    closeNextMenu();
    QTest::mouseClick(h.view.viewport(), Qt::RightButton, Qt::NoModifier,
                      h.view.mapFromScene(QPointF(10, 10)));
    QVERIFY(shapesOf(h.scene).isEmpty());
    QCOMPARE(h.scene.nbItems(), 0);
}

void tst_Scene::idsAreSharedAcrossKinds()
{
    ItemsHarness h;
    QSignalSpy math(&h.scene, &DiagramScene::mathInserted);
    QSignalSpy arrows(&h.scene, &DiagramScene::arrowInserted);
    // Typed into at once: an empty text would go when it loses focus.
    connect(&h.scene, &DiagramScene::textInserted, this,
            [](DiagramTextItem *text) { text->setPlainText(QStringLiteral("x")); });

    h.scene.setMode(DiagramScene::InsertItem);
    h.press(QPointF(-300, 0));
    h.release(QPointF(-300, 0));
    h.scene.setMode(DiagramScene::InsertText);
    h.press(QPointF(0, -300));
    h.release(QPointF(0, -300));
    QPixmap formula(40, 20);
    formula.fill(Qt::black);
    h.scene.setPixmapToAdd(QStringLiteral("$x^2"), formula);
    h.scene.setMode(DiagramScene::InsertPixmap);
    h.press(QPointF(300, 0));
    h.release(QPointF(300, 0));
    h.scene.setMode(DiagramScene::InsertLine);
    h.drag(QPointF(-300, 0), QPointF(300, 0));

    QCOMPARE(math.count(), 1);
    QCOMPARE(arrows.count(), 1);
    const QStringList expected{"Carré 0", "Texte 0", "Math 0", "Flèche 0"};
    for (int id = 0; id < expected.size(); ++id) {
        QGraphicsItem *item = h.scene.itemById(id);
        QVERIFY2(item, qPrintable(QStringLiteral("no item with id %1").arg(id)));
        QString name;
        switch (item->type()) {
        case DiagramItem::Type: name = static_cast<DiagramItem *>(item)->name(); break;
        case DiagramTextItem::Type: name = static_cast<DiagramTextItem *>(item)->name(); break;
        case DiagramImage::Type: name = static_cast<DiagramImage *>(item)->name(); break;
        case Arrow::Type: name = static_cast<Arrow *>(item)->name(); break;
        }
        QCOMPARE(name, expected.at(id));
    }
    QCOMPARE(h.scene.nbItems(), 4);
    QCOMPARE(h.scene.nbMath(), 1);
    QCOMPARE(h.scene.nbImage(), 0);
    QCOMPARE(h.scene.nbText(), 1);
    QCOMPARE(h.scene.nbArrows(), 1);
}

void tst_Scene::textTakesDrawingDefaults()
{
    ItemsHarness h;
    QFont font(QStringLiteral("Sans"), 17);
    font.setItalic(true);
    h.scene.setFont(font);
    h.scene.setTextColor(Qt::blue);
    h.scene.setTextAlignment(Qt::AlignRight);
    h.scene.setMode(DiagramScene::InsertText);
    QSignalSpy inserted(&h.scene, &DiagramScene::textInserted);

    h.press(QPointF(20, 30));
    h.release(QPointF(20, 30));

    QCOMPARE(inserted.count(), 1);
    auto *text = inserted.first().first().value<DiagramTextItem *>();
    QCOMPARE(text->font(), font);
    QCOMPARE(text->defaultTextColor(), QColor(Qt::blue));
    QCOMPARE(text->alignment(), int(Qt::AlignRight));
    QCOMPARE(text->pos(), QPointF(20, 30));
    QCOMPARE(text->zValue(), 1000.0);
    QCOMPARE(text->textInteractionFlags(), Qt::TextEditorInteraction);
    QCOMPARE(text->name(), QStringLiteral("Texte 0"));
}

void tst_Scene::pictureAndFormulaInsertion()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("p.png"));
    QPixmap picture(31, 21);
    picture.fill(Qt::green);
    QVERIFY(picture.save(file));

    ItemsHarness h;
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);
    h.scene.setPixmapToAdd(file);
    QVERIFY(!h.scene.isMathToAdd());
    QCOMPARE(h.scene.pixmapToAdd().size(), QSize(31, 21));
    h.scene.setMode(DiagramScene::InsertPixmap);
    h.press(QPointF(100, 100));
    h.release(QPointF(100, 100));

    QCOMPARE(images.count(), 1);
    QCOMPARE(maths.count(), 0);
    auto *image = images.first().first().value<DiagramImage *>();
    QCOMPARE(image->path(), file);
    QVERIFY(!image->isMath());
    QCOMPARE(image->name(), QStringLiteral("Image 0"));
    QCOMPARE(image->offset(), QPointF(-15, -10)); // integer halves
    QCOMPARE(image->pos(), QPointF(100, 100));
    QCOMPARE(image->zValue(), 1000.0);

    h.scene.setPixmapToAdd(QStringLiteral("$a+b"), picture);
    QVERIFY(h.scene.isMathToAdd());
    h.press(QPointF(-100, 100));
    h.release(QPointF(-100, 100));
    QCOMPARE(maths.count(), 1);
    auto *formula = maths.first().first().value<DiagramImage *>();
    QVERIFY(formula->isMath());
    QCOMPARE(formula->path(), QStringLiteral("$a+b"));
    QCOMPARE(formula->name(), QStringLiteral("Math 0"));
    QCOMPARE(formula->id(), 1);
}

void tst_Scene::unreadablePictureGivesEmptyItem()
{
    ItemsHarness h;
    QSignalSpy images(&h.scene, &DiagramScene::imageInserted);
    h.scene.setPixmapToAdd(QStringLiteral("/nonexistent/picture.png"));
    h.scene.setMode(DiagramScene::InsertPixmap);
    h.press(QPointF(0, 0));
    h.release(QPointF(0, 0));
    QCOMPARE(images.count(), 1);
    auto *image = images.first().first().value<DiagramImage *>();
    QVERIFY(image->pixmap().isNull());
    QCOMPARE(image->offset(), QPointF(0, 0));
    h.paint();
}

void tst_Scene::backgrounds_data()
{
    QTest::addColumn<QBrush>("brush");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QColor>("color");
    QTest::newRow("transparent") << QBrush(Qt::NoBrush) << true << false << false << QString()
                                 << QColor(Qt::white);
    QTest::newRow("colour") << QBrush(Qt::yellow, Qt::SolidPattern) << false << true << false
                            << QString() << QColor(Qt::yellow);
    const QString grid = QStringLiteral(":/images/background2.png");
    QTest::newRow("white grid") << QBrush(QPixmap(grid)) << false << false << true << grid
                                << QColor(Qt::white);
}

void tst_Scene::backgrounds()
{
    QFETCH(QBrush, brush);
    QFETCH(bool, transparent);
    QFETCH(bool, colour);
    QFETCH(bool, picture);
    QFETCH(QString, path);
    QFETCH(QColor, color);
    ItemsHarness h;
    // A new scene has no background of its own.
    QVERIFY(!h.scene.isTransparent() && !h.scene.isColorBackground()
            && !h.scene.isPictureBackground());

    h.scene.setBackground(brush, transparent, colour, picture, path, color);
    QCOMPARE(h.scene.backgroundBrush(), brush);
    QCOMPARE(h.scene.isTransparent(), transparent);
    QCOMPARE(h.scene.isColorBackground(), colour);
    QCOMPARE(h.scene.isPictureBackground(), picture);
    QCOMPARE(h.scene.backgroundPath(), path);
    QCOMPARE(h.scene.backgroundColor(), color);
}

void tst_Scene::defaultSetterChangesFirstSelectedOnly_data()
{
    QTest::addColumn<QString>("setter");
    QTest::newRow("item colour") << "itemColor";
    QTest::newRow("text colour") << "textColor";
    QTest::newRow("font") << "font";
    QTest::newRow("alignment") << "alignment";
    QTest::newRow("line colour") << "lineColor";
}

void tst_Scene::defaultSetterChangesFirstSelectedOnly()
{
    QFETCH(QString, setter);
    ItemsHarness h;
    DiagramItem *a = h.addShape(QPointF(-300, 0));
    DiagramItem *b = h.addShape(QPointF(300, 0));
    DiagramTextItem *t1 = h.addText(QPointF(0, -300), QStringLiteral("un"));
    DiagramTextItem *t2 = h.addText(QPointF(0, 300), QStringLiteral("deux"));
    Arrow *arrow1 = h.addArrow(a, b);
    Arrow *arrow2 = h.addArrow(b, a);
    const QBrush shapeBrush = a->brush();
    const QFont textFont = t1->font();

    // Select every item of one kind; only the first of selectedItems() changes.
    QList<QGraphicsItem *> kind;
    if (setter == "itemColor")
        kind = {a, b};
    else if (setter == "lineColor")
        kind = {arrow1, arrow2};
    else
        kind = {t1, t2};
    for (QGraphicsItem *item : kind)
        item->setSelected(true);
    QGraphicsItem *first = h.scene.selectedItems().first();
    QGraphicsItem *other = first == kind.at(0) ? kind.at(1) : kind.at(0);

    QFont bold = textFont;
    bold.setBold(true);
    if (setter == "itemColor") {
        h.scene.setItemColor(Qt::red);
        QCOMPARE(static_cast<DiagramItem *>(first)->brush(), QBrush(Qt::red, Qt::SolidPattern));
        QCOMPARE(static_cast<DiagramItem *>(other)->brush(), shapeBrush);
        QCOMPARE(h.scene.itemColor(), QColor(Qt::red));
    } else if (setter == "textColor") {
        h.scene.setTextColor(Qt::red);
        QCOMPARE(static_cast<DiagramTextItem *>(first)->defaultTextColor(), QColor(Qt::red));
        QVERIFY(static_cast<DiagramTextItem *>(other)->defaultTextColor() != QColor(Qt::red));
    } else if (setter == "font") {
        h.scene.setFont(bold);
        QCOMPARE(static_cast<DiagramTextItem *>(first)->font(), bold);
        QCOMPARE(static_cast<DiagramTextItem *>(other)->font(), textFont);
        QCOMPARE(h.scene.font(), bold);
    } else if (setter == "alignment") {
        h.scene.setTextAlignment(Qt::AlignCenter);
        QCOMPARE(static_cast<DiagramTextItem *>(first)->alignment(), int(Qt::AlignCenter));
        QCOMPARE(static_cast<DiagramTextItem *>(other)->alignment(), int(Qt::AlignLeft));
    } else {
        h.scene.setLineColor(Qt::red);
        QCOMPARE(static_cast<Arrow *>(first)->color(), QColor(Qt::red));
        QCOMPARE(static_cast<Arrow *>(other)->color(), QColor(Qt::black));
    }

    // With the selection on another kind nothing but the default changes.
    h.scene.clearSelection();
    if (setter == "itemColor")
        t1->setSelected(true);
    else
        a->setSelected(true);
    h.scene.setItemColor(Qt::green);
    h.scene.setTextColor(Qt::green);
    h.scene.setLineColor(Qt::green);
    if (setter == "itemColor") {
        QCOMPARE(static_cast<DiagramItem *>(other)->brush(), shapeBrush);
        QCOMPARE(t1->defaultTextColor(), QColor(Qt::green));
    } else {
        QCOMPARE(arrow1->color(), setter == "lineColor" && first == arrow1 ? QColor(Qt::red)
                                                                           : QColor(Qt::black));
        QCOMPARE(a->brush(), QBrush(Qt::green, Qt::SolidPattern));
    }
    QCOMPARE(h.scene.lineColor(), QColor(Qt::green));
}

void tst_Scene::isItemChange()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramTextItem *text = h.addText(QPointF(300, 0), QStringLiteral("t"));
    QVERIFY(!h.scene.isItemChange(DiagramItem::Type)); // nothing selected
    shape->setSelected(true);
    text->setSelected(true);
    QVERIFY(h.scene.isItemChange(DiagramItem::Type));
    QVERIFY(h.scene.isItemChange(DiagramTextItem::Type));
    QVERIFY(!h.scene.isItemChange(Arrow::Type));
}

void tst_Scene::itemByIdFollowsRemovals_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("removed") << "remove";
    QTest::newRow("scene cleared") << "clear";
}

void tst_Scene::itemByIdFollowsRemovals()
{
    QFETCH(QString, how);
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    DiagramImage *image = h.addImage(QPointF(300, 0));
    DiagramTextItem *text = h.addText(QPointF(0, 300), QStringLiteral("t"));
    QCOMPARE(h.scene.itemById(shape->id()), shape);
    QCOMPARE(h.scene.itemById(image->id()), image);
    QCOMPARE(h.scene.itemById(text->id()), text);
    QCOMPARE(h.scene.itemById(12345), nullptr);

    const int id = shape->id();
    const int imageId = image->id();
    if (how == "delete") {
        delete shape;
    } else if (how == "remove") {
        h.scene.removeItem(shape);
        QCOMPARE(h.scene.itemById(id), nullptr);
        delete shape;
    } else {
        h.scene.clear();
        QCOMPARE(h.scene.itemById(imageId), nullptr);
    }
    QCOMPARE(h.scene.itemById(id), nullptr);

    // A new item may take a freed id.
    DiagramItem *again = h.scene.newShape(DiagramItem::Cercle);
    again->setId(id);
    h.scene.addItem(again);
    h.scene.registerItem(again);
    QCOMPARE(h.scene.itemById(id), again);
}

void tst_Scene::itemByIdAfterIdChange()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    const int old = shape->id();
    shape->setId(77);
    QCOMPARE(h.scene.itemById(old), nullptr);
    QCOMPARE(h.scene.itemById(77), shape);
}

void tst_Scene::secondLinkOfAShapeIsRefused()
{
    ItemsHarness h;
    DiagramItem *shape = h.addShape(QPointF(-300, 0));
    DiagramTextItem *first = h.addText(QPointF(200, -200), QStringLiteral("premier"));
    DiagramTextItem *second = h.addText(QPointF(200, 200), QStringLiteral("second"));
    QSignalSpy linked(&h.scene, &DiagramScene::itemsLinked);
    h.scene.setMode(DiagramScene::LinkText);

    h.drag(QPointF(-300, 0), first->sceneBoundingRect().center());
    QCOMPARE(linked.count(), 1);
    QCOMPARE(shape->linkedText(), first);
    QCOMPARE(first->linkedItem(), shape);

    h.drag(shape->scenePos(), second->sceneBoundingRect().center());
    QCOMPARE(linked.count(), 1); // the shape already follows a text
    QCOMPARE(shape->linkedText(), first);
    QVERIFY(!second->isLinked());
}

void tst_Scene::contextMenuOnEmptySpaceOnly()
{
    ItemsHarness h;
    QAction *paste = h.sceneMenu.addAction(QStringLiteral("&Coller"));
    QSignalSpy shown(&h.sceneMenu, &QMenu::aboutToShow);
    DiagramItem *shape = h.addShape(QPointF(0, 0));
    shape->setSelected(true);

    closeNextMenu();
    QContextMenuEvent onShape(QContextMenuEvent::Mouse, h.view.mapFromScene(QPointF(10, 10)));
    QApplication::sendEvent(h.view.viewport(), &onShape);
    QCOMPARE(shown.count(), 0); // the shape's own menu, not the scene's

    closeNextMenu();
    QContextMenuEvent onEmpty(QContextMenuEvent::Mouse, h.view.mapFromScene(QPointF(300, 300)));
    QApplication::sendEvent(h.view.viewport(), &onEmpty);
    QCOMPARE(shown.count(), 1);
    QVERIFY(h.scene.selectedItems().isEmpty());
    Q_UNUSED(paste);
}

void tst_Scene::formulaMargins_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QSize>("margins");
    QTest::newRow("plain") << "$x+1" << QSize(0, 0);
    QTest::newRow("in inside infty") << "$\\in\\infty" << QSize(19 * 2 + 3, 26);
    QTest::newRow("three relations") << "$a\\neq b\\leq c\\geq d" << QSize(3 * 28, 3 * 26);
    QTest::newRow("repeated command") << "$\\alpha\\alpha\\alpha" << QSize(9, 0);
    QTest::newRow("arrow inside arrow") << "$\\leftrightarrow" << QSize(25, 18);
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
