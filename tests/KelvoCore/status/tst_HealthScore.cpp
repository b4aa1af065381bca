// The dashboard's health score and verdict, and the texts built from the machine's fixed facts:
// uptime, capacities and the decorated host name; and what complete() adds to a measured report.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/HealthScore.h"
#include "status/LocalSystemStatus.h"

using namespace TestSupport;
using Percent = std::optional<double>;
using Bytes = std::optional<qint64>;
using Score = std::optional<int>;
Q_DECLARE_METATYPE(Percent)
Q_DECLARE_METATYPE(Score)
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(LocalSystemOverview)

namespace {

// What complete() makes of the first sample, of one 2 s later whose rx counter dropped, of the 61st
// and of a measurement without any reading, and the helpers it relies on, each as text.
QMap<QString, QString> completedFacts()
{
    StatusRates rates;
    const auto sample = [&](quint64 readMB, quint64 rxMB, double now) {
        LocalSystemStatus::Measurement measured;
        measured.diskBytes = std::pair(readMB << 20, readMB << 19);
        measured.interfaces = {{"en0", rxMB << 20, quint64(now) << 20, std::nullopt}};
        measured.report.cpu.emplace().usage = 0;
        measured.report.memory.emplace().usedPercent = 82;
        measured.report.disks = {{{}, "/", {}, {}, {}, 10.0, {}, {}},
                                 {{}, "/System/Volumes/Data", {}, {}, {}, 50.0, {}, {}}};
        const SystemReport report = LocalSystemStatus::complete(measured, rates, now);
        const auto& network = report.network->front();
        return QString("%1 %2 %3 %4 %5 %6 %7 %8")
            .arg(fieldText(report.diskIO->readRate), fieldText(report.diskIO->writeRate),
                 fieldText(network.rxRateMBs), fieldText(network.txRateMBs),
                 QString::number(report.diskIOHistory->writeHistory->size()),
                 QString::number(report.networkHistory->rxHistory->size()), *report.memory->pressure,
                 fields(report.healthScore, report.healthScoreMsg));
    };
    QMap<QString, QString> facts{{"first", sample(4, 8, 100)}, {"rx dropped", sample(6, 2, 102)}};
    StatusRates unscoredRates;
    const SystemReport report = LocalSystemStatus::complete({}, unscoredRates, 100); // no reading at all
    facts["no readings"] = fields(report.healthScore, report.healthScoreMsg);
    for (int second = 103; second < 162; ++second)
        facts["61st"] = sample(6, 2, second);
    for (const double percent : {94.9, 95.0})
        facts["pressure"] += LocalSystemStatus::memoryPressure(percent) + ' ';
    LocalSystemStatus::Processes processes(5);
    const Percent cpus[] = {1, {}, 0, 5, 1};
    for (int i = 0; i < 5; ++i)
        processes[i].name = QString(QChar('a' + i)), processes[i].cpu = cpus[i];
    LocalSystemStatus::sortByCPU(processes);
    for (const auto& process : processes)
        facts["by CPU"] += *process.name;
    return facts;
}

} // namespace

class HealthScoreTest : public QObject {
    Q_OBJECT

    static constexpr qint64 gib = 1LL << 30;

private slots:
    void cleanup() { SyntheticHome::useLanguage(AppLanguagePreference::english); }

