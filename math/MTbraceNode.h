#ifndef MTBRACENODE_H
#define MTBRACENODE_H

#include "math/MTnode.h"

// Brackets that grow with their content. Codes, one character each:
// "(" ")" round, "[" "]" square, "{" "}" curly, "|" bar, "#" (or "||")
// double bar, "<" ">" angle, "_" floor, "~" ceiling; "." or "" none.
class MTbraceNode : public MTnode
{
public:
    MTbraceNode(VelQTmathText* parent, QString openBracket, QString closeBracket, MTnode* child,
                bool rightBraceSeen = true);
    ~MTbraceNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;

    MTnode* getChild() const { return child; }
    QString getOpenBracket() const { return openBracket; }
    QString getCloseBracket() const { return closeBracket; }
    bool getRightBraceSeen() const { return rightBraceSeen; }

    // Width of one bracket slot and height of the bracket for a content
    // of the given heights.
    void bracketWidth(QPainter& painter, const MTstyle& env, double baselineHeight, double overallHeight,
                      double& braceWidth, double& braceHeight) const;

private:
    MTnode* child;
    QString openBracket;
    QString closeBracket;
    bool rightBraceSeen;
};

#endif // MTBRACENODE_H
