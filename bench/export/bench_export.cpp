// Exporting scenes of N shapes joined by N arrows to a PNG picture and to a
// PDF page: rendering, encoding and writing the file. The shapes stand on
// a grid 100 wide, so the picture's area grows with N as the items do.
// peak_MiB is the process's peak resident size; run one case alone
// (--benchmark_filter) to read that case's own peak.

#include "export/SceneExport.h"
#include "io/SceneDocument.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using Export = bool (*)(DiagramScene &, const QString &, QString *);

void runExport(benchmark::State &state, Export exportTo, const QString &fileName)
{
    DiagramScene scene;
    readDocument(scene, BenchSupport::gridDocument(int(state.range(0)), {40.0, 0.15, true}));
    scene.setSceneRect(exportArea(scene));
    QTemporaryDir folder;
    const QString path = folder.filePath(fileName);
    QString reason;
    for (auto _ : state) {
        if (!exportTo(scene, path, &reason)) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
    }
    state.counters["file_KiB"] = QFile(path).size() / 1024.0;
    state.counters["peak_MiB"] = BenchSupport::statusMiB("VmHWM:");
}

void BM_ExportPng(benchmark::State &state)
{
    runExport(state, exportPicture, QStringLiteral("scene.png"));
}

void BM_ExportPdf(benchmark::State &state)
{
    runExport(state, exportPdf, QStringLiteral("scene.pdf"));
}

} // namespace

BENCHMARK(BM_ExportPng)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
