#pragma once

#include "optimize/OptimizePreviewCatalog.h"

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
    };
    // The step can run only where this path exists (the socket of a service that must be running, the
    // folder a tool refreshes); otherwise it is skipped with the reason.
    struct Condition {
        QString path; // absolute; looked up as OptimizeSteps::located says
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
std::map<QString, OptimizeStepAction> actions(OptimizeSystem system, const QString& home);

// Where an absolute path of an action is: a path in the home folder as it is, any other under the
// system root (empty for the machine itself), so tests can stand in for the system's tools.
QString located(const QString& path, const QString& home, const QString& systemRoot);
// Why the action cannot run here, in the display language: its tool is not an executable file, or
// its condition's path is missing. None when it can.
std::optional<QString> unavailableReason(const OptimizeStepAction& action, const QString& home,
                                         const QString& systemRoot);
} // namespace OptimizeSteps
