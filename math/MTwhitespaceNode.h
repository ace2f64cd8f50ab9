#ifndef MTWHITESPACENODE_H
#define MTWHITESPACENODE_H

#include "math/MTtextNode.h"

// One space between words of text mode.
class MTwhitespaceNode : public MTtextNode
{
public:
    explicit MTwhitespaceNode(VelQTmathText* parent);

    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    QString typeName() const override;
};

#endif // MTWHITESPACENODE_H
