#pragma once

#include "vocabulary/AppLocalization.h"

#include <QString>

class QSettings;

// The user's stored language choice, "kelvo.language.preference" in the defaults store. The
// application loads it at start and saves every change; the engine's texts follow the live
// preference it hands to AppLocalization, never the store.
namespace LanguagePreferenceStore {
QString key();

// "chinese" and "english" (exactly, as text) load as themselves; anything else, or nothing, as system.
AppLanguagePreference load(const QSettings& defaults);
void save(AppLanguagePreference preference, QSettings& defaults);

// The same in the standard defaults store.
AppLanguagePreference load();
void save(AppLanguagePreference preference);
} // namespace LanguagePreferenceStore
