// The macOS sampler read from tool outputs captured on real Macs: each tool's reading on its own, and
// whole snapshots replayed from a folder of recorded outputs, where a missing output leaves only its
// own readings unknown.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/MacStatusSampler.h"
#include "status/MacToolParsers.h"
#include "status/MacVolumes.h"

#include <QThread>

using namespace MacToolParsers;
using namespace TestSupport;
using Battery = SystemReport::Battery;
using Process = SystemReport::ProcessInfo;
using Proxy = SystemReport::Proxy;

namespace {

QString fixture(const QString& name)
{
    return QString::fromUtf8(SyntheticHome::contents(QStringLiteral(KELVO_TEST_DATA_DIR "/macos/") + name));
}

Battery batteryOf(double percent, std::optional<bool> charging, const QString& status,
                  std::optional<QString> timeLeft)
{
    return {percent, charging, status, timeLeft, std::nullopt, std::nullopt, std::nullopt};
}

// The captured `ps -A -o user,pid,pcpu,pmem,vsz,tty,etime,command` listing as the sampler's
// `ps -axo pid=,ppid=,pcpu=,pmem=,comm=` would print it: that listing has no parent column ("-", which
// reads as unknown) and shows arguments, which stay part of the command here.
QString samplerListing(const QString& capturedListing)
{
    QStringList lines;
    for (const QString& line : capturedListing.split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList fields = line.split(' ', Qt::SkipEmptyParts);
        lines << QStringList{fields[1], "-", fields[2], fields[3], fields.mid(7).join(' ')}.join("   ");
    }
    return lines.join('\n') + '\n';
}

QStringList described(const std::vector<SystemReport::Disk>& disks)
{
    QStringList lines;
    for (const SystemReport::Disk& disk : disks)
        lines << QStringLiteral("%1 @ %2 (%3, %4)%5")
                     .arg(disk.name.value_or("-"), disk.mount.value_or("-"), disk.device.value_or("-"),
                          disk.fstype.value_or("-"), disk.external.value_or(false) ? " external" : "");
    return lines;
}

const QString macBookMounts = "mount-apple-silicon-dmg-with-spaces-1.txt";
const QStringList macBookDisks = {
    "Internal Disk @ /System/Volumes/Data (/dev/disk3s5, apfs)",
    "Mirth Connect Administrator Launcher @ /Volumes/Mirth Connect Administrator "
    "Launcher (/dev/disk4, hfs) external"};

} // namespace

class TestMacStatus : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_sandbox;

