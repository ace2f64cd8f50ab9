// Copies of items as the clipboard and duplication make them: looks kept,
// new ids and names, arrows and links among the copies kept, and clipboard
// contents from elsewhere that must not join the copies to other items.

#include "scene/ItemsHarness.h"

#include "io/ItemCopy.h"

#include <QJsonObject>

namespace {

// What a copy must repeat of an item, and where it stands.
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
    auto *text = static_cast<const DiagramTextItem *>(item);
    return text->toPlainText() + text->defaultTextColor().name() + text->font().toString()
           + QString::number(text->alignment());
}

QStringList looks(const ItemsHarness &h, const QPointF &shift)
{
    QStringList found;
    for (const DiagramObject *object : h.scene.objects()) {
        const QGraphicsItem *item = object->graphicsItem();
        if (object->kind() != DiagramObject::Kind::Arrow)
            found << look(item) + QStringLiteral(" at %1,%2").arg(item->x() + shift.x()).arg(item->y() + shift.y());
    }
    found.sort();
    return found;
}

DiagramObject *named(const ItemsHarness &h, const QString &name)
{
    for (DiagramObject *object : h.scene.objects()) {
        if (object->name() == name)
            return object;
    }
    return nullptr;
}

} // namespace

class tst_ItemCopy : public QObject
{
    Q_OBJECT

private slots:
    void copiesKeepLooksAndWhatJoinsThem()
    {
        ItemsHarness h;
        DiagramItem *square = h.addShape(QPointF(-200, 0));
        square->setName(QStringLiteral("Carré 0"));
        square->setBrush(Qt::yellow);
        square->rotationTransform()->setAngle(90);
        square->scaleTransform()->setYScale(0.5);
        DiagramItem *circle = h.addShape(QPointF(200, 0), DiagramItem::Cercle);
        circle->setName(QStringLiteral("Cercle 0"));
        DiagramImage *picture = h.addImage(QPointF(0, -300), QSize(41, 20));
        picture->rotationTransform()->setAngle(45);
        picture->changeTransform(0, true, 1.75);
        h.addArrow(square, picture);
        h.addArrow(square, circle);
        // A formula is typeset again from its source when pasted.
        const QPixmap typeset = DiagramScene::renderFormula(QStringLiteral("$x^2"));
        DiagramImage *formula = h.addImage(QPointF(-300, -300), typeset.size());
        formula->setContent(QStringLiteral("$x^2"), typeset, true);
        h.addText(QPointF(10, 200), QStringLiteral("Bonjour"))->setFont(QFont(QStringLiteral("Serif"), 19));
        h.addLinkedText(circle, QStringLiteral("rond"));
        const int items = h.scene.nbItems();

        // Everything but one arrow's end: that arrow stays behind.
        QList<DiagramObject *> chosen = h.scene.objects();
        chosen.removeOne(picture);
        QStringList expected = looks(h, {}) + looks(h, {30, 30});
        expected.removeOne(look(picture) + QStringLiteral(" at 30,-270"));
        expected.sort();
        QSignalSpy maths(&h.scene, &DiagramScene::mathInserted);
        pasteItems(h.scene, copyItems(chosen), {QPointF(30, 30), false, QPointF()});

        QCOMPARE(looks(h, {}), expected);
        QCOMPARE(maths.count(), 1); // a formula is announced as one
        QCOMPARE(h.scene.nbItems(), items + 6); // a new id for each copy, arrows too
        QCOMPARE(h.itemsOf<Arrow>().size(), 3);

        DiagramObject *squareCopy = named(h, "Carré 0 (1)");
        DiagramObject *circleCopy = named(h, "Cercle 0 (1)");
        QVERIFY(squareCopy && circleCopy);
        QCOMPARE(squareCopy->graphicsItem()->pos(), QPointF(-170, 30));
        const QList<Arrow *> arrows = static_cast<DiagramItem *>(squareCopy->graphicsItem())->arrows();
        QCOMPARE(arrows.size(), 1);
        QCOMPARE(arrows.first()->endItem(), circleCopy->graphicsItem());
        auto *linked = static_cast<DiagramItem *>(circleCopy->graphicsItem())->linkedText();
        QVERIFY(linked && linked->toPlainText() == QStringLiteral("rond"));
        QCOMPARE(linked->linkedItem(), circleCopy->graphicsItem());
    }

    // Pasted on one point, copies all stand there; each paste takes the
    // next free suffix; the copy outlives its sources.
    void pastesOnAPointAndNamesAgain()
    {
        ItemsHarness h;
        h.addShape(QPointF(-200, 0))->setName(QStringLiteral("Carré 0"));
        DiagramTextItem *text = h.addText(QPointF(100, 0), QStringLiteral("seul"));
        text->setName(QStringLiteral("Texte 0"));
        const QJsonArray copied = copyItems(h.scene.objects());
        delete text;
        pasteItems(h.scene, copied, {QPointF(30, 30), true, QPointF(-400, 300)});
        pasteItems(h.scene, copied, {QPointF(30, 30), false, QPointF()});
        QCOMPARE(named(h, "Carré 0 (1)")->graphicsItem()->pos(), QPointF(-400, 300));
        QCOMPARE(named(h, "Texte 0 (1)")->graphicsItem()->pos(), QPointF(-400, 300));
        QCOMPARE(named(h, "Carré 0 (2)")->graphicsItem()->pos(), QPointF(-170, 30));
        QCOMPARE(named(h, "Texte 0 (2)")->graphicsItem()->pos(), QPointF(130, 30));
    }

    // Clipboard contents from another process join nothing but themselves:
    // an arrow to an item that did not come along, an id given twice, a
    // link to a missing shape, values that are not objects.
    void strangeClipboardJoinsNothingElse()
    {
        ItemsHarness h;
        DiagramItem *existing = h.addShape(QPointF(-200, 0));
        existing->setId(0);
        h.scene.registerItem(existing);
        h.scene.setNbItems(1);
        ItemsHarness source;
        DiagramItem *a = source.addShape(QPointF(0, 0));
        DiagramItem *b = source.addShape(QPointF(300, 0), DiagramItem::Cercle);
        Arrow *arrow = source.addArrow(a, b);
        DiagramTextItem *label = source.addLinkedText(b, QStringLiteral("nom"));
        QJsonArray items = copyItems({a, b, arrow, label});
        QJsonArray strange;
        strange.append(items.at(0));                    // a
        strange.append(items.at(0));                    // a again, same id
        strange.append(items.at(3));                    // the arrow, b missing
        strange.append(items.at(2));                    // the text linked to b
        strange.append(QJsonValue(42));
        pasteItems(h.scene, strange, {QPointF(30, 30), false, QPointF()});

        QCOMPARE(h.itemsOf<DiagramItem>().size(), 2);
        QCOMPARE(h.itemsOf<Arrow>().size(), 0);
        QVERIFY(existing->arrows().isEmpty());
        const QList<DiagramTextItem *> texts = h.itemsOf<DiagramTextItem>();
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts.first()->linkedItem(), nullptr);
        QVERIFY(!existing->linkedText());
    }
};

QTEST_MAIN(tst_ItemCopy)
#include "tst_itemcopy.moc"
