#ifndef DIALOGS_H
#define DIALOGS_H

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>

class QWidget;

// The one door to the blocking dialogs (file, colour, font, message boxes).
// Code calls Dialogs::instance(); tests install a subclass that answers
// without showing anything, while everything behind the answers stays real.
class Dialogs
{
public:
    // The answer to a question of three buttons: go on, go on throwing
    // something away, or change nothing (also Escape and closing the box).
    enum Answer { Proceed, Discard, Cancel };

    virtual ~Dialogs();

    static Dialogs *instance();
    // Installs a replacement, not owned; nullptr brings back the real dialogs.
    static void setInstance(Dialogs *dialogs);

    virtual QString openFileName(QWidget *parent, const QString &caption,
                                 const QString &dir, const QString &filter);
    // selectedFilter, when given, receives the filter the user picked.
    virtual QString saveFileName(QWidget *parent, const QString &caption,
                                 const QString &dir, const QString &filter,
                                 QString *selectedFilter = nullptr);
    // Returns an invalid colour when the user cancels.
    virtual QColor color(const QColor &initial, QWidget *parent,
                         const QString &title = QString());
    // *ok is false when the user cancels.
    virtual QFont font(bool *ok, const QFont &initial, QWidget *parent,
                       const QString &title = QString());
    virtual QMessageBox::StandardButton message(
        QMessageBox::Icon icon, QWidget *parent, const QString &title,
        const QString &text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // A question whose buttons say what each answer does ("Enregistrer",
    // "Ne pas enregistrer", "Annuler"); the first is the default.
    virtual Answer ask(QWidget *parent, const QString &title, const QString &text,
                       const QString &proceed, const QString &discard, const QString &cancel);

    // A save dialog whose answer, when typed without a suffix, gets the
    // suffix of the filter chosen (or of the first one); empty on cancel.
    QString saveFileNameWithSuffix(QWidget *parent, const QString &caption,
                                   const QString &dir, const QString &filters);

    // Shorthands for the common boxes.
    void information(QWidget *parent, const QString &title, const QString &text)
    { message(QMessageBox::Information, parent, title, text); }
    void warning(QWidget *parent, const QString &title, const QString &text)
    { message(QMessageBox::Warning, parent, title, text); }
};

#endif // DIALOGS_H
