#include "app/LocalizationSettings.h"

#include "platform/LanguagePreferenceStore.h"

LocalizationSettings& LocalizationSettings::shared()
{
    static LocalizationSettings instance;
    return instance;
}

LocalizationSettings::LocalizationSettings()
    : m_preference(LanguagePreferenceStore::load())
{
    AppLocalization::setPreference(m_preference);
}

void LocalizationSettings::setPreference(AppLanguagePreference preference)
{
    if (preference == m_preference)
        return;
    m_preference = preference;
    // Engine texts follow the new language already while observers redraw.
    AppLocalization::setPreference(preference);
    emit preferenceChanged();
    LanguagePreferenceStore::save(preference);
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
