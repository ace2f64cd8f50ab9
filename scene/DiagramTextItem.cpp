#include "scene/DiagramTextItem.h"

#include "scene/DiagramItem.h"
#include "scene/DiagramObjectVisitor.h"
#include "scene/DiagramScene.h"
#include "scene/TextEditCommand.h"

#include <QGraphicsRotation>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QKeyEvent>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector3D>

DiagramTextItem::DiagramTextItem(QGraphicsItem *parent)
    : QGraphicsTextItem(parent),
      m_itemRotation(new QGraphicsRotation)
{
    // The item owns its transformations (QGraphicsItem deletes them).
    m_itemRotation->setOrigin(QVector3D(boundingRect().center()));
    setTransformations({m_itemRotation});
    setFlag(ItemIsMovable);
    setFlag(ItemIsSelectable);
    setFlag(ItemSendsGeometryChanges);
    updateGeometry();
    connect(document(), &QTextDocument::contentsChange, this, &DiagramTextItem::updateGeometry);
    // Typing is undone through the diagram's history, step by step with the
    // rest; the document keeps no history of its own.
    document()->setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChanged, this, &DiagramTextItem::recordTyping);
}

void DiagramTextItem::setPlainTextFromHistory(const QString &text)
{
    m_applyingHistory = true;
    setPlainText(text);
    m_recordedText = text;
    m_applyingHistory = false;
}

void DiagramTextItem::recordTyping()
{
    DiagramScene *scene = diagramScene();
    if (m_applyingHistory || !hasFocus() || !scene)
        return;
    const QString typed = toPlainText();
    if (typed == m_recordedText)
        return; // a change of format only
    scene->push(new TextEditCommand(this, m_recordedText, typed, m_editSession));
    m_recordedText = typed;
}

void DiagramTextItem::setFont(const QFont &font)
{
    QGraphicsTextItem::setFont(font);
    updateGeometry();
}

void DiagramTextItem::setAlignment(int alignment)
{
    m_alignment = alignment;
    applyAlignment();
}

void DiagramTextItem::applyAlignment()
{
    // A cursor of our own: the item's cursor and its selection stay as they
    // are, and replacing the item's cursor while the document reports a
    // change would corrupt the document's list of cursors.
    QTextBlockFormat format;
    format.setProperty(QTextFormat::BlockAlignment, m_alignment);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

void DiagramTextItem::linkTo(DiagramItem *item)
{
    if (!item) {
        qWarning("DiagramTextItem::linkTo: no shape given; the text stays as it is");
        return;
    }
    unlink();
    m_linkedItem = item;
    // The shape is unturned when the link is made.
    item->changeTransform(0, false, 0.0, 0.0, false);
    connect(item, &DiagramItem::moving, this, &DiagramTextItem::setLinkedItemIsMoving);
    centreLinkedItem();
}

void DiagramTextItem::unlink()
{
    if (m_linkedItem)
        disconnect(m_linkedItem.data(), &DiagramItem::moving,
                   this, &DiagramTextItem::setLinkedItemIsMoving);
    m_linkedItem = nullptr;
    m_linkedItemIsMoving = false;
}

bool DiagramTextItem::isLinked() const
{
    return !m_linkedItem.isNull();
}

DiagramItem *DiagramTextItem::linkedItem() const
{
    return m_linkedItem.data();
}

void DiagramTextItem::updateGeometry()
{
    // Re-applying the alignment edits the document, which calls us again.
    if (m_updatingGeometry)
        return;
    m_updatingGeometry = true;
    const QRectF before = boundingRect();
    // As wide as the longest line, so that the text never wraps.
    setTextWidth(-1);
    setTextWidth(boundingRect().width());
    applyAlignment();
    const QRectF after = boundingRect();
    // Right-aligned text grows to the left: its right edge stays put.
    if (m_alignment & Qt::AlignRight)
        moveBy(before.right() - after.right(), before.top() - after.top());
    m_updatingGeometry = false;
    if (m_linkedItem)
        m_linkedItem->fitLinkedText();
    centreLinkedItem();
}

void DiagramTextItem::centreLinkedItem()
{
    // While the shape is dragged it moves the text, not the other way round.
    if (!m_linkedItem || m_linkedItemIsMoving)
        return;
    const QRectF r = boundingRect();
    m_linkedItem->setPos(scenePos() + QPointF(0.5 * r.width(), 0.5 * r.height()));
}

void DiagramTextItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    if (textInteractionFlags() == Qt::NoTextInteraction)
        setTextInteractionFlags(Qt::TextEditorInteraction);
    QGraphicsTextItem::mouseDoubleClickEvent(event);
}

void DiagramTextItem::contextMenuEvent(QGraphicsSceneContextMenuEvent *event)
{
    requestContextMenu(event);
}

QVariant DiagramTextItem::value(Property property) const
{
    switch (property) {
    case Property::TextColor:
        return defaultTextColor();
    case Property::Font:
        return font();
    case Property::Alignment:
        return m_alignment;
    default:
        return DiagramObject::value(property);
    }
}

void DiagramTextItem::setValue(Property property, const QVariant &value)
{
    switch (property) {
    case Property::TextColor:
        setDefaultTextColor(value.value<QColor>());
        break;
    case Property::Font:
        setFont(value.value<QFont>());
        break;
    case Property::Alignment:
        setAlignment(value.toInt());
        break;
    default:
        DiagramObject::setValue(property, value);
        break;
    }
}

void DiagramTextItem::accept(DiagramObjectVisitor &visitor) const
{
    visitor.visit(*this);
}

void DiagramTextItem::focusInEvent(QFocusEvent *event)
{
    // Each editing is its own step of the history.
    static int editSessions = 0;
    m_editSession = ++editSessions;
    m_recordedText = toPlainText();
    QGraphicsTextItem::focusInEvent(event);
}

bool DiagramTextItem::sceneEvent(QEvent *event)
{
    // Undo and redo are the diagram's, even while a text is edited: the key
    // goes to the window's actions, which end the editing first.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            event->ignore();
            return true;
        }
    }
    return QGraphicsTextItem::sceneEvent(event);
}

void DiagramTextItem::focusOutEvent(QFocusEvent *event)
{
    setTextInteractionFlags(Qt::NoTextInteraction);
    setSelected(false);
    // The scene may remove an emptied text here (later, not at once).
    emit lostFocus(this);
    QGraphicsTextItem::focusOutEvent(event);
}

QVariant DiagramTextItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged)
        emit selectedChange(this);
    else if (change == ItemPositionHasChanged)
        centreLinkedItem();
    return value;
}
