// Exporting scenes of N shapes joined by N arrows to a PNG picture and to a
// PDF page: rendering, encoding and writing the file. The shapes stand on
// a grid 100 wide, so the picture's area grows with N as the items do.
// peak_MiB is the process's peak resident size; run one case alone
// (--benchmark_filter) to read that case's own peak.

#include "io/SceneDocument.h"
#include "support/ExportLoop.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void runExport(benchmark::State &state, BenchSupport::Export exportTo, const QString &fileName)
{
    DiagramScene scene;
    readDocument(scene, BenchSupport::gridDocument(int(state.range(0)), {40.0, 0.15, true}));
    QTemporaryDir folder;
    BenchSupport::exportEach(state, scene, exportTo, folder.filePath(fileName));
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
