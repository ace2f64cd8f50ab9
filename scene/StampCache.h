#ifndef STAMPCACHE_H
#define STAMPCACHE_H

#include <QBrush>
#include <QCache>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <limits>

// Draws the outlines of shapes, arrow lines and arrow heads in a view from
// pictures of them kept by their look. A view paints the same figures at
// the same zoom at every repaint, and rasterising an antialiased outline
// costs tens of times more than blending its picture in place; on a grid
// of alike shapes one picture serves them all. Anything else (pictures,
// PDF, print) is painted directly, so exports do not change.
//
// The picture is placed to an eighth of a device pixel: its edges may be
// shaded a few levels apart from a direct painting.
class StampCache
{
    struct Stamp;

public:
    // How a figure's points are drawn: everything but the points that its
    // picture depends on.
    struct Look
    {
        int openCount;
        Qt::FillRule fillRule;
        QPen pen;
        QBrush brush;
        bool antialiased;
        qreal linear[4]; // m11, m12, m21, m22 of the device transform
        int eighthX, eighthY; // where the first point falls in its pixel
        bool operator==(const Look &other) const;
    };

    struct Key
    {
        QPolygonF points; // from the first point, rounded
        Look look;
        uint hash;
        bool operator==(const Key &other) const
        {
            return hash == other.hash && look == other.look && points == other.points;
        }
    };

    // One item's outline, kept by the item from one paint to the next: it
    // follows the item's points, at once while they are the very same,
    // and remembers the picture it was last drawn from while the cache
    // keeps it. A repaint then goes straight to the picture, which counts
    // on a zoomed-out view of thousands of items.
    class Figure
    {
    public:
        void follow(const QPolygonF &points);

    private:
        friend class StampCache;
        QPolygonF m_source;
        QPolygonF m_relative;
        uint m_hash = 0;
        Look m_lastLook{};
        const Stamp *m_lastStamp = nullptr;
        quint64 m_lastGeneration = 0;
    };

    // The cache of the program's views.
    static StampCache &shared();

    // Draws the first `openCount` of `points` as QPainter::drawPolyline()
    // and the others as drawPolygon() would, with the painter's pen and
    // brush: a shape's outline, a line, or an arrow's line and head in one
    // picture. `figure` follows the points.
    void draw(QPainter *painter, const QPolygonF &points, Figure &figure, int openCount,
              Qt::FillRule fillRule = Qt::OddEvenFill);

    // The pictures kept.
    int count() const { return m_stamps.count(); }

    // While it lives, painting makes at most `count` new pictures and paints
    // the figures past them directly, to be pictured at a later repaint.
    // Making a picture costs more than painting the figure once, so the
    // first repaint at a new zoom, where nearly every figure needs one,
    // would otherwise be slower than painting them all directly.
    class Ration
    {
    public:
        Ration(StampCache &cache, int count);
        ~Ration();
        Ration(const Ration &) = delete;
        Ration &operator=(const Ration &) = delete;

    private:
        StampCache &m_cache;
        int m_outerAllowance;
    };

private:
    // A picture and where its top-left pixel lies from the first point's.
    struct Stamp
    {
        QImage image;
        QPoint offset;
    };

    StampCache();
    const Stamp *find(const Key &key, qreal devicePixelRatio);
    static Stamp *render(const Key &key, qreal devicePixelRatio);

    QCache<Key, Stamp> m_stamps;
    // Counts the times pictures were let go: a figure's memory of its
    // picture holds while the count is the one it saw.
    quint64 m_generation = 1;
    int m_newAllowed = std::numeric_limits<int>::max();
};

inline uint qHash(const StampCache::Key &key, uint seed = 0) { return key.hash ^ seed; }

#endif // STAMPCACHE_H
