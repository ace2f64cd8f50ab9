// Exporting scenes of N shapes joined by N arrows to a PNG picture and to a
// PDF page: rendering, encoding and writing the file. The shapes stand on
// a grid 100 wide, so the picture's area grows with N as the items do.
// peak_MiB is the process's peak resident size; run one case alone
// (--benchmark_filter) to read that case's own peak.

#include "export/SceneExport.h"
#include "io/SceneDocument.h"
#include "scene/DiagramScene.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const int columns = 100;
const double spacing = 40.0;

QJsonObject rgb(int r, int g, int b)
{
    return {{"r", r}, {"g", g}, {"b", b}};
}

// Shapes of every kind, 30 units wide, turned by quarter turns; arrow i
// from shape i to shape i + 1.
QJsonObject document(int shapes)
{
    QJsonArray items;
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", 65551}, {"diagram", i % 7},
            {"position", QJsonObject{{"x", spacing * (i % columns)}, {"y", spacing * (i / columns)}, {"z", 0}}},
            {"rotation", 90 * (i % 4)}, {"scale", QJsonObject{{"x", 0.15}, {"y", 0.15}}},
            {"border", QJsonObject{{"width", 1}, {"color", rgb(0, 0, 0)}}},
            {"color", rgb(40 + i % 200, 120, 200)}, {"name", QStringLiteral("Carré %1").arg(i)},
            {"id", i}});
    }
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", 65540}, {"startItem", QJsonObject{{"type", 65551}, {"id", i}}},
            {"endItem", QJsonObject{{"type", 65551}, {"id", (i + 1) % shapes}}},
            {"isPointed", false}, {"color", rgb(0, 0, 0)}, {"width", 8},
            {"name", QStringLiteral("Flèche %1").arg(i)}, {"id", shapes + i}});
    }
    return {{"items", items}, {"background", QJsonObject()}, {"nbCarre", shapes},
            {"nbArrows", shapes}, {"nbItems", 2 * shapes}};
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

using Export = bool (*)(QGraphicsScene &, const QString &, QString *);

void runExport(benchmark::State &state, Export exportTo, const QString &fileName)
{
    DiagramScene scene(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr);
    readDocument(scene, document(state.range(0)));
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
    state.counters["peak_MiB"] = peakMiB();
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
