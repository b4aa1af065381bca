#include "features/UninstallController.h"

#include "app/AppModelSupport.h"
#include "app/TrashMoves.h"

#include "uninstall/UninstallExecutor.h"
#include "uninstall/UninstallPreviewService.h"

#include <QSet>

using namespace AppModelSupport;

UninstallController::UninstallController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
}

TargetSystem UninstallController::system() const
{
    return m_context.environment.uninstallSystem.value_or(m_context.environment.target.system);
}

bool UninstallController::linuxApplications() const
{
    return system() == TargetSystem::linuxDesktop;
}

QString UninstallController::flatpakTool() const
{
    return m_context.environment.systemRoot + QStringLiteral("/usr/bin/flatpak");
}

void UninstallController::setReport(std::optional<UninstallPreviewReport> report)
{
    if (report)
        m_shared.emplace(m_context.environment.home); // the user's folders as they are now
    m_report = std::move(report);
    m_apps.setEntries(m_report ? m_report->entries : std::vector<UninstallPreviewReport::Entry>());
    emit reportChanged();
}

QFuture<void> UninstallController::scan()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::uninstall, AppFeature::uninstall, true);
    const auto& folders = m_context.environment.applicationFolders;
    UninstallPreviewService::Setup setup;
    setup.system = system();
    setup.bundles.applicationFolders = folders ? std::optional(folders()) : std::nullopt;
    setup.linux.flatpakTool = flatpakTool();
    setup.linux.systemRoot = m_context.environment.systemRoot;
    auto work =
        UninstallPreviewService::snapshot(m_context.environment.home, std::move(setup), run->cancelled);
    return runs.finish(
        run, std::move(work), both("扫描已取消", "Scan Cancelled"), [this](UninstallPreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QStringList notes = report.notes;
            setReport(std::move(report));
            LocalText found = count == 1 ? both("找到 1 个应用。", "Found 1 app.")
                              : count > 0
                                  ? both("找到 %1 个应用。", "Found %1 apps.").arg(count)
                                  : both("当前没有可显示的应用。", "There are no apps to show right now.");
            m_context.runs.setStatus(both("预览卸载项目完成", "Uninstall Preview Complete"),
                                     notes.isEmpty() ? found : found + (u' ' + notes.join(u' ')));
        });
}

UninstallExecutor::Plan UninstallController::plan(const QStringList& ids,
                                                  const QStringList& leftoverPaths) const
{
    if (!m_report || !m_shared)
        return {};
    return UninstallExecutor::plan(
        *m_report,
        {QSet<QString>(ids.begin(), ids.end()), QSet<QString>(leftoverPaths.begin(), leftoverPaths.end())},
        *m_shared);
}

QString UninstallController::chosenConfirmation() const
{
    return UninstallExecutor::confirmation(plan(m_apps.chosenKeys(), m_apps.chosenLeftovers()));
}

void UninstallController::uninstall(const QStringList& ids, const QStringList& leftoverPaths)
{
    RunCoordinator& runs = m_context.runs;
    if (runs.isRunning(RunKind::uninstallTrash))
        return; // one batch at a time; the page offers no uninstall meanwhile
    if (ids.isEmpty()) {
        runs.setAlertMessage(both("请先选择要处理的应用。", "Choose the apps you want to process first."));
        return;
    }
    if (m_context.actingRefused())
        return;
    runs.setStatus(both("正在卸载应用", "Uninstalling Apps"),
                   both("正在处理选中的应用，请稍等。", "Processing the selected apps, please wait."));
    UninstallExecutor::Plan planned = plan(ids, leftoverPaths);
    const bool single = planned.apps.size() + planned.kept.size() + std::size_t(planned.leftoverCount()) == 1;
    auto work = [planned, home = m_context.environment.home, tool = flatpakTool()] {
        UninstallExecutor::Result result = UninstallExecutor::run(planned, home, tool);
        return TrashMoves::Batch{std::move(result.removed), result.failed, std::move(result.left)};
    };
    TrashMoves::inBackground(
        m_context, this, RunKind::uninstallTrash, AppFeature::uninstall, std::move(work), single,
        [this, planned](const TrashMoves::Batch& batch) {
            if (m_report) {
                QSet<QString> gone;
                std::erase_if(m_report->entries, [&](const UninstallPreviewReport::Entry& entry) {
                    if (batch.moved.contains(entry.path))
                        gone.insert(entry.id);
                    return batch.moved.contains(entry.path);
                });
                m_apps.removeKeys(gone);
                m_shared.emplace(m_context.environment.home); // the user's folders as they are now
            }
            if (!batch.moved.isEmpty()) {
                m_context.statistics.recordNow(StatisticKey::lastUninstallDate);
                m_context.statistics.record(StatisticKey::lastUninstallCount, batch.moved.size());
            }
            // Which apps went and what moved, by name, in the language of the moment.
            const UninstallExecutor::Result result{batch.moved, batch.failed, batch.left};
            m_context.runs.setStatus(
                batch.moved.isEmpty() ? both("没有完成", "Not Completed")
                                      : both("卸载完成", "Uninstall Complete"),
                LocalText::made([&] { return UninstallExecutor::completion(planned, result); }));
        });
}
