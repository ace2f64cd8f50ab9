#ifndef BENCHWINDOW_H
#define BENCHWINDOW_H

#include "app/ListWidget.h"
#include "app/MainWindow.h"
#include "scene/Arrow.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsView>
#include <QPainterPath>

#include <memory>

// A window whose scene gets items the way the scene inserts them: id,
// name, registration, then the insertion signal that the window answers
// with a list entry.
class BenchWindow
{
public:
    BenchWindow() : window(new MainWindow)
    {
        window->show();
        QApplication::processEvents();
    }

    QGraphicsView *view() const { return window->findChild<QGraphicsView *>(); }
    DiagramScene *scene() const { return qobject_cast<DiagramScene *>(view()->scene()); }
    ListWidget *list() const { return window->findChild<ListWidget *>(); }

    void fill(int shapes)
    {
        DiagramScene *s = scene();
        QList<DiagramItem *> added;
        for (int i = 0; i < shapes; ++i) {
            DiagramItem *shape = s->newShape(DiagramItem::DiagramType(i % DiagramItem::TypeCount));
            shape->setId(s->nbItems());
            shape->setPos(40.0 * (i % 100), 40.0 * (i / 100));
            shape->changeTransform(0, true, 0.15, 0.15, false);
            s->addItem(shape);
            s->registerItem(shape);
            shape->setName(QStringLiteral("Carré %1").arg(i));
            s->setNbItems(s->nbItems() + 1);
            emit s->itemInserted(shape);
            added.append(shape);
        }
        for (int i = 0; i < shapes; ++i) {
            DiagramItem *start = added[i];
            DiagramItem *end = added[(i + 1) % shapes];
            Arrow *arrow = s->newArrow(start, end, 20);
            arrow->setId(s->nbItems());
            arrow->setName(QStringLiteral("Flèche %1").arg(i));
            // Under the shapes, as the scene puts the arrows it draws.
            arrow->setZValue(-1000);
            s->addItem(arrow);
            s->registerItem(arrow);
            s->setNbItems(s->nbItems() + 1);
            emit s->arrowInserted(arrow);
            arrow->updatePosition();
        }
        // Every size shows the same picture, a view full of shapes: the
        // window opens on the middle of the scene, which small grids do not
        // reach, and an empty view would cost nothing to repaint.
        view()->ensureVisible(QRectF(0, 0, 1, 1), 0, 0);
        QApplication::processEvents();
    }

    void selectAllInScene() const
    {
        QPainterPath everything;
        everything.addRect(scene()->sceneRect().adjusted(-100, -100, 100, 100));
        scene()->setSelectionArea(everything, Qt::IntersectsItemBoundingRect);
    }

    // Items make their handles at their first selection. Done once before
    // timing, so that every timed selection is alike: with few iterations
    // at 10,000 items, the first would otherwise weigh on the average.
    void warmUp() const
    {
        selectAllInScene();
        clearSelections();
    }

    void clearSelections() const
    {
        scene()->clearSelection();
        list()->clearSelection();
        QApplication::processEvents();
    }

    QAction *action(const QString &text) const
    {
        for (QAction *a : window->findChildren<QAction *>()) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }

    std::unique_ptr<MainWindow> window;
};

#endif // BENCHWINDOW_H
