// The one text form of sizes and percentages, in both languages and whatever the process locale.
#include "TestMain.h"

#include "Language.h"

#include "vocabulary/SizeText.h"

#include <QLocale>

#include <limits>

using namespace TestSupport;

class SizeTextTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        forgetLanguage();
        QLocale::setDefault(QLocale::c());
    }

    void byteCounts_data()
    {
        QTest::addColumn<bool>("defaultUnits"); // bytesWithDefaultUnits rather than bytes
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        const auto row = [](const char* name, bool defaultUnits, qint64 count, const char* english,
                            const char* chinese = nullptr) {
            QTest::newRow(name) << defaultUnits << count << QString(english)
                                << QString(chinese ? chinese : english);
        };
        row("zero", false, 0, "Zero KB", "零 KB");
        row("one byte is never nothing", false, 1, "1 KB");
        row("KB rounds down below half", false, 1499, "1 KB");
        row("KB rounds half up, 1000 bytes a KB", false, 1500, "2 KB");
        row("no digit grouping", false, 999'499, "999 KB");
        row("rounding up to 1000 KB moves to MB", false, 999'500, "1 MB");
        row("MB one digit half up", false, 1'050'000, "1.1 MB");
        row("just below a GB", false, 999'949'999, "999.9 MB");
        row("rounding up to 1000 MB moves to GB", false, 999'950'000, "1 GB");
        row("GB half up at the second digit", false, 1'205'000'000, "1.21 GB");
        row("GB trailing zero dropped", false, 1'204'999'999, "1.2 GB");
        row("GB leading fraction zero kept", false, 2'050'000'000, "2.05 GB");
        row("rounding up to 1000 GB moves to TB", false, 999'995'000'000, "1 TB");
        row("a petabyte stays in TB", false, 1'000'000'000'000'000, "1000 TB");
        row("largest count", false, std::numeric_limits<qint64>::max(), "9223372.04 TB");
        row("most negative count", false, std::numeric_limits<qint64>::min(), "-9223372.04 TB");
        row("default units: zero", true, 0, "Zero bytes", "零字节");
        row("default units: one byte", true, 1, "1 byte", "1 字节");
        row("default units: 999 bytes", true, 999, "999 bytes", "999 字节");
        row("default units: 1000 bytes is a KB", true, 1000, "1 KB");
        row("default units: an exabyte stays in PB", true, 1'000'000'000'000'000'000, "1000 PB");
        row("default units: negative one byte", true, -1, "-1 byte", "-1 字节");
        row("default units: negative KB", true, -2048, "-2 KB");
    }
    void byteCounts()
    {
        QFETCH(bool, defaultUnits);
        QFETCH(qint64, count);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        const auto text = [&] {
            return defaultUnits ? SizeText::bytesWithDefaultUnits(count) : SizeText::bytes(count);
        };
        useLanguage(AppLanguagePreference::english);
        QCOMPARE(text(), english);
        useLanguage(AppLanguagePreference::chinese);
        // A decimal comma and digit grouping must not show.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(text(), chinese);
    }

    void percentages_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        row("zero keeps one digit", 0.0, "0.0%");
        row("rounds up into the next whole", 99.96, "100.0%");
        row("negative, no digit grouping", -1234.56, "-1234.6%");
    }
    void percentages()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SizeText::percent(value), expected);
    }

    void absentValuesAreUnknown()
    {
        useLanguage(AppLanguagePreference::english);
        QCOMPARE(SizeText::bytes(std::nullopt), QString("Unknown"));
        QCOMPARE(SizeText::percent(std::nullopt), QString("Unknown"));
        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(SizeText::bytes(std::nullopt), QString("未知"));
    }
};

KELVO_REGISTER_TEST(SizeTextTest)
#include "tst_SizeText.moc"
