// The document the writer produces: forms, keys and types of every object.

#include "IoTestSupport.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsLineItem>
#include <QPen>
#include <QRegularExpression>
#include <QtTest>

using namespace IoTest;

namespace {

template <typename T>
T *added(DiagramScene &scene, T *item, int id)
{
    item->setId(id);
    scene.addItem(item);
    scene.registerItem(item);
    return item;
}

QJsonObject rgb(int r, int g, int b)
{
    return {{"r", r}, {"g", g}, {"b", b}};
}

QJsonObject point(double x, double y)
{
    return {{"x", x}, {"y", y}};
}

QJsonObject position(double x, double y, double z)
{
    return {{"x", x}, {"y", y}, {"z", z}};
}

} // namespace

class tst_Format : public QObject
{
    Q_OBJECT

private slots:
    void topLevelKeysInAscendingOrder();
    void backgroundForms_data();
    void backgroundForms();
    void countersWritten();
    void shapeObject();
    void imageObject();
    void textObject();
    void linkedTextNamesItsShape();
    void textAlignment_data();
    void textAlignment();
    void arrowObject();
    void arrowWithoutTargetPoint_data();
    void arrowWithoutTargetPoint();
    void onlyItemKindsAreWritten();
    void itemsFromTopmostDown();
};

void tst_Format::topLevelKeysInAscendingOrder()
{
    auto scene = newScene();
    const QString text = QString::fromUtf8(encodeSceneDocument(scene->toJson()));
    QStringList keys;
    const QRegularExpression topLevelKey(QStringLiteral("^    \"(\\w+)\":"),
                                         QRegularExpression::MultilineOption);
    for (auto it = topLevelKey.globalMatch(text); it.hasNext();)
        keys.append(it.next().captured(1));
    QCOMPARE(keys, QStringList({"background", "items", "nbArrows", "nbCarre", "nbCercle",
                                "nbImage", "nbItems", "nbMath", "nbPentagone", "nbRectangle",
                                "nbRoundedCarre", "nbRoundedRectangle", "nbText",
                                "nbTriangle"}));
    QVERIFY(text.startsWith(QLatin1String("{\n    \""))); // four spaces a level
}

void tst_Format::backgroundForms_data()
{
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QJsonObject>("expected");

    const QJsonObject transparent{{"type", "transparent"}};
    const QJsonObject colour{{"type", "color"}, {"color", rgb(10, 20, 30)}};
    const QJsonObject picture{{"type", "pixmap"}, {"path", ":/images/background3.png"}};
    QTest::newRow("transparent") << true << false << false << transparent;
    QTest::newRow("colour") << false << true << false << colour;
    QTest::newRow("picture") << false << false << true << picture;
    QTest::newRow("none") << false << false << false << QJsonObject();
    QTest::newRow("transparent comes first") << true << true << true << transparent;
    QTest::newRow("colour before picture") << false << true << true << colour;
}

void tst_Format::backgroundForms()
{
    QFETCH(bool, transparent);
    QFETCH(bool, colour);
    QFETCH(bool, picture);
    QFETCH(QJsonObject, expected);
    auto scene = newScene();
    // The colour object comes from the brush, not from the colour argument.
    scene->setBackground(QBrush(QColor(10, 20, 30)), transparent, colour, picture,
                         QStringLiteral(":/images/background3.png"), Qt::white);
    QCOMPARE(scene->toJson().value("background").toObject(), expected);
}

void tst_Format::countersWritten()
{
    auto scene = newScene();
    scene->setNbCarre(1);
    scene->setNbRoundedCarre(2);
    scene->setNbTriangle(3);
    scene->setNbRectangle(4);
    scene->setNbRoundedRectangle(5);
    scene->setNbPentagone(6);
    scene->setNbCercle(7);
    scene->setNbText(8);
    scene->setNbMath(9);
    scene->setNbImage(10);
    scene->setNbItems(11);
    scene->setNbArrows(12);
    const QJsonObject top = scene->toJson();
    const QStringList keys{"nbCarre", "nbRoundedCarre", "nbTriangle", "nbRectangle",
                           "nbRoundedRectangle", "nbPentagone", "nbCercle", "nbText",
                           "nbMath", "nbImage", "nbItems", "nbArrows"};
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(top.value(keys.at(i)), QJsonValue(i + 1));
}

