#include "app/MainWindow.h"

#include "app/MathWindow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/PropertyCommand.h"

#include <QPointer>

#include <memory>

// The formula editor window.

void MainWindow::showDialogMath()
{
    auto *window = new MathWindow;
    // A new editor at every click: each one goes when it is closed.
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MathWindow::done, scene, &DiagramScene::setPixmapToAdd);

    // An editor closed without a formula must not leave the scene waiting
    // to place whatever it was given before (or an empty picture).
    auto accepted = std::make_shared<bool>(false);
    connect(window, &MathWindow::done, this, [accepted] { *accepted = true; });
    connect(window, &QObject::destroyed, this, [this, accepted] {
        if (!*accepted)
            resetModeAfterInsertion(11); // the "Math" insertion button
    });

    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

// A formula changed in place: same id, name, position and arrows, one step
// of the history.
void MainWindow::editFormula(DiagramImage *formula)
{
    auto *window = new MathWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFormula(formula->path());
    QPointer<DiagramImage> edited(formula);
    connect(window, &MathWindow::done, this, [this, edited](const QString &text) {
        if (edited)
            scene->push(PropertyCommand::change({edited.data()}, DiagramObject::Property::FormulaText,
                                                text));
    });
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}
