#pragma once

// The display language the code under test follows: it reads the preference from the defaults store,
// which the test sandbox keeps in a temporary file.

#include "platform/DefaultsStore.h"
#include "vocabulary/AppLocalization.h"

#include <QSettings>

namespace TestSupport {

inline void useLanguage(AppLanguagePreference preference)
{
    AppLocalization::savePreference(preference, *DefaultsStore::open());
}

// Leaves the choice to the system languages again.
inline void forgetLanguage()
{
    DefaultsStore::open()->remove(AppLocalization::preferenceKey());
}

} // namespace TestSupport
