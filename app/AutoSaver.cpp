#include "app/AutoSaver.h"

#include "app/RecoveryFile.h"
#include "app/UserSettings.h"
#include "scene/DiagramDocument.h"

#include <QUndoStack>

namespace {

// A missing or unreadable value is the default; zero or less turns it off.
int intervalSeconds()
{
    bool ok = false;
    const int seconds = UserSettings()
                            .value(QStringLiteral("autosave/intervalSeconds"),
                                   AutoSaver::defaultIntervalSeconds)
                            .toInt(&ok);
    return ok ? seconds : AutoSaver::defaultIntervalSeconds;
}

} // namespace

AutoSaver::AutoSaver(const QString &folder, QObject *parent)
    : QObject(parent), m_file(RecoveryFile::create(folder))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AutoSaver::timeout);
}

AutoSaver::~AutoSaver() = default;

void AutoSaver::setDocument(DiagramDocument *document)
{
    if (m_document) {
        m_document->disconnect(this);
        m_document->undoStack()->disconnect(this);
    }
    discard();
    m_document = document;
    if (!document)
        return;
    connect(document->undoStack(), &QUndoStack::indexChanged, this, &AutoSaver::documentChanged);
    connect(document, &DiagramDocument::modifiedChanged, this, [this](bool modified) {
        if (modified)
            documentChanged();
        else
            discard();
    });
}

QString AutoSaver::recoveryPath() const
{
    return m_file->path();
}

bool AutoSaver::saveNow(QString *reason)
{
    if (!m_document)
        return false;
    QString why;
    if (!m_file->write(*m_document, &why)) {
        // No box: it would interrupt the work every interval. The next
        // change tries again.
        qWarning("AutoSaver: %s: %s", qPrintable(m_file->path()), qPrintable(why));
        if (reason)
            *reason = why;
        return false;
    }
    m_pending = false;
    return true;
}

void AutoSaver::discard()
{
    m_timer.stop();
    m_pending = false;
    m_file->remove();
}

// The first change after a write starts the clock, later ones do not
// restart it: under steady work the file is at most one interval behind.
void AutoSaver::documentChanged()
{
    m_pending = true;
    if (m_timer.isActive() || !m_document || !m_document->isModified())
        return;
    const int seconds = intervalSeconds();
    if (seconds > 0)
        m_timer.start(qMin(seconds, 24 * 3600) * 1000); // within an int of milliseconds
}

void AutoSaver::timeout()
{
    if (m_pending && m_document && m_document->isModified())
        saveNow();
}
