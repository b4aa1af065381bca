#include "features/AnalysisController.h"

#include "AnalysisReportPresenter.h"
#include "AppModelSupport.h"
#include "app/TrashMoves.h"

#include "analysis/LocalAnalysis.h"
#include "platform/PathText.h"
#include "vocabulary/BackgroundRun.h"

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
{
}

void AnalysisController::setPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
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

QVariant AnalysisController::reportValue() const
{
    return m_report ? QVariant(AnalysisReportPresenter::present(*m_report)) : QVariant();
}

void AnalysisController::setReport(std::optional<AnalysisReport> report)
{
    m_report = std::move(report);
    emit reportChanged();
}

QFuture<void> AnalysisController::refresh()
{
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(QStringLiteral("analysis"), AppFeature::analyze, true);
    const QString path = m_path;
    auto work = BackgroundRun::start(run->cancelled, [path, home = m_context.environment.home,
                                                      countEverything = m_countEverything,
                                                      relay = run->relay](const std::atomic_bool* cancelled) {
        LocalAnalysis::Options options;
        options.cancelled = cancelled;
        options.countEverything = countEverything;
        options.onProgress = [&relay](const LocalAnalysis::Progress& progress) {
            relay->post(progress.folder, progress.items, progress.bytes);
        };
        return LocalAnalysis::snapshot(path, home, options);
    });
    return runs.finish(
        run, std::move(work), L("分析已取消", "Analysis Cancelled"), [this, path](AnalysisReport report) {
            Statistics& statistics = m_context.statistics;
            statistics.recordNow("lastAnalysisDate");
            statistics.record("lastAnalysisPath", path);
            statistics.record("lastAnalysisTotalSize", report.totalSize.value_or(0));
            statistics.record("lastAnalysisTotalFiles", report.totalFiles.value_or(0));
            setReport(std::move(report));
            m_context.runs.setStatus(L("空间分析完成", "Storage Analysis Complete"),
                                     L("下面列出了最占空间的文件和文件夹。",
                                       "Below are the files and folders using the most space."));
        });
}

void AnalysisController::analyze(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    setPath(trimmed);
    emit analysisRequested(trimmed);
}

void AnalysisController::analyzeParent()
{
    analyze(PathText::standardized(m_path + QStringLiteral("/..")));
}

void AnalysisController::choosePath(const QUrl& folder)
{
    analyze(folder.toLocalFile());
}

void AnalysisController::moveToTrash(const QString& path)
{
    if (path.isEmpty())
        return;
    std::optional<FileIdentity> identity;
    if (m_report)
        for (const auto* list : {&m_report->entries, &m_report->largeFiles})
            for (const AnalysisReport::Entry& entry : *list)
                if (entry.path == path)
                    identity = entry.identity;
    TrashMoves::inBackground(m_context, this, QStringLiteral("analysis-trash"), AppFeature::analyze,
                             {{path, identity}}, [this, path](const TrashMoves::Batch& batch) {
                                 if (!batch.moved.contains(path))
                                     return;
                                 forget(path);
                                 m_context.runs.setStatus(L("已移到废纸篓", "Moved to Trash"),
                                                          L("选中的项目已放入废纸篓。",
                                                            "The selected item has been moved to Trash."));
                             });
}

// What the report shows stays consistent: the item leaves the lists and the totals, and a file inside
// a listed folder leaves that folder's size.
void AnalysisController::forget(const QString& path)
{
    if (!m_report)
        return;
    AnalysisReport report = *m_report;
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
    std::erase_if(report.largeFiles, [&](const AnalysisReport::Entry& file) {
        return file.path && PathText::isAtOrBelow(*file.path, path);
    });
    std::erase_if(report.entries, [&](const AnalysisReport::Entry& entry) { return entry.path == path; });
    for (AnalysisReport::Entry& entry : report.entries)
        if (entry.path && entry.size && PathText::isAtOrBelow(path, *entry.path))
            *entry.size -= removedBytes;
    report.totalSize = report.totalSize.value_or(0) - removedBytes;
    report.totalFiles = std::max<qint64>(0, report.totalFiles.value_or(0) - removedFiles);
    setReport(std::move(report));
}
