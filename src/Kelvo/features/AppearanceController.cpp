#include "features/AppearanceController.h"

#include "app/AppModelSupport.h"
#include "app/WindowBackgroundStore.h"

#include "platform/DefaultsStore.h"
#include "platform/Desktop.h"
#include "platform/SystemColorScheme.h"
#include "vocabulary/KelvoError.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QSettings>

using namespace AppModelSupport;

namespace {
const QString colorSchemeKey = QStringLiteral("kelvo.appearance.colorScheme");
const QString showHealthAuraKey = QStringLiteral("showHealthAura");
const QString customWindowBackgroundPathKey = QStringLiteral("customWindowBackgroundPath");
} // namespace

AppearanceController::AppearanceController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_systemColorScheme(SystemColorScheme::create())
    , m_versionText(QStringLiteral("未检查"))
{
    const std::unique_ptr<QSettings> store = DefaultsStore::open();
    m_colorScheme = SystemColorScheme::normalizedChoice(DefaultsStore::readString(*store, colorSchemeKey));
    m_dark = SystemColorScheme::isDark(m_colorScheme, m_systemColorScheme->prefersDark());
    connect(m_systemColorScheme.get(), &SystemColorScheme::prefersDarkChanged, this,
            &AppearanceController::updateDark);
    m_showHealthAura = DefaultsStore::readBool(*store, showHealthAuraKey, true);
    m_customWindowBackgroundPath = DefaultsStore::readString(*store, customWindowBackgroundPathKey);
}

AppearanceController::~AppearanceController() = default;

void AppearanceController::setColorScheme(const QString& scheme)
{
    const QString normalized = SystemColorScheme::normalizedChoice(scheme);
    if (normalized == m_colorScheme)
        return;
    m_colorScheme = normalized;
    storeValue(colorSchemeKey, normalized);
    emit colorSchemeChanged();
    updateDark();
}

void AppearanceController::updateDark()
{
    const bool dark = SystemColorScheme::isDark(m_colorScheme, m_systemColorScheme->prefersDark());
    if (dark == m_dark)
        return;
    m_dark = dark;
    emit darkChanged();
}

void AppearanceController::setShowHealthAura(bool show)
{
    if (show == m_showHealthAura)
        return;
    m_showHealthAura = show;
    storeValue(showHealthAuraKey, show);
    emit showHealthAuraChanged();
}

QUrl AppearanceController::customWindowBackgroundURL() const
{
    if (m_customWindowBackgroundPath.isEmpty() || !QFileInfo(m_customWindowBackgroundPath).isFile())
        return {};
    return QUrl::fromLocalFile(m_customWindowBackgroundPath);
}

bool AppearanceController::canOpenSystemSettings() const
{
    return Desktop::hasPrivacySettings();
}

void AppearanceController::setCustomWindowBackgroundPath(const QString& path)
{
    m_customWindowBackgroundPath = path;
    storeValue(customWindowBackgroundPathKey, path);
    emit windowBackgroundChanged();
}

void AppearanceController::chooseWindowBackgroundImage(const QUrl& file)
{
    const QString sourcePath = file.toLocalFile();
    if (sourcePath.isEmpty())
        return;
    try {
        const QString installed = WindowBackgroundStore::installImage(
            sourcePath, m_context.environment.applicationSupport, m_context.environment.home);
        ++m_windowBackgroundRevision;
        setCustomWindowBackgroundPath(installed);
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(both("无法设置背景图片：", "Could not set the background image: ") +
                                       error.description());
    }
}

void AppearanceController::clearWindowBackgroundImage()
{
    try {
        WindowBackgroundStore::removeInstalledImages(m_context.environment.applicationSupport,
                                                     m_context.environment.home);
    } catch (const KelvoError&) {
        // A copy left behind is removed by the next install or clear.
    }
    ++m_windowBackgroundRevision;
    setCustomWindowBackgroundPath(QString());
}

void AppearanceController::sanitizeWindowBackgroundPathIfNeeded()
{
    if (!m_customWindowBackgroundPath.isEmpty() && customWindowBackgroundURL().isEmpty())
        setCustomWindowBackgroundPath(QString());
}

QString AppearanceController::localVersionText() const
{
    return m_context.environment.version.isEmpty() ? L("本地版本", "Local Build")
                                                   : m_context.environment.version;
}

void AppearanceController::refreshEnvironment()
{
    m_versionText = localVersionText();
    emit versionTextChanged();
    m_context.runs.setStatusFor(
        std::nullopt, both("Kelvo 已就绪", "Kelvo Is Ready"),
        both("可以直接检查、预览和整理，不需要外部终端工具。",
             "You can scan, preview, and clean directly without an external terminal tool."));
}

void AppearanceController::updateVersion()
{
    m_versionText = localVersionText();
    emit versionTextChanged();
    m_context.runs.setStatus(both("版本已更新", "Version Updated"), LocalText::same(m_versionText));
}

void AppearanceController::openSystemSettingsPane(const QString& url)
{
    const QUrl target(url, QUrl::StrictMode);
    if (!target.isValid() || target.scheme().isEmpty())
        return;
    QDesktopServices::openUrl(target);
}
