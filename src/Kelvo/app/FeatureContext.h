#pragma once

// What every feature controller is given: where the user's files are, the runs and the window's
// status, and the statistics.

#include "app/RunCoordinator.h"
#include "app/Statistics.h"

#include "installer/LocalInstallerPreview.h"
#include "status/LocalSystemStatus.h"
#include "uninstall/UninstallPreviewService.h"
#include "update/UpdateInstaller.h"

#include <QProcessEnvironment>
#include <QString>

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
    // Both at once, which the live sampler does cheaper; set when neither of the two above is given.
    std::function<std::pair<SystemReport, LocalSystemStatus::Processes>()> sampleWithProcesses = {};
};

// Where the controllers keep and look for files. The application passes the real folders; tests pass
// temporary ones.
struct AppEnvironment {
    QString home;               // the user's home folder
    QString applicationSupport; // the application's own support folder (window background)
    QString bundleVersion;      // the application's version text; empty for a local build
    // Where applications and installers are looked for; none: the system's own places. Tests point
    // both at synthetic folders. The folders are asked for at each scan, so their labels follow the
    // language.
    std::function<std::vector<LocalUninstallPreview::ApplicationFolder>()> applicationFolders = {};
    std::optional<LocalInstallerPreview::Places> installerPlaces = {};
    StatusSampling statusSampling = {};
    // The folder the system's absolute paths (the optimisation steps' tools and service sockets) are
    // looked up under: empty for the machine itself; tests point it at a tree of stand-in tools.
    QString systemRoot = {};
    // Self-update: the process environment, which may name the update feed (KELVO_UPDATE_FEED_URL); the
    // build number of this build, when it has one; where the installer downloads to, what it replaces
    // and how it relaunches. Tests give a loopback feed and a temporary installation.
    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    std::optional<QString> bundleBuild = {};
    UpdateInstaller::Options updateInstaller = {};
    // Which applications Uninstall lists: the target's unless a test chooses. On Linux the Flatpak
    // tool is systemRoot's /usr/bin/flatpak.
    std::optional<TargetSystem> uninstallSystem = {};
    // Whose places Clean, Optimize, Installers and Uninstall look at, and whether they may act.
    TargetChoice target = TargetSystems::builtChoice();
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
