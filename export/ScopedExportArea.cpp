#include "export/ScopedExportArea.h"

#include "export/SceneExport.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QSet>

ScopedExportArea::ScopedExportArea(QGraphicsScene *scene)
    : m_scene(scene), m_sceneRect(scene->sceneRect()), m_selection(scene->selectedItems())
{
    scene->clearSelection();
    scene->setSceneRect(exportArea(*scene));
}

ScopedExportArea::~ScopedExportArea()
{
    if (!m_scene)
        return;
    m_scene->setSceneRect(m_sceneRect);
    // Only items still in the scene are selected again.
    const QList<QGraphicsItem *> items = m_scene->items();
    const QSet<QGraphicsItem *> present(items.begin(), items.end());
    for (QGraphicsItem *item : qAsConst(m_selection))
        if (present.contains(item))
            item->setSelected(true);
}
