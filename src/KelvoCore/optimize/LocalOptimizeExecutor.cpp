#include "optimize/LocalOptimizeExecutor.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "platform/HomeFolder.h"
#include "platform/ToolRunner.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/DurationText.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace {

using State = OptimizeStepState;

struct StepEnd {
    State state = State::completed;
    QString reason;
    std::optional<int> exitCode;
};

StepEnd failed(const QString& reason)
{
    return {State::failed, reason, std::nullopt};
}

StepEnd runCommand(const OptimizeStepAction::Command& command, const LocalOptimizeExecutor::Options& options)
{
    // Reached again now, held open while the tool runs in it: a link put in its place since the
    // plan refuses the step.
    const ConfinedPath::FolderOutcome folder = OptimizeSteps::toolFolder(command, options.home);
    if (!folder.folder)
        return {State::unavailable, OptimizeSteps::unreachable(folder, options.home), std::nullopt};
    const ToolRunner::Result result =
        ToolRunner::run({OptimizeSteps::located(command.program, options.home, options.systemRoot),
                         command.arguments, options.timeLimit, folder.folder->fd()});
    if (!result.started)
        return failed(
            AppLocalization::localized(QStringLiteral("无法启动 %1"), QStringLiteral("%1 could not start"))
                .arg(QFileInfo(command.program).fileName()));
    if (result.timedOut)
        return {State::timedOut,
                AppLocalization::localized(QStringLiteral("超过 %1 秒的时间限制，已停止"),
                                           QStringLiteral("Stopped after the time limit of %1 s"))
                    .arg(DurationText::number(options.timeLimit)),
                std::nullopt};
    if (result.exitCode == 0)
        return {State::completed, {}, 0};
    if (result.exitCode < 0)
        return failed(
            AppLocalization::localized(QStringLiteral("%1 异常结束"), QStringLiteral("%1 ended abnormally"))
                .arg(QFileInfo(command.program).fileName()));
    return {State::failed,
            AppLocalization::localized(QStringLiteral("退出状态 %1"), QStringLiteral("exit status %1"))
                .arg(result.exitCode),
            result.exitCode};
}

// Empties a folder below the home folder through the removal model, keeping whatever the Smart Clean
// protection list protects.
StepEnd emptyFolder(const QString& relative, const QString& home)
{
    if (const std::optional<QString> problem = HomeFolder::problem(home))
        return failed(*problem);
    QStringList patterns;
    try {
        // Only a missing list means the defaults; without the list nothing is removed.
        patterns = CleanWhitelistStore::load(home).patterns;
    } catch (const KelvoError& error) {
        return failed(error.description());
    }
    const QString homeText = PathText::standardized(home);
    const QString path = PathText::joined(homeText, relative);
    const ConfinedPath::Outcome outcome = ConfinedPath::reach(homeText, path);
    if (!outcome.item) {
        if (outcome.failure == ConfinedPath::Failure::missing)
            return {}; // nothing there, nothing to do
        return failed(ConfinedPath::describe(outcome, path));
    }
    const ConfinedPath::Reached& folder = *outcome.item;
    if (folder.facts().isLink())
        return failed(FileErrorText::linkOnTheWay(path, path));
    if (!folder.facts().isFolder())
        return failed(AppLocalization::localized(QStringLiteral("%1 不是文件夹，未做改动。"),
                                                 QStringLiteral("%1 is not a folder and was left as it is."))
                          .arg(path));
    const CleanWhitelistMatcher::List protection(patterns, homeText);
    const FileRemover::Tally tally = FileRemover::removeContents(
        folder, [&protection](const QString& item) { return protection.protectsStandardized(item); });
    if (tally.failed > 0)
        return failed(FileRemover::leftBehindText(tally.failed, tally.left));
    return {};
}

