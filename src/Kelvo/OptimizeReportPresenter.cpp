#include "OptimizeReportPresenter.h"

#include "AppModelSupport.h"

#include "vocabulary/DurationText.h"

#include <QHash>

#include <algorithm>

using namespace AppModelSupport;

namespace OptimizeReportPresenter {

namespace {

QString tone(OptimizeStepState state)
{
    switch (state) {
    case OptimizeStepState::willRun:
        return QStringLiteral("run");
    case OptimizeStepState::completed:
        return QStringLiteral("done");
    case OptimizeStepState::failed:
    case OptimizeStepState::timedOut:
        return QStringLiteral("failed");
    default:
        return QStringLiteral("skip");
    }
}

bool ran(const OptimizeStepOutcome& outcome)
{
    return outcome.state == OptimizeStepState::completed || outcome.state == OptimizeStepState::failed ||
           outcome.state == OptimizeStepState::timedOut;
}

qsizetype countOf(const std::vector<OptimizeStepOutcome>& outcomes, OptimizeStepState state)
{
    return std::count_if(outcomes.begin(), outcomes.end(),
                         [state](const OptimizeStepOutcome& outcome) { return outcome.state == state; });
}

} // namespace

QList<QVariantMap> rows(const OptimizePreviewReport& report, const std::vector<OptimizeStepOutcome>& planned,
                        const std::optional<LocalOptimizeResult>& result)
{
    QHash<QString, const OptimizeStepOutcome*> byId;
    for (const OptimizeStepOutcome& outcome : planned)
        byId.insert(outcome.entry.id, &outcome);
    if (result) // what happened replaces what was planned
        for (const OptimizeStepOutcome& outcome : result->steps)
            byId.insert(outcome.entry.id, &outcome);
    QList<QVariantMap> list;
    list.reserve(qsizetype(report.entries.size()));
    for (const OptimizePreviewReport::Entry& entry : report.entries) {
        QVariantMap row{{QStringLiteral("id"), entry.id},
                        {QStringLiteral("name"), entry.name},
                        {QStringLiteral("description"), entry.description},
                        {QStringLiteral("detail"), entry.detail.value_or(QString())}};
        const OptimizeStepOutcome* outcome = byId.value(entry.id);
        row.insert(QStringLiteral("stateLabel"),
                   outcome ? LocalOptimizeExecutor::label(outcome->state) : QString());
        row.insert(QStringLiteral("tone"), outcome ? tone(outcome->state) : QString());
        row.insert(QStringLiteral("stateText"),
                   outcome ? LocalOptimizeExecutor::explanation(*outcome) : QString());
        row.insert(QStringLiteral("durationText"),
                   outcome && ran(*outcome) ? DurationText::seconds(outcome->duration) : QString());
        list.append(row);
    }
    return list;
}

QString summary(const std::vector<OptimizeStepOutcome>& planned,
                const std::optional<LocalOptimizeResult>& result)
{
    if (result) {
        const qsizetype failed = result->failedCount();
        const qsizetype completed = qsizetype(result->completed.size());
        const qsizetype skipped = qsizetype(result->skipped.size()) - failed;
        return L("上次执行：完成 %1 项 · 失败 %2 项 · 跳过 %3 项",
                 "Last run: %1 completed · %2 failed · %3 skipped")
            .arg(completed)
            .arg(failed)
            .arg(skipped);
    }
    const qsizetype willRun = countOf(planned, OptimizeStepState::willRun);
    return L("将执行 %1 项 · 跳过 %2 项", "%1 will run · %2 skipped")
        .arg(willRun)
        .arg(qsizetype(planned.size()) - willRun);
}

QString confirmation(const std::vector<OptimizeStepOutcome>& planned)
{
    QStringList names;
    for (const OptimizeStepOutcome& outcome : planned)
        if (outcome.state == OptimizeStepState::willRun)
            names << outcome.entry.name;
    const qsizetype skipped = qsizetype(planned.size()) - names.size();
    const QString running = names.isEmpty()
                                ? L("这里没有可以执行的步骤。", "No step can run here.")
                                : L("将执行：", "Will run: ") + names.join(L("、", ", ")) + L("。", ".");
    return running + QLatin1Char('\n') + L("跳过 %1 项。", "%1 skipped.").arg(skipped);
}

LocalText completionDetail(const LocalOptimizeResult& result)
{
    const qsizetype completed = qsizetype(result.completed.size());
    const qsizetype skipped = qsizetype(result.skipped.size());
    LocalText detail =
        skipped > 0 ? both("已完成 %1 项，跳过 %2 项保护内容。",
                           "Completed %1 items and skipped %2 safeguarded items.")
                          .arg(completed)
                          .arg(skipped)
                    : both("已完成 %1 项本地整理。", "Completed %1 local optimizations.").arg(completed);
    if (const int failed = result.failedCount(); failed > 0)
        detail = detail + both("其中 %1 项没有成功。", " %1 failed.").arg(failed);
    return detail;
}

} // namespace OptimizeReportPresenter
