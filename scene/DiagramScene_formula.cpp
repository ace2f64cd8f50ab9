#include "scene/DiagramScene.h"

#include "math/VelQTmathText.h"

#include <QPainter>

// Formula pictures rebuilt from a stored formula text.

namespace {

// Commands whose glyphs reach beyond the box that the engine measures: each
// occurrence widens the picture, and any occurrence heightens it once.
struct OverhangingCommand {
    const char *command;
    int widthPerOccurrence;
    int height;
};

constexpr OverhangingCommand overhangingCommands[] = {
    {"\\lim_", 35, 0},
    {"\\neq", 28, 26},
    {"\\leq", 28, 26},
    {"\\geq", 28, 26},
    {"\\approx", 24, 26},
    {"\\exists", 3, 0},
    {"\\nexists", 16, 26},
    {"\\infty", 3, 0},
    {"\\in", 19, 26},
    {"\\notin", 19, 26},
    {"\\subset", 19, 26},
    {"\\cap", 19, 26},
    {"\\cup", 19, 26},
    {"\\leftarrow", 25, 18},
    {"\\rightarrow", 25, 18},
    {"\\leftrightarrow", 25, 18},
    {"\\Leftarrow", 25, 18},
    {"\\Rightarrow", 25, 18},
    {"\\Leftrightarrow", 25, 18},
    {"\\beta", 3, 0},
    {"\\alpha", 3, 0},
    {"\\Delta", 3, 0},
    {"\\omega", 3, 0},
    {"\\Omega", 3, 0},
};

// Occurrences of `command` as a whole command: "\in" not inside "\int" or
// "\infty", "\le" not inside "\left" (a command's name ends at the first
// non-letter; "\lim_" includes its underscore).
int countCommand(const QString &formula, const QString &command)
{
    int count = 0;
    for (int at = formula.indexOf(command); at >= 0; at = formula.indexOf(command, at + 1)) {
        const int end = at + command.size();
        if (!command.back().isLetter() || end == formula.size() || !formula.at(end).isLetter())
            ++count;
    }
    return count;
}

} // namespace

QSize DiagramScene::formulaMargins(const QString &formula)
{
    int x = 0;
    int y = 0;
    for (const OverhangingCommand &overhang : overhangingCommands) {
        const int occurrences = countCommand(formula, QLatin1String(overhang.command));
        if (occurrences == 0)
            continue;
        x += occurrences * overhang.widthPerOccurrence;
        y += overhang.height;
    }
    return QSize(x, y);
}

QPixmap DiagramScene::renderFormula(const QString &formula)
{
    VelQTmathText engine;
    engine.setFontSize(20);
    engine.selectXitsFonts();
    engine.parse(formula);
    QPainter measuring;
    const QSizeF size = engine.getSize(measuring);
    const QSize margins = formulaMargins(formula);
    QPixmap pixmap(int(size.width() + margins.width()), int(size.height() + margins.height()));
    if (pixmap.isNull())
        return pixmap;
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    engine.draw(painter, Qt::AlignCenter, QRectF(0, 0, pixmap.width(), pixmap.height()));
    return pixmap;
}
