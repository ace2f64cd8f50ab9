#include "WindowFixture.h"

#include "app/DiagramView.h"
#include "app/ZoomBox.h"
#include "export/SceneExport.h"
#include "export/ScopedExportArea.h"
#include "io/SceneDocument.h"
#include "scene/Arrow.h"
#include "scene/StampCache.h"

#include <QContextMenuEvent>
#include <QGraphicsScale>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtMath>

#include <cmath>

namespace {

// The window driven in viewport pixels, as zoom and pan are felt: positions
// are given as pixel offsets from the middle of the view and turned into
// scene points at the current zoom.
struct ViewFixture : WindowFixture
{
    ViewFixture(qreal zoom = 1.0)
    {
        diagramView()->setZoom(zoom);
        QApplication::setActiveWindow(window.get());
        view()->setFocus();
    }

    DiagramView *diagramView() const { return qobject_cast<DiagramView *>(view()); }

    // What the viewport shows on screen, as its partial repaints left it.
    QImage onScreen() const
    {
        QApplication::processEvents();
        QWidget *viewport = view()->viewport();
        const QPoint corner = viewport->mapTo(window.get(), QPoint());
        return window->screen()->grabWindow(window->winId(), corner.x(), corner.y(),
                                            viewport->width(), viewport->height()).toImage();
    }
    // The screen changed from `before`, and a whole repaint shows it as is,
    // each colour channel within `tolerance`.
    void expectWholeRepaintShows(const QImage &before, int tolerance = 0) const
    {
        const QImage shown = onScreen();
        QVERIFY(shown != before);
        view()->viewport()->update();
        const QImage whole = onScreen();
        QCOMPARE(shown.size(), whole.size());
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y);
                const QRgb b = whole.pixel(x, y);
                const int difference = qMax(qAbs(qRed(a) - qRed(b)),
                                            qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
                QVERIFY2(difference <= tolerance, qPrintable(QStringLiteral("pixel %1, %2 is off by %3")
                                                                 .arg(x).arg(y).arg(difference)));
            }
        }
    }
    // The largest difference of grey level between the view on screen and
    // the same part of the scene painted directly on a picture.
    int worstDifferenceFromPainted() const
    {
        const QImage shown = onScreen().convertToFormat(QImage::Format_RGB32);
        QImage painted(shown.size(), QImage::Format_RGB32);
        painted.fill(Qt::white);
        {
            QPainter painter(&painted);
            painter.setRenderHints(view()->renderHints());
            const QRect pixels = view()->viewport()->rect();
            scene()->render(&painter, pixels, view()->mapToScene(pixels).boundingRect(),
                            Qt::IgnoreAspectRatio);
        }
        int worst = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                worst = qMax(worst, qAbs(qGray(shown.pixel(x, y)) - qGray(painted.pixel(x, y))));
        }
        return worst;
    }
    qreal zoom() const { return diagramView()->zoom(); }
    ZoomBox *zoomBox() const { return window->findChild<ZoomBox *>(); }

    QPointF middle() const { return QRectF(view()->viewport()->rect()).center(); }
    // The scene point `offset` pixels away from the middle of the view.
    QPointF at(qreal x, qreal y) const
    {
        return view()->viewportTransform().inverted().map(middle() + QPointF(x, y));
    }
    // Where a scene point shows, in viewport pixels, unrounded.
    QPointF shownAt(const QPointF &scenePoint) const
    {
        return view()->viewportTransform().map(scenePoint);
    }

    void mouseAt(QEvent::Type type, const QPoint &pixel, Qt::MouseButton button,
                 Qt::MouseButtons held) const
    {
        QMouseEvent event(type, pixel, view()->viewport()->mapToGlobal(pixel), button, held, {});
        QApplication::sendEvent(view()->viewport(), &event);
    }
    // Press, four moves and release, in pixels.
    void dragPixels(const QPoint &from, const QPoint &to, Qt::MouseButton button) const
    {
        mouseAt(QEvent::MouseButtonPress, from, button, button);
        for (int step = 1; step <= 4; ++step)
            mouseAt(QEvent::MouseMove, from + (to - from) * step / 4, Qt::NoButton, button);
        mouseAt(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    QPoint pixel(const QPointF &scenePoint) const { return view()->mapFromScene(scenePoint); }

    // A shape of that type drawn with the tool box from one scene point to
    // another.
    DiagramItem *drawShape(int type, const QPointF &from, const QPointF &to) const
    {
        return announced(&DiagramScene::itemInserted, [&] {
            clickToolButton("buttonGroup", type);
            dragPixels(pixel(from), pixel(to), Qt::LeftButton);
        });
    }

    // An arrow drawn with the arrow pointer from centre to centre; the
    // pointer is put back after.
    Arrow *drawArrow(QGraphicsItem *start, QGraphicsItem *end) const
    {
        clickToolButton("pointerTypeGroup", DiagramScene::InsertLine);
        Arrow *arrow = announced(&DiagramScene::arrowInserted, [&] {
            dragPixels(pixel(start->scenePos()), pixel(end->scenePos()), Qt::LeftButton);
        });
        clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
        return arrow;
    }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::keyClick(view()->viewport(), key, modifiers);
    }

    // The title of the menu that a right click at `scenePoint` opens.
    QString contextMenuAt(const QPointF &scenePoint) const
    {
        QString title;
        QTimer::singleShot(0, [&title] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                title = menu->title();
                menu->close();
            }
        });
        const QPoint p = pixel(scenePoint);
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, view()->viewport()->mapToGlobal(p));
        QApplication::sendEvent(view()->viewport(), &event);
        return title;
    }
};

