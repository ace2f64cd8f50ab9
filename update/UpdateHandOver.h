#ifndef UPDATEHANDOVER_H
#define UPDATEHANDOVER_H

#include <QString>

// The one door through which the program hands over to an update: starting
// another program and ending this one. Tests install a subclass that only
// records what would have happened.
class UpdateHandOver
{
public:
    virtual ~UpdateHandOver();

    static UpdateHandOver *instance();
    // Installs a replacement, not owned; nullptr brings back the real one.
    static void setInstance(UpdateHandOver *handOver);

    // Starts `program` without arguments, independent of this process so
    // that it survives the end of this one; false when it could not start.
    virtual bool startProgram(const QString &program);
    // Ends the event loop.
    virtual void quitApplication();
};

#endif // UPDATEHANDOVER_H
