// The controller's Smart Clean: preview, real clean and the protection list editor.
#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"
#include "CleanReportPresenter.h"

#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
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

QFuture<void> AppModel::runCleanPreview()
{
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
    // Clean exactly what the user previewed; without a preview in memory, take one first.
    QFuture<std::optional<CleanPreviewReport>> preview =
        m_cleanPreviewReport ? QtFuture::makeReadyFuture(m_cleanPreviewReport) : takeCleanPreview();
    return preview
        .then(this, [this](std::optional<CleanPreviewReport> report) { return cleanPreviewed(report); })
        .unwrap()
        .then(this, [this](std::optional<LocalCleanResult> result) { return finishClean(result); })
        .unwrap();
}

QFuture<std::optional<LocalCleanResult>> AppModel::cleanPreviewed(std::optional<CleanPreviewReport> report)
{
    if (!report)
        return QtFuture::makeReadyFuture(std::optional<LocalCleanResult>()); // the preview was cancelled
    return QtConcurrent::run([report = std::move(*report), home = m_environment.home] {
        // Smart Clean never deletes outside the home folder.
        return std::optional<LocalCleanResult>(LocalCleanExecutor::clean(report, {home}, home));
    });
}

QFuture<void> AppModel::finishClean(std::optional<LocalCleanResult> result)
{
    if (!result) {
        setStatus(L("清理已取消", "Cleanup Cancelled"), L("没有删除任何内容。", "Nothing was deleted."));
        return QtFuture::makeReadyFuture();
    }
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
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\r\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
    QStringList lines;
    for (const QString& line : m_cleanWhitelistText.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
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
    setShowingCleanProtectionSheet(false);
    return true;
}

void AppModel::restoreCleanWhitelistDefaults()
{
    setCleanWhitelistText(CleanWhitelistStore::defaultPatterns().join(QLatin1Char('\n')));
}