// Scene points reached through pixels may be off by half a pixel each way.
bool closeTo(const QPointF &a, const QPointF &b, qreal zoom)
{
    return qAbs(a.x() - b.x()) <= 1 / zoom && qAbs(a.y() - b.y()) <= 1 / zoom;
}

QByteArray describe(const QPointF &p)
{
    return QByteArray::number(p.x()) + ", " + QByteArray::number(p.y());
}

void zoomRows()
{
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("50 %") << 0.5;
    QTest::newRow("400 %") << 4.0;
}

} // namespace

// Zoom and pan: the keys, the wheel, the zoom box and fitting; and the
// scene's mouse work (insertion, selection, handles, arrows, menus, text)
// landing on the right scene points at other zooms than 100 %.
class tst_View : public QObject
{
    Q_OBJECT

private slots:
    void ctrlWheelZoomsAboutTheCursor_data()
    {
        QTest::addColumn<qreal>("start");
        QTest::addColumn<int>("notches");
        QTest::addColumn<QPointF>("cursor"); // share of the viewport's size
        QTest::addColumn<qreal>("expected");
        QTest::newRow("in, top left") << 1.0 << 1 << QPointF(0.1, 0.15) << std::pow(2.0, 0.25);
        QTest::newRow("in twice, bottom right") << 1.0 << 2 << QPointF(0.9, 0.8) << std::sqrt(2.0);
        QTest::newRow("out from 400 %") << 4.0 << -4 << QPointF(0.3, 0.7) << 2.0;
        QTest::newRow("out far below the steps") << 0.1 << -8 << QPointF(0.6, 0.4) << 0.025;
        QTest::newRow("in at the largest zoom") << 8.0 << 1 << QPointF(0.2, 0.2) << 8.0;
    }

    void ctrlWheelZoomsAboutTheCursor()
    {
        QFETCH(qreal, start);
        QFETCH(int, notches);
        QFETCH(QPointF, cursor);
        QFETCH(qreal, expected);
        ViewFixture f(start);
        const QSizeF size = f.view()->viewport()->size();
        const QPoint p(qRound(size.width() * cursor.x()), qRound(size.height() * cursor.y()));
        const QPointF under = f.view()->mapToScene(p);

        QWheelEvent wheel(p, f.view()->viewport()->mapToGlobal(p), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view()->viewport(), &wheel);

        QVERIFY(qFuzzyCompare(f.zoom(), expected));
        const QPointF now = f.shownAt(under);
        QVERIFY2(qAbs(now.x() - p.x()) <= 1 && qAbs(now.y() - p.y()) <= 1, describe(now));
        QCOMPARE(f.zoomBox()->currentText(), ZoomBox::zoomText(expected));
    }

