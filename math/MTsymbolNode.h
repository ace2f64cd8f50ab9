#ifndef MTSYMBOLNODE_H
#define MTSYMBOLNODE_H

#include "math/MTnode.h"
#include "math/MTsymbolTables.h"

class QFont;

// A command without argument: a Greek letter, an operator, a relation, an
// arrow, a named function, an escaped character or a space. The name is
// resolved once, at construction, in the engine's current encoding.
class MTsymbolNode : public MTnode
{
public:
    // addWhitespace appends one space to the resolved text.
    MTsymbolNode(VelQTmathText* parent, QString name, bool addWhitespace = false);

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    QString typeName() const override;

    // The text drawn; empty for spaces, long arrows and unknown names.
    QString getSymbol() const { return props.symbol; }
    // The command name, e.g. "sum" (the list node sets limits by it).
    QString getSymbolName() const { return symbolName; }
    MTsymbolRole getSymbolRole() const { return props.font; }
    double getSizeFactor() const { return props.sizeFactor; }
    int getItalic() const { return props.italic; }
    int getBold() const { return props.bold; }
    double getYShift() const { return props.yShift; }
    bool getDrawBar() const { return props.drawBar; }
    bool getAscentOnlyHeight() const { return props.ascentOnlyHeight; }
    bool getTightAscent() const { return props.tightAscent; }
    bool getWidenInMath() const { return widenInMath; }

    // The font that draws this symbol in env.
    QFont symbolFont(const MTstyle& env) const;

private:
    struct Box;
    Box measure(QPainter& painter, const MTstyle& env) const;
    bool isLongArrow() const;
    void drawLongArrow(QPainter& painter, double x, double y, const QFont& font) const;
    void drawRotatedEight(QPainter& painter, double x, double y, const QFont& font) const;

    QString symbolName;
    MTsymbolProperties props;
    bool widenInMath = false;
};

#endif // MTSYMBOLNODE_H
