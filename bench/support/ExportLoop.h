#ifndef EXPORTLOOP_H
#define EXPORTLOOP_H

#include "export/SceneExport.h"
#include "scene/DiagramScene.h"
#include "support/BenchSupport.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace BenchSupport {

using Export = bool (*)(DiagramScene &, const QString &, QString *);

// Exports the scene's items to `path` once per iteration, as the export
// window does; the file's size and the process's peak go in the counters.
inline void exportEach(benchmark::State &state, DiagramScene &scene, Export exportTo,
                       const QString &path)
{
    scene.setSceneRect(exportArea(scene));
    QString reason;
    for (auto _ : state) {
        if (!exportTo(scene, path, &reason)) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
    }
    state.counters["file_KiB"] = QFile(path).size() / 1024.0;
    state.counters["peak_MiB"] = statusMiB("VmHWM:");
}

} // namespace BenchSupport

#endif // EXPORTLOOP_H
