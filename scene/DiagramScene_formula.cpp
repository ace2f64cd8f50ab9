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
    return FormulaDrawing::enginePicture(engine, QSize(int(size.width()), int(size.height())));
}
