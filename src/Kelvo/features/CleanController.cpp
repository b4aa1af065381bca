#include "features/CleanController.h"

#include "app/AppModelSupport.h"

#include "clean/CleanChoice.h"
#include "clean/CleanPreviewService.h"
#include "clean/CleanReportText.h"
#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/SizeText.h"

#include <QRegularExpression>
#include <QtConcurrent>

using namespace AppModelSupport;

CleanController::CleanController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &CleanController::reportTextsChanged);
}

void CleanController::setReport(std::optional<CleanPreviewReport> report)
{
    m_report = std::move(report);
    // A new preview offers everything again, as a clean without a choice would take.
    m_entries.setEntries(m_report ? m_report->entries : std::vector<CleanPreviewReport::Entry>());
    emit reportChanged();
    emit reportTextsChanged();
}

int CleanController::cleanableCount() const
{
    if (!m_report)
        return 0;
    return int(std::count_if(m_report->entries.begin(), m_report->entries.end(), [](const auto& entry) {
        return entry.status == CleanPreviewReport::EntryStatus::cleanable;
    }));
}

QString CleanController::summary() const
{
    return m_report && m_report->summary ? m_report->summary->text() : QString();
}

QString CleanController::willFree() const
{
    return m_report ? CleanReportText::willFreeLine(*m_report).value_or(QString()) : QString();
}

QString CleanController::confirmationNote() const
{
    if (!m_report)
        return L("会先预览，然后清理预览列出的全部项目。删除后无法撤销。",
                 "A preview is taken first; then everything it lists is cleaned. Deletion cannot be undone.");
    return CleanReportText::confirmation(
        CleanChoice::totals(*m_report, m_entries.chosen(), m_context.environment.home));
}

QFuture<std::optional<CleanPreviewReport>> CleanController::takePreview(const RunCoordinator::RunHandle& run)
{
    LocalCleanPreview::Options options;
    options.system = m_context.environment.target.system;
    options.onProgress = [relay = run->relay](const LocalCleanPreview::Progress& progress) {
        relay->post(progress.location, progress.itemsMeasured, progress.bytesMeasured);
    };
    return CleanPreviewService::snapshot(m_context.environment.home, std::move(options), run->cancelled);
}

QFuture<void> CleanController::preview()
{
    // The places Smart Clean measures lie in the home folder; without a sound one there are none.
    if (m_context.homeRefused())
        return QtFuture::makeReadyFuture();
    const RunCoordinator::RunHandle run =
        m_context.runs.begin(RunKind::cleanPreview, AppFeature::clean, true);
    return m_context.runs.finish(
        run, takePreview(run), both("预览已取消", "Preview Cancelled"), [this](CleanPreviewReport report) {
            setReport(std::move(report));
            m_context.runs.setStatus(
                both("预览完成", "Preview Complete"),
                both("已检查可清理项目。正式清理前仍会让你确认。",
                     "Cleanable items have been checked. You will still confirm before the "
                     "real cleanup."));
        });
}

QFuture<void> CleanController::cleanNow()
{
    if (m_context.actingRefused())
        return QtFuture::makeReadyFuture();
    if (m_report && m_entries.chosenCount() == 0) {
        m_context.runs.setStatus(both("没有选择项目", "Nothing Chosen"),
                                 both("请至少选择一项再清理。没有删除任何内容。",
                                      "Choose at least one item to clean. Nothing was deleted."));
        return QtFuture::makeReadyFuture();
    }
    RunCoordinator& runs = m_context.runs;
    const RunCoordinator::RunHandle run = runs.begin(RunKind::clean, AppFeature::clean, true);
    // Clean exactly what the user previewed and chose; without a preview in memory, take one first and
    // clean everything it offers.
    QFuture<std::optional<CleanPreviewReport>> previewed =
        m_report
            ? QtFuture::makeReadyFuture(std::optional(CleanChoice::narrowed(*m_report, m_entries.chosen())))
            : takePreview(run).then([](std::optional<CleanPreviewReport> report) {
                  return report
                             ? std::optional(CleanChoice::narrowed(*report, CleanChoice::everything(*report)))
                             : report;
              });
    return previewed
        .then(
            this,
            [this, run, home = m_context.environment.home](std::optional<CleanPreviewReport> report) {
                if (!report)
                    return QtFuture::makeReadyFuture(Outcome{}); // the preview was cancelled
                m_context.runs.keepGoing(run);
                return QtConcurrent::run([report = std::move(*report), home] {
                    try {
                        // Smart Clean never deletes outside the home folder.
                        return Outcome{LocalCleanExecutor::clean(report, {home}, home), {}};
                    } catch (const KelvoError& error) {
                        return Outcome{std::nullopt, error.description()}; // stopped before removing anything
                    }
                });
            })
        .unwrap()
        .then(this,
              [this, run](Outcome outcome) {
                  RunCoordinator& coordinator = m_context.runs;
                  if (!outcome.stopReason.isEmpty() || !outcome.result) {
                      if (!coordinator.end(run))
                          return QtFuture::makeReadyFuture(); // superseded
                      if (!outcome.stopReason.isEmpty())
                          coordinator.setAlertMessage(LocalText::same(outcome.stopReason));
                      coordinator.setStatus(outcome.stopReason.isEmpty()
                                                ? both("清理已取消", "Cleanup Cancelled")
                                                : both("清理已停止", "Cleanup Stopped"),
                                            both("没有删除任何内容。", "Nothing was deleted."));
                      return QtFuture::makeReadyFuture();
                  }
                  const LocalCleanResult& result = *outcome.result;
                  m_context.statistics.recordNow(StatisticKey::lastCleanDate);
                  m_context.statistics.record(StatisticKey::lastCleanCount, qint64(result.removedCount));
                  // Whatever stayed is said, with why, so nothing counts as cleaned that is still there.
                  if (result.failedCount > 0)
                      coordinator.setAlertMessage(LocalText::made([&result] {
                          return FileRemover::leftBehindText(result.failedCount, result.left);
                      }));
                  const LocalText said =
                      LocalText::made([&result] { return CleanReportText::outcome(result); });
                  // The page then shows what is left, measured after cleaning.
                  return takePreview(run).then(
                      this, [this, run, said](std::optional<CleanPreviewReport> fresh) {
                          if (!m_context.runs.end(run))
                              return; // superseded: the later clean speaks for both
                          setReport(std::move(fresh));
                          m_context.runs.setStatus(both("清理完成", "Cleanup Complete"), said);
                      });
              })
        .unwrap()
        .onFailed(this, [this, run] { m_context.runs.failed(run, QString()); });
}

