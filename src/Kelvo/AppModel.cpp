#include "AppModel.h"

#include "AppModelRuns.h"
#include "AppModelSupport.h"
#include "LocalizationSettings.h"

#include <QDesktopServices>

using namespace AppModelSupport;

AppModel::AppModel(Environment environment, QObject* parent)
    : QObject(parent)
    , m_environment(std::move(environment))
    // The first status line is Chinese whatever the language; every later one is localised.
    , m_statusTitle(QStringLiteral("准备就绪"))
    , m_statusDetail(QStringLiteral("选择一个项目开始检查。"))
    , m_scanPath(m_environment.home)
    , m_analysisPath(m_environment.home + QStringLiteral("/Library"))
    , m_versionText(QStringLiteral("未检查"))
{
    loadStoredValues();
    m_progressTimer.setInterval(100);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (!m_progressRelay)
            return;
        if (std::optional<QVariantMap> progress = m_progressRelay->take())
            setRunProgress(*progress);
    });
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this,
            &AppModel::installerScanLocationsChanged);
}

AppModel::~AppModel() = default;

void AppModel::loadStoredValues()
{
    const std::unique_ptr<QSettings> store = DefaultsStore::open();
    using DefaultsStore::readDouble;
    using DefaultsStore::readInt64;
    m_stats.lastInstallerScanDate = readDouble(*store, Keys::lastInstallerScanDate);
    m_stats.lastInstallerCleanedCount = readInt64(*store, Keys::lastInstallerCleanedCount);
    m_stats.lastInstallerCleanedBytes = readInt64(*store, Keys::lastInstallerCleanedBytes);
    m_stats.lastPurgeScanDate = readDouble(*store, Keys::lastPurgeScanDate);
    m_stats.lastPurgeCleanedCount = readInt64(*store, Keys::lastPurgeCleanedCount);
    m_stats.lastPurgeCleanedBytes = readInt64(*store, Keys::lastPurgeCleanedBytes);
    m_stats.lastAnalysisDate = readDouble(*store, Keys::lastAnalysisDate);
    m_stats.lastAnalysisPath = DefaultsStore::readString(*store, Keys::lastAnalysisPath);
    m_stats.lastAnalysisTotalSize = readInt64(*store, Keys::lastAnalysisTotalSize);
    m_stats.lastAnalysisTotalFiles = readInt64(*store, Keys::lastAnalysisTotalFiles);
    m_stats.lastOptimizeDate = readDouble(*store, Keys::lastOptimizeDate);
    m_stats.lastOptimizeCount = readInt64(*store, Keys::lastOptimizeCount);
    m_stats.lastUninstallDate = readDouble(*store, Keys::lastUninstallDate);
    m_stats.lastUninstallCount = readInt64(*store, Keys::lastUninstallCount);
    m_stats.lastCleanDate = readDouble(*store, Keys::lastCleanDate);
    m_stats.lastCleanCount = readInt64(*store, Keys::lastCleanCount);
    m_showHealthAura = DefaultsStore::readBool(*store, Keys::showHealthAura, true);
    m_customWindowBackgroundPath = DefaultsStore::readString(*store, Keys::customWindowBackgroundPath);
}

// Run lifecycle -------------------------------------------------------------------------------------

QString AppModel::runningFeatureRawValue() const
{
    return m_runningFeature ? AppFeatures::rawValue(*m_runningFeature) : QString();
}

QVariant AppModel::pendingActionValue() const
{
    return m_pendingAction ? QVariant::fromValue(*m_pendingAction) : QVariant();
}

QVariant AppModel::alertMessageValue() const
{
    return m_alertMessage ? QVariant(*m_alertMessage) : QVariant();
}

void AppModel::setSelectedFeature(AppFeature feature)
{
    assign(m_selectedFeature, feature, &AppModel::selectedFeatureChanged);
}

QString AppModel::selectedFeatureRawValue() const
{
    return AppFeatures::rawValue(m_selectedFeature);
}

void AppModel::setSelectedFeatureRawValue(const QString& rawValue)
{
    if (const std::optional<AppFeature> feature = AppFeatures::fromRawValue(rawValue))
        setSelectedFeature(*feature);
}

void AppModel::setScanPath(const QString& path)
{
    assign(m_scanPath, path, &AppModel::scanPathChanged);
}

void AppModel::setAnalysisPath(const QString& path)
{
    assign(m_analysisPath, path, &AppModel::analysisPathChanged);
}

void AppModel::setShowingCleanProtectionSheet(bool showing)
{
    assign(m_showingCleanProtectionSheet, showing, &AppModel::protectionSheetsChanged);
}

void AppModel::setShowingOptimizeProtectionSheet(bool showing)
{
    assign(m_showingOptimizeProtectionSheet, showing, &AppModel::protectionSheetsChanged);
}

bool AppModel::canOpenSystemSettings() const
{
#ifdef Q_OS_MACOS
    return true;
#else
    return false; // the privacy panes exist only in macOS System Settings
#endif
}

