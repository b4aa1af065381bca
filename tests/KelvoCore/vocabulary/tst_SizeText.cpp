// The one text form of sizes and percentages, in both languages.
#include "TestMain.h"

#include "platform/DefaultsStore.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

#include <QLocale>
#include <QSettings>

#include <limits>

namespace {

void storePreference(AppLanguagePreference preference)
{
    AppLocalization::savePreference(preference, *DefaultsStore::open());
}

} // namespace

class SizeTextTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        DefaultsStore::open()->remove(AppLocalization::preferenceKey());
        QLocale::setDefault(QLocale::c());
    }

    void byteCounts_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");

        QTest::newRow("zero") << qint64(0) << "Zero KB"
                              << "零 KB";
        QTest::newRow("one byte is never nothing") << qint64(1) << "1 KB"
                                                   << "1 KB";
        QTest::newRow("just below half a KB") << qint64(499) << "1 KB"
                                              << "1 KB";
        QTest::newRow("half a KB") << qint64(500) << "1 KB"
                                   << "1 KB";
        QTest::newRow("999 bytes in KB") << qint64(999) << "1 KB"
                                         << "1 KB";
        QTest::newRow("one KB is 1000 bytes") << qint64(1000) << "1 KB"
                                              << "1 KB";
        QTest::newRow("KB rounds down below half") << qint64(1499) << "1 KB"
                                                   << "1 KB";
        QTest::newRow("KB rounds half up") << qint64(1500) << "2 KB"
                                           << "2 KB";
        QTest::newRow("no digit grouping") << qint64(999'499) << "999 KB"
                                           << "999 KB";
        QTest::newRow("rounding up to 1000 KB moves to MB") << qint64(999'500) << "1 MB"
                                                            << "1 MB";
        QTest::newRow("999,999 bytes") << qint64(999'999) << "1 MB"
                                       << "1 MB";
        QTest::newRow("one MB is a million bytes") << qint64(1'000'000) << "1 MB"
                                                   << "1 MB";
        QTest::newRow("MB trailing zero dropped") << qint64(1'049'999) << "1 MB"
                                                  << "1 MB";
        QTest::newRow("MB one digit half up") << qint64(1'050'000) << "1.1 MB"
                                              << "1.1 MB";
        QTest::newRow("MB one digit") << qint64(1'500'000) << "1.5 MB"
                                      << "1.5 MB";
        QTest::newRow("MB with three whole digits") << qint64(123'456'789) << "123.5 MB"
                                                    << "123.5 MB";
        QTest::newRow("just below a GB") << qint64(999'949'999) << "999.9 MB"
                                         << "999.9 MB";
        QTest::newRow("rounding up to 1000 MB moves to GB") << qint64(999'950'000) << "1 GB"
                                                            << "1 GB";
        QTest::newRow("GB two digits") << qint64(1'250'000'000) << "1.25 GB"
                                       << "1.25 GB";
        QTest::newRow("GB half up at the second digit") << qint64(1'205'000'000) << "1.21 GB"
                                                        << "1.21 GB";
        QTest::newRow("GB trailing zero dropped") << qint64(1'204'999'999) << "1.2 GB"
                                                  << "1.2 GB";
        QTest::newRow("GB leading fraction zero kept") << qint64(2'050'000'000) << "2.05 GB"
                                                       << "2.05 GB";
        QTest::newRow("rounding up to 1000 GB moves to TB") << qint64(999'995'000'000) << "1 TB"
                                                            << "1 TB";
        QTest::newRow("TB two digits") << qint64(3'141'592'653'589) << "3.14 TB"
                                       << "3.14 TB";
        QTest::newRow("a petabyte stays in TB") << qint64(1'000'000'000'000'000) << "1000 TB"
                                                << "1000 TB";
        QTest::newRow("largest count") << std::numeric_limits<qint64>::max() << "9223372.04 TB"
                                       << "9223372.04 TB";
        QTest::newRow("negative") << qint64(-1'500'000) << "-1.5 MB"
                                  << "-1.5 MB";
        QTest::newRow("negative small") << qint64(-1) << "-1 KB"
                                        << "-1 KB";
        QTest::newRow("most negative count") << std::numeric_limits<qint64>::min() << "-9223372.04 TB"
                                             << "-9223372.04 TB";
    }

    void byteCounts()
    {
        QFETCH(qint64, count);
        QFETCH(QString, english);
        QFETCH(QString, chinese);

        storePreference(AppLanguagePreference::english);
        QCOMPARE(SizeText::bytes(count), english);
        storePreference(AppLanguagePreference::chinese);
        QCOMPARE(SizeText::bytes(count), chinese);
        // A locale with a decimal comma and digit grouping must not change the text.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SizeText::bytes(count), chinese);
    }

    void byteCountsWithDefaultUnits_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");

        QTest::newRow("zero") << qint64(0) << "Zero bytes"
                              << "零字节";
        QTest::newRow("one byte") << qint64(1) << "1 byte"
                                  << "1 字节";
        QTest::newRow("two bytes") << qint64(2) << "2 bytes"
                                   << "2 字节";
        QTest::newRow("999 bytes exactly") << qint64(999) << "999 bytes"
                                           << "999 字节";
        QTest::newRow("1000 bytes is a KB") << qint64(1000) << "1 KB"
                                            << "1 KB";
        QTest::newRow("KB rounds") << qint64(1499) << "1 KB"
                                   << "1 KB";
        QTest::newRow("rounding up to 1000 KB moves to MB") << qint64(999'999) << "1 MB"
                                                            << "1 MB";
        QTest::newRow("GB") << qint64(1'250'000'000) << "1.25 GB"
                            << "1.25 GB";
        QTest::newRow("rounding up to 1000 TB moves to PB") << qint64(999'995'000'000'000) << "1 PB"
                                                            << "1 PB";
        QTest::newRow("PB") << qint64(2'500'000'000'000'000) << "2.5 PB"
                            << "2.5 PB";
        QTest::newRow("an exabyte stays in PB") << qint64(1'000'000'000'000'000'000) << "1000 PB"
                                                << "1000 PB";
        QTest::newRow("negative one byte") << qint64(-1) << "-1 byte"
                                           << "-1 字节";
        QTest::newRow("negative KB") << qint64(-2048) << "-2 KB"
                                     << "-2 KB";
    }

    void byteCountsWithDefaultUnits()
    {
        QFETCH(qint64, count);
        QFETCH(QString, english);
        QFETCH(QString, chinese);

        storePreference(AppLanguagePreference::english);
        QCOMPARE(SizeText::bytesWithDefaultUnits(count), english);
        storePreference(AppLanguagePreference::chinese);
        QCOMPARE(SizeText::bytesWithDefaultUnits(count), chinese);
    }

    void absentValuesAreUnknown_data()
    {
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QString>("expected");

        QTest::newRow("english") << AppLanguagePreference::english << "Unknown";
        QTest::newRow("chinese") << AppLanguagePreference::chinese << "未知";
    }

    void absentValuesAreUnknown()
    {
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QString, expected);

        storePreference(preference);
        QCOMPARE(SizeText::bytes(std::nullopt), expected);
        QCOMPARE(SizeText::percent(std::nullopt), expected);
    }

    void percentages_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");

        QTest::newRow("zero") << 0.0 << "0.0%";
        QTest::newRow("hundred") << 100.0 << "100.0%";
        QTest::newRow("whole number") << 7.0 << "7.0%";
        QTest::newRow("rounds down") << 12.34 << "12.3%";
        QTest::newRow("rounds up") << 42.46 << "42.5%";
        QTest::newRow("rounds up into the next whole") << 99.96 << "100.0%";
        QTest::newRow("tiny") << 0.04 << "0.0%";
        QTest::newRow("negative") << -12.34 << "-12.3%";
        QTest::newRow("no digit grouping") << 1234.56 << "1234.6%";
    }

    void percentages()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);

        storePreference(AppLanguagePreference::chinese);
        QCOMPARE(SizeText::percent(value), expected);
        // A locale with a decimal comma must not change the text.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SizeText::percent(value), expected);
    }
};

KELVO_REGISTER_TEST(SizeTextTest)
#include "tst_SizeText.moc"
