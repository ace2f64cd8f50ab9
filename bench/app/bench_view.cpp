// The diagram view over N shapes and N arrows (arrow i from shape i to
// shape i + 1), loaded into the main window whose view shows 1600 x 1000
// pixels. The shapes stand 100 units apart on rows of 100, 80 units wide, so
// that at 100 % the view is full of items at every N:
//
//   repaint     one repaint at 100 % (160 shapes and their arrows in view)
//   repaintFit  one repaint after "Ajuster à la fenêtre": every item in view
//   zoomStep    one zoom step from there with its repaint, the first at
//               that zoom
//   panStep     one step of a 100-step middle-button drag, with its repaint
//   hitTest     the item under a click, found as the view finds it, near
//               the start of the diagram or far from it (far:1)
//   rubberBand  a rubber-band selection of about 100 items (shapes and
//               arrows): press, ten moves with their repaints, release
//
// At N = 10,000 the repaint and a pan step should take at most 8 ms (a
// frame at 120 Hz) and at most 3 times their time at N = 1,000; the fitted
// repaint at most 100 ms; a hit test at most 0.2 ms.

#include "app/DiagramView.h"
#include "io/SceneDocument.h"
#include "scene/StampCache.h"
#include "support/BenchSupport.h"
#include "support/BenchWindow.h"

#include <QApplication>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

const BenchSupport::Grid grid{100.0, 0.4, true};
const QSize viewSize(1600, 1000);
// Shape centres are 100 units apart; half way between two rows and two
// columns no item lies.
const qreal spacing = 100.0;

// The program's window holding the grid document, its view sized and at
// 100 %.
class Window : public BenchWindow
{
public:
    explicit Window(int shapes)
    {
        readDocument(*scene(), BenchSupport::gridDocument(shapes, grid));
        // The window's frame around the view is whatever the layout makes.
        for (int attempt = 0; attempt < 3 && !sized(); ++attempt) {
            window->resize(window->size() + viewSize - view()->viewport()->size());
            QApplication::processEvents();
        }
        view()->resetZoom();
        // The left part of the first ten rows, which every N has.
        view()->centerOn(20 * spacing, 4.5 * spacing);
        QApplication::processEvents();
    }

    DiagramView *view() const { return qobject_cast<DiagramView *>(BenchWindow::view()); }
    bool sized() const { return view()->viewport()->size() == viewSize; }

    void mouse(QEvent::Type type, const QPoint &pixel, Qt::MouseButton button,
               Qt::MouseButtons held) const
    {
        QMouseEvent event(type, pixel, view()->viewport()->mapToGlobal(pixel), button, held, {});
        QApplication::sendEvent(view()->viewport(), &event);
    }
};

void setCounts(benchmark::State &state)
{
    state.counters["items"] = 2.0 * state.range(0);
}

// A window ready to measure, or null after telling the state why not.
std::unique_ptr<Window> openWindow(benchmark::State &state)
{
    auto window = std::make_unique<Window>(int(state.range(0)));
    if (!window->sized()) {
        state.SkipWithError("the view could not be given its size");
        return nullptr;
    }
    return window;
}

// The first repaints at a zoom make the view's pictures of the items, a
// ration at a time (BM_ZoomStep times the first); the timed ones draw from
// them.
void repaintEach(benchmark::State &state, const Window &window)
{
    int pictures = -1;
    for (int warmUp = 0; warmUp < 100 && pictures != StampCache::shared().count(); ++warmUp) {
        pictures = StampCache::shared().count();
        window.view()->viewport()->repaint();
    }
    for (auto _ : state)
        window.view()->viewport()->repaint();
    setCounts(state);
}

void BM_Repaint(benchmark::State &state)
{
    if (auto window = openWindow(state))
        repaintEach(state, *window);
}

void BM_RepaintFit(benchmark::State &state)
{
    if (auto window = openWindow(state)) {
        window->view()->fitToWindow();
        repaintEach(state, *window);
    }
}

