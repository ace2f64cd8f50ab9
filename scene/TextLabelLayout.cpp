#include "scene/TextLabelLayout.h"

#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QtMath>

namespace {

// QTextDocument's default documentMargin, which the text items keep.
constexpr qreal documentMargin = 4;

// Unlimited room, for measuring a line's natural width.
constexpr qreal unlimitedWidth = 1e9;

// Lays the paragraph out in lines of `width` as the document's layout
// does; returns the height the paragraph takes and the widest line.
QSizeF layOutLines(QTextLayout &paragraph, qreal width)
{
    qreal y = 0;
    qreal bottom = 0;
    qreal widest = 0;
    paragraph.beginLayout();
    for (QTextLine line = paragraph.createLine(); line.isValid(); line = paragraph.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        widest = qMax(widest, line.naturalTextWidth());
        // The next line starts after the whole-pixel ascent, descent and
        // leading; the paragraph ends at the last line's own height.
        bottom = y + line.height();
        y += qCeil(line.ascent() + line.descent() + line.leading());
    }
    paragraph.endLayout();
    return QSizeF(widest, bottom);
}

} // namespace

TextLabelLayout::TextLabelLayout() = default;
TextLabelLayout::~TextLabelLayout() = default;

void TextLabelLayout::layOut(const QString &rawText, const QFont &font, int alignment)
{
    m_paragraphs.clear();
    const QVector<QStringRef> paragraphs = rawText.splitRef(QChar::ParagraphSeparator);
    m_paragraphs.reserve(size_t(paragraphs.size()));
    qreal naturalWidth = 0;
    for (const QStringRef &text : paragraphs) {
        auto paragraph = std::make_unique<QTextLayout>(text.toString(), font);
        paragraph->setCacheEnabled(true);
        if (font.underline() || font.strikeOut()) {
            // As a character format, as in the document: tabs are then
            // underlined and struck through like the other characters.
            QTextLayout::FormatRange whole;
            whole.start = 0;
            whole.length = text.size();
            whole.format.setFont(font);
            paragraph->setFormats({whole});
        }
        const Qt::LayoutDirection direction = text.isRightToLeft() ? Qt::RightToLeft
                                                                   : Qt::LeftToRight;
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // the document's
        option.setTextDirection(direction);
        // Right-to-left paragraphs swap left and right, as in the document.
        option.setAlignment(QStyle::visualAlignment(direction, Qt::Alignment(alignment)));
        paragraph->setTextOption(option);
        naturalWidth = qMax(naturalWidth, layOutLines(*paragraph, unlimitedWidth).width());
        m_paragraphs.push_back(std::move(paragraph));
    }
    // The lines again at the width of the longest one, which places them
    // for their alignment.
    qreal y = documentMargin;
    for (const auto &paragraph : m_paragraphs) {
        paragraph->setPosition(QPointF(documentMargin, y));
        y += layOutLines(*paragraph, naturalWidth).height();
    }
    m_size = QSizeF(naturalWidth + 2 * documentMargin, y + documentMargin);
}

void TextLabelLayout::draw(QPainter *painter, const QColor &color) const
{
    painter->setPen(color);
    for (const auto &paragraph : m_paragraphs)
        paragraph->draw(painter, QPointF());
}

QString TextLabelLayout::rawFromPlain(const QString &plain)
{
    QString raw = plain;
    raw.replace(QLatin1String("\r\n"), QString(QChar::ParagraphSeparator));
    raw.replace(QLatin1Char('\r'), QChar::ParagraphSeparator);
    raw.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    return raw;
}

QString TextLabelLayout::plainFromRaw(const QString &raw)
{
    QString plain = raw;
    for (QChar &c : plain) {
        switch (c.unicode()) {
        case 0xfdd0: // QTextBeginningOfFrame
        case 0xfdd1: // QTextEndOfFrame
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            c = QLatin1Char('\n');
            break;
        case QChar::Nbsp:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return plain;
}
