#include "features/UninstallController.h"

#include "AppModelSupport.h"
#include "app/TrashMoves.h"

#include "uninstall/FlatpakTool.h"
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

UninstallSystem UninstallController::system() const
{
    return m_context.environment.uninstallSystem.value_or(UninstallPreviewService::thisSystem());
}

bool UninstallController::linuxApplications() const
{
    return system() == UninstallSystem::linux;
}

QString UninstallController::flatpakTool() const
{
    return m_context.environment.systemRoot + QStringLiteral("/usr/bin/flatpak");
}

void UninstallController::setReport(std::optional<UninstallPreviewReport> report)
{
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

void UninstallController::uninstall(const QStringList& ids, const QStringList& leftoverPaths)
{
    RunCoordinator& runs = m_context.runs;
    if (runs.isRunning(QStringLiteral("uninstall-trash")))
        return; // one batch at a time; the page offers no uninstall meanwhile
    if (ids.isEmpty()) {
        runs.setAlertMessage(L("请先选择要处理的应用。", "Choose the apps you want to process first."));
        return;
    }
    if (m_context.homeRefused())
        return;
    runs.setStatus(L("正在卸载应用", "Uninstalling Apps"),
                   L("正在处理选中的应用，请稍等。", "Processing the selected apps, please wait."));
    // A Flatpak app is removed by flatpak itself; only once it is gone do its chosen leftovers follow.
    struct Flatpak {
        QString id;
        QString path;
        std::vector<TrashMoves::Item> leftovers;
    };
    std::vector<Flatpak> flatpaks;
    std::vector<TrashMoves::Item> items;
    QSet<QString> listed;
    const QSet<QString> selected(ids.begin(), ids.end());
    const QSet<QString> chosenLeftovers(leftoverPaths.begin(), leftoverPaths.end());
    const auto add = [&](const QString& path, const std::optional<FileIdentity>& identity) {
        if (!listed.contains(path)) {
            listed.insert(path);
            items.push_back({path, identity});
        }
    };
    if (m_report)
        for (const UninstallPreviewReport::Entry& entry : m_report->entries) {
            if (!selected.contains(entry.id))
                continue;
            if (entry.flatpakID) {
                Flatpak flatpak{*entry.flatpakID, entry.path, {}};
                for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
                    if (chosenLeftovers.contains(leftover.path))
                        flatpak.leftovers.push_back({leftover.path, leftover.identity});
                flatpaks.push_back(std::move(flatpak));
                continue;
            }
            add(entry.path, entry.identity);
            for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
                if (chosenLeftovers.contains(leftover.path))
                    add(leftover.path, leftover.identity);
        }
    const bool single = items.size() + flatpaks.size() == 1;
    auto work = [items = std::move(items), flatpaks = std::move(flatpaks), home = m_context.environment.home,
                 tool = flatpakTool()]() mutable {
        TrashMoves::Batch removed;
        for (Flatpak& flatpak : flatpaks) {
            if (const std::optional<QString> failure = FlatpakTool::uninstall(tool, flatpak.id)) {
                ++removed.failed;
                removed.left.push_back(
                    {flatpak.id, AppLocalization::localized(QStringLiteral("%1 没有卸载："),
                                                            QStringLiteral("%1 was not uninstalled: "))
                                         .arg(flatpak.id) +
                                     *failure});
                continue;
            }
            removed.moved.insert(flatpak.path);
            for (TrashMoves::Item& leftover : flatpak.leftovers)
                items.push_back(std::move(leftover));
        }
        TrashMoves::Batch moved = TrashMoves::moveAll(items, home);
        moved.moved.unite(removed.moved);
        moved.failed += removed.failed;
        moved.left.insert(moved.left.begin(), removed.left.begin(), removed.left.end());
        if (qsizetype(moved.left.size()) > FileRemover::maxReported)
            moved.left.resize(FileRemover::maxReported);
        return moved;
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
