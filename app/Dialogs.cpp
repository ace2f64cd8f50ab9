#include "app/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

namespace {
Dialogs *installed = nullptr;
}

Dialogs::~Dialogs() = default;

Dialogs *Dialogs::instance()
{
    static Dialogs real;
    return installed ? installed : &real;
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    installed = dialogs;
}

QString Dialogs::openFileName(QWidget *parent, const QString &caption,
                              const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Dialogs::saveFileName(QWidget *parent, const QString &caption,
                              const QString &dir, const QString &filter,
                              QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
}

QColor Dialogs::color(const QColor &initial, QWidget *parent, const QString &title)
{
    return QColorDialog::getColor(initial, parent, title);
}

QFont Dialogs::font(bool *ok, const QFont &initial, QWidget *parent, const QString &title)
{
    return QFontDialog::getFont(ok, initial, parent, title);
}

QMessageBox::StandardButton Dialogs::message(
    QMessageBox::Icon icon, QWidget *parent, const QString &title,
    const QString &text, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
