#pragma once

#include "vocabulary/AppLocalization.h"

#include <QObject>
#include <QString>

// The user's language choice: one shared, observable instance, persisted in the defaults store.
class LocalizationSettings : public QObject {
    Q_OBJECT
    // "system", "chinese" or "english".
    Q_PROPERTY(
        QString preference READ preferenceRawValue WRITE setPreferenceRawValue NOTIFY preferenceChanged)
    // True when texts are shown in Chinese now; QML bindings read it so they re-evaluate on a switch.
    Q_PROPERTY(bool chinese READ isChinese NOTIFY preferenceChanged)

public:
    static LocalizationSettings& shared();

    AppLanguagePreference preference() const { return m_preference; }
    // Publishes the change to observers first, then stores it.
    void setPreference(AppLanguagePreference preference);

    QString preferenceRawValue() const;
    void setPreferenceRawValue(const QString& rawValue);

    AppResolvedLanguage resolvedLanguage() const;
    bool isChinese() const { return resolvedLanguage() == AppResolvedLanguage::chinese; }

    // Chinese first, English second, resolved at each call.
    Q_INVOKABLE QString text(const QString& zh, const QString& en) const;

signals:
    void preferenceChanged();

private:
    LocalizationSettings();
    AppLanguagePreference m_preference = AppLanguagePreference::system;
};
