// A formula item paints its typeset drawing: at 100 % as the picture it was
// typeset into, sharp when magnified by the view or its own scale, with its
// colours; the whole box picks it; a stored formula opens where and as large
// as it was; a change of formula undoes and redoes whole.

#include "support/FormulaPixels.h"

#include "io/SceneDocument.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/FormulaDrawing.h"
#include "scene/PropertyCommand.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QUndoStack>
#include <QtTest>

using namespace FormulaPixels;

namespace {

// Formulas of each page of the editor's palette, and a coloured one.
void addFormulaRows()
{
    QTest::addColumn<QString>("formula");
    QTest::newRow("fraction") << R"($x^2 + \frac{1}{2})";
    QTest::newRow("sum") << R"($\sum_{i=1}^n i^2)";
    QTest::newRow("integral") << R"($\int_1^{10} f(x)\,dx)";
    QTest::newRow("matrix") << R"($\begin{pmatrix} x \\ y \\ z \end{pmatrix})";
    QTest::newRow("greek") << R"($\alpha\beta\Gamma\Omega\lambda)";
    QTest::newRow("coloured") << R"($\textcolor{red}{\sqrt{x}} + y)";
}

DiagramImage *addFormula(DiagramScene &scene, const QString &formula, const QPointF &pos = {})
{
    const QPixmap typeset = DiagramScene::renderFormula(formula);
    DiagramImage *image = scene.newImage();
    image->setContent(formula, typeset, true);
    image->setOffset(-(typeset.width() / 2), -(typeset.height() / 2));
    image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
    image->setPos(pos);
    scene.addItem(image);
    return image;
}

// The item's box in the scene, rendered at `zoom` pixels per scene unit on
// a transparent picture, as a view at that zoom shows it.
QImage rendered(DiagramScene &scene, const DiagramImage *item, qreal zoom)
{
    const QRectF box = item->mapRectToScene(QRectF(item->offset(), item->pixmap().size()));
    QImage picture((box.size() * zoom).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    scene.render(&painter, QRectF(picture.rect()), box, Qt::IgnoreAspectRatio);
    return picture;
}

} // namespace

class tst_FormulaItem : public QObject
{
    Q_OBJECT

private slots:
    // The drawing falls on the picture's pixels: same size, and filled
    // outlines within a small difference of the typeset glyphs. At 100 %
    // the item shows the picture itself.
    void fullSizeLooksAsBefore_data() { addFormulaRows(); }
    void fullSizeLooksAsBefore()
    {
        QFETCH(QString, formula);
        const QImage typeset = DiagramScene::renderFormula(formula).toImage();
        FormulaDrawing drawing;
        drawing.setFormula(formula);
        QCOMPARE(drawing.size(), typeset.size());
        // The picture made without typesetting again is the same picture.
        QCOMPARE(drawing.enginePicture().toImage(), typeset);
        const QImage drawn = drawing.picture(typeset.size(), 1).toImage();
        const double difference = meanInkDifference(drawn, typeset, false);
        // What is left is the typeset glyphs' hinting against exact outlines;
        // a drawing one pixel off gives several times more.
        QVERIFY2(difference < 8, qPrintable(QString::number(difference)));

        DiagramScene scene;
        const DiagramImage *item = addFormula(scene, formula, QPointF(40, 30));
        QCOMPARE(rendered(scene, item, 1).convertToFormat(QImage::Format_ARGB32),
                 typeset.convertToFormat(QImage::Format_ARGB32));
        QCOMPARE(pixelsOf(drawn, Qt::red) > 0, formula.contains("red"));
    }

