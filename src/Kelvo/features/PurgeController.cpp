#include "features/PurgeController.h"

#include "AppModelSupport.h"
#include "PurgeReportPresenter.h"
#include "app/TrashMoves.h"

#include "purge/PurgePreviewService.h"

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

QVariant PurgeController::reportValue() const
{
    if (!m_report)
        return {};
    QVariantMap report = PurgeReportPresenter::present(*m_report);
    report.insert(QStringLiteral("trashedPaths"), QStringList(m_trashedPaths.begin(), m_trashedPaths.end()));
    return report;
}

void PurgeController::setReport(std::optional<PurgePreviewReport> report)
{
    m_report = std::move(report);
    m_trashedPaths.clear();
    emit reportChanged();
}

int PurgeController::targetTypeCount() const
{
    return int(LocalPurgePreview::targetDirectoryNames().size() + LocalPurgePreview::targetSuffixes().size());
}

QFuture<void> PurgeController::scan()
{
    RunCoordinator& runs = m_context.runs;
    runs.setStatus(runs.statusTitle(),
                   L("正在扫描项目目录，请稍等。", "Scanning the project folder, please wait."));
    const RunCoordinator::RunHandle run = runs.begin(QStringLiteral("purge"), AppFeature::purge, true);
    LocalPurgePreview::Options options;
    options.onProgress = [relay = run->relay](const LocalPurgePreview::Progress& progress) {
        relay->post(progress.folder, progress.artefactsFound, progress.bytesFound);
    };
    auto work = PurgePreviewService::snapshot(m_scanPath, std::move(options), run->cancelled);
    return runs.finish(
        run, std::move(work), L("扫描已取消", "Scan Cancelled"), [this](PurgePreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QString total = report.totalSizeText();
            setReport(std::move(report));
            m_context.runs.setStatus(
                L("项目预览完成", "Project Preview Complete"),
                count > 0 ? L("发现 %1 个可整理项目，合计 %2。", "Found %1 cleanup items, total %2.")
                                .arg(count)
                                .arg(total)
                          : L("当前范围里没有明显可整理的项目产物。",
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

void PurgeController::moveToTrash(const QString& path)
{
    if (path.isEmpty())
        return;
    // Only what the scan listed goes, and only while it is still what the scan saw.
    std::optional<FileIdentity> identity;
    qint64 bytes = 0;
    if (m_report)
        for (const PurgePreviewReport::Entry& entry : m_report->entries)
            if (entry.path == path) {
                identity = entry.identity;
                bytes = entry.byteCount;
            }
    TrashMoves::inBackground(
        m_context, this, QStringLiteral("purge-trash"), AppFeature::purge, {{path, identity}},
        [this, path, bytes](const TrashMoves::Batch& batch) {
            if (!batch.moved.contains(path))
                return;
            Statistics& statistics = m_context.statistics;
            statistics.recordNow("lastPurgeScanDate");
            statistics.record("lastPurgeCleanedCount", statistics.count("lastPurgeCleanedCount") + 1);
            statistics.record("lastPurgeCleanedBytes", statistics.count("lastPurgeCleanedBytes") + bytes);
            m_trashedPaths.insert(path);
            emit reportChanged();
            m_context.runs.setStatus(
                L("已移到废纸篓", "Moved to Trash"),
                L("选中的项目已放入废纸篓。", "The selected item has been moved to Trash."));
        });
}
