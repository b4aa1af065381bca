// The controller's Smart Clean: preview, real clean and the protection list editor.
#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"
#include "CleanReportPresenter.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "platform/HomeFolder.h"
#include "vocabulary/KelvoError.h"

#include <QRegularExpression>
#include <QtConcurrent>

using namespace AppModelSupport;

QVariant AppModel::cleanPreviewReportValue() const
{
    return m_cleanPreviewReport ? QVariant(CleanReportPresenter::present(*m_cleanPreviewReport)) : QVariant();
}

void AppModel::setCleanPreviewReport(std::optional<CleanPreviewReport> report)
{
    m_cleanPreviewReport = std::move(report);
    emit cleanPreviewReportChanged();
}

QFuture<std::optional<CleanPreviewReport>> AppModel::takeCleanPreview()
{
    return runCancellable(
        [home = m_environment.home](const std::atomic_bool* cancelled, ProgressRelay& relay) {
            LocalCleanPreview::Options options;
            options.cancelled = cancelled;
            options.onProgress = [&relay](const LocalCleanPreview::Progress& progress) {
                relay.post(progress.location, progress.itemsMeasured, progress.bytesMeasured);
            };
            return LocalCleanPreview::snapshot(home, options);
        });
}

bool AppModel::homeRefused()
{
    const std::optional<QString> problem = HomeFolder::problem(m_environment.home);
    if (problem) {
        setAlertMessage(*problem);
        setStatus(L("没有完成", "Not Completed"), *problem);
    }
    return problem.has_value();
}

QFuture<void> AppModel::runCleanPreview()
{
    // The places Smart Clean measures lie in the home folder; without a sound one there are none.
    if (homeRefused())
        return QtFuture::makeReadyFuture();
    return publishUnlessCancelled(
        takeCleanPreview(), "预览已取消", "Preview Cancelled", [this](CleanPreviewReport report) {
            setCleanPreviewReport(std::move(report));
            setStatus(
                L("预览完成", "Preview Complete"),
                L("已检查可清理项目。正式清理前仍会让你确认。",
                  "Cleanable items have been checked. You will still confirm before the real cleanup."));
        });
}

QFuture<void> AppModel::runClean()
{
    if (homeRefused())
        return QtFuture::makeReadyFuture();
    // Clean exactly what the user previewed; without a preview in memory, take one first.
    QFuture<std::optional<CleanPreviewReport>> preview =
        m_cleanPreviewReport ? QtFuture::makeReadyFuture(m_cleanPreviewReport) : takeCleanPreview();
    return preview
        .then(this, [this](std::optional<CleanPreviewReport> report) { return cleanPreviewed(report); })
        .unwrap()
        .then(this, [this](CleanOutcome outcome) { return finishClean(std::move(outcome)); })
        .unwrap();
}

QFuture<AppModel::CleanOutcome> AppModel::cleanPreviewed(std::optional<CleanPreviewReport> report)
{
    if (!report)
        return QtFuture::makeReadyFuture(CleanOutcome{}); // the preview was cancelled
    return QtConcurrent::run([report = std::move(*report), home = m_environment.home] {
        try {
            // Smart Clean never deletes outside the home folder.
            return CleanOutcome{LocalCleanExecutor::clean(report, {home}, home), {}};
        } catch (const KelvoError& error) {
            return CleanOutcome{std::nullopt, error.description()}; // stopped before removing anything
        }
    });
}

QFuture<void> AppModel::finishClean(CleanOutcome outcome)
{
    if (!outcome.stopReason.isEmpty()) {
        setAlertMessage(outcome.stopReason);
        setStatus(L("清理已停止", "Cleanup Stopped"), L("没有删除任何内容。", "Nothing was deleted."));
        return QtFuture::makeReadyFuture();
    }
    const std::optional<LocalCleanResult>& result = outcome.result;
    if (!result) {
        setStatus(L("清理已取消", "Cleanup Cancelled"), L("没有删除任何内容。", "Nothing was deleted."));
        return QtFuture::makeReadyFuture();
    }
    // Whatever stayed is said, with why, so nothing counts as cleaned that is still there.
    if (result->failedCount > 0)
        setAlertMessage(FileRemover::leftBehindText(result->failedCount, result->left));
    storeStatistic(&Statistics::lastCleanDate, Keys::lastCleanDate, nowInSeconds());
    storeStatistic(&Statistics::lastCleanCount, Keys::lastCleanCount, qint64(result->removedCount));
    const int cleaned = result->removedCount;
    const int failed = result->failedCount;
    // The page then shows what is left, measured after cleaning.
    return takeCleanPreview().then(this, [this, cleaned, failed](std::optional<CleanPreviewReport> fresh) {
        setCleanPreviewReport(std::move(fresh));
        setStatus(
            L("清理完成", "Cleanup Complete"),
            failed > 0
                ? L("已清理 %1 项，%2 项没有成功。", "Cleaned %1 items. %2 failed.").arg(cleaned).arg(failed)
                : L("已清理 %1 项。", "Cleaned %1 items.").arg(cleaned));
    });
}

// Protection list editor ----------------------------------------------------------------------------

void AppModel::setCleanWhitelistText(const QString& text)
{
    assign(m_cleanWhitelistText, text, &AppModel::cleanWhitelistTextChanged);
}

bool AppModel::loadCleanWhitelistEditor()
{
    try {
        setCleanWhitelistText(CleanWhitelistStore::load(m_environment.home).patterns.join(QLatin1Char('\n')));
        return true;
    } catch (const KelvoError& error) {
        setAlertMessage(error.description());
        return false;
    }
}

bool AppModel::saveCleanWhitelistEditor()
{
    // Lines typed as comments are kept: the store writes them and the next load skips them.
    // Each entry is saved as it is meant ("~/Caches/x/" protects the folder x), and the lines written
    // differently are named.
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\r\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
    QStringList lines;
    QStringList rewritten;
    for (const QString& line : m_cleanWhitelistText.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const QString entry = CleanWhitelistMatcher::normalizedEntry(trimmed);
        if (entry != trimmed)
            rewritten << QStringLiteral("%1 → %2").arg(trimmed, entry);
        lines.append(entry);
    }
    try {
        CleanWhitelistStore::save(CleanWhitelistState{lines}, m_environment.home);
    } catch (const KelvoError& error) {
        setAlertMessage(error.description());
        return false;
    }
    setStatus(L("保护名单已更新", "Protection List Updated"),
              L("智能清理会按新的保护名单跳过对应内容。",
                "Smart Clean will skip items covered by the new protection list."));
    if (!rewritten.isEmpty())
        setAlertMessage(L("保护名单已保存。以下各行按其含义改写后保存：\n",
                          "The protection list was saved. These lines "
                          "were written as they are meant:\n") +
                        rewritten.join(QLatin1Char('\n')));
    setShowingCleanProtectionSheet(false);
    return true;
}

void AppModel::restoreCleanWhitelistDefaults()
{
    setCleanWhitelistText(CleanWhitelistStore::defaultPatterns().join(QLatin1Char('\n')));
}
