#include "scene/DiagramTextItem.h"

#include "scene/DiagramItem.h"
#include "scene/DiagramObjectVisitor.h"
#include "scene/DiagramScene.h"
#include "scene/TextEditCommand.h"
#include "scene/drawSelectionFrame.h"

#include <QGraphicsRotation>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QStyleOptionGraphicsItem>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector3D>

DiagramTextItem::DiagramTextItem(QGraphicsItem *parent)
    : QGraphicsTextItem(parent),
      m_itemRotation(new QGraphicsRotation),
      m_color(QPalette().color(QPalette::Text))
{
    // The item owns its transformations (QGraphicsItem deletes them).
    m_itemRotation->setOrigin(QVector3D(boundingRect().center()));
    setTransformations({m_itemRotation});
    setFlag(ItemIsMovable);
    setFlag(ItemIsSelectable);
    setFlag(ItemSendsGeometryChanges);
}

QString DiagramTextItem::toPlainText() const
{
    if (m_editing)
        return QGraphicsTextItem::toPlainText();
    return TextLabelLayout::plainFromRaw(m_rawText);
}

void DiagramTextItem::setPlainText(const QString &text)
{
    if (m_editing)
        QGraphicsTextItem::setPlainText(text);
    else
        changeLabel(TextLabelLayout::rawFromPlain(text), m_font);
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
    if (m_editing) {
        m_font = font;
        QGraphicsTextItem::setFont(font);
        measureDocument();
    } else {
        changeLabel(m_rawText, font);
    }
}

void DiagramTextItem::setDefaultTextColor(const QColor &color)
{
    m_color = color;
    if (m_editing)
        QGraphicsTextItem::setDefaultTextColor(color);
    update();
}

void DiagramTextItem::setAlignment(int alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    if (m_editing) {
        applyAlignment();
    } else {
        // Aligned in the same width: only the lines move.
        m_labelIsStale = true;
        update();
    }
}

void DiagramTextItem::applyAlignment()
{
    // A cursor of our own: the item's cursor and its selection stay as they
    // are, and replacing the item's cursor while the document reports a
    // change would corrupt the document's list of cursors.
    QTextBlockFormat format;
    format.setProperty(QTextFormat::BlockAlignment, m_alignment);
    QTextCursor cursor(QGraphicsTextItem::document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(format);
}

Qt::TextInteractionFlags DiagramTextItem::textInteractionFlags() const
{
    return m_hasControl ? QGraphicsTextItem::textInteractionFlags() : Qt::NoTextInteraction;
}

void DiagramTextItem::setTextInteractionFlags(Qt::TextInteractionFlags flags)
{
    if (flags != Qt::NoTextInteraction && !m_editing)
        beginEditing();
    if (m_hasControl)
        QGraphicsTextItem::setTextInteractionFlags(flags);
    if (flags == Qt::NoTextInteraction && m_editing)
        endEditing();
}

QTextCursor DiagramTextItem::textCursor() const
{
    return m_editing ? QGraphicsTextItem::textCursor() : QTextCursor();
}

void DiagramTextItem::setTextCursor(const QTextCursor &cursor)
{
    if (m_editing)
        QGraphicsTextItem::setTextCursor(cursor);
}

QTextDocument *DiagramTextItem::document() const
{
    return m_editing ? QGraphicsTextItem::document() : nullptr;
}

void DiagramTextItem::beginEditing()
{
    if (!m_hasControl) {
        m_hasControl = true;
        QTextDocument *document = QGraphicsTextItem::document(); // makes the control
        // Typing is undone through the diagram's history, step by step with
        // the rest; the document keeps no history of its own.
        document->setUndoRedoEnabled(false);
        connect(document, &QTextDocument::contentsChange, this, &DiagramTextItem::documentChanged);
        connect(document, &QTextDocument::contentsChanged, this, &DiagramTextItem::recordTyping);
    }
    // The document takes over what the item showed, at the same place and
    // size: nothing moves and nothing is recorded.
    prepareGeometryChange();
    m_editing = true;
    m_applyingHistory = true;
    m_updatingGeometry = true;
    QGraphicsTextItem::setFont(m_font);
    QGraphicsTextItem::setDefaultTextColor(m_color);
    QGraphicsTextItem::setPlainText(m_rawText);
    setTextWidth(-1);
    setTextWidth(QGraphicsTextItem::boundingRect().width());
    applyAlignment();
    m_updatingGeometry = false;
    m_applyingHistory = false;
}

void DiagramTextItem::endEditing()
{
    {
        // The selection ends with the editing.
        QTextCursor cursor = QGraphicsTextItem::textCursor();
        cursor.clearSelection();
        QGraphicsTextItem::setTextCursor(cursor);
    }
    prepareGeometryChange();
    m_rawText = QGraphicsTextItem::document()->toRawText();
    m_labelIsStale = true;
    m_editing = false;
    // Its contents and their layout are what an edited document weighs.
    m_applyingHistory = true;
    QGraphicsTextItem::setPlainText(QString());
    m_applyingHistory = false;
}

void DiagramTextItem::documentChanged()
{
    if (m_editing)
        measureDocument();
}

void DiagramTextItem::measureDocument()
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
    fitLinkedItem();
}