    void keysStepThroughTheZooms_data()
    {
        QTest::addColumn<qreal>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<qreal>("expected");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl++") << 1.0 << int(Qt::Key_Plus) << ctrl << 1.5;
        QTest::newRow("Ctrl+= (+ without Shift)") << 0.75 << int(Qt::Key_Equal) << ctrl << 1.0;
        QTest::newRow("Ctrl++ on the keypad") << 4.0 << int(Qt::Key_Plus) << int(ctrl | Qt::KeypadModifier) << 8.0;
        QTest::newRow("Ctrl+-") << 1.0 << int(Qt::Key_Minus) << ctrl << 0.75;
        QTest::newRow("Ctrl++ between steps") << 0.37 << int(Qt::Key_Plus) << ctrl << 0.5;
        QTest::newRow("Ctrl+- between steps") << 0.37 << int(Qt::Key_Minus) << ctrl << 0.25;
        QTest::newRow("Ctrl++ at 800 %") << 8.0 << int(Qt::Key_Plus) << ctrl << 8.0;
        QTest::newRow("Ctrl+- at 10 %") << 0.1 << int(Qt::Key_Minus) << ctrl << 0.1;
        QTest::newRow("Ctrl++ below 10 %") << 0.04 << int(Qt::Key_Plus) << ctrl << 0.1;
        QTest::newRow("Ctrl+0") << 4.0 << int(Qt::Key_0) << ctrl << 1.0;
    }

    // The keys zoom about the middle of the view.
    void keysStepThroughTheZooms()
    {
        QFETCH(qreal, start);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(qreal, expected);
        ViewFixture f(start);
        const QPointF middle = f.at(0, 0);
        f.key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QVERIFY2(qFuzzyCompare(f.zoom(), expected), QByteArray::number(f.zoom()));
        QVERIFY2(closeTo(f.at(0, 0), middle, f.zoom()), describe(f.at(0, 0)));
        QCOMPARE(f.zoomBox()->currentText(), ZoomBox::zoomText(expected));
    }

    void fitShowsEveryItem_data()
    {
        QTest::addColumn<QList<QPointF>>("shapes");
        QTest::addColumn<bool>("byButton");
        QTest::newRow("spread out, by key")
            << QList<QPointF>{{300, 300}, {4700, 4500}, {400, 3900}} << false;
        QTest::newRow("one shape, by the toolbar button") << QList<QPointF>{{2500, 2500}} << true;
        QTest::newRow("outside the scene rectangle")
            << QList<QPointF>{{-3000, 200}, {9000, 7000}} << false;
    }

    // Every item shows whole, and the items fill the view but for the margin
    // in one direction at least.
    void fitShowsEveryItem()
    {
        QFETCH(QList<QPointF>, shapes);
        QFETCH(bool, byButton);
        ViewFixture f;
        for (const QPointF &position : shapes) {
            DiagramItem *shape = f.scene()->newShape(DiagramItem::Carre);
            shape->setPos(position);
            f.scene()->addItem(shape);
        }
        if (byButton) {
            QToolBar *bar = nullptr;
            for (QToolBar *candidate : f.window->findChildren<QToolBar *>())
                if (candidate->windowTitle() == QStringLiteral("Affichage"))
                    bar = candidate;
            QVERIFY(bar);
            QTest::mouseClick(bar->widgetForAction(f.action("Ajuster à la fenêtre")),
                              Qt::LeftButton);
        } else {
            f.key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        }
        const QRectF viewport = f.view()->viewport()->rect();
        const QRectF shown = f.view()->viewportTransform().mapRect(f.scene()->itemsBoundingRect());
        QVERIFY2(viewport.contains(shown), describe(shown.topLeft()) + " " + describe(shown.bottomRight()));
        QVERIFY(shown.width() > viewport.width() - 50 || shown.height() > viewport.height() - 50);
        QCOMPARE(f.zoomBox()->currentText(), ZoomBox::zoomText(f.zoom()));
    }

    void fitOfAnEmptySceneKeepsTheZoom()
    {
        ViewFixture f(1.5);
        f.key(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.zoom(), 1.5);
    }

