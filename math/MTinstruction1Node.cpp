#include "math/MTinstruction1Node.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QHash>
#include <QPainter>

#include <functional>

namespace {

using StyleChange = std::function<void(MTstyle&, const QStringList&, const VelQTmathText*)>;

void setRole(MTstyle& env, MTstyleFont role) { env.font = role; }

void setUpright(MTstyle& env, MTstyleFont role)
{
    env.font = role;
    env.italic = false;
}

// What each command does to the environment of its argument.
const QHash<QString, StyleChange>& styleChanges()
{
    static const QHash<QString, StyleChange> table = [] {
        QHash<QString, StyleChange> t;
        using Change = std::function<void(MTstyle&, const QStringList&)>;
        auto add = [&t](std::initializer_list<const char*> names, Change change) {
            for (const char* name : names)
                t.insert(QLatin1String(name),
                         [change](MTstyle& e, const QStringList& p, const VelQTmathText*) { change(e, p); });
        };
        auto addStyle = [&t](const char* name, MTmathStyle style) {
            t.insert(QLatin1String(name), [style](MTstyle& e, const QStringList&, const VelQTmathText* parent) {
                e = e.inMathStyle(style, false, parent);
            });
        };
        // As in TeX, the math alphabets other than \mathit and the text
        // commands set upright letters: "\mathbf{v}" is an upright bold v.
        add({"bf"}, [](MTstyle& e, const QStringList&) { e.bold = true; });
        add({"textbf", "mathbf"}, [](MTstyle& e, const QStringList&) {
            e.bold = true;
            e.italic = false;
        });
        add({"em"}, [](MTstyle& e, const QStringList&) { e.italic = !e.italic; });
        add({"it", "textit", "mathit"}, [](MTstyle& e, const QStringList&) { e.italic = true; });
        add({"textcolor", "mathcolor", "color"}, [](MTstyle& e, const QStringList& p) {
            // An unknown colour name keeps the colour rather than drawing nothing.
            if (!p.isEmpty() && QColor::isValidColor(p.first()))
                e.color = QColor(p.first());
        });
        add({"equation"}, [](MTstyle& e, const QStringList&) { e.italic = true; e.insideMath = true; });
        add({"sc"}, [](MTstyle& e, const QStringList&) { e.smallCaps = true; });
        add({"textsc", "mathsc"}, [](MTstyle& e, const QStringList&) {
            e.smallCaps = true;
            e.italic = false;
        });
        add({"ul", "underline", "underlined"}, [](MTstyle& e, const QStringList&) { e.underlined = true; });
        add({"ol", "overline", "overlined"}, [](MTstyle& e, const QStringList&) { e.overline = true; });
        add({"strike"}, [](MTstyle& e, const QStringList&) { e.strike = true; });
        add({"rm"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleRoman); });
        add({"mathrm", "textrm", "text", "mbox", "operatorname"}, [](MTstyle& e, const QStringList&) {
            setRole(e, StyleRoman);
            e.italic = false;
        });
        add({"mat"}, [](MTstyle& e, const QStringList&) {
            setRole(e, StyleRoman);
            e.italic = false;
            e.bold = true;
        });
        add({"cal", "textcal", "mathcal"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleCaligraphic); });
        add({"bb", "textbb", "mathbb"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleBlackboard); });
        add({"tt"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleTypewriter); });
        add({"texttt", "mathtt"}, [](MTstyle& e, const QStringList&) { setUpright(e, StyleTypewriter); });
        add({"sf"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleSans); });
        add({"textsf", "mathsf"}, [](MTstyle& e, const QStringList&) { setUpright(e, StyleSans); });
        add({"script", "textscript", "mathscript"}, [](MTstyle& e, const QStringList&) { setRole(e, StyleScript); });
        // TeX's styles, with their sizes.
        addStyle("displaystyle", MathDisplay);
        addStyle("textstyle", MathText);
        addStyle("scriptstyle", MathScript);
        addStyle("scriptscriptstyle", MathScriptScript);
        return t;
    }();
    return table;
}

} // namespace

