#ifndef MATHWINDOW_H
#define MATHWINDOW_H

#include <QMainWindow>
#include <QPixmap>
#include <QString>

class QButtonGroup;
class QLabel;
class QSpinBox;
class QTextEdit;
class QToolBox;
struct PaletteEntry;

// The formula editor. The user writes a formula in the engine's LaTeX-like
// language, sees it typeset under the text, and hands it over with
// "Valider" as a transparent picture. Palette buttons insert ready-made
// snippets at the cursor.
class MathWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MathWindow(QWidget *parent = nullptr);

    // What the palette button `id` inserts; empty for an id no button has.
    static QString snippet(int id);

    // Opens on a formula to change: its text, "$" and what was typed.
    void setFormula(const QString &formula);

    // Longest side of a formula picture, in pixels: painting cannot
    // allocate much larger pixmaps.
    static constexpr int maxPictureSide = 16000;

signals:
    // `string` is "$" followed by the typed text, `pixmap` its picture on a
    // transparent background. Sent only for a formula that can be placed.
    void done(QString string, QPixmap pixmap);

public slots:
    void buttonGroupClicked(int id);
    // Typing reaches this with the default size; the size spin box with its
    // own value.
    void on_textEdit_textChanged(int sizePolice = 20);
    void on_pushButton_cancel_clicked();
    void on_pushButton_valid_clicked();

private:
    void createForm();
    QToolBox *createPalettes();
    QWidget *createPaletteEntry(const PaletteEntry &entry);
    // "$" + the typed text: the formula is read in math mode from its start.
    QString formulaText() const;
    bool hasFormula() const;

    QTextEdit *textEdit = nullptr;
    QLabel *label = nullptr;
    QSpinBox *tailleDeLaPoliceSpinBox = nullptr;
    QButtonGroup *buttonGroup = nullptr;
};

#endif // MATHWINDOW_H
