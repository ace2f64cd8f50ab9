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

    // The font of this environment with the families of `parent`.
    QFont getFont(const VelQTmathText* parent) const;

    bool operator==(const MTstyle& other) const;
    bool operator!=(const MTstyle& other) const { return !(*this == other); }

    // Inline CSS for the differences from `defaultEv`.
    QString htmlOpen(const MTstyle& defaultEv) const;
    QString htmlClose(const MTstyle& defaultEv) const;
};

#endif // MTSTYLE_H
