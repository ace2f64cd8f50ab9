#ifndef GRAPHICSVIEWSAVE_H
#define GRAPHICSVIEWSAVE_H

#include <QGraphicsView>

// The preview of the picture export: the scene with a dashed frame around
// its scene rectangle, the area that is exported, over a checkerboard when
// the picture will be transparent. The frame belongs to the
// view only, so it never reaches the exported picture.
class GraphicsViewSave : public QGraphicsView
{
    Q_OBJECT

public:
    explicit GraphicsViewSave(QWidget *parent = nullptr);

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override;
};

#endif // GRAPHICSVIEWSAVE_H
