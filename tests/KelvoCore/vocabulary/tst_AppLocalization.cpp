// The language rule: how a preference and the system's languages pick Chinese or English, and how
// the preference is kept in the defaults store.
#include "TestMain.h"

#include "Language.h"
#include "SyntheticHome.h"

using namespace TestSupport;

Q_DECLARE_METATYPE(AppLanguagePreference)
Q_DECLARE_METATYPE(AppResolvedLanguage)

class AppLocalizationTest : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_box;

private slots:
    void init() { m_box.renew(); }

    void languageIsResolved_data()
    {
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QStringList>("preferredLanguages");
        QTest::addColumn<AppResolvedLanguage>("expected");
        const auto system = AppLanguagePreference::system;
        const auto chinese = AppResolvedLanguage::chinese;
        const auto english = AppResolvedLanguage::english;
        row("traditional chinese", system, QStringList{"zh-Hant-TW"}, chinese);
        row("any case", system, QStringList{"Zh_TW"}, chinese);
        row("english", system, QStringList{"en-US", "zh-CN"}, english);
        row("only the first language counts", system, QStringList{"ja", "zh-CN"}, english);
        row("empty list", system, QStringList{}, english);
        row("zh must be at the start", system, QStringList{"en-zh"}, english);
        row("chinese whatever the system", AppLanguagePreference::chinese, QStringList{}, chinese);
        row("english whatever the system", AppLanguagePreference::english, QStringList{"zh-CN"}, english);
    }
    void languageIsResolved()
    {
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QStringList, preferredLanguages);
        QFETCH(AppResolvedLanguage, expected);
        QCOMPARE(AppLocalization::resolvedLanguage(preference, preferredLanguages), expected);
        QCOMPARE(AppLocalization::text("中文", "English", preference, preferredLanguages),
                 QString(expected == AppResolvedLanguage::chinese ? "中文" : "English"));
    }

    // Only the exact words count; anything else stored under the key reads as the system's choice.
    void storedPreferenceIsLoaded_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
        QTest::addColumn<AppLanguagePreference>("expected");
        row("missing", QVariant(), AppLanguagePreference::system);
        row("chinese", QVariant("chinese"), AppLanguagePreference::chinese);
        row("english", QVariant("english"), AppLanguagePreference::english);
        row("capitalised", QVariant("Chinese"), AppLanguagePreference::system);
        row("padded", QVariant(" english"), AppLanguagePreference::system);
        row("a number", QVariant(1), AppLanguagePreference::system);
        row("a list", QVariant(QStringList{"chinese"}), AppLanguagePreference::system);
    }
    void storedPreferenceIsLoaded()
    {
        QFETCH(QVariant, stored);
        QFETCH(AppLanguagePreference, expected);
        const QString file = m_box.path("defaults.ini");
        if (stored.isValid())
            QSettings(file, QSettings::IniFormat).setValue(AppLocalization::preferenceKey(), stored);
        QCOMPARE(AppLocalization::loadPreference(QSettings(file, QSettings::IniFormat)), expected);
    }

    void savedPreferenceReplacesTheLastAndLoadsBack()
    {
        QSettings store(m_box.path("defaults.ini"), QSettings::IniFormat);
        for (auto preference : {AppLanguagePreference::chinese, AppLanguagePreference::system,
                                AppLanguagePreference::english}) {
            AppLocalization::savePreference(preference, store);
            QCOMPARE(AppLocalization::loadPreference(store), preference);
        }
        QCOMPARE(store.value(AppLocalization::preferenceKey()), QVariant("english"));
    }

    void localizedReadsTheStoredPreferenceAtEachCall()
    {
        useLanguage(AppLanguagePreference::english);
        QCOMPARE(AppLocalization::localized("中文", "English"), QString("English"));
        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(AppLocalization::localized("中文", "English"), QString("中文"));
        QCOMPARE(AppLocalization::currentLanguage(), AppResolvedLanguage::chinese);
    }
};

KELVO_REGISTER_TEST(AppLocalizationTest)
#include "tst_AppLocalization.moc"
