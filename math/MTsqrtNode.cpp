#include "math/MTsqrtNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QPainterPath>

MTsqrtNode::MTsqrtNode(VelQTmathText* parent, MTnode* child, int degree)
    : MTnode(parent)
    , child(child)
    , degree(degree)
{
}

MTsqrtNode::~MTsqrtNode()
{
    delete child;
}

void MTsqrtNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    double w = 0, b = 0, h = 0;
    strikeoutPos = 0;
    if (child)
        child->getSize(painter, env, w, b, h, strikeoutPos);
    const double a = parent->textBounds(env.getFont(parent), QStringLiteral("A"), painter.device()).width();
    // The sign's roof sits a fifth above the child.
    overallHeight = h * 1.2;
    baselineHeight = b * 1.2;
    width = w + 2 * a;
}

double MTsqrtNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    double w = 0, b = 0, h = 0, s = 0;
    if (child)
        child->getSize(painter, env, w, b, h, s);
    const QFont font = env.getFont(parent);
    const double a = parent->textBounds(font, QStringLiteral("A"), painter.device()).width();
    const double d = b * 1.15;

    QPainterPath sign;
    if (a > 0) {
        sign.moveTo(x + 0.1 * a, y - 0.4 * d);
        sign.lineTo(x + 0.33 * a, y - 0.4 * d);
        sign.lineTo(x + 0.66 * a, y + (h - b) / 2);
        sign.lineTo(x + a, y - d);
    }
    if (degree != 2) {
        QFont small = font;
        small.setPointSizeF(MTlayout::boundedFontSize(font.pointSizeF() / 2));
        small.setItalic(false);
        painter.save();
        painter.setFont(small);
        painter.setPen(QPen(env.color));
        painter.drawText(QPointF(x + 0.33 * a, y - 0.55 * d), QString::number(degree));
        painter.restore();
    }
    const double xe = child ? child->draw(painter, x + 1.2 * a, y, env) : x + 1.2 * a;
    if (a > 0) {
        sign.lineTo(xe + 0.2 * a, y - d);
        sign.lineTo(xe + 0.2 * a, y - 0.8 * d);
        painter.save();
        QPen pen = MTlayout::pen(env.color, MTlayout::ruleWidth(env.fontSize));
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(sign);
        painter.restore();
    }
    return xe + 0.33 * a;
}

bool MTsqrtNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    html += QLatin1String("&radic;<span style=\"text-decoration:overline\">");
    const bool ok = !child || child->toHtml(html, currentEv, defaultEv);
    html += QLatin1String("&nbsp;</span>");
    return ok;
}

void MTsqrtNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTsqrtNode::typeName() const
{
    return QStringLiteral("MTsqrtNode");
}
