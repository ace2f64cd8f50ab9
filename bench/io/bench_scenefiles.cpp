// Saving and loading scenes of N shapes joined by N arrows: the reader
// alone, and the window's "Charger une scène" and "Enregistrer la scène"
// (file, scene and item list). peak_MiB is the process's peak resident size.

#include "app/MainWindow.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/DiagramScene.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QJsonObject rgb(int r, int g, int b)
{
    return {{"r", r}, {"g", g}, {"b", b}};
}

// A document as the program writes it: shapes on a grid, arrow i from
// shape i to shape i + 1.
QJsonObject document(int shapes)
{
    QJsonArray items;
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", 65551}, {"diagram", i % 7},
            {"position", QJsonObject{{"x", 250.0 * (i % 100)}, {"y", 250.0 * (i / 100)}, {"z", 0}}},
            {"rotation", 0}, {"scale", QJsonObject{{"x", 0.5}, {"y", 0.5}}},
            {"border", QJsonObject{{"width", 1}, {"color", rgb(0, 0, 0)}}},
            {"color", rgb(255, 255, 255)}, {"name", QStringLiteral("Carré %1").arg(i)}, {"id", i}});
    }
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", 65540}, {"startItem", QJsonObject{{"type", 65551}, {"id", i}}},
            {"endItem", QJsonObject{{"type", 65551}, {"id", (i + 1) % shapes}}},
            {"isPointed", false}, {"color", rgb(0, 0, 0)}, {"width", 20},
            {"name", QStringLiteral("Flèche %1").arg(i)}, {"id", shapes + i}});
    }
    return {{"items", items}, {"background", QJsonObject()}, {"nbCarre", shapes},
            {"nbArrows", shapes}, {"nbItems", 2 * shapes}};
}

QString sceneFile(int shapes)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("scene-%1.pensascene").arg(shapes));
    if (!QFile::exists(path)) {
        QString reason;
        if (!writeSceneFile(path, document(shapes), &reason))
            qFatal("bench_scenefiles: %s", qPrintable(reason));
    }
    return path;
}

double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
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
    const QJsonObject top = document(state.range(0));
    for (auto _ : state) {
        DiagramScene scene(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr);
        readDocument(scene, top);
        benchmark::DoNotOptimize(scene.nbItems());
        state.PauseTiming(); // the scene's destruction is not loading
        scene.clear();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = peakMiB();
}

void BM_DestroyScene(benchmark::State &state)
{
    const QJsonObject top = document(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto *scene = new DiagramScene(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
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
    state.counters["peak_MiB"] = peakMiB();
}

void BM_SaveFromWindow(benchmark::State &state)
{
    const QString path = sceneFile(state.range(0));
    ScriptedDialogs dialogs;
    MainWindow window;
    loadInWindow(window, dialogs, path);
    for (auto _ : state)
        QMetaObject::invokeMethod(&window, "save"); // back to the loaded file
    state.counters["peak_MiB"] = peakMiB();
}

} // namespace

BENCHMARK(BM_ReadDocument)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DestroyScene)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadInWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFromWindow)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
