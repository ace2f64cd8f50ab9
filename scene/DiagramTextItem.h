#ifndef DIAGRAMTEXTITEM_H
#define DIAGRAMTEXTITEM_H

#include "scene/DiagramObject.h"

#include <QGraphicsTextItem>
#include <QPointer>
#include <QString>

class DiagramItem;
class QGraphicsRotation;

// Free text on the scene. It never wraps; with right alignment it grows to
// the left. It may be linked to one shape, which then stays centred on it
// and fits around it.
class DiagramTextItem : public QGraphicsTextItem, public DiagramObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 3 };

    // The creator sets the text interaction flags, font, colour, z-value
    // and position.
    explicit DiagramTextItem(QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }

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

    Kind kind() const override { return Kind::Text; }
    QGraphicsItem *graphicsItem() override { return this; }
    QObject *qObject() override { return this; }
    QVariant value(Property property) const override;
    void setValue(Property property, const QVariant &value) override;
    void accept(DiagramObjectVisitor &visitor) const override;

public slots:
    void setLinkedItemIsMoving(bool moving) { m_linkedItemIsMoving = moving; }
    // Re-measures the text so that it never wraps.
    void updateGeometry();

public:
    // The text as undo or redo gives it back, without recording a change.
    void setPlainTextFromHistory(const QString &text);

signals:
    void lostFocus(DiagramTextItem *item);
    void selectedChange(QGraphicsItem *item);

protected:
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool sceneEvent(QEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    void applyAlignment();
    void centreLinkedItem();
    // Records what the user typed since the last change as one step of the
    // history; the steps of one editing make one.
    void recordTyping();

    QGraphicsRotation *m_itemRotation;
    // Guarded: a shape deleted without unlinking first must not leave a
    // dangling link.
    QPointer<DiagramItem> m_linkedItem;
    bool m_linkedItemIsMoving = false;
    bool m_updatingGeometry = false;
    bool m_applyingHistory = false;
    // The text as last recorded, and which editing is under way.
    QString m_recordedText;
    int m_editSession = 0;
    int m_alignment = Qt::AlignLeft;
};

#endif // DIAGRAMTEXTITEM_H
