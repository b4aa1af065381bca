#include "features/InstallerController.h"

#include "app/AppModelSupport.h"
#include "app/LocalizationSettings.h"
#include "app/TrashMoves.h"

#include "installer/InstallerPreviewService.h"
#include "vocabulary/NaturalOrder.h"

#include <QHash>

#include <algorithm>

using namespace AppModelSupport;

namespace {

QVariantMap rowOf(const InstallerPreviewReport::Entry& entry)
{
    return {{QStringLiteral("path"), entry.path},           {QStringLiteral("name"), entry.name},
            {QStringLiteral("source"), entry.source},       {QStringLiteral("kind"), entry.kindText},
            {QStringLiteral("byteCount"), entry.byteCount}, {QStringLiteral("sizeText"), entry.sizeText()}};
}

} // namespace

InstallerController::InstallerController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &InstallerController::scanLocationsChanged);
}

LocalInstallerPreview::Places InstallerController::places() const
{
    return m_context.environment.installerPlaces.value_or(
        LocalInstallerPreview::systemPlaces(m_context.environment.target.system));
}

QVariantList InstallerController::scanLocations() const
{
    QVariantList list;
    for (const LocalInstallerPreview::ScanLocation& location :
         LocalInstallerPreview::availableScanLocations(m_context.environment.home, places()))
        list.append(QVariantMap{{QStringLiteral("path"), location.path},
                                {QStringLiteral("source"), location.source},
                                {QStringLiteral("exists"), location.exists}});
    return list;
}

bool InstallerController::linuxDesktop() const
{
    return places().system == TargetSystem::linuxDesktop;
}

QStringList InstallerController::fileTypes() const
{
    return LocalInstallerPreview::fileTypes(places().system);
}

QVariant InstallerController::reportValue() const
{
    if (!m_report)
        return {};
    QVariantList entries;
    QStringList sources;
    for (const InstallerPreviewReport::Entry& entry : m_report->entries) {
        if (!sources.contains(entry.source))
            sources.append(entry.source);
        entries.append(rowOf(entry));
    }
    return QVariantMap{{QStringLiteral("entryCount"), int(entries.size())},
                       {QStringLiteral("totalBytes"), m_report->totalBytes()},
                       {QStringLiteral("totalSizeText"), m_report->totalSizeText()},
                       {QStringLiteral("sources"), sources},
                       {QStringLiteral("entries"), entries}};
}

void InstallerController::setReport(std::optional<InstallerPreviewReport> report)
{
    m_report = std::move(report);
    // A filter on a place the new report no longer lists would hide everything.
    const bool sourceListed =
        m_report && std::any_of(m_report->entries.begin(), m_report->entries.end(),
                                [&](const auto& entry) { return entry.source == m_sourceFilter; });
    if (!sourceListed)
        m_sourceFilter.clear();
    updateShownEntries();
    emit reportChanged();
}

void InstallerController::setSourceFilter(const QString& source)
{
    if (source == m_sourceFilter)
        return;
    m_sourceFilter = source;
    updateShownEntries();
}

void InstallerController::setSortBySize(bool bySize)
{
    if (bySize == m_sortBySize)
        return;
    m_sortBySize = bySize;
    updateShownEntries();
}

void InstallerController::updateShownEntries()
{
    // The report is largest first already; by name is the natural order, the path breaking ties.
    std::vector<const InstallerPreviewReport::Entry*> shown;
    if (m_report)
        for (const InstallerPreviewReport::Entry& entry : m_report->entries)
            if (m_sourceFilter.isEmpty() || entry.source == m_sourceFilter)
                shown.push_back(&entry);
    if (!m_sortBySize)
        std::stable_sort(shown.begin(), shown.end(), [](const auto* a, const auto* b) {
            const int byName = NaturalOrder::compare(a->name, b->name);
            return byName != 0 ? byName < 0 : NaturalOrder::lessThan(a->path, b->path);
        });
    QList<QVariantMap> rows;
    rows.reserve(qsizetype(shown.size()));
    for (const InstallerPreviewReport::Entry* entry : shown)
        rows.append(rowOf(*entry));
    m_shownEntries.setRows(std::move(rows));
    emit shownEntriesChanged();
}

QFuture<void> InstallerController::scan()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run =
        runs.begin(QStringLiteral("installer"), AppFeature::installer, true);
    auto work = InstallerPreviewService::snapshot(m_context.environment.home, places(), {}, run->cancelled);
    return runs.finish(
        run, std::move(work), L("扫描已取消", "Scan Cancelled"), [this](InstallerPreviewReport report) {
            const qsizetype count = qsizetype(report.entries.size());
            const QString total = report.totalSizeText();
            setReport(std::move(report));
            m_context.runs.setStatus(
                L("安装包预览完成", "Installer Preview Complete"),
                count > 0 ? L("发现 %1 个安装包，合计 %2。", "Found %1 installer files, total %2.")
                                .arg(count)
                                .arg(total)
                          : L("没有发现明显可整理的安装包。", "No obvious installer files were found."));
        });
}

void InstallerController::moveToTrash(const QStringList& paths)
{
    if (paths.isEmpty()) {
        m_context.runs.setAlertMessage(
            L("请先选择要清理的安装包。", "Choose the installer files you want to clean up first."));
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
        m_context, this, QStringLiteral("installer-trash"), std::nullopt, std::move(items),
        [this](const TrashMoves::Batch& batch) {
            if (!batch.moved.isEmpty()) {
                qint64 movedBytes = 0;
                std::vector<InstallerPreviewReport::Entry> remaining;
                if (m_report)
                    for (const InstallerPreviewReport::Entry& entry : m_report->entries) {
                        if (batch.moved.contains(entry.path))
                            movedBytes += entry.byteCount;
                        else
                            remaining.push_back(entry);
                    }
                setReport(InstallerPreviewReport(std::move(remaining), QDateTime::currentDateTimeUtc()));
                Statistics& statistics = m_context.statistics;
                statistics.recordNow("lastInstallerScanDate");
                statistics.record("lastInstallerCleanedCount", batch.moved.size());
                statistics.record("lastInstallerCleanedBytes", movedBytes);
            }
            TrashMoves::sayHowItWent(
                m_context.runs, batch,
                {L("选中的安装包没有移动成功。", "The selected installer files could not be moved."),
                 L("已移到废纸篓", "Moved to Trash"), L("已移动 %1 个安装包。", "Moved %1 installer files."),
                 L("已移动 %1 个安装包，%2 个没有成功。", "Moved %1 installer files. %2 failed.")});
        });
}
