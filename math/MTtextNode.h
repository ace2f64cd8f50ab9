#ifndef MTTEXTNODE_H
#define MTTEXTNODE_H

#include "math/MTnode.h"

#include <QFont>
#include <QVector>

#include <memory>

// A run of text in the environment's font. Read in math mode, the run is a
// row of TeX atoms ("x+1" is an ordinary atom, a binary operator and an
// ordinary atom), set apart by TeX's spacing: letters in italic, digits and
// operators upright.
class MTtextNode : public MTnode
{
public:
    // stripInnerWhitespace removes all white space: the text was read in
    // math mode and is split into atoms. addWhitespace appends one space
    // when the text does not end in one.
    MTtextNode(VelQTmathText* parent, QString text, bool addWhitespace, bool stripInnerWhitespace);
    ~MTtextNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;
    MTatomClass firstAtom() const override;
    MTatomClass lastAtom() const override;
    void setAtomNeighbours(MTatomClass before, MTatomClass after) override;
    bool isCharacter() const override;
    double italicCorrection(QPainter& painter, const MTstyle& env) override;

    QString getText() const { return text; }
    // The text as shown in env: the minus sign and the double bar of math,
    // the letters of the double-struck and script alphabets.
    virtual QString transformText(QString text, MTstyle env) const;

protected:
    // The font used for `shown` (brace characters inside math use fontBraces).
    QFont fontFor(const QString& shown, const MTstyle& env) const;
    // The shared font of family in env, upright.
    QFont uprightFont(const QString& family, const MTstyle& env) const;
    // The text as measured and drawn: transformText(), then double-struck
    // or script letters of a math companion family, which then replaces
    // font's family.
    QString shownText(const QString& part, const MTstyle& env, QFont& font) const;

    QString text;

private:
    // One atom of a math run: where it lies in the text and its class.
    struct Atom
    {
        int start, length;
        MTatomClass kind;
    };
    struct Piece;
    struct Layout;
    // The pieces of the text placed in env, kept while env, the device and
    // the engine's settings stay the same: drawing needs what measuring found.
    const Layout& layout(QPainter& painter, const MTstyle& env);
    void layOutText(QPainter& painter, const MTstyle& env, Layout& l) const;
    void layOutAtoms(QPainter& painter, const MTstyle& env, Layout& l) const;
    // Appends `shown` in font as pieces from x on: character by character
    // when upright characters stand among italic letters. Returns the end.
    double addPieces(QPainter& painter, const QString& shown, const QFont& font, const MTstyle& env, double x,
                     Layout& l) const;

    QVector<Atom> atoms;              // empty for text read outside math
    QVector<MTatomClass> atomClasses; // resolved by setAtomNeighbours()
    std::unique_ptr<Layout> cache;
};

#endif // MTTEXTNODE_H
