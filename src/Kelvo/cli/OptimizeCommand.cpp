// kelvo optimize: the maintenance steps with what a run would do with each, as text or as JSON, and
// the run itself.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/LocalOptimizePreview.h"
#include "optimize/OptimizeWhitelistStore.h"
#include "platform/HomeFolder.h"
#include "vocabulary/DurationText.h"
#include "vocabulary/KelvoError.h"

#include <QJsonArray>
#include <QTextStream>

#include <algorithm>

namespace CommandLine {

namespace {

// The preview's entries, each with what a run would do with it: its state as a result names it
// ("willRun", "protected", "unavailable", ...) and that state for people.
QJsonObject previewJson(const OptimizePreviewReport& report, const std::vector<OptimizeStepOutcome>& planned)
{
    QJsonObject json = report.toJson();
    QJsonArray entries = json.value(QStringLiteral("entries")).toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QJsonObject entry = entries[i].toObject();
        entry.insert(QStringLiteral("state"), LocalOptimizeExecutor::stateName(planned[size_t(i)].state));
        entry.insert(QStringLiteral("state_text"), LocalOptimizeExecutor::describe(planned[size_t(i)]));
        entries[i] = entry;
    }
    json.insert(QStringLiteral("entries"), entries);
    return json;
}

// A step's name and tag, then its preview line and why it will not run or did not succeed.
void printStep(Streams& streams, const OptimizeStepOutcome& step)
{
    streams.out << step.entry.name << QStringLiteral("  ·  ") << LocalOptimizeExecutor::label(step.state);
    if (step.state == OptimizeStepState::completed || step.state == OptimizeStepState::failed ||
        step.state == OptimizeStepState::timedOut)
        streams.out << QStringLiteral("  ·  ") << DurationText::seconds(step.duration);
    streams.out << '\n';
    for (const QString& line :
         {step.entry.detail.value_or(QString()), LocalOptimizeExecutor::explanation(step)})
        if (!line.isEmpty())
            streams.out << QStringLiteral("    ") << line << '\n';
}

void printPlan(Streams& streams, const std::vector<OptimizeStepOutcome>& planned)
{
    for (const OptimizeStepOutcome& step : planned)
        printStep(streams, step);
    const auto willRun = std::count_if(planned.begin(), planned.end(), [](const OptimizeStepOutcome& step) {
        return step.state == OptimizeStepState::willRun;
    });
    streams.out << '\n'
                << L("%1 项中有 %2 项会执行。", "%2 of %1 steps will run.").arg(planned.size()).arg(willRun)
                << '\n';
    streams.out.flush();
}

void printOutcomes(Streams& streams, const LocalOptimizeResult& result)
{
    for (const OptimizeStepOutcome& step : result.steps)
        printStep(streams, step);
    const int failed = result.failedCount();
    streams.out << L("完成 %1 项，跳过 %2 项，失败 %3 项。", "Completed %1, skipped %2, failed %3.")
                       .arg(result.completed.size())
                       .arg(result.skipped.size() - size_t(failed))
                       .arg(failed)
                << '\n';
    streams.out.flush();
}

} // namespace

int optimize(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const bool dryRun = arguments.has("--dry-run");
    const bool json = arguments.has("--json");
    if (const std::optional<QString> problem = HomeFolder::problem(environment.home))
        return failure(streams, *problem);
    // The marks and the run follow the safeguard list; one that cannot be read stops everything.
    OptimizeWhitelistState safeguards;
    try {
        safeguards = OptimizeWhitelistStore::load(environment.home, environment.target.system);
    } catch (const KelvoError& error) {
        return failure(streams, error.description());
    }

    LocalOptimizePreview::Options previewOptions;
    previewOptions.systemRoot = environment.systemRoot;
    previewOptions.system = environment.target.system;
    const OptimizePreviewReport report = LocalOptimizePreview::snapshot(environment.home, previewOptions);
    LocalOptimizeExecutor::Options options;
    options.home = environment.home;
    options.systemRoot = environment.systemRoot;
    options.system = environment.target.system;
    std::vector<OptimizeStepOutcome> planned;
    for (const OptimizePreviewReport::Entry& entry : report.entries)
        planned.push_back(LocalOptimizeExecutor::plan(entry, safeguards.selectedKeys, options));
    if (json) {
        printJson(streams, QStringLiteral("optimize_preview"), QDateTime::currentDateTimeUtc(),
                  previewJson(report, planned));
        return 0;
    }
    printPlan(streams, planned);
    if (dryRun)
        return 0;
    if (const std::optional<int> refused = actingRefused(environment, streams))
        return *refused;

    if (std::none_of(planned.begin(), planned.end(), [](const OptimizeStepOutcome& step) {
            return step.state == OptimizeStepState::willRun;
        })) {
        streams.out << L("这里没有可以执行的步骤。", "No step can run here.") << '\n';
        return 0;
    }
    if (!arguments.has("--yes") &&
        !confirmed(streams, L("执行这些步骤吗？[y/N] ", "Run these steps? [y/N] "))) {
        streams.out << L("已取消，没有执行任何步骤。", "Cancelled. Nothing was run.") << '\n';
        return 1;
    }
    const LocalOptimizeResult result = LocalOptimizeExecutor::run(report, safeguards.selectedKeys, options);
    printOutcomes(streams, result);
    if (const int failed = result.failedCount(); failed > 0)
        return failure(streams, L("%1 个步骤没有成功。", "%1 steps failed.").arg(failed));
    return 0;
}

} // namespace CommandLine