    void zoomBoxAcceptsPercentages_data()
    {
        QTest::addColumn<QString>("typed"); // empty: the next entry of the list instead
        QTest::addColumn<qreal>("expected");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole number, the start of a step") << "15" << 0.15 << "15\u00a0%";
        QTest::newRow("decimal comma and sign") << "37,5 %" << 0.375 << "38\u00a0%";
        QTest::newRow("decimal point, no space") << "12.5%" << 0.125 << "13\u00a0%";
        QTest::newRow("beyond the largest zoom") << "2000" << 8.0 << "800\u00a0%";
        QTest::newRow("zero") << "0" << 1.0 << "100\u00a0%";
        QTest::newRow("letters, refused as typed") << "abc" << 1.0 << "100\u00a0%";
        QTest::newRow("next entry of the list") << "" << 1.5 << "150\u00a0%";
    }

    void zoomBoxAcceptsPercentages()
    {
        QFETCH(QString, typed);
        QFETCH(qreal, expected);
        QFETCH(QString, shown);
        ViewFixture f;
        ZoomBox *box = f.zoomBox();
        QCOMPARE(box->currentText(), QStringLiteral("100\u00a0%"));
        if (typed.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Down);
        } else {
            box->lineEdit()->clear();
            QTest::keyClicks(box, typed);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QVERIFY2(qFuzzyCompare(f.zoom(), expected), QByteArray::number(f.zoom()));
        QCOMPARE(box->currentText(), shown);
    }

    // Clicks and drags insert where they land, in scene units, and arrows
    // join the shapes under their ends.
    void insertionAtZoom_data() { zoomRows(); }

    void insertionAtZoom()
    {
        QFETCH(qreal, zoom);
        ViewFixture f(zoom);
        const QPointF from = f.at(-300, -200), to = f.at(-140, -100);
        DiagramItem *drawn = f.drawShape(DiagramItem::Carre, from, to);
        QVERIFY(drawn);
        QVERIFY2(closeTo(drawn->scenePos(), (from + to) / 2, zoom), describe(drawn->scenePos()));
        const QRectF r = drawn->boundingRect();
        QVERIFY(qAbs(drawn->scaleTransform()->xScale() * r.width() - (to.x() - from.x())) <= 2 / zoom);
        QVERIFY(qAbs(drawn->scaleTransform()->yScale() * r.height() - (to.y() - from.y())) <= 2 / zoom);

        DiagramItem *other = f.drawShape(DiagramItem::Cercle, f.at(100, -200), f.at(200, -100));
        QVERIFY(other);
        f.select({drawn}); // its handles show and must not catch the arrow's start
        Arrow *arrow = f.drawArrow(drawn, other);
        QVERIFY(arrow);
        QCOMPARE(arrow->startItem(), static_cast<QGraphicsItem *>(drawn));
        QCOMPARE(arrow->endItem(), static_cast<QGraphicsItem *>(other));

        DiagramTextItem *text = f.insertText(QStringLiteral("note"), f.at(-300, 100));
        QVERIFY(text);
        QVERIFY(closeTo(text->scenePos(), f.at(-300, 100), zoom));
        // A click inserts a shape of its own size, centred on the click.
        DiagramItem *clicked = f.insertShape(DiagramItem::Carre, f.at(250, 150));
        QVERIFY(clicked);
        QVERIFY(closeTo(clicked->scenePos(), f.at(250, 150), zoom));
        QCOMPARE(clicked->scaleTransform()->xScale(), 1.0);
    }

    // The rubber band takes what it encloses, a corner handle follows the
    // mouse in scene units, and right clicks open the menu of what is under
    // them.
    void selectionAtZoom_data() { zoomRows(); }

