#ifndef FORMULADRAWING_H
#define FORMULADRAWING_H

#include "scene/OutlineRecordingEngine.h"

#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

#include <memory>

class QPainter;
class QPixmap;
class VelQTmathText;

// A formula parsed once and typeset once by the engine into filled
// outlines, in the pixels of the picture DiagramScene::renderFormula makes
// of it. Painting fills the outlines through the painter's transformation:
// sharp at any scale, and vectors on a PDF, SVG or printer.
class FormulaDrawing
{
public:
    // The size the scene typesets formulas at.
    static constexpr double defaultPointSize = 20;

    FormulaDrawing();
    ~FormulaDrawing();
    FormulaDrawing(const FormulaDrawing &) = delete;
    FormulaDrawing &operator=(const FormulaDrawing &) = delete;
    FormulaDrawing(FormulaDrawing &&) noexcept;
    FormulaDrawing &operator=(FormulaDrawing &&) noexcept;

    // Parses and typesets `text` (with or without its leading "$"), as
    // renderFormula() does at that size. A formula that makes no picture
    // leaves the drawing empty.
    void setFormula(const QString &text, double pointSize = defaultPointSize);
    // No formula, no drawing.
    void clear();
    QString formula() const { return m_text; }
    double pointSize() const { return m_pointSize; }
    bool isEmpty() const { return m_outlines.isEmpty(); }
    // The picture's size: the rectangle the outlines were typeset in.
    QSize size() const { return m_size; }
    // The engine's messages about the text, empty when it read well.
    QStringList errors() const;

    // Fills the outlines with the drawing's rectangle fitted into `target`,
    // centred, its aspect kept. Leaves the painter's state as it was.
    void paint(QPainter *painter, const QRectF &target) const;
    // The engine's own picture of the formula, glyph by glyph, at size():
    // what DiagramScene::renderFormula() makes of the same text, without
    // parsing it again. Null when the drawing is empty.
    QPixmap enginePicture() const;
    // That picture of whatever `engine` parsed, in a transparent pixmap of
    // `size`; null when `size` is empty.
    static QPixmap enginePicture(VelQTmathText &engine, const QSize &size);
    // A transparent picture of `target`'s size times `scale`, rounded up,
    // with the drawing painted as paint() would onto target at that scale.
    QPixmap picture(const QSizeF &target, qreal scale) const;

private:
    QString m_text;
    double m_pointSize = defaultPointSize;
    // Holds the parsed tree the outlines were drawn from.
    std::unique_ptr<VelQTmathText> m_engine;
    QVector<FilledOutline> m_outlines;
    QSize m_size;
};

#endif // FORMULADRAWING_H
