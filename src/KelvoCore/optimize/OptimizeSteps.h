#pragma once

#include "optimize/OptimizePreviewCatalog.h"
#include "platform/ConfinedPath.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// What backs a step on a system: a tool run by absolute path with fixed arguments, or the emptying of
// a folder below the home folder through the removal model. A step without either only reports.
struct OptimizeStepAction {
    struct Command {
        QString program; // absolute
        QStringList arguments;
        // Relative to the home folder: the folder the tool works on, handed to it as "." among the
        // arguments. The tool starts in this folder, or in the home folder itself when there is none,
        // reached from the home folder without a link at any level and held open, so what it works
        // on is the folder Kelvo checked and no path it could be redirected by.
        QString folder = {};
    };
    // The step can run only where this path exists (the socket of a service that must be running, the
    // folder a tool refreshes); otherwise it is skipped with the reason.
    struct Condition {
        QString path; // absolute; looked up as OptimizeSteps::located says; below the home: a folder
        QString zhReason;
        QString enReason;
    };

    std::optional<Command> command;
    QString emptiedFolder; // relative to the home folder; empty: none
    std::optional<Condition> condition;
};

namespace OptimizeSteps {
// The steps of a system that do something, by catalogue id. Paths below home are made with the given
// home folder. On macOS: the DNS cache flush (twice, for two steps), the Quick Look reset and the Dock
// restart, and nothing else.
std::map<QString, OptimizeStepAction> actions(TargetSystem system, const QString& home);

// Where an absolute path of an action is: a path in the home folder as it is, any other under the
// system root (empty for the machine itself), so tests can stand in for the system's tools.
QString located(const QString& path, const QString& home, const QString& systemRoot);
// Why the action cannot run here, in the display language: its tool is not an executable file, its
// condition's path is missing, or its condition or its tool's folder cannot be reached from the home
// folder without a link ("Unavailable: “~/.local/share/mime” is a link."). None when it can.
std::optional<QString> unavailableReason(const OptimizeStepAction& action, const QString& home,
                                         const QString& systemRoot);
// The folder a command's tool starts in: its own folder, or the home folder itself, reached as
// ConfinedPath::reachFolder does (nothing is made).
ConfinedPath::FolderOutcome toolFolder(const OptimizeStepAction::Command& command, const QString& home);
// "Unavailable: “~/.local/share/mime” is a link.": a folder a step needs that could not be reached.
QString unreachable(const ConfinedPath::FolderOutcome& outcome, const QString& home);
} // namespace OptimizeSteps
