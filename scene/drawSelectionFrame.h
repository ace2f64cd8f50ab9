#ifndef DRAWSELECTIONFRAME_H
#define DRAWSELECTIONFRAME_H

class QPainter;
class QRectF;
class QStyleOptionGraphicsItem;

// The dashed frame Qt's own items draw around a selected item of a type
// it does not know: a solid line in the contrasting colour under a dashed
// one in the palette's window text colour, both one device pixel wide,
// half a unit inside `rect`.
void drawSelectionFrame(QPainter *painter, const QStyleOptionGraphicsItem *option,
                        const QRectF &rect);

#endif // DRAWSELECTIONFRAME_H
