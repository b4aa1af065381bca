#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class AppLanguagePreference { system, chinese, english };
enum class AppResolvedLanguage { chinese, english };

// The language rule: every text is a Chinese/English pair chosen when it is produced.
namespace AppLocalization {
// "system", "chinese" or "english", as the preference is stored and shown.
QString rawValue(AppLanguagePreference preference);

// Only the first preferred language counts: "zh..." in any case means Chinese.
AppResolvedLanguage resolvedLanguage(AppLanguagePreference preference, const QStringList& preferredLanguages);
QString text(const QString& zh, const QString& en, AppLanguagePreference preference,
             const QStringList& preferredLanguages);

// The system's preferred languages, most preferred first.
QStringList systemPreferredLanguages();
// Forces one language for the rest of this process (the command line's --lang); none goes back to
// the preference.
void overrideLanguage(std::optional<AppResolvedLanguage> language);
// The preference texts follow, held in memory for the whole process and safe to use from any thread:
// the application sets it from the stored one at start and again on every change, before it stores
// the change. Until then it is system.
void setPreference(AppLanguagePreference preference);
AppLanguagePreference preference();
// The language resolved now from the preference and the system languages.
AppResolvedLanguage currentLanguage();
// The text make() produces with this thread's texts in `language`, whatever the preference.
QString madeIn(AppResolvedLanguage language, const std::function<QString()>& make);
// zh or en by currentLanguage(); the engine's way of producing a text.
QString localized(const QString& zh, const QString& en);
} // namespace AppLocalization