    // Edges a pixel wide or less at every magnification, where the picture
    // enlarged would blur them over about as many pixels as it is enlarged.
    void sharpWhenMagnified_data()
    {
        QTest::addColumn<qreal>("zoom");
        QTest::addColumn<qreal>("itemScale");
        QTest::addColumn<int>("turn");
        QTest::newRow("view at 400 %") << 4.0 << 1.0 << 0;
        QTest::newRow("item scaled 4 times") << 1.0 << 4.0 << 0;
        QTest::newRow("view at 200 %, item scaled 1.5 times") << 2.0 << 1.5 << 0;
        QTest::newRow("view at 300 %, item turned a quarter") << 3.0 << 1.0 << 90;
    }
    void sharpWhenMagnified()
    {
        QFETCH(qreal, zoom);
        QFETCH(qreal, itemScale);
        QFETCH(int, turn);
        const QString formula = R"($\textcolor{red}{\frac{a}{b}} + \sum_{i=1}^n \alpha_i)";
        DiagramScene scene;
        DiagramImage *item = addFormula(scene, formula);
        item->changeTransform(0, true, itemScale);
        item->changeTransform(turn, false);
        const QImage sharp = rendered(scene, item, zoom);
        const double magnified = zoom * itemScale;
        const QSizeF shown = QSizeF(item->pixmap().size()) * magnified;
        QCOMPARE(sharp.size(), (turn ? shown.transposed() : shown).toSize());
        const QImage enlarged = item->pixmap().toImage().scaled(
            sharp.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double sharpEdges = edgeWidth(sharp, false);
        QVERIFY2(sharpEdges < 1.3, qPrintable(QString::number(sharpEdges)));
        // What the measure gives for the picture enlarged: the blur it catches.
        if (turn == 0)
            QVERIFY2(edgeWidth(enlarged, false) > magnified * 0.5,
                     qPrintable(QString::number(edgeWidth(enlarged, false))));
        QVERIFY(pixelsOf(sharp, Qt::red) > 0);
        QVERIFY(pixelsOf(sharp, Qt::black) > 0);
    }

    // A formula placed from its editor at another size than the scene's
    // draws at that size, filling its picture.
    void editorSizeFillsItsPicture()
    {
        const QString formula = R"($\sum_{i=1}^n \frac{1}{i})";
        FormulaDrawing large;
        large.setFormula(formula, 40);
        const QPixmap picture = large.picture(large.size(), 1);
        DiagramScene scene;
        DiagramImage *item = scene.newImage();
        item->setContent(formula, picture, true);
        scene.addItem(item);
        QVERIFY(qAbs(item->formulaDrawing().pointSize() - 40) < 1);
        const double difference = meanInkDifference(rendered(scene, item, 2),
                                                    large.picture(large.size(), 2).toImage(), false);
        QVERIFY2(difference < 3, qPrintable(QString::number(difference)));
    }

    // A click between glyphs, or in the box's margin, still means the formula.
    void wholeBoxPicksTheFormula()
    {
        DiagramScene scene;
        DiagramImage *item = addFormula(scene, R"($a \qquad\qquad b)", QPointF(100, 100));
        item->changeTransform(0, true, 2.0);
        const QRectF box(item->offset(), item->pixmap().size());
        QCOMPARE(qAlpha(item->pixmap().toImage().pixel(box.size().width() / 2, box.size().height() / 2)), 0);
        for (const QPointF &inside : {box.topLeft() + QPointF(1, 1), box.center()})
            QVERIFY(scene.items(item->mapToScene(inside)).contains(item));
        QVERIFY(!scene.items(item->mapToScene(box.topLeft() - QPointF(3, 3))).contains(item));
    }

    // A file written before formulas were drawn: the formula has the size,
    // centre, turn and scale it had, and is written back as it was read.
    void storedFormulaOpensAsBefore()
    {
        QFile file(QFINDTESTDATA("../io/data/every-kind.pensascene"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject top = QJsonDocument::fromJson(file.readAll()).object();
        QJsonObject stored;
        for (const QJsonValue &item : top.value("items").toArray())
            if (item.toObject().value("math").toBool())
                stored = item.toObject();
        QVERIFY(!stored.isEmpty());

        DiagramScene scene;
        readDocument(scene, top);
        DiagramImage *formula = nullptr;
        for (QGraphicsItem *item : scene.items())
            if (item->type() == DiagramImage::Type && static_cast<DiagramImage *>(item)->isMath())
                formula = static_cast<DiagramImage *>(item);
        QVERIFY(formula);
        const QSize size = DiagramScene::renderFormula(stored.value("path").toString()).size();
        QCOMPARE(formula->pixmap().size(), size);
        QCOMPARE(formula->formulaDrawing().size(), size);
        QCOMPARE(formula->offset(), QPointF(-(size.width() / 2), -(size.height() / 2)));
        // Position, turn and scale as read, since written back unchanged.
        for (const QJsonValue &item : writeDocument(scene).value("items").toArray())
            if (item.toObject().value("math").toBool())
                QCOMPARE(item.toObject(), stored);
    }

    // Undoing a change of formula brings back the old text, picture and
    // drawing; redoing, the new ones.
    void changeOfFormulaUndoes()
    {
        DiagramScene scene;
        QUndoStack stack;
        scene.setUndoStack(&stack);
        const QString before = R"($\frac{a}{b})", after = R"($\begin{pmatrix} x \\ y \end{pmatrix})";
        DiagramImage *item = addFormula(scene, before);
        const QImage beforeShown = rendered(scene, item, 3);
        scene.push(PropertyCommand::change({item}, DiagramObject::Property::FormulaText, after));
        QCOMPARE(item->path(), after);
        QCOMPARE(item->formulaDrawing().formula(), after);
        QCOMPARE(item->pixmap().size(), DiagramScene::renderFormula(after).size());
        const QImage afterShown = rendered(scene, item, 3);

        stack.undo();
        QCOMPARE(item->path(), before);
        QCOMPARE(item->formulaDrawing().formula(), before);
        // Typeset anew: the same drawing within a trace of antialiasing.
        const auto same = [](const QImage &a, const QImage &b) {
            return a.size() == b.size() && meanInkDifference(a, b, false) < 1;
        };
        QVERIFY(!same(afterShown, beforeShown));
        QVERIFY(same(rendered(scene, item, 3), beforeShown));
        stack.redo();
        QCOMPARE(item->path(), after);
        QVERIFY(same(rendered(scene, item, 3), afterShown));
    }
};

QTEST_MAIN(tst_FormulaItem)
#include "tst_formulaitem.moc"
