#include "features/AnalysisController.h"

#include "app/AppModelSupport.h"
#include "app/LocalizationSettings.h"
#include "app/TrashMoves.h"
#include "features/AnalysisReportPresenter.h"

#include "analysis/LocalAnalysis.h"
#include "analysis/NcduExport.h"
#include "analysis/NcduExportText.h"
#include "analysis/StorageViews.h"
#include "platform/Desktop.h"
#include "platform/FileErrorText.h"
#include "vocabulary/BackgroundRun.h"
#include "vocabulary/PathText.h"

#include <QFile>
#include <QFileInfo>

using namespace AppModelSupport;

namespace {

// A folder's items listed in another order than by size: enough to find any, never a hundred thousand rows.
constexpr std::size_t mostSortedRows = 500;

// What each type of file takes below the folder, with the types' names in the language of the moment.
QVariantList typeTotalsOf(const StorageTree& tree, StorageTree::Index folder)
{
    QVariantList totals;
    const qint64 whole = tree.node(folder).apparent;
    for (const StorageViews::TypeTotal& total : StorageViews::sizesByType(tree, folder))
        totals << QVariantMap{
            {QStringLiteral("name"), AnalysisReportPresenter::typeName(total.type)},
            {QStringLiteral("bytes"), total.bytes},
            {QStringLiteral("files"), total.files},
            {QStringLiteral("share"), whole > 0 ? double(total.bytes) / double(whole) : 0.0}};
    return totals;
}

// The Library folder where the system keeps one (macOS), else the home folder itself.
QString defaultFolder(const QString& home)
{
    const QString library = home + QStringLiteral("/Library");
    return QFileInfo(library).isDir() ? library : home;
}

} // namespace

AnalysisController::AnalysisController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_path(defaultFolder(context.environment.home))
    , m_folder(QFile::encodeName(m_path))
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &AnalysisController::leftOutNoteChanged);
    // The type names and the treemap's tooltips are texts of the moment.
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this, [this] {
        if (m_walked)
            show(m_shown);
    });
}

void AnalysisController::setPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_folder = QFile::encodeName(path);
    emit pathChanged();
}

void AnalysisController::setCountEverything(bool countEverything)
{
    if (countEverything == m_countEverything)
        return;
    m_countEverything = countEverything;
    emit countEverythingChanged();
    if (m_report)
        emit analysisRequested(m_path);
}

QString AnalysisController::reportPath() const
{
    return m_report ? AnalysisReportPresenter::shownPath(*m_report) : QString();
}

QString AnalysisController::leftOutNote() const
{
    return m_report ? AnalysisReportPresenter::leftOutNote(*m_report) : QString();
}

void AnalysisController::setReport(std::optional<AnalysisReport> report)
{
    m_report = std::move(report);
    static const AnalysisReport none;
    const AnalysisReport& shown = m_report ? *m_report : none;
    m_entries.setEntries(shown.entries, shown.totalSize.value_or(0));
    m_largeFiles.setEntries(shown.largeFiles, shown.totalSize.value_or(0));
    emit reportChanged();
    emit leftOutNoteChanged();
}

QFuture<void> AnalysisController::refresh()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::analysis, AppFeature::analyze, true);
    const QString path = m_path;
    auto work = BackgroundRun::start(run->cancelled, [folder = m_folder, home = m_context.environment.home,
                                                      countEverything = m_countEverything,
                                                      system = m_context.environment.target.system,
                                                      relay = run->relay](const std::atomic_bool* cancelled) {
        LocalAnalysis::Options options;
        options.system = system;
        options.cancelled = cancelled;
        options.countEverything = countEverything;
        options.onProgress = [&relay](const LocalAnalysis::Progress& progress) {
            relay->post(progress.folder, progress.items, progress.bytes);
        };
        return std::make_shared<StorageWalk::Result>(
            StorageWalk::walk(folder, LocalAnalysis::walkOptions(home, options)));
    });
    return runs.finish(run, std::move(work), both("分析已取消", "Analysis Cancelled"),
                       [this, path](std::shared_ptr<StorageWalk::Result> walked) {
                           setWalked(std::move(walked));
                           Statistics& statistics = m_context.statistics;
                           statistics.recordNow(StatisticKey::lastAnalysisDate);
                           statistics.record(StatisticKey::lastAnalysisPath, path);
                           statistics.record(StatisticKey::lastAnalysisTotalSize, totalSize());
                           statistics.record(StatisticKey::lastAnalysisTotalFiles, totalFiles());
                           m_context.runs.setStatus(
                               both("空间分析完成", "Storage Analysis Complete"),
                               both("下面列出了最占空间的文件和文件夹。",
                                    "Below are the files and folders using the most space."));
                       });
}

