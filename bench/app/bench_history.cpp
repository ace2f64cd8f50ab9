// The history on large scenes: N shapes and N arrows (arrow i from shape i
// to shape i + 1), each with its list entry.
//
//   deleteHalf      "Supprimer" on every other shape, with its arrows
//   undoDeleteHalf  undoing it: shapes, arrows, entries and links back
//   redoDeleteHalf  doing it again
//   moveAll         dragging the whole selection (2N items) by one drag,
//                   recorded as one step
//   moveAllUnrecorded  the same drag in a scene without history
//
// Undo and redo should each cost at most twice the deletion, and at most 12
// times their cost at N = 1,000; the recorded drag at most 1.5 times the
// unrecorded one.

#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"
#include "support/BenchWindow.h"

#include <QMouseEvent>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

enum class Step { Delete, Undo, Redo };

// A window with every other shape selected, ready to delete them.
std::unique_ptr<BenchWindow> halfSelected(int shapes)
{
    auto diagram = std::make_unique<BenchWindow>();
    diagram->fill(shapes);
    {
        // One synchronisation of the list at the end, not one per item.
        const QSignalBlocker blocker(diagram->scene());
        for (QGraphicsItem *item : diagram->scene()->items()) {
            if (item->type() == DiagramItem::Type && static_cast<DiagramItem *>(item)->id() % 2 == 0)
                item->setSelected(true);
        }
    }
    QMetaObject::invokeMethod(diagram->window.get(), "itemSelectionChanged");
    QApplication::processEvents();
    return diagram;
}

void timeStep(benchmark::State &state, Step timed)
{
    const int shapes = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto diagram = halfSelected(shapes);
        for (Step step : {Step::Delete, Step::Undo, Step::Redo}) {
            if (step == timed)
                state.ResumeTiming();
            QMetaObject::invokeMethod(diagram->window.get(),
                                      step == Step::Delete ? "deleteItem" : step == Step::Undo ? "undo" : "redo");
            QApplication::processEvents();
            if (step == timed)
                state.PauseTiming();
            const int expected = step == Step::Undo ? 2 * shapes : shapes / 2;
            if (diagram->list()->count() != expected)
                state.SkipWithError("the list does not show what the scene holds");
            if (step == timed)
                break;
        }
        diagram.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = 2.0 * shapes;
}

void BM_DeleteHalf(benchmark::State &state)
{
    timeStep(state, Step::Delete);
}

void BM_UndoDeleteHalf(benchmark::State &state)
{
    timeStep(state, Step::Undo);
}

void BM_RedoDeleteHalf(benchmark::State &state)
{
    timeStep(state, Step::Redo);
}

void sendMouse(QWidget *viewport, QEvent::Type type, const QPoint &at)
{
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &event);
}

// Ten steps of a drag of everything, from a shape's centre.
void moveAll(benchmark::State &state, bool recorded)
{
    BenchWindow diagram;
    diagram.fill(int(state.range(0)));
    if (!recorded)
        diagram.scene()->setUndoStack(nullptr);
    {
        // Every shape and arrow, as Ctrl+A selects them.
        const QSignalBlocker blocker(diagram.scene());
        for (DiagramObject *object : diagram.scene()->objects())
            object->graphicsItem()->setSelected(true);
    }
    QMetaObject::invokeMethod(diagram.window.get(), "itemSelectionChanged");
    QApplication::processEvents();
    QUndoStack *history = recorded ? diagram.scene()->undoStack() : nullptr;
    const int before = history ? history->count() : 0;
    // A shape of the last row: in a grid this tight, the turning disc of
    // the shape below a shape sits on its centre.
    DiagramObject *first = diagram.scene()->objects().at(int(state.range(0)) - 1);
    for (auto _ : state) {
        const QPoint start = diagram.view()->mapFromScene(first->graphicsItem()->scenePos());
        QWidget *viewport = diagram.view()->viewport();
        sendMouse(viewport, QEvent::MouseButtonPress, start);
        for (int i = 1; i <= 10; ++i)
            sendMouse(viewport, QEvent::MouseMove, start + QPoint(3 * i, 2 * i));
        sendMouse(viewport, QEvent::MouseButtonRelease, start + QPoint(30, 20));
        QApplication::processEvents();
    }
    if (history && history->count() != before + int(state.iterations()))
        state.SkipWithError("a drag is not one step");
    if (diagram.scene()->selectedItems().size() < 2 * state.range(0))
        state.SkipWithError("the drag did not move the whole selection");
    state.counters["items"] = 2.0 * state.range(0);
}

void BM_MoveAll(benchmark::State &state)
{
    moveAll(state, true);
}

void BM_MoveAllUnrecorded(benchmark::State &state)
{
    moveAll(state, false);
}

const int small = 1000;
const int large = 10000;

} // namespace

BENCHMARK(BM_DeleteHalf)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteHalf)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteHalf)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveAll)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveAllUnrecorded)->Arg(large)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
