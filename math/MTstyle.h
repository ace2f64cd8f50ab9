#ifndef MTSTYLE_H
#define MTSTYLE_H

#include <QColor>
#include <QFont>
#include <QString>

class VelQTmathText;

// Font role of an environment; the engine maps each role to a family.
enum MTstyleFont {
    StyleRoman = 0,
    StyleSans = 1,
    StyleTypewriter = 2,
    StyleScript = 3,
    StyleBlackboard = 4,
    StyleCaligraphic = 5
};

// TeX's math styles (The TeXbook, chapter 17): display and text style set
// at the text size, script style at the size of indices, scriptscript style
// one size further down. A formula is running text: it starts in text style.
enum MTmathStyle {
    MathDisplay = 0,
    MathText = 1,
    MathScript = 2,
    MathScriptScript = 3
};

// The environment carried down the node tree by value: every node measures
// and draws its children in a (possibly changed) copy of its own.
struct MTstyle
{
    QColor color = Qt::black;
    MTstyleFont font = StyleRoman;
    double fontSize = 10;
    bool bold = false;
    bool italic = false;
    bool smallCaps = false;
    bool underlined = false;
    bool overline = false;
    bool strike = false;
    bool insideMath = false;
    MTmathStyle mathStyle = MathText;
    // Cramped styles raise superscripts less (under a bar, in a root, in
    // a subscript).
    bool cramped = false;

    // The font of this environment with the families of `parent`, and its family.
    QFont getFont(const VelQTmathText* parent) const;
    QString family(const VelQTmathText* parent) const;

    bool isScriptStyle() const { return mathStyle >= MathScript; }
    // This environment in another style, with the font size of that style:
    // scripts at the engine's subsuper size factor (70 %) of the text size,
    // scriptscript at that factor again.
    MTstyle inMathStyle(MTmathStyle style, bool crampedStyle, const VelQTmathText* parent) const;
    // TeX's style changes (Appendix G): D and T go to S, S and SS to SS;
    // subscripts and denominators are cramped, the others keep crampedness.
    MTstyle superscriptStyle(const VelQTmathText* parent) const;
    MTstyle subscriptStyle(const VelQTmathText* parent) const;
    // D goes to T, T to S, S and SS to SS.
    MTstyle numeratorStyle(const VelQTmathText* parent) const;
    MTstyle denominatorStyle(const VelQTmathText* parent) const;
    // The same style, cramped (radicands, accented and overlined parts).
    MTstyle crampedStyle() const;

    bool operator==(const MTstyle& other) const;
    bool operator!=(const MTstyle& other) const { return !(*this == other); }

    // Inline CSS for the differences from `defaultEv`.
    QString htmlOpen(const MTstyle& defaultEv) const;
    QString htmlClose(const MTstyle& defaultEv) const;
};

#endif // MTSTYLE_H