void AnalysisController::importScan(const QUrl& file)
{
    const QString path = file.toLocalFile();
    if (path.isEmpty())
        return;
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::analysis, AppFeature::analyze, true);
    auto work =
        BackgroundRun::start(run->cancelled, [path, relay = run->relay](const std::atomic_bool* cancelled) {
            QFile input(path);
            if (!input.open(QIODevice::ReadOnly))
                return std::variant<std::shared_ptr<StorageWalk::Result>, QString>(
                    FileErrorText::cannotRead(path, input.error()));
            NcduExport::ReadOptions options;
            options.cancelled = cancelled;
            options.progress = [&](std::size_t items) { relay->post(path, qint64(items), 0); };
            std::variant<StorageTree, QString> read = NcduExport::read(input, options);
            if (QString* message = std::get_if<QString>(&read))
                return std::variant<std::shared_ptr<StorageWalk::Result>, QString>(*message);
            return std::variant<std::shared_ptr<StorageWalk::Result>, QString>(
                std::make_shared<StorageWalk::Result>(
                    LocalAnalysis::imported(std::move(std::get<StorageTree>(read)))));
        });
    runs.finish(run, std::move(work), both("导入已取消", "Import Cancelled"),
                [this](std::variant<std::shared_ptr<StorageWalk::Result>, QString> read) {
                    if (const QString* message = std::get_if<QString>(&read)) {
                        m_context.runs.setAlertMessage(LocalText::same(*message));
                        return;
                    }
                    setWalked(std::move(std::get<std::shared_ptr<StorageWalk::Result>>(read)));
                    m_context.runs.setStatus(
                        both("扫描已导入", "Scan Imported"),
                        both("这是另一台机器或另一个程序的扫描：只能查看，不能移到废纸篓。",
                             "A scan made elsewhere: it can be explored, not moved to the Trash."));
                });
}

void AnalysisController::setWalked(std::shared_ptr<StorageWalk::Result> walked)
{
    m_walked = std::move(walked);
    show(m_walked ? m_walked->tree.root() : StorageTree::none);
}

void AnalysisController::show(StorageTree::Index folder)
{
    m_shown = folder;
    if (!m_walked || folder == StorageTree::none) {
        m_treemap.show(nullptr, StorageTree::none, 0, 0);
        m_typeTotals.clear();
        setReport(std::nullopt);
        return;
    }
    AnalysisReport report = LocalAnalysis::reportOf(*m_walked, folder, m_largeFileFloor);
    const StorageTree& tree = m_walked->tree;
    if (m_sortKey != u"size") {
        const StorageViews::SortKey key = m_sortKey == u"name"    ? StorageViews::SortKey::name
                                          : m_sortKey == u"items" ? StorageViews::SortKey::items
                                                                  : StorageViews::SortKey::modified;
        report.entries.clear();
        for (const StorageTree::Index child : StorageViews::sortedChildren(tree, folder, key)) {
            if (report.entries.size() == mostSortedRows)
                break;
            report.entries.push_back(LocalAnalysis::entryOf(tree, child));
        }
    }
    const StorageViews::OldFiles old = StorageViews::oldFiles(tree, folder, QDateTime::currentDateTime(),
                                                              m_oldMonths, LocalAnalysis::listLimit);
    std::vector<AnalysisReport::Entry> oldEntries;
    for (const StorageTree::Index file : old.files)
        oldEntries.push_back(LocalAnalysis::entryOf(tree, file));
    m_oldFiles.setEntries(oldEntries, report.totalSize.value_or(0));
    m_oldFilesBytes = old.bytes;
    m_oldFilesCount = old.count;
    m_typeTotals = typeTotalsOf(tree, folder);
    m_folder = m_walked->tree.path(folder);
    m_path = PathText::shown(m_folder);
    emit pathChanged();
    m_treemap.show(&m_walked->tree, folder, m_treemapWidth, m_treemapHeight);
    setReport(std::move(report));
}

