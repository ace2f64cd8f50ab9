#ifndef READREPORT_H
#define READREPORT_H

#include <QString>

// What reading a scene document found wrong with it.
struct ReadReport {
    // Items left out: not objects, of no known kind, or missing or
    // mistyping a value they cannot do without.
    int skippedItems = 0;
    // Values of the wrong type replaced by their default, and numbers
    // brought into the range the scene can hold.
    int correctedValues = 0;

    bool isClean() const { return skippedItems == 0 && correctedValues == 0; }
    // One French sentence per kind of trouble, for the user; empty when clean.
    QString summary() const;
};

#endif // READREPORT_H
