#include "features/PurgeController.h"

#include "app/AppModelSupport.h"
#include "app/TrashMoves.h"

#include "purge/PurgePreviewService.h"
#include "vocabulary/ByteCount.h"

#include <QHash>

using namespace AppModelSupport;

PurgeController::PurgeController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_scanPath(context.environment.home)
{
}

void PurgeController::setScanPath(const QString& path)
{
    if (path == m_scanPath)
        return;
    m_scanPath = path;
    emit scanPathChanged();
}

void PurgeController::setReport(std::optional<PurgePreviewReport> report)
{
    m_report = std::move(report);
    m_entries.setEntries(m_report ? m_report->entries : std::vector<PurgePreviewReport::Entry>());
    emit reportChanged();
}

int PurgeController::targetTypeCount() const
{
    return int(LocalPurgePreview::targetDirectoryNames().size() + LocalPurgePreview::targetSuffixes().size());
}

QFuture<void> PurgeController::scan()
{
    RunCoordinator& runs = m_context.runs;
    runs.setStatusDetail(both("正在扫描项目目录，请稍等。", "Scanning the project folder, please wait."));
    const RunCoordinator::RunHandle run = runs.begin(RunKind::purge, AppFeature::purge, true);
    LocalPurgePreview::Options options;
    options.home = m_context.environment.home;
    options.onProgress = [relay = run->relay](const LocalPurgePreview::Progress& progress) {
        relay->post(progress.folder, progress.artefactsFound, progress.bytesFound);
    };
    auto work = PurgePreviewService::snapshot(m_scanPath, std::move(options), run->cancelled);
    return runs.finish(
        run, std::move(work), both("扫描已取消", "Scan Cancelled"), [this](PurgePreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QString total = report.totalSizeText();
            setReport(std::move(report));
            m_context.runs.setStatus(both("项目预览完成", "Project Preview Complete"),
                                     count > 0
                                         ? both("发现 %1 个项目产物，合计 %2。",
                                                count == 1 ? "Found %1 build artefact, %2 in all."
                                                           : "Found %1 build artefacts, %2 in all.")
                                               .arg(count)
                                               .arg(total)
                                         : both("当前范围里没有明显可整理的项目产物。",
                                                "No obvious cleanup targets were found in this scope."));
        });
}

void PurgeController::choosePath(const QUrl& folder)
{
    const QString path = folder.toLocalFile();
    if (path.isEmpty())
        return;
    setScanPath(path);
    setReport(std::nullopt);
}

void PurgeController::moveToTrash(const QStringList& paths)
{
    if (paths.isEmpty()) {
        m_context.runs.setAlertMessage(
            both("请先选择要移到废纸篓的项目产物。",
                 "Choose the build artefacts you want to move to the Trash first."));
        return;
    }
    if (m_context.actingRefused())
        return;
    // Only what the scan listed goes, and only while it is still what the scan saw.
    QHash<QString, const PurgePreviewReport::Entry*> listed;
    if (m_report)
        for (const PurgePreviewReport::Entry& entry : m_report->entries)
            listed.insert(entry.path, &entry);
    std::vector<TrashMoves::Item> items;
    for (const QString& path : paths) {
        const PurgePreviewReport::Entry* entry = listed.value(path);
        items.push_back({path, entry ? entry->identity : std::nullopt});
    }
    TrashMoves::inBackground(
        m_context, this, RunKind::purgeTrash, AppFeature::purge, std::move(items),
        [this](const TrashMoves::Batch& batch) {
            qint64 movedBytes = 0;
            if (!batch.moved.isEmpty()) {
                if (m_report)
                    std::erase_if(m_report->entries, [&](const PurgePreviewReport::Entry& entry) {
                        const bool moved = batch.moved.contains(entry.path);
                        movedBytes = ByteCount::saturatingAdd(movedBytes, moved ? entry.byteCount : 0);
                        return moved;
                    });
                m_entries.removeKeys(batch.moved);
                Statistics& statistics = m_context.statistics;
                statistics.recordNow(StatisticKey::lastPurgeScanDate);
                statistics.record(StatisticKey::lastPurgeCleanedCount,
                                  statistics.count(StatisticKey::lastPurgeCleanedCount) + batch.moved.size());
                statistics.record(StatisticKey::lastPurgeCleanedBytes,
                                  statistics.count(StatisticKey::lastPurgeCleanedBytes) + movedBytes);
            }
            TrashMoves::sayHowItWent(
                m_context.runs, batch,
                {both("选中的项目产物没有移动成功。", "The selected build artefacts could not be moved."),
                 both("已移到废纸篓", "Moved to Trash"),
                 both("已把 1 个项目产物移到废纸篓", "Moved 1 build artefact to the Trash"),
                 both("已把 %1 个项目产物移到废纸篓", "Moved %1 build artefacts to the Trash")},
                movedBytes);
        });
}
