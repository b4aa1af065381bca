#pragma once

#include "app/FeatureContext.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class SystemColorScheme;

// Appearance and settings: the colour scheme, the window background, the health aura, the version
// text and the system settings panes.
class AppearanceController : public QObject {
    Q_OBJECT
    // "light", "dark" or "system" (follow the desktop); `dark` is the scheme in effect.
    Q_PROPERTY(QString colorScheme READ colorScheme WRITE setColorScheme NOTIFY colorSchemeChanged)
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)
    Q_PROPERTY(bool showHealthAura READ showHealthAura WRITE setShowHealthAura NOTIFY showHealthAuraChanged)
    Q_PROPERTY(
        QString customWindowBackgroundPath READ customWindowBackgroundPath NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QUrl customWindowBackgroundURL READ customWindowBackgroundURL NOTIFY windowBackgroundChanged)
    Q_PROPERTY(int windowBackgroundRevision READ windowBackgroundRevision NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QString versionText READ versionText NOTIFY versionTextChanged)
    Q_PROPERTY(bool canOpenSystemSettings READ canOpenSystemSettings CONSTANT)

public:
    AppearanceController(const FeatureContext& context, QObject* parent = nullptr);
    ~AppearanceController() override;

    QString colorScheme() const { return m_colorScheme; }
    void setColorScheme(const QString& scheme);
    bool dark() const { return m_dark; }

    bool showHealthAura() const { return m_showHealthAura; }
    void setShowHealthAura(bool show);
    QString customWindowBackgroundPath() const { return m_customWindowBackgroundPath; }
    QUrl customWindowBackgroundURL() const;
    int windowBackgroundRevision() const { return m_windowBackgroundRevision; }
    QString versionText() const { return m_versionText; }
    bool canOpenSystemSettings() const;

    // The window opens the image chooser and hands over the chosen file; an empty URL is a cancel.
    Q_INVOKABLE void chooseWindowBackgroundImage(const QUrl& file);
    Q_INVOKABLE void clearWindowBackgroundImage();
    // Forgets a stored background whose copy is gone.
    Q_INVOKABLE void sanitizeWindowBackgroundPathIfNeeded();
    Q_INVOKABLE void refreshEnvironment();
    // The version action: the version text, read again, in the status line.
    void updateVersion();
    Q_INVOKABLE void openSystemSettingsPane(const QString& url);

signals:
    void colorSchemeChanged();
    void darkChanged();
    void showHealthAuraChanged();
    void windowBackgroundChanged();
    void versionTextChanged();

private:
    void setCustomWindowBackgroundPath(const QString& path);
    QString localVersionText() const;
    void updateDark();

    const FeatureContext& m_context;
    std::unique_ptr<SystemColorScheme> m_systemColorScheme;
    QString m_colorScheme;
    bool m_dark = false;
    bool m_showHealthAura = true;
    QString m_customWindowBackgroundPath;
    int m_windowBackgroundRevision = 0;
    QString m_versionText;
};