void AppModel::setRunning(bool running, std::optional<AppFeature> feature)
{
    m_isRunning = running;
    m_runningFeature = feature;
    emit runStateChanged();
}

void AppModel::setStatus(const QString& title, const QString& detail)
{
    m_statusTitle = title;
    m_statusDetail = detail;
    emit statusChanged();
}

void AppModel::setAlertMessage(std::optional<QString> message)
{
    m_alertMessage = std::move(message);
    emit alertMessageChanged();
}

void AppModel::setPendingAction(std::optional<AppAction> action)
{
    m_pendingAction = std::move(action);
    emit pendingActionChanged();
}

void AppModel::request(const AppAction& action)
{
    if (action.arguments == QStringList{QStringLiteral("clean"), QStringLiteral("--whitelist")}) {
        // A list that cannot be read is reported instead of opening an editor whose save would
        // overwrite it.
        if (loadCleanWhitelistEditor())
            setShowingCleanProtectionSheet(true);
        return;
    }
    if (action.isDestructive) {
        setPendingAction(action);
        return;
    }
    execute(action);
}

void AppModel::confirmPendingAction()
{
    if (!m_pendingAction)
        return;
    const AppAction action = *m_pendingAction;
    setPendingAction(std::nullopt);
    execute(action);
}

void AppModel::cancelPendingAction()
{
    setPendingAction(std::nullopt);
}

void AppModel::dismissAlert()
{
    setAlertMessage(std::nullopt);
}

QFuture<void> AppModel::execute(const AppAction& action)
{
    setRunning(true, AppActionFactory::featureForAction(action));
    setStatus(action.title, L("正在处理，请稍等。", "Working, please wait."));
    // The running flags are cleared on every path, a failed run included.
    const auto finish = [this] { setRunning(false, std::nullopt); };
    return dispatch(action).then(this, finish).onFailed(this, finish);
}

QFuture<void> AppModel::dispatch(const AppAction& action)
{
    const QStringList& words = action.arguments;
    if (containsAll(words, {"analyze", "--json"}))
        return refreshAnalysisReport(m_analysisPath);
    if (containsAll(words, {"clean", "--dry-run"}))
        return runCleanPreview();
    if (containsAll(words, {"uninstall", "--dry-run"}))
        return runUninstallPreview();
    if (containsAll(words, {"installer", "--dry-run"}))
        return runInstallerPreview();
    if (containsAll(words, {"purge", "--dry-run"}))
        return runPurgePreview();
    // "clean --whitelist" opens the editor in request(); it never cleans, even when run directly.
    if (words.contains(QStringLiteral("clean")) && !words.contains(QStringLiteral("--whitelist")))
        return runClean();
    if (words == QStringList{QStringLiteral("--version")}) {
        m_versionText = localVersionText();
        emit versionTextChanged();
        setStatus(L("版本已更新", "Version Updated"), m_versionText);
    } else if (!words.isEmpty() &&
               QStringList{QStringLiteral("touchid"), QStringLiteral("completion"), QStringLiteral("remove")}
                   .contains(words.first())) {
        const QString message =
            L("这个功能还没有在 Kelvo 里提供。", "This feature is not available in Kelvo yet.");
        setAlertMessage(message);
        setStatus(L("暂不可用", "Not Available"), message);
    } else {
        setStatus(completedTitle(action), completedDetail(action));
    }
    return QtFuture::makeReadyFuture();
}

// Progress of long runs ----------------------------------------------------------------------------

void AppModel::setRunProgress(const QVariantMap& progress)
{
    m_runProgress = progress;
    emit runProgressChanged();
}

std::shared_ptr<ProgressRelay> AppModel::beginProgress()
{
    m_progressRelay = std::make_shared<ProgressRelay>();
    m_progressTimer.start();
    emit runStateChanged();
    return m_progressRelay;
}

void AppModel::endProgress()
{
    m_progressTimer.stop();
    m_progressRelay.reset();
    emit runStateChanged();
    setRunProgress({});
}

void AppModel::cancelRun()
{
    if (canCancelRun())
        m_cancelRun->store(true);
}

QString AppModel::completedTitle(const AppAction& action) const
{
    if (containsAll(action.arguments, {"clean", "--dry-run"}))
        return L("预览完成", "Preview Complete");
    return L("处理完成", "Completed");
}

QString AppModel::completedDetail(const AppAction& action) const
{
    if (containsAll(action.arguments, {"clean", "--dry-run"}))
        return L("已检查可清理项目。正式清理前仍会让你确认。",
                 "Cleanable items have been checked. You will still confirm before the real cleanup.");
    return action.title + L(" 已结束。", " is finished.");
}

void AppModel::openSystemSettingsPane(const QString& url)
{
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.scheme().isEmpty())
        return;
    QDesktopServices::openUrl(target);
}
