#include "AppModel.h"
#include "AppModelRuns.h"
#include "AppModelSupport.h"

#include "CleanReportPresenter.h"
#include "LocalizationSettings.h"
#include "ProgressRelay.h"
#include "WindowBackgroundStore.h"

#include "clean/CleanPreviewService.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "platform/DefaultsStore.h"
#include "vocabulary/KelvoError.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QtConcurrent>

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

template <typename T> void AppModel::assign(T& member, const T& value, void (AppModel::*changed)())
{
    if (member == value)
        return;
    member = value;
    emit(this->*changed)();
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

// Smart Clean ---------------------------------------------------------------------------------------

QVariant AppModel::cleanPreviewReportValue() const
{
    return m_cleanPreviewReport ? QVariant(CleanReportPresenter::present(*m_cleanPreviewReport)) : QVariant();
}

void AppModel::setCleanPreviewReport(std::optional<CleanPreviewReport> report)
{
    m_cleanPreviewReport = std::move(report);
    emit cleanPreviewReportChanged();
}

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
    return takeCleanPreview().then(this, [this](std::optional<CleanPreviewReport> report) {
        if (!report) {
            setStatus(L("预览已取消", "Preview Cancelled"),
                      L("保留了上一次的结果。", "The previous results are kept."));
            return;
        }
        setCleanPreviewReport(std::move(report));
        setStatus(L("预览完成", "Preview Complete"),
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

// Appearance and version ----------------------------------------------------------------------------

void AppModel::setShowHealthAura(bool show)
{
    if (show == m_showHealthAura)
        return;
    m_showHealthAura = show;
    storeValue(Keys::showHealthAura, show);
    emit showHealthAuraChanged();
}

QUrl AppModel::customWindowBackgroundURL() const
{
    if (m_customWindowBackgroundPath.isEmpty() || !QFileInfo(m_customWindowBackgroundPath).isFile())
        return {};
    return QUrl::fromLocalFile(m_customWindowBackgroundPath);
}

void AppModel::setCustomWindowBackgroundPath(const QString& path)
{
    m_customWindowBackgroundPath = path;
    storeValue(Keys::customWindowBackgroundPath, path);
    emit windowBackgroundChanged();
}

void AppModel::chooseWindowBackgroundImage(const QUrl& file)
{
    const QString sourcePath = file.toLocalFile();
    if (sourcePath.isEmpty())
        return;
    try {
        const QString installed =
            WindowBackgroundStore::installImage(sourcePath, m_environment.applicationSupport);
        ++m_windowBackgroundRevision;
        setCustomWindowBackgroundPath(installed);
    } catch (const KelvoError& error) {
        setAlertMessage(L("无法设置背景图片：", "Could not set the background image: ") +
                        error.description());
    }
}

void AppModel::clearWindowBackgroundImage()
{
    try {
        WindowBackgroundStore::removeInstalledImages(m_environment.applicationSupport);
    } catch (const KelvoError&) {
        // A copy left behind is removed by the next install or clear.
    }
    ++m_windowBackgroundRevision;
    setCustomWindowBackgroundPath(QString());
}

void AppModel::sanitizeWindowBackgroundPathIfNeeded()
{
    if (!m_customWindowBackgroundPath.isEmpty() && customWindowBackgroundURL().isEmpty())
        setCustomWindowBackgroundPath(QString());
}

QString AppModel::localVersionText() const
{
    return m_environment.bundleVersion.isEmpty() ? L("本地版本", "Local Build") : m_environment.bundleVersion;
}

void AppModel::refreshEnvironment()
{
    m_versionText = localVersionText();
    emit versionTextChanged();
    setStatus(L("Kelvo 已就绪", "Kelvo Is Ready"),
              L("可以直接检查、预览和整理，不需要外部终端工具。",
                "You can scan, preview, and clean directly without an external terminal tool."));
}

void AppModel::startUp()
{
    refreshEnvironment();
    sanitizeWindowBackgroundPathIfNeeded();
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
