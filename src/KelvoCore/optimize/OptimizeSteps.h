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
        QString path; // absolute
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
} // namespace OptimizeSteps
