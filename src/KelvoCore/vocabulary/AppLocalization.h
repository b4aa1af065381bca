#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSettings;

enum class AppLanguagePreference { system, chinese, english };
enum class AppResolvedLanguage { chinese, english };

// The language rule: every text is a Chinese/English pair chosen when it is produced.
namespace AppLocalization {
QString preferenceKey();

QString rawValue(AppLanguagePreference preference);

// "chinese" and "english" (exactly) load as themselves; anything else, or nothing, as system.
AppLanguagePreference loadPreference(const QSettings& defaults);
void savePreference(AppLanguagePreference preference, QSettings& defaults);

// Only the first preferred language counts: "zh..." in any case means Chinese.
AppResolvedLanguage resolvedLanguage(AppLanguagePreference preference, const QStringList& preferredLanguages);
QString text(const QString& zh, const QString& en, AppLanguagePreference preference,
             const QStringList& preferredLanguages);

// The system's preferred languages, most preferred first.
QStringList systemPreferredLanguages();
// Forces one language for the rest of this process without storing it (the command line's --lang);
// none goes back to the stored preference.
void overrideLanguage(std::optional<AppResolvedLanguage> language);
// The application's preference as it holds it in memory, which texts then follow at once, before
// the store is written; none goes back to reading the store.
void useLivePreference(std::optional<AppLanguagePreference> preference);
// The language resolved now from the stored preference (standard defaults) and the system languages.
AppResolvedLanguage currentLanguage();
// The text make() produces with this thread's texts in `language`, whatever the preference.
QString madeIn(AppResolvedLanguage language, const std::function<QString()>& make);
// zh or en by currentLanguage(); the engine's way of producing a text.
QString localized(const QString& zh, const QString& en);
} // namespace AppLocalization
