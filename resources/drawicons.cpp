// Draws the program's icons into a folder at build time, so that no binary
// picture lives in the repository.
//
//   drawicons <output folder> <[folder/]name.png|svg>...
//
// Every named picture must be one this program knows how to draw; an unknown
// name is an error, so the build fails instead of shipping a missing icon.
// "hicolor/48x48/apps/pensato.png" draws pensato.png at 48 pixels, and
// "hicolor/scalable/apps/pensato.svg" as a scalable picture.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

const QColor ink(0x2b, 0x35, 0x45);
const QColor blue(0x2f, 0x7f, 0xd8);
const QColor lightBlue(0xbf, 0xdc, 0xf7);
const QColor red(0xd9, 0x36, 0x2b);
const QColor green(0x2e, 0x9e, 0x48);
const QColor yellow(0xf2, 0xc1, 0x2e);
const QColor paper(0xfd, 0xfd, 0xfd);

QPen inkPen(qreal width, const QColor &color = ink)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A filled triangular head at `tip`, pointing along the direction from
// `from` to `tip`.
void drawArrowHead(QPainter &p, QPointF from, QPointF tip, qreal size, const QColor &color)
{
    const QLineF axis(tip, from);
    const qreal angle = qDegreesToRadians(axis.angle());
    const qreal spread = qDegreesToRadians(28.0);
    const QPointF a = tip + QPointF(qCos(angle + spread), -qSin(angle + spread)) * size;
    const QPointF b = tip + QPointF(qCos(angle - spread), -qSin(angle - spread)) * size;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({tip, a, b}));
    p.restore();
}

// A sheet of paper with a folded top-right corner.
void drawPage(QPainter &p, const QRectF &r, const QColor &fill = paper)
{
    const qreal fold = r.width() * 0.3;
    QPolygonF outline({r.topLeft(), QPointF(r.right() - fold, r.top()),
                       QPointF(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()});
    p.setPen(inkPen(2.5));
    p.setBrush(fill);
    p.drawPolygon(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(r.right() - fold, r.top()),
                              QPointF(r.right() - fold, r.top() + fold),
                              QPointF(r.right(), r.top() + fold)}));
}

void drawTextLines(QPainter &p, const QRectF &r, int count)
{
    p.setPen(inkPen(2.0, QColor(0x8a, 0x94, 0xa3)));
    const qreal step = r.height() / count;
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + step * (i + 0.5);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right() - (i % 2) * r.width() * 0.3, y));
    }
}

// Text as large as fits `box`, centred in it.
void drawFittedText(QPainter &p, const QRectF &box, const QString &text, QFont font,
                    const QColor &color = ink)
{
    font.setPixelSize(100);
    const QRectF natural = QFontMetricsF(font).tightBoundingRect(text);
    const qreal scale = qMin(box.width() / natural.width(), box.height() / natural.height());
    QPainterPath path;
    path.addText(0, 0, font, text);
    p.save();
    p.translate(box.center());
    p.scale(scale, scale);
    p.translate(-natural.center());
    p.fillPath(path, color);
    p.restore();
}

QFont serifFont(bool italic = false, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setItalic(italic);
    font.setBold(bold);
    return font;
}

