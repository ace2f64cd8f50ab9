// How long the engine takes to typeset a formula as the editor does, per
// formula of the palettes and of a harder set, against a floor: the same
// characters drawn as one plain run into a picture of the same size.
// And how parsing time grows with the length of the text.

#include "math/VelQTmathText.h"
#include "tools/typeset/FormulaSet.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <benchmark/benchmark.h>

namespace {

// A set beside the typesetting tool, each formula as the editor hands it
// over: "$" + the text typed.
QStringList readSet(const QString& name)
{
    QStringList formulas = readFormulaSet(QStringLiteral(PENSATO_FORMULA_SETS "/") + name);
    for (QString& formula : formulas)
        formula.prepend(QLatin1Char('$'));
    return formulas;
}

const QStringList& formulas()
{
    static const QStringList all = readSet("palette.txt") + readSet("harder.txt");
    return all;
}

// The editor's first steps: a new engine at 20 points with XITS, parse,
// and the picture size measured with an inactive painter.
QSize parseAndMeasure(VelQTmathText& engine, const QString& formula)
{
    engine.setFontSize(20);
    engine.selectXitsFonts();
    engine.parse(formula);
    QPainter painter;
    const QSizeF size = engine.getSize(painter);
    return QSize(qMax(1, int(size.width())), qMax(1, int(size.height())));
}

// The editor's whole road for one formula: then draw centred into a
// transparent pixmap.
void typeset(const QString& formula)
{
    VelQTmathText engine;
    QPixmap pixmap(parseAndMeasure(engine, formula));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, pixmap.width(), pixmap.height()));
}

QSize pictureSize(const QString& formula)
{
    VelQTmathText engine;
    return parseAndMeasure(engine, formula);
}

QFont xitsFont()
{
    VelQTmathText engine;
    engine.selectXitsFonts();
    QFont font(engine.getFontMathRoman());
    font.setPointSizeF(20);
    return font;
}

// The floor: the formula's characters in one drawText call.
void drawPlain(const QString& formula, const QSize& size, const QFont& font)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.drawText(QPointF(0, size.height() * 0.75), formula);
}

void BM_Typeset(benchmark::State& state)
{
    const QString formula = formulas().value(int(state.range(0)));
    state.SetLabel(formula.toStdString());
    for (auto _ : state)
        typeset(formula);
}

void BM_Floor(benchmark::State& state)
{
    const QString formula = formulas().value(int(state.range(0)));
    const QSize size = pictureSize(formula);
    const QFont font = xitsFont();
    state.SetLabel(formula.toStdString());
    for (auto _ : state)
        drawPlain(formula, size, font);
}

// The whole set at once: the ratio of these two is the engine's cost.
void BM_TypesetAll(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QString& formula : formulas())
            typeset(formula);
    }
}

void BM_FloorAll(benchmark::State& state)
{
    QVector<QSize> sizes;
    for (const QString& formula : formulas())
        sizes << pictureSize(formula);
    const QFont font = xitsFont();
    for (auto _ : state) {
        for (int i = 0; i < formulas().size(); ++i)
            drawPlain(formulas().at(i), sizes.at(i), font);
    }
}

// A formula of exactly `length` characters built from the harder set.
QString formulaOfLength(int length)
{
    const QStringList set = readSet("harder.txt");
    QString text = "$";
    for (int i = 0; text.size() < length; ++i)
        text += set.at(i % set.size()).mid(1) + " + ";
    text.truncate(length);
    return text;
}

void BM_Parse(benchmark::State& state)
{
    // Two texts that differ in their last character, so that every parse
    // reads its text (parsing the same text again keeps the tree).
    const QString a = formulaOfLength(int(state.range(0)));
    const QString b = a.left(a.size() - 1) + "y";
    VelQTmathText engine;
    engine.selectXitsFonts();
    bool flip = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.parse(flip ? a : b));
        flip = !flip;
    }
    state.SetComplexityN(state.range(0));
}

void registerPerFormula()
{
    for (int i = 0; i < formulas().size(); ++i) {
        benchmark::RegisterBenchmark("BM_Typeset", BM_Typeset)->Arg(i)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_Floor", BM_Floor)->Arg(i)->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

BENCHMARK(BM_TypesetAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (formulas().isEmpty()) {
        fprintf(stderr, "no formulas found in %s\n", PENSATO_FORMULA_SETS);
        return 1;
    }
    registerPerFormula();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
