#pragma once

#include "app/FeatureContext.h"
#include "features/OptimizeStepModel.h"
#include "features/SafeguardOptionModel.h"

#include "optimize/LocalOptimizeExecutor.h"
#include "optimize/LocalOptimizePreview.h"
#include "optimize/OptimizePreviewReport.h"
#include "optimize/OptimizeWhitelistStore.h"

#include <QFuture>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

// Optimization: the preview of the maintenance steps with what a run would do with each, the run
// itself, and the safeguard list (the steps a run skips) with its editor.
class OptimizeController : public QObject {
    Q_OBJECT
    // False until the first preview.
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    // How many steps a run would take now, and "3 will run · 4 skipped" or what the last run did.
    Q_PROPERTY(int willRunCount READ willRunCount NOTIFY reportChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY reportChanged)
    // The steps as the page lists them.
    Q_PROPERTY(OptimizeStepModel* steps READ steps CONSTANT)
    // How many steps the catalogue of this system holds.
    Q_PROPERTY(int checkCount READ checkCount CONSTANT)
    // The safeguard editor: one option per step, ticked for the steps the list being edited holds, and
    // the lines of the file that name no step, kept as they are unless removed.
    Q_PROPERTY(SafeguardOptionModel* safeguardOptions READ safeguardOptions CONSTANT)
    Q_PROPERTY(QStringList customKeys READ customKeys NOTIFY safeguardsChanged)
    Q_PROPERTY(bool showingProtectionSheet READ showingProtectionSheet WRITE setShowingProtectionSheet NOTIFY
                   showingProtectionSheetChanged)

public:
    OptimizeController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<OptimizePreviewReport>& report() const { return m_report; }
    bool hasReport() const { return m_report.has_value(); }
    int willRunCount() const;
    QString summary() const;
    OptimizeStepModel* steps() { return &m_steps; }
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

    SafeguardOptionModel* safeguardOptions() { return &m_options; }
    QStringList customKeys() const { return m_editing.customKeys; }
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
    // Drops the kept line at that place of customKeys from the list being edited.
    Q_INVOKABLE void removeCustomKey(int index);
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

    const FeatureContext& m_context;
    std::optional<OptimizePreviewReport> m_report;
    std::optional<LocalOptimizeResult> m_result;
    std::vector<OptimizeStepOutcome> m_planned;
    OptimizeStepModel m_steps{m_context.environment.target.system};
    OptimizeWhitelistState m_stored;
    QString m_safeguardProblem; // why the stored list could not be read; empty when it could
    OptimizeWhitelistState m_editing;
    SafeguardOptionModel m_options{m_context.environment.target.system};
    bool m_showingProtectionSheet = false;
};
