// Large labelled diagrams: N rectangles, each fitted around a linked text
// "Box i", chained by N - 1 arrows (BenchSupport::labelledGridDocument).
//
//   Load       the window's "Charger une scène": file, scene and item list
//   Read       the scene-file reader alone, from the file's checked text
//              (each item parsed as it is read)
//   Save       the window's "Enregistrer la scène" back to the loaded file
//   NewScene   the window's "Nouvelle scène": the loaded diagram destroyed
//   ExportPng  the loaded scene written as a PNG picture at its own size
//   ExportPdf  the loaded scene written as a one-page PDF
//
// Each case at 30,000 should cost at most 3.3 times its cost at 10,000
// (NewScene at most 12 times per 10 times more items). peak_MiB is the
// process's peak resident size: run one case alone (--benchmark_filter=
// 'Load/10000$') to read that case's own peak, which then counts one window
// holding one loaded diagram.

#include "app/MainWindow.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneText.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"
#include "support/ExportLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QFile>
#include <QGraphicsView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString sceneFile(int boxes)
{
    const QString path = folder().filePath(QStringLiteral("labelled-%1.pensascene").arg(boxes));
    if (!QFile::exists(path)) {
        QString reason;
        if (!writeSceneFile(path, BenchSupport::labelledGridDocument(boxes), &reason))
            qFatal("bench_labelled: %s", qPrintable(reason));
    }
    return path;
}

// What the event loop does before the user's next action: the posted
// events (the scene polishes its new items then) and the deferred deletes.
void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A window that has loaded a file through its own command.
class LoadedWindow
{
public:
    explicit LoadedWindow(const QString &path)
    {
        load(path);
    }

    void load(const QString &path)
    {
        dialogs.fileNames.enqueue(path);
        QMetaObject::invokeMethod(&window, "load");
    }

    DiagramScene &scene() const
    {
        return *static_cast<DiagramScene *>(window.findChild<QGraphicsView *>()->scene());
    }

    ScriptedDialogs dialogs;
    MainWindow window;
};

void BM_Load(benchmark::State &state)
{
    const QString path = sceneFile(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming(); // a fresh window each time: one diagram in memory
        auto window = std::make_unique<LoadedWindow>(QString());
        settle();
        state.ResumeTiming();
        window->load(path);
        state.PauseTiming();
        window.reset();
        settle();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_Read(benchmark::State &state)
{
    SceneText text;
    QString reason;
    if (readSceneFile(sceneFile(int(state.range(0))), &text, &reason) != SceneFileRead::Ok)
        qFatal("bench_labelled: %s", qPrintable(reason));
    for (auto _ : state) {
        auto scene = std::make_unique<DiagramScene>();
        readDocument(*scene, text);
        benchmark::DoNotOptimize(scene->nbItems());
        state.PauseTiming(); // the scene's destruction is not reading
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_Save(benchmark::State &state)
{
    LoadedWindow loaded(sceneFile(int(state.range(0))));
    for (auto _ : state)
        QMetaObject::invokeMethod(&loaded.window, "save");
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_NewScene(benchmark::State &state)
{
    const QString path = sceneFile(int(state.range(0)));
    LoadedWindow loaded(path);
    for (auto _ : state) {
        QMetaObject::invokeMethod(&loaded.window, "createNewScene");
        settle();
        state.PauseTiming();
        loaded.load(path);
        settle();
        state.ResumeTiming();
    }
}

void runExport(benchmark::State &state, BenchSupport::Export exportTo, const QString &fileName)
{
    LoadedWindow loaded(sceneFile(int(state.range(0))));
    BenchSupport::exportEach(state, loaded.scene(), exportTo, folder().filePath(fileName));
}

void BM_ExportPng(benchmark::State &state)
{
    runExport(state, exportPicture, QStringLiteral("labelled.png"));
}

void BM_ExportPdf(benchmark::State &state)
{
    runExport(state, exportPdf, QStringLiteral("labelled.pdf"));
}

} // namespace

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewScene)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPng)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPdf)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
