// Saving and loading scenes of N shapes joined by N arrows: the reader
// alone, and the window's "Charger une scène" and "Enregistrer la scène"
// (file, scene and item list). peak_MiB is the process's peak resident size.

#include "app/MainWindow.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"
#include "tests/support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Boxes 100 wide, 250 apart.
const BenchSupport::Grid sceneGrid{250.0, 0.5, false};

QString sceneFile(int shapes)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("scene-%1.pensascene").arg(shapes));
    if (!QFile::exists(path)) {
        QString reason;
        if (!writeSceneFile(path, BenchSupport::gridDocument(shapes, sceneGrid), &reason))
            qFatal("bench_scenefiles: %s", qPrintable(reason));
    }
    return path;
}

void dropDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void loadInWindow(MainWindow &window, ScriptedDialogs &dialogs, const QString &path)
{
    dialogs.fileNames.enqueue(path);
    QMetaObject::invokeMethod(&window, "load");
}

void BM_ReadDocument(benchmark::State &state)
{
    const QJsonObject top = BenchSupport::gridDocument(int(state.range(0)), sceneGrid);
    for (auto _ : state) {
        DiagramScene scene;
        readDocument(scene, top);
        benchmark::DoNotOptimize(scene.nbItems());
        state.PauseTiming(); // the scene's destruction is not loading
        scene.clear();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_DestroyScene(benchmark::State &state)
{
    const QJsonObject top = BenchSupport::gridDocument(int(state.range(0)), sceneGrid);
    for (auto _ : state) {
        state.PauseTiming();
        auto *scene = new DiagramScene;
        readDocument(*scene, top);
        state.ResumeTiming();
        delete scene;
    }
}

void BM_LoadInWindow(benchmark::State &state)
{
    const QString path = sceneFile(state.range(0));
    ScriptedDialogs dialogs;
    MainWindow window;
    for (auto _ : state) {
        loadInWindow(window, dialogs, path);
        state.PauseTiming(); // the replaced scene goes in the event loop
        dropDeferred();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_SaveFromWindow(benchmark::State &state)
{
    const QString path = sceneFile(state.range(0));
    ScriptedDialogs dialogs;
    MainWindow window;
    loadInWindow(window, dialogs, path);
    for (auto _ : state)
        QMetaObject::invokeMethod(&window, "save"); // back to the loaded file
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

} // namespace

BENCHMARK(BM_ReadDocument)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DestroyScene)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFromWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
