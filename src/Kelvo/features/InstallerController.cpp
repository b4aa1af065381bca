#include "features/InstallerController.h"

#include "app/AppModelSupport.h"
#include "app/LocalizationSettings.h"
#include "app/TrashMoves.h"

#include "installer/InstallerPreviewService.h"
#include "vocabulary/ByteCount.h"

#include <QHash>

#include <algorithm>

using namespace AppModelSupport;

InstallerController::InstallerController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &InstallerController::sourcesChanged);
}

LocalInstallerPreview::Places InstallerController::places() const
{
    return m_context.environment.installerPlaces.value_or(
        LocalInstallerPreview::systemPlaces(m_context.environment.target.system));
}

void InstallerController::lookAtScanLocations()
{
    m_scanLocations.setLocations(
        LocalInstallerPreview::availableScanLocations(m_context.environment.home, places()));
}

bool InstallerController::linuxDesktop() const
{
    return places().system == TargetSystem::linuxDesktop;
}

QStringList InstallerController::fileTypes() const
{
    return LocalInstallerPreview::fileTypes(places().system);
}

void InstallerController::setReport(std::optional<InstallerPreviewReport> report)
{
    m_report = std::move(report);
    m_entries.setEntries(m_report ? m_report->entries : std::vector<InstallerPreviewReport::Entry>());
    keepFilterListed();
    emit reportChanged();
    emit sourcesChanged();
}

void InstallerController::keepFilterListed()
{
    // A filter on a place the report no longer lists would hide everything.
    const bool listed =
        m_report && std::any_of(m_report->entries.begin(), m_report->entries.end(),
                                [&](const auto& entry) { return entry.location == m_filterLocation; });
    if (!listed && !m_filterLocation.isEmpty()) {
        m_filterLocation.clear();
        m_shownEntries.show(m_filterLocation, m_sortBySize);
        emit sourcesChanged();
    }
}

QStringList InstallerController::sources() const
{
    // One name per place, as its first installer reads it now.
    QStringList locations;
    QStringList names;
    if (m_report)
        for (const InstallerPreviewReport::Entry& entry : m_report->entries)
            if (!locations.contains(entry.location)) {
                locations.append(entry.location);
                names.append(entry.source.text());
            }
    return names;
}

QString InstallerController::sourceFilter() const
{
    if (m_report && !m_filterLocation.isEmpty())
        for (const InstallerPreviewReport::Entry& entry : m_report->entries)
            if (entry.location == m_filterLocation)
                return entry.source.text();
    return {};
}

void InstallerController::setSourceFilter(const QString& source)
{
    // The place is kept rather than its name, which follows the language.
    QString location;
    if (m_report && !source.isEmpty())
        for (const InstallerPreviewReport::Entry& entry : m_report->entries)
            if (entry.source.text() == source) {
                location = entry.location;
                break;
            }
    if (location == m_filterLocation)
        return;
    m_filterLocation = location;
    m_shownEntries.show(m_filterLocation, m_sortBySize);
    emit sourcesChanged();
}

void InstallerController::setSortBySize(bool bySize)
{
    if (bySize == m_sortBySize)
        return;
    m_sortBySize = bySize;
    m_shownEntries.show(m_filterLocation, m_sortBySize);
    emit sortBySizeChanged();
}

QFuture<void> InstallerController::scan()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::installer, AppFeature::installer, true);
    auto work = InstallerPreviewService::snapshot(m_context.environment.home, places(), {}, run->cancelled);
    return runs.finish(
        run, std::move(work), both("扫描已取消", "Scan Cancelled"), [this](InstallerPreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QString total = report.totalSizeText();
            setReport(std::move(report));
            m_context.runs.setStatus(
                both("安装包预览完成", "Installer Preview Complete"),
                count > 0 ? both("发现 %1 个安装包，合计 %2。", "Found %1 installer files, total %2.")
                                .arg(count)
                                .arg(total)
                          : both("没有发现明显可整理的安装包。", "No obvious installer files were found."));
        });
}

void InstallerController::moveToTrash(const QStringList& paths)
{
    if (paths.isEmpty()) {
        m_context.runs.setAlertMessage(
            both("请先选择要清理的安装包。", "Choose the installer files you want to clean up first."));
        return;
    }
    if (m_context.actingRefused())
        return;
    // What the scan recorded for each listed path, looked up once per batch; a path it did not list
    // has no identity and is refused.
    QHash<QString, std::optional<FileIdentity>> listed;
    if (m_report)
        for (const InstallerPreviewReport::Entry& entry : m_report->entries)
            listed.insert(entry.path, entry.identity);
    std::vector<TrashMoves::Item> items;
    for (const QString& path : paths)
        items.push_back({path, listed.value(path)});
    // No page shows progress for this batch; the window reads as running so no other run starts.
    TrashMoves::inBackground(
        m_context, this, RunKind::installerTrash, std::nullopt, std::move(items),
        [this](const TrashMoves::Batch& batch) {
            qint64 movedBytes = 0;
            if (!batch.moved.isEmpty()) {
                if (m_report)
                    std::erase_if(m_report->entries, [&](const InstallerPreviewReport::Entry& entry) {
                        const bool moved = batch.moved.contains(entry.path);
                        movedBytes = ByteCount::saturatingAdd(movedBytes, moved ? entry.byteCount : 0);
                        return moved;
                    });
                m_entries.removeKeys(batch.moved);
                keepFilterListed();
                emit sourcesChanged();
                Statistics& statistics = m_context.statistics;
                statistics.recordNow(StatisticKey::lastInstallerScanDate);
                statistics.record(StatisticKey::lastInstallerCleanedCount, batch.moved.size());
                statistics.record(StatisticKey::lastInstallerCleanedBytes, movedBytes);
            }
            TrashMoves::sayHowItWent(
                m_context.runs, batch,
                {both("选中的安装包没有移动成功。", "The selected installer files could not be moved."),
                 both("已移到废纸篓", "Moved to Trash"),
                 both("已把 1 个安装包移到废纸篓", "Moved 1 installer file to the Trash"),
                 both("已把 %1 个安装包移到废纸篓", "Moved %1 installer files to the Trash")},
                movedBytes);
        });
}
