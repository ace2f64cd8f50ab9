// Feeds arbitrary bytes to the formula engine as the formula editor does:
// "$" + the text, 20 points, XITS, measured with an inactive painter, drawn
// into a transparent picture, and written as HTML. Nothing may crash, hang
// or blow up memory, and the sizes must stay finite.
//
// The bytes are read twice: as UTF-8 (what a user types) and as raw UTF-16
// (so that lone surrogates and every code unit reach the tokenizer).

#include "math/VelQTmathText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void typeset(const QString &text)
{
    VelQTmathText engine;
    engine.setFontSize(20);
    engine.selectXitsFonts();
    check(engine.parse("$" + text));

    QPainter measuring;
    double width = 0, ascent = 0, descent = 0, strikeout = 0;
    engine.measureDetail(measuring, width, ascent, descent, strikeout);
    check(std::isfinite(width) && std::isfinite(ascent) && std::isfinite(descent) && std::isfinite(strikeout));
    const QSizeF size = engine.getSize(measuring);
    check(std::isfinite(size.width()) && std::isfinite(size.height()));

    // The editor's picture, but small: drawing outside it still runs every
    // node's drawing code, and a huge formula does not cost a huge picture.
    QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, image.width(), image.height()));
    engine.draw(painter, 0.0, 20.0, true); // with the debug boxes
    painter.end();

    bool ok = false;
    engine.toHtml(&ok, 20);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The editor runs an event loop: Qt's font cache trims itself on a
    // timer, which would otherwise never fire here and look like a leak.
    static unsigned inputs = 0;
    if (++inputs % 256 == 0)
        QCoreApplication::processEvents();

    const char *bytes = reinterpret_cast<const char *>(data);
    typeset(QString::fromUtf8(bytes, static_cast<int>(size)));
    // Raw code units, unchecked: lone surrogates and all.
    QString units(static_cast<int>(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), bytes, size / 2 * 2);
    typeset(units);
    return 0;
}
