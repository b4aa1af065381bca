// The macOS sampler read from tool outputs captured on real Macs: each tool's reading on its own, and
// whole snapshots replayed from a folder of recorded outputs, where a missing output leaves only its
// own readings unknown.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/HealthScore.h"
#include "status/MacStatusSampler.h"
#include "status/MacToolParsers.h"
#include "status/MacVolumes.h"

using namespace MacToolParsers;
using namespace TestSupport;
using Battery = SystemReport::Battery;
using Process = SystemReport::ProcessInfo;

namespace {

QString fixture(const QString& name)
{
    return QString::fromUtf8(SyntheticHome::contents(QStringLiteral(KELVO_TEST_DATA_DIR "/macos/") + name));
}

// One tool's output as its parser reads it, one line of fields per record ("-": unknown, "none": no
// record). `tool` names the parser and, after a colon, the key to look up in a table.
QString reading(const QString& tool, const QString& output)
{
    const QString parser = tool.section(':', 0, 0), key = tool.section(':', 1);
    if (parser == "pmset") {
        const auto b = parseBatterySnapshot(output);
        return b ? fields(b->percent, b->charging, b->status, b->timeLeft) : "none";
    }
    if (parser == "sysctl")
        return fields(parseSwapUsage(output).used, parseSwapUsage(output).total);
    if (parser == "scutil") {
        const auto p = parseProxy(output);
        return p ? fields(p->enabled, p->type, p->host) : "none";
    }
    if (parser == "ioreg") {
        const auto bytes = parseDiskByteCounters(output);
        return bytes ? QString("%1 %2").arg(bytes->first).arg(bytes->second) : "none";
    }
    if (parser == "ps") {
        QStringList lines;
        for (const Process& p : parseProcessSnapshot(output))
            lines << fields(p.pid, p.ppid, p.cpu, p.memory, p.name, p.command);
        return lines.isEmpty() ? "none" : lines.join('\n');
    }
    if (parser == "mount") {
        const QMap<QString, MountEntry> table = parseMountTable(output);
        return table.contains(key) ? table[key].device + ' ' + fieldText(table[key].fstype) : "none";
    }
    const QMap<QString, QString> values = profilerValues(output);
    return values.contains(key) ? values[key] : "none";
}

QStringList described(const std::vector<SystemReport::Disk>& disks)
{
    QStringList lines;
    for (const SystemReport::Disk& disk : disks)
        lines << fields(disk.name, disk.mount, disk.device, disk.fstype, disk.external);
    return lines;
}

const QString macBookMounts = "mount-apple-silicon-dmg-with-spaces-1.txt";
const QStringList macBookDisks = {"Internal Disk /System/Volumes/Data /dev/disk3s5 apfs false",
                                  "Mirth Connect Administrator Launcher /Volumes/Mirth Connect Administrator "
                                  "Launcher /dev/disk4 hfs true"};

} // namespace

class TestMacStatus : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_sandbox;

