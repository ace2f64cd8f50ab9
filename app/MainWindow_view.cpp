#include "app/MainWindow.h"

#include "app/ZoomBox.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

// The zoom commands act on the view, which exists only once the layout is
// built: connectView() joins them to it.
void MainWindow::createViewActions()
{
    const struct {
        QAction **action;
        const char *text;
        const char *icon;
        const char *statusTip;
        QList<QKeySequence> shortcuts;
    } commands[] = {
        // Ctrl+= as well: on many keyboards "+" needs Shift.
        {&zoomInAction, "Zoom avant", ":/images/zoom_in.png", "Agrandir la vue",
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
        {&zoomOutAction, "Zoom arrière", ":/images/zoom_out.png", "Réduire la vue",
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)}},
        {&zoomResetAction, "Zoom 100\u00a0%", ":/images/zoom_reset.png",
         "Afficher la scène à sa taille réelle", {QKeySequence(Qt::CTRL | Qt::Key_0)}},
        {&fitToWindowAction, "Ajuster à la fenêtre", ":/images/zoom_fit.png",
         "Afficher tous les objets dans la fenêtre",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)}},
    };
    for (const auto &c : commands) {
        *c.action = new QAction(QIcon(QString::fromUtf8(c.icon)), tr(c.text), this);
        (*c.action)->setStatusTip(tr(c.statusTip));
        (*c.action)->setShortcuts(c.shortcuts);
    }
}

void MainWindow::createViewMenu()
{
    viewMenu = menuBar()->addMenu(tr("&Affichage"));
    viewMenu->addAction(zoomInAction);
    viewMenu->addAction(zoomOutAction);
    viewMenu->addAction(zoomResetAction);
    viewMenu->addAction(fitToWindowAction);
    viewMenu->addSeparator();
    viewMenu->addAction(centerViewAction);
}

void MainWindow::createViewToolBar()
{
    zoomBox = new ZoomBox;
    viewToolBar = addToolBar(tr("Affichage"));
    viewToolBar->addAction(zoomOutAction);
    viewToolBar->addWidget(zoomBox);
    viewToolBar->addAction(zoomInAction);
    viewToolBar->addAction(fitToWindowAction);
}

void MainWindow::connectView()
{
    connect(zoomInAction, &QAction::triggered, view, &DiagramView::zoomIn);
    connect(zoomOutAction, &QAction::triggered, view, &DiagramView::zoomOut);
    connect(zoomResetAction, &QAction::triggered, view, &DiagramView::resetZoom);
    connect(fitToWindowAction, &QAction::triggered, view, &DiagramView::fitToWindow);
    connect(zoomBox, &ZoomBox::zoomRequested, view, &DiagramView::setZoom);
    connect(view, &DiagramView::zoomChanged, zoomBox, &ZoomBox::setZoom);
}