// Protection list editor ----------------------------------------------------------------------------

void CleanController::setWhitelistText(const QString& text)
{
    if (text == m_whitelistText)
        return;
    m_whitelistText = text;
    emit whitelistTextChanged();
}

void CleanController::setShowingProtectionSheet(bool showing)
{
    if (showing == m_showingProtectionSheet)
        return;
    m_showingProtectionSheet = showing;
    emit showingProtectionSheetChanged();
}

QStringList CleanController::whitelistLines() const
{
    static const QRegularExpression lineBreak(QStringLiteral("[\\n\\r\\v\\f\\x{85}\\x{2028}\\x{2029}]"));
    QStringList lines;
    for (const QString& line : m_whitelistText.split(lineBreak)) {
        if (const QString trimmed = line.trimmed(); !trimmed.isEmpty())
            lines << trimmed;
    }
    return lines;
}

bool CleanController::loadWhitelistEditor()
{
    try {
        setWhitelistText(
            CleanWhitelistStore::load(m_context.environment.home).patterns.join(QLatin1Char('\n')));
        return true;
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(LocalText::same(error.description()));
        return false;
    }
}

bool CleanController::saveWhitelistEditor()
{
    // Each entry is saved as it is meant ("~/Caches/x/" protects the folder x), and the lines written
    // differently are named. Lines typed as comments are kept: the store writes them and the next load
    // skips them. A line that could never protect anything is named and nothing is saved, so the list
    // on disk always means what the user believes it does.
    QStringList lines;
    QStringList rewritten;
    QStringList unhonoured;
    for (const QString& trimmed : whitelistLines()) {
        const QString entry = CleanWhitelistMatcher::normalizedEntry(trimmed);
        if (entry != trimmed)
            rewritten << QStringLiteral("%1 → %2").arg(trimmed, entry);
        if (const std::optional<QString> why =
                CleanWhitelistMatcher::whyNotHonoured(entry, m_context.environment.home))
            unhonoured << *why;
        lines.append(entry);
    }
    if (!unhonoured.isEmpty()) {
        m_context.runs.setAlertMessage(
            both("保护名单没有保存。请修改或删除以下各行：\n",
                 "The protection list was not saved. Change or remove these lines:\n") +
            unhonoured.join(QLatin1Char('\n')));
        return false;
    }
    try {
        CleanWhitelistStore::save(CleanWhitelistState{lines}, m_context.environment.home);
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(LocalText::same(error.description()));
        return false;
    }
    m_context.runs.setStatus(both("保护名单已更新", "Protection List Updated"),
                             both("智能清理会按新的保护名单跳过对应内容。",
                                  "Smart Clean will skip items covered by the new protection list."));
    if (!rewritten.isEmpty())
        m_context.runs.setAlertMessage(
            both("保护名单已保存。以下各行按其含义改写后保存：\n",
                 "The protection list was saved. These lines were written as they are "
                 "meant:\n") +
            rewritten.join(QLatin1Char('\n')));
    setShowingProtectionSheet(false);
    return true;
}

void CleanController::restoreWhitelistDefaults()
{
    setWhitelistText(CleanWhitelistStore::defaultPatterns().join(QLatin1Char('\n')));
}
