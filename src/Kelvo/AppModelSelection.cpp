// The controller's installer cleanup and app uninstall: scans, then moves of what the user selected.
#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"

#include "vocabulary/ScanPathGuard.h"
#include "vocabulary/SizeText.h"

#include <QSet>

using namespace AppModelSupport;

LocalInstallerPreview::Places AppModel::installerPlaces() const
{
    return m_environment.installerPlaces.value_or(LocalInstallerPreview::systemPlaces());
}

QVariantList AppModel::installerScanLocations() const
{
    QVariantList list;
    for (const LocalInstallerPreview::ScanLocation& location :
         LocalInstallerPreview::availableScanLocations(m_environment.home, installerPlaces()))
        list.append(QVariantMap{{QStringLiteral("label"), location.displayName},
                                {QStringLiteral("path"), location.path},
                                {QStringLiteral("source"), location.source},
                                {QStringLiteral("exists"), location.exists}});
    return list;
}

QVariant AppModel::installerPreviewReportValue() const
{
    if (!m_installerPreviewReport)
        return {};
    QVariantList entries;
    QStringList sources;
    for (const InstallerPreviewReport::Entry& entry : m_installerPreviewReport->entries) {
        if (!sources.contains(entry.source))
            sources.append(entry.source);
        entries.append(QVariantMap{{QStringLiteral("path"), entry.path},
                                   {QStringLiteral("name"), entry.name},
                                   {QStringLiteral("source"), entry.source},
                                   {QStringLiteral("byteCount"), entry.byteCount},
                                   {QStringLiteral("sizeText"), entry.sizeText()}});
    }
    return QVariantMap{{QStringLiteral("entryCount"), int(entries.size())},
                       {QStringLiteral("totalBytes"), m_installerPreviewReport->totalBytes()},
                       {QStringLiteral("totalSizeText"), m_installerPreviewReport->totalSizeText()},
                       {QStringLiteral("sources"), sources},
                       {QStringLiteral("entries"), entries}};
}

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

} // namespace

QVariant AppModel::uninstallPreviewReportValue() const
{
    if (!m_uninstallPreviewReport)
        return {};
    QVariantList entries;
    for (const UninstallPreviewReport::Entry& entry : m_uninstallPreviewReport->entries)
        entries.append(QVariantMap{
            {QStringLiteral("id"), entry.id},
            {QStringLiteral("name"), entry.name},
            {QStringLiteral("bundleID"), entry.bundleID.value_or(QString())},
            {QStringLiteral("source"), entry.source},
            {QStringLiteral("path"), entry.path},
            {QStringLiteral("sizeText"), entry.size.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("appSizeText"), entry.appSizeText.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("leftoverSizeText"),
             entry.leftoverSizeText.value_or(SizeText::bytes(std::nullopt))},
            {QStringLiteral("leftoverPaths"), entry.leftoverPaths},
            {QStringLiteral("lastOpenedText"), lastOpenedText(entry.lastOpened)}});
    return QVariantMap{{QStringLiteral("entryCount"), int(entries.size())},
                       {QStringLiteral("entries"), entries}};
}

QFuture<void> AppModel::runInstallerPreview()
{
    QFuture<std::optional<InstallerPreviewReport>> run =
        runCancellable([home = m_environment.home,
                        places = installerPlaces()](const std::atomic_bool* cancelled, ProgressRelay&) {
            LocalInstallerPreview::Options options;
            options.cancelled = cancelled;
            return LocalInstallerPreview::snapshot(home, places, LocalInstallerPreview::defaultMaxDepth,
                                                   options);
        });
    return run.then(this, [this](std::optional<InstallerPreviewReport> report) {
        if (!report) {
            setStatus(L("扫描已取消", "Scan Cancelled"),
                      L("保留了上一次的结果。", "The previous results are kept."));
            return;
        }
        const qsizetype count = qsizetype(report->entries.size());
        const QString total = report->totalSizeText();
        m_installerPreviewReport = std::move(report);
        emit installerPreviewReportChanged();
        setStatus(L("安装包预览完成", "Installer Preview Complete"),
                  count > 0 ? L("发现 %1 个安装包，合计 %2。", "Found %1 installer files, total %2.")
                                  .arg(count)
                                  .arg(total)
                            : L("没有发现明显可整理的安装包。", "No obvious installer files were found."));
    });
}

QFuture<void> AppModel::runUninstallPreview()
{
    QFuture<std::optional<UninstallPreviewReport>> run = runCancellable(
        [home = m_environment.home, folders = m_environment.applicationFolders
                                                  ? std::optional(m_environment.applicationFolders())
                                                  : std::nullopt](const std::atomic_bool*, ProgressRelay&) {
            LocalUninstallPreview::Options options;
            options.applicationFolders = folders;
            return LocalUninstallPreview::snapshot(home, options);
        });
    return run.then(this, [this](std::optional<UninstallPreviewReport> report) {
        if (!report) {
            setStatus(L("扫描已取消", "Scan Cancelled"),
                      L("保留了上一次的结果。", "The previous results are kept."));
            return;
        }
        const qsizetype count = qsizetype(report->entries.size());
        m_uninstallPreviewReport = std::move(report);
        emit uninstallPreviewReportChanged();
        setStatus(L("预览卸载项目完成", "Uninstall Preview Complete"),
                  count > 0 ? L("找到 %1 个可查看的应用项目。", "Found %1 app items to review.").arg(count)
                            : L("当前没有可显示的应用项目。", "There are no app items to show right now."));
    });
}

