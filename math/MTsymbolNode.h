#ifndef MTSYMBOLNODE_H
#define MTSYMBOLNODE_H

#include "math/MTnode.h"
#include "math/MTsymbolTables.h"

#include <memory>

class QFont;

// A command without argument: a Greek letter, an operator, a relation, an
// arrow, a named function, an escaped character or a space. The name is
// resolved once, at construction, in the engine's current encoding.
class MTsymbolNode : public MTnode
{
public:
    // addWhitespace appends one space to the resolved text.
    MTsymbolNode(VelQTmathText* parent, QString name, bool addWhitespace = false);
    ~MTsymbolNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;
    MTatomClass firstAtom() const override;
    bool isCharacter() const override;
    double italicCorrection(QPainter& painter, const MTstyle& env) override;

    // The text drawn; empty for spaces, long arrows and unknown names.
    QString getSymbol() const { return props.symbol; }
    // The command name, e.g. "sum" (the list node sets limits by it).
    QString getSymbolName() const { return symbolName; }
    MTsymbolRole getSymbolRole() const { return props.font; }
    int getItalic() const { return props.italic; }
    int getBold() const { return props.bold; }
    bool getDrawBar() const { return props.drawBar; }
    bool getAscentOnlyHeight() const { return props.ascentOnlyHeight; }
    bool getTightAscent() const { return props.tightAscent; }

    // Where indices go: the symbol's default, or as "\limits" and
    // "\nolimits" after it set it.
    MTlimits getLimits() const { return limits; }
    void setLimits(MTlimits value) { limits = value; }
    // Whether indices are set under and over the symbol in env's style.
    bool hasLimits(const MTstyle& env) const;

    // The font that draws this symbol in env.
    QFont symbolFont(const MTstyle& env) const;

private:
    struct Box;
    // The symbol's box in env, kept while env, the device and the engine's
    // settings stay the same: drawing needs what measuring found.
    const Box& measure(QPainter& painter, const MTstyle& env);
    bool isLongArrow() const;
    void drawLongArrow(QPainter& painter, double x, double y, const QFont& font) const;
    void drawRotatedEight(QPainter& painter, double x, double y, const QFont& font) const;

    bool isBigOperator() const { return math.textHeight > 0 && !props.symbol.isEmpty(); }

    QString symbolName;
    MTsymbolProperties props;
    MTsymbolMath math;
    MTlimits limits;
    std::unique_ptr<Box> cache;
};

#endif // MTSYMBOLNODE_H
