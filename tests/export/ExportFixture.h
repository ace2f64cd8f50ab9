#ifndef EXPORTFIXTURE_H
#define EXPORTFIXTURE_H

#include "app/MainWindow.h"
#include "export/ConvertToIMG.h"
#include "scene/DiagramScene.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A main window whose blocking dialogs are answered by `dialogs`, with
// helpers that run its export commands as a user would.
class ExportFixture
{
public:
    ExportFixture() : window(new MainWindow) { QVERIFY(folder.isValid()); }
    ~ExportFixture()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir folder;

    DiagramScene *scene() const
    {
        return static_cast<DiagramScene *>(window->findChild<QGraphicsView *>()->scene());
    }

    // A borderless, selectable block whose bounding rectangle is exactly `rect`.
    QGraphicsRectItem *addBlock(const QRectF &rect, const QColor &color = Qt::red) const
    {
        auto *block = scene()->addRect(rect, Qt::NoPen, color);
        block->setFlag(QGraphicsItem::ItemIsSelectable);
        return block;
    }

    // "Convertir en image": the export window it opens.
    ConvertToIMG *openExportWindow() const
    {
        QMetaObject::invokeMethod(window.get(), "toImage");
        return window->findChild<ConvertToIMG *>();
    }

    // "Convertir" in the export window, the save dialog answered with
    // `answer` (empty: cancelled) under `filter` (empty: none reported).
    void convert(ConvertToIMG *export_, const QString &answer, const QString &filter = {})
    {
        answerSave(answer, filter);
        QTest::mouseClick(export_->findChild<QPushButton *>("pushButton_convert"), Qt::LeftButton);
    }

    // "Convertir en PDF", answered likewise.
    void toPdf(const QString &answer, const QString &filter = {})
    {
        answerSave(answer, filter);
        QMetaObject::invokeMethod(window.get(), "toPDF");
    }

    QList<ScriptedDialogs::Call> boxes() const { return dialogs.callsOf("message"); }

    QString path(const QString &name) const { return folder.filePath(name); }

private:
    void answerSave(const QString &answer, const QString &filter)
    {
        dialogs.fileNames.clear();
        dialogs.selectedFilters.clear();
        if (!answer.isEmpty())
            dialogs.fileNames.enqueue(answer);
        if (!filter.isEmpty())
            dialogs.selectedFilters.enqueue(filter);
    }
};

#endif // EXPORTFIXTURE_H
