#include "math/VelQTmathText.h"

#include "math/MTlayout.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

// Fonts and text metrics shared by every engine of the process. Formulas
// keep measuring the same few texts ("M", "x", "A", the glyphs of their
// letters) in the same few fonts; a new engine per formula would otherwise
// shape them all again. The caches are never destroyed, so no QFont outlives
// the font system at exit. Only the GUI thread uses engines.

namespace {

struct FontKey
{
    QString family;
    double size;
    int flags;
    bool operator==(const FontKey& o) const { return size == o.size && flags == o.flags && family == o.family; }
};

uint qHash(const FontKey& key, uint seed = 0)
{
    return ::qHash(key.family, seed) ^ ::qHash(key.size, seed) ^ uint(key.flags);
}

// FontLines keeps the x-height, strike-out position and line width of a
// font (no text) as x, y and width.
enum MetricKind { TightBounds, TextBounds, TextAdvance, FontLines, GlyphRuns };

// What QPainter::drawText() would shape at every call: the glyphs, placed
// from the top of the line.
struct Shaped
{
    QList<QGlyphRun> runs;
    double ascent = 0;
};

struct MetricKey
{
    QFont font;
    QString text;
    int dpi;
    MetricKind kind;
    bool operator==(const MetricKey& o) const
    {
        return kind == o.kind && dpi == o.dpi && text == o.text && font == o.font;
    }
};

uint qHash(const MetricKey& key, uint seed = 0)
{
    return ::qHash(key.font, seed) ^ ::qHash(key.text, seed) ^ uint(key.dpi) ^ (uint(key.kind) << 24);
}

// Long formulas bring many distinct texts; past this the cache starts anew.
constexpr int maxEntries = 20000;

template<class Key, class Value>
QHash<Key, Value>& processCache()
{
    static auto* cache = new QHash<Key, Value>();
    return *cache;
}

QRectF metric(const QFont& font, const QString& text, QPaintDevice* device, MetricKind kind)
{
    auto& cache = processCache<MetricKey, QRectF>();
    const MetricKey key{font, text, device ? device->logicalDpiY() : 0, kind};
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const QFontMetricsF fm(font, device);
    QRectF value;
    switch (kind) {
    case TightBounds: value = fm.tightBoundingRect(text); break;
    case TextBounds: value = fm.boundingRect(text); break;
    case TextAdvance: value = QRectF(0, 0, fm.horizontalAdvance(text), 0); break;
    case FontLines: value = QRectF(fm.xHeight(), fm.strikeOutPos(), fm.lineWidth(), 0); break;
    case GlyphRuns: break; // not a rectangle: see drawText()
    }
    if (cache.size() >= maxEntries)
        cache.clear();
    cache.insert(key, value);
    return value;
}

} // namespace

QFont VelQTmathText::font(const QString& family, const MTstyle& env) const
{
    auto& cache = processCache<FontKey, QFont>();
    const double size = MTlayout::boundedFontSize(env.fontSize);
    const int flags = int(env.bold) | int(env.italic) << 1 | int(env.underlined) << 2 | int(env.overline) << 3
        | int(env.strike) << 4 | int(env.smallCaps) << 5;
    const FontKey key{family, size, flags};
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    QFont f;
    if (!family.isEmpty())
        f.setFamily(family);
    f.setWeight(env.bold ? QFont::Bold : QFont::Normal);
    f.setItalic(env.italic);
    f.setUnderline(env.underlined);
    f.setOverline(env.overline);
    f.setStrikeOut(env.strike);
    f.setCapitalization(env.smallCaps ? QFont::SmallCaps : QFont::MixedCase);
    f.setPointSizeF(size);
    // A missing glyph must show as missing, not silently come from another family.
    f.setStyleStrategy(QFont::NoFontMerging);
    if (cache.size() >= maxEntries)
        cache.clear();
    cache.insert(key, f);
    return f;
}

QString VelQTmathText::mathCompanionFamily(const QString& family) const
{
    auto& cache = processCache<QString, QString>();
    const auto found = cache.constFind(family);
    if (found != cache.constEnd())
        return *found;
    const QString companion = family + QLatin1String(" Math");
    const QString result = QFontDatabase().families().contains(companion) ? companion : QString();
    cache.insert(family, result);
    return result;
}

QRectF VelQTmathText::tightBounds(const QFont& font, const QString& text, QPaintDevice* device) const
{
    return metric(font, text, device, TightBounds);
}

QRectF VelQTmathText::textBounds(const QFont& font, const QString& text, QPaintDevice* device) const
{
    return metric(font, text, device, TextBounds);
}

double VelQTmathText::textAdvance(const QFont& font, const QString& text, QPaintDevice* device) const
{
    return metric(font, text, device, TextAdvance).width();
}

double VelQTmathText::xHeight(const QFont& font, QPaintDevice* device) const
{
    return metric(font, QString(), device, FontLines).x();
}

double VelQTmathText::strikeOutPos(const QFont& font, QPaintDevice* device) const
{
    return metric(font, QString(), device, FontLines).y();
}

double VelQTmathText::lineWidth(const QFont& font, QPaintDevice* device) const
{
    return metric(font, QString(), device, FontLines).width();
}

double VelQTmathText::em(double pointSize, QPaintDevice* device) const
{
    // Without a device, metrics are those of the default screen.
    static const double defaultDpi = QFontMetricsF(QFont()).fontDpi();
    return pointSize * (device ? device->logicalDpiY() : defaultDpi) / 72;
}

double VelQTmathText::mathAxis(const QString& family) const
{
    auto& cache = processCache<QString, double>();
    const auto found = cache.constFind(family);
    if (found != cache.constEnd())
        return *found;
    MTstyle large;
    large.fontSize = 100;
    const QFont f = font(family, large);
    const QRectF plus = QFontMetricsF(f).tightBoundingRect(QStringLiteral("+"));
    const double axis = -(plus.top() + plus.bottom()) / 2 / em(f.pointSizeF(), nullptr);
    cache.insert(family, axis);
    return axis;
}

void VelQTmathText::drawText(QPainter& painter, const QPointF& origin, const QFont& font, const QString& text) const
{
    auto& cache = processCache<MetricKey, Shaped>();
    QPaintDevice* device = painter.device();
    const MetricKey key{font, text, device ? device->logicalDpiY() : 0, GlyphRuns};
    auto found = cache.constFind(key);
    if (found == cache.constEnd()) {
        QTextLayout layout(text, font, device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        Shaped shaped;
        if (line.isValid()) {
            shaped.runs = line.glyphRuns();
            shaped.ascent = line.ascent();
        }
        if (cache.size() >= maxEntries)
            cache.clear();
        found = cache.insert(key, shaped);
    }
    for (const QGlyphRun& run : found->runs)
        painter.drawGlyphRun(origin - QPointF(0, found->ascent), run);
}

void VelQTmathText::forgetFontMetrics()
{
    processCache<FontKey, QFont>().clear();
    processCache<MetricKey, QRectF>().clear();
    processCache<QString, QString>().clear();
    processCache<QString, double>().clear();
    processCache<MetricKey, Shaped>().clear();
}
