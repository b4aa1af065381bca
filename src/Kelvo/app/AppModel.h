#pragma once

#include "app/FeatureContext.h"
#include "app/RunCoordinator.h"
#include "app/Statistics.h"
#include "app/ViewEnums.h"
#include "features/AnalysisController.h"
#include "features/AppearanceController.h"
#include "features/CleanController.h"
#include "features/InstallerController.h"
#include "features/OptimizeController.h"
#include "features/PurgeController.h"
#include "features/StatusController.h"
#include "features/UninstallController.h"
#include "features/UpdateController.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

// The one object the views see. It turns the user's actions into runs of the feature controllers and
// holds the parts every page reads: the runs and the status line (run), the statistics, and one
// controller per feature. Lives on the main thread; every published property is written there.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(RunCoordinator* run READ runs CONSTANT)
    Q_PROPERTY(Statistics* statistics READ statistics CONSTANT)
    Q_PROPERTY(CleanController* clean READ clean CONSTANT)
    Q_PROPERTY(AnalysisController* analysis READ analysis CONSTANT)
    Q_PROPERTY(PurgeController* purge READ purge CONSTANT)
    Q_PROPERTY(InstallerController* installer READ installer CONSTANT)
    Q_PROPERTY(UninstallController* uninstall READ uninstall CONSTANT)
    Q_PROPERTY(OptimizeController* optimize READ optimize CONSTANT)
    Q_PROPERTY(AppearanceController* appearance READ appearance CONSTANT)
    Q_PROPERTY(StatusController* status READ status CONSTANT)
    Q_PROPERTY(UpdateController* update READ update CONSTANT)
    Q_PROPERTY(QVariant pendingAction READ pendingActionValue NOTIFY pendingActionChanged)
    // What the confirmation says besides the pending action's own text (the steps an optimisation
    // would run); empty for most actions.
    Q_PROPERTY(QString pendingActionNote READ pendingActionNote NOTIFY pendingActionChanged)
    Q_PROPERTY(AppFeatureQml::Value selectedFeature READ selectedFeatureValue WRITE setSelectedFeatureValue
                   NOTIFY selectedFeatureChanged)

public:
    using Environment = AppEnvironment;

    explicit AppModel(Environment environment, QObject* parent = nullptr);
    // Cancels what still runs and waits for it briefly, so no worker outlives the window.
    ~AppModel() override;

    const Environment& environment() const { return m_environment; }
    RunCoordinator* runs() { return &m_runs; }
    const RunCoordinator* runs() const { return &m_runs; }
    Statistics* statistics() { return &m_statistics; }
    const Statistics* statistics() const { return &m_statistics; }
    CleanController* clean() { return &m_clean; }
    const CleanController* clean() const { return &m_clean; }
    AnalysisController* analysis() { return &m_analysis; }
    const AnalysisController* analysis() const { return &m_analysis; }
    PurgeController* purge() { return &m_purge; }
    const PurgeController* purge() const { return &m_purge; }
    InstallerController* installer() { return &m_installer; }
    const InstallerController* installer() const { return &m_installer; }
    UninstallController* uninstall() { return &m_uninstall; }
    const UninstallController* uninstall() const { return &m_uninstall; }
    OptimizeController* optimize() { return &m_optimize; }
    const OptimizeController* optimize() const { return &m_optimize; }
    AppearanceController* appearance() { return &m_appearance; }
    const AppearanceController* appearance() const { return &m_appearance; }
    StatusController* status() { return &m_status; }
    const StatusController* status() const { return &m_status; }
    UpdateController* update() { return &m_update; }
    const UpdateController* update() const { return &m_update; }

    const std::optional<AppAction>& pendingAction() const { return m_pendingAction; }
    QVariant pendingActionValue() const;
    QString pendingActionNote() const;
    AppFeature selectedFeature() const { return m_selectedFeature; }
    void setSelectedFeature(AppFeature feature);
    AppFeatureQml::Value selectedFeatureValue() const { return AppFeatureQml::of(m_selectedFeature); }
    // A number that names no page changes nothing.
    void setSelectedFeatureValue(AppFeatureQml::Value value)
    {
        if (const std::optional<AppFeature> feature = AppFeatureQml::feature(value))
            setSelectedFeature(*feature);
    }

    // Entry point for pages: opens an editor, parks a destructive action, or runs it.
    Q_INVOKABLE void request(const AppAction& action);
    Q_INVOKABLE void confirmPendingAction();
    Q_INVOKABLE void cancelPendingAction();
    // Runs an action now; the returned future finishes when the run has ended.
    QFuture<void> execute(const AppAction& action);

    // Shows the item in the system file manager (Finder on macOS).
    Q_INVOKABLE void revealInFileManager(const QString& path);
    // A page's About box is open on the first visit and folded to one line on every later one, unless
    // the user opened it again. Asking records the visit.
    Q_INVOKABLE bool visitAboutBox(AppFeatureQml::Value page);
    Q_INVOKABLE void setAboutBoxFolded(AppFeatureQml::Value page, bool folded);
    // The start-up sequence, run once when the window is first shown.
    Q_INVOKABLE void startUp();

signals:
    void pendingActionChanged();
    void selectedFeatureChanged();

private:
    // Runs the branch of one action; the future finishes when its result texts are set.
    QFuture<void> dispatch(const AppAction& action);
    // The dashboard's refresh, ending when its sample is published.
    QFuture<void> refreshStatus();
    // A check the user asked for; its outcome replaces the status line titled `title`.
    QFuture<void> checkForUpdates(const QString& title);
    // An action with nothing to run: says how it ended.
    QFuture<void> finishAtOnce(const AppAction& action);
    void setPendingAction(std::optional<AppAction> action);

    Environment m_environment;
    RunCoordinator m_runs{this};
    Statistics m_statistics{this};
    FeatureContext m_context{m_environment, m_runs, m_statistics};
    CleanController m_clean{m_context, this};
    AnalysisController m_analysis{m_context, this};
    PurgeController m_purge{m_context, this};
    InstallerController m_installer{m_context, this};
    UninstallController m_uninstall{m_context, this};
    OptimizeController m_optimize{m_context, this};
    AppearanceController m_appearance{m_context, this};
    StatusController m_status{m_context, this};
    UpdateController m_update{m_context, this};
    std::optional<AppAction> m_pendingAction;
    AppFeature m_selectedFeature = AppFeature::dashboard;
};
