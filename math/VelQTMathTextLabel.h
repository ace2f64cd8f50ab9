#ifndef VELQTMATHTEXTLABEL_H
#define VELQTMATHTEXTLABEL_H

#include <QLabel>
#include <QPixmap>
#include <QString>

class VelQTmathText;

// A label whose picture is a typeset formula. The formula is rendered into a
// transparent pixmap when its text changes; painting is the QLabel's own.
class VelQTMathTextLabel : public QLabel
{
    Q_OBJECT

public:
    explicit VelQTMathTextLabel(QWidget *parent = nullptr);

    // Renders `text` unless it is already the text shown; `repaintNow`
    // renders it again anyway (after a change of the label's font, say).
    void setFormula(const QString &text, bool repaintNow = false);

    // Longest side of a picture the label agrees to allocate, in pixels.
    static constexpr int maxPictureSide = 16000;

private:
    void internalPaint();

    VelQTmathText *engine;
    QString paintedText;
    QPixmap cache;
};

#endif // VELQTMATHTEXTLABEL_H
