#ifndef CONVERTTOIMG_H
#define CONVERTTOIMG_H

#include <QColor>
#include <QMainWindow>

#include <memory>

class ColoredLabel;
class DiagramScene;
class GraphicsViewSave;
class QButtonGroup;
class ScopedExportArea;

namespace Ui {
class ConvertToIMG;
}

// The picture export window: a preview of the export area (the scene
// rectangle), the background choices, which act on the scene at once, and
// the conversion to a PNG or JPG file.
class ConvertToIMG : public QMainWindow
{
    Q_OBJECT

public:
    // Ids of the background picture buttons in toolButtonGroup.
    enum PictureButton { WhiteGrid = 10, GrayGrid = 11, CustomPicture = 12 };

    // The scales the window offers, from 1 to this.
    static constexpr int maxWindowScale = 4;

    explicit ConvertToIMG(QWidget *parent = nullptr);
    ~ConvertToIMG() override;

    // Call once after construction: clears the selection and makes the
    // scene rectangle the export area until the window goes, builds the
    // preview, sizes the window from the primary screen and the export
    // area, and shows the scene's background in the controls. The scene is
    // not owned; the window closes if the scene goes.
    void setScene(DiagramScene *scene);

    // Pixels per scene unit of the picture "Convertir" writes: the scale
    // box's choice, 1 (the default) to maxWindowScale.
    int scale() const;

    // Checks the picture button `id` and unchecks the others; an id no
    // button has unchecks them all.
    void checkToolButton(int id);
    void chooseCustomImage();

public slots:
    void setColor();
    void setBackgroundTransparancy();
    void setButtonEnabled(bool state);
    void toolButtonClicked(int id);
    void on_pushButton_convert_clicked();

private:
    void mirrorBackground();
    void centreOverParent(const QRect &screen);
    // The picture button of the scene's background, or 0 when it has none.
    int pictureButtonOf() const;
    void setPictureBackground(const QPixmap &picture, const QString &path);

    Ui::ConvertToIMG *ui;
    QColor color;
    ColoredLabel *colorLabel;
    QButtonGroup *toolButtonGroup;
    DiagramScene *scene = nullptr;
    GraphicsViewSave *view = nullptr;
    std::unique_ptr<ScopedExportArea> exportArea;
};

#endif // CONVERTTOIMG_H
