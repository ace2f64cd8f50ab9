#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include "app/ListWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramTextItem.h"
#include "support/MainWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QGraphicsRotation>
#include <QMenu>
#include <QMouseEvent>
#include <QtTest>

#include <functional>

// The main window, shown offscreen, with helpers that drive it as a user
// would: tool box clicks, and presses, drags and releases on the view at
// scene points.
struct WindowFixture : MainWindowFixture
{
    WindowFixture()
    {
        window->resize(1400, 900);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        view()->centerOn(500, 400);
    }

    QGraphicsView *view() const { return window->findChild<QGraphicsView *>(); }
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
    // Runs one of the window's slots, as its widgets would.
    template <typename... Args>
    void invoke(const char *slot, Args... args) const
    {
        QVERIFY2(QMetaObject::invokeMethod(window.get(), slot, args...), slot);
    }

    void clickToolButton(const char *groupName, int id) const
    {
        QAbstractButton *button = group(groupName)->button(id);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Mouse events on the viewport at scene points.
    void mouse(QEvent::Type type, const QPointF &scenePoint) const
    {
        const QPoint p = view()->mapFromScene(scenePoint);
        QMouseEvent event(type, p, view()->viewport()->mapToGlobal(p), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
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

    // The item that the scene announces by `signal` while `act` runs.
    template <typename T>
    T *announced(void (DiagramScene::*signal)(T *), const std::function<void()> &act) const
    {
        T *found = nullptr;
        auto c = QObject::connect(scene(), signal, [&found](T *item) { found = item; });
        act();
        QObject::disconnect(c);
        return found;
    }

    // A shape of that type inserted by the tool box and a click at `at`.
    DiagramItem *insertShape(int type, const QPointF &at) const
    {
        return announced(&DiagramScene::itemInserted, [&] {
            clickToolButton("buttonGroup", type);
            click(at);
        });
    }

    // A text holding `text`, inserted by the tool box and a click at `at`.
    DiagramTextItem *insertText(const QString &text, const QPointF &at) const
    {
        DiagramTextItem *inserted = announced(&DiagramScene::textInserted, [&] {
            clickToolButton("buttonGroup", 10);
            click(at);
        });
        if (inserted)
            inserted->setPlainText(text);
        return inserted;
    }

    // A 120 x 80 picture, written in the fixture's folder, chosen through the
    // tool box and placed by a click at `at`.
    DiagramImage *insertPicture(const QPointF &at)
    {
        QImage image(120, 80, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        const QString file = path(QStringLiteral("picture.png"));
        image.save(file);
        dialogs.fileNames.enqueue(file);
        return announced(&DiagramScene::imageInserted, [&] {
            clickToolButton("buttonGroup", 12);
            click(at);
        });
    }

    // An arrow drawn with the arrow pointer from one item to another,
    // pressing beside their centres, where the handles of a freshly
    // selected item may sit; the pointer is put back after.
    Arrow *insertArrow(QGraphicsItem *start, QGraphicsItem *end) const
    {
        return announced(&DiagramScene::arrowInserted, [&] {
            clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
            drag(start->scenePos() + QPointF(30, 30), end->scenePos() + QPointF(30, 30));
            clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
        });
    }

    // Links a text to a shape with the link pointer, dragging from beside
    // the shape's centre onto the text.
    void link(DiagramItem *shape, DiagramTextItem *text) const
    {
        clickToolButton("pointerTypeGroup", DiagramScene::LinkText);
        drag(shape->scenePos() + QPointF(30, 30), text->mapToScene(text->boundingRect().center()));
        clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
    }

    void select(const QList<QGraphicsItem *> &items) const
    {
        scene()->clearSelection();
        for (QGraphicsItem *item : items)
            item->setSelected(true);
    }

    // Names of the selected items (handles have no id), then the texts of the
    // selected entries, each sorted.
    QString selection() const
    {
        QStringList names, texts;
        for (QGraphicsItem *item : scene()->selectedItems())
            if (ListWidget::idOf(item) >= 0)
                names << ListWidget::nameOf(item);
        for (QListWidgetItem *entry : list()->selectedItems())
            texts << entry->text();
        names.sort();
        texts.sort();
        return names.join(',') + " / " + texts.join(',');
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
