// Formulas in exported files: vector outlines in a PDF (no picture in it)
// and in an SVG that is well formed and renders like the PNG at that
// scale; pictures rendered at their scale, formulas sharp in them; the
// colours of \textcolor and of the formula itself everywhere.

#include "support/FormulaPixels.h"
#include "support/RunTool.h"

#include "export/SceneExport.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace FormulaPixels;

namespace {

const char *const formulas[] = {
    R"($\textcolor{red}{\frac{a}{b}} + c)", R"($\sum_{i=1}^n i^2)", R"($\int_1^{10} f(x)\,dx)",
    R"($\begin{pmatrix} x \\ y \end{pmatrix})", R"($\alpha + \Omega)",
};

// Five formulas, one turned and scaled, beside a shape and a text, with
// the export area as scene rectangle. Returns the first, coloured, formula.
DiagramImage *fill(DiagramScene &scene)
{
    QList<DiagramImage *> images;
    int i = 0;
    for (const char *text : formulas) {
        const QString formula = QString::fromUtf8(text);
        const QPixmap typeset = DiagramScene::renderFormula(formula);
        DiagramImage *image = scene.newImage();
        image->setContent(formula, typeset, true);
        image->setOffset(-(typeset.width() / 2), -(typeset.height() / 2));
        image->setPos(80 + 150 * (i % 3), 60 + 110 * (i / 3));
        scene.addItem(image);
        images.append(image);
        ++i;
    }
    images.last()->changeTransform(30, false);
    images.last()->changeTransform(0, true, 1.5);
    DiagramItem *shape = scene.newShape(DiagramItem::Carre);
    shape->setPos(380, 200);
    scene.addItem(shape);
    DiagramTextItem *text = scene.newText();
    text->setPlainText(QStringLiteral("Légende"));
    text->setPos(300, 20);
    scene.addItem(text);
    scene.setSceneRect(exportArea(scene));
    return images.first();
}


bool missing(const char *program)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

} // namespace

class tst_FormulaExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    QString path(const QString &name) const { return folder.filePath(name); }

private slots:
    void pdfHoldsNoPicture()
    {
        DiagramScene scene;
        fill(scene);
        QString reason;
        QVERIFY2(exportPdf(scene, path("formulas.pdf"), &reason), qPrintable(reason));
        if (missing("pdfimages") || missing("pdftoppm"))
            QSKIP("poppler-utils is not installed");
        QString output;
        QVERIFY(runTool("pdfimages", {"-list", path("formulas.pdf")}, &output));
        // Two heading lines, and a line for each picture: none.
        QCOMPARE(output.trimmed().split('\n').size(), 2);
        QVERIFY(runTool("pdftoppm", {"-png", "-r", "100", "-singlefile", path("formulas.pdf"), path("page")}));
        const QImage page(path("page.png"));
        QVERIFY(!page.isNull());
        QVERIFY(pixelsOf(page, Qt::red) > 0);
        QVERIFY(pixelsOf(page, Qt::black) > 0);
    }

    // The SVG drawn at twice its size is the PNG at scale 2 within a small
    // difference, with the background of the same choice. Its title, the
    // file's name, once broke the XML with an "&".
    void svgMatchesPicture_data()
    {
        QTest::addColumn<int>("background");
        QTest::newRow("white") << int(ExportBackground::White);
        QTest::newRow("transparent") << int(ExportBackground::Transparent);
    }
    void svgMatchesPicture()
    {
        QFETCH(int, background);
        if (missing("xmllint") || missing("rsvg-convert"))
            QSKIP("libxml2-utils or librsvg2-bin is not installed");
        DiagramScene scene;
        fill(scene);
        ExportOptions options;
        options.background = ExportBackground(background);
        QString reason;
        QVERIFY2(exportSvg(scene, path("formules & <co>.svg"), options, &reason), qPrintable(reason));
        QFile svg(path("formules & <co>.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray content = svg.readAll();
        QVERIFY(content.contains(" version=\"1.1\""));
        QVERIFY(!content.contains("baseProfile"));
        QVERIFY(!content.contains("<image")); // the formulas are outlines
        QVERIFY(runTool("xmllint", {"--noout", path("formules & <co>.svg")}));
        QVERIFY(runTool("rsvg-convert", {"-z", "2", "-o", path("svg.png"), path("formules & <co>.svg")}));
        options.scale = 2;
        QVERIFY2(exportPicture(scene, path("picture.png"), options, &reason), qPrintable(reason));
        // Twice the picture at scale 1, against the area times 2 rounded:
        // a pixel apart at most.
        const QImage drawnWhole(path("svg.png")), pictureWhole(path("picture.png"));
        QCOMPARE(drawnWhole.size(), pictureSize(scene.sceneRect()) * 2);
        QVERIFY(qAbs(drawnWhole.width() - pictureWhole.width()) <= 1
                && qAbs(drawnWhole.height() - pictureWhole.height()) <= 1);
        const QRect common = drawnWhole.rect() & pictureWhole.rect();
        const QImage drawn = drawnWhole.copy(common), picture = pictureWhole.copy(common);
        const bool opaque = options.background == ExportBackground::White;
        QCOMPARE(qAlpha(drawn.pixel(0, 0)), opaque ? 255 : 0);
        const double difference = meanInkDifference(drawn, picture, opaque);
        QVERIFY2(difference < 4, qPrintable(QString::number(difference)));
        QVERIFY(pixelsOf(drawn, Qt::red) > 0);
        QVERIFY(pixelsOf(drawn, Qt::black) > 0);
    }

    // A picture at scale N is N times the area and renders the formulas
    // at that resolution, not the 100 % picture enlarged.
    void pictureScaleRendersFormulasSharp_data()
    {
        QTest::addColumn<int>("scale");
        for (int scale = 1; scale <= 4; ++scale)
            QTest::addRow("%d×", scale) << scale;
    }
    void pictureScaleRendersFormulasSharp()
    {
        QFETCH(int, scale);
        DiagramScene scene;
        const DiagramImage *first = fill(scene);
        ExportOptions options;
        options.scale = scale;
        options.background = ExportBackground::Transparent;
        QString reason;
        QVERIFY2(exportPicture(scene, path("scaled.png"), options, &reason), qPrintable(reason));
        const QImage picture(path("scaled.png"));
        QCOMPARE(picture.size(), pictureSize(scene.sceneRect(), scale));
        // The first formula alone: the shape's and text's edges are not measured.
        const QRectF box = first->sceneBoundingRect().translated(-scene.sceneRect().topLeft());
        const QImage formula = picture.copy(QRectF(box.topLeft() * scale, box.size() * scale).toRect());
        const double edges = edgeWidth(formula, false);
        QVERIFY2(edges < 1.3, qPrintable(QString::number(edges)));
        QVERIFY(pixelsOf(formula, Qt::red) > 0);
    }
};

QTEST_MAIN(tst_FormulaExport)
#include "tst_formulaexport.moc"
