#pragma once

#include "analysis/AnalysisReport.h"
#include "clean/CleanPreviewReport.h"
#include "clean/LocalCleanExecutor.h"
#include "installer/LocalInstallerPreview.h"
#include "purge/PurgePreviewReport.h"
#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariant>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QSettings;
class ProgressRelay;

// The application's one controller: turns the user's actions into engine calls on background tasks
// and publishes reports, a status line and statistics that the views observe. Lives on the main
// thread; every published property is written there.
class AppModel : public QObject {
    Q_OBJECT

    // Run lifecycle
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY runStateChanged)
    Q_PROPERTY(QString runningFeature READ runningFeatureRawValue NOTIFY runStateChanged)
    // True while the running work can still be stopped (a preview; never the deleting itself).
    Q_PROPERTY(bool canCancelRun READ canCancelRun NOTIFY runStateChanged)
    Q_PROPERTY(QVariant pendingAction READ pendingActionValue NOTIFY pendingActionChanged)
    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY statusChanged)
    Q_PROPERTY(QString statusDetail READ statusDetail NOTIFY statusChanged)
    Q_PROPERTY(QVariant alertMessage READ alertMessageValue NOTIFY alertMessageChanged)
    Q_PROPERTY(QString selectedFeature READ selectedFeatureRawValue WRITE setSelectedFeatureRawValue NOTIFY
                   selectedFeatureChanged)
    Q_PROPERTY(QString scanPath READ scanPath WRITE setScanPath NOTIFY scanPathChanged)
    Q_PROPERTY(QString analysisPath READ analysisPath WRITE setAnalysisPath NOTIFY analysisPathChanged)
    Q_PROPERTY(bool showingCleanProtectionSheet READ showingCleanProtectionSheet WRITE
                   setShowingCleanProtectionSheet NOTIFY protectionSheetsChanged)
    Q_PROPERTY(bool showingOptimizeProtectionSheet READ showingOptimizeProtectionSheet WRITE
                   setShowingOptimizeProtectionSheet NOTIFY protectionSheetsChanged)
    Q_PROPERTY(bool canOpenSystemSettings READ canOpenSystemSettings CONSTANT)
    // How many kinds of build artefact folders the project scan knows.
    Q_PROPERTY(int purgeTargetTypeCount READ purgeTargetTypeCount CONSTANT)
    // What a long run is doing now: {location, items, bytes}; empty when nothing reports progress.
    Q_PROPERTY(QVariantMap runProgress READ runProgress NOTIFY runProgressChanged)

    // Reports, as the views read them (null until the first run of their kind)
    Q_PROPERTY(QVariant cleanPreviewReport READ cleanPreviewReportValue NOTIFY cleanPreviewReportChanged)
    // {path, totalSize, totalFiles, entries: [{name, path, size, isDirectory, share}],
    //  largeFiles: [{name, path, size}]}; share is the entry's part of totalSize, 0 to 1.
    Q_PROPERTY(QVariant analysisReport READ analysisReportValue NOTIFY analysisReportChanged)
    // {rootPath, totalBytes, totalSizeText, entryCount,
    //  groups: [{title, totalBytes, entries: [{name, path, target, byteCount, sizeText, detailText}]}]}
    Q_PROPERTY(QVariant purgePreviewReport READ purgePreviewReportValue NOTIFY purgePreviewReportChanged)
    // {entryCount, totalBytes, totalSizeText, sources, entries: [{path, name, source, byteCount, sizeText}]}
    Q_PROPERTY(
        QVariant installerPreviewReport READ installerPreviewReportValue NOTIFY installerPreviewReportChanged)
    // The places the installer scan searches, shown until the first report: [{path, source, exists}]
    Q_PROPERTY(
        QVariantList installerScanLocations READ installerScanLocations NOTIFY installerScanLocationsChanged)
    // {entryCount, entries: [{id, name, bundleID, source, path, sizeText, appSizeText, leftoverSizeText,
    //  leftoverPaths, lastOpenedText}]}
    Q_PROPERTY(
        QVariant uninstallPreviewReport READ uninstallPreviewReportValue NOTIFY uninstallPreviewReportChanged)

    // Persisted statistics
    Q_PROPERTY(double lastInstallerScanDate READ lastInstallerScanDate NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastInstallerCleanedCount READ lastInstallerCleanedCount NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastInstallerCleanedBytes READ lastInstallerCleanedBytes NOTIFY statisticsChanged)
    Q_PROPERTY(double lastPurgeScanDate READ lastPurgeScanDate NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastPurgeCleanedCount READ lastPurgeCleanedCount NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastPurgeCleanedBytes READ lastPurgeCleanedBytes NOTIFY statisticsChanged)
    Q_PROPERTY(double lastAnalysisDate READ lastAnalysisDate NOTIFY statisticsChanged)
    Q_PROPERTY(QString lastAnalysisPathStored READ lastAnalysisPathStored NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastAnalysisTotalSize READ lastAnalysisTotalSize NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastAnalysisTotalFiles READ lastAnalysisTotalFiles NOTIFY statisticsChanged)
    Q_PROPERTY(double lastOptimizeDate READ lastOptimizeDate NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastOptimizeCount READ lastOptimizeCount NOTIFY statisticsChanged)
    Q_PROPERTY(double lastUninstallDate READ lastUninstallDate NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastUninstallCount READ lastUninstallCount NOTIFY statisticsChanged)
    Q_PROPERTY(double lastCleanDate READ lastCleanDate NOTIFY statisticsChanged)
    Q_PROPERTY(qint64 lastCleanCount READ lastCleanCount NOTIFY statisticsChanged)

    // Appearance, version and editors
    Q_PROPERTY(bool showHealthAura READ showHealthAura WRITE setShowHealthAura NOTIFY showHealthAuraChanged)
    Q_PROPERTY(
        QString customWindowBackgroundPath READ customWindowBackgroundPath NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QUrl customWindowBackgroundURL READ customWindowBackgroundURL NOTIFY windowBackgroundChanged)
    Q_PROPERTY(int windowBackgroundRevision READ windowBackgroundRevision NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QString versionText READ versionText NOTIFY versionTextChanged)
    Q_PROPERTY(QString cleanWhitelistText READ cleanWhitelistText WRITE setCleanWhitelistText NOTIFY
                   cleanWhitelistTextChanged)
    Q_PROPERTY(QStringList optimizeWhitelistSelection READ optimizeWhitelistSelection NOTIFY
                   optimizeWhitelistChanged)
    Q_PROPERTY(QStringList optimizeWhitelistCustomKeys READ optimizeWhitelistCustomKeys NOTIFY
                   optimizeWhitelistChanged)

