#include "app/LocalizationSettings.h"

#include "platform/DefaultsStore.h"

#include <QSettings>

LocalizationSettings& LocalizationSettings::shared()
{
    static LocalizationSettings instance;
    return instance;
}

LocalizationSettings::LocalizationSettings()
    : m_preference(AppLocalization::loadPreference(*DefaultsStore::open()))
{
    AppLocalization::useLivePreference(m_preference);
}

void LocalizationSettings::setPreference(AppLanguagePreference preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    // Engine texts follow the new language already while observers redraw.
    AppLocalization::useLivePreference(preference);
    emit preferenceChanged();
    AppLocalization::savePreference(preference, *DefaultsStore::open());
}

QString LocalizationSettings::preferenceRawValue() const
{
    return AppLocalization::rawValue(m_preference);
}

void LocalizationSettings::setPreferenceRawValue(const QString& rawValue)
{
    for (AppLanguagePreference candidate :
         {AppLanguagePreference::system, AppLanguagePreference::chinese, AppLanguagePreference::english}) {
        if (AppLocalization::rawValue(candidate) == rawValue) {
            setPreference(candidate);
            return;
        }
    }
}

AppResolvedLanguage LocalizationSettings::resolvedLanguage() const
{
    return AppLocalization::resolvedLanguage(m_preference, AppLocalization::systemPreferredLanguages());
}

QString LocalizationSettings::text(const QString& zh, const QString& en) const
{
    return AppLocalization::text(zh, en, m_preference, AppLocalization::systemPreferredLanguages());
}
