#include "TestMain.h"

#include "Lf.h"
#include "LocalizationSettings.h"

#include "platform/DefaultsStore.h"

#include <QSettings>
#include <QSignalSpy>

class TestLocalizationSettings : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { LocalizationSettings::shared().setPreference(AppLanguagePreference::english); }

    void preferenceIsPublishedThenStored_data()
    {
        QTest::addColumn<QString>("rawValue");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("chinese");
        QTest::newRow("chinese") << "chinese"
                                 << "chinese" << true;
        QTest::newRow("english") << "english"
                                 << "english" << false;
    }
    void preferenceIsPublishedThenStored()
    {
        QFETCH(QString, rawValue);
        QFETCH(QString, stored);
        QFETCH(bool, chinese);
        LocalizationSettings& settings = LocalizationSettings::shared();
        settings.setPreference(chinese ? AppLanguagePreference::english : AppLanguagePreference::chinese);
        QString storedWhenNotified;
        const auto connection = connect(&settings, &LocalizationSettings::preferenceChanged, this, [&] {
            storedWhenNotified = DefaultsStore::open()->value(AppLocalization::preferenceKey()).toString();
        });
        QSignalSpy changed(&settings, &LocalizationSettings::preferenceChanged);
        settings.setPreferenceRawValue(rawValue);
        disconnect(connection);
        QCOMPARE(changed.count(), 1);
        QVERIFY2(storedWhenNotified != stored, "observers hear of the change before it is stored");
        QCOMPARE(DefaultsStore::open()->value(AppLocalization::preferenceKey()).toString(), stored);
        QCOMPARE(settings.preferenceRawValue(), rawValue);
        QCOMPARE(settings.isChinese(), chinese);
        QCOMPARE(settings.text("中文", "English"), chinese ? QString("中文") : QString("English"));
    }

    void unknownRawValueIsIgnored()
    {
        LocalizationSettings& settings = LocalizationSettings::shared();
        settings.setPreference(AppLanguagePreference::chinese);
        QSignalSpy changed(&settings, &LocalizationSettings::preferenceChanged);
        settings.setPreferenceRawValue("klingon");
        QCOMPARE(changed.count(), 0);
        QCOMPARE(settings.preference(), AppLanguagePreference::chinese);
    }

    void lfBuildsOnlyTheChosenText()
    {
        LocalizationSettings::shared().setPreference(AppLanguagePreference::chinese);
        int englishBuilt = 0;
        const QString text = Lf([] { return QStringLiteral("已清理 3 项。"); },
                                [&] {
                                    ++englishBuilt;
                                    return QStringLiteral("Cleaned 3 items.");
                                });
        QCOMPARE(text, QStringLiteral("已清理 3 项。"));
        QCOMPARE(englishBuilt, 0);
    }
};

KELVO_REGISTER_TEST(TestLocalizationSettings)
#include "tst_LocalizationSettings.moc"
