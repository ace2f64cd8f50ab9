#ifndef DIAGRAMTEXTITEM_H
#define DIAGRAMTEXTITEM_H

#include "scene/DiagramObject.h"
#include "scene/TextLabelLayout.h"

#include <QColor>
#include <QFont>
#include <QGraphicsTextItem>
#include <QPointer>
#include <QString>
#include <QTextCursor>

class DiagramItem;
class QGraphicsRotation;

// Free text on the scene. It never wraps; with right alignment it grows to
// the left. It may be linked to one shape, which then stays centred on it
// and fits around it.
//
// Only a text being edited needs QGraphicsTextItem's text control and its
// QTextDocument, which weigh tens of kilobytes: the control is made when
// editing first starts, and the document is emptied when the editing ends.
// Otherwise the item holds its text, font and colour itself and lays out
// and paints through a TextLabelLayout, which gives the same geometry and
// pixels; its events then go to QGraphicsItem, as QGraphicsTextItem's own
// handlers would need the control. The text, font, colour, cursor,
// interaction and document accessors below hide QGraphicsTextItem's, so
// that nothing reaches the control behind the item's back: call them on a
// DiagramTextItem, never through a QGraphicsTextItem pointer.
class DiagramTextItem : public QGraphicsTextItem, public DiagramObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 3 };

    // The creator sets the text interaction flags, font, colour, z-value
    // and position.
    explicit DiagramTextItem(QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }

    QString toPlainText() const;
    void setPlainText(const QString &text);
    // The text as undo or redo gives it back, without recording a change.
    void setPlainTextFromHistory(const QString &text);

    QFont font() const { return m_font; }
    // The item is measured again.
    void setFont(const QFont &font);

    QColor defaultTextColor() const { return m_color; }
    void setDefaultTextColor(const QColor &color);

    // A Qt::Alignment value applied to every paragraph.
    int alignment() const { return m_alignment; }
    void setAlignment(int alignment);

    // Any interaction starts an editing (and makes the text control, the
    // first time); Qt::NoTextInteraction ends it.
    Qt::TextInteractionFlags textInteractionFlags() const;
    void setTextInteractionFlags(Qt::TextInteractionFlags flags);
    bool isEditing() const { return m_editing; }

    // The editing cursor and document; a null cursor and a null document
    // while the text is not being edited.
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor &cursor);
    QTextDocument *document() const;

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

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    bool contains(const QPointF &point) const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget) override;

public slots:
    void setLinkedItemIsMoving(bool moving) { m_linkedItemIsMoving = moving; }

signals:
    void lostFocus(DiagramTextItem *item);
    void selectedChange(QGraphicsItem *item);

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dragEnterEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragLeaveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dropEvent(QGraphicsSceneDragDropEvent *event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private slots:
    // The document reports a change while the text is edited.
    void documentChanged();

private:
    void beginEditing();
    void endEditing();
    // The document re-measured after a change while editing.
    void measureDocument();
    // A change of the text or font while not editing: the right edge of
    // right-aligned text stays put, and a linked shape fits again.
    void changeLabel(const QString &rawText, const QFont &font);
    const TextLabelLayout &label() const;
    void applyAlignment();
    void fitLinkedItem();
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
    // The text control exists (it is made once and kept), and is in use.
    bool m_hasControl = false;
    bool m_editing = false;
    // What is shown while not editing; the text as the document holds it.
    QString m_rawText;
    QFont m_font;
    QColor m_color = Qt::black;
    // Laid out when first needed, so that setting the font, text and
    // alignment of a new item one after the other lays it out once.
    mutable TextLabelLayout m_label;
    mutable bool m_labelIsStale = true;
    // The text as last recorded, and which editing is under way.
    QString m_recordedText;
    int m_editSession = 0;
    int m_alignment = Qt::AlignLeft;
};

#endif // DIAGRAMTEXTITEM_H
