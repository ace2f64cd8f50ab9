#ifndef DIAGRAMDOCUMENT_H
#define DIAGRAMDOCUMENT_H

#include <QObject>
#include <QString>

class DiagramScene;
class QUndoStack;

// One open diagram: its scene, the history of its changes and the file it
// belongs to. Every change to the diagram goes through the history, whose
// clean state is the saved state. A new or loaded diagram is a new
// document, with an empty history.
class DiagramDocument : public QObject
{
    Q_OBJECT

public:
    // How many steps the history keeps by default.
    static constexpr int defaultUndoLimit = 200;

    explicit DiagramDocument(QObject *parent = nullptr);
    // The history goes first: its commands hold the items deleted and kept
    // for undo, and refer to items of the scene, which goes after.
    ~DiagramDocument() override;

    DiagramScene *scene() const { return m_scene; }
    QUndoStack *undoStack() const { return m_undoStack; }

    // The file the diagram was loaded from or last saved to; empty before.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // Changed since the last save (or since it was made or loaded).
    bool isModified() const;
    void markSaved();
    // Modified with nothing to undo, as a diagram recovered after a crash
    // is: its changes are in no file. Only a save clears it.
    void markUnsaved();

signals:
    void modifiedChanged(bool modified);

private:
    QUndoStack *m_undoStack;
    DiagramScene *m_scene;
    QString m_fileName;
};

#endif // DIAGRAMDOCUMENT_H
