#include "features/OptimizeController.h"

#include "app/AppModelSupport.h"
#include "app/LocalizationSettings.h"
#include "features/OptimizeReportPresenter.h"

#include "optimize/OptimizePreviewCatalog.h"
#include "optimize/OptimizePreviewService.h"
#include "vocabulary/KelvoError.h"

#include <QtConcurrent>

#include <algorithm>

using namespace AppModelSupport;

namespace {

// A run's end: the report it ran and what became of each step.
struct Ran {
    OptimizePreviewReport report;
    LocalOptimizeResult result;
};

LocalText nothingRan()
{
    return both("没有执行任何步骤。", "Nothing was run.");
}

} // namespace

OptimizeController::OptimizeController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
    // Why a step cannot run is said in the language of the moment the plan is made: plan again.
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &OptimizeController::updatePlan);
}

int OptimizeController::willRunCount() const
{
    return int(std::count_if(m_planned.begin(), m_planned.end(), [](const OptimizeStepOutcome& step) {
        return step.state == OptimizeStepState::willRun;
    }));
}

QString OptimizeController::summary() const
{
    if (!m_report)
        return {};
    // Marks made without the stored list would promise a run that will not start: say why.
    const QString summary = OptimizeReportPresenter::summary(m_planned, m_result);
    return m_safeguardProblem.isEmpty() ? summary : summary + QLatin1Char('\n') + m_safeguardProblem;
}

int OptimizeController::checkCount() const
{
    return int(OptimizePreviewCatalog::items(m_context.environment.target.system).size());
}

LocalOptimizePreview::Options OptimizeController::previewOptions() const
{
    LocalOptimizePreview::Options options;
    options.systemRoot = m_context.environment.systemRoot;
    options.system = m_context.environment.target.system;
    return options;
}

LocalOptimizeExecutor::Options OptimizeController::executorOptions() const
{
    LocalOptimizeExecutor::Options options;
    options.home = m_context.environment.home;
    options.systemRoot = m_context.environment.systemRoot;
    options.system = m_context.environment.target.system;
    return options;
}

QFuture<std::optional<OptimizePreviewReport>>
OptimizeController::takePreview(const RunCoordinator::RunHandle& run)
{
    return OptimizePreviewService::snapshot(m_context.environment.home, previewOptions(), run->cancelled);
}

void OptimizeController::setReport(std::optional<OptimizePreviewReport> report,
                                   std::optional<LocalOptimizeResult> result)
{
    m_report = std::move(report);
    m_result = std::move(result);
    updatePlan();
}

void OptimizeController::updatePlan()
{
    m_planned.clear();
    if (m_report) {
        const LocalOptimizeExecutor::Options options = executorOptions();
        for (const OptimizePreviewReport::Entry& entry : m_report->entries)
            m_planned.push_back(LocalOptimizeExecutor::plan(entry, m_editing.selectedKeys, options));
    }
    m_steps.setSteps(m_report.value_or(OptimizePreviewReport{}), m_planned, m_result);
    emit reportChanged();
}

QFuture<void> OptimizeController::preview()
{
    // The steps' places lie in the home folder; without a sound one there is nothing to measure.
    if (m_context.homeRefused())
        return QtFuture::makeReadyFuture();
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::optimizePreview, AppFeature::optimize, true);
    return runs.finish(
        run, takePreview(run), both("预览已取消", "Preview Cancelled"), [this](OptimizePreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            // The marks follow the safeguard list as it is stored now.
            if (!m_showingProtectionSheet)
                loadSafeguardsQuietly();
            setReport(std::move(report), std::nullopt);
            m_context.runs.setStatus(
                both("优化预览完成", "Optimization Preview Complete"),
                count > 0
                    ? both("已列出 %1 项优化内容。正式执行前仍会再次确认。",
                           "%1 optimization items are listed. You will confirm again before running them.")
                          .arg(count)
                    : both("当前没有需要展示的优化内容。", "There are no optimization items to show."));
        });
}

