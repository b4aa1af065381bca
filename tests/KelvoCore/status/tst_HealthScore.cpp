// The dashboard's health score and verdict, and the texts built from the machine's fixed facts:
// uptime, capacities, the decorated host name and the battery's condition read from macOS tools.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/HealthScore.h"

#include <QFile>

using namespace TestSupport;
using Percent = std::optional<double>;
using Bytes = std::optional<qint64>;
Q_DECLARE_METATYPE(Percent)
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(LocalSystemOverview)
Q_DECLARE_METATYPE(BatteryDetails)

char* toString(const BatteryDetails& details)
{
    const auto text = [](const auto& value) { return value ? QVariant(*value).toString() : "-"; };
    return qstrdup(QStringLiteral("cycles %1, capacity %2, health %3, temperature %4")
                       .arg(text(details.cycleCount), text(details.capacity), text(details.health),
                            text(details.temperature))
                       .toUtf8());
}

class HealthScoreTest : public QObject {
    Q_OBJECT

    static constexpr qint64 gib = 1LL << 30;

private slots:
    void cleanup() { SyntheticHome::useLanguage(AppLanguagePreference::english); }

    void scoreWeighsTheLoads_data()
    {
        columns<Percent, Percent, Percent, int, QString>("cpu", "memory", "disk", "score", "verdict");
        const Percent unknown;
        row("typical", Percent(40), Percent(70), Percent(50), 70, QString("Fair"));
        row("nothing known counts as idle", unknown, unknown, unknown, 100, QString("Good"));
        row("76", unknown, Percent(100), Percent(20), 76, QString("Good"));
        row("75.5 rounds up to 76", Percent(30), unknown, Percent(100), 76, QString("Good"));
        row("75", unknown, Percent(100), Percent(25), 75, QString("Fair"));
        row("46", Percent(100), Percent(100), Percent(95), 46, QString("Fair"));
        row("everything full", Percent(100), Percent(100), Percent(100), 45, QString("High Pressure"));
        row("98.5 rounds away from zero", Percent(10), unknown, unknown, 99, QString("Good"));
        row("below zero", Percent(1000), Percent(100), unknown, 0, QString("High Pressure"));
        row("above 100", unknown, Percent(-50), unknown, 100, QString("Good"));
    }
    void scoreWeighsTheLoads()
    {
        const auto [cpu, memory, disk, score, verdict] =
            fetch<Percent, Percent, Percent, int, QString>("cpu", "memory", "disk", "score", "verdict");
        QCOMPARE(HealthScore::score(cpu, memory, disk), score);
        QCOMPARE(HealthScore::verdict(score), verdict);
    }

    void uptimeCountsWholeMinutes_data()
    {
        columns<qint64, AppLanguagePreference, QString>("seconds", "language", "expected");
        const auto english = AppLanguagePreference::english;
        row("59 minutes and 59 seconds", qint64(59 * 60 + 59), english, QString("59m"));
        row("61 minutes", qint64(61 * 60), english, QString("1h 1m"));
        row("1500 minutes", qint64(1500 * 60), english, QString("1d 1h"));
        row("one day exactly", qint64(1440 * 60), english, QString("1d 0h"));
        row("61 minutes in Chinese", qint64(61 * 60), AppLanguagePreference::chinese,
            QString("1 小时 1 分钟"));
    }
    void uptimeCountsWholeMinutes()
    {
        const auto [seconds, language, expected] =
            fetch<qint64, AppLanguagePreference, QString>("seconds", "language", "expected");
        SyntheticHome::useLanguage(language);
        QCOMPARE(HealthScore::uptimeText(seconds), expected);
    }

    void hostIsDecoratedWithWhatIsKnown_data()
    {
        columns<Bytes, Bytes, LocalSystemOverview, QString>("memory", "disk", "overview", "expected");
        // overview: model name and identifier, chip, GPU cores, refresh rate, OS version
        const Bytes disk = 500107862016; // a "500 GB" drive
        const LocalSystemOverview full{{}, {}, "Apple M1", 8, 60, "14.2.1"};
        row("everything", Bytes(16 * gib), disk, full,
            QString("mac · Apple M1, 8GPU · 16.0 GB/465.8 GB · 60Hz · 14.2.1"));
        row("nothing", Bytes(), Bytes(), LocalSystemOverview{}, QString("mac"));
        row("no GPU count, no disk", Bytes(gib * 3 / 2), Bytes(),
            LocalSystemOverview{{}, {}, "Apple M1", 0, 0, {}}, QString("mac · Apple M1 · 1.5 GB"));
        row("no chip, no memory", Bytes(0), disk, LocalSystemOverview{{}, {}, {}, 8, 120, "Ubuntu 24.04"},
            QString("mac · 465.8 GB · 120Hz · Ubuntu 24.04"));
    }
    void hostIsDecoratedWithWhatIsKnown()
    {
        const auto [memory, disk, overview, expected] =
            fetch<Bytes, Bytes, LocalSystemOverview, QString>("memory", "disk", "overview", "expected");
        QCOMPARE(HealthScore::decoratedHost("mac", memory, disk, overview), expected);
    }

    void batteryIsReadFromToolOutput_data()
    {
        columns<QStringList, BatteryDetails>("files", "expected"); // health, cycles, capacity, temperature
        const QString profiler = "system-profiler-sppower-apple-m1-charged-1.txt";
        const QString registry = "ioreg-applesmartbattery-intel-macbookair-1.txt";
        row("system_profiler, Apple silicon", QStringList{profiler}, BatteryDetails{"Normal", 1, 100, {}});
        row("system_profiler, old spelling",
            QStringList{"system-profiler-sppower-intel-macbook-replace-now-1.txt"},
            BatteryDetails{"Replace Now", 5, {}, {}});
        row("ioreg, charging", QStringList{"ioreg-applesmartbattery-intel-charging-1.txt"},
            BatteryDetails{{}, 46, {}, 30.94});
        row("ioreg, discharging", QStringList{"ioreg-applesmartbattery-intel-discharging-1.txt"},
            BatteryDetails{{}, 155, {}, 29.91});
        row("both: system_profiler's count wins", QStringList{profiler, registry},
            BatteryDetails{"Normal", 1, 100, 30.41});
        row("desktop without battery", QStringList{"system-profiler-sppower-intel-desktop-macmini-1.txt"},
            BatteryDetails{});
    }
    void batteryIsReadFromToolOutput()
    {
        const auto [files, expected] = fetch<QStringList, BatteryDetails>("files", "expected");
        QString text;
        for (const QString& name : files) {
            QFile file(QStringLiteral(KELVO_TEST_DATA_DIR "/macos/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            text += QString::fromUtf8(file.readAll());
        }
        QCOMPARE(HealthScore::parseBatteryDetails(text), expected);
    }
};

KELVO_REGISTER_TEST(HealthScoreTest)
#include "tst_HealthScore.moc"