void tst_Format::shapeObject()
{
    auto scene = newScene();
    DiagramItem *shape = added(*scene, scene->newShape(DiagramItem::Pentagone), 7);
    shape->setPos(10.5, -20);
    shape->setZValue(3.25);
    shape->changeTransform(90, false, 0, 0, false);
    shape->changeTransform(0, true, 2, 0.5, false);
    QPen pen(QColor(1, 2, 3));
    pen.setWidth(4);
    shape->setPen(pen);
    shape->setBrush(QColor(4, 5, 6));
    shape->setName(QStringLiteral("Pentagone 2"));

    const QJsonObject expected{
        {"type", 65551}, {"diagram", 3}, {"position", position(10.5, -20, 3.25)},
        {"rotation", 90}, {"scale", point(2, 0.5)},
        {"border", QJsonObject{{"width", 4}, {"color", rgb(1, 2, 3)}}},
        {"color", rgb(4, 5, 6)}, {"name", "Pentagone 2"}, {"id", 7}};
    const QString d = difference(shape->toJson(), expected);
    QVERIFY2(d.isEmpty(), qPrintable(d));
}

void tst_Format::imageObject()
{
    auto scene = newScene();
    DiagramImage *image = added(*scene, scene->newImage(), 3);
    image->setContent(QStringLiteral("$\\frac{a}{b}$"), QPixmap(10, 6), true);
    image->setPos(-5, 8.75);
    image->setZValue(1000);
    image->changeTransform(45);
    image->changeTransform(0, true, 1.5);
    image->setName(QStringLiteral("Math 0"));

    const QJsonObject expected{
        {"type", 65552}, {"position", position(-5, 8.75, 1000)}, {"path", "$\\frac{a}{b}$"},
        {"math", true}, {"scale", 1.5}, {"rotation", 45}, {"name", "Math 0"}, {"id", 3}};
    const QString d = difference(image->toJson(), expected);
    QVERIFY2(d.isEmpty(), qPrintable(d));
}

void tst_Format::textObject()
{
    auto scene = newScene();
    DiagramTextItem *text = added(*scene, scene->newText(), 4);
    QFont font(QStringLiteral("DejaVu Serif"), 13, QFont::Bold, true);
    font.setStrikeOut(true);
    text->setFont(font);
    text->setPlainText(QStringLiteral("ligne\nsuivante"));
    text->setDefaultTextColor(QColor(200, 100, 50));
    text->setPos(12, 34);
    text->setZValue(1000.5);
    text->setName(QStringLiteral("Texte 1"));

    const QJsonObject expected{
        {"type", 65539}, {"position", position(12, 34, 1000.5)}, {"text", "ligne\nsuivante"},
        {"rotation", 0},
        {"font", QJsonObject{{"bold", true}, {"italic", true}, {"underline", false},
                             {"strikeout", true}, {"family", "DejaVu Serif"}, {"size", 13}}},
        {"color", rgb(200, 100, 50)}, {"name", "Texte 1"}, {"id", 4}, {"linked", false},
        {"alignment", 0}};
    const QString d = difference(text->toJson(), expected);
    QVERIFY2(d.isEmpty(), qPrintable(d)); // unlinked: no "linkedId"
}

void tst_Format::linkedTextNamesItsShape()
{
    auto scene = newScene();
    DiagramItem *shape = added(*scene, scene->newShape(DiagramItem::Cercle), 8);
    DiagramTextItem *text = added(*scene, scene->newText(), 9);
    text->linkTo(shape);
    shape->setLinkedText(text);
    const QJsonObject object = text->toJson();
    QCOMPARE(object.value("linked"), QJsonValue(true));
    QCOMPARE(object.value("linkedId"), QJsonValue(8));
}

