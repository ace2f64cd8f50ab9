#ifndef MTPLAINTEXTNODE_H
#define MTPLAINTEXTNODE_H

#include "math/MTtextNode.h"

// Text drawn exactly as given: the engine's raw-text view of a formula.
class MTplainTextNode : public MTtextNode
{
public:
    MTplainTextNode(VelQTmathText* parent, QString text, bool addWhitespace, bool stripInnerWhitespace);

    QString typeName() const override;
    QString transformText(QString text, MTstyle env) const override;
};

#endif // MTPLAINTEXTNODE_H
