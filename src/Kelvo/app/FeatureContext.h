#pragma once

// What every feature controller is given: where the user's files are, the runs and the window's
// status, and the statistics.

#include "KelvoEnvironment.h"
#include "app/RunCoordinator.h"
#include "app/Statistics.h"

#include "installer/LocalInstallerPreview.h"
#include "status/LocalSystemStatus.h"
#include "uninstall/UninstallPreviewService.h"

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

// How the machine's status is measured: the live sampler unless a test gives its own, and the pause
// between two samples of the live loop.
struct StatusSampling {
    std::function<SystemReport(const std::optional<LocalSystemStatus::Processes>&)> sample = {};
    std::function<LocalSystemStatus::Processes()> listProcesses = {};
    std::chrono::milliseconds period = std::chrono::seconds(2);
    // Both at once, which the live sampler does cheaper: the report and the processes a list of so
    // many rows shows the viewer; set when neither of the two above is given.
    std::function<std::pair<SystemReport, LocalSystemStatus::Processes>(const ProcessControl::Viewer&,
                                                                        int rows)>
        sampleWithProcesses = {};
};

// Where the controllers keep and look for files: what the command line is given too, and the window's
// own. The application passes the real folders; tests pass temporary ones.
struct AppEnvironment : KelvoEnvironment {
    QString applicationSupport = {}; // the application's own support folder (window background)
    // Where applications and installers are looked for; none: the system's own places. Tests point
    // both at synthetic folders. The folders are asked for at each scan, so their labels follow the
    // language.
    std::function<std::vector<LocalUninstallPreview::ApplicationFolder>()> applicationFolders = {};
    std::optional<LocalInstallerPreview::Places> installerPlaces = {};
    StatusSampling statusSampling = {};
};

struct FeatureContext {
    const AppEnvironment& environment;
    RunCoordinator& runs;
    Statistics& statistics;

    // Says why the home folder cannot be trusted with removals (alert and status) and returns true;
    // false when it can.
    bool homeRefused() const;
    // The same before anything is changed, also when the run may only preview another system's
    // places.
    bool actingRefused() const;
};
