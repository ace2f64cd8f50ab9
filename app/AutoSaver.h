#ifndef AUTOSAVER_H
#define AUTOSAVER_H

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class DiagramDocument;
class RecoveryFile;

// Keeps the unsaved changes of a window's document in the window's own
// recovery file: written every "autosave/intervalSeconds" of the user's
// settings (60 by default, 0 turns it off) while the document has changes
// that are not in it yet, and removed once the document has no unsaved
// changes (saved, undone back to its saved state, replaced or given up).
// Never the user's own file.
class AutoSaver : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultIntervalSeconds = 60;

    // The recovery file goes to `folder`.
    explicit AutoSaver(const QString &folder, QObject *parent = nullptr);
    // Keeps the recovery file: the window goes without a normal quit.
    ~AutoSaver() override;

    // Follows `document` (not owned) from now on; the recovery file of the
    // previous one goes.
    void setDocument(DiagramDocument *document);
    QString recoveryPath() const;

    // Writes the document now; false, with a French reason, when it cannot.
    bool saveNow(QString *reason = nullptr);
    // Removes the recovery file: its changes are saved or given up.
    void discard();

private:
    void documentChanged();
    void timeout();

    QPointer<DiagramDocument> m_document;
    std::unique_ptr<RecoveryFile> m_file;
    QTimer m_timer;
    // Changes made since the last write.
    bool m_pending = false;
};

#endif // AUTOSAVER_H
