// A scene written to a file and read back is the same scene, item by item.

#include "IoTestSupport.h"

#include "io/SceneDocument.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QGraphicsSceneMouseEvent>
#include <QPen>
#include <QTemporaryDir>
#include <QtTest>

using namespace IoTest;

namespace {

template <typename T>
T *added(DiagramScene &scene, T *item, int id, const QString &name)
{
    item->setId(id);
    item->setName(name);
    scene.addItem(item);
    scene.registerItem(item);
    return item;
}

template <typename T>
T *loaded(const DiagramScene &scene, const T *original)
{
    QGraphicsItem *item = scene.itemById(original->id());
    return item && item->type() == T::Type ? static_cast<T *>(item) : nullptr;
}

void click(DiagramScene &scene, const QPointF &at)
{
    for (QEvent::Type type : {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseRelease}) {
        QGraphicsSceneMouseEvent event(type);
        event.setScenePos(at);
        event.setButton(Qt::LeftButton);
        event.setButtons(type == QEvent::GraphicsSceneMousePress ? Qt::LeftButton : Qt::NoButton);
        QCoreApplication::sendEvent(&scene, &event);
    }
}

} // namespace

class tst_RoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyItemComesBack();
    void countersAndBackgroundComeBack();
    void linkedTextStandsBeforeItsShape();
    void insertionsContinueTheNumbering();

private:
    void buildOriginal();
    QTemporaryDir folder;
    QString picturePath;
    std::unique_ptr<DiagramScene> original;
    std::unique_ptr<DiagramScene> copy;
    QList<DiagramItem *> shapes;
    DiagramTextItem *linkedText = nullptr;
    DiagramTextItem *freeText = nullptr;
    DiagramImage *picture = nullptr;
    DiagramImage *formula = nullptr;
    QList<Arrow *> arrows;
};

void tst_RoundTrip::initTestCase()
{
    QVERIFY(folder.isValid());
    picturePath = folder.filePath(QStringLiteral("picture.png"));
    QPixmap pixmap(41, 30);
    pixmap.fill(Qt::red);
    QVERIFY(pixmap.save(picturePath));

    buildOriginal();
    const QString file = folder.filePath(QStringLiteral("scene.pensascene"));
    QString reason;
    QVERIFY2(writeSceneFile(file, original->toJson(), &reason), qPrintable(reason));
    copy = newScene();
    readDocument(*copy, readFile(file));
}