QFont sansFont(bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

// Icons drawn on a square canvas of this many pixels.
const int canvas = 64;

void drawAlignment(QPainter &p, Qt::Alignment alignment)
{
    p.setPen(inkPen(5));
    const qreal widths[] = {48, 32, 48, 24, 40};
    for (int i = 0; i < 5; ++i) {
        const qreal w = alignment == Qt::AlignJustify ? 48 : widths[i];
        qreal x = 8;
        if (alignment == Qt::AlignRight)
            x = 56 - w;
        else if (alignment == Qt::AlignHCenter)
            x = 32 - w / 2;
        const qreal y = 10 + i * 11;
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
    }
}

void drawFunctionName(QPainter &p, const QString &name)
{
    drawFittedText(p, QRectF(4, 16, 56, 32), name, serifFont());
}

void drawWhiteGrid(QImage &image)
{
    image.fill(Qt::white);
    for (int i = 0; i < image.width(); ++i) {
        image.setPixelColor(i, 63, Qt::black);
        image.setPixelColor(64, i, Qt::black);
    }
}

void drawGrayGrid(QImage &image)
{
    const QColor silver(0xc0, 0xc0, 0xc0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, (x < 64) == (y < 64) ? QColor(Qt::white) : silver);
}

void drawStacking(QPainter &p, bool frontOnTop)
{
    const QRectF back(6, 6, 34, 34);
    const QRectF front(24, 24, 34, 34);
    auto square = [&p](const QRectF &r, const QColor &fill) {
        p.setPen(inkPen(2.5));
        p.setBrush(fill);
        p.drawRect(r);
    };
    if (frontOnTop) {
        square(back, paper);
        square(front, blue);
    } else {
        square(back, blue);
        square(front, paper);
        // The hidden part of the blue square shows through as a dashed edge.
        p.setPen(QPen(ink, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(back.intersected(front));
    }
}

// A circular arrow turning by `sweep` degrees (counter-clockwise on screen
// when positive) with a label in the middle. Item rotations turn clockwise
// on screen, so "90°" gets a negative sweep.
void drawRotation(QPainter &p, qreal sweep, const QString &label)
{
    const QRectF circle(8, 8, 48, 48);
    p.setPen(inkPen(4, blue));
    p.setBrush(Qt::NoBrush);
    const qreal start = 90;
    const qreal span = sweep == 0 ? 300 : sweep;
    p.drawArc(circle, int(start * 16), int(span * 16));
    const qreal end = qDegreesToRadians(start + span);
    const QPointF tip = circle.center() + QPointF(qCos(end), -qSin(end)) * 24;
    const qreal back = qDegreesToRadians(start + span - (span > 0 ? 25 : -25));
    const QPointF from = circle.center() + QPointF(qCos(back), -qSin(back)) * 24;
    drawArrowHead(p, from, tip, 14, blue);
    drawFittedText(p, QRectF(17, 23, 30, 18), label, sansFont());
}

// A hooked arrow going back (undo) or, mirrored, forward (redo).
void drawHistoryStep(QPainter &p, bool forward)
{
    if (forward) {
        p.translate(64, 0);
        p.scale(-1, 1);
    }
    QPainterPath hook;
    hook.moveTo(54, 52);
    hook.cubicTo(56, 30, 44, 20, 24, 22);
    p.setPen(QPen(blue, 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    drawArrowHead(p, QPointF(30, 22), QPointF(8, 22), 18, blue);
}

void drawChainLink(QPainter &p, const QPointF &centre, qreal angle, const QColor &color)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(inkPen(6, color));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(-15, -8, 30, 16), 8, 8);
    p.restore();
}

void drawPicture(QPainter &p, const QRectF &frame)
{
    p.setPen(inkPen(2.5));
    p.setBrush(lightBlue);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(yellow);
    const qreal unit = frame.width() / 10;
    p.drawEllipse(QPointF(frame.left() + 7 * unit, frame.top() + 2.8 * unit), 1.3 * unit, 1.3 * unit);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({QPointF(frame.left() + 0.2 * unit, frame.bottom() - 0.2 * unit),
                             QPointF(frame.left() + 3.5 * unit, frame.top() + 3.5 * unit),
                             QPointF(frame.left() + 6 * unit, frame.bottom() - 2.5 * unit),
                             QPointF(frame.left() + 7.5 * unit, frame.top() + 5.5 * unit),
                             QPointF(frame.right() - 0.2 * unit, frame.bottom() - 0.2 * unit)}));
}

void drawFloppy(QPainter &p)
{
    p.setPen(inkPen(2.5));
    p.setBrush(blue);
    p.drawPolygon(QPolygonF({QPointF(8, 8), QPointF(48, 8), QPointF(56, 16),
                             QPointF(56, 56), QPointF(8, 56)}));
    p.setBrush(paper);
    p.drawRect(QRectF(16, 8, 28, 16));
    p.setBrush(ink);
    p.drawRect(QRectF(34, 11, 6, 10));
    p.setBrush(paper);
    p.drawRect(QRectF(14, 34, 36, 22));
}

void drawPencil(QPainter &p, const QPointF &tip, qreal length, qreal angle)
{
    p.save();
    p.translate(tip);
    p.rotate(angle);
    p.setPen(inkPen(2));
    p.setBrush(yellow);
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(8, -4), QPointF(length, -4),
                             QPointF(length, 4), QPointF(8, 4)}));
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(3, -1.5), QPointF(3, 1.5)}));
    p.restore();
}