// The command first, then the folder, so a failed command leaves the folder as it is.
StepEnd runAction(const OptimizeStepAction& action, const LocalOptimizeExecutor::Options& options)
{
    StepEnd end = action.command ? runCommand(*action.command, options) : StepEnd{};
    if (end.state == State::completed && !action.emptiedFolder.isEmpty()) {
        const StepEnd emptied = emptyFolder(action.emptiedFolder, options.home);
        end.state = emptied.state;
        end.reason = emptied.reason;
    }
    return end;
}

std::map<QString, OptimizeStepAction> actionsOf(const LocalOptimizeExecutor::Options& options)
{
    return options.actions ? *options.actions : OptimizeSteps::actions(options.system, options.home);
}

} // namespace

int LocalOptimizeResult::failedCount() const
{
    return int(std::count_if(steps.begin(), steps.end(), [](const OptimizeStepOutcome& step) {
        return step.state == State::failed || step.state == State::timedOut;
    }));
}

QJsonObject LocalOptimizeResult::toJson() const
{
    const auto ids = [](const std::vector<OptimizePreviewReport::Entry>& entries) {
        QJsonArray array;
        for (const OptimizePreviewReport::Entry& entry : entries)
            array.append(entry.id);
        return array;
    };
    QJsonArray stepArray;
    for (const OptimizeStepOutcome& step : steps) {
        stepArray.append(QJsonObject{
            {QStringLiteral("id"), step.entry.id},
            {QStringLiteral("name"), step.entry.name},
            {QStringLiteral("state"), LocalOptimizeExecutor::stateName(step.state)},
            {QStringLiteral("reason"), step.reason},
            {QStringLiteral("exitCode"), step.exitCode ? QJsonValue(*step.exitCode) : QJsonValue()},
            {QStringLiteral("milliseconds"), qint64(step.duration.count())},
        });
    }
    return {{QStringLiteral("completed"), ids(completed)},
            {QStringLiteral("skipped"), ids(skipped)},
            {QStringLiteral("steps"), stepArray}};
}

