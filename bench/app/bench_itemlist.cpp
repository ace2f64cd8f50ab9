// The item list and the selection commands on large scenes: N shapes and N
// arrows (arrow i from shape i to shape i + 1), each with its list entry.
//
//   insert        adding the 2N items with their entries
//   sceneToList   selecting all 2N items in the scene (one selection area),
//                 the list following
//   sync          one scene-to-list synchronisation of 2N selected items
//   listToScene   selecting all 2N entries, the scene following
//   deleteHalf    "Supprimer" on every other shape (with its arrows)
//   qtRemoveHalf  for reference, Qt's scene alone removing every other item
//
// Each case at N = 10,000 should cost at most 12 times its cost at 1,000.
// The memory case reports the resident size holding 10,000 shapes, 10,000
// arrows and their entries; run it alone (--benchmark_filter=Memory) to read
// its own peak.

#include "app/ListWidget.h"
#include "app/MainWindow.h"
#include "scene/Arrow.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainterPath>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Resident and peak resident size of the process, in MiB.
// A window whose scene gets items the way the scene inserts them: id,
// name, registration, then the insertion signal that the window answers
// with a list entry.
class Diagram
{
public:
    Diagram() : window(new MainWindow)
    {
        window->show();
        QApplication::processEvents();
    }

    QGraphicsView *view() const { return window->findChild<QGraphicsView *>(); }
    DiagramScene *scene() const { return qobject_cast<DiagramScene *>(view()->scene()); }
    ListWidget *list() const { return window->findChild<ListWidget *>(); }

    void fill(int shapes)
    {
        DiagramScene *s = scene();
        QList<DiagramItem *> added;
        for (int i = 0; i < shapes; ++i) {
            DiagramItem *shape = s->newShape(DiagramItem::DiagramType(i % DiagramItem::TypeCount));
            shape->setId(s->nbItems());
            shape->setPos(40.0 * (i % 100), 40.0 * (i / 100));
            shape->changeTransform(0, true, 0.15, 0.15, false);
            s->addItem(shape);
            s->registerItem(shape);
            shape->setName(QStringLiteral("Carré %1").arg(i));
            s->setNbItems(s->nbItems() + 1);
            emit s->itemInserted(shape);
            added.append(shape);
        }
        for (int i = 0; i < shapes; ++i) {
            DiagramItem *start = added[i];
            DiagramItem *end = added[(i + 1) % shapes];
            Arrow *arrow = s->newArrow(start, end, 20);
            arrow->setId(s->nbItems());
            arrow->setName(QStringLiteral("Flèche %1").arg(i));
            s->addItem(arrow);
            s->registerItem(arrow);
            s->setNbItems(s->nbItems() + 1);
            emit s->arrowInserted(arrow);
            arrow->updatePosition();
        }
        // Every size shows the same picture, a view full of shapes: the
        // window opens on the middle of the scene, which small grids do not
        // reach, and an empty view would cost nothing to repaint.
        view()->ensureVisible(QRectF(0, 0, 1, 1), 0, 0);
        QApplication::processEvents();
    }

    void selectAllInScene() const
    {
        QPainterPath everything;
        everything.addRect(scene()->sceneRect().adjusted(-100, -100, 100, 100));
        scene()->setSelectionArea(everything, Qt::IntersectsItemBoundingRect);
    }

    // Items make their handles at their first selection. Done once before
    // timing, so that every timed selection is alike: with few iterations
    // at 10,000 items, the first would otherwise weigh on the average.
    void warmUp() const
    {
        selectAllInScene();
        clearSelections();
    }

    void clearSelections() const
    {
        scene()->clearSelection();
        list()->clearSelection();
        QApplication::processEvents();
    }

    QAction *action(const QString &text) const
    {
        for (QAction *a : window->findChildren<QAction *>()) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }

    std::unique_ptr<MainWindow> window;
};

void setCounts(benchmark::State &state)
{
    state.counters["items"] = 2.0 * state.range(0);
}

void BM_Memory(benchmark::State &state)
{
    for (auto _ : state) {
        Diagram diagram;
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
        auto diagram = std::make_unique<Diagram>();
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
    Diagram diagram;
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
        state, [](const Diagram &d) { d.selectAllInScene(); },
        [](const Diagram &d) { return d.list()->selectedItems().size(); });
}

void BM_Sync(benchmark::State &state)
{
    Diagram diagram;
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
        state, [](const Diagram &d) { d.list()->selectAll(); },
        [](const Diagram &d) { return d.scene()->selectedItems().size(); });
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

void BM_DeleteHalf(benchmark::State &state)
{
    const int shapes = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto diagram = std::make_unique<Diagram>();
        diagram->fill(shapes);
        {
            // One synchronisation of the list at the end, not one per item.
            const QSignalBlocker blocker(diagram->scene());
            for (QGraphicsItem *item : diagram->scene()->items()) {
                if (item->type() == DiagramItem::Type
                    && static_cast<DiagramItem *>(item)->id() % 2 == 0)
                    item->setSelected(true);
            }
        }
        QMetaObject::invokeMethod(diagram->window.get(), "itemSelectionChanged");
        QApplication::processEvents();
        state.ResumeTiming();
        diagram->action(QStringLiteral("&Supprimer"))->trigger();
        QApplication::processEvents();
        state.PauseTiming();
        // Every arrow touched a deleted shape: only the odd shapes stay.
        if (diagram->list()->count() != shapes / 2)
            state.SkipWithError("deletion left the wrong entries");
        diagram.reset();
        state.ResumeTiming();
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
BENCHMARK(BM_DeleteHalf)->Arg(small)->Arg(large)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