    void selectionAtZoom()
    {
        QFETCH(qreal, zoom);
        ViewFixture f(zoom);
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-300, -100), f.at(-200, 0));
        DiagramItem *b = f.drawShape(DiagramItem::Carre, f.at(-150, -100), f.at(-50, 0));
        DiagramItem *c = f.drawShape(DiagramItem::Carre, f.at(100, -100), f.at(200, 0));
        QVERIFY(a && b && c);
        f.scene()->clearSelection();

        f.dragPixels(f.pixel(f.at(-330, -130)), f.pixel(f.at(-20, 30)), Qt::LeftButton);
        QCOMPARE(f.selection(), QStringLiteral("Carré 0,Carré 1 / Carré 0,Carré 1"));

        f.select({c});
        const QPointF corner = c->mapToScene(c->boundingRect().bottomRight());
        // Inside the triangle, which keeps its size in pixels at every zoom.
        const QPoint grip = f.pixel(corner) - QPoint(3, 3);
        const QPoint target = grip + QPoint(60, 40);
        f.dragPixels(grip, target, Qt::LeftButton);
        const QPointF mouse = f.view()->mapToScene(target);
        const QRectF r = c->boundingRect();
        QVERIFY(qAbs(c->scaleTransform()->xScale() - qAbs((mouse.x() - c->scenePos().x()) / r.x())) < 1e-3);
        QVERIFY(qAbs(c->scaleTransform()->yScale() - qAbs((mouse.y() - c->scenePos().y()) / r.y())) < 1e-3);

        QCOMPARE(f.contextMenuAt(a->scenePos()), QStringLiteral("&Objet"));
        QCOMPARE(f.selection(), QStringLiteral("Carré 0 / Carré 0"));
        QCOMPARE(f.contextMenuAt(f.at(0, 250)), QStringLiteral("Scène"));
    }

    // Handles keep their size in pixels when the view zooms while they are
    // shown, and on a shape that was resized and turned.
    void handlesFollowTheZoom()
    {
        ViewFixture f;
        DiagramItem *shape = f.drawShape(DiagramItem::Carre, f.at(-100, -100), f.at(100, 50));
        QVERIFY(shape);
        shape->changeTransform(30, false, 0, 0, false);
        f.select({shape});
        for (const qreal zoom : {0.5, 4.0}) {
            f.diagramView()->setZoom(zoom);
            const QList<QGraphicsItem *> handles = shape->childItems();
            QCOMPARE(handles.size(), 5);
            for (const QGraphicsItem *handle : handles) {
                const QTransform device = handle->deviceTransform(f.view()->viewportTransform());
                const QRectF own = handle->boundingRect();
                const QRectF shown = device.mapRect(own);
                // Turned by 30 degrees: the extent of a turned rectangle.
                const qreal c = std::cos(qDegreesToRadians(30.0)), s = std::sin(qDegreesToRadians(30.0));
                QVERIFY(qAbs(shown.width() - (own.width() * c + own.height() * s)) < 0.01);
            }
        }
    }

    // A click in a text puts the cursor between the letters it falls on.
    void textCursorAtZoom_data() { zoomRows(); }

    void textCursorAtZoom()
    {
        QFETCH(qreal, zoom);
        ViewFixture f(zoom);
        DiagramTextItem *text = f.insertText(QStringLiteral("abcdef"), f.at(-100, 0));
        QVERIFY(text);
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(0);
        text->setTextCursor(cursor);
        const QTextLayout *layout = text->document()->firstBlock().layout();
        const QTextLine line = layout->lineAt(0);
        const QPointF between = layout->position() + QPointF(line.cursorToX(3), line.y() + line.height() / 2);
        f.click(text->mapToScene(between));
        QCOMPARE(text->textCursor().position(), 3);
        f.key(Qt::Key_X);
        QCOMPARE(text->toPlainText(), QStringLiteral("abcxdef"));
    }

    // The press of a pan reaches no item: nothing is selected, moved or
    // inserted, and the diagram follows the mouse.
    void panMovesTheViewOnly_data()
    {
        QTest::addColumn<bool>("space");
        QTest::addColumn<qreal>("zoom");
        QTest::addColumn<int>("insertionButton"); // -1: the pointer
        QTest::newRow("middle button") << false << 1.0 << -1;
        QTest::newRow("middle button at 400 %, while inserting") << false << 4.0 << int(DiagramItem::Carre);
        QTest::newRow("Space and left button") << true << 1.0 << -1;
        QTest::newRow("Space and left button at 50 %, while inserting") << true << 0.5 << int(DiagramItem::Cercle);
    }

    void panMovesTheViewOnly()
    {
        QFETCH(bool, space);
        QFETCH(qreal, zoom);
        QFETCH(int, insertionButton);
        ViewFixture f(zoom);
        DiagramItem *shape = f.drawShape(DiagramItem::Carre, f.at(-50, -50), f.at(50, 50));
        QVERIFY(shape);
        f.scene()->clearSelection();
        if (insertionButton >= 0)
            f.clickToolButton("buttonGroup", insertionButton);
        const int mode = int(f.scene()->mode());
        const QPointF position = shape->scenePos();
        const QPoint from = f.pixel(position), to = from + QPoint(-150, -90);

        if (space)
            QTest::keyPress(f.view()->viewport(), Qt::Key_Space);
        f.dragPixels(from, to, space ? Qt::LeftButton : Qt::MiddleButton);
        if (space)
            QTest::keyRelease(f.view()->viewport(), Qt::Key_Space);

        const QPointF now = f.shownAt(position);
        QVERIFY2(qAbs(now.x() - to.x()) <= 1 && qAbs(now.y() - to.y()) <= 1, describe(now));
        QCOMPARE(shape->scenePos(), position);
        QVERIFY(f.scene()->selectedItems().isEmpty());
        QCOMPARE(f.list()->count(), 1);
        QCOMPARE(int(f.scene()->mode()), mode);
        QCOMPARE(f.zoom(), zoom);
        // Once the pan is over, the left button selects or inserts again.
        f.click(position);
        if (insertionButton < 0)
            QVERIFY(shape->isSelected());
        else
            QCOMPARE(f.list()->count(), 2);
    }

    void spaceTypesIntoAnEditedText()
    {
        ViewFixture f;
        DiagramTextItem *text = f.insertText(QStringLiteral("ab"), f.at(0, 0));
        QVERIFY(text);
        f.click(text->mapToScene(text->boundingRect().center()));
        QTextCursor cursor = text->textCursor();
        cursor.movePosition(QTextCursor::End);
        text->setTextCursor(cursor);
        const int scrolled = f.view()->horizontalScrollBar()->value();
        QTest::keyPress(f.view()->viewport(), Qt::Key_Space);
        f.dragPixels(f.pixel(f.at(200, 200)), f.pixel(f.at(100, 100)), Qt::LeftButton);
        QTest::keyRelease(f.view()->viewport(), Qt::Key_Space);
        QCOMPARE(text->toPlainText(), QStringLiteral("ab "));
        QCOMPARE(f.view()->horizontalScrollBar()->value(), scrolled);
    }

    void wheelScrolls_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("sideways");
        QTest::newRow("plain") << int(Qt::NoModifier) << false;
        QTest::newRow("Shift") << int(Qt::ShiftModifier) << true;
    }

    // One notch down moves the view down, or right with Shift.
    void wheelScrolls()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, sideways);
        ViewFixture f;
        const QScrollBar *across = f.view()->horizontalScrollBar();
        const QScrollBar *down = f.view()->verticalScrollBar();
        const int x = across->value(), y = down->value();
        const QPoint p = f.middle().toPoint();
        QWheelEvent wheel(p, f.view()->viewport()->mapToGlobal(p), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::KeyboardModifiers(modifiers), Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view()->viewport(), &wheel);
        QCOMPARE(across->value() > x, sideways);
        QCOMPARE(down->value() > y, !sideways);
        QCOMPARE(f.zoom(), 1.0);
    }

    // The view repaints only what changed: after items moved, scrolled and
    // zoomed, what is on screen is what a whole repaint shows.
    void partialRepaintsLeaveNoTrails()
    {
        ViewFixture f;
        const QPoint middle = f.middle().toPoint();
        QWheelEvent wheel(middle, f.view()->viewport()->mapToGlobal(middle), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view()->viewport(), &wheel);
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-300, -100), f.at(-200, 0));
        DiagramItem *b = f.drawShape(DiagramItem::Cercle, f.at(100, -100), f.at(200, 0));
        QVERIFY(f.drawArrow(a, b));
        DiagramTextItem *text = f.insertText(QStringLiteral("note"), f.at(0, 150));
        QVERIFY(text);
        f.clickToolButton("pointerTypeGroup", DiagramScene::LinkText);
        f.dragPixels(f.pixel(b->scenePos()), f.pixel(text->mapToScene(text->boundingRect().center())),
                     Qt::LeftButton);
        f.clickToolButton("pointerTypeGroup", DiagramScene::MoveItem);
        QCOMPARE(b->linkedText(), text);

        const QImage before = f.onScreen();
        f.select({a});
        f.dragPixels(f.pixel(a->scenePos()), f.pixel(a->scenePos()) + QPoint(90, 120), Qt::LeftButton);
        f.dragPixels(f.pixel(text->scenePos()), f.pixel(text->scenePos()) + QPoint(-60, 40), Qt::LeftButton);
        f.dragPixels(middle, middle + QPoint(35, -20), Qt::MiddleButton);
        f.expectWholeRepaintShows(before);
    }

    // An arrow longer than the view is drawn in the parts a scroll exposes,
    // joined to what was on screen.
    void longArrowsAcrossPartialRepaints()
    {
        ViewFixture f;
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-300, -50), f.at(-250, 0));
        DiagramItem *b = f.drawShape(DiagramItem::Carre, f.at(250, 100), f.at(300, 150));
        QVERIFY(f.drawArrow(a, b));
        f.diagramView()->setZoom(8.0);
        f.view()->centerOn(QLineF(a->scenePos(), b->scenePos()).center());
        const QImage before = f.onScreen();
        QVERIFY(before.pixelColor(before.rect().center()).lightness() < 128); // the line
        f.dragPixels(f.middle().toPoint(), f.middle().toPoint() + QPoint(70, 9), Qt::MiddleButton);
        // The part in view is drawn on its own, from where the view cuts it:
        // its edge pixels may be shaded a few levels apart from the line the
        // view showed before.
        f.expectWholeRepaintShows(before, 6);
    }

    // A long arrow wholly in view, drawn by the view's faster way, has the
    // shape of the same arrow painted on a picture.
    void longArrowLooksAsPainted()
    {
        ViewFixture f;
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-300, -60), f.at(-250, -10));
        DiagramItem *b = f.drawShape(DiagramItem::Carre, f.at(200, 40), f.at(250, 90));
        QVERIFY(f.drawArrow(a, b));
        f.scene()->clearSelection();
        f.diagramView()->setZoom(2.0);
        f.view()->centerOn(QLineF(a->scenePos(), b->scenePos()).center());
        // Two rasterisers shade the edges differently, by a few levels; a
        // line of another width or place is off by far more.
        const int worst = f.worstDifferenceFromPainted();
        QVERIFY2(worst < 64, qPrintable(QString::number(worst)));
    }

    // Shapes, and arrows with their heads, come from the view's pictures
    // of them: at any zoom, turn and place within a pixel they show as
    // painted directly.
    void picturesLookAsPainted_data()
    {
        QTest::addColumn<qreal>("zoom");
        QTest::addColumn<int>("turn");
        QTest::newRow("50 %") << 0.5 << 0;
        QTest::newRow("100 %") << 1.0 << 0;
        QTest::newRow("137 %, turned") << 1.37 << 30;
        QTest::newRow("300 %") << 3.0 << 0;
    }

    void picturesLookAsPainted()
    {
        QFETCH(qreal, zoom);
        QFETCH(int, turn);
        ViewFixture f;
        DiagramItem *square = f.drawShape(DiagramItem::Carre, f.at(-240, -80), f.at(-150, 10));
        DiagramItem *circle = f.drawShape(DiagramItem::Cercle, f.at(-60, 33), f.at(20, 97));
        DiagramItem *triangle = f.drawShape(DiagramItem::Triangle, f.at(110, -90), f.at(190, -17));
        QVERIFY(f.drawArrow(square, circle));
        QVERIFY(f.drawArrow(circle, triangle));
        square->setValue(DiagramObject::Property::FillColor, QColor(Qt::yellow));
        circle->setValue(DiagramObject::Property::Border, QPen(QBrush(Qt::red), 3));
        triangle->changeTransform(turn, false, 1, 1, false);
        // Places a third of a pixel off the grid.
        triangle->moveBy(0.33, 0.66);
        f.scene()->clearSelection();
        f.diagramView()->setZoom(zoom);
        f.view()->centerOn(circle);
        const int worst = f.worstDifferenceFromPainted();
        QVERIFY2(worst < 64, qPrintable(QString::number(worst)));
    }

    // A picture is kept by the look it shows, not by the item: a new
    // colour or place shows at the next repaint.
    void changedLookShows()
    {
        ViewFixture f;
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-100, -50), f.at(0, 50));
        DiagramItem *b = f.drawShape(DiagramItem::Carre, f.at(150, -50), f.at(250, 50));
        Arrow *arrow = f.drawArrow(a, b);
        QVERIFY(arrow);
        f.scene()->clearSelection();
        const QPoint inA = f.pixel(a->scenePos());
        const QPoint onLine = f.pixel(QLineF(a->scenePos(), b->scenePos()).center());
        a->setValue(DiagramObject::Property::FillColor, QColor(Qt::red));
        QCOMPARE(f.onScreen().pixelColor(inA), QColor(Qt::red));
        a->setValue(DiagramObject::Property::FillColor, QColor(Qt::blue));
        arrow->setColor(Qt::green);
        QImage shown = f.onScreen();
        QCOMPARE(shown.pixelColor(inA), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(onLine), QColor(Qt::green));
        a->moveBy(0, 150 / f.zoom());
        shown = f.onScreen();
        QCOMPARE(shown.pixelColor(inA), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(inA + QPoint(0, 150)), QColor(Qt::blue));
    }

    // Alike shapes share one picture, so that the view of a large diagram
    // stays small in memory.
    void alikeShapesShareAPicture()
    {
        ViewFixture f(0.25);
        const int before = StampCache::shared().count();
        // A whole number of pixels apart, in a colour no other test draws.
        for (int i = 0; i < 20; ++i) {
            auto *shape = new DiagramItem(DiagramItem::Pentagone);
            shape->setValue(DiagramObject::Property::FillColor, QColor(12, 34, 56));
            shape->setPos(f.at(-300, 0) + QPointF(i * 120 / f.zoom(), 0));
            f.scene()->addItem(shape);
        }
        f.onScreen();
        QCOMPARE(StampCache::shared().count() - before, 1);
    }

    // A repaint makes no more pictures than its ration; the figures past it
    // are painted directly, alike, and pictured by the next repaints.
    void repaintsPictureARationAtATime()
    {
        ViewFixture f(0.5);
        for (int i = 0; i < 5; ++i) {
            auto *shape = new DiagramItem(DiagramItem::RoundedCarre);
            shape->setValue(DiagramObject::Property::FillColor, QColor(70, 80, 90 + i));
            shape->setPos(f.at(-300 + 120 * i, 0));
            f.scene()->addItem(shape);
        }
        const StampCache::Ration ration(StampCache::shared(), 2);
        const int before = StampCache::shared().count();
        QVERIFY2(f.worstDifferenceFromPainted() < 64, "figures past the ration");
        QCOMPARE(StampCache::shared().count() - before, 2);
        f.view()->viewport()->repaint();
        f.view()->viewport()->repaint();
        QCOMPARE(StampCache::shared().count() - before, 5);
        QVERIFY2(f.worstDifferenceFromPainted() < 64, "figures from pictures");
    }

    // The zoom is the view's alone: the document and its picture stay the
    // same.
    void zoomLeavesFilesAndExportsAlone()
    {
        ViewFixture f;
        DiagramItem *a = f.drawShape(DiagramItem::Carre, f.at(-300, -100), f.at(-200, 0));
        DiagramItem *b = f.drawShape(DiagramItem::Cercle, f.at(100, -100), f.at(200, 0));
        QVERIFY(f.drawArrow(a, b));
        QVERIFY(f.insertText(QStringLiteral("note"), f.at(0, 100)));
        f.select({a, b});
        const QJsonObject document = writeDocument(*f.scene());
        // Exported as the program does, without the selection's handles.
        const auto exportTo = [&](const QString &name) {
            const ScopedExportArea area(f.scene());
            QString reason;
            return exportPicture(*f.scene(), f.path(name), &reason);
        };
        QVERIFY(exportTo(QStringLiteral("before.png")));

        f.diagramView()->setZoom(4.0);
        f.dragPixels(f.middle().toPoint(), f.middle().toPoint() + QPoint(80, 40), Qt::MiddleButton);
        f.diagramView()->fitToWindow();
        QCOMPARE(writeDocument(*f.scene()), document);
        QVERIFY(exportTo(QStringLiteral("after.png")));
        QCOMPARE(fileContents(f.path("after.png")), fileContents(f.path("before.png")));
    }
};

QTEST_MAIN(tst_View)
#include "tst_view.moc"
