#pragma once

#include "optimize/OptimizePreviewReport.h"
#include "optimize/OptimizeSteps.h"

#include <QSet>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// What became of one step, or what will become of it.
enum class OptimizeStepState {
    willRun,       // planned: backed by an action that can run here
    completed,     // its command exited with status 0, or its folder was emptied
    protectedStep, // the safeguard list names it
    notSafe,       // the report marks it as not safe
    reportOnly,    // nothing backs it on this system: the preview's line is all it does
    unavailable,   // its tool is missing, its condition does not hold here, or a folder it needs is
                   // reached through a link (planned, or found when its turn came; reason says which)
    failed,        // its command exited with another status, or could not start, or its folder stayed
    timedOut,      // its command was ended after the time limit
    notRun,        // the run was cancelled before its turn
};

struct OptimizeStepOutcome {
    OptimizePreviewReport::Entry entry;
    OptimizeStepState state = OptimizeStepState::reportOnly;
    QString reason;                        // for unavailable and failed: why, in the display language
    std::optional<int> exitCode;           // for a command that ran to its end
    std::chrono::milliseconds duration{0}; // for a step that ran

    bool operator==(const OptimizeStepOutcome&) const = default;
};

struct LocalOptimizeResult {
    std::vector<OptimizePreviewReport::Entry> completed; // in report order
    std::vector<OptimizePreviewReport::Entry> skipped;   // every other entry, in report order
    std::vector<OptimizeStepOutcome> steps;              // every entry, in report order

    bool operator==(const LocalOptimizeResult&) const = default;
    // Steps that were meant to run and did not succeed (failed or timed out).
    int failedCount() const;
    // {"completed": [ids], "skipped": [ids], "steps": [{"id", "name", "state", "reason", "exitCode",
    // "milliseconds"}]}
    QJsonObject toJson() const;
};

// Runs the steps of a confirmed preview that are safe, not protected and backed by an action that can
// run here, one after another in report order, each command by absolute path with fixed arguments
// and a time limit. The actions come from the executor's own table, never from the report. Nothing is
// thrown: a step that cannot run or fails is reported and the run goes on.
namespace LocalOptimizeExecutor {
struct Options {
    TargetSystem system = TargetSystems::built();
    QString home;       // where the steps' folders are; required for the steps that use it
    QString systemRoot; // as LocalOptimizePreview::Options::systemRoot
    // none: OptimizeSteps::actions(system, home). Tests give their own table.
    std::optional<std::map<QString, OptimizeStepAction>> actions;
    std::chrono::milliseconds timeLimit = std::chrono::minutes(2);
    const std::atomic_bool* cancelled = nullptr;
    // Called before each step that runs, for progress: index counts those steps from 0, count is how
    // many the run has.
    std::function<void(const OptimizePreviewReport::Entry&, int index, int count)> onStep;
};

// What a run would do with an entry now: willRun, protectedStep, notSafe, reportOnly or unavailable
// (with the reason). The page and the command line mark the preview with it.
OptimizeStepOutcome plan(const OptimizePreviewReport::Entry& entry, const QSet<QString>& skippedIDs,
                         const Options& options);

LocalOptimizeResult run(const OptimizePreviewReport& report, const QSet<QString>& skippedIDs,
                        const Options& options);

// The state's name in JSON: "willRun", "completed", "protected", "notSafe", "reportOnly",
// "unavailable", "failed", "timedOut", "notRun".
QString stateName(OptimizeStepState state);
// The state in a word or two, for a tag beside the step: "Will run", "Protected", "Check only", ...
QString label(OptimizeStepState state);
// Why a step does not run or did not succeed, when its preview line does not say it already (a
// missing tool); empty for a step that will run, completed, or only reports.
QString explanation(const OptimizeStepOutcome& outcome);
// The outcome in a few words, in the display language: "Will run", "Protected by the safeguard list",
// "Completed in 1.2 s", "Failed: exit status 3", "fc-cache is not installed on this computer.", ...
QString describe(const OptimizeStepOutcome& outcome);
} // namespace LocalOptimizeExecutor
