#ifndef ARROW_H
#define ARROW_H

#include "scene/DiagramObject.h"
#include "scene/StampCache.h"

#include <QBrush>
#include <QColor>
#include <QGraphicsLineItem>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

class Spacer;

// A line from a start item to the outline of an end item (each a shape or a
// picture/formula) with a filled head. The scene owns it; the item whose
// deletion removes it destroys it. Its tip handle (Spacer) lets the user point
// it at a chosen spot of the end item.
class Arrow : public QObject, public QGraphicsLineItem, public DiagramObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 4 };

    // The arrow joins both ends' arrow lists here and leaves them when
    // destroyed, so that an end always knows the arrows it must take with it.
    Arrow(int arrowSize, QGraphicsItem *startItem, QGraphicsItem *endItem,
          QGraphicsItem *parent = nullptr);
    // Leaves both ends' arrow lists, so that no end keeps a freed arrow.
    ~Arrow() override;

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;

    QGraphicsItem *startItem() const { return m_startItem; }
    QGraphicsItem *endItem() const { return m_endItem; }

    QColor color() const { return m_headBrush.color(); }
    void setColor(const QColor &color);

    // Length of the head's sides, which the user edits as the arrow's width.
    int arrowSize() const { return m_arrowSize; }

    // The chosen tip in the end item's own coordinates; (0, 0) means the
    // automatic tip on the end item's outline.
    QPointF pointToBe() const { return m_pointToBe; }
    // Takes a point in scene coordinates.
    void setPointToBe(const QPointF &scenePoint);
    bool isPointed() const { return !m_pointToBe.isNull(); }

    // The head triangle of the last geometry update.
    QPolygonF arrowHead() const { return m_arrowHead; }
    // Made at the arrow's first selection; null until then.
    Spacer *spacer() const { return m_spacer; }

    // Places the line and the head from the ends. Called when an end moves,
    // turns or scales, and by whatever changes the arrow's own geometry.
    void updatePosition();

    void hideSpacer();
    void showSpacer();
    bool isSpacerHovered() const { return m_spacerHovered; }
    void setSpacerHovered(bool hovered) { m_spacerHovered = hovered; }

    // Takes this arrow out of both ends' arrow lists while it is out of the
    // scene (deleted, but kept for undo), and puts it back.
    void detachFromEnds();
    void attachToEnds();
    // Leaves both ends' arrow lists and forgets the ends, for a scene that
    // takes every item apart: the ends go too, each on its own.
    void releaseEnds();

    Kind kind() const override { return Kind::Arrow; }
    QGraphicsItem *graphicsItem() override { return this; }
    QObject *qObject() override { return this; }
    QVariant value(Property property) const override;
    void setValue(Property property, const QVariant &value) override;
    void accept(DiagramObjectVisitor &visitor) const override;

public slots:
    void setArrowWidth(int width);
    void resetPoint();

signals:
    void arrowSelected(QGraphicsItem *arrow);

protected:
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    // Places the line, the head and the handle from the ends; false (and
    // nothing changed) while the ends overlap.
    bool updateGeometry();
    // Where the line from the start crosses the end item's outline.
    QPointF automaticTip(const QLineF &centreLine) const;
    void paintInView(QPainter *painter);

    QGraphicsItem *m_startItem;
    QGraphicsItem *m_endItem;
    int m_arrowSize;
    // The arrow's colour, which its pen carries too.
    QBrush m_headBrush{Qt::black, Qt::SolidPattern};
    QPolygonF m_arrowHead;
    // The line in view and the head, as last drawn from the view's pictures.
    QPolygonF m_inView;
    StampCache::Figure m_inViewFigure;
    StampCache::Figure m_headFigure;
    Spacer *m_spacer = nullptr;
    bool m_spacerHovered = false;
    QPointF m_pointToBe;
    // False while the ends overlap: there is no line to draw then.
    bool m_drawn = false;
};

#endif // ARROW_H
