#include "scene/FormulaDrawing.h"

#include "math/VelQTmathText.h"
#include "scene/OutlineRecorder.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

namespace {

// Wider than any picture Qt paints: a formula past it makes no picture.
const double maxSide = 32767;

} // namespace

FormulaDrawing::FormulaDrawing() = default;

FormulaDrawing::~FormulaDrawing() = default;
FormulaDrawing::FormulaDrawing(FormulaDrawing &&) noexcept = default;
FormulaDrawing &FormulaDrawing::operator=(FormulaDrawing &&) noexcept = default;

void FormulaDrawing::setFormula(const QString &text, double pointSize)
{
    m_text = text;
    m_pointSize = pointSize;
    m_outlines.clear();
    m_size = QSize();
    m_engine = std::make_unique<VelQTmathText>();
    m_engine->setFontSize(pointSize);
    m_engine->selectXitsFonts();
    m_engine->parse(text);
    // Measured without a device, drawn on one of a pixmap's resolution:
    // what renderFormula() does, so that the outlines fall on its pixels.
    QPainter measuring;
    const QSizeF measured = m_engine->getSize(measuring);
    // Written so that a NaN size makes no drawing either.
    if (!(measured.width() >= 1 && measured.height() >= 1 && measured.width() <= maxSide
          && measured.height() <= maxSide))
        return;
    const QSize size(int(measured.width()), int(measured.height()));
    OutlineRecorder recorder(size);
    QPainter painter(&recorder);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    m_engine->draw(painter, Qt::AlignCenter, QRectF(QPointF(), size));
    painter.end();
    m_outlines = recorder.takeOutlines();
    if (!m_outlines.isEmpty())
        m_size = size;
}

QPixmap FormulaDrawing::enginePicture() const
{
    return isEmpty() ? QPixmap() : enginePicture(*m_engine, m_size);
}

QPixmap FormulaDrawing::enginePicture(VelQTmathText &engine, const QSize &size)
{
    QPixmap pixmap(size);
    if (pixmap.isNull())
        return pixmap;
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(QPointF(), size));
    return pixmap;
}

void FormulaDrawing::clear()
{
    m_text.clear();
    m_pointSize = defaultPointSize;
    m_engine.reset();
    m_outlines.clear();
    m_size = QSize();
}

QStringList FormulaDrawing::errors() const
{
    return m_engine ? m_engine->getErrors() : QStringList();
}

void FormulaDrawing::paint(QPainter *painter, const QRectF &target) const
{
    if (isEmpty() || target.isEmpty())
        return;
    const qreal scale = qMin(target.width() / m_size.width(), target.height() / m_size.height());
    painter->save();
    painter->translate(target.center());
    painter->scale(scale, scale);
    painter->translate(-m_size.width() / 2.0, -m_size.height() / 2.0);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    for (const FilledOutline &outline : m_outlines)
        painter->fillPath(outline.path, outline.brush);
    painter->restore();
}

QPixmap FormulaDrawing::picture(const QSizeF &target, qreal scale) const
{
    QPixmap pixmap(qCeil(target.width() * scale), qCeil(target.height() * scale));
    if (pixmap.isNull())
        return pixmap;
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(scale, scale);
    paint(&painter, QRectF(QPointF(), target));
    return pixmap;
}