// The class of the atom an argument makes: a group is ordinary, but for
// TeX's class commands and \operatorname; a colour changes no class.
MTatomClass MTinstruction1Node::atomOf(bool first) const
{
    if (!child)
        return AtomNone; // a switch

    static const QHash<QString, MTatomClass> classes = {
        {"mathord", AtomOrd}, {"mathop", AtomOp}, {"operatorname", AtomOp}, {"mathbin", AtomBin},
        {"mathrel", AtomRel}, {"mathopen", AtomOpen}, {"mathclose", AtomClose}, {"mathpunct", AtomPunct},
        {"mathinner", AtomInner},
    };
    const auto it = classes.constFind(name);
    if (it != classes.constEnd())
        return *it;
    const bool colour = name == QLatin1String("textcolor") || name == QLatin1String("mathcolor")
        || name == QLatin1String("color");
    if (colour && child)
        return first ? child->firstAtom() : child->lastAtom();
    return AtomOrd;
}

MTatomClass MTinstruction1Node::firstAtom() const
{
    return atomOf(true);
}

MTatomClass MTinstruction1Node::lastAtom() const
{
    return atomOf(false);
}

MTinstruction1Node::MTinstruction1Node(VelQTmathText* parent, QString name, MTnode* child, QStringList parameters)
    : MTnode(parent)
    , name(name)
    , child(child)
    , parameters(parameters)
{
}

MTinstruction1Node::~MTinstruction1Node()
{
    delete child;
}

MTstyle MTinstruction1Node::childStyle(MTstyle env) const
{
    const auto change = styleChanges().constFind(name);
    if (change != styleChanges().constEnd())
        (*change)(env, parameters, parent);
    return env;
}

bool MTinstruction1Node::isBox() const
{
    return name == QLatin1String("colorbox") || name == QLatin1String("fbox") || name == QLatin1String("boxed");
}

void MTinstruction1Node::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                                     double& overallHeight, double& strikeoutPos)
{
    width = baselineHeight = overallHeight = strikeoutPos = 0;
    if (child)
        child->getSize(painter, childStyle(env), width, baselineHeight, overallHeight, strikeoutPos);
    if (isBox()) {
        const double p = parent->textAdvance(env.getFont(parent), QStringLiteral("x"), painter.device());
        width += p;
        overallHeight += p;
        baselineHeight += p * 0.5;
    }
}

double MTinstruction1Node::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const MTstyle inner = childStyle(env);
    if (!isBox())
        return child ? child->draw(painter, x, y, inner) : x;

    double w = 0, b = 0, h = 0, s = 0;
    if (child)
        child->getSize(painter, inner, w, b, h, s);
    const double p = parent->textAdvance(env.getFont(parent), QStringLiteral("x"), painter.device());
    QColor frame = env.color;
    if (name == QLatin1String("colorbox") && !parameters.isEmpty() && QColor::isValidColor(parameters.first()))
        frame = QColor(parameters.first());
    painter.save();
    painter.setPen(MTlayout::pen(frame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(qRound(x), qRound(y - b - p / 2), qRound(w + p), qRound(h + p)));
    painter.restore();
    if (child)
        child->draw(painter, x + p / 2, y, inner);
    // The frame's right edge belongs to this node: what follows starts after it.
    return x + w + p;
}

void MTinstruction1Node::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    if (isBox()) {
        MTnode::inkExtent(painter, env, left, right); // the frame
        return;
    }
    left = 1;
    right = 0;
    if (child)
        child->inkExtent(painter, childStyle(env), left, right);
}

bool MTinstruction1Node::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    return !child || child->toHtml(html, childStyle(currentEv), defaultEv);
}

void MTinstruction1Node::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTinstruction1Node::typeName() const
{
    return QLatin1String("MTinstruction1Node(") + name + QLatin1Char(')');
}
