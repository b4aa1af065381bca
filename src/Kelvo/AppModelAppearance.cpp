// The controller's appearance settings, version text and start-up.
#include "AppModel.h"
#include "AppModelSupport.h"
#include "WindowBackgroundStore.h"

#include "vocabulary/KelvoError.h"

#include <QFileInfo>

using namespace AppModelSupport;

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
