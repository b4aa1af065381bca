#include "features/UninstallController.h"

#include "app/AppModelSupport.h"
#include "app/TrashMoves.h"

#include "uninstall/UninstallExecutor.h"
#include "uninstall/UninstallPreviewService.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

#include <QSet>

using namespace AppModelSupport;

namespace {

// The day an app was last used. A use date at the epoch or before is what a file system keeps for a
// bundle nobody has opened (access times cleared by an unpacker or a copy), so it reads "Never".
QString lastOpenedText(const std::optional<QDateTime>& lastOpened)
{
    if (!lastOpened)
        return L("未知", "Unknown");
    if (lastOpened->toSecsSinceEpoch() <= 0)
        return L("从未", "Never");
    return lastOpened->toLocalTime().toString(QStringLiteral("yyyy-MM-dd"));
}

// Each leftover with its size and how surely it belongs to the app; the page chooses the strong ones
// by default.
QVariantList leftoverList(const std::vector<UninstallPreviewReport::Leftover>& leftovers)
{
    QVariantList list;
    for (const UninstallPreviewReport::Leftover& leftover : leftovers)
        list.append(QVariantMap{
            {QStringLiteral("path"), leftover.path},
            {QStringLiteral("sizeText"), SizeText::bytes(leftover.allocatedBytes)},
            {QStringLiteral("strong"), leftover.match == UninstallPreviewReport::LeftoverMatch::strong}});
    return list;
}

} // namespace

QVariant UninstallController::reportValue() const
{
    if (!m_report)
        return {};
    QVariantList entries;
    for (const UninstallPreviewReport::Entry& entry : m_report->entries)
        entries.append(QVariantMap{
            {QStringLiteral("id"), entry.id},
            {QStringLiteral("name"), entry.name},
            {QStringLiteral("bundleID"), entry.bundleID.value_or(QString())},
            {QStringLiteral("source"), entry.source},
            {QStringLiteral("path"), entry.path},
            {QStringLiteral("iconPath"), entry.iconPath.value_or(QString())},
            {QStringLiteral("sizeText"), entry.size.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("appSizeText"), entry.appSizeText.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("leftoverSizeText"),
             entry.leftoverSizeText.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("leftovers"), leftoverList(entry.leftovers)},
            {QStringLiteral("lastOpenedText"), lastOpenedText(entry.lastOpened)}});
    return QVariantMap{{QStringLiteral("entryCount"), int(entries.size())},
                       {QStringLiteral("entries"), entries},
                       {QStringLiteral("notes"), m_report->notes}};
}

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
    emit reportChanged();
}

QFuture<void> UninstallController::scan()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run =
        runs.begin(QStringLiteral("uninstall"), AppFeature::uninstall, true);
    const auto& folders = m_context.environment.applicationFolders;
    UninstallPreviewService::Setup setup;
    setup.system = system();
    setup.bundles.applicationFolders = folders ? std::optional(folders()) : std::nullopt;
    setup.linux.flatpakTool = flatpakTool();
    setup.linux.systemRoot = m_context.environment.systemRoot;
    auto work =
        UninstallPreviewService::snapshot(m_context.environment.home, std::move(setup), run->cancelled);
    return runs.finish(
        run, std::move(work), L("扫描已取消", "Scan Cancelled"), [this](UninstallPreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QStringList notes = report.notes;
            setReport(std::move(report));
            const QString found =
                count > 0 ? L("找到 %1 个可查看的应用项目。", "Found %1 app items to review.").arg(count)
                          : L("当前没有可显示的应用项目。", "There are no app items to show right now.");
            m_context.runs.setStatus(L("预览卸载项目完成", "Uninstall Preview Complete"),
                                     (QStringList{found} + notes).join(u' '));
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

QString UninstallController::confirmationText(const QStringList& ids, const QStringList& leftoverPaths) const
{
    return UninstallExecutor::confirmation(plan(ids, leftoverPaths));
}

void UninstallController::uninstall(const QStringList& ids, const QStringList& leftoverPaths)
{
    RunCoordinator& runs = m_context.runs;
    if (runs.isRunning(QStringLiteral("uninstall-trash")))
        return; // one batch at a time; the page offers no uninstall meanwhile
    if (ids.isEmpty()) {
        runs.setAlertMessage(L("请先选择要处理的应用。", "Choose the apps you want to process first."));
        return;
    }
    if (m_context.actingRefused())
        return;
    runs.setStatus(L("正在卸载应用", "Uninstalling Apps"),
                   L("正在处理选中的应用，请稍等。", "Processing the selected apps, please wait."));
    UninstallExecutor::Plan planned = plan(ids, leftoverPaths);
    const bool single = planned.apps.size() + planned.kept.size() + std::size_t(planned.leftoverCount()) == 1;
    auto work = [planned = std::move(planned), home = m_context.environment.home, tool = flatpakTool()] {
        UninstallExecutor::Result result = UninstallExecutor::run(planned, home, tool);
        return TrashMoves::Batch{std::move(result.removed), result.failed, std::move(result.left)};
    };
    TrashMoves::inBackground(
        m_context, this, QStringLiteral("uninstall-trash"), AppFeature::uninstall, std::move(work), single,
        [this](const TrashMoves::Batch& batch) {
            if (m_report) {
                std::vector<UninstallPreviewReport::Entry> remaining;
                for (const UninstallPreviewReport::Entry& entry : m_report->entries)
                    if (!batch.moved.contains(entry.path))
                        remaining.push_back(entry);
                setReport(UninstallPreviewReport(std::move(remaining)));
            }
            if (!batch.moved.isEmpty()) {
                m_context.statistics.recordNow("lastUninstallDate");
                m_context.statistics.record("lastUninstallCount", batch.moved.size());
            }
            TrashMoves::sayHowItWent(
                m_context.runs, batch,
                {L("选中的应用没有处理成功。", "The selected apps could not be processed."),
                 L("卸载完成", "Uninstall Complete"), L("已处理 %1 个应用项目。", "Processed %1 app items."),
                 L("已处理 %1 个应用项目，%2 个没有成功。", "Processed %1 app items. %2 failed.")});
        });
}
