// The item list and the selection commands on large scenes: N shapes and N
// arrows (arrow i from shape i to shape i + 1), each with its list entry.
//
//   insert        adding the 2N items with their entries
//   sceneToList   selecting all 2N items in the scene (one selection area),
//                 the list following
//   sync          one scene-to-list synchronisation of 2N selected items
//   listToScene   selecting all 2N entries, the scene following
//   qtRemoveHalf  for reference, Qt's scene alone removing every other item
//                 (the program's deletion is in the history benchmark)
//
// Each case at N = 10,000 should cost at most 12 times its cost at 1,000.
// The memory case reports the resident size holding 10,000 shapes, 10,000
// arrows and their entries; run it alone (--benchmark_filter=Memory) to read
// its own peak.

#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"
#include "support/BenchWindow.h"

#include <QApplication>
#include <QGraphicsScene>

#include <benchmark/benchmark.h>


namespace {

void setCounts(benchmark::State &state)
{
    state.counters["items"] = 2.0 * state.range(0);
}

void BM_Memory(benchmark::State &state)
{
    for (auto _ : state) {
        BenchWindow diagram;
        diagram.fill(int(state.range(0)));
        state.counters["rss_MiB"] = BenchSupport::statusMiB("VmRSS:");
        state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
    }
    setCounts(state);
}

void BM_Insert(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto diagram = std::make_unique<BenchWindow>();
        state.ResumeTiming();
        diagram->fill(int(state.range(0)));
        state.PauseTiming();
        diagram.reset();
        state.ResumeTiming();
    }
    setCounts(state);
}

// Selecting everything on one side, timed until the other side follows.
template <typename Select, typename Followed>
void selectEverything(benchmark::State &state, Select select, Followed followed)
{
    BenchWindow diagram;
    diagram.fill(int(state.range(0)));
    diagram.warmUp();
    for (auto _ : state) {
        state.PauseTiming();
        diagram.clearSelections();
        state.ResumeTiming();
        select(diagram);
        QApplication::processEvents();
    }
    if (followed(diagram) != 2 * state.range(0))
        state.SkipWithError("the other side did not follow");
    setCounts(state);
}

void BM_SceneToList(benchmark::State &state)
{
    selectEverything(
        state, [](const BenchWindow &d) { d.selectAllInScene(); },
        [](const BenchWindow &d) { return d.list()->selectedItems().size(); });
}

void BM_Sync(benchmark::State &state)
{
    BenchWindow diagram;
    diagram.fill(int(state.range(0)));
    diagram.selectAllInScene();
    for (auto _ : state) {
        state.PauseTiming();
        {
            // Without telling the scene, which would drop its own selection.
            const QSignalBlocker blocker(diagram.list());
            diagram.list()->clearSelection();
        }
        state.ResumeTiming();
        QMetaObject::invokeMethod(diagram.window.get(), "itemSelectionChanged");
    }
    if (diagram.list()->selectedItems().size() != 2 * state.range(0))
        state.SkipWithError("the list did not follow the scene");
    setCounts(state);
}

void BM_ListToScene(benchmark::State &state)
{
    selectEverything(
        state, [](const BenchWindow &d) { d.list()->selectAll(); },
        [](const BenchWindow &d) { return d.scene()->selectedItems().size(); });
}

// A reference, not an operation of the program: what Qt's scene itself
// costs to remove every other item of 2N plain rectangles, its index
// switched off as the program's scene has it. Each removal searches and
// shifts the scene's own lists of items, so this grows with the square of
// N; the program's deletion reads against it.
void BM_QtRemoveHalf(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QGraphicsScene scene;
        scene.setItemIndexMethod(QGraphicsScene::NoIndex);
        QList<QGraphicsItem *> items;
        for (int i = 0; i < 2 * state.range(0); ++i)
            items.append(scene.addRect(40.0 * (i % 100), 40.0 * (i / 100), 30, 30));
        state.ResumeTiming();
        for (int i = 0; i < items.size(); i += 2) {
            scene.removeItem(items[i]);
            delete items[i];
        }
    }
    setCounts(state);
}

const int small = 1000;
const int large = 10000;

} // namespace

BENCHMARK(BM_Memory)->Arg(large)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert)->Arg(small)->Arg(3000)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneToList)->Arg(small)->Arg(3000)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sync)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListToScene)->Arg(small)->Arg(3000)->Arg(large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtRemoveHalf)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