// One zoom step from "Ajuster à la fenêtre", with its repaint: every item
// is drawn afresh at a zoom the view has not drawn before, as a turn of
// the wheel does.
void BM_ZoomStep(benchmark::State &state)
{
    auto window = openWindow(state);
    if (!window)
        return;
    window->view()->fitToWindow();
    window->view()->viewport()->repaint();
    const qreal fitted = window->view()->zoom();
    int step = 0;
    for (auto _ : state) {
        step = step % 50 + 1;
        window->view()->setZoom(fitted * (1 + 0.01 * step));
        window->view()->viewport()->repaint();
    }
    setCounts(state);
}

// Each iteration drags 100 steps of 8 pixels, to the left and back in turn,
// and reports the time of one step.
void BM_PanStep(benchmark::State &state)
{
    auto window = openWindow(state);
    if (!window)
        return;
    const int steps = 100;
    const QPoint start(viewSize.width() / 2, viewSize.height() / 2);
    // The view replays the last mouse move after every scroll.
    window->mouse(QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    int direction = 1;
    for (auto _ : state) {
        const auto began = std::chrono::steady_clock::now();
        window->mouse(QEvent::MouseButtonPress, start, Qt::MiddleButton, Qt::MiddleButton);
        for (int step = 1; step <= steps; ++step) {
            window->mouse(QEvent::MouseMove, start + QPoint(8 * step * direction, 0),
                          Qt::NoButton, Qt::MiddleButton);
            QApplication::processEvents();
        }
        window->mouse(QEvent::MouseButtonRelease, start + QPoint(8 * steps * direction, 0),
                      Qt::MiddleButton, Qt::NoButton);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
        state.SetIterationTime(took.count() / steps);
        direction = -direction;
    }
    setCounts(state);
}

// A click on a shape near the view's start, or on the last row far to the
// right, where the diagram has outgrown the scene's 5000 x 5000 rectangle.
void BM_HitTest(benchmark::State &state)
{
    auto window = openWindow(state);
    if (!window)
        return;
    const bool far = state.range(1);
    const QPointF target = far ? QPointF(90 * spacing, (state.range(0) / 100 - 1) * spacing)
                               : QPointF(20 * spacing, 4 * spacing);
    window->view()->centerOn(target);
    const QPoint onShape = window->view()->mapFromScene(target);
    if (!window->view()->itemAt(onShape)) {
        state.SkipWithError("no item under the click");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(window->view()->itemAt(onShape));
    setCounts(state);
}

void BM_RubberBand(benchmark::State &state)
{
    auto window = openWindow(state);
    if (!window)
        return;
    DiagramView *view = window->view();
    // From a gap between four shapes across five columns and eight rows.
    const QPoint from = view->mapFromScene(15.5 * spacing, 0.5 * spacing);
    const QPoint to = view->mapFromScene(20.5 * spacing, 8.5 * spacing);
    const auto select = [&] {
        window->mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step) {
            window->mouse(QEvent::MouseMove, from + (to - from) * step / 10, Qt::NoButton,
                          Qt::LeftButton);
            QApplication::processEvents();
        }
        window->mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    };
    // Items make their handles at their first selection: not timed.
    select();
    int selected = 0;
    for (const QGraphicsItem *item : window->scene()->selectedItems())
        selected += item->type() >= QGraphicsItem::UserType; // not the handles

    for (auto _ : state) {
        state.PauseTiming();
        window->scene()->clearSelection();
        QApplication::processEvents();
        state.ResumeTiming();
        select();
    }
    state.counters["selected"] = selected;
    setCounts(state);
}

const int small = 1000;
const int large = 10000;

} // namespace

BENCHMARK(BM_Repaint)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintFit)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanStep)->Arg(small)->Arg(large)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HitTest)
    ->ArgsProduct({{small, large}, {0, 1}})
    ->ArgNames({"", "far"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RubberBand)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
