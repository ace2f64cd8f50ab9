#ifndef MTTEXTNODE_H
#define MTTEXTNODE_H

#include "math/MTnode.h"

// A run of text in the environment's font, transformed for the math
// typography of the Unicode encoding before it is measured and drawn.
class MTtextNode : public MTnode
{
public:
    // stripInnerWhitespace removes all white space (math mode);
    // addWhitespace appends one space when the text does not end in one.
    MTtextNode(VelQTmathText* parent, QString text, bool addWhitespace, bool stripInnerWhitespace);

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    QString typeName() const override;

    QString getText() const { return text; }
    virtual QString transformText(QString text, MTstyle env) const;

    // Whether an operand (a letter, a number, a closing bracket, a box)
    // comes right before this text in its list: a leading "+" or "-" is
    // then a binary operator, spaced on both sides, else a sign, unspaced.
    // Set by the parser; false by default.
    bool followsOperand() const { return operandBefore; }
    void setFollowsOperand(bool value) { operandBefore = value; }
    // Whether the text ends in an operand, so that a sign after it is binary.
    bool endsWithOperand() const;

protected:
    // The font used for `shown` (brace characters inside math use fontBraces).
    QFont fontFor(const QString& shown, const MTstyle& env) const;
    // The shared font of family in env, upright.
    QFont uprightFont(const QString& family, const MTstyle& env) const;
    // The text as measured and drawn: transformText(), then double-struck
    // or script letters of a math companion family, which then replaces
    // font's family.
    QString shownText(const MTstyle& env, QFont& font) const;

    QString text;
    bool operandBefore = false;
};

#endif // MTTEXTNODE_H