    void scoreWeighsTheLoads_data()
    {
        // verdict: "" without a score
        columns<Percent, Percent, Percent, Score, QString>("cpu", "memory", "disk", "score", "verdict");
        const Percent unknown;
        row("typical", Percent(40), Percent(70), Percent(50), Score(70), "Fair");
        row("76", Percent(0), Percent(100), Percent(20), Score(76), "Good");
        row("75", Percent(0), Percent(100), Percent(25), Score(75), "Fair");
        row("46", Percent(100), Percent(100), Percent(95), Score(46), "Fair");
        row("everything full", Percent(100), Percent(100), Percent(100), Score(45), "High Pressure");
        row("98.5 rounds away from zero", Percent(10), Percent(0), Percent(0), Score(99), "Good");
        row("below zero", Percent(1000), Percent(100), Percent(0), Score(0), "High Pressure");
        row("no CPU reading", unknown, Percent(10), Percent(10), Score(), "");
        row("no memory reading", Percent(10), unknown, Percent(10), Score(), "");
        row("no disk reading", Percent(10), Percent(10), unknown, Score(), "");
    }
    void scoreWeighsTheLoads()
    {
        const auto [cpu, memory, disk, score, verdict] =
            fetch<Percent, Percent, Percent, Score, QString>("cpu", "memory", "disk", "score", "verdict");
        QCOMPARE(HealthScore::score(cpu, memory, disk), score);
        QCOMPARE(score ? HealthScore::verdict(*score) : QString(), verdict);
    }

    // Disk: read, write, rx, tx rates, history lengths, then memory pressure, the health score and its
    // verdict (the data volume's 50 % counting, not the startup volume's 10 %).
    void completeAddsRatesAndVerdicts_data()
    {
        columns<QString, QString>("fact", "expected");
        row("first sample: no rate yet", "first", "- - - - 1 1 warn 74 Fair");
        row("a dropped counter has no rate", "rx dropped", "1 0.5 - 1 2 2 warn 74 Fair");
        row("the 61st sample keeps 60", "61st", "0 0 0 1 60 60 warn 74 Fair");
        row("no readings, no score", "no readings", "- Unknown");
        row("memory pressure", "pressure", "warn critical ");
        row("busiest first, stable, unknown as 0", "by CPU", "daebc");
    }
    void completeAddsRatesAndVerdicts()
    {
        const auto [fact, expected] = fetch<QString, QString>("fact", "expected");
        QCOMPARE(completedFacts().value(fact), expected);
    }

    void uptimeCountsWholeMinutes_data()
    {
        columns<qint64, QString>("seconds", "expected");
        row("59 minutes and 59 seconds", qint64(59 * 60 + 59), "59m");
        row("61 minutes", qint64(61 * 60), "1h 1m");
        row("1500 minutes", qint64(1500 * 60), "1d 1h");
        row("one day exactly", qint64(1440 * 60), "1d 0h");
    }
    void uptimeCountsWholeMinutes()
    {
        const auto [seconds, expected] = fetch<qint64, QString>("seconds", "expected");
        SyntheticHome::useLanguage(AppLanguagePreference::english);
        QCOMPARE(HealthScore::uptimeText(seconds), expected);
    }

    void hostIsDecoratedWithWhatIsKnown_data()
    {
        columns<Bytes, Bytes, LocalSystemOverview, QString>("memory", "disk", "overview", "expected");
        // overview: model name and identifier, chip, GPU cores, refresh rate, OS version
        const Bytes disk = 500107862016; // a "500 GB" drive
        const LocalSystemOverview full{{}, {}, "Apple M1", 8, 60, "14.2.1"};
        row("everything", Bytes(16 * gib), disk, full,
            "mac · Apple M1, 8GPU · 16.0 GB/465.8 GB · 60Hz · 14.2.1");
        row("nothing", Bytes(), Bytes(), LocalSystemOverview{}, "mac");
        row("no GPU count, no disk", Bytes(gib * 3 / 2), Bytes(),
            LocalSystemOverview{{}, {}, "Apple M1", 0, 0, {}}, "mac · Apple M1 · 1.5 GB");
        row("no chip, no memory", Bytes(0), disk, LocalSystemOverview{{}, {}, {}, 8, 120, "Ubuntu 24.04"},
            "mac · 465.8 GB · 120Hz · Ubuntu 24.04");
    }
    void hostIsDecoratedWithWhatIsKnown()
    {
        const auto [memory, disk, overview, expected] =
            fetch<Bytes, Bytes, LocalSystemOverview, QString>("memory", "disk", "overview", "expected");
        QCOMPARE(HealthScore::decoratedHost("mac", memory, disk, overview), expected);
    }
};

KELVO_REGISTER_TEST(HealthScoreTest)
#include "tst_HealthScore.moc"
