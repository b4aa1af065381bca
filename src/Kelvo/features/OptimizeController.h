#pragma once

#include "app/FeatureContext.h"
#include "app/RowListModel.h"

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/LocalOptimizePreview.h"
#include "optimize/OptimizePreviewReport.h"
#include "optimize/OptimizeWhitelistStore.h"

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

// Optimization: the preview of the maintenance steps with what a run would do with each, the run
// itself, and the safeguard list (the steps a run skips) with its editor.
class OptimizeController : public QObject {
    Q_OBJECT
    // {entryCount, willRunCount, summary}; null until the first preview.
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // The steps as the page lists them (see OptimizeReportPresenter::rows).
    Q_PROPERTY(RowListModel* steps READ steps CONSTANT)
    // How many steps the catalogue of this system holds.
    Q_PROPERTY(int checkCount READ checkCount CONSTANT)
    // The safeguard editor: one option per step ({id, title, detail}), the ids ticked, and how many
    // lines of the file name no step and are kept as they are.
    Q_PROPERTY(RowListModel* safeguardOptions READ safeguardOptions CONSTANT)
    Q_PROPERTY(QStringList safeguardSelection READ safeguardSelection NOTIFY safeguardsChanged)
    Q_PROPERTY(int customKeyCount READ customKeyCount NOTIFY safeguardsChanged)
    Q_PROPERTY(bool showingProtectionSheet READ showingProtectionSheet WRITE setShowingProtectionSheet NOTIFY
                   showingProtectionSheetChanged)

public:
    OptimizeController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<OptimizePreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;
    RowListModel* steps() { return &m_steps; }
    int checkCount() const;
    // What a run would do with each entry of the report now, in report order.
    const std::vector<OptimizeStepOutcome>& planned() const { return m_planned; }
    // The last run's outcome for every step; none until a run of the shown report ended.
    const std::optional<LocalOptimizeResult>& lastResult() const { return m_result; }

    // A fresh preview; the previous one stays when it is cancelled.
    QFuture<void> preview();
    // Runs the steps of the previewed report (without a preview in memory, one is taken first) that
    // are safe, not protected and can run here. A safeguard list that cannot be read stops it before
    // anything runs.
    QFuture<void> runNow();
    // The steps a confirmed run would take and how many it skips, for the confirmation.
    QString confirmationNote() const;

    RowListModel* safeguardOptions() { return &m_options; }
    QStringList safeguardSelection() const;
    int customKeyCount() const { return int(m_editing.customKeys.size()); }
    const OptimizeWhitelistState& safeguards() const { return m_editing; }
    bool showingProtectionSheet() const { return m_showingProtectionSheet; }
    // Closing the editor without saving puts back the stored choices.
    void setShowingProtectionSheet(bool showing);

    // Reads the stored safeguard list into the editor; false (with an alert) when it cannot be read, so
    // a save never overwrites a file the user has not seen.
    Q_INVOKABLE bool loadWhitelistEditor();
    // The start-up read: an unreadable list leaves nothing ticked and says nothing (a run still
    // refuses it).
    void loadSafeguardsQuietly();
    Q_INVOKABLE void setSafeguarded(const QString& id, bool safeguarded);
    Q_INVOKABLE void restoreWhitelistDefaults();
    // Saves the ticked steps with the kept lines and closes the editor; false (with an alert) when the
    // file cannot be written.
    Q_INVOKABLE bool saveWhitelistEditor();

signals:
    void reportChanged();
    void safeguardsChanged();
    void showingProtectionSheetChanged();

private:
    LocalOptimizePreview::Options previewOptions() const;
    LocalOptimizeExecutor::Options executorOptions() const;
    QFuture<std::optional<OptimizePreviewReport>> takePreview(const RunCoordinator::RunHandle& run);
    // The list as read from the file: it is what runs use, and what the editor starts from. A list
    // that could not be read comes as nothing ticked with why.
    void adoptStored(OptimizeWhitelistState stored, QString problem = {});
    void setEditing(OptimizeWhitelistState editing);
    void setReport(std::optional<OptimizePreviewReport> report, std::optional<LocalOptimizeResult> result);
    // Marks every entry with what a run would do now, and refreshes the rows.
    void updatePlan();
    void updateOptions();

    const FeatureContext& m_context;
    std::optional<OptimizePreviewReport> m_report;
    std::optional<LocalOptimizeResult> m_result;
    std::vector<OptimizeStepOutcome> m_planned;
    RowListModel m_steps{
        {"id", "name", "description", "detail", "stateLabel", "tone", "stateText", "durationText"}};
    OptimizeWhitelistState m_stored;
    QString m_safeguardProblem; // why the stored list could not be read; empty when it could
    OptimizeWhitelistState m_editing;
    RowListModel m_options{{"id", "title", "detail"}};
    bool m_showingProtectionSheet = false;
};
