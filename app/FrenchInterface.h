#ifndef FRENCHINTERFACE_H
#define FRENCHINTERFACE_H

class QCoreApplication;

// Makes the whole interface French, Qt's own dialogs and key names
// included ("Annuler", "Suppr"), whatever the system's language: installs
// Debian's Qt translation and sets the French locale as the default.
// Call once the application object exists; the translator is owned by it.
// False when the translation file is missing (the program's own texts are
// French anyway).
bool installFrenchInterface(QCoreApplication &application);

#endif // FRENCHINTERFACE_H
