#include "scene/PropertyCommand.h"

#include <QCoreApplication>

using Property = DiagramObject::Property;

namespace {

// Mergeable commands share one id; mergeWith() checks the rest.
constexpr int mergeableId = 0x5052; // "PR"

QString tr(const char *text, int count = -1)
{
    return QCoreApplication::translate("PropertyCommand", text, nullptr, count);
}

} // namespace

PropertyCommand::PropertyCommand(const QString &text, QList<Entry> entries)
    : QUndoCommand(text)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const Entry &e) { return e.before == e.after; }),
                  entries.end());
    m_entries = std::move(entries);
}

PropertyCommand *PropertyCommand::change(const QList<DiagramObject *> &objects,
                                         Property property, const QVariant &after)
{
    QList<Entry> entries;
    for (DiagramObject *object : objects) {
        const QVariant before = object->value(property);
        if (before.isValid())
            entries.append({object, property, before, after});
    }
    return new PropertyCommand(textFor(property, entries.size()), entries);
}

QString PropertyCommand::textFor(Property property, int count)
{
    switch (property) {
    case Property::Name: return tr("Renommer %n objet(s)", count);
    case Property::Position: return tr("Déplacer %n objet(s)", count);
    case Property::ZValue: return tr("Changer de plan %n objet(s)", count);
    case Property::Rotation: return tr("Tourner %n objet(s)", count);
    case Property::Scale:
    case Property::TextMargins: return tr("Redimensionner %n objet(s)", count);
    case Property::FillColor: return tr("Couleur de remplissage");
    case Property::Border: return tr("Bordure");
    case Property::TextColor: return tr("Couleur du texte");
    case Property::Font: return tr("Police");
    case Property::Alignment: return tr("Alignement");
    case Property::ArrowSize: return tr("Taille de la flèche");
    case Property::LineColor: return tr("Couleur de la flèche");
    case Property::ArrowTip: return tr("Pointe de la flèche");
    case Property::FormulaText: return tr("Modifier la formule");
    }
    return QString();
}

void PropertyCommand::undo()
{
    // Backwards, so that an object changed twice ends at its first value.
    for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it)
        it->object->setValue(it->property, it->before);
}

void PropertyCommand::redo()
{
    for (const Entry &entry : qAsConst(m_entries))
        entry.object->setValue(entry.property, entry.after);
}

int PropertyCommand::id() const
{
    return m_mergeable ? mergeableId : -1;
}

bool PropertyCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const PropertyCommand *>(other);
    if (!next->m_mergeable || next->m_entries.size() != m_entries.size())
        return false;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (next->m_entries[i].object != m_entries[i].object
            || next->m_entries[i].property != m_entries[i].property)
            return false;
    }
    for (int i = 0; i < m_entries.size(); ++i)
        m_entries[i].after = next->m_entries[i].after;
    return true;
}
