#include "platform/LanguagePreferenceStore.h"

#include "platform/DefaultsStore.h"

#include <QSettings>

namespace LanguagePreferenceStore {

QString key()
{
    return QStringLiteral("kelvo.language.preference");
}

AppLanguagePreference load(const QSettings& defaults)
{
    // Strict: only a text value counts, so a number or a list stored under the key reads as system.
    const QString stored = DefaultsStore::readString(defaults, key());
    if (stored == AppLocalization::rawValue(AppLanguagePreference::chinese))
        return AppLanguagePreference::chinese;
    if (stored == AppLocalization::rawValue(AppLanguagePreference::english))
        return AppLanguagePreference::english;
    return AppLanguagePreference::system;
}

void save(AppLanguagePreference preference, QSettings& defaults)
{
    defaults.setValue(key(), AppLocalization::rawValue(preference));
}

AppLanguagePreference load()
{
    return load(*DefaultsStore::open());
}

void save(AppLanguagePreference preference)
{
    save(preference, *DefaultsStore::open());
}

} // namespace LanguagePreferenceStore