private slots:
    void init() { m_sandbox.renew(); }

    void battery_data()
    {
        columns<QString, std::optional<Battery>>("text", "expected");
        row("charging", fixture("pmset-batt-charging-1.txt"),
            std::optional(batteryOf(98, true, "charging", QString("0:42"))));
        row("discharging",
            QString("Now drawing from 'Battery Power'\n -InternalBattery-0 (id=4391011)\t72%; "
                    "discharging; 3:12 remaining present: true\n"),
            std::optional(batteryOf(72, false, "discharging", QString("3:12"))));
        row("plugged in, held",
            QString(" -InternalBattery-0 (id=4391011)\t80%; AC attached; not charging present: true"),
            std::optional(batteryOf(80, false, "AC attached", QString("not charging"))));
        row("no estimate yet", QString(" -InternalBattery-0\t55%; discharging; (no estimate) present: true"),
            std::optional(batteryOf(55, false, "discharging", std::nullopt)));
        row("full, older format",
            QString("Currently drawing from 'AC Power'\n -InternalBattery-0\t100%; charged; 0:00 remaining"),
            std::optional(batteryOf(100, true, "charged", QString("0:00"))));
        row("unknown status", QString(" -InternalBattery-0\t12.5%; calibrating"),
            std::optional(batteryOf(12.5, std::nullopt, "calibrating", std::nullopt)));
        row("no battery", QString("Now drawing from 'AC Power'\n"), std::optional<Battery>());
    }
    void battery()
    {
        const auto [text, expected] = fetch<QString, std::optional<Battery>>("text", "expected");
        QCOMPARE(parseBatterySnapshot(text), expected);
    }

    void swap_data()
    {
        columns<QString, std::optional<qint64>, std::optional<qint64>>("text", "used", "total");
        row("captured", fixture("sysctl-vm-swapusage-intel-1.txt"), std::optional<qint64>(1'066'926'080),
            std::optional<qint64>(2'147'483'648));
        row("half a megabyte", QString("vm.swapusage: total = 2048.00M  used = 1024.50M  free = 1023.50M"),
            std::optional<qint64>(1'074'266'112), std::optional<qint64>(2'147'483'648));
        row("decimal commas", QString("vm.swapusage: total = 1024,00M  used = 0,25M  free = 1023,75M"),
            std::optional<qint64>(262'144), std::optional<qint64>(1'073'741'824));
        row("total only", QString("vm.swapusage: total = 0.00M"), std::optional<qint64>(),
            std::optional<qint64>(0));
        row("nothing", QString(), std::optional<qint64>(), std::optional<qint64>());
    }
    void swap()
    {
        const auto [text, used, total] =
            fetch<QString, std::optional<qint64>, std::optional<qint64>>("text", "used", "total");
        QCOMPARE(parseSwapUsage(text), (SwapUsage{used, total}));
    }

    void proxy_data()
    {
        columns<QString, std::optional<Proxy>>("text", "expected");
        row("HTTP enabled", fixture("scutil-proxy-http-enabled-privoxy-1.txt"),
            std::optional(Proxy{true, QString("HTTP"), QString("127.0.0.1")}));
        row("none enabled",
            QString("<dictionary> {\n  HTTPEnable : 0\n  HTTPSEnable : 0\n  SOCKSEnable : 0\n}\n"),
            std::optional(Proxy{false, std::nullopt, std::nullopt}));
        row("SOCKS before HTTPS",
            QString("  HTTPSEnable : 1\n  HTTPSProxy : web.example\n  SOCKSEnable : 1\n  SOCKSProxy : "
                    "10.0.0.1 \n"),
            std::optional(Proxy{true, QString("SOCKS"), QString("10.0.0.1")}));
        row("no answer", QString(), std::optional<Proxy>());
    }
    void proxy()
    {
        const auto [text, expected] = fetch<QString, std::optional<Proxy>>("text", "expected");
        QCOMPARE(parseProxy(text), expected);
    }

    void mountTable_data()
    {
        columns<QString, qsizetype, QString, QString, std::optional<QString>>("file", "entries", "mount",
                                                                              "device", "fstype");
        row("mount point with spaces", macBookMounts, qsizetype(11),
            QString("/Volumes/Mirth Connect Administrator Launcher"), QString("/dev/disk4"),
            std::optional<QString>("hfs"));
        row("device with a space", macBookMounts, qsizetype(11), QString("/System/Volumes/Data/home"),
            QString("map auto_home"), std::optional<QString>("autofs"));
        // Mac OS X 10.4 printed the options without the type; /dev is mounted twice.
        row("options only", QString("mount-macos-leopard-era-1.txt"), qsizetype(7), QString("/"),
            QString("/dev/disk0s2"), std::optional<QString>());
        row("no parentheses", QString("mount-macos-leopard-era-1.txt"), qsizetype(7), QString("/.vol"),
            QString("<volfs>"), std::optional<QString>());
        row("automounter", QString("mount-macos-leopard-era-1.txt"), qsizetype(7), QString("/Network"),
            QString("automount -nsl [141]"), std::optional<QString>());
        row("mounted over", QString("mount-macos-leopard-era-1.txt"), qsizetype(7), QString("/dev"),
            QString("fdesc"), std::optional<QString>());
    }
    void mountTable()
    {
        const auto [file, entries, mount, device, fstype] =
            fetch<QString, qsizetype, QString, QString, std::optional<QString>>("file", "entries", "mount",
                                                                                "device", "fstype");
        const QMap<QString, MountEntry> table = parseMountTable(fixture(file));
        QCOMPARE(table.size(), entries);
        QCOMPARE(table.value(mount), (MountEntry{device, fstype}));
    }

    void diskCounters_data()
    {
        using Counters = std::optional<std::pair<quint64, quint64>>;
        columns<QString, Counters>("text", "expected");
        const QString captured = fixture("ioreg-ioblockstoragedriver-partial-1.txt");
        row("one driver", captured, Counters({30'948'818'944, 14'221'045'760}));
        row("two drivers",
            captured + "\n  |   \"Statistics\" = {\"Bytes (Read)\"=1000,\"Bytes (Write)\"=24}\n",
            Counters({30'948'819'944, 14'221'045'784}));
        row("no statistics", QString("+-o IOBlockStorageDriver  <class IOBlockStorageDriver>\n"), Counters());
    }
    void diskCounters()
    {
        const auto [text, expected] =
            fetch<QString, std::optional<std::pair<quint64, quint64>>>("text", "expected");
        QCOMPARE(parseDiskByteCounters(text), expected);
    }

    void processLine_data()
    {
        columns<QString, std::optional<Process>>("line", "expected");
        const QString photoshop = "/Applications/Adobe Photoshop CS3/Adobe Photoshop CS3.app/Contents/MacOS/"
                                  "Adobe Photoshop CS3 -psn_0_254014";
        row("spaces in the path",
            samplerListing(fixture("ps-user-pid-pcpu-pmem-vsz-tty-etime-command-intel-1.txt"))
                .split('\n')
                .filter("Photoshop")
                .first(),
            std::optional(Process{399, std::nullopt, QString("Adobe Photoshop CS3 -psn_0_254014"), photoshop,
                                  0.3, 2.8}));
        row("runs of blanks", QString("  88     1  3,5  0,2 /usr/libexec/My\t  Helper\n"),
            std::optional(Process{88, 1, QString("My Helper"), QString("/usr/libexec/My Helper"), 3.5, 0.2}));
        row("unreadable numbers", QString("x 1 - 0.1 launchd"),
            std::optional(
                Process{std::nullopt, 1, QString("launchd"), QString("launchd"), std::nullopt, 0.1}));
        row("too short", QString("12 1 0.0 0.1"), std::optional<Process>());
    }
    void processLine()
    {
        const auto [line, expected] = fetch<QString, std::optional<Process>>("line", "expected");
        const std::vector<Process> processes = parseProcessSnapshot(line);
        QCOMPARE(processes.size(), expected ? size_t(1) : size_t(0));
        if (expected)
            QCOMPARE(processes.front(), *expected);
    }

    // Busiest first; an unknown percent counts as 0 and equal ones keep the listing's order.
    void processOrder()
    {
        const auto listing =
            parseProcessSnapshot("1 0 1.0 0 a\n\n2 0 - 0 b\n3 0 5,0 0 c\n4 0 1.0 0 d\n5 0 0.0 0 e\n");
        QStringList names;
        for (const Process& process : listing)
            names << *process.name;
        QCOMPARE(names, QStringList({"c", "a", "d", "b", "e"}));
    }

    void profiler_data()
    {
        columns<QString, QString, std::optional<QString>>("file", "key", "expected");
        row("chip", QString("system-profiler-sphardware-apple-m1-1.txt"), QString("Chip"),
            std::optional<QString>("Apple M1"));
        row("section heading", QString("system-profiler-sphardware-apple-m1-1.txt"),
            QString("Hardware Overview"), std::optional<QString>());
        row("decimal comma", QString("system-profiler-sphardware-intel-imac-1.txt"),
            QString("Processor Speed"), std::optional<QString>("2,4 GHz"));
        row("first of two graphics cards", QString("system-profiler-spdisplays-intel-dual-gpu-1.txt"),
            QString("Chipset Model"), std::optional<QString>("Intel HD Graphics 530"));
        row("no-break space inside", QString("system-profiler-sppower-apple-m1-charged-1.txt"),
            QString("Maximum Capacity"), std::optional<QString>(QString::fromUtf8("100\u00a0%")));
    }
    void profiler()
    {
        const auto [file, key, expected] =
            fetch<QString, QString, std::optional<QString>>("file", "key", "expected");
        const QMap<QString, QString> values = profilerValues(fixture(file));
        QCOMPARE(values.contains(key) ? std::optional(values.value(key)) : std::nullopt, expected);
    }

    // A replay reads the model, chip and GPU from the profiler alone: the kernel's fallbacks stay out.
    void overview_data()
    {
        columns<QString, QString, LocalSystemOverview>("hardware", "displays", "expected");
        row("Apple silicon", QString("system-profiler-sphardware-apple-m1-1.txt"),
            QString("system-profiler-spdisplays-apple-m1-1.txt"),
            LocalSystemOverview{"MacBook Air", "MacBookAir10,1", "Apple M1", 8, std::nullopt, std::nullopt});
        row("Intel, the GPU as chip", QString("system-profiler-sphardware-intel-imac-1.txt"),
            QString("system-profiler-spdisplays-intel-macmini-1.txt"),
            LocalSystemOverview{"iMac", "iMac7,1", "NVIDIA GeForce 9400", std::nullopt, std::nullopt,
                                std::nullopt});
        row("displays only", QString(), QString("system-profiler-spdisplays-apple-m1-1.txt"),
            LocalSystemOverview{std::nullopt, std::nullopt, "Apple M1", 8, std::nullopt, std::nullopt});
    }
    void overview()
    {
        const auto [hardware, displays, expected] =
            fetch<QString, QString, LocalSystemOverview>("hardware", "displays", "expected");
        const QString dir = m_sandbox.path("replay");
        if (!hardware.isEmpty())
            SyntheticHome::write(dir + "/system_profiler SPHardwareDataType.txt", fixture(hardware).toUtf8());
        if (!displays.isEmpty())
            SyntheticHome::write(dir + "/system_profiler SPDisplaysDataType.txt", fixture(displays).toUtf8());
        QCOMPARE(MacStatusSampler::overview({MacStatusSampler::replayRunner(dir), false}), expected);
    }

    // Each field from the first output that has it: the profiler's, then the battery driver's.
    void batteryDetails_data()
    {
        columns<bool, bool, BatteryDetails>("profiler", "driver", "expected");
        row("both", true, true, BatteryDetails{"Normal", 1, 100, 30.94});
        row("driver only", false, true, BatteryDetails{std::nullopt, 46, 93, 30.94});
        row("neither", false, false, BatteryDetails{});
    }
    void batteryDetails()
    {
        const auto [profiler, driver, expected] =
            fetch<bool, bool, BatteryDetails>("profiler", "driver", "expected");
        const QString dir = m_sandbox.path("replay");
        const QString power = fixture("system-profiler-sppower-apple-m1-charged-1.txt");
        const QString smartBattery = fixture("ioreg-applesmartbattery-intel-charging-1.txt");
        if (profiler)
            SyntheticHome::write(dir + "/system_profiler SPPowerDataType -detailLevel mini.txt",
                                 power.toUtf8());
        if (driver)
            SyntheticHome::write(dir + "/ioreg -r -c AppleSmartBattery.txt", smartBattery.toUtf8());
        // What each output holds, as the battery details reader reads it.
        const auto parse = [&](const QString& text) {
            if (text == power)
                return BatteryDetails{"Normal", 1, 100, std::nullopt};
            if (text == smartBattery)
                return BatteryDetails{std::nullopt, 46, 93, 30.94};
            return BatteryDetails{"unexpected output", 0, 0, 0.0};
        };
        QCOMPARE(MacStatusSampler::batteryDetails(MacStatusSampler::replayRunner(dir), parse), expected);
    }

    // A snapshot replayed from recorded outputs; the row's output is missing, or the processes are given.
    void replay_data()
    {
        columns<QString>("missing");
        for (const char* missing : {"", "pmset -g batt.txt", "sysctl vm.swapusage.txt", "scutil --proxy.txt",
                                    "mount.txt", "ioreg -r -c IOBlockStorageDriver.txt",
                                    "ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt", "given processes"})
            row(*missing ? missing : "everything", QString(missing));
    }
    void replay()
    {
        const auto [missing] = fetch<QString>("missing");
        const QString dir = m_sandbox.path("replay");
        const QString listing =
            samplerListing(fixture("ps-user-pid-pcpu-pmem-vsz-tty-etime-command-intel-1.txt"));
        const QMap<QString, QString> recorded = {
            {"pmset -g batt.txt", fixture("pmset-batt-charging-1.txt")},
            {"sysctl vm.swapusage.txt", fixture("sysctl-vm-swapusage-intel-1.txt")},
            {"scutil --proxy.txt", fixture("scutil-proxy-http-enabled-privoxy-1.txt")},
            {"mount.txt", fixture(macBookMounts)},
            {"ioreg -r -c IOBlockStorageDriver.txt", fixture("ioreg-ioblockstoragedriver-partial-1.txt")},
            {"ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt", listing}};
        for (auto file = recorded.begin(); file != recorded.end(); ++file)
            if (file.key() != missing)
                SyntheticHome::write(dir + '/' + file.key(), file.value().toUtf8());
        const auto has = [&](const char* file) { return missing != file; };
        const bool given = missing == "given processes";
        const LocalSystemStatus::Processes givenProcesses = {
            Process{7, 1, QString("given"), QString("given"), 1, 1}};
        const MacStatusSampler::SlowReadings slow{LocalSystemOverview{},
                                                  BatteryDetails{"Normal", 46, 93, 30.9}, 4096};

        const LocalSystemStatus::Measurement measured = MacStatusSampler::measure(
            {MacStatusSampler::replayRunner(dir), false},
            given ? std::optional(givenProcesses) : std::nullopt, m_sandbox.home(), slow);
        const SystemReport& report = measured.report;

        Battery expectedBattery = batteryOf(98, true, "charging", QString("0:42"));
        expectedBattery.health = "Normal";
        expectedBattery.cycleCount = 46;
        expectedBattery.capacity = 93;
        QCOMPARE(report.batteries,
                 has("pmset -g batt.txt") ? std::vector{expectedBattery} : std::vector<Battery>());
        QCOMPARE(report.thermal ? report.thermal->batteryTemp : std::nullopt, std::optional(30.9));
        QCOMPARE(report.proxy, has("scutil --proxy.txt")
                                   ? std::optional(Proxy{true, QString("HTTP"), QString("127.0.0.1")})
                                   : std::nullopt);
        QCOMPARE(report.memory.has_value(), has("sysctl vm.swapusage.txt"));
        if (report.memory) {
            QCOMPARE(report.memory->swapTotal, std::optional<qint64>(2'147'483'648));
            QCOMPARE(report.memory->total, std::nullopt); // from the kernel, which a replay does not read
        }
        QCOMPARE(described(report.disks.value_or(std::vector<SystemReport::Disk>())),
                 has("mount.txt") ? macBookDisks : QStringList());
        QCOMPARE(measured.diskBytes.has_value(), has("ioreg -r -c IOBlockStorageDriver.txt"));
        const LocalSystemStatus::Processes expectedProcesses =
            given                                             ? givenProcesses
            : has("ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt") ? parseProcessSnapshot(listing)
                                                              : LocalSystemStatus::Processes();
        QCOMPARE(measured.processes, expectedProcesses);

        // Without the kernel: no tick counters or load, so the CPU use is unknown and said to be.
        QVERIFY(report.cpu && !report.cpu->usage && !report.cpu->perCore &&
                report.cpu->perCoreEstimated == true);
        QCOMPARE(report.cpu->logicalCPU, std::optional(QThread::idealThreadCount()));
        QVERIFY(measured.interfaces.empty() && !report.uptimeSeconds && !report.platform);
        QCOMPARE(report.trashSize, std::optional<qint64>(4096));
    }

    // The volumes a recorded mount table shows: the data volume stands for the startup volume, and
    // internal volumes come before external ones whatever their names.
    void volumesFromMountTable_data()
    {
        columns<QString, QStringList>("table", "expected");
        row("data volume and a disk image", fixture(macBookMounts), macBookDisks);
        row("external named before internal",
            fixture(macBookMounts) +
                "/dev/disk5s1 on /Volumes/Archive (apfs, local, nodev, nosuid, journaled)\n",
            QStringList{macBookDisks[0], "Archive @ /Volumes/Archive (/dev/disk5s1, apfs) external",
                        macBookDisks[1]});
        row("startup volume without a data volume", fixture("mount-macos-leopard-era-1.txt"),
            QStringList{"- @ / (/dev/disk0s2, -)", "data @ /Volumes/data (/dev/disk0s3, -) external"});
    }
    void volumesFromMountTable()
    {
        const auto [table, expected] = fetch<QString, QStringList>("table", "expected");
        QCOMPARE(described(MacVolumes::fromMountTable(parseMountTable(table))), expected);
    }

    void trashSize()
    {
        const QString home = m_sandbox.home();
        QCOMPARE(MacStatusSampler::trashSize(home), std::nullopt);
        const QString file = SyntheticHome::file(home + "/.Trash/report.pdf", 5000);
        const QString nested = SyntheticHome::file(home + "/.Trash/old/notes.txt", 70'000);
        QCOMPARE(MacStatusSampler::trashSize(home),
                 std::optional(SyntheticHome::allocated(file) + SyntheticHome::allocated(nested)));
    }
};

KELVO_REGISTER_TEST(TestMacStatus)
#include "tst_MacStatus.moc"