void tst_Format::textAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QJsonValue>("expected");
    QTest::newRow("left") << int(Qt::AlignLeft) << QJsonValue(0);
    QTest::newRow("right") << int(Qt::AlignRight) << QJsonValue(1);
    QTest::newRow("centre") << int(Qt::AlignCenter) << QJsonValue(2);
    QTest::newRow("justify") << int(Qt::AlignJustify) << QJsonValue(3);
    QTest::newRow("horizontal centre only") << int(Qt::AlignHCenter)
                                            << QJsonValue(QJsonValue::Undefined);
    QTest::newRow("right and vertical centre") << int(Qt::AlignRight | Qt::AlignVCenter)
                                               << QJsonValue(QJsonValue::Undefined);
}

void tst_Format::textAlignment()
{
    QFETCH(int, alignment);
    QFETCH(QJsonValue, expected);
    auto scene = newScene();
    DiagramTextItem *text = added(*scene, scene->newText(), 0);
    text->setAlignment(alignment);
    QCOMPARE(text->toJson().value("alignment"), expected);
}

void tst_Format::arrowObject()
{
    auto scene = newScene();
    DiagramItem *start = added(*scene, scene->newShape(DiagramItem::Carre), 1);
    DiagramImage *end = added(*scene, scene->newImage(), 2);
    end->setPos(300, 0);
    end->changeTransform(90);
    Arrow *arrow = scene->newArrow(start, end, 25);
    added(*scene, arrow, 5);
    arrow->setColor(QColor(9, 8, 7));
    arrow->setName(QStringLiteral("Flèche 3"));
    arrow->setPointToBe(QPointF(310, 5)); // held in the turned end's coordinates

    const QJsonObject expected{
        {"type", 65540}, {"startItem", QJsonObject{{"type", 65551}, {"id", 1}}},
        {"endItem", QJsonObject{{"type", 65552}, {"id", 2}}}, {"isPointed", true},
        {"pointToBe", point(310, 5)}, {"color", rgb(9, 8, 7)}, {"width", 25},
        {"name", "Flèche 3"}, {"id", 5}};
    const QString d = difference(arrow->toJson(), expected);
    QVERIFY2(d.isEmpty(), qPrintable(d));
}

void tst_Format::arrowWithoutTargetPoint_data()
{
    QTest::addColumn<bool>("pointAtEndOrigin");
    QTest::newRow("never pointed") << false;
    QTest::newRow("pointed at the end item's (0, 0)") << true;
}

void tst_Format::arrowWithoutTargetPoint()
{
    QFETCH(bool, pointAtEndOrigin);
    auto scene = newScene();
    DiagramItem *start = added(*scene, scene->newShape(DiagramItem::Carre), 1);
    DiagramItem *end = added(*scene, scene->newShape(DiagramItem::Carre), 2);
    end->setPos(400, 300);
    Arrow *arrow = added(*scene, scene->newArrow(start, end, 20), 3);
    if (pointAtEndOrigin)
        arrow->setPointToBe(end->scenePos());
    const QJsonObject object = arrow->toJson();
    QCOMPARE(object.value("isPointed"), QJsonValue(false));
    QVERIFY(!object.contains("pointToBe"));
}

void tst_Format::onlyItemKindsAreWritten()
{
    auto scene = newScene();
    DiagramItem *shape = added(*scene, scene->newShape(DiagramItem::Carre), 0);
    shape->setSelected(true); // shows its handles
    scene->addItem(new QGraphicsLineItem(0, 0, 50, 50));
    scene->addPolygon(QPolygonF({{0, 0}, {5, 0}, {0, 5}}));
    QVERIFY(scene->items().size() > 3);
    const QJsonArray items = scene->toJson().value("items").toArray();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.at(0).toObject().value("type"), QJsonValue(65551));
}

void tst_Format::itemsFromTopmostDown()
{
    auto scene = newScene();
    added(*scene, scene->newShape(DiagramItem::Carre), 0)->setZValue(-3);
    added(*scene, scene->newText(), 1)->setZValue(1000);
    added(*scene, scene->newShape(DiagramItem::Carre), 2)->setZValue(0.5);
    QList<int> ids;
    for (const QJsonValue &item : scene->toJson().value("items").toArray())
        ids.append(item.toObject().value("id").toInt());
    QCOMPARE(ids, QList<int>({1, 2, 0}));
}

QTEST_MAIN(tst_Format)
#include "tst_format.moc"