public:
    // Where the controller keeps its files. The application passes the real folders; tests pass
    // temporary ones.
    struct Environment {
        QString home;               // the user's home folder
        QString applicationSupport; // the application's own support folder (window background)
        QString bundleVersion;      // the application's version text; empty for a local build
        // Where applications and installers are looked for; none: the system's own places. Tests
        // point both at synthetic folders. The folders are asked for at each scan, so their labels
        // follow the language.
        std::function<std::vector<LocalUninstallPreview::ApplicationFolder>()> applicationFolders = {};
        std::optional<LocalInstallerPreview::Places> installerPlaces = {};
    };

    explicit AppModel(Environment environment, QObject* parent = nullptr);
    ~AppModel() override;

    const Environment& environment() const { return m_environment; }

    // Run lifecycle
    bool isRunning() const { return m_isRunning; }
    std::optional<AppFeature> runningFeature() const { return m_runningFeature; }
    bool canCancelRun() const { return m_progressRelay != nullptr; }
    QString runningFeatureRawValue() const;
    const std::optional<AppAction>& pendingAction() const { return m_pendingAction; }
    QVariant pendingActionValue() const;
    QString statusTitle() const { return m_statusTitle; }
    QString statusDetail() const { return m_statusDetail; }
    const std::optional<QString>& alertMessage() const { return m_alertMessage; }
    QVariant alertMessageValue() const;
    AppFeature selectedFeature() const { return m_selectedFeature; }
    void setSelectedFeature(AppFeature feature);
    QString selectedFeatureRawValue() const;
    void setSelectedFeatureRawValue(const QString& rawValue);
    QString scanPath() const { return m_scanPath; }
    void setScanPath(const QString& path);
    QString analysisPath() const { return m_analysisPath; }
    void setAnalysisPath(const QString& path);
    bool showingCleanProtectionSheet() const { return m_showingCleanProtectionSheet; }
    void setShowingCleanProtectionSheet(bool showing);
    bool showingOptimizeProtectionSheet() const { return m_showingOptimizeProtectionSheet; }
    void setShowingOptimizeProtectionSheet(bool showing);
    bool canOpenSystemSettings() const;
    int purgeTargetTypeCount() const;

    // Entry point for pages: opens an editor, parks a destructive action, or runs it.
    Q_INVOKABLE void request(const AppAction& action);
    Q_INVOKABLE void confirmPendingAction();
    Q_INVOKABLE void cancelPendingAction();
    Q_INVOKABLE void dismissAlert();
    // Stops a running preview; the previous report stays.
    Q_INVOKABLE void cancelRun();
    // Runs an action now; the returned future finishes when the run has ended.
    QFuture<void> execute(const AppAction& action);

    const std::optional<CleanPreviewReport>& cleanPreviewReport() const { return m_cleanPreviewReport; }
    QVariant cleanPreviewReportValue() const;
    const std::optional<AnalysisReport>& analysisReport() const { return m_analysisReport; }
    QVariant analysisReportValue() const;
    const std::optional<PurgePreviewReport>& purgePreviewReport() const { return m_purgePreviewReport; }
    QVariant purgePreviewReportValue() const;
    const std::optional<InstallerPreviewReport>& installerPreviewReport() const
    {
        return m_installerPreviewReport;
    }
    QVariant installerPreviewReportValue() const;
    QVariantList installerScanLocations() const;
    const std::optional<UninstallPreviewReport>& uninstallPreviewReport() const
    {
        return m_uninstallPreviewReport;
    }
    QVariant uninstallPreviewReportValue() const;
    QVariantMap runProgress() const { return m_runProgress; }

    QString completedTitle(const AppAction& action) const;
    QString completedDetail(const AppAction& action) const;

    Q_INVOKABLE void openSystemSettingsPane(const QString& url);
    // Shows the item in the system file manager (Finder on macOS).
    Q_INVOKABLE void revealInFileManager(const QString& path);

    // Storage analysis and project cleanup
    Q_INVOKABLE void analyzePath(const QString& path);
    Q_INVOKABLE void analyzeParentPath();
    // The window's folder chooser hands over the chosen folder; an empty URL is a cancel.
    Q_INVOKABLE void chooseAnalysisPath(const QUrl& folder);
    Q_INVOKABLE void chooseScanPath(const QUrl& folder);
    // One project artefact to the Trash, after the page's confirmation.
    Q_INVOKABLE void moveToTrash(const QString& path);
    // Installer files and applications (with their leftovers) to the Trash, after confirmation, on a
    // worker thread; refused while another run goes on.
    Q_INVOKABLE void moveInstallersToTrash(const QStringList& paths);
    // The chosen apps go with those of their leftovers that are in leftoverPaths (the page starts
    // from the strong matches); a leftover of an app not chosen stays.
    Q_INVOKABLE void uninstallSelectedApps(const QStringList& ids, const QStringList& leftoverPaths);
    // One analysed file or folder to the Trash, after the page's confirmation.
    Q_INVOKABLE void moveAnalysisItemToTrash(const QString& path);

    // Statistics
    double lastInstallerScanDate() const { return m_stats.lastInstallerScanDate; }
    qint64 lastInstallerCleanedCount() const { return m_stats.lastInstallerCleanedCount; }
    qint64 lastInstallerCleanedBytes() const { return m_stats.lastInstallerCleanedBytes; }
    double lastPurgeScanDate() const { return m_stats.lastPurgeScanDate; }
    qint64 lastPurgeCleanedCount() const { return m_stats.lastPurgeCleanedCount; }
    qint64 lastPurgeCleanedBytes() const { return m_stats.lastPurgeCleanedBytes; }
    double lastAnalysisDate() const { return m_stats.lastAnalysisDate; }
    QString lastAnalysisPathStored() const { return m_stats.lastAnalysisPath; }
    qint64 lastAnalysisTotalSize() const { return m_stats.lastAnalysisTotalSize; }
    qint64 lastAnalysisTotalFiles() const { return m_stats.lastAnalysisTotalFiles; }
    double lastOptimizeDate() const { return m_stats.lastOptimizeDate; }
    qint64 lastOptimizeCount() const { return m_stats.lastOptimizeCount; }
    double lastUninstallDate() const { return m_stats.lastUninstallDate; }
    qint64 lastUninstallCount() const { return m_stats.lastUninstallCount; }
    double lastCleanDate() const { return m_stats.lastCleanDate; }
    qint64 lastCleanCount() const { return m_stats.lastCleanCount; }

    // Appearance and version
    bool showHealthAura() const { return m_showHealthAura; }
    void setShowHealthAura(bool show);
    QString customWindowBackgroundPath() const { return m_customWindowBackgroundPath; }
    QUrl customWindowBackgroundURL() const;
    int windowBackgroundRevision() const { return m_windowBackgroundRevision; }
    QString versionText() const { return m_versionText; }

    // The window opens the image chooser and hands over the chosen file; an empty URL is a cancel.
    Q_INVOKABLE void chooseWindowBackgroundImage(const QUrl& file);
    Q_INVOKABLE void clearWindowBackgroundImage();
    Q_INVOKABLE void sanitizeWindowBackgroundPathIfNeeded();
    Q_INVOKABLE void refreshEnvironment();
    // The start-up sequence, run once when the window is first shown.
    Q_INVOKABLE void startUp();

    // Protection list editor
    QString cleanWhitelistText() const { return m_cleanWhitelistText; }
    void setCleanWhitelistText(const QString& text);
    // Loads the stored list into the editor text; returns false (and raises an alert) on failure.
    Q_INVOKABLE bool loadCleanWhitelistEditor();
    // Returns true when the list was saved.
    Q_INVOKABLE bool saveCleanWhitelistEditor();
    Q_INVOKABLE void restoreCleanWhitelistDefaults();

    QStringList optimizeWhitelistSelection() const { return m_optimizeWhitelistSelection; }
    QStringList optimizeWhitelistCustomKeys() const { return m_optimizeWhitelistCustomKeys; }

