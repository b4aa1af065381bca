#include "app/AppModel.h"

#include "app/AppModelSupport.h"

#include "platform/DefaultsStore.h"
#include "platform/Desktop.h"

#include <QPromise>
#include <QSettings>

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
    if (m_pendingAction && m_pendingAction->operation == AppOperation::optimize)
        return m_optimize.confirmationNote();
    if (m_pendingAction && m_pendingAction->operation == AppOperation::clean)
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
    if (action.operation == AppOperation::cleanWhitelist) {
        // A list that cannot be read is reported instead of opening an editor whose save would
        // overwrite it.
        if (m_clean.loadWhitelistEditor())
            m_clean.setShowingProtectionSheet(true);
        return;
    }
    if (action.operation == AppOperation::optimizeWhitelist) {
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
    m_runs.setStatusFor(AppActionFactory::featureForAction(action), LocalText::same(action.title),
                        both("正在处理，请稍等。", "Working, please wait."));
    return dispatch(action);
}

QFuture<void> AppModel::dispatch(const AppAction& action)
{
    switch (action.operation) {
    case AppOperation::analyze:
        if (action.json)
            return m_analysis.refresh();
        break;
    case AppOperation::clean:
        return action.dryRun ? m_clean.preview() : m_clean.cleanNow();
    case AppOperation::optimize:
        return action.dryRun ? m_optimize.preview() : m_optimize.runNow();
    case AppOperation::uninstall:
        if (action.dryRun)
            return m_uninstall.scan();
        break;
    case AppOperation::installer:
        if (action.dryRun)
            return m_installer.scan();
        break;
    case AppOperation::purge:
        if (action.dryRun)
            return m_purge.scan();
        break;
    case AppOperation::status:
        if (action.json)
            return refreshStatus();
        break;
    case AppOperation::update:
        return checkForUpdates(action.title);
    // Nothing to run: the list editors open in request(), so run directly they neither clean nor
    // optimise.
    case AppOperation::cleanWhitelist:
    case AppOperation::optimizeWhitelist:
    case AppOperation::purgePaths:
    case AppOperation::touchID:
    case AppOperation::completion:
    case AppOperation::remove:
    case AppOperation::menu:
    case AppOperation::help:
    case AppOperation::version:
        break;
    }
    return finishAtOnce(action);
}

QFuture<void> AppModel::refreshStatus()
{
    const RunCoordinator::RunHandle run = m_runs.begin(RunKind::status, AppFeature::dashboard, false);
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

QFuture<void> AppModel::checkForUpdates(const QString& title)
{
    const RunCoordinator::RunHandle run = m_runs.begin(RunKind::update, std::nullopt, false);
    return m_update.checkForUpdates(false).then(this, [this, run, title] {
        m_runs.end(run);
        // Without a feed, or when the check failed, the check leaves the status line as it was.
        if (m_runs.statusTitle() == title)
            m_runs.setStatus(LocalText::same(title), m_update.statusDetailText());
    });
}

QFuture<void> AppModel::finishAtOnce(const AppAction& action)
{
    // Done at once, but still one run, so the window sees it start and end.
    const RunCoordinator::RunHandle run =
        m_runs.begin(RunKind::immediate, AppActionFactory::featureForAction(action), false);
    switch (action.operation) {
    case AppOperation::version:
        m_appearance.updateVersion();
        break;
    case AppOperation::touchID:
    case AppOperation::completion:
    case AppOperation::remove: {
        const LocalText message =
            both("这个功能还没有在 Kelvo 里提供。", "This feature is not available in Kelvo yet.");
        m_runs.setAlertMessage(message);
        m_runs.setStatus(both("暂不可用", "Not Available"), message);
        break;
    }
    default:
        m_runs.setStatus(both("处理完成", "Completed"),
                         LocalText::same(action.title) + both(" 已结束。", " is finished."));
        break;
    }
    m_runs.end(run);
    return QtFuture::makeReadyFuture();
}

namespace {
QString aboutFoldedKey(AppFeatureQml::Value page)
{
    const std::optional<AppFeature> feature = AppFeatureQml::feature(page);
    return QStringLiteral("kelvo.window.aboutFolded.") +
           (feature ? AppFeatures::rawValue(*feature) : QString());
}
} // namespace

bool AppModel::visitAboutBox(AppFeatureQml::Value page)
{
    const std::unique_ptr<QSettings> store = DefaultsStore::open();
    const bool visited = store->contains(aboutFoldedKey(page));
    const bool folded = DefaultsStore::readBool(*store, aboutFoldedKey(page), true);
    if (!visited)
        store->setValue(aboutFoldedKey(page), true);
    return visited && folded;
}

void AppModel::setAboutBoxFolded(AppFeatureQml::Value page, bool folded)
{
    AppModelSupport::storeValue(aboutFoldedKey(page), folded);
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
