#include "features/AnalysisController.h"

#include "app/AppModelSupport.h"
#include "app/LocalizationSettings.h"
#include "app/TrashMoves.h"
#include "features/AnalysisReportPresenter.h"

#include "analysis/LocalAnalysis.h"
#include "platform/Desktop.h"
#include "platform/FileErrorText.h"
#include "vocabulary/BackgroundRun.h"
#include "vocabulary/PathText.h"

#include <QFile>
#include <QFileInfo>

using namespace AppModelSupport;

namespace {

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
        return LocalAnalysis::snapshot(folder, home, options);
    });
    return runs.finish(
        run, std::move(work), both("分析已取消", "Analysis Cancelled"), [this, path](AnalysisReport report) {
            Statistics& statistics = m_context.statistics;
            statistics.recordNow(StatisticKey::lastAnalysisDate);
            statistics.record(StatisticKey::lastAnalysisPath, path);
            statistics.record(StatisticKey::lastAnalysisTotalSize, report.totalSize.value_or(0));
            statistics.record(StatisticKey::lastAnalysisTotalFiles, report.totalFiles.value_or(0));
            setReport(std::move(report));
            m_context.runs.setStatus(both("空间分析完成", "Storage Analysis Complete"),
                                     both("下面列出了最占空间的文件和文件夹。",
                                          "Below are the files and folders using the most space."));
        });
}

void AnalysisController::analyze(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (!trimmed.isEmpty())
        analyzeFolder(QFile::encodeName(trimmed));
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
    if (const std::optional<ConfinedPath::Reached> item = reachListed(key)) {
        if (item->facts().isFolder())
            analyzeFolder(AnalysisReportPresenter::bytesOfKey(key));
    }
}

void AnalysisController::revealItem(const QString& key)
{
    if (const std::optional<ConfinedPath::Reached> item = reachListed(key))
        Desktop::reveal(*item);
}

void AnalysisController::moveToTrash(const QString& key)
{
    const QByteArray bytes = AnalysisReportPresenter::bytesOfKey(key);
    if (bytes.isEmpty())
        return;
    const AnalysisReport::Entry* entry = listed(bytes);
    TrashMoves::inBackground(m_context, this, RunKind::analysisTrash, AppFeature::analyze,
                             {{PathText::shown(bytes), entry ? entry->identity : std::nullopt, bytes}},
                             [this, bytes](const TrashMoves::Batch& batch) {
                                 if (batch.moved.isEmpty())
                                     return;
                                 forget(bytes);
                                 m_context.runs.setStatus(both("已移到废纸篓", "Moved to Trash"),
                                                          both("选中的项目已放入废纸篓。",
                                                               "The selected item has been moved to Trash."));
                             });
}

// What the report shows stays consistent: the item leaves the lists and the totals, and a file inside
// a listed folder leaves that folder's size. Paths are compared as bytes, so a name that differs only
// in bytes that are not UTF-8 is another item.
void AnalysisController::forget(const QByteArray& path)
{
    if (!m_report)
        return;
    AnalysisReport report = *m_report;
    qint64 removedBytes = 0;
    qint64 removedFiles = 0;
    for (const AnalysisReport::Entry& file : report.largeFiles)
        if (file.path && PathText::isAtOrBelow(file.bytes(), path)) {
            removedFiles += 1;
            if (file.bytes() == path)
                removedBytes = file.size.value_or(0);
        }
    for (const AnalysisReport::Entry& entry : report.entries)
        if (entry.path && entry.bytes() == path) {
            removedBytes = entry.size.value_or(0);
            removedFiles = entry.isDirectory.value_or(false) ? removedFiles : 1;
        }
    std::erase_if(report.largeFiles, [&](const AnalysisReport::Entry& file) {
        return file.path && PathText::isAtOrBelow(file.bytes(), path);
    });
    std::erase_if(report.entries,
                  [&](const AnalysisReport::Entry& entry) { return entry.path && entry.bytes() == path; });
    for (AnalysisReport::Entry& entry : report.entries)
        if (entry.path && entry.size && PathText::isAtOrBelow(path, entry.bytes()))
            *entry.size -= removedBytes;
    report.totalSize = report.totalSize.value_or(0) - removedBytes;
    report.totalFiles = std::max<qint64>(0, report.totalFiles.value_or(0) - removedFiles);
    // The last-run line tells of this report: its figures follow what left it.
    m_context.statistics.record(StatisticKey::lastAnalysisTotalSize, *report.totalSize);
    m_context.statistics.record(StatisticKey::lastAnalysisTotalFiles, *report.totalFiles);
    setReport(std::move(report));
}
