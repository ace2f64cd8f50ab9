#ifndef EXPORTSCENEFILE_H
#define EXPORTSCENEFILE_H

#include "export/SceneExport.h"

#include <QString>

// Reads a scene file and writes it to `outputFile`, in the format of its
// suffix, as the export window would: the area of all items grown by 10.
// Nothing is written unless the whole export succeeds. On failure,
// `message` receives one French line saying why; `notes` receives what the
// reading had to leave out or correct (empty when the file was clean).
bool exportSceneFile(const QString &sceneFile, const QString &outputFile,
                     const ExportOptions &options, QString *message, QString *notes);

#endif // EXPORTSCENEFILE_H
