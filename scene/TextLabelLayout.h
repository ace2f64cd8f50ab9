#ifndef TEXTLABELLAYOUT_H
#define TEXTLABELLAYOUT_H

#include <QFont>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QTextLayout;

// A plain text laid out and drawn exactly as a text item's QTextDocument
// lays it out when the item is as wide as its longest line (no wrapping),
// without the document: one QTextLayout per paragraph, the document's
// margin around them. A text item that is not being edited shows itself
// through this, at a small part of a document's cost.
class TextLabelLayout
{
public:
    TextLabelLayout();
    ~TextLabelLayout();
    TextLabelLayout(const TextLabelLayout &) = delete;
    TextLabelLayout &operator=(const TextLabelLayout &) = delete;

    // The text as a QTextDocument holds it (toRawText(): paragraphs parted
    // by QChar::ParagraphSeparator), its default font and the alignment
    // of every paragraph (a Qt::Alignment value).
    void layOut(const QString &rawText, const QFont &font, int alignment);

    // The document's size: the longest line and the lines' height, with
    // the margin on every side.
    QSizeF size() const { return m_size; }

    // Draws the text in `color`, the item's origin at the painter's origin.
    void draw(QPainter *painter, const QColor &color) const;

    // What QTextDocument::setPlainText() keeps of a plain text, and what
    // QTextDocument::toPlainText() gives back of the kept text.
    static QString rawFromPlain(const QString &plain);
    static QString plainFromRaw(const QString &raw);

private:
    std::vector<std::unique_ptr<QTextLayout>> m_paragraphs;
    QSizeF m_size;
};

#endif // TEXTLABELLAYOUT_H
