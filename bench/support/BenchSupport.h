#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

// What the benchmarks of the program's widgets share: the entry point, the
// process's memory, and scene documents of a given size.

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace BenchSupport {

// Runs the benchmarks with a widget application, offscreen unless the
// caller chose a platform.
inline int run(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// A field of /proc/self/status in MiB: "VmRSS:" now, "VmHWM:" at the peak.
// Run one case alone (--benchmark_filter) to read that case's own peak.
inline double statusMiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

inline QJsonObject rgb(int r, int g, int b)
{
    return {{"r", r}, {"g", g}, {"b", b}};
}

// How the shapes of gridDocument() stand: `spacing` apart on rows of 100,
// scaled by `scale`, and turned by quarter turns one after the other when
// `turned`.
struct Grid {
    double spacing;
    double scale;
    bool turned;
};

// A scene document as the program writes it: shapes of every kind on a
// grid, and arrow i from shape i to shape i + 1.
inline QJsonObject gridDocument(int shapes, const Grid &grid)
{
    const int columns = 100;
    QJsonArray items;
    for (int i = 0; i < shapes; ++i) {
        items.append(QJsonObject{
            {"type", 65551}, {"diagram", i % 7},
            {"position", QJsonObject{{"x", grid.spacing * (i % columns)},
                                     {"y", grid.spacing * (i / columns)}, {"z", 0}}},
            {"rotation", grid.turned ? 90 * (i % 4) : 0},
            {"scale", QJsonObject{{"x", grid.scale}, {"y", grid.scale}}},
            {"border", QJsonObject{{"width", 1}, {"color", rgb(0, 0, 0)}}},
            {"color", rgb(40 + i % 200, 120, 200)}, {"name", QStringLiteral("Carré %1").arg(i)},
            {"id", i}});
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

} // namespace BenchSupport

#endif // BENCHSUPPORT_H
