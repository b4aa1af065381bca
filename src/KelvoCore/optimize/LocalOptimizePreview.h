#pragma once

#include "optimize/OptimizePreviewCatalog.h"
#include "optimize/OptimizePreviewReport.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <optional>

// The optimisation preview: one entry per catalogue step, with a line that says what is there now
// (sizes and counts below the home folder, the Spotlight status, the autostart entries whose program
// is gone, whether a tool exists here) or what the step will do. It never fails and always has every
// entry.
namespace LocalOptimizePreview {
struct Options {
    TargetSystem system = TargetSystems::built();
    // The folder the system's absolute paths (tools, service sockets) are looked up under: empty for
    // the machine itself; tests point it at a synthetic tree holding stand-in tools.
    QString systemRoot;
    std::chrono::milliseconds toolTimeLimit = std::chrono::seconds(10);
    std::optional<qint64> physicalMemory; // none: the installed memory of this machine
    const std::atomic_bool* cancelled = nullptr;
};

// Synchronous; measures the file system and may run tools. Call it off the main thread.
OptimizePreviewReport snapshot(const QString& home, const Options& options = {});
} // namespace LocalOptimizePreview
