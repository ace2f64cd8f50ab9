#include "scene/Dialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPushButton>
#include <QRegularExpression>

namespace {

Dialogs *installed = nullptr;

// The suffixes a filter list names: "png" and "jpg" for
// "PNG (*.png);;JPG (*.jpg)".
QStringList filterSuffixes(const QString &filters)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QStringList suffixes;
    for (auto it = pattern.globalMatch(filters); it.hasNext();)
        suffixes << it.next().captured(1);
    return suffixes;
}

// The name with the suffix of the filter the user chose unless it already
// ends in one that the filters offer, so that "schema" saved under
// "PNG (*.png)" becomes "schema.png" and "rapport.png" saved as a PDF
// "rapport.png.pdf" rather than a PDF called .png. Without a chosen
// filter, the first of `filters` (";;" between filters) counts.
QString withFilterSuffix(const QString &fileName, const QString &filters,
                         const QString &selectedFilter)
{
    if (filterSuffixes(filters).contains(QFileInfo(fileName).suffix(), Qt::CaseInsensitive))
        return fileName;
    const QString filter = selectedFilter.isEmpty()
        ? filters.section(QStringLiteral(";;"), 0, 0)
        : selectedFilter;
    const QString suffix = filterSuffixes(filter).value(0);
    if (suffix.isEmpty())
        return fileName;
    // "schema." has an empty suffix too; it must not become "schema..png".
    const QString stem = fileName.endsWith(QLatin1Char('.')) ? fileName.chopped(1) : fileName;
    return stem + QLatin1Char('.') + suffix;
}

// The folder itself, or the nearest one above it that exists: given a
// missing folder, Qt's dialogs would offer its name as the file name.
QString existingFolder(const QString &dir)
{
    QDir folder(dir);
    while (!folder.exists() && folder.cdUp()) {
    }
    return folder.exists() ? folder.path() : QDir::homePath();
}

} // namespace

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
    return QFileDialog::getOpenFileName(parent, caption, existingFolder(dir), filter);
}

QString Dialogs::saveFileName(QWidget *parent, const QString &caption,
                              const QString &dir, const QString &filter,
                              QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, existingFolder(dir), filter,
                                        selectedFilter);
}

QString Dialogs::saveFileNameWithSuffix(QWidget *parent, const QString &caption,
                                        const QString &dir, const QString &filters)
{
    QString selectedFilter;
    const QString chosen = saveFileName(parent, caption, dir, filters, &selectedFilter);
    return chosen.isEmpty() ? chosen : withFilterSuffix(chosen, filters, selectedFilter);
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

Dialogs::Answer Dialogs::ask(QWidget *parent, const QString &title, const QString &text,
                             const QString &proceed, const QString &discard,
                             const QString &cancel)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *proceedButton = box.addButton(proceed, QMessageBox::AcceptRole);
    QPushButton *discardButton = box.addButton(discard, QMessageBox::DestructiveRole);
    QPushButton *cancelButton = box.addButton(cancel, QMessageBox::RejectRole);
    box.setDefaultButton(proceedButton);
    box.setEscapeButton(cancelButton);
    box.exec();
    if (box.clickedButton() == proceedButton)
        return Proceed;
    return box.clickedButton() == discardButton ? Discard : Cancel;
}
