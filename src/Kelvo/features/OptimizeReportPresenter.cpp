#include "features/OptimizeReportPresenter.h"

#include "app/AppModelSupport.h"

#include <algorithm>

using namespace AppModelSupport;

namespace OptimizeReportPresenter {

namespace {

qsizetype countOf(const std::vector<OptimizeStepOutcome>& outcomes, OptimizeStepState state)
{
    return std::count_if(outcomes.begin(), outcomes.end(),
                         [state](const OptimizeStepOutcome& outcome) { return outcome.state == state; });
}

} // namespace

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
