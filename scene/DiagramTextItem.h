#ifndef DIAGRAMTEXTITEM_H
#define DIAGRAMTEXTITEM_H

#include <QGraphicsTextItem>
#include <QJsonObject>
#include <QPointer>
#include <QString>

class DiagramItem;
class LineInputActionWidget;
class QGraphicsRotation;
class QMenu;

// Free text on the scene. It never wraps; with right alignment it grows to
// the left. It may be linked to one shape, which then stays centred on it
// and fits around it.
class DiagramTextItem : public QGraphicsTextItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 3 };

    // The menu and the action are not owned. The creator sets the text
    // interaction flags, font, colour, z-value and position.
    DiagramTextItem(QMenu *contextMenu, LineInputActionWidget *nameAction,
                    QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }

    QString name() const { return m_name; }
    void setName(const QString &name);

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

    // Hides QGraphicsTextItem::setFont so that the item is measured again.
    void setFont(const QFont &font);

    // A Qt::Alignment value applied to every block.
    int alignment() const { return m_alignment; }
    void setAlignment(int alignment);

    // The item's only transformation; nothing turns it.
    QGraphicsRotation *rotationTransform() const { return m_itemRotation; }

    // Resets the shape's rotation and centres it on this text. The caller
    // also calls the shape's setLinkedText(this).
    void linkTo(DiagramItem *item);
    void unlink();
    bool isLinked() const;
    DiagramItem *linkedItem() const;

    // Fills the name line edit before the menu opens.
    void updateActions();

    QJsonObject toJson() const;

public slots:
    void setLinkedItemIsMoving(bool moving) { m_linkedItemIsMoving = moving; }
    // Re-measures the text so that it never wraps.
    void updateGeometry();

signals:
    void lostFocus(DiagramTextItem *item);
    void selectedChange(QGraphicsItem *item);
    void nameChanged(QGraphicsItem *item);

protected:
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    void applyAlignment();
    void centreLinkedItem();

    QMenu *m_contextMenu;
    QGraphicsRotation *m_itemRotation;
    LineInputActionWidget *m_nameAction;
    // Guarded: a shape deleted without unlinking first must not leave a
    // dangling link.
    QPointer<DiagramItem> m_linkedItem;
    bool m_linkedItemIsMoving = false;
    bool m_updatingGeometry = false;
    QString m_name;
    int m_id = 0;
    int m_alignment = Qt::AlignLeft;
};

#endif // DIAGRAMTEXTITEM_H