// Every kind, every property with a value other than its default.
void tst_RoundTrip::buildOriginal()
{
    original = newScene();
    DiagramScene &scene = *original;
    for (int type = 0; type < DiagramItem::TypeCount; ++type) {
        DiagramItem *shape = added(scene, scene.newShape(DiagramItem::DiagramType(type)), type,
                                   QStringLiteral("Forme %1").arg(type));
        shape->setPos(100 + 250 * type, 200.5 + type);
        shape->setZValue(type / 3.0); // fractions survive
        shape->setBrush(QColor(10 * type, 255 - 10 * type, 7));
        QPen pen(QColor(type, 2 * type, 3 * type));
        pen.setWidth(type);
        pen.setCosmetic(true);
        shape->setPen(pen);
        shape->changeTransform(type * 30 - 90, false, 0, 0, false);
        shape->changeTransform(0, true, 0.5 + type * 0.25, 1.75 - type * 0.125, false);
        shapes.append(shape);
    }

    linkedText = added(scene, scene.newText(), 7, QStringLiteral("Texte lié"));
    QFont font(QStringLiteral("DejaVu Sans"), 17, QFont::Bold, true);
    font.setUnderline(true);
    linkedText->setFont(font);
    linkedText->setPlainText(QStringLiteral("Un texte lié, accentué : ça ô"));
    linkedText->setDefaultTextColor(QColor(1, 128, 255));
    linkedText->setAlignment(Qt::AlignJustify);
    linkedText->setZValue(1000);
    linkedText->setPos(1500, 1500);
    linkedText->linkTo(shapes.at(DiagramItem::Rectangle));
    shapes.at(DiagramItem::Rectangle)->setLinkedText(linkedText);

    freeText = added(scene, scene.newText(), 8, QStringLiteral("Texte libre"));
    QFont other(QStringLiteral("DejaVu Serif"), 9);
    other.setStrikeOut(true);
    freeText->setFont(other);
    freeText->setPlainText(QStringLiteral("deux\nlignes"));
    freeText->setAlignment(Qt::AlignRight);
    freeText->setPos(-30.25, 4000);
    freeText->setZValue(999.75);

    picture = added(scene, scene.newImage(), 9, QStringLiteral("Image 0"));
    const QPixmap pixmap(picturePath);
    picture->setContent(picturePath, pixmap, false);
    picture->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
    picture->setPos(3000, 2000);
    picture->setZValue(1000.125);
    picture->changeTransform(-45);
    picture->changeTransform(0, true, 2.5);

    formula = added(scene, scene.newImage(), 10, QStringLiteral("Math 0"));
    formula->setContent(QStringLiteral("$\\sqrt{x} \\leq y$"), QPixmap(), true);
    formula->setPos(2500, 500);
    formula->setZValue(1001);
    formula->changeTransform(0, true, 0.75);

    const struct {
        QGraphicsItem *start, *end;
        int size;
        QColor color;
        QPointF target; // scene point, (0, 0) for none
    } arrowSpecs[] = {
        {shapes.at(0), shapes.at(1), 20, Qt::black, {}},
        {shapes.at(2), picture, 33, QColor(250, 0, 5), {3010, 1995}},
        {formula, shapes.at(4), 12, QColor(0, 90, 0), {1110, 210}},
    };
    int id = 11;
    for (const auto &spec : arrowSpecs) {
        Arrow *arrow = added(scene, scene.newArrow(spec.start, spec.end, spec.size), id,
                             QStringLiteral("Flèche %1").arg(id - 11));
        ++id;
        arrow->setColor(spec.color);
        arrow->setZValue(-1000);
        if (!spec.target.isNull())
            arrow->setPointToBe(spec.target);
        arrows.append(arrow);
    }

    scene.setBackground(QBrush(QColor(5, 6, 7)), false, true, false, QString(), QColor(5, 6, 7));
    const int counters[12] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 14, 8};
    for (int i = 0; i < 12; ++i)
        sceneCounters[i].set(scene, counters[i]);
}