signals:
    void runStateChanged();
    void pendingActionChanged();
    void statusChanged();
    void alertMessageChanged();
    void selectedFeatureChanged();
    void scanPathChanged();
    void analysisPathChanged();
    void protectionSheetsChanged();
    void statisticsChanged();
    void showHealthAuraChanged();
    void windowBackgroundChanged();
    void versionTextChanged();
    void cleanWhitelistTextChanged();
    void optimizeWhitelistChanged();
    void runProgressChanged();
    void cleanPreviewReportChanged();
    void analysisReportChanged();
    void purgePreviewReportChanged();
    void installerPreviewReportChanged();
    void installerScanLocationsChanged(); // the sources are named in the language of the moment
    void uninstallPreviewReportChanged();

private:
    struct Statistics {
        double lastInstallerScanDate = 0;
        qint64 lastInstallerCleanedCount = 0;
        qint64 lastInstallerCleanedBytes = 0;
        double lastPurgeScanDate = 0;
        qint64 lastPurgeCleanedCount = 0;
        qint64 lastPurgeCleanedBytes = 0;
        double lastAnalysisDate = 0;
        QString lastAnalysisPath;
        qint64 lastAnalysisTotalSize = 0;
        qint64 lastAnalysisTotalFiles = 0;
        double lastOptimizeDate = 0;
        qint64 lastOptimizeCount = 0;
        double lastUninstallDate = 0;
        qint64 lastUninstallCount = 0;
        double lastCleanDate = 0;
        qint64 lastCleanCount = 0;
    };

    void loadStoredValues();
    // Assigns and notifies observers only when the value changes.
    template <typename T> void assign(T& member, const T& value, void (AppModel::*changed)());
    // Runs the branch of one action; the future finishes when its result texts are set.
    QFuture<void> dispatch(const AppAction& action);
    QFuture<void> runCleanPreview();
    QFuture<void> runClean();
    // A real clean's end: its result, none when the preview before it was cancelled, or why it
    // stopped before removing anything.
    struct CleanOutcome {
        std::optional<LocalCleanResult> result;
        QString stopReason;
    };
    QFuture<CleanOutcome> cleanPreviewed(std::optional<CleanPreviewReport> report);
    QFuture<void> finishClean(CleanOutcome outcome);
    // Raises the alert and returns true when the home folder cannot be trusted with removals.
    bool homeRefused();
    // A fresh clean preview on a worker thread, reporting progress; none when cancelled.
    QFuture<std::optional<CleanPreviewReport>> takeCleanPreview();
    void setCleanPreviewReport(std::optional<CleanPreviewReport> report);
    // Storage analysis and project cleanup
    QFuture<void> refreshAnalysisReport(const QString& path);
    QFuture<void> runPurgePreview();
    QFuture<void> runInstallerPreview();
    QFuture<void> runUninstallPreview();
    LocalInstallerPreview::Places installerPlaces() const;
    void setInstallerPreviewReport(std::optional<InstallerPreviewReport> report);
    void setUninstallPreviewReport(std::optional<UninstallPreviewReport> report);
    void setAnalysisReport(std::optional<AnalysisReport> report);
    void setPurgePreviewReport(std::optional<PurgePreviewReport> report);
    // An item a scan listed, to be moved to the Trash: where it was and what it was then.
    struct TrashItem {
        QString path;
        std::optional<FileIdentity> identity;
    };
    // The guarded move (ScanPathGuard::moveToTrash); raises the alert and returns false on refusal or
    // failure.
    bool trashGuarded(const TrashItem& item);
    // What a batch of moves did: the paths now in the Trash, and why the others did not go.
    struct TrashBatch {
        QSet<QString> moved;
        qint64 failed = 0;
        std::vector<FileRemover::LeftBehind> left;
    };
    // Every item through the guarded move; a refusal or failure counts and the rest goes on, no alert
    // interrupting the batch.
    static TrashBatch trashAll(const std::vector<TrashItem>& items, const QString& home);
    // Runs trashAll on a worker thread, so that a slow move never holds up the window, then finish on
    // the main thread. The controller reads as running (for feature, if any) until finish has
    // published the outcome; a batch with failures says why in the alert.
    void trashInBackground(std::vector<TrashItem> items, std::optional<AppFeature> feature,
                           std::function<void(TrashBatch)> finish);
    void setRunProgress(const QVariantMap& progress);
    // Runs work(cancelled, relay) on a worker thread with a fresh cancel flag and progress relay; the
    // result is none when the run was cancelled. Defined in AppModelRuns.h.
    template <typename Work> auto runCancellable(Work work);
    // Continues such a run on the main thread: publish(report) once it finished; once it was
    // cancelled, the status names the cancelled run and the previous report stays. Defined in
    // AppModelRuns.h.
    template <typename Report, typename Publish>
    QFuture<void> publishUnlessCancelled(QFuture<std::optional<Report>> run, const char* cancelledZh,
                                         const char* cancelledEn, Publish publish);
    // Starts polling the relay a worker posts to; the returned relay belongs to this run.
    std::shared_ptr<ProgressRelay> beginProgress();
    void endProgress();
    // Writes one statistic to the store and the published property at once.
    template <typename T> void storeStatistic(T Statistics::*field, const QString& key, T value);
    void setRunning(bool running, std::optional<AppFeature> feature);
    void setStatus(const QString& title, const QString& detail);
    void setAlertMessage(std::optional<QString> message);
    void setPendingAction(std::optional<AppAction> action);
    void setCustomWindowBackgroundPath(const QString& path);
    QString localVersionText() const;

    Environment m_environment;
    bool m_isRunning = false;
    std::optional<AppFeature> m_runningFeature;
    std::optional<AppAction> m_pendingAction;
    QString m_statusTitle;
    QString m_statusDetail;
    std::optional<QString> m_alertMessage;
    AppFeature m_selectedFeature = AppFeature::dashboard;
    QString m_scanPath;
    QString m_analysisPath;
    bool m_showingCleanProtectionSheet = false;
    bool m_showingOptimizeProtectionSheet = false;
    QVariantMap m_runProgress;
    std::shared_ptr<ProgressRelay> m_progressRelay;
    QTimer m_progressTimer;
    std::shared_ptr<std::atomic_bool> m_cancelRun = std::make_shared<std::atomic_bool>(false);
    std::optional<CleanPreviewReport> m_cleanPreviewReport;
    std::optional<AnalysisReport> m_analysisReport;
    std::optional<PurgePreviewReport> m_purgePreviewReport;
    std::optional<InstallerPreviewReport> m_installerPreviewReport;
    std::optional<UninstallPreviewReport> m_uninstallPreviewReport;
    QSet<QString> m_trashedPurgePaths; // artefacts of the shown scan already moved to the Trash

    Statistics m_stats;
    bool m_showHealthAura = true;
    QString m_customWindowBackgroundPath;
    int m_windowBackgroundRevision = 0;
    QString m_versionText;
    QString m_cleanWhitelistText;
    QStringList m_optimizeWhitelistSelection;
    QStringList m_optimizeWhitelistCustomKeys;
};
