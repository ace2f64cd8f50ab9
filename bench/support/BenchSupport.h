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

// A labelled diagram as the program writes it: `boxes` rectangles in
// serpentine order (left to right, then right to left on the next row, 100
// to a row, 100 x 64 units apart), each fitted around a linked 12-point
// text "Box i", and arrow i from box i to box i + 1. Texts come first, then
// shapes, then arrows, as the program stacks them.
inline QJsonObject labelledGridDocument(int boxes)
{
    const int columns = 100;
    // About the size a 12-point "Box i" takes, with the shape's 20 units of
    // room; a load fits each shape to its text again.
    const double textWidth = 70, textHeight = 27;
    QJsonArray texts, shapes, arrows;
    for (int i = 0; i < boxes; ++i) {
        const int row = i / columns;
        const int column = row % 2 == 0 ? i % columns : columns - 1 - i % columns;
        const double x = 100.0 * column, y = 64.0 * row;
        const int shapeId = 2 * i, textId = 2 * i + 1;
        texts.append(QJsonObject{
            {"type", 65539},
            {"position", QJsonObject{{"x", x}, {"y", y}, {"z", 1000}}},
            {"text", QStringLiteral("Box %1").arg(i)}, {"rotation", 0},
            {"font", QJsonObject{{"bold", false}, {"italic", false}, {"underline", false},
                                 {"strikeout", false}, {"family", QStringLiteral("DejaVu Sans")},
                                 {"size", 12}}},
            {"color", rgb(0, 0, 0)}, {"name", QStringLiteral("Texte %1").arg(i)},
            {"id", textId}, {"linked", true}, {"linkedId", shapeId}, {"alignment", 0}});
        shapes.append(QJsonObject{
            {"type", 65551}, {"diagram", 5},
            {"position", QJsonObject{{"x", x + textWidth / 2}, {"y", y + textHeight / 2}, {"z", 0}}},
            {"rotation", 0},
            {"scale", QJsonObject{{"x", (textWidth + 20) / 201}, {"y", (textHeight + 20) / 141}}},
            {"border", QJsonObject{{"width", 1}, {"color", rgb(0, 0, 0)}}},
            {"color", rgb(255, 255, 255)}, {"name", QStringLiteral("Rectangle %1").arg(i)},
            {"id", shapeId}});
    }
    for (int i = 0; i + 1 < boxes; ++i) {
        arrows.append(QJsonObject{
            {"type", 65540}, {"startItem", QJsonObject{{"type", 65551}, {"id", 2 * i}}},
            {"endItem", QJsonObject{{"type", 65551}, {"id", 2 * i + 2}}},
            {"isPointed", false}, {"color", rgb(0, 0, 0)}, {"width", 20},
            {"name", QStringLiteral("Flèche %1").arg(i)}, {"id", 2 * boxes + i}});
    }
    QJsonArray items = texts;
    for (const QJsonArray *kind : {&shapes, &arrows}) {
        for (const QJsonValue &item : *kind)
            items.append(item);
    }
    return {{"items", items}, {"background", QJsonObject()}, {"nbRectangle", boxes},
            {"nbText", boxes}, {"nbArrows", boxes - 1}, {"nbItems", 3 * boxes - 1}};
}

} // namespace BenchSupport

#endif // BENCHSUPPORT_H
