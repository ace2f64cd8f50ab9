#ifndef MTBRACENODE_H
#define MTBRACENODE_H

#include "math/MTnode.h"

// Brackets that grow with their content (TeX's \left and \right): both the
// same height, centred on the math axis; the font's own glyph where it is
// tall enough, else drawn. Codes, one character each:
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
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;
    MTatomClass firstAtom() const override;

    MTnode* getChild() const { return child; }
    QString getOpenBracket() const { return openBracket; }
    QString getCloseBracket() const { return closeBracket; }
    bool getRightBraceSeen() const { return rightBraceSeen; }

private:
    struct Side;
    struct Parts;
    void measureParts(QPainter& painter, const MTstyle& env, Parts& parts);
    // The width of one bracket of the given height.
    double bracketWidth(QPainter& painter, const MTstyle& env, double height) const;

    MTnode* child;
    QString openBracket;
    QString closeBracket;
    bool rightBraceSeen;
};

#endif // MTBRACENODE_H