private slots:
    void init() { m_sandbox.renew(); }

    // `output`: a captured output's file name or the text itself.
    void toolOutputs_data()
    {
        columns<QString, QString, QString>("tool", "output", "expected");
        row("battery charging", "pmset", "pmset-batt-charging-1.txt", "98 true charging 0:42");
        row("battery plugged in, held: no time left", "pmset",
            "-InternalBattery-0\t80%; AC attached; not charging present: true", "80 false AC attached -");
        row("battery without estimate", "pmset",
            " -InternalBattery-0\t55%; discharging; (no estimate) present: true", "55 false discharging -");
        row("battery full, older format: nothing to count down", "pmset",
            "-InternalBattery-0\t100%; charged; 0:00 remaining", "100 true charged -");
        row("battery held at 0:00", "pmset", "-InternalBattery-0\t80%; AC attached; 0:00 remaining",
            "80 false AC attached -");
        row("battery power, no percent", "pmset",
            "Now drawing from 'Battery Power'\n -InternalBattery-0 (id=4653155)\t; discharging; 3:10 "
            "remaining present: true",
            "- false discharging 3:10");
        row("battery power, no estimate", "pmset",
            "Now drawing from 'Battery Power'\n -InternalBattery-0 (id=4653155)\t(no estimate)\n",
            "- false - -");
        row("internal battery before another percent", "pmset",
            "Now drawing from 'AC Power'\n -UPS (id=1)\t90%; AC attached\n -InternalBattery-0\t40%; charging",
            "40 true charging -");
        row("battery calibrating", "pmset", " -InternalBattery-0\t12.5%; calibrating",
            "12.5 - calibrating -");
        row("battery percent past a double unknown", "pmset",
            "-InternalBattery-0\t" + QString(400, '9') + "%; discharging", "- false discharging -");
        row("no battery", "pmset", "Now drawing from 'AC Power'\n", "none");
        row("swap in decimal commas", "sysctl",
            "vm.swapusage: total = 1024,00M  used = 0,25M  free = 1023,75M", "262144 1073741824");
        row("swap total only", "sysctl", "vm.swapusage: total = 0.00M", "- 0");
        row("swap past 64 bits unknown", "sysctl",
            "vm.swapusage: total = 99999999999999999999.00M  used = 1.00M", "1048576 -");
        row("no proxy enabled", "scutil", "<dictionary> {\n  HTTPEnable : 0\n  SOCKSEnable : 0\n}\n",
            "false - -");
        row("SOCKS before HTTPS", "scutil",
            "  HTTPSEnable : 1\n  HTTPSProxy : web.example\n  SOCKSEnable : 1\n  SOCKSProxy : 10.0.0.1 \n",
            "true SOCKS 10.0.0.1");
        row("no proxy answer", "scutil", "", "none");
        row("automatic configuration", "scutil",
            "  HTTPEnable : 0\n  ProxyAutoConfigEnable : 1\n  ProxyAutoConfigURLString : "
            "http://wpad.example.com/proxy.pac\n",
            "true PAC http://wpad.example.com/proxy.pac");
        row("automatic configuration before HTTP", "scutil",
            "  HTTPEnable : 1\n  HTTPProxy : web.example\n  ProxyAutoConfigEnable : 1\n", "true PAC -");
        row("automatic configuration off", "scutil",
            "  HTTPEnable : 1\n  HTTPProxy : web.example\n  ProxyAutoConfigEnable : 0\n  "
            "ProxyAutoConfigURLString : http://wpad/x.pac\n",
            "true HTTP web.example");
        row("proxy host left empty", "scutil", "  HTTPEnable : 1\n  HTTPProxy :\n  HTTPPort : 8080\n",
            "true HTTP -");
        row("disk counters summed", "ioreg", "\"Bytes (Read)\"=1000,\"Bytes (Write)\"=2\n\"Bytes (Read)\"=24",
            "1024 2");
        row("disk reads only", "ioreg", "\"Statistics\" = {\"Bytes (Read)\"=24}", "24 0");
        row("disk writes only", "ioreg", "\"Statistics\" = {\"Bytes (Write)\"=5}", "0 5");
        row("no disk statistics", "ioreg", "+-o IOBlockStorageDriver  <class IOBlockStorageDriver>\n",
            "none");
        row("process with runs of blanks", "ps", "  88     1  3,5  0,2 /usr/libexec/My\t  Helper\n",
            "88 1 3.5 0.2 My Helper /usr/libexec/My Helper");
        row("process with unreadable numbers", "ps", "PID PPID %CPU %MEM COMM\n7 x - 0.1 launchd",
            "7 - - 0.1 launchd launchd");
        row("process with nan and inf", "ps", "7 1 nan inf x", "7 1 - - x x");
        row("process line too short", "ps", "12 1 0.0 0.1", "none");
        row("mount point with spaces", "mount:/Volumes/Mirth Connect Administrator Launcher",
            "mount-apple-silicon-dmg-with-spaces-1.txt", "/dev/disk4 hfs");
        row("mounted device with a space", "mount:/System/Volumes/Data/home",
            "mount-apple-silicon-dmg-with-spaces-1.txt", "map auto_home autofs");
        row("mount options only", "mount:/", "mount-macos-leopard-era-1.txt", "/dev/disk0s2 -");
        row("mount without parentheses", "mount:/.vol", "mount-macos-leopard-era-1.txt", "<volfs> -");
        row("profiler section heading", "profiler:Hardware Overview",
            "system-profiler-sphardware-apple-m1-1.txt", "none");
        row("profiler's first of two graphics cards", "profiler:Chipset Model",
            "system-profiler-spdisplays-intel-dual-gpu-1.txt", "Intel HD Graphics 530");
        row("profiler's no-break space", "profiler:Maximum Capacity",
            "system-profiler-sppower-apple-m1-charged-1.txt", "100\u00a0%");
    }
    void toolOutputs()
    {
        const auto [tool, output, expected] = fetch<QString, QString, QString>("tool", "output", "expected");
        QCOMPARE(reading(tool, output.endsWith(".txt") ? fixture(output) : output), expected);
    }

    // Busiest first; an unknown percent (nan among them) counts as 0 and equal ones keep the listing's order.
    void processOrder()
    {
        const auto listing =
            parseProcessSnapshot("1 0 nan 0 a\n\n2 0 - 0 b\n3 0 5,0 0 c\n4 0 1.0 0 d\n5 0 0.0 0 e\n");
        QStringList names;
        for (const Process& process : listing)
            names << *process.name;
        QCOMPARE(names, QStringList({"c", "d", "a", "b", "e"}));
    }

    // The profiler's outputs replayed: the model, chip and GPU come from the profiler alone (the kernel's
    // fallbacks stay out), and each battery detail from the first output that has it: the profiler's,
    // then the battery driver's.
    void slowReadings_data()
    {
        columns<QStringList, QString>("files", "expected");
        row("Apple silicon",
            QStringList{"system-profiler-sphardware-apple-m1-1.txt",
                        "system-profiler-spdisplays-apple-m1-1.txt",
                        "system-profiler-sppower-apple-m1-charged-1.txt",
                        "ioreg-applesmartbattery-intel-charging-1.txt"},
            "MacBook Air MacBookAir10,1 Apple M1 8 - - | Normal 1 100 30.94");
        row("Intel, the GPU as chip",
            QStringList{"system-profiler-sphardware-intel-imac-1.txt",
                        "system-profiler-spdisplays-intel-macmini-1.txt",
                        "system-profiler-sppower-intel-desktop-macmini-1.txt"},
            "iMac iMac7,1 NVIDIA GeForce 9400 - - - | - - - -");
        row("displays and battery driver only",
            QStringList{"system-profiler-spdisplays-apple-m1-1.txt",
                        "ioreg-applesmartbattery-intel-charging-1.txt"},
            "- - Apple M1 8 - - | - 46 - 30.94");
        row("an old profiler's spelling",
            QStringList{"system-profiler-sppower-intel-macbook-replace-now-1.txt"},
            "- - - - - - | Replace Now 5 - -");
    }
    void slowReadings()
    {
        const auto [files, expected] = fetch<QStringList, QString>("files", "expected");
        const QString dir = m_sandbox.path("replay");
        // The replayed tool each capture comes from, by the capture's name.
        const QMap<QString, QString> tools{
            {"system-profiler-sphardware", "system_profiler SPHardwareDataType"},
            {"system-profiler-spdisplays", "system_profiler SPDisplaysDataType"},
            {"system-profiler-sppower", "system_profiler SPPowerDataType -detailLevel mini"},
            {"ioreg-applesmartbattery", "ioreg -r -c AppleSmartBattery"}};
        for (const QString& file : files)
            SyntheticHome::write(
                dir + '/' + tools.value(file.section('-', 0, file.startsWith("ioreg") ? 1 : 2)) + ".txt",
                fixture(file).toUtf8());
        const MacStatusSampler::Runner run = MacStatusSampler::replayRunner(dir);
        const LocalSystemOverview o = MacStatusSampler::overview({run, false});
        const BatteryDetails b = MacStatusSampler::batteryDetails(run, HealthScore::parseBatteryDetails);
        QCOMPARE(fields(o.modelName, o.modelIdentifier, o.chipName, o.gpuCoreCount, o.displayRefreshRate,
                        o.osVersion) +
                     " | " + fields(b.health, b.cycleCount, b.capacity, b.temperature),
                 expected);
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
        const QMap<QString, QString> recorded = {
            {"pmset -g batt.txt", fixture("pmset-batt-charging-1.txt")},
            {"sysctl vm.swapusage.txt", fixture("sysctl-vm-swapusage-intel-1.txt")},
            {"scutil --proxy.txt", fixture("scutil-proxy-http-enabled-privoxy-1.txt")},
            {"mount.txt", fixture(macBookMounts)},
            {"ioreg -r -c IOBlockStorageDriver.txt", fixture("ioreg-ioblockstoragedriver-partial-1.txt")},
            {"ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt", "7 1 2.0 0.5 /usr/libexec/a\n8 1 9,5 0.1 /bin/b\n"}};
        for (auto file = recorded.begin(); file != recorded.end(); ++file)
            if (file.key() != missing)
                SyntheticHome::write(dir + '/' + file.key(), file.value().toUtf8());
        const auto has = [&missing = missing](const char* file) { return missing != file; };
        const bool given = missing == "given processes";
        const MacStatusSampler::SlowReadings slow{LocalSystemOverview{},
                                                  BatteryDetails{"Normal", 46, 93, 30.9}, 4096};

        const LocalSystemStatus::Measurement measured = MacStatusSampler::measure(
            {MacStatusSampler::replayRunner(dir), false},
            given ? std::optional(LocalSystemStatus::Processes(1)) : std::nullopt, m_sandbox.home(), slow);
        const SystemReport& report = measured.report;

        const Battery battery{98, true, QString("charging"), QString("0:42"), QString("Normal"), 46, 93};
        QCOMPARE(report.batteries, has("pmset -g batt.txt") ? std::vector{battery} : std::vector<Battery>());
        QCOMPARE(report.thermal ? report.thermal->batteryTemp : std::nullopt, std::optional(30.9));
        QCOMPARE(report.proxy.has_value(), has("scutil --proxy.txt"));
        // The total is the kernel's, which a replay does not read.
        QCOMPARE(report.memory.value_or(SystemReport::Memory{}).swapTotal,
                 has("sysctl vm.swapusage.txt") ? std::optional<qint64>(2'147'483'648) : std::nullopt);
        QVERIFY(!report.memory || !report.memory->total);
        QCOMPARE(described(report.disks.value_or(std::vector<SystemReport::Disk>())),
                 has("mount.txt") ? macBookDisks : QStringList());
        QCOMPARE(measured.diskBytes.has_value(), has("ioreg -r -c IOBlockStorageDriver.txt"));
        QCOMPARE(measured.processes.size(), size_t(given                                             ? 1
                                                   : has("ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt") ? 2
                                                                                                     : 0));

        // Without the kernel: no tick counters or load, so the CPU use is unknown and said to be.
        QVERIFY(report.cpu && !report.cpu->usage && !report.cpu->perCore &&
                report.cpu->perCoreEstimated == true);
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
            QStringList{macBookDisks[0], "Archive /Volumes/Archive /dev/disk5s1 apfs true", macBookDisks[1]});
        row("startup volume without a data volume", fixture("mount-macos-leopard-era-1.txt"),
            QStringList{"- / /dev/disk0s2 - false", "data /Volumes/data /dev/disk0s3 - true"});
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
