#include "vocabulary/AppLocalization.h"

#include "vocabulary/TargetSystem.h"

#include <QLocale>

#include <atomic>

namespace AppLocalization {

QString rawValue(AppLanguagePreference preference)
{
    switch (preference) {
    case AppLanguagePreference::system:
        return QStringLiteral("system");
    case AppLanguagePreference::chinese:
        return QStringLiteral("chinese");
    case AppLanguagePreference::english:
        return QStringLiteral("english");
    }
    Q_UNREACHABLE();
    return {};
}

AppResolvedLanguage resolvedLanguage(AppLanguagePreference preference, const QStringList& preferredLanguages)
{
    switch (preference) {
    case AppLanguagePreference::chinese:
        return AppResolvedLanguage::chinese;
    case AppLanguagePreference::english:
        return AppResolvedLanguage::english;
    case AppLanguagePreference::system:
        break;
    }
    const QString first = preferredLanguages.isEmpty() ? QString() : preferredLanguages.first();
    return first.toLower().startsWith(QLatin1String("zh")) ? AppResolvedLanguage::chinese
                                                           : AppResolvedLanguage::english;
}

QString text(const QString& zh, const QString& en, AppLanguagePreference preference,
             const QStringList& preferredLanguages)
{
    return resolvedLanguage(preference, preferredLanguages) == AppResolvedLanguage::chinese ? zh : en;
}

QStringList systemPreferredLanguages()
{
    return QLocale::system().uiLanguages();
}

namespace {
// -1: none; otherwise an AppResolvedLanguage value.
std::atomic_int runOverride = -1;
std::atomic<AppLanguagePreference> livePreference = AppLanguagePreference::system;
// -1: none; otherwise the AppResolvedLanguage a text is being made in on this thread (madeIn).
thread_local int makingIn = -1;
} // namespace

QString madeIn(AppResolvedLanguage language, const std::function<QString()>& make)
{
    const int outer = makingIn;
    makingIn = int(language);
    QString text = make();
    makingIn = outer;
    return text;
}

void overrideLanguage(std::optional<AppResolvedLanguage> language)
{
    runOverride = language ? int(*language) : -1;
}

void setPreference(AppLanguagePreference preference)
{
    livePreference = preference;
}

AppLanguagePreference preference()
{
    return livePreference;
}

AppResolvedLanguage currentLanguage()
{
    if (makingIn >= 0)
        return AppResolvedLanguage(makingIn);
    if (const int forced = runOverride; forced >= 0)
        return AppResolvedLanguage(forced);
    return resolvedLanguage(preference(), systemPreferredLanguages());
}

QString localized(const QString& zh, const QString& en)
{
    if (currentLanguage() != AppResolvedLanguage::chinese)
        return en;
    // The texts name the Trash as macOS does (废纸篓); Chinese Linux desktops call it 回收站.
    static const bool recycleBin = TargetSystems::built() == TargetSystem::linuxDesktop;
    static const QString macWord = QStringLiteral("废纸篓"), linuxWord = QStringLiteral("回收站");
    return recycleBin && zh.contains(macWord) ? QString(zh).replace(macWord, linuxWord) : zh;
}

} // namespace AppLocalization
