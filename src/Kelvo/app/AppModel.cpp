#include "app/AppModel.h"

#include "app/AppModelSupport.h"

#include "platform/Desktop.h"

#include <QPromise>

#include <chrono>

using namespace AppModelSupport;
using namespace std::chrono_literals;

AppModel::AppModel(Environment environment, QObject* parent)
    : QObject(parent)
    , m_environment(std::move(environment))
{
    connect(&m_analysis, &AnalysisController::analysisRequested, this,
            [this](const QString& path) { request(AppActionFactory::analyze(path, true)); });
}

AppModel::~AppModel()
{
    m_runs.shutDown(2s);
}

QVariant AppModel::pendingActionValue() const
{
    return m_pendingAction ? QVariant::fromValue(*m_pendingAction) : QVariant();
}

QString AppModel::pendingActionNote() const
{
    if (m_pendingAction && m_pendingAction->arguments.contains(QStringLiteral("optimize")))
        return m_optimize.confirmationNote();
    if (m_pendingAction && m_pendingAction->arguments.contains(QStringLiteral("clean")))
        return m_clean.confirmationNote();
    return {};
}

void AppModel::setSelectedFeature(AppFeature feature)
{
    if (feature == m_selectedFeature)
        return;
    m_selectedFeature = feature;
    emit selectedFeatureChanged();
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
        if (m_clean.loadWhitelistEditor())
            m_clean.setShowingProtectionSheet(true);
        return;
    }
    if (action.arguments == QStringList{QStringLiteral("optimize"), QStringLiteral("--whitelist")}) {
        if (m_optimize.loadWhitelistEditor())
            m_optimize.setShowingProtectionSheet(true);
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

QFuture<void> AppModel::execute(const AppAction& action)
{
    m_runs.setStatus(LocalText::same(action.title), both("正在处理，请稍等。", "Working, please wait."));
    return dispatch(action);
}

QFuture<void> AppModel::dispatch(const AppAction& action)
{
    const QStringList& words = action.arguments;
    if (containsAll(words, {"analyze", "--json"}))
        return m_analysis.refresh();
    if (containsAll(words, {"clean", "--dry-run"}))
        return m_clean.preview();
    if (containsAll(words, {"optimize", "--dry-run"}))
        return m_optimize.preview();
    if (containsAll(words, {"uninstall", "--dry-run"}))
        return m_uninstall.scan();
    if (containsAll(words, {"installer", "--dry-run"}))
        return m_installer.scan();
    if (containsAll(words, {"purge", "--dry-run"}))
        return m_purge.scan();
    if (words.size() >= 2 && words.first() == QLatin1String("status") &&
        words.at(1) == QLatin1String("--json")) {
        const RunCoordinator::RunHandle run =
            m_runs.begin(QStringLiteral("status"), AppFeature::dashboard, false);
        auto ended = std::make_shared<QPromise<void>>();
        ended->start();
        connect(
            &m_status, &StatusController::refreshed, this,
            [this, run, ended] {
                m_runs.end(run);
                ended->finish();
            },
            Qt::SingleShotConnection);
        m_status.refresh(true);
        return ended->future();
    }
    // "clean --whitelist" opens the editor in request(); it never cleans, even when run directly.
    if (words.contains(QStringLiteral("clean")) && !words.contains(QStringLiteral("--whitelist")))
        return m_clean.cleanNow();
    if (words.contains(QStringLiteral("optimize")) && !words.contains(QStringLiteral("--whitelist")))
        return m_optimize.runNow();
    if (!words.isEmpty() && words.first() == QLatin1String("update")) {
        const RunCoordinator::RunHandle run = m_runs.begin(QStringLiteral("update"), std::nullopt, false);
        return m_update.checkForUpdates(false).then(this, [this, run, title = action.title] {
            m_runs.end(run);
            // Without a feed, or when the check failed, the check leaves the status line as it was.
            if (m_runs.statusTitle() == title)
                m_runs.setStatus(title, m_update.updateStatusDetail());
        });
    }
    // Everything else is done at once, but still runs as one run so the window sees it start and end.
    const RunCoordinator::RunHandle run =
        m_runs.begin(QStringLiteral("immediate"), AppActionFactory::featureForAction(action), false);
    if (words == QStringList{QStringLiteral("--version")}) {
        m_appearance.updateVersion();
    } else if (!words.isEmpty() &&
               QStringList{QStringLiteral("touchid"), QStringLiteral("completion"), QStringLiteral("remove")}
                   .contains(words.first())) {
        const QString message =
            L("这个功能还没有在 Kelvo 里提供。", "This feature is not available in Kelvo yet.");
        m_runs.setAlertMessage(message);
        m_runs.setStatus(L("暂不可用", "Not Available"), message);
    } else {
        m_runs.setStatus(L("处理完成", "Completed"), action.title + L(" 已结束。", " is finished."));
    }
    m_runs.end(run);
    return QtFuture::makeReadyFuture();
}

void AppModel::revealInFileManager(const QString& path)
{
    Desktop::reveal(path);
}

void AppModel::startUp()
{
    m_appearance.refreshEnvironment();
    m_appearance.sanitizeWindowBackgroundPathIfNeeded();
    // The safeguard choices are known before the Optimize page is first opened.
    m_optimize.loadSafeguardsQuietly();
    m_status.prime();
    // A quiet check: its outcome shows on the settings page only.
    m_update.checkForUpdates(true);
}