void AnalysisController::layoutTreemap(qreal width, qreal height)
{
    m_treemapWidth = width;
    m_treemapHeight = height;
    m_treemap.show(m_walked ? &m_walked->tree : nullptr, m_shown, width, height);
}

QStringList AnalysisController::crumbs() const
{
    QStringList names;
    if (!m_walked || m_shown == StorageTree::none)
        return names;
    const StorageTree& tree = m_walked->tree;
    for (StorageTree::Index at = m_shown; at != StorageTree::none; at = tree.node(at).parent)
        names.prepend(at == tree.root() ? PathText::shown(tree.origin.rootPath)
                                        : PathText::shown(tree.name(at).toByteArray()));
    return names;
}

void AnalysisController::openCrumb(int depth)
{
    if (!m_walked || m_shown == StorageTree::none)
        return;
    std::vector<StorageTree::Index> chain;
    for (StorageTree::Index at = m_shown; at != StorageTree::none; at = m_walked->tree.node(at).parent)
        chain.insert(chain.begin(), at);
    if (depth >= 0 && depth < int(chain.size()))
        show(chain[std::size_t(depth)]);
}

QString AnalysisController::originNote() const
{
    if (!m_walked || !m_walked->tree.origin.imported)
        return {};
    return L("导入的扫描，由 %1 生成；只能查看。", "Imported scan made by %1; it can only be explored.")
        .arg(NcduExportText::madeBy(m_walked->tree.origin));
}

void AnalysisController::setSortKey(const QString& key)
{
    if (key == m_sortKey)
        return;
    m_sortKey = key;
    show(m_shown);
}

void AnalysisController::setLargeFileFloor(qint64 bytes)
{
    if (bytes == m_largeFileFloor)
        return;
    m_largeFileFloor = bytes;
    show(m_shown);
}

void AnalysisController::setOldMonths(int months)
{
    if (months == m_oldMonths || months <= 0)
        return;
    m_oldMonths = months;
    show(m_shown);
}

StorageTree::Index AnalysisController::indexOfKey(const QString& key) const
{
    if (!m_walked)
        return StorageTree::none;
    const StorageTree& tree = m_walked->tree;
    const QByteArray bytes = AnalysisReportPresenter::bytesOfKey(key);
    const QByteArray& root = tree.origin.rootPath;
    if (bytes == root)
        return tree.root();
    if (!PathText::isAtOrBelow(bytes, root))
        return StorageTree::none;
    return tree.find(tree.root(), bytes.mid(root.size()));
}

void AnalysisController::analyze(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    // A folder of the tree in memory is shown at once; any other is walked.
    const QByteArray bytes = PathText::standardized(QFile::encodeName(trimmed));
    const StorageTree::Index inTree = indexOfKey(AnalysisReportPresenter::keyOfPath(bytes));
    // The folder shown is walked again: that is what analysing it once more asks for.
    if (inTree != StorageTree::none && inTree != m_shown && m_walked->tree.node(inTree).isFolder() &&
        !m_walked->tree.origin.imported)
        show(inTree);
    else
        analyzeFolder(bytes);
}

void AnalysisController::analyzeFolder(const QByteArray& folder)
{
    m_folder = folder;
    m_path = PathText::shown(folder);
    emit pathChanged();
    emit analysisRequested(m_path);
}

void AnalysisController::analyzeParent()
{
    if (m_walked && m_shown != StorageTree::none && m_shown != m_walked->tree.root()) {
        show(m_walked->tree.node(m_shown).parent);
        return;
    }
    if (m_walked && m_walked->tree.origin.imported)
        return;
    analyzeFolder(PathText::standardized(PathText::joined(m_folder, "..")));
}

void AnalysisController::choosePath(const QUrl& folder)
{
    analyze(folder.toLocalFile());
}

