#include "math/VelQTmathText.h"

#include "math/MTatom.h"
#include "math/MTlayout.h"
#include "math/MTnode.h"
#include "math/MTplainTextNode.h"

#include <QPainter>

VelQTmathText::VelQTmathText(QObject* parent)
    : QObject(parent)
{
    fontColor = defaultFontColor = Qt::black;
    fontSize = defaultFontSize = 10;
    initFontFamilies();
    texFontPrefix = defaultTexFontPrefix = QStringLiteral("jlm_");
    texFontSuffix = defaultTexFontSuffix = QStringLiteral("10");
    fontEncoding = defaultFontEncoding = EncodingWinSymbol;
    braceFactor = defaultBraceFactor = 1.04;
    braceShrinkFactor = defaultBraceShrinkFactor = 0.6;
    subsuperSizeFactor = defaultSubsuperSizeFactor = 0.7;
    italicCorrectionFactor = defaultItalicCorrectionFactor = 0.4;
    operatorsubsuperSizeFactor = defaultOperatorsubsuperSizeFactor = 0.65;
    mathoperatorWidthFactor = defaultMathoperatorWidthFactor = 1.5;
    superShiftFactor = defaultSuperShiftFactor = 0.5;
    subShiftFactor = defaultSubShiftFactor = 0.6;
    useStixFonts = defaultUseStixFonts = false;
    useXitsFonts = defaultUseXitsFonts = false;
    useAsanaFonts = defaultUseAsanaFonts = false;
    fracFactor = defaultFracFactor = 0.9;
    fracShiftFactor = defaultFracShiftFactor = 0.5;
    underbraceFactor = defaultUnderbraceFactor = 0.75;
    undersetFactor = defaultUndersetFactor = 0.7;
    braceYShiftFactor = defaultBraceYShiftFactor = 0.7;
    decorationHeightFactor = defaultDecorationHeightFactor = 0.2;
}

VelQTmathText::~VelQTmathText()
{
    delete tree;
    delete rawTree;
}

MTnode* VelQTmathText::activeTree() const
{
    return drawRawText ? static_cast<MTnode*>(rawTree) : tree;
}

MTstyle VelQTmathText::baseStyle() const
{
    MTstyle env;
    env.color = fontColor;
    env.fontSize = MTlayout::boundedFontSize(fontSize);
    return env;
}

VelQTmathText::Picture VelQTmathText::picture(QPainter& painter, MTnode* node) const
{
    Picture p;
    const MTstyle env = baseStyle();
    double width = 0, baselineHeight = 0, overallHeight = 0;
    node->getSize(painter, env, width, baselineHeight, overallHeight, p.strikeoutPos);
    node->inkExtent(painter, env, p.left, p.right);
    // An even margin around the ink: the thick space that parse() puts at
    // each end of the text. Without ink (spaces only), the boxes as they are.
    if (p.left > p.right) {
        p.left = 0;
        p.right = width;
        p.ascent = baselineHeight;
        p.descent = overallHeight - baselineHeight;
        return p;
    }
    const double margin = MTatom::thickSpace * MTlayout::mu(this, painter, env);
    p.left -= margin;
    p.right += margin;
    p.ascent = baselineHeight + margin;
    p.descent = overallHeight - baselineHeight + margin;
    return p;
}

void VelQTmathText::measureDetail(QPainter& painter, double& width, double& ascent, double& descent,
                                  double& strikeoutPos)
{
    width = ascent = descent = strikeoutPos = 0;
    MTnode* node = activeTree();
    if (!node)
        return;
    const Picture p = picture(painter, node);
    width = p.right - p.left;
    ascent = p.ascent;
    descent = p.descent;
    strikeoutPos = p.strikeoutPos;
}

QSizeF VelQTmathText::getSize(QPainter& painter)
{
    double width = 0, ascent = 0, descent = 0, strikeoutPos = 0;
    measureDetail(painter, width, ascent, descent, strikeoutPos);
    return QSizeF(width, ascent + descent);
}

double VelQTmathText::getAscent(QPainter& painter)
{
    double width = 0, ascent = 0, descent = 0, strikeoutPos = 0;
    measureDetail(painter, width, ascent, descent, strikeoutPos);
    return ascent;
}

double VelQTmathText::getDescent(QPainter& painter)
{
    double width = 0, ascent = 0, descent = 0, strikeoutPos = 0;
    measureDetail(painter, width, ascent, descent, strikeoutPos);
    return descent;
}

void VelQTmathText::draw(QPainter& painter, double x, double y, bool debugBoxes)
{
    MTnode* node = activeTree();
    if (!node)
        return;
    node->setDebugBoxes(debugBoxes);
    // Nodes leave their font and pen set; the caller gets its own back.
    painter.save();
    node->draw(painter, x, y, baseStyle());
    painter.restore();
}

void VelQTmathText::draw(QPainter& painter, unsigned int flags, QRectF rect, bool debugBoxes)
{
    MTnode* node = activeTree();
    if (!node)
        return;
    node->setDebugBoxes(debugBoxes);
    // The picture (ink and margin, as getSize() measures it) aligned in rect.
    const Picture p = picture(painter, node);
    double x = rect.left() - p.left;
    if (flags & Qt::AlignRight)
        x = rect.right() - p.right;
    else if (flags & Qt::AlignHCenter)
        x = rect.left() + (rect.width() - (p.right - p.left)) * 0.5 - p.left;
    double y = rect.top() + p.ascent;
    if (flags & Qt::AlignBottom)
        y = rect.bottom() - p.descent;
    else if (flags & Qt::AlignVCenter)
        y = rect.top() + p.ascent + (rect.height() - (p.ascent + p.descent)) * 0.5;
    painter.save();
    node->draw(painter, x, y, baseStyle());
    painter.restore();
}

QString VelQTmathText::toHtml(bool* ok, double fontSize)
{
    QString html;
    bool expressed = false;
    if (MTnode* node = activeTree()) {
        MTstyle current;
        current.color = fontColor;
        current.fontSize = fontSize;
        MTstyle defaults;
        defaults.fontSize = fontSize;
        expressed = node->toHtml(html, current, defaults);
    }
    if (ok)
        *ok = expressed;
    return html;
}