void tst_RoundTrip::everyItemComesBack()
{
    QCOMPARE(copy->items().size(), original->items().size()); // handles included

    for (const DiagramItem *shape : qAsConst(shapes)) {
        const DiagramItem *back = loaded(*copy, shape);
        QVERIFY(back);
        QCOMPARE(back->diagramType(), shape->diagramType());
        QCOMPARE(back->name(), shape->name());
        QCOMPARE(back->scenePos(), shape->scenePos());
        QCOMPARE(back->zValue(), shape->zValue());
        QCOMPARE(back->brush(), shape->brush());
        QCOMPARE(back->pen(), shape->pen());
        QCOMPARE(back->rotationTransform()->angle(), shape->rotationTransform()->angle());
        QCOMPARE(back->scaleTransform()->xScale(), shape->scaleTransform()->xScale());
        QCOMPARE(back->scaleTransform()->yScale(), shape->scaleTransform()->yScale());
        QCOMPARE(back->sceneBoundingRect(), shape->sceneBoundingRect());
    }

    for (const DiagramTextItem *text : {linkedText, freeText}) {
        const DiagramTextItem *back = loaded(*copy, text);
        QVERIFY(back);
        QCOMPARE(back->name(), text->name());
        QCOMPARE(back->toPlainText(), text->toPlainText());
        QCOMPARE(back->scenePos(), text->scenePos());
        QCOMPARE(back->zValue(), text->zValue());
        QCOMPARE(back->font(), text->font());
        QCOMPARE(back->defaultTextColor(), text->defaultTextColor());
        QCOMPARE(back->alignment(), text->alignment());
        QCOMPARE(back->isLinked(), text->isLinked());
        QVERIFY(!(back->textInteractionFlags() & Qt::TextEditable)); // not being edited
    }
    const DiagramTextItem *linkedBack = loaded(*copy, linkedText);
    QVERIFY(linkedBack->linkedItem());
    QCOMPARE(linkedBack->linkedItem()->id(), int(DiagramItem::Rectangle));
    QCOMPARE(linkedBack->linkedItem()->linkedText(), linkedBack);

    for (const DiagramImage *image : {picture, formula}) {
        const DiagramImage *back = loaded(*copy, image);
        QVERIFY(back);
        QCOMPARE(back->name(), image->name());
        QCOMPARE(back->path(), image->path());
        QCOMPARE(back->isMath(), image->isMath());
        QCOMPARE(back->scenePos(), image->scenePos());
        QCOMPARE(back->zValue(), image->zValue());
        QCOMPARE(back->rotationTransform()->angle(), image->rotationTransform()->angle());
        QCOMPARE(back->scaleTransform()->xScale(), image->scaleTransform()->xScale());
        QCOMPARE(back->scaleTransform()->yScale(), image->scaleTransform()->xScale());
        QVERIFY(back->flags() & QGraphicsItem::ItemIsMovable);
        QVERIFY(back->flags() & QGraphicsItem::ItemIsSelectable);
    }
    const DiagramImage *pictureBack = loaded(*copy, picture);
    QCOMPARE(pictureBack->pixmap().size(), QSize(41, 30)); // read again from its file
    QCOMPARE(pictureBack->offset(), QPointF(-20, -15));
    const DiagramImage *formulaBack = loaded(*copy, formula);
    QCOMPARE(formulaBack->pixmap().size(), DiagramScene::renderFormula(formula->path()).size());

    for (const Arrow *arrow : qAsConst(arrows)) {
        const Arrow *back = loaded(*copy, arrow);
        QVERIFY(back);
        QCOMPARE(back->name(), arrow->name());
        QCOMPARE(idOf(back->startItem()), idOf(arrow->startItem()));
        QCOMPARE(idOf(back->endItem()), idOf(arrow->endItem()));
        QCOMPARE(back->color(), arrow->color());
        QCOMPARE(back->arrowSize(), arrow->arrowSize());
        QCOMPARE(back->zValue(), -1000.0);
        QCOMPARE(back->isPointed(), arrow->isPointed());
        QVERIFY(qAbs(back->pointToBe().x() - arrow->pointToBe().x()) < 1e-9);
        QVERIFY(qAbs(back->pointToBe().y() - arrow->pointToBe().y()) < 1e-9);
    }
}

void tst_RoundTrip::countersAndBackgroundComeBack()
{
    for (const SceneCounter &counter : sceneCounters)
        QCOMPARE(counter.get(*copy), counter.get(*original));
    QVERIFY(copy->isColorBackground());
    QVERIFY(!copy->isTransparent() && !copy->isPictureBackground());
    QCOMPARE(copy->backgroundBrush().color(), QColor(5, 6, 7));
    QCOMPARE(copy->backgroundBrush().style(), Qt::SolidPattern);
}

void tst_RoundTrip::linkedTextStandsBeforeItsShape()
{
    QStringList order;
    for (const QJsonValue &item : copy->toJson().value("items").toArray())
        order.append(item.toObject().value("name").toString());
    QVERIFY(order.indexOf(QStringLiteral("Texte lié")) < order.indexOf(QStringLiteral("Forme 5")));
}

void tst_RoundTrip::insertionsContinueTheNumbering()
{
    copy->setItemType(DiagramItem::Cercle);
    copy->setMode(DiagramScene::InsertItem);
    click(*copy, QPointF(4500, 4500));
    const QGraphicsItem *inserted = copy->itemById(original->nbItems());
    QVERIFY(inserted && inserted->type() == DiagramItem::Type);
    QCOMPARE(static_cast<const DiagramItem *>(inserted)->name(),
             QStringLiteral("Cercle %1").arg(original->nbCercle()));
    QCOMPARE(copy->nbItems(), original->nbItems() + 1);
}

QTEST_MAIN(tst_RoundTrip)
#include "tst_roundtrip.moc"