const AnalysisReport::Entry* AnalysisController::listed(const QByteArray& bytes) const
{
    if (m_report)
        for (const auto* list : {&m_report->entries, &m_report->largeFiles})
            for (const AnalysisReport::Entry& entry : *list)
                if (entry.bytes() == bytes)
                    return &entry;
    return nullptr;
}

std::optional<ConfinedPath::Reached> AnalysisController::reachListed(const QString& key)
{
    const QByteArray bytes = AnalysisReportPresenter::bytesOfKey(key);
    const AnalysisReport::Entry* entry = listed(bytes);
    std::variant<ConfinedPath::Reached, QString> reached =
        entry ? LocalAnalysis::reachListed(*m_report, *entry)
              : std::variant<ConfinedPath::Reached, QString>(
                    FileErrorText::changedSinceScan(PathText::shown(bytes)));
    if (QString* problem = std::get_if<QString>(&reached)) {
        m_context.runs.setAlertMessage(LocalText::same(*problem));
        return std::nullopt;
    }
    return std::move(std::get<ConfinedPath::Reached>(reached));
}

void AnalysisController::analyzeItem(const QString& key)
{
    if (const StorageTree::Index inTree = indexOfKey(key); inTree != StorageTree::none) {
        if (m_walked->tree.node(inTree).isFolder())
            show(inTree);
        return;
    }
    if (const std::optional<ConfinedPath::Reached> item = reachListed(key)) {
        if (item->facts().isFolder())
            analyzeFolder(AnalysisReportPresenter::bytesOfKey(key));
    }
}

void AnalysisController::revealItem(const QString& key)
{
    if (!canAct())
        return;
    if (const std::optional<ConfinedPath::Reached> item = reachListed(key))
        Desktop::reveal(*item);
}

void AnalysisController::moveToTrash(const QString& key)
{
    const QByteArray bytes = AnalysisReportPresenter::bytesOfKey(key);
    if (bytes.isEmpty() || !canAct())
        return;
    // Any item of the tree may go (a treemap tile's too), as the item it was when it was walked.
    const AnalysisReport::Entry* entry = listed(bytes);
    std::optional<FileIdentity> identity = entry ? entry->identity : std::nullopt;
    if (const StorageTree::Index inTree = indexOfKey(key); !identity && inTree != StorageTree::none)
        identity = FileIdentity{m_walked->tree.origin.device, m_walked->tree.node(inTree).inode};
    TrashMoves::inBackground(m_context, this, RunKind::analysisTrash, AppFeature::analyze,
                             {{PathText::shown(bytes), identity, bytes}},
                             [this, bytes](const TrashMoves::Batch& batch) {
                                 if (batch.moved.isEmpty())
                                     return;
                                 forget(bytes);
                                 m_context.runs.setStatus(both("已移到废纸篓", "Moved to Trash"),
                                                          both("选中的项目已放入废纸篓。",
                                                               "The selected item has been moved to Trash."));
                             });
}

// The item leaves the tree, and every folder above it shrinks by what it took; the folder shown and
// the last-run line follow.
void AnalysisController::forget(const QByteArray& path)
{
    const StorageTree::Index moved = indexOfKey(AnalysisReportPresenter::keyOfPath(path));
    if (moved == StorageTree::none)
        return;
    const StorageTree::Node& node = m_walked->tree.node(moved);
    const qint64 files = node.isFolder() ? StorageViews::filesBelow(m_walked->tree, moved)
                         : node.kind == StorageTree::Kind::file ? 1
                                                                : 0;
    m_walked->files = std::max<qint64>(0, m_walked->files - files);
    m_walked->tree.remove(moved);
    StorageTree::Index shown = m_shown;
    // A folder shown that was moved (or lay inside what was) gives way to the nearest one left.
    for (StorageTree::Index at = m_shown; at != StorageTree::none; at = m_walked->tree.node(at).parent)
        if (m_walked->tree.node(at).has(StorageTree::gone))
            shown = m_walked->tree.node(at).parent;
    show(shown);
    const StorageTree::Node& root = m_walked->tree.node(m_walked->tree.root());
    m_context.statistics.record(StatisticKey::lastAnalysisTotalSize, root.apparent);
    m_context.statistics.record(StatisticKey::lastAnalysisTotalFiles, m_walked->files);
}
