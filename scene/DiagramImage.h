#ifndef DIAGRAMIMAGE_H
#define DIAGRAMIMAGE_H

#include "scene/DiagramObject.h"
#include "scene/FormulaDrawing.h"

#include <QGraphicsPixmapItem>
#include <QList>
#include <QObject>
#include <QPixmapCache>
#include <QString>

class DiagramImageResizer;
class DiagramImageRotator;
class QGraphicsRotation;
class QGraphicsScale;

// A picture loaded from a file or a typeset formula. Like a shape it has
// arrows, four resize handles and a rotate handle; it scales uniformly.
// A formula keeps the picture it was typeset into (its size is the item's,
// and the item list and the clipboard show it) but paints its drawing:
// sharp at every zoom and scale, and vectors in PDF and SVG files.
class DiagramImage : public QObject, public QGraphicsPixmapItem, public DiagramObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 16 };

    // The creator sets the content, the offset that centres the pixmap on
    // the position, the flags, the z-value and the position.
    explicit DiagramImage(QGraphicsItem *parent = nullptr);
    // Destroys the arrows still attached, which cannot outlive an end.
    ~DiagramImage() override;

    int type() const override { return Type; }

    // For a formula, path is the formula text, parsed and drawn here, fitted
    // to the pixmap. A picture whose pixmap is null (unreadable file) shows
    // a card naming its file instead.
    void setContent(const QString &path, const QPixmap &pixmap, bool isMath);
    QString path() const { return m_path; }
    // Typesets another formula in the item's place: same id, name, position
    // and arrows. False, and nothing changed, when the text makes no picture.
    bool setFormula(const QString &text);
    bool isMath() const { return m_isMath; }
    // A formula's drawing; empty for a picture.
    const FormulaDrawing &formulaDrawing() const { return m_formula; }

    QGraphicsRotation *rotationTransform() const { return m_itemRotation; }
    QGraphicsScale *scaleTransform() const { return m_itemScale; }

    QList<Arrow *> arrows() const override { return m_arrows; }
    void addArrow(Arrow *arrow) override;
    // Removes the first occurrence, if any.
    void removeArrow(Arrow *arrow) override;

    void showResizers();
    void hideResizers();
    // Puts the handles on the picture's corners and top edge, turned like
    // it; call after a change of its pixmap or offset.
    void placeHandles() override;
    bool isRotatorHovered() const { return m_rotatorHovered; }
    void setRotatorHovered(bool hovered) { m_rotatorHovered = hovered; }

    Kind kind() const override { return m_isMath ? Kind::Formula : Kind::Picture; }
    QGraphicsItem *graphicsItem() override { return this; }
    QObject *qObject() override { return this; }
    QVariant value(Property property) const override;
    void setValue(Property property, const QVariant &value) override;
    void accept(DiagramObjectVisitor &visitor) const override;

public slots:
    // Turns (isRescaling false) or scales uniformly about the origin, which
    // the centring offset makes the pixmap's centre.
    void changeTransform(int rotationDegre, bool isRescaling = false, double scale = 0.0);

signals:
    void imageSelected(QGraphicsItem *image);

protected:
    // A formula paints its picture where a device pixel is a unit of it
    // (100 %, unturned or not), a picture of its drawing made for the
    // device's scale on other pixel devices, and its drawing itself on
    // vector devices (PDF, SVG, printers) and on large magnifications.
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;

private:
    void createHandles();
    // Typesets the formula's drawing to fill a picture of `size`.
    void typesetDrawing(const QString &text, const QSize &size);
    void paintFormulaPixels(QPainter *painter, const QRectF &box);
    void paintSelection(QPainter *painter, const QStyleOptionGraphicsItem *option) const;

    QGraphicsRotation *m_itemRotation;
    QList<Arrow *> m_arrows;
    QGraphicsScale *m_itemScale;
    // Made by the first showResizers(); null until then.
    DiagramImageResizer *m_resizers[4] = {};
    DiagramImageRotator *m_rotator = nullptr;
    QString m_path;
    FormulaDrawing m_formula;
    // The drawing at m_scaledScale device pixels per unit, made by the
    // paint that first needed that scale. Kept in Qt's pixmap cache, whose
    // limit bounds what a deep zoom over many formulas holds; made again
    // when the cache has let it go.
    QPixmapCache::Key m_scaledPicture;
    qreal m_scaledScale = 0;
    bool m_isMath = false;
    bool m_rotatorHovered = false;
};

#endif // DIAGRAMIMAGE_H
