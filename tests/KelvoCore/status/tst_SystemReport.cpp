// The status JSON: what each key reads as, which values fail the whole report, and the round trip.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/SystemReportParser.h"

#include <QFile>
#include <QJsonDocument>

using namespace TestSupport;
using Report = SystemReport;
using Reals = std::vector<double>;

namespace {

// full-status.json as a record: every field set, each to a value no other field of its record has.
Report fullReport()
{
    Report r;
    r.host = "studio.local";
    r.platform = "darwin arm64";
    r.healthScore = 91;
    r.healthScoreMsg = "Good";
    r.uptime = "49d 17h";
    r.uptimeSeconds = 4294967297;
    r.procs = 412;
    r.hardware = {"Mac14,2", "Apple M2", "16 GB", "512 GB", "macOS 14.5", "60 Hz"};
    r.cpu = {37.5, Reals{40.5, 34.5}, false, 2.5, 1.75, 1.25, 8, 10, Reals{2.25, 1.5, 0.75}, 6, 2};
    r.gpu = {{"Apple M2", 12.5, 1024.5, 8192.25, 10, "shared memory"}};
    r.memory = {17179869184, 12884901888, 75.5, 1073741824, 2147483648, 4294967296, "warn"};
    r.disks = {{"Macintosh HD", "/", "/dev/disk3s1", 494384795648, 247192397824, 50.25, "apfs", false},
               {"Backup", {}, {}, {}, {}, {}, {}, true}};
    r.trashSize = 9007199254740993; // 2^53 + 1, which a double cannot hold
    r.trashApprox = true;
    r.diskIO = {1.5, 0.25};
    r.diskIOHistory = {Reals{1, 1.5}, Reals{0.5, 0.25}};
    r.network = {{{2.5, 0.5, "en0", 2.75, 0.75, "192.168.1.20"}}};
    r.networkHistory = {Reals{2.5, 3}, Reals{0.5, 1}};
    r.proxy = {true, "HTTP", "proxy.example:8080"};
    r.batteries = {{80.5, true, "charging", "1:20", "Good", 312, 92}};
    r.thermal = {48.5, 44.25, 31.5, 1800, 2, 12.5, 30.25, -4.5};
    r.topProcesses = {
        {501, 1, "WindowServer", "/System/Library/WindowServer", 12.5, 3.25, 1'700'000'000'000'123, 88}};
    return r;
}

// The empty report with one change.
template <class Change> Report reportWith(Change change)
{
    Report report;
    change(report);
    return report;
}

} // namespace

class TestSystemReport : public QObject {
    Q_OBJECT

private slots:
    void readsWhatIsThere_data()
    {
        columns<QString, Report>("json", "expected");
        const auto battery = [](double percent) {
            return reportWith([&](Report& r) { r.batteries.emplace_back().percent = percent; });
        };
        row("nulls", R"({"host":null,"cpu":null,"gpu":null,"network":null,"batteries":null})", Report{});
        row("a record without keys", R"({"cpu":{}})", reportWith([](Report& r) { r.cpu.emplace(); }));
        row("one network", R"({"network":{"name":"en0"}})",
            reportWith([](Report& r) { r.network.emplace(1).front().name = "en0"; }));
        row("a network text", R"({"network":"en0"})", Report{});
        row("one battery", R"({"battery":{"percent":50}})", battery(50));
        row("the battery list wins", R"({"batteries":[{"percent":20}],"battery":{"percent":50}})",
            battery(20));
        row("a whole number with a point", R"({"health_score":90.0})",
            reportWith([](Report& r) { r.healthScore = 90; }));
    }
    void readsWhatIsThere()
    {
        const auto [json, expected] = fetch<QString, Report>("json", "expected");
        QVERIFY(SystemReportParser::parseStatus(json.toUtf8()) == expected);
    }

    void aWrongTypeFailsTheReport_data()
    {
        columns<QString, QString>("json", "named");
        row("not JSON", "{host", "JSON");
        row("an array", "[]", "JSON");
        row("a fraction for an integer", R"({"health_score":87.5})", "health_score");
        row("beyond 64 bits", R"({"uptime_seconds":1e19})", "uptime_seconds");
        row("beyond 32 bits", R"({"procs":2147483648})", "procs");
        row("a text for a number", R"({"trash_size":"12"})", "trash_size");
        row("a number for a flag", R"({"trash_approx":1})", "trash_approx");
        row("a text for a record", R"({"memory":"16 GB"})", "memory");
        row("an object for a list", R"({"gpu":{"name":"M2"}})", "gpu");
        row("a nested number for a text", R"({"hardware":{"model":7}})", "model");
        row("a text among reals", R"({"cpu":{"per_core":[1,"2"]}})", "per_core");
    }
    void aWrongTypeFailsTheReport()
    {
        const auto [json, named] = fetch<QString, QString>("json", "named");
        const QString said =
            SyntheticHome::failure([&json = json] { SystemReportParser::parseStatus(json.toUtf8()); });
        QVERIFY2(!said.isNull() && said.contains(named), qPrintable(said));
    }

    void theFullReportKeepsItsKeysBothWays()
    {
        QFile file(KELVO_TEST_DATA_DIR "/status/full-status.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        const Report full = fullReport();
        QCOMPARE(full.toJson(), QJsonDocument::fromJson(text).object());
        QVERIFY(SystemReportParser::parseStatus(text) == full);
        QVERIFY(SystemReportParser::parseStatus(QJsonDocument(full.toJson()).toJson()) == full);
        QVERIFY(full.battery() == full.batteries.front() && !Report{}.battery());
    }

    void aDiskIsKnownByItsMountDeviceOrName()
    {
        using Disk = Report::Disk;
        QVERIFY(!Disk{}.id().isEmpty() && Disk{}.id() != Disk{}.id());
        QCOMPARE((Disk{"HD", {}, {}, {}, {}, {}, {}, {}}.id()), "HD");
        QCOMPARE((Disk{"HD", {}, "/dev/sda1", {}, {}, {}, {}, {}}.id()), "/dev/sda1");
        QCOMPARE((Disk{"HD", "/", "/dev/sda1", {}, {}, {}, {}, {}}.id()), "/");
    }
};

KELVO_REGISTER_TEST(TestSystemReport)
#include "tst_SystemReport.moc"
