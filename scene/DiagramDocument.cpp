#include "scene/DiagramDocument.h"

#include "scene/DiagramScene.h"

#include <QUndoStack>

DiagramDocument::DiagramDocument(QObject *parent)
    : QObject(parent), m_undoStack(new QUndoStack(this)), m_scene(new DiagramScene(this))
{
    m_undoStack->setUndoLimit(defaultUndoLimit);
    m_scene->setUndoStack(m_undoStack);
    connect(m_undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

DiagramDocument::~DiagramDocument()
{
    // A history that goes is not a saved document: no modifiedChanged(false),
    // which would let the autosave drop its recovery file.
    m_undoStack->disconnect(this);
    delete m_undoStack;
    m_undoStack = nullptr;
    m_scene->setUndoStack(nullptr);
    delete m_scene;
}

bool DiagramDocument::isModified() const
{
    return !m_undoStack->isClean();
}

void DiagramDocument::markSaved()
{
    m_undoStack->setClean();
}

void DiagramDocument::markUnsaved()
{
    m_undoStack->resetClean();
}
