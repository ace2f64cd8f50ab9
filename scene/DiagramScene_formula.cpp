#include "scene/DiagramScene.h"

#include "math/VelQTmathText.h"
#include "scene/FormulaDrawing.h"

#include <QPainter>

// Formula pictures rebuilt from a stored formula text.
// The engine measures a formula's ink with an even padding around it, so
// the picture is exactly that size.
QPixmap DiagramScene::renderFormula(const QString &formula)
{
    VelQTmathText engine;
    engine.setFontSize(FormulaDrawing::defaultPointSize);
    engine.selectXitsFonts();
    engine.parse(formula);
    QPainter measuring;
    const QSizeF size = engine.getSize(measuring);
    QPixmap pixmap(int(size.width()), int(size.height()));
    if (pixmap.isNull())
        return pixmap;
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, pixmap.width(), pixmap.height()));
    return pixmap;
}
