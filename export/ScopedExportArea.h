#ifndef SCOPEDEXPORTAREA_H
#define SCOPEDEXPORTAREA_H

#include <QList>
#include <QPointer>
#include <QRectF>

class QGraphicsItem;
class QGraphicsScene;

// For its lifetime, the scene shows what an export writes: no selection
// marks, and exportArea() as its scene rectangle, which the exporters and
// the export preview take for the area. The selection and the scene
// rectangle come back afterwards, so that an export changes nothing in the
// scene. A scene that goes in between is left alone.
class ScopedExportArea
{
public:
    explicit ScopedExportArea(QGraphicsScene *scene);
    ~ScopedExportArea();
    ScopedExportArea(const ScopedExportArea &) = delete;
    ScopedExportArea &operator=(const ScopedExportArea &) = delete;

private:
    QPointer<QGraphicsScene> m_scene;
    QRectF m_sceneRect;
    QList<QGraphicsItem *> m_selection;
};

#endif // SCOPEDEXPORTAREA_H
