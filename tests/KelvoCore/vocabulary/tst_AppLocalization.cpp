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

    void theKeyIsFixed()
    {
        QCOMPARE(AppLocalization::preferenceKey(), QStringLiteral("kelvo.language.preference"));
    }

    void languageIsResolved_data()
    {
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QStringList>("preferredLanguages");
        QTest::addColumn<AppResolvedLanguage>("expected");

        const auto system = AppLanguagePreference::system;
        const auto chinese = AppResolvedLanguage::chinese;
        const auto english = AppResolvedLanguage::english;
        row("simplified chinese", system, QStringList{"zh-CN"}, chinese);
        row("traditional chinese", system, QStringList{"zh-Hant-TW"}, chinese);
        row("upper case", system, QStringList{"ZH"}, chinese);
        row("mixed case with underscore", system, QStringList{"Zh_TW"}, chinese);
        row("english", system, QStringList{"en-US", "zh-CN"}, english);
        row("only the first language counts", system, QStringList{"ja", "zh-CN"}, english);
        row("empty list", system, QStringList{}, english);
        row("empty identifier", system, QStringList{"", "zh"}, english);
        row("zh must be at the start", system, QStringList{"en-zh"}, english);
        row("chinese whatever the system", AppLanguagePreference::chinese, QStringList{"en-US"}, chinese);
        row("chinese with no system languages", AppLanguagePreference::chinese, QStringList{}, chinese);
        row("english whatever the system", AppLanguagePreference::english, QStringList{"zh-Hans-CN"},
            english);
    }

    void languageIsResolved()
    {
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QStringList, preferredLanguages);
        QFETCH(AppResolvedLanguage, expected);

        QCOMPARE(AppLocalization::resolvedLanguage(preference, preferredLanguages), expected);
        const QString chosen = AppLocalization::text(QStringLiteral("中文"), QStringLiteral("English"),
                                                     preference, preferredLanguages);
        QCOMPARE(chosen, expected == AppResolvedLanguage::chinese ? QStringLiteral("中文")
                                                                  : QStringLiteral("English"));
    }

    void storedPreferenceIsLoaded_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
        QTest::addColumn<AppLanguagePreference>("expected");

        QTest::newRow("missing") << QVariant() << AppLanguagePreference::system;
        QTest::newRow("chinese") << QVariant(QStringLiteral("chinese")) << AppLanguagePreference::chinese;
        QTest::newRow("english") << QVariant(QStringLiteral("english")) << AppLanguagePreference::english;
        QTest::newRow("system") << QVariant(QStringLiteral("system")) << AppLanguagePreference::system;
        QTest::newRow("capitalised") << QVariant(QStringLiteral("Chinese")) << AppLanguagePreference::system;
        QTest::newRow("upper case") << QVariant(QStringLiteral("ENGLISH")) << AppLanguagePreference::system;
        QTest::newRow("padded") << QVariant(QStringLiteral(" chinese")) << AppLanguagePreference::system;
        QTest::newRow("resolved-language index") << QVariant(1) << AppLanguagePreference::system;
        QTest::newRow("a number") << QVariant(42) << AppLanguagePreference::system;
        QTest::newRow("a list") << QVariant(QStringList{"chinese"}) << AppLanguagePreference::system;
        QTest::newRow("empty text") << QVariant(QString()) << AppLanguagePreference::system;
    }

    void storedPreferenceIsLoaded()
    {
        QFETCH(QVariant, stored);
        QFETCH(AppLanguagePreference, expected);

        const QString file = m_box.path(QStringLiteral("defaults.ini"));
        if (stored.isValid())
            QSettings(file, QSettings::IniFormat).setValue(AppLocalization::preferenceKey(), stored);
        const QSettings reader(file, QSettings::IniFormat);
        QCOMPARE(AppLocalization::loadPreference(reader), expected);
    }

    void savedPreferenceLoadsBack_data()
    {
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QString>("rawValue");

        QTest::newRow("system") << AppLanguagePreference::system << "system";
        QTest::newRow("chinese") << AppLanguagePreference::chinese << "chinese";
        QTest::newRow("english") << AppLanguagePreference::english << "english";
    }

    void savedPreferenceLoadsBack()
    {
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QString, rawValue);

        const QString file = m_box.path(QStringLiteral("defaults.ini"));
        {
            QSettings writer(file, QSettings::IniFormat);
            // An earlier, different choice is replaced.
            AppLocalization::savePreference(preference == AppLanguagePreference::english
                                                ? AppLanguagePreference::chinese
                                                : AppLanguagePreference::english,
                                            writer);
            AppLocalization::savePreference(preference, writer);
        }
        const QSettings reader(file, QSettings::IniFormat);
        QCOMPARE(reader.value(QStringLiteral("kelvo.language.preference")).toString(), rawValue);
        QCOMPARE(AppLocalization::loadPreference(reader), preference);
        QCOMPARE(AppLocalization::rawValue(preference), rawValue);
    }

    void resolvedLanguagesHaveRawValues()
    {
        QCOMPARE(AppLocalization::rawValue(AppResolvedLanguage::chinese), QStringLiteral("chinese"));
        QCOMPARE(AppLocalization::rawValue(AppResolvedLanguage::english), QStringLiteral("english"));
    }

    void localizedFollowsTheStoredPreference_data()
    {
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QString>("expected");

        QTest::newRow("chinese") << AppLanguagePreference::chinese << "中文";
        QTest::newRow("english") << AppLanguagePreference::english << "English";
    }

    void localizedFollowsTheStoredPreference()
    {
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QString, expected);

        useLanguage(preference);
        QCOMPARE(AppLocalization::localized(QStringLiteral("中文"), QStringLiteral("English")), expected);
    }

    void localizedReadsThePreferenceAtEachCall()
    {
        useLanguage(AppLanguagePreference::english);
        QCOMPARE(AppLocalization::currentLanguage(), AppResolvedLanguage::english);
        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(AppLocalization::currentLanguage(), AppResolvedLanguage::chinese);
    }
};

KELVO_REGISTER_TEST(AppLocalizationTest)
#include "tst_AppLocalization.moc"
