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

// Each outcome of a run apart: a step the safeguards held back is not one that cannot run here.
struct Tally {
    qsizetype completed = 0, failed = 0, safeguarded = 0, cannotRun = 0, notRun = 0;
    explicit Tally(const std::vector<OptimizeStepOutcome>& steps)
    {
        for (const OptimizeStepOutcome& step : steps)
            switch (step.state) {
            case OptimizeStepState::completed:
                ++completed;
                break;
            case OptimizeStepState::failed:
            case OptimizeStepState::timedOut:
                ++failed;
                break;
            case OptimizeStepState::protectedStep:
                ++safeguarded;
                break;
            case OptimizeStepState::notSafe:
            case OptimizeStepState::reportOnly:
            case OptimizeStepState::unavailable:
                ++cannotRun;
                break;
            case OptimizeStepState::willRun:
            case OptimizeStepState::notRun:
                ++notRun;
                break;
            }
    }
};

} // namespace

QString summary(const std::vector<OptimizeStepOutcome>& planned,
                const std::optional<LocalOptimizeResult>& result)
{
    if (result) {
        const Tally tally(result->steps);
        return L("上次执行：完成 %1 项 · 失败 %2 项 · 保护 %3 项 · 无法执行 %4 项",
                 "Last run: %1 completed · %2 failed · %3 safeguarded · %4 cannot run here")
            .arg(tally.completed)
            .arg(tally.failed)
            .arg(tally.safeguarded)
            .arg(tally.cannotRun + tally.notRun);
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
    const Tally tally(result.steps);
    LocalText detail = tally.completed == 1
                           ? both("已完成 1 个步骤。", "Completed 1 step.")
                           : both("已完成 %1 个步骤。", "Completed %1 steps.").arg(tally.completed);
    if (tally.failed > 0)
        detail = detail + both("%1 个没有成功。", " %1 failed.").arg(tally.failed);
    if (tally.safeguarded > 0)
        detail = detail + both("%1 个按保护项跳过。", " %1 safeguarded.").arg(tally.safeguarded);
    if (tally.cannotRun > 0)
        detail = detail + both("%1 个在这里无法执行。", " %1 cannot run here.").arg(tally.cannotRun);
    return detail;
}

} // namespace OptimizeReportPresenter
