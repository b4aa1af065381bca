// The controller's storage analysis, project cleanup and single moves to the Trash.
#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"

#include "AnalysisReportPresenter.h"
#include "PurgeReportPresenter.h"

#include "analysis/LocalAnalysis.h"
#include "platform/PathText.h"
#include "platform/ToolRunner.h"
#include "purge/LocalPurgePreview.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/ScanPathGuard.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

using namespace AppModelSupport;

QVariant AppModel::analysisReportValue() const
{
    return m_analysisReport ? QVariant(AnalysisReportPresenter::present(*m_analysisReport)) : QVariant();
}

QVariant AppModel::purgePreviewReportValue() const
{
    if (!m_purgePreviewReport)
        return {};
    QVariantMap report = PurgeReportPresenter::present(*m_purgePreviewReport);
    report.insert(QStringLiteral("trashedPaths"),
                  QStringList(m_trashedPurgePaths.begin(), m_trashedPurgePaths.end()));
    return report;
}

void AppModel::setAnalysisReport(std::optional<AnalysisReport> report)
{
    m_analysisReport = std::move(report);
    emit analysisReportChanged();
}

void AppModel::setPurgePreviewReport(std::optional<PurgePreviewReport> report)
{
    m_purgePreviewReport = std::move(report);
    m_trashedPurgePaths.clear();
    emit purgePreviewReportChanged();
}

QFuture<void> AppModel::refreshAnalysisReport(const QString& path)
{
    QFuture<std::optional<AnalysisReport>> run = runCancellable(
        [path, home = m_environment.home](const std::atomic_bool* cancelled, ProgressRelay& relay) {
            LocalAnalysis::Options options;
            options.cancelled = cancelled;
            options.onProgress = [&relay](const LocalAnalysis::Progress& progress) {
                relay.post(progress.folder, progress.items, progress.bytes);
            };
            return LocalAnalysis::snapshot(path, home, options);
        });
    return publishUnlessCancelled(
        run, "分析已取消", "Analysis Cancelled", [this, path](AnalysisReport report) {
            storeStatistic(&Statistics::lastAnalysisDate, Keys::lastAnalysisDate, nowInSeconds());
            storeStatistic(&Statistics::lastAnalysisPath, Keys::lastAnalysisPath, path);
            storeStatistic(&Statistics::lastAnalysisTotalSize, Keys::lastAnalysisTotalSize,
                           report.totalSize.value_or(0));
            storeStatistic(&Statistics::lastAnalysisTotalFiles, Keys::lastAnalysisTotalFiles,
                           report.totalFiles.value_or(0));
            setAnalysisReport(std::move(report));
            setStatus(L("空间分析完成", "Storage Analysis Complete"),
                      L("下面列出了最占空间的文件和文件夹。",
                        "Below are the files and folders using the most space."));
        });
}

QFuture<void> AppModel::runPurgePreview()
{
    setStatus(m_statusTitle, L("正在扫描项目目录，请稍等。", "Scanning the project folder, please wait."));
    QFuture<std::optional<PurgePreviewReport>> run =
        runCancellable([root = m_scanPath](const std::atomic_bool* cancelled, ProgressRelay& relay) {
            LocalPurgePreview::Options options;
            options.cancelled = cancelled;
            options.onProgress = [&relay](const LocalPurgePreview::Progress& progress) {
                relay.post(progress.folder, progress.artefactsFound, progress.bytesFound);
            };
            return LocalPurgePreview::snapshot(root, LocalPurgePreview::defaultMaxDepth, options);
        });
    return publishUnlessCancelled(run, "扫描已取消", "Scan Cancelled", [this](PurgePreviewReport report) {
        const qsizetype count = qsizetype(report.entries.size());
        const QString total = report.totalSizeText();
        setPurgePreviewReport(std::move(report));
        setStatus(L("项目预览完成", "Project Preview Complete"),
                  count > 0 ? L("发现 %1 个可整理项目，合计 %2。", "Found %1 cleanup items, total %2.")
                                  .arg(count)
                                  .arg(total)
                            : L("当前范围里没有明显可整理的项目产物。",
                                "No obvious cleanup targets were found in this scope."));
    });
}

int AppModel::purgeTargetTypeCount() const
{
    return int(LocalPurgePreview::targetDirectoryNames().size() + LocalPurgePreview::targetSuffixes().size());
}

void AppModel::analyzePath(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    setAnalysisPath(trimmed);
    request(AppActionFactory::analyze(trimmed, true));
}

void AppModel::analyzeParentPath()
{
    analyzePath(PathText::standardized(m_analysisPath + QStringLiteral("/..")));
}

void AppModel::chooseAnalysisPath(const QUrl& folder)
{
    const QString path = folder.toLocalFile();
    if (!path.isEmpty())
        setAnalysisPath(path);
}

