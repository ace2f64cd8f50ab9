#include "math/VelQTMathTextLabel.h"

#include "math/VelQTmathText.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QPainter>
#include <QtDebug>

namespace {

// (HighQualityAntialiasing is obsolete in Qt 5.15: Antialiasing covers it.)
constexpr QPainter::RenderHints formulaHints = QPainter::Antialiasing | QPainter::TextAntialiasing;

// The picture keeps some air around the formula, and never shrinks below a
// size that still reads as a label.
double paddedSide(double formulaSide, double padding, int minimum)
{
    const double padded = formulaSide * padding;
    return padded > minimum ? padded : minimum;
}

} // namespace

VelQTMathTextLabel::VelQTMathTextLabel(QWidget *parent)
    : QLabel(parent)
    , engine(new VelQTmathText(this))
{
    engine->selectXitsFonts();
    // QFontInfo resolves fonts given in pixels to points as well.
    engine->setFontSize(QFontInfo(font()).pointSizeF() * 1.3);
}

void VelQTMathTextLabel::setFormula(const QString &text, bool repaintNow)
{
    if (!repaintNow && text == paintedText)
        return;
    paintedText = text;
    internalPaint();
    update();
}

void VelQTMathTextLabel::internalPaint()
{
    if (!engine->parse(paintedText)) {
        qDebug().noquote() << "VelQTMathTextLabel::internalPaint(): parse '" + paintedText
                                  + "': false\n  " + engine->getErrors().join("\n");
    }

    if (cache.size().isEmpty())
        cache = QPixmap(1000, 100);
    QPainter painter(&cache);
    painter.setRenderHints(formulaHints);
    const QSizeF formula = engine->getSize(painter);
    painter.end();

    const double paddedWidth = paddedSide(formula.width(), 1.2, 32);
    const double paddedHeight = paddedSide(formula.height(), 1.1, 10);
    if (paddedWidth > maxPictureSide || paddedHeight > maxPictureSide) {
        qWarning("VelQTMathTextLabel::internalPaint: a %.0f x %.0f picture is too large to"
                 " paint, the formula is not shown", paddedWidth, paddedHeight);
        cache = QPixmap();
        clear();
        return;
    }
    const int width = int(paddedWidth);
    const int height = int(paddedHeight);
    cache = QPixmap(width, height);
    cache.fill(Qt::transparent);
    painter.begin(&cache);
    painter.setRenderHints(formulaHints);
    engine->draw(painter, alignment(), QRectF(0, 0, width, height));
    painter.end();

    setPixmap(cache);
    QCoreApplication::processEvents();
}