QFuture<void> OptimizeController::runNow()
{
    if (m_context.actingRefused())
        return QtFuture::makeReadyFuture();
    RunCoordinator& runs = m_context.runs;
    // Nothing runs on a guess: a safeguard list that exists but cannot be read stops the run here.
    OptimizeWhitelistState safeguards;
    try {
        safeguards =
            OptimizeWhitelistStore::load(m_context.environment.home, m_context.environment.target.system);
    } catch (const KelvoError& error) {
        if (!m_showingProtectionSheet)
            adoptStored({}, error.description());
        runs.setAlertMessage(LocalText::same(error.description()));
        runs.setStatus(both("优化已停止", "Optimization Stopped"), nothingRan());
        return QtFuture::makeReadyFuture();
    }
    if (!m_showingProtectionSheet)
        adoptStored(safeguards);
    const RunCoordinator::RunHandle run = runs.begin(RunKind::optimize, AppFeature::optimize, true);
    // Run exactly what the user previewed; without a preview in memory, take one first.
    QFuture<std::optional<OptimizePreviewReport>> previewed =
        m_report ? QtFuture::makeReadyFuture(m_report) : takePreview(run);
    LocalOptimizeExecutor::Options options = executorOptions();
    options.onStep = [relay = run->relay, stepText = L("第 %1 步，共 %2 步", "Step %1 of %2")](
                         const OptimizePreviewReport::Entry& entry, int index, int count) {
        relay->post(QVariantMap{{QStringLiteral("location"), entry.name},
                                {QStringLiteral("detail"), stepText.arg(index + 1).arg(count)}});
    };
    return previewed
        .then(this,
              [run, options = std::move(options),
               skipped = safeguards.selectedKeys](std::optional<OptimizePreviewReport> report) mutable {
                  if (!report)
                      return QtFuture::makeReadyFuture(std::optional<Ran>()); // the preview was cancelled
                  return QtConcurrent::run([report = std::move(*report), skipped,
                                            options = std::move(options),
                                            cancelled = run->cancelled]() mutable {
                      options.cancelled = cancelled.get();
                      LocalOptimizeResult result = LocalOptimizeExecutor::run(report, skipped, options);
                      return std::optional<Ran>(Ran{std::move(report), std::move(result)});
                  });
              })
        .unwrap()
        .then(this,
              [this, run](std::optional<Ran> ran) {
                  RunCoordinator& coordinator = m_context.runs;
                  if (!coordinator.end(run))
                      return; // superseded
                  if (!ran) {
                      coordinator.setStatus(both("优化已取消", "Optimization Cancelled"), nothingRan());
                      return;
                  }
                  m_context.statistics.recordNow(StatisticKey::lastOptimizeDate);
                  m_context.statistics.record(StatisticKey::lastOptimizeCount,
                                              qint64(ran->result.completed.size()));
                  const bool stopped = std::any_of(ran->result.steps.begin(), ran->result.steps.end(),
                                                   [](const OptimizeStepOutcome& step) {
                                                       return step.state == OptimizeStepState::notRun;
                                                   });
                  const LocalText detail = OptimizeReportPresenter::completionDetail(ran->result);
                  setReport(std::move(ran->report), std::move(ran->result));
                  coordinator.setStatus(
                      stopped ? both("优化已停止", "Optimization Stopped")
                              : both("优化完成", "Optimization Complete"),
                      stopped ? detail + both("其余步骤没有执行。", " The rest were not run.") : detail);
              })
        .onFailed(this, [this, run] { m_context.runs.failed(run, QString()); });
}

QString OptimizeController::confirmationNote() const
{
    if (!m_report)
        return L("会先预览，然后执行这里可以运行的步骤。",
                 "A preview is taken first; then the steps that can run here are run.");
    return OptimizeReportPresenter::confirmation(m_planned);
}

// Safeguard editor ----------------------------------------------------------------------------------

void OptimizeController::setEditing(OptimizeWhitelistState editing)
{
    if (editing == m_editing)
        return;
    m_editing = std::move(editing);
    m_options.setSafeguarded(m_editing.selectedKeys);
    emit safeguardsChanged();
    updatePlan();
}

void OptimizeController::adoptStored(OptimizeWhitelistState stored, QString problem)
{
    const bool problemChanged = problem != m_safeguardProblem;
    m_stored = stored;
    m_safeguardProblem = std::move(problem);
    setEditing(std::move(stored));
    if (problemChanged)
        emit reportChanged();
}

void OptimizeController::setShowingProtectionSheet(bool showing)
{
    if (showing == m_showingProtectionSheet)
        return;
    m_showingProtectionSheet = showing;
    if (!showing)
        setEditing(m_stored); // unsaved ticks are dropped
    emit showingProtectionSheetChanged();
}

bool OptimizeController::loadWhitelistEditor()
{
    try {
        adoptStored(
            OptimizeWhitelistStore::load(m_context.environment.home, m_context.environment.target.system));
        return true;
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(LocalText::same(error.description()));
        return false;
    }
}

void OptimizeController::loadSafeguardsQuietly()
{
    try {
        adoptStored(
            OptimizeWhitelistStore::load(m_context.environment.home, m_context.environment.target.system));
    } catch (const KelvoError& error) {
        adoptStored({}, error.description());
    }
}

void OptimizeController::setSafeguarded(const QString& id, bool safeguarded)
{
    OptimizeWhitelistState editing = m_editing;
    if (safeguarded)
        editing.selectedKeys.insert(id);
    else
        editing.selectedKeys.remove(id);
    setEditing(std::move(editing));
}

void OptimizeController::removeCustomKey(int index)
{
    if (index < 0 || index >= m_editing.customKeys.size())
        return;
    OptimizeWhitelistState editing = m_editing;
    editing.customKeys.removeAt(index);
    setEditing(std::move(editing));
}

void OptimizeController::restoreWhitelistDefaults()
{
    setEditing({OptimizeWhitelistStore::defaultSelectedKeys(), m_editing.customKeys});
}

bool OptimizeController::saveWhitelistEditor()
{
    // The list names the target system's steps; another system's list is not this machine's to write.
    if (m_context.actingRefused())
        return false;
    try {
        OptimizeWhitelistStore::save(m_editing, m_context.environment.home,
                                     m_context.environment.target.system);
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(LocalText::same(error.description()));
        return false;
    }
    adoptStored(m_editing); // what is stored now, readable again
    m_context.runs.setStatus(
        both("保护项已更新", "Safeguards Updated"),
        both("优化执行时会跳过已勾选的步骤。", "Optimization will skip the selected steps."));
    setShowingProtectionSheet(false);
    return true;
}