void AppModel::chooseScanPath(const QUrl& folder)
{
    const QString path = folder.toLocalFile();
    if (path.isEmpty())
        return;
    setScanPath(path);
    setPurgePreviewReport(std::nullopt);
}

AppModel::TrashBatch AppModel::trashAll(const std::vector<TrashItem>& items, const QString& home)
{
    TrashBatch batch;
    for (const TrashItem& item : items) {
        if (const std::optional<QString> refusal =
                ScanPathGuard::moveToTrash(item.path, item.identity, home)) {
            ++batch.failed;
            if (qsizetype(batch.left.size()) < FileRemover::maxReported)
                batch.left.push_back({item.path, *refusal});
        } else {
            batch.moved.insert(item.path);
        }
    }
    return batch;
}

bool AppModel::trashGuarded(const TrashItem& item)
{
    if (const std::optional<QString> refusal =
            ScanPathGuard::moveToTrash(item.path, item.identity, m_environment.home)) {
        setAlertMessage(*refusal);
        return false;
    }
    return true;
}

void AppModel::moveToTrash(const QString& path)
{
    // Only what the scan listed goes, and only while it is still what the scan saw.
    const PurgePreviewReport::Entry* listed = nullptr;
    if (m_purgePreviewReport)
        for (const PurgePreviewReport::Entry& entry : m_purgePreviewReport->entries)
            if (entry.path == path)
                listed = &entry;
    if (path.isEmpty() || !trashGuarded({path, listed ? listed->identity : std::nullopt}))
        return;
    const qint64 bytes = listed ? listed->byteCount : 0;
    storeStatistic(&Statistics::lastPurgeScanDate, Keys::lastPurgeScanDate, nowInSeconds());
    storeStatistic(&Statistics::lastPurgeCleanedCount, Keys::lastPurgeCleanedCount,
                   m_stats.lastPurgeCleanedCount + 1);
    storeStatistic(&Statistics::lastPurgeCleanedBytes, Keys::lastPurgeCleanedBytes,
                   m_stats.lastPurgeCleanedBytes + bytes);
    // The report itself stays as scanned; the page marks what has gone.
    m_trashedPurgePaths.insert(path);
    emit purgePreviewReportChanged();
    setStatus(L("已移到废纸篓", "Moved to Trash"),
              L("选中的项目已放入废纸篓。", "The selected item has been moved to Trash."));
}

void AppModel::moveAnalysisItemToTrash(const QString& path)
{
    std::optional<FileIdentity> identity;
    if (m_analysisReport)
        for (const auto* list : {&m_analysisReport->entries, &m_analysisReport->largeFiles})
            for (const AnalysisReport::Entry& entry : *list)
                if (entry.path == path)
                    identity = entry.identity;
    if (path.isEmpty() || !trashGuarded({path, identity}))
        return;
    if (m_analysisReport) {
        AnalysisReport report = *m_analysisReport;
        qint64 removedBytes = 0;
        qint64 removedFiles = 0;
        for (const AnalysisReport::Entry& file : report.largeFiles)
            if (file.path && PathText::isAtOrBelow(*file.path, path)) {
                removedFiles += 1;
                if (*file.path == path)
                    removedBytes = file.size.value_or(0);
            }
        for (const AnalysisReport::Entry& entry : report.entries)
            if (entry.path == path) {
                removedBytes = entry.size.value_or(0);
                removedFiles = entry.isDirectory.value_or(false) ? removedFiles : 1;
            }
        // What the report shows stays consistent: the item leaves the lists and the totals, and a
        // file inside a listed folder leaves that folder's size.
        std::erase_if(report.largeFiles, [&](const AnalysisReport::Entry& file) {
            return file.path && PathText::isAtOrBelow(*file.path, path);
        });
        std::erase_if(report.entries, [&](const AnalysisReport::Entry& entry) { return entry.path == path; });
        for (AnalysisReport::Entry& entry : report.entries)
            if (entry.path && entry.size && PathText::isAtOrBelow(path, *entry.path))
                *entry.size -= removedBytes;
        report.totalSize = report.totalSize.value_or(0) - removedBytes;
        report.totalFiles = std::max<qint64>(0, report.totalFiles.value_or(0) - removedFiles);
        setAnalysisReport(std::move(report));
    }
    setStatus(L("已移到废纸篓", "Moved to Trash"),
              L("选中的项目已放入废纸篓。", "The selected item has been moved to Trash."));
}

void AppModel::revealInFileManager(const QString& path)
{
#ifdef Q_OS_MACOS
    ToolRunner::run({QStringLiteral("/usr/bin/open"), {QStringLiteral("-R"), path}, std::chrono::seconds(5)});
#else
    // The freedesktop file managers open a folder; the item's own folder is the closest to revealing it.
    const QFileInfo item(path);
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(item.isDir() ? item.absoluteFilePath() : item.absolutePath()));
#endif
}