namespace LocalOptimizeExecutor {

OptimizeStepOutcome plan(const OptimizePreviewReport::Entry& entry, const QSet<QString>& skippedIDs,
                         const Options& options)
{
    OptimizeStepOutcome outcome{entry, State::willRun, {}, std::nullopt, {}};
    if (skippedIDs.contains(entry.id)) {
        outcome.state = State::protectedStep;
        return outcome;
    }
    if (!entry.safe) {
        outcome.state = State::notSafe;
        return outcome;
    }
    // The executor's own table decides what runs; the report only names steps.
    const std::map<QString, OptimizeStepAction> actions = actionsOf(options);
    const auto action = actions.find(entry.id);
    if (action == actions.end()) {
        outcome.state = State::reportOnly;
        return outcome;
    }
    if (const std::optional<QString> reason =
            OptimizeSteps::unavailableReason(action->second, options.home, options.systemRoot)) {
        outcome.state = State::unavailable;
        outcome.reason = *reason;
    }
    return outcome;
}

LocalOptimizeResult run(const OptimizePreviewReport& report, const QSet<QString>& skippedIDs,
                        const Options& options)
{
    const std::map<QString, OptimizeStepAction> actions = actionsOf(options);
    LocalOptimizeResult result;
    for (const OptimizePreviewReport::Entry& entry : report.entries)
        result.steps.push_back(plan(entry, skippedIDs, options));
    const int runCount =
        int(std::count_if(result.steps.begin(), result.steps.end(),
                          [](const OptimizeStepOutcome& step) { return step.state == State::willRun; }));

    int runIndex = 0;
    bool stopped = false;
    for (OptimizeStepOutcome& step : result.steps) {
        // Steps end between one another: once the run is called off, nothing after it starts.
        stopped = stopped || (options.cancelled && options.cancelled->load());
        if (stopped) {
            step = {step.entry, State::notRun, {}, std::nullopt, {}};
            continue;
        }
        if (step.state != State::willRun)
            continue;
        if (options.onStep)
            options.onStep(step.entry, runIndex, runCount);
        ++runIndex;
        const auto started = std::chrono::steady_clock::now();
        const StepEnd end = runAction(actions.at(step.entry.id), options);
        step.duration =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        step.state = end.state;
        step.reason = end.reason;
        step.exitCode = end.exitCode;
    }
    for (const OptimizeStepOutcome& step : result.steps)
        (step.state == State::completed ? result.completed : result.skipped).push_back(step.entry);
    return result;
}

QString stateName(OptimizeStepState state)
{
    switch (state) {
    case State::willRun:
        return QStringLiteral("willRun");
    case State::completed:
        return QStringLiteral("completed");
    case State::protectedStep:
        return QStringLiteral("protected");
    case State::notSafe:
        return QStringLiteral("notSafe");
    case State::reportOnly:
        return QStringLiteral("reportOnly");
    case State::unavailable:
        return QStringLiteral("unavailable");
    case State::failed:
        return QStringLiteral("failed");
    case State::timedOut:
        return QStringLiteral("timedOut");
    case State::notRun:
        return QStringLiteral("notRun");
    }
    Q_UNREACHABLE();
    return {};
}

QString label(OptimizeStepState state)
{
    switch (state) {
    case State::willRun:
        return AppLocalization::localized(QStringLiteral("将执行"), QStringLiteral("Will run"));
    case State::completed:
        return AppLocalization::localized(QStringLiteral("已完成"), QStringLiteral("Completed"));
    case State::protectedStep:
        return AppLocalization::localized(QStringLiteral("已保护"), QStringLiteral("Protected"));
    case State::notSafe:
        return AppLocalization::localized(QStringLiteral("未标记安全"), QStringLiteral("Not safe"));
    case State::reportOnly:
        return AppLocalization::localized(QStringLiteral("仅检查"), QStringLiteral("Check only"));
    case State::unavailable:
        return AppLocalization::localized(QStringLiteral("不可用"), QStringLiteral("Unavailable"));
    case State::failed:
        return AppLocalization::localized(QStringLiteral("失败"), QStringLiteral("Failed"));
    case State::timedOut:
        return AppLocalization::localized(QStringLiteral("已超时"), QStringLiteral("Timed out"));
    case State::notRun:
        return AppLocalization::localized(QStringLiteral("未执行"), QStringLiteral("Not run"));
    }
    Q_UNREACHABLE();
    return {};
}

QString explanation(const OptimizeStepOutcome& outcome)
{
    // Their tags say it all: "Will run", "Completed", "Check only".
    if (outcome.state == State::willRun || outcome.state == State::completed ||
        outcome.state == State::reportOnly)
        return {};
    const QString why = describe(outcome);
    return why == outcome.entry.detail ? QString() : why;
}

QString describe(const OptimizeStepOutcome& outcome)
{
    switch (outcome.state) {
    case State::willRun:
        return AppLocalization::localized(QStringLiteral("将执行"), QStringLiteral("Will run"));
    case State::completed:
        return AppLocalization::localized(QStringLiteral("已完成，用时 %1 秒"),
                                          QStringLiteral("Completed in %1 s"))
            .arg(DurationText::number(outcome.duration));
    case State::protectedStep:
        return AppLocalization::localized(QStringLiteral("已被优化保护项跳过"),
                                          QStringLiteral("Protected by the safeguard list"));
    case State::notSafe:
        return AppLocalization::localized(QStringLiteral("未标记为安全"), QStringLiteral("Not marked safe"));
    case State::reportOnly:
        return AppLocalization::localized(QStringLiteral("此系统上没有需要执行的操作"),
                                          QStringLiteral("Nothing to run on this system"));
    case State::unavailable:
    case State::timedOut:
        return outcome.reason;
    case State::failed:
        return AppLocalization::localized(QStringLiteral("失败：%1"), QStringLiteral("Failed: %1"))
            .arg(outcome.reason);
    case State::notRun:
        return AppLocalization::localized(QStringLiteral("未执行：运行已停止"),
                                          QStringLiteral("Not run: the run was stopped"));
    }
    Q_UNREACHABLE();
    return {};
}

} // namespace LocalOptimizeExecutor