// A magnifying glass: the lens centred at (26, 26), its handle to the
// bottom right.
void drawMagnifier(QPainter &p)
{
    p.setPen(QPen(ink, 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(42, 42), QPointF(57, 57));
    p.setPen(inkPen(4));
    p.setBrush(lightBlue);
    p.drawEllipse(QPointF(26, 26), 20, 20);
}

void drawZoomSign(QPainter &p, bool plus)
{
    p.setPen(QPen(blue, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 26), QPointF(36, 26));
    if (plus)
        p.drawLine(QPointF(26, 16), QPointF(26, 36));
}

// The program's own icon: a small mind map on a tile.
void drawApplicationIcon(QPainter &p)
{
    p.setPen(inkPen(2.5));
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    const QPointF centre(32, 33);
    const struct { QPointF at; QColor fill; } branches[] = {
        {{15, 15}, yellow}, {{50, 14}, green}, {{51, 50}, red}, {{13, 50}, lightBlue}};
    p.setPen(inkPen(3));
    for (const auto &branch : branches)
        p.drawLine(centre, branch.at);
    p.setPen(inkPen(2.5));
    for (const auto &branch : branches) {
        p.setBrush(branch.fill);
        p.drawEllipse(branch.at, 7, 7);
    }
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(centre.x() - 14, centre.y() - 9, 28, 18), 6, 6);
}

using Drawing = std::function<void(QPainter &)>;

// Pictures with a size of their own; the rest are canvas x canvas.
QSize sizeOf(const QString &name)
{
    // The colour buttons cut out 42 x 43 pixels of these.
    if (name == "textpointer.png" || name == "floodfill.png" || name == "linecolor.png")
        return QSize(42, 43);
    return QSize(canvas, canvas);
}

