// Formulas painted by their drawing, against the same formulas as plain
// pictures, in a view of 1600 x 1000 pixels over 100 formulas of the
// editor's palette (fractions, sums, integrals, matrices, Greek letters):
//
//   Paint100/pictures     repaint at 100 %, formulas as plain pictures
//   Paint100/formulas     repaint at 100 %, formula items (their picture)
//   Paint100/deviceCache  repaint at 100 %, drawings under Qt's
//                         DeviceCoordinateCache
//   Paint400/...          one repaint at 400 % after a change of zoom, so
//                         that every cache in view is made again;
//                         "outlines" fills the drawings without any cache
//   Pan400/...            a repaint at 400 % at the zoom of the last one,
//                         as while scrolling: what a cache is for
//   Typeset/0             the 100 formulas typeset into their pictures, as
//                         before they had drawings
//   Typeset/1             the same and their drawings, as a load makes them
//   ExportSvg             the SVG of a grid of 1,000 shapes and their
//                         arrows with the 100 formulas
//
// Wanted: Paint100/formulas at most 1.5 times Paint100/pictures, Paint400
// of the formula items under 50 ms, ExportSvg under 1 s. Read CPU time.

#include "export/SceneExport.h"
#include "io/SceneDocument.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/FormulaDrawing.h"
#include "support/BenchSupport.h"

#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char *const palette[] = {
    R"($\frac{a}{b})", R"($\sum_{i=1}^n i^2)", R"($\int_1^{10} f(x)\,dx)",
    R"($\begin{pmatrix} x \\ y \\ z \end{pmatrix})", R"($\alpha + \beta = \Gamma)",
    R"($\lim_{x\to+\infty} \frac{1}{x})", R"($\sqrt{x^2 + y^2})", R"($\Omega \neq \lambda \pi)",
    R"($\textcolor{red}{\mathrm{e}^x})", R"($\overbrace{ABC}{a})",
};

enum Mode { Pictures, Formulas, DeviceCache, Outlines };

// A drawing painted through its outlines, with Qt's item caching when asked.
class DrawingItem : public QGraphicsItem
{
public:
    DrawingItem(const QString &formula, const QSize &size)
        : m_box(QPointF(-(size.width() / 2), -(size.height() / 2)), size)
    {
        m_drawing.setFormula(formula);
    }
    QRectF boundingRect() const override { return m_box; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        m_drawing.paint(painter, m_box);
    }

private:
    QRectF m_box;
    FormulaDrawing m_drawing;
};

void addFormulas(DiagramScene &scene, Mode mode, const QPointF &origin, qreal spacingX, qreal spacingY)
{
    for (int i = 0; i < 100; ++i) {
        const QString formula = QString::fromUtf8(palette[i % 10]);
        const QPixmap typeset = DiagramScene::renderFormula(formula);
        const QPointF at = origin + QPointF(spacingX * (i % 10), spacingY * (i / 10));
        if (mode == Pictures || mode == Formulas) {
            DiagramImage *image = scene.newImage();
            image->setContent(formula, typeset, mode == Formulas);
            image->setOffset(-(typeset.width() / 2), -(typeset.height() / 2));
            image->setPos(at);
            scene.addItem(image);
        } else {
            auto *item = new DrawingItem(formula, typeset.size());
            if (mode == DeviceCache)
                item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
            item->setPos(at);
            scene.addItem(item);
        }
    }
}

struct View
{
    explicit View(Mode mode)
    {
        addFormulas(scene, mode, QPointF(80, 50), 160, 100);
        scene.setSceneRect(0, 0, 1600, 1000);
        view.setScene(&scene);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setFrameShape(QFrame::NoFrame);
        view.resize(1600, 1000);
        view.setRenderHint(QPainter::Antialiasing);
    }
    void paint()
    {
        view.viewport()->render(&frame);
        benchmark::DoNotOptimize(frame.bits());
    }

    DiagramScene scene;
    QGraphicsView view;
    QImage frame{1600, 1000, QImage::Format_ARGB32_Premultiplied};
};

void BM_Paint100(benchmark::State &state)
{
    View v{Mode(state.range(0))};
    v.paint(); // caches made
    for (auto _ : state)
        v.paint();
}

void BM_Paint400(benchmark::State &state)
{
    View v{Mode(state.range(0))};
    v.paint();
    bool nudge = false;
    for (auto _ : state) {
        // A slightly other zoom each time: no cache of the last one serves.
        nudge = !nudge;
        const qreal zoom = nudge ? 4.0 : 4.04;
        v.view.setTransform(QTransform::fromScale(zoom, zoom));
        v.view.centerOn(400, 250);
        v.paint();
    }
}

void BM_Pan400(benchmark::State &state)
{
    View v{Mode(state.range(0))};
    v.view.setTransform(QTransform::fromScale(4, 4));
    v.view.centerOn(400, 250);
    v.paint();
    for (auto _ : state)
        v.paint();
}

void BM_Typeset(benchmark::State &state)
{
    const bool drawings = state.range(0) != 0;
    for (auto _ : state) {
        DiagramScene scene;
        for (int i = 0; i < 100; ++i) {
            const QString formula = QString::fromUtf8(palette[i % 10]);
            if (drawings) {
                DiagramImage *image = scene.newImage();
                image->setFormula(formula);
                scene.addItem(image);
            } else {
                benchmark::DoNotOptimize(DiagramScene::renderFormula(formula));
            }
        }
    }
}

void BM_ExportSvg(benchmark::State &state)
{
    DiagramScene scene;
    readDocument(scene, BenchSupport::gridDocument(1000, {40.0, 0.15, true}));
    addFormulas(scene, Formulas, QPointF(20, 500), 400, 60);
    scene.setSceneRect(exportArea(scene));
    QTemporaryDir folder;
    const QString path = folder.filePath("scene.svg");
    QString reason;
    for (auto _ : state) {
        if (!exportSvg(scene, path, ExportOptions(), &reason)) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_Paint100)->ArgName("mode")->Arg(Pictures)->Arg(Formulas)->Arg(DeviceCache)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint400)->ArgName("mode")->Arg(Pictures)->Arg(Formulas)->Arg(DeviceCache)->Arg(Outlines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pan400)->ArgName("mode")->Arg(Pictures)->Arg(Formulas)->Arg(DeviceCache)->Arg(Outlines)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Typeset)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSvg)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