void DiagramTextItem::changeLabel(const QString &rawText, const QFont &font)
{
    const bool keepRightEdge = m_alignment & Qt::AlignRight;
    const QRectF before = keepRightEdge ? boundingRect() : QRectF();
    prepareGeometryChange();
    m_rawText = rawText;
    m_font = font;
    m_labelIsStale = true;
    if (keepRightEdge) {
        const QRectF after = boundingRect();
        moveBy(before.right() - after.right(), before.top() - after.top());
    }
    fitLinkedItem();
}

const TextLabelLayout &DiagramTextItem::label() const
{
    if (m_labelIsStale) {
        m_label.layOut(m_rawText, m_font, m_alignment);
        m_labelIsStale = false;
    }
    return m_label;
}

QRectF DiagramTextItem::boundingRect() const
{
    if (m_editing)
        return QGraphicsTextItem::boundingRect();
    return QRectF(QPointF(0, 0), label().size());
}

QPainterPath DiagramTextItem::shape() const
{
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

bool DiagramTextItem::contains(const QPointF &point) const
{
    return boundingRect().contains(point);
}

void DiagramTextItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    if (m_editing) {
        QGraphicsTextItem::paint(painter, option, widget);
        return;
    }
    label().draw(painter, m_color);
    if (option->state & (QStyle::State_Selected | QStyle::State_HasFocus))
        drawSelectionFrame(painter, option, boundingRect());
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

void DiagramTextItem::fitLinkedItem()
{
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

// Events: QGraphicsTextItem's handlers once the control exists (it then
// behaves as before, editing or not), QGraphicsItem's until then. Keys and
// input methods need focus, which only an item with a control can take.

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
    return m_hasControl ? QGraphicsTextItem::sceneEvent(event) : QGraphicsItem::sceneEvent(event);
}

void DiagramTextItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::mousePressEvent(event);
    else
        QGraphicsItem::mousePressEvent(event);
}

void DiagramTextItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::mouseMoveEvent(event);
    else
        QGraphicsItem::mouseMoveEvent(event);
}

void DiagramTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::mouseReleaseEvent(event);
    else
        QGraphicsItem::mouseReleaseEvent(event);
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

void DiagramTextItem::focusInEvent(QFocusEvent *event)
{
    // Each editing is its own step of the history.
    static int editSessions = 0;
    m_editSession = ++editSessions;
    m_recordedText = toPlainText();
    if (m_hasControl)
        QGraphicsTextItem::focusInEvent(event);
    else
        QGraphicsItem::focusInEvent(event);
}

void DiagramTextItem::focusOutEvent(QFocusEvent *event)
{
    setTextInteractionFlags(Qt::NoTextInteraction);
    setSelected(false);
    // The scene may remove an emptied text here (later, not at once).
    emit lostFocus(this);
    if (m_hasControl)
        QGraphicsTextItem::focusOutEvent(event);
    else
        QGraphicsItem::focusOutEvent(event);
}

void DiagramTextItem::dragEnterEvent(QGraphicsSceneDragDropEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::dragEnterEvent(event);
    else
        QGraphicsItem::dragEnterEvent(event);
}

void DiagramTextItem::dragLeaveEvent(QGraphicsSceneDragDropEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::dragLeaveEvent(event);
    else
        QGraphicsItem::dragLeaveEvent(event);
}

void DiagramTextItem::dragMoveEvent(QGraphicsSceneDragDropEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::dragMoveEvent(event);
    else
        QGraphicsItem::dragMoveEvent(event);
}

void DiagramTextItem::dropEvent(QGraphicsSceneDragDropEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::dropEvent(event);
    else
        QGraphicsItem::dropEvent(event);
}

void DiagramTextItem::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::hoverEnterEvent(event);
    else
        QGraphicsItem::hoverEnterEvent(event);
}

void DiagramTextItem::hoverMoveEvent(QGraphicsSceneHoverEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::hoverMoveEvent(event);
    else
        QGraphicsItem::hoverMoveEvent(event);
}

void DiagramTextItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    if (m_hasControl)
        QGraphicsTextItem::hoverLeaveEvent(event);
    else
        QGraphicsItem::hoverLeaveEvent(event);
}

QVariant DiagramTextItem::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return m_hasControl ? QGraphicsTextItem::inputMethodQuery(query)
                        : QGraphicsItem::inputMethodQuery(query);
}

QVariant DiagramTextItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged)
        emit selectedChange(this);
    else if (change == ItemPositionHasChanged)
        centreLinkedItem();
    return value;
}