QHash<QString, Drawing> drawings()
{
    QHash<QString, Drawing> d;
    d["align-left.png"] = [](QPainter &p) { drawAlignment(p, Qt::AlignLeft); };
    d["align-center.png"] = [](QPainter &p) { drawAlignment(p, Qt::AlignHCenter); };
    d["align-right.png"] = [](QPainter &p) { drawAlignment(p, Qt::AlignRight); };
    d["align-justify.png"] = [](QPainter &p) { drawAlignment(p, Qt::AlignJustify); };
    for (const char *name : {"sin", "cos", "tan", "arcsin", "arccos", "arctan", "ln", "log"}) {
        const QString text = QString::fromLatin1(name);
        d[text + ".png"] = [text](QPainter &p) { drawFunctionName(p, text); };
    }
    // The usual sign of transparency: a light checkerboard in a frame.
    d["blank.png"] = [](QPainter &p) {
        const QRectF frame(6, 6, 52, 52);
        const qreal cell = frame.width() / 4;
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column) {
                p.setBrush((row + column) % 2 ? QColor(0xcc, 0xcc, 0xcc) : paper);
                p.drawRect(QRectF(frame.left() + column * cell, frame.top() + row * cell, cell, cell));
            }
        p.setPen(inkPen(2.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
    };
    d["bold.png"] = [](QPainter &p) { drawFittedText(p, QRectF(14, 8, 36, 48), "B", sansFont(true)); };
    d["italic.png"] = [](QPainter &p) {
        drawFittedText(p, QRectF(16, 8, 32, 48), "I", serifFont(true, true));
    };
    d["underline.png"] = [](QPainter &p) {
        drawFittedText(p, QRectF(14, 4, 36, 42), "U", sansFont(true));
        p.setPen(inkPen(5));
        p.drawLine(QPointF(12, 56), QPointF(52, 56));
    };
    d["font.png"] = [](QPainter &p) {
        drawFittedText(p, QRectF(4, 8, 34, 48), "A", serifFont(false, true));
        drawFittedText(p, QRectF(38, 26, 22, 30), "a", serifFont(true), blue);
    };
    d["bringtofront.png"] = [](QPainter &p) { drawStacking(p, true); };
    d["sendtoback.png"] = [](QPainter &p) { drawStacking(p, false); };
    d["center_view.png"] = [](QPainter &p) {
        p.setPen(inkPen(3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(32, 32), 12, 12);
        p.setBrush(red);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(32, 32), 4.5, 4.5);
        p.setPen(inkPen(3));
        const QPointF ends[] = {{32, 2}, {32, 62}, {2, 32}, {62, 32}};
        const QPointF starts[] = {{32, 16}, {32, 48}, {16, 32}, {48, 32}};
        for (int i = 0; i < 4; ++i) {
            p.drawLine(ends[i], starts[i]);
            drawArrowHead(p, ends[i], starts[i], 9, ink);
        }
    };
    d["colors.png"] = [](QPainter &p) {
        const QRectF disc(6, 6, 52, 52);
        for (int i = 0; i < 12; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromHsv(i * 30, 220, 235));
            p.drawPie(disc, i * 30 * 16, 30 * 16);
        }
        p.setPen(inkPen(2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(disc);
        p.setBrush(paper);
        p.drawEllipse(QPointF(32, 32), 9, 9);
    };
    d["convert_img.png"] = [](QPainter &p) {
        drawPage(p, QRectF(6, 4, 30, 38));
        drawPicture(p, QRectF(26, 28, 34, 30));
        p.setPen(inkPen(3.5, blue));
        p.drawLine(QPointF(12, 52), QPointF(20, 52));
        drawArrowHead(p, QPointF(12, 52), QPointF(26, 52), 9, blue);
    };
    d["convert_pdf.png"] = [](QPainter &p) {
        drawPage(p, QRectF(10, 4, 44, 56));
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawRoundedRect(QRectF(4, 30, 44, 22), 4, 4);
        drawFittedText(p, QRectF(8, 34, 36, 14), "PDF", sansFont(true), Qt::white);
    };
    d["convert_svg.png"] = [](QPainter &p) {
        drawPage(p, QRectF(10, 4, 44, 56));
        // A curve through its control points, as a drawing program shows one.
        QPainterPath curve(QPointF(16, 22));
        curve.cubicTo(QPointF(22, 6), QPointF(38, 30), QPointF(48, 12));
        p.setPen(inkPen(2.5, blue));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(QPointF(16, 22), 3, 3);
        p.drawEllipse(QPointF(48, 12), 3, 3);
        p.setBrush(green);
        p.drawRoundedRect(QRectF(4, 30, 44, 22), 4, 4);
        drawFittedText(p, QRectF(8, 34, 36, 14), "SVG", sansFont(true), Qt::white);
    };
    d["copy.png"] = [](QPainter &p) {
        drawPage(p, QRectF(6, 4, 34, 42));
        drawPage(p, QRectF(24, 18, 34, 42));
        drawTextLines(p, QRectF(30, 34, 22, 20), 3);
    };
    d["paste.png"] = [](QPainter &p) {
        p.setPen(inkPen(2.5));
        p.setBrush(QColor(0xc8, 0x8f, 0x4e));
        p.drawRoundedRect(QRectF(6, 8, 40, 50), 4, 4);
        p.setBrush(QColor(0x9a, 0xa4, 0xb0));
        p.drawRoundedRect(QRectF(16, 3, 20, 10), 3, 3);
        drawPage(p, QRectF(26, 22, 32, 38));
        drawTextLines(p, QRectF(31, 36, 20, 18), 3);
    };
    d["delete.png"] = [](QPainter &p) {
        p.setPen(QPen(red, 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(50, 50));
        p.drawLine(QPointF(50, 14), QPointF(14, 50));
    };
    d["exit.png"] = [](QPainter &p) {
        p.setPen(QPen(red, 7, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 12, 44, 44), 120 * 16, 300 * 16);
        p.drawLine(QPointF(32, 6), QPointF(32, 30));
    };
    d["floodfill.png"] = [](QPainter &p) {
        // Bucket tilted to the right, pouring paint on its left.
        p.save();
        p.translate(22, 20);
        p.rotate(-30);
        p.setPen(inkPen(2.5));
        p.setBrush(QColor(0x9a, 0xa4, 0xb0));
        p.drawPolygon(QPolygonF({QPointF(-12, -8), QPointF(12, -8), QPointF(9, 16), QPointF(-9, 16)}));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-10, -20, 20, 22), 0, 180 * 16);
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        QPainterPath drop;
        drop.moveTo(8, 14);
        drop.cubicTo(2, 26, 0, 32, 6, 36);
        drop.cubicTo(12, 36, 12, 28, 8, 14);
        p.drawPath(drop);
    };
    d["linecolor.png"] = [](QPainter &p) {
        p.setPen(inkPen(4, blue));
        p.drawLine(QPointF(4, 38), QPointF(20, 30));
        drawPencil(p, QPointF(20, 30), 30, -38);
    };
    d["img.png"] = [](QPainter &p) { drawPicture(p, QRectF(4, 10, 56, 44)); };
    d["linepointer.png"] = [](QPainter &p) {
        p.setPen(inkPen(5));
        p.drawLine(QPointF(8, 56), QPointF(46, 18));
        drawArrowHead(p, QPointF(8, 56), QPointF(58, 6), 20, ink);
    };
    d["link.png"] = [](QPainter &p) {
        drawChainLink(p, QPointF(22, 42), -45, ink);
        drawChainLink(p, QPointF(42, 22), -45, blue);
    };
    d["unlink.png"] = [](QPainter &p) {
        drawChainLink(p, QPointF(17, 47), -45, ink);
        drawChainLink(p, QPointF(47, 17), -45, blue);
        p.setPen(inkPen(4, red));
        p.drawLine(QPointF(26, 26), QPointF(20, 20));
        p.drawLine(QPointF(38, 38), QPointF(44, 44));
        p.drawLine(QPointF(36, 24), QPointF(42, 18));
        p.drawLine(QPointF(24, 36), QPointF(18, 42));
    };
    d["new.png"] = [](QPainter &p) {
        drawPage(p, QRectF(10, 4, 40, 54));
        p.setPen(QPen(green, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(48, 38), QPointF(48, 60));
        p.drawLine(QPointF(37, 49), QPointF(59, 49));
    };
    d["open.png"] = [](QPainter &p) {
        p.setPen(inkPen(2.5));
        p.setBrush(QColor(0xd9, 0xa4, 0x41));
        p.drawPolygon(QPolygonF({QPointF(4, 14), QPointF(22, 14), QPointF(27, 20),
                                 QPointF(52, 20), QPointF(52, 54), QPointF(4, 54)}));
        p.setBrush(yellow);
        p.drawPolygon(QPolygonF({QPointF(4, 54), QPointF(14, 30), QPointF(60, 30), QPointF(52, 54)}));
    };
    d["pensato.png"] = drawApplicationIcon;
    d["pi.png"] = [](QPainter &p) {
        drawFittedText(p, QRectF(8, 10, 48, 44), QString(QChar(0x03c0)), serifFont(true));
    };
    d["pointer.png"] = [](QPainter &p) {
        p.setPen(inkPen(2.5));
        p.setBrush(paper);
        p.drawPolygon(QPolygonF({QPointF(16, 4), QPointF(16, 50), QPointF(27, 40),
                                 QPointF(35, 58), QPointF(42, 55), QPointF(34, 37),
                                 QPointF(49, 37)}));
    };
    d["reset.png"] = [](QPainter &p) {
        p.setPen(inkPen(6, green));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 10, 44, 44), 100 * 16, 270 * 16);
        drawArrowHead(p, QPointF(45, 12), QPointF(32, 4), 16, green);
    };
    d["undo.png"] = [](QPainter &p) { drawHistoryStep(p, false); };
    d["redo.png"] = [](QPainter &p) { drawHistoryStep(p, true); };
    d["rotation_0.png"] = [](QPainter &p) { drawRotation(p, 0, QString::fromUtf8("0°")); };
    d["rotation_90.png"] = [](QPainter &p) { drawRotation(p, -270, QString::fromUtf8("90°")); };
    d["rotation_-90.png"] = [](QPainter &p) { drawRotation(p, 270, QString::fromUtf8("-90°")); };
    d["rotation_180.png"] = [](QPainter &p) { drawRotation(p, 180, QString::fromUtf8("180°")); };
    d["save.png"] = [](QPainter &p) { drawFloppy(p); };
    d["save_as.png"] = [](QPainter &p) {
        p.save();
        p.scale(0.85, 0.85);
        drawFloppy(p);
        p.restore();
        drawPencil(p, QPointF(34, 60), 34, -50);
    };
    d["zoom_in.png"] = [](QPainter &p) {
        drawMagnifier(p);
        drawZoomSign(p, true);
    };
    d["zoom_out.png"] = [](QPainter &p) {
        drawMagnifier(p);
        drawZoomSign(p, false);
    };
    d["zoom_reset.png"] = [](QPainter &p) {
        drawMagnifier(p);
        drawFittedText(p, QRectF(13, 19, 26, 14), QStringLiteral("1:1"), sansFont(true), blue);
    };
    // Corners of the window around a few items.
    d["zoom_fit.png"] = [](QPainter &p) {
        p.setPen(inkPen(5));
        p.setBrush(Qt::NoBrush);
        const qreal low = 5, high = 59, leg = 14;
        for (const qreal x : {low, high}) {
            for (const qreal y : {low, high}) {
                const qreal dx = x == low ? leg : -leg;
                const qreal dy = y == low ? leg : -leg;
                p.drawPolyline(QPolygonF({QPointF(x + dx, y), QPointF(x, y), QPointF(x, y + dy)}));
            }
        }
        p.setPen(inkPen(2.5));
        p.setBrush(blue);
        p.drawRect(QRectF(17, 19, 15, 15));
        p.setBrush(yellow);
        p.drawEllipse(QPointF(39, 38), 8, 8);
    };
    d["textpointer.png"] = [](QPainter &p) {
        drawFittedText(p, QRectF(2, 6, 26, 32), "A", serifFont(false, true));
        // An I-beam text cursor beside the letter.
        p.setPen(inkPen(2.5, blue));
        p.drawLine(QPointF(34, 6), QPointF(34, 38));
        p.drawLine(QPointF(29, 4), QPointF(34, 6));
        p.drawLine(QPointF(39, 4), QPointF(34, 6));
        p.drawLine(QPointF(29, 40), QPointF(34, 38));
        p.drawLine(QPointF(39, 40), QPointF(34, 38));
    };
    return d;
}