void AppModel::moveInstallersToTrash(const QStringList& paths)
{
    if (paths.isEmpty()) {
        setAlertMessage(
            L("请先选择要清理的安装包。", "Choose the installer files you want to clean up first."));
        return;
    }
    qint64 moved = 0;
    qint64 failed = 0;
    qint64 movedBytes = 0;
    QSet<QString> movedPaths;
    for (const QString& path : paths) {
        // A refusal or failure counts and the rest goes on; no alert interrupts the batch.
        if (!ScanPathGuard::isTrashAllowed(path, m_environment.home) || !tryTrash(path)) {
            ++failed;
            continue;
        }
        ++moved;
        movedPaths.insert(path);
        if (m_installerPreviewReport)
            for (const InstallerPreviewReport::Entry& entry : m_installerPreviewReport->entries)
                if (entry.path == path)
                    movedBytes += entry.byteCount;
    }
    if (moved == 0) {
        setStatus(L("没有完成", "Not Completed"),
                  L("选中的安装包没有移动成功。", "The selected installer files could not be moved."));
        return;
    }
    std::vector<InstallerPreviewReport::Entry> remaining;
    if (m_installerPreviewReport)
        for (const InstallerPreviewReport::Entry& entry : m_installerPreviewReport->entries)
            if (!movedPaths.contains(entry.path))
                remaining.push_back(entry);
    m_installerPreviewReport = InstallerPreviewReport(std::move(remaining), QDateTime::currentDateTimeUtc());
    emit installerPreviewReportChanged();
    storeStatistic(&Statistics::lastInstallerScanDate, Keys::lastInstallerScanDate, nowInSeconds());
    storeStatistic(&Statistics::lastInstallerCleanedCount, Keys::lastInstallerCleanedCount, moved);
    storeStatistic(&Statistics::lastInstallerCleanedBytes, Keys::lastInstallerCleanedBytes, movedBytes);
    setStatus(L("已移到废纸篓", "Moved to Trash"),
              failed > 0 ? L("已移动 %1 个安装包，%2 个没有成功。", "Moved %1 installer files. %2 failed.")
                               .arg(moved)
                               .arg(failed)
                         : L("已移动 %1 个安装包。", "Moved %1 installer files.").arg(moved));
}

void AppModel::uninstallSelectedApps(const QStringList& ids)
{
    if (ids.isEmpty()) {
        setAlertMessage(L("请先选择要处理的应用。", "Choose the apps you want to process first."));
        return;
    }
    setRunning(true, AppFeature::uninstall);
    setStatus(L("正在卸载应用", "Uninstalling Apps"),
              L("正在处理选中的应用，请稍等。", "Processing the selected apps, please wait."));
    // A path listed by two selected apps (a shared leftover) is handled once.
    QStringList paths;
    QSet<QString> selected(ids.begin(), ids.end());
    if (m_uninstallPreviewReport)
        for (const UninstallPreviewReport::Entry& entry : m_uninstallPreviewReport->entries)
            if (selected.contains(entry.id))
                for (const QString& path : QStringList{entry.path} + entry.leftoverPaths)
                    if (!paths.contains(path))
                        paths.append(path);
    qint64 processed = 0;
    qint64 failed = 0;
    QSet<QString> gone;
    for (const QString& path : paths) {
        if (!ScanPathGuard::isTrashAllowed(path, m_environment.home) || !tryTrash(path)) {
            ++failed;
            continue;
        }
        ++processed;
        gone.insert(path);
    }
    if (m_uninstallPreviewReport) {
        std::vector<UninstallPreviewReport::Entry> remaining;
        for (const UninstallPreviewReport::Entry& entry : m_uninstallPreviewReport->entries)
            if (!gone.contains(entry.path))
                remaining.push_back(entry);
        m_uninstallPreviewReport = UninstallPreviewReport(std::move(remaining));
        emit uninstallPreviewReportChanged();
    }
    if (processed == 0) {
        setStatus(L("没有完成", "Not Completed"),
                  L("选中的应用没有处理成功。", "The selected apps could not be processed."));
    } else {
        storeStatistic(&Statistics::lastUninstallDate, Keys::lastUninstallDate, nowInSeconds());
        storeStatistic(&Statistics::lastUninstallCount, Keys::lastUninstallCount, processed);
        setStatus(L("卸载完成", "Uninstall Complete"),
                  failed > 0
                      ? L("已处理 %1 个应用项目，%2 个没有成功。", "Processed %1 app items. %2 failed.")
                            .arg(processed)
                            .arg(failed)
                      : L("已处理 %1 个应用项目。", "Processed %1 app items.").arg(processed));
    }
    setRunning(false, std::nullopt);
}
