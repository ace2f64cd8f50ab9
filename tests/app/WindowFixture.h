#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include "app/ListWidget.h"
#include "app/MainWindow.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGraphicsView>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// A real main window, shown offscreen, with helpers that drive it as a user
// would: tool box clicks, and presses, drags and releases on the view at
// scene points. Blocking dialogs are answered by `dialogs`.
class WindowFixture
{
public:
    WindowFixture() : window(new MainWindow)
    {
        window->resize(1400, 900);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        view()->centerOn(500, 400);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    QGraphicsView *view() const { return window->findChild<QGraphicsView *>(); }
    DiagramScene *scene() const { return qobject_cast<DiagramScene *>(view()->scene()); }
    ListWidget *list() const { return window->findChild<ListWidget *>(); }
    QButtonGroup *group(const char *name) const
    {
        return window->findChild<QButtonGroup *>(QLatin1String(name));
    }

    // The window's action with that text (mnemonic included), or null.
    QAction *action(const QString &text) const
    {
        for (QAction *a : window->findChildren<QAction *>()) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }

    void clickToolButton(const char *groupName, int id) const
    {
        QAbstractButton *button = group(groupName)->button(id);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Mouse events on the viewport at scene points.
    void mouse(QEvent::Type type, const QPointF &scenePoint,
               Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        const QPoint p = view()->mapFromScene(scenePoint);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, p, view()->viewport()->mapToGlobal(p), button, held, modifiers);
        QApplication::sendEvent(view()->viewport(), &event);
    }
    void click(const QPointF &at) const
    {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
    }
    void drag(const QPointF &from, const QPointF &to) const
    {
        mouse(QEvent::MouseButtonPress, from);
        mouse(QEvent::MouseMove, (from + to) / 2);
        mouse(QEvent::MouseMove, to);
        mouse(QEvent::MouseButtonRelease, to);
    }

    // A shape of that type inserted by the tool box and a click at `at`.
    DiagramItem *insertShape(int type, const QPointF &at) const
    {
        DiagramItem *inserted = nullptr;
        auto c = QObject::connect(scene(), &DiagramScene::itemInserted,
                                  [&inserted](DiagramItem *item) { inserted = item; });
        clickToolButton("buttonGroup", type);
        click(at);
        QObject::disconnect(c);
        return inserted;
    }

    // A text holding `text`, inserted by the tool box and a click at `at`.
    DiagramTextItem *insertText(const QString &text, const QPointF &at) const
    {
        DiagramTextItem *inserted = nullptr;
        auto c = QObject::connect(scene(), &DiagramScene::textInserted,
                                  [&inserted](DiagramTextItem *item) { inserted = item; });
        clickToolButton("buttonGroup", 10);
        click(at);
        QObject::disconnect(c);
        if (inserted)
            inserted->setPlainText(text);
        return inserted;
    }

    // An arrow drawn with the arrow pointer from one item to another,
    // pressing beside their centres, where the handles of a freshly
    // selected item may sit; the pointer is put back after.
    Arrow *insertArrow(QGraphicsItem *start, QGraphicsItem *end) const
    {
        const QPointF from = start->scenePos() + QPointF(30, 30);
        const QPointF to = end->scenePos() + QPointF(30, 30);
        Arrow *inserted = nullptr;
        auto c = QObject::connect(scene(), &DiagramScene::arrowInserted,
                                  [&inserted](Arrow *arrow) { inserted = arrow; });
        clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
        drag(from, to);
        clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
        QObject::disconnect(c);
        return inserted;
    }

    // Links a text to a shape with the link pointer, dragging from the shape
    // point `from` onto the text.
    void link(const QPointF &from, DiagramTextItem *text) const
    {
        clickToolButton("pointerTypeGroup", DiagramScene::LinkText);
        drag(from, text->mapToScene(text->boundingRect().center()));
        clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
    }

    void select(const QList<QGraphicsItem *> &items) const
    {
        scene()->clearSelection();
        for (QGraphicsItem *item : items)
            item->setSelected(true);
    }

    // Runs `inspect` on the popup menu that `open` shows, then closes it.
    static void inspectPopup(const std::function<void()> &open,
                             const std::function<void(QMenu *)> &inspect)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (menu) {
                seen = true;
                inspect(menu);
                menu->close();
            }
        });
        open();
        QVERIFY2(seen, "no menu was shown");
    }

    // Names of the selected items and texts of the selected entries, sorted.
    // Handles (the selectable rotate disc) have no id and are left out.
    QStringList selectedNames() const
    {
        QStringList names;
        for (QGraphicsItem *item : scene()->selectedItems()) {
            if (ListWidget::idOf(item) >= 0)
                names << ListWidget::nameOf(item);
        }
        names.sort();
        return names;
    }

    QStringList selectedEntryTexts() const
    {
        QStringList texts;
        for (QListWidgetItem *entry : list()->selectedItems())
            texts << entry->text();
        texts.sort();
        return texts;
    }

    QStringList entryTexts() const
    {
        QStringList texts;
        for (int row = 0; row < list()->count(); ++row)
            texts << list()->item(row)->text();
        return texts;
    }

    QListWidgetItem *entryOf(QGraphicsItem *item) const
    {
        return list()->entryById(ListWidget::idOf(item));
    }
};

#endif // WINDOWFIXTURE_H
