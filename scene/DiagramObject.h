#ifndef DIAGRAMOBJECT_H
#define DIAGRAMOBJECT_H

#include <QList>
#include <QPolygonF>
#include <QString>
#include <QVariant>

class Arrow;
class DiagramObjectVisitor;
class DiagramScene;
class QGraphicsItem;
class QGraphicsSceneContextMenuEvent;
class QObject;

// What every object of a diagram has, whatever its kind: an id and a name,
// the arrows it joins (shapes and pictures only), the properties the user
// edits, and a place in the item list. The four item classes implement it;
// code that handles objects alike goes through it instead of switching on
// the graphics item type.
class DiagramObject
{
public:
    enum class Kind { Shape, Text, Picture, Formula, Arrow };

    // What the menus, toolbars and handles change. The value types are
    // QString, QPointF, double, int, QSizeF (x and y scale; margins),
    // QColor, QPen, QFont as noted; an object leaves out what its kind
    // does not have.
    enum class Property {
        Name,        // QString
        Position,    // QPointF
        ZValue,      // double
        Rotation,    // int, degrees: shapes and pictures
        Scale,       // QSizeF: shapes; pictures scale by its width alike
        FillColor,   // QColor: shapes
        Border,      // QPen: shapes
        TextMargins, // QSizeF, negative when automatic: shapes
        TextColor,   // QColor: texts
        Font,        // QFont: texts
        Alignment,   // int, a Qt::Alignment: texts
        ArrowSize,   // int: arrows
        LineColor,   // QColor: arrows
        ArrowTip,    // QPointF in the end item's coordinates, (0, 0) when automatic: arrows
        FormulaText, // QString, "$" and what the user typed: formulas
    };

    // The object an item of the scene is, or null for handles and the
    // temporary lines of a drag.
    static DiagramObject *from(QGraphicsItem *item);
    static const DiagramObject *from(const QGraphicsItem *item);

    virtual ~DiagramObject();

    virtual Kind kind() const = 0;
    virtual QGraphicsItem *graphicsItem() = 0;
    const QGraphicsItem *graphicsItem() const;
    // The same object as a QObject, for guards that turn null when it goes.
    virtual QObject *qObject() = 0;
    // The scene the object is in, or null.
    DiagramScene *diagramScene() const;

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

    QString name() const { return m_name; }
    // Announced to the scene, which tells the window.
    void setName(const QString &name);

    // Where the object's entry stands in the item list: entries are sorted
    // by this key. The scene gives every new object a key after all others
    // and a linked shape one just after its text.
    double listKey() const { return m_listKey; }
    void setListKey(double key) { m_listKey = key; }

    // Arrows starting or ending here (not owned). Only shapes and pictures
    // have some; adding to another kind does nothing.
    virtual QList<Arrow *> arrows() const { return {}; }
    virtual void addArrow(Arrow *) {}
    virtual void removeArrow(Arrow *) {}
    // The outline an arrow ending here points at, in item coordinates.
    virtual QPolygonF outline() const;
    // Puts the object's resize and rotate handles, if it has some, on its
    // corners at their size on screen.
    virtual void placeHandles() {}

    // An invalid value for properties the kind does not have, which
    // setValue() then ignores.
    virtual QVariant value(Property property) const;
    virtual void setValue(Property property, const QVariant &value);
    bool hasProperty(Property p) const { return value(p).isValid(); }

    // A double click on the object: asks the scene, which asks the window,
    // to edit it (a formula in its editor, a shape's text).
    void requestEdit();

    // The scene-file writer and other readers of every kind's own state.
    virtual void accept(DiagramObjectVisitor &visitor) const = 0;

protected:
    // The items' context menu: the object alone becomes the selection and
    // the scene asks the window for the menu of its kind.
    void requestContextMenu(QGraphicsSceneContextMenuEvent *event);

private:
    int m_id = 0;
    QString m_name;
    double m_listKey = 0.0;
};

#endif // DIAGRAMOBJECT_H