// Pictures whose every pixel is fixed: the two background grids, tiled by
// the scene background brush.
using PixelDrawing = void (*)(QImage &);

QHash<QString, PixelDrawing> pixelDrawings()
{
    return {{"background2.png", drawWhiteGrid}, {"background3.png", drawGrayGrid}};
}

// A pixel size asked for by a folder of the path, as in an icon theme's
// "48x48/apps/pensato.png"; 0 when no folder says one.
int sizeOfFolder(const QString &path)
{
    static const QRegularExpression themeSize(QStringLiteral("(?:^|/)(\\d+)x\\1/"));
    const QRegularExpressionMatch match = themeSize.match(path);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QImage render(const QString &name, int size, bool *known)
{
    *known = true;
    const auto pixels = pixelDrawings();
    if (pixels.contains(name) && size == 0) {
        QImage image(127, 127, QImage::Format_RGB32);
        pixels.value(name)(image);
        return image;
    }
    const auto all = drawings();
    if (!all.contains(name)) {
        *known = false;
        return QImage();
    }
    QImage image(size ? QSize(size, size) : sizeOf(name), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    if (size)
        painter.scale(qreal(size) / canvas, qreal(size) / canvas);
    all.value(name)(painter);
    return image;
}

// The same drawing as a scalable picture.
bool writeSvg(const QString &name, const QString &path, bool *known)
{
    const auto all = drawings();
    *known = all.contains(name) && sizeOf(name) == QSize(canvas, canvas);
    if (!*known)
        return false;
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(canvas, canvas));
    svg.setViewBox(QRect(0, 0, canvas, canvas));
    svg.setTitle(QFileInfo(name).completeBaseName());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    all.value(name)(painter);
    return painter.end();
}

// Writes `name` under `out`: a picture named after its drawing, at the
// size of its folder when that is an icon theme's size; "x.svg" is the
// drawing "x.png" as a scalable picture.
bool writeIcon(const QDir &out, const QString &name, bool *known)
{
    const QFileInfo file(out.filePath(name));
    if (!file.dir().mkpath(QStringLiteral(".")))
        return false;
    if (file.suffix() == QLatin1String("svg"))
        return writeSvg(file.completeBaseName() + QStringLiteral(".png"), file.filePath(), known);
    const QImage image = render(file.fileName(), sizeOfFolder(name), known);
    return *known && image.save(file.filePath(), "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: drawicons <output folder> <[folder/]name.png|svg>...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        bool known = false;
        const bool written = writeIcon(out, QString::fromLocal8Bit(argv[i]), &known);
        if (!known) {
            std::fprintf(stderr, "drawicons: no drawing for %s\n", argv[i]);
            return 1;
        }
        if (!written) {
            std::fprintf(stderr, "drawicons: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
