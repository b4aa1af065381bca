#pragma once

#include "app/FeatureContext.h"

#include <QObject>
#include <QString>
#include <QUrl>

// Appearance and settings: the window background, the health aura, the version text and the system
// settings panes.
class AppearanceController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool showHealthAura READ showHealthAura WRITE setShowHealthAura NOTIFY showHealthAuraChanged)
    Q_PROPERTY(
        QString customWindowBackgroundPath READ customWindowBackgroundPath NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QUrl customWindowBackgroundURL READ customWindowBackgroundURL NOTIFY windowBackgroundChanged)
    Q_PROPERTY(int windowBackgroundRevision READ windowBackgroundRevision NOTIFY windowBackgroundChanged)
    Q_PROPERTY(QString versionText READ versionText NOTIFY versionTextChanged)
    Q_PROPERTY(bool canOpenSystemSettings READ canOpenSystemSettings CONSTANT)

public:
    AppearanceController(const FeatureContext& context, QObject* parent = nullptr);

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
    void showHealthAuraChanged();
    void windowBackgroundChanged();
    void versionTextChanged();

private:
    void setCustomWindowBackgroundPath(const QString& path);
    QString localVersionText() const;

    const FeatureContext& m_context;
    bool m_showHealthAura = true;
    QString m_customWindowBackgroundPath;
    int m_windowBackgroundRevision = 0;
    QString m_versionText;
};
