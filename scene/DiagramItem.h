#ifndef DIAGRAMITEM_H
#define DIAGRAMITEM_H

#include "scene/DiagramObject.h"
#include "scene/StampCache.h"

#include <QGraphicsPolygonItem>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>

class DiagramItemResizer;
class DiagramItemRotator;
class DiagramTextItem;
class QGraphicsRotation;
class QGraphicsScale;

// A shape of the scene: a filled polygon of one of seven kinds with a name,
// an id, the arrows attached to it, four resize handles and a rotate handle,
// and optionally one linked text that it follows and grows to fit.
// Rotation and scale act about the centre of the unscaled bounding rectangle
// and change only through changeTransform().
class DiagramItem : public QObject, public QGraphicsPolygonItem, public DiagramObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 15 };
    enum DiagramType { Carre, RoundedCarre, Triangle, Pentagone, Cercle, Rectangle, RoundedRectangle };
    static constexpr int TypeCount = RoundedRectangle + 1;

    explicit DiagramItem(DiagramType diagramType, QGraphicsItem *parent = nullptr);
    // Takes the arrows still attached with it and unlinks the linked text,
    // so that nothing is left pointing at this shape.
    ~DiagramItem() override;

    int type() const override { return Type; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    DiagramType diagramType() const { return m_diagramType; }

    // The polygon of a kind, in item coordinates (y downwards), and the
    // 250 x 250 outline picture used for buttons and list icons.
    static QPolygonF polygonOf(DiagramType diagramType);
    // The French name of a kind, as default names begin: "Carré", "Cercle".
    static QString typeName(DiagramType diagramType);
    static QPixmap imageOf(DiagramType diagramType);
    QPixmap image() const { return imageOf(m_diagramType); }

    QList<Arrow *> arrows() const override { return m_arrows; }
    void addArrow(Arrow *arrow) override;
    // Removes the first occurrence, if any.
    void removeArrow(Arrow *arrow) override;
    QPolygonF outline() const override { return polygon(); }

    // The text this shape fits around (not owned; null once that text is
    // destroyed, even before it could call unlinkText()).
    DiagramTextItem *linkedText() const;
    bool hasLinkedText() const { return linkedText() != nullptr; }
    void setLinkedText(DiagramTextItem *text);
    void unlinkText();

    // Room around a linked text: 20 by default, or what a resize handle set.
    double textMarginX() const { return m_textMarginX; }
    double textMarginY() const { return m_textMarginY; }
    bool hasCustomTextMargins() const { return m_customTextMargins; }
    double customTextMarginX() const { return m_customTextMarginX; }
    double customTextMarginY() const { return m_customTextMarginY; }
    void setCustomTextMargins(double x, double y);
    // Scales the shape around its linked text with the margins; the text
    // calls it whenever its size changes.
    void fitLinkedText();

    void setBorderColor(const QColor &color);

    // Rescales (isRescaling; about the top-left corner when anchorTopLeft) or
    // turns to rotationDegre, redraws the arrows, then puts both transform
    // origins back on the centre of the unscaled bounding rectangle.
    void changeTransform(int rotationDegre, bool isRescaling, double xScale,
                         double yScale, bool anchorTopLeft);
    QGraphicsRotation *rotationTransform() const { return itemRotation; }
    QGraphicsScale *scaleTransform() const { return itemScale; }

    // The mouse is over the rotate handle: deselection keeps the handles.
    bool isRotatorHovered() const { return rotatorHovered; }
    void setRotatorHovered(bool hovered) { rotatorHovered = hovered; }

    Kind kind() const override { return Kind::Shape; }
    QGraphicsItem *graphicsItem() override { return this; }
    QObject *qObject() override { return this; }
    QVariant value(Property property) const override;
    void setValue(Property property, const QVariant &value) override;
    void accept(DiagramObjectVisitor &visitor) const override;

public slots:
    void hideResizers();
    void showResizers();
    void placeHandles() override;

signals:
    // While the shape is dragged, it moves its linked text, not the other way.
    void moving(bool isMoving);

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void updateArrows();
    void centreTransformOrigins();
    void createHandles();

    DiagramType m_diagramType;
    QList<Arrow *> m_arrows;
    // Made by the first showResizers(); null until then.
    DiagramItemResizer *resizers[4] = {};
    QGraphicsRotation *itemRotation;
    QGraphicsScale *itemScale;
    DiagramItemRotator *rotator = nullptr;
    QPointer<DiagramTextItem> m_linkedText;
    StampCache::Figure m_outlineFigure;
    bool m_hasLinkedText = false;
    bool rotatorHovered = false;
    double m_textMarginX = 20.0;
    double m_textMarginY = 20.0;
    bool m_customTextMargins = false;
    double m_customTextMarginX = 0.0;
    double m_customTextMarginY = 0.0;
};

#endif // DIAGRAMITEM_H
