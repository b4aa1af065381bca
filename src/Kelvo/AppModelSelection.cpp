// The controller's installer cleanup and app uninstall: scans, then moves of what the user selected.
#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"

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
        list.append(QVariantMap{{QStringLiteral("path"), location.path},
                                {QStringLiteral("source"), location.source},
                                {QStringLiteral("exists"), location.exists}});
    return list;
}

void AppModel::setInstallerPreviewReport(std::optional<InstallerPreviewReport> report)
{
    m_installerPreviewReport = std::move(report);
    emit installerPreviewReportChanged();
}

void AppModel::setUninstallPreviewReport(std::optional<UninstallPreviewReport> report)
{
    m_uninstallPreviewReport = std::move(report);
    emit uninstallPreviewReportChanged();
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
            {QStringLiteral("leftovers"), leftoverList(entry.leftovers)},
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
    return publishUnlessCancelled(run, "扫描已取消", "Scan Cancelled", [this](InstallerPreviewReport report) {
        const qsizetype count = qsizetype(report.entries.size());
        const QString total = report.totalSizeText();
        setInstallerPreviewReport(std::move(report));
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
    return publishUnlessCancelled(run, "扫描已取消", "Scan Cancelled", [this](UninstallPreviewReport report) {
        const qsizetype count = qsizetype(report.entries.size());
        setUninstallPreviewReport(std::move(report));
        setStatus(L("预览卸载项目完成", "Uninstall Preview Complete"),
                  count > 0 ? L("找到 %1 个可查看的应用项目。", "Found %1 app items to review.").arg(count)
                            : L("当前没有可显示的应用项目。", "There are no app items to show right now."));
    });
}

void AppModel::trashInBackground(std::vector<TrashItem> items, std::optional<AppFeature> feature,
                                 std::function<void(TrashBatch)> finish)
{
    setRunning(true, feature);
    // The running flags are cleared on every path, a failed batch included.
    const auto done = [this] { setRunning(false, std::nullopt); };
    QtConcurrent::run([items = std::move(items), home = m_environment.home] { return trashAll(items, home); })
        .then(this,
              [this, finish = std::move(finish)](const TrashBatch& batch) {
                  // What did not go is said, with why, before the summary line.
                  if (batch.failed > 0)
                      setAlertMessage(FileRemover::leftBehindText(batch.failed, batch.left));
                  finish(batch);
              })
        .then(this, done)
        .onFailed(this, done);
}

void AppModel::moveInstallersToTrash(const QStringList& paths)
{
    if (m_isRunning)
        return; // one run at a time; the page offers no move meanwhile
    if (paths.isEmpty()) {
        setAlertMessage(
            L("请先选择要清理的安装包。", "Choose the installer files you want to clean up first."));
        return;
    }
    if (homeRefused())
        return;
    // Each file goes with what the scan saw of it; one the scan did not list is refused by the guard.
    std::vector<TrashItem> items;
    for (const QString& path : paths) {
        std::optional<FileIdentity> identity;
        if (m_installerPreviewReport)
            for (const InstallerPreviewReport::Entry& entry : m_installerPreviewReport->entries)
                if (entry.path == path)
                    identity = entry.identity;
        items.push_back({path, identity});
    }
    // No page shows progress for this batch; the controller reads as running so no other run starts.
    trashInBackground(std::move(items), std::nullopt, [this](const TrashBatch& batch) {
        const qint64 moved = batch.moved.size();
        if (moved == 0) {
            setStatus(L("没有完成", "Not Completed"),
                      L("选中的安装包没有移动成功。", "The selected installer files could not be moved."));
            return;
        }
        qint64 movedBytes = 0;
        std::vector<InstallerPreviewReport::Entry> remaining;
        if (m_installerPreviewReport)
            for (const InstallerPreviewReport::Entry& entry : m_installerPreviewReport->entries) {
                if (batch.moved.contains(entry.path))
                    movedBytes += entry.byteCount;
                else
                    remaining.push_back(entry);
            }
        setInstallerPreviewReport(
            InstallerPreviewReport(std::move(remaining), QDateTime::currentDateTimeUtc()));
        storeStatistic(&Statistics::lastInstallerScanDate, Keys::lastInstallerScanDate, nowInSeconds());
        storeStatistic(&Statistics::lastInstallerCleanedCount, Keys::lastInstallerCleanedCount, moved);
        storeStatistic(&Statistics::lastInstallerCleanedBytes, Keys::lastInstallerCleanedBytes, movedBytes);
        setStatus(L("已移到废纸篓", "Moved to Trash"),
                  batch.failed > 0
                      ? L("已移动 %1 个安装包，%2 个没有成功。", "Moved %1 installer files. %2 failed.")
                            .arg(moved)
                            .arg(batch.failed)
                      : L("已移动 %1 个安装包。", "Moved %1 installer files.").arg(moved));
    });
}

void AppModel::uninstallSelectedApps(const QStringList& ids, const QStringList& leftoverPaths)
{
    if (m_isRunning)
        return; // one run at a time; the page offers no uninstall meanwhile
    if (ids.isEmpty()) {
        setAlertMessage(L("请先选择要处理的应用。", "Choose the apps you want to process first."));
        return;
    }
    if (homeRefused())
        return;
    setStatus(L("正在卸载应用", "Uninstalling Apps"),
              L("正在处理选中的应用，请稍等。", "Processing the selected apps, please wait."));
    // A path listed by two selected apps (a shared leftover) is handled once.
    std::vector<TrashItem> items;
    QSet<QString> listed;
    const QSet<QString> selected(ids.begin(), ids.end());
    const QSet<QString> chosenLeftovers(leftoverPaths.begin(), leftoverPaths.end());
    const auto add = [&](const QString& path, const std::optional<FileIdentity>& identity) {
        if (!listed.contains(path)) {
            listed.insert(path);
            items.push_back({path, identity});
        }
    };
    if (m_uninstallPreviewReport)
        for (const UninstallPreviewReport::Entry& entry : m_uninstallPreviewReport->entries) {
            if (!selected.contains(entry.id))
                continue;
            add(entry.path, entry.identity);
            for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
                if (chosenLeftovers.contains(leftover.path))
                    add(leftover.path, leftover.identity);
        }
    trashInBackground(std::move(items), AppFeature::uninstall, [this](const TrashBatch& batch) {
        if (m_uninstallPreviewReport) {
            std::vector<UninstallPreviewReport::Entry> remaining;
            for (const UninstallPreviewReport::Entry& entry : m_uninstallPreviewReport->entries)
                if (!batch.moved.contains(entry.path))
                    remaining.push_back(entry);
            setUninstallPreviewReport(UninstallPreviewReport(std::move(remaining)));
        }
        const qint64 processed = batch.moved.size();
        if (processed == 0) {
            setStatus(L("没有完成", "Not Completed"),
                      L("选中的应用没有处理成功。", "The selected apps could not be processed."));
            return;
        }
        storeStatistic(&Statistics::lastUninstallDate, Keys::lastUninstallDate, nowInSeconds());
        storeStatistic(&Statistics::lastUninstallCount, Keys::lastUninstallCount, processed);
        setStatus(L("卸载完成", "Uninstall Complete"),
                  batch.failed > 0
                      ? L("已处理 %1 个应用项目，%2 个没有成功。", "Processed %1 app items. %2 failed.")
                            .arg(processed)
                            .arg(batch.failed)
                      : L("已处理 %1 个应用项目。", "Processed %1 app items.").arg(processed));
    });
}
