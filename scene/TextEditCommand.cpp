#include "scene/TextEditCommand.h"

#include "scene/DiagramTextItem.h"

#include <QCoreApplication>

namespace {

constexpr int textEditId = 0x5445; // "TE"

} // namespace

TextEditCommand::TextEditCommand(DiagramTextItem *text, const QString &before,
                                 const QString &after, int session)
    : QUndoCommand(QCoreApplication::translate("TextEditCommand", "Saisir dans %1").arg(text->name())),
      m_text(text), m_before(before), m_after(after), m_session(session)
{
}

void TextEditCommand::undo()
{
    m_text->setPlainTextFromHistory(m_before);
}

void TextEditCommand::redo()
{
    if (m_done) {
        m_done = false;
        return;
    }
    m_text->setPlainTextFromHistory(m_after);
}

int TextEditCommand::id() const
{
    return textEditId;
}

bool TextEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const TextEditCommand *>(other);
    if (next->m_text != m_text || next->m_session != m_session)
        return false;
    m_after = next->m_after;
    return true;
}
