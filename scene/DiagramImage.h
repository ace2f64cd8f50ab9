#ifndef DIAGRAMIMAGE_H
#define DIAGRAMIMAGE_H

#include <QGraphicsPixmapItem>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class Arrow;
class DiagramImageResizer;
class DiagramImageRotator;
class LineInputActionWidget;
class QGraphicsRotation;
class QGraphicsScale;
class QMenu;

// A picture loaded from a file or a typeset formula. Like a shape it has
// arrows, four resize handles and a rotate handle; it scales uniformly.
class DiagramImage : public QObject, public QGraphicsPixmapItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 16 };

    // The menu and the action are not owned. The creator sets the content,
    // the offset that centres the pixmap on the position, the flags, the
    // z-value and the position.
    DiagramImage(QMenu *contextMenu, LineInputActionWidget *nameAction,
                 QGraphicsItem *parent = nullptr);
    // Destroys the arrows still attached, which cannot outlive an end.
    ~DiagramImage() override;

    int type() const override { return Type; }

    // For a formula, path is the formula text. A picture whose pixmap is
    // null (unreadable file) shows a card naming its file instead.
    void setContent(const QString &path, const QPixmap &pixmap, bool isMath);
    QString path() const { return m_path; }
    bool isMath() const { return m_isMath; }

    QString name() const { return m_name; }
    void setName(const QString &name);

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

    QGraphicsRotation *rotationTransform() const { return m_itemRotation; }
    QGraphicsScale *scaleTransform() const { return m_itemScale; }

    QList<Arrow *> arrows() const { return m_arrows; }
    void addArrow(Arrow *arrow);
    // Removes the first occurrence, if any.
    void removeArrow(Arrow *arrow);
    // Takes every arrow out of both ends' lists, asks the scene to remove it
    // (removeArrowFromScene) and destroys it.
    void removeArrows();

    void showResizers();
    void hideResizers();
    // Puts the handles on the picture's corners and top edge, turned like
    // it; call after a change of its pixmap or offset.
    void placeHandles();
    bool isRotatorHovered() const { return m_rotatorHovered; }
    void setRotatorHovered(bool hovered) { m_rotatorHovered = hovered; }

    // Fills the name line edit before the menu opens.
    void updateActions();

    QJsonObject toJson() const;

public slots:
    // Turns (isRescaling false) or scales uniformly about the origin, which
    // the centring offset makes the pixmap's centre.
    void changeTransform(int rotationDegre, bool isRescaling = false, double scale = 0.0);

signals:
    void imageSelected(QGraphicsItem *image);
    void removeArrowFromScene(Arrow *arrow);
    void nameChanged(QGraphicsItem *item);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;

private:
    void createHandles();

    QMenu *m_contextMenu;
    QGraphicsRotation *m_itemRotation;
    LineInputActionWidget *m_nameAction;
    QList<Arrow *> m_arrows;
    QGraphicsScale *m_itemScale;
    // Made by the first showResizers(); null until then.
    DiagramImageResizer *m_resizers[4] = {};
    DiagramImageRotator *m_rotator = nullptr;
    QString m_path;
    bool m_isMath = false;
    bool m_rotatorHovered = false;
    QString m_name;
    int m_id = 0;
};

#endif // DIAGRAMIMAGE_H
