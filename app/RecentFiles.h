#ifndef RECENTFILES_H
#define RECENTFILES_H

#include <QStringList>

// The scene files last opened or saved, newest first, each once, kept in
// the user's settings ("recentFiles") so that every window and later run
// shares them.
class RecentFiles
{
public:
    static constexpr int maximum = 10;

    QStringList files() const;
    // Puts the file first (as an absolute path), dropping the oldest beyond
    // the maximum.
    void add(const QString &fileName);
    void remove(const QString &fileName);
    void clear();

private:
    void store(const QStringList &files);
};

#endif // RECENTFILES_H
