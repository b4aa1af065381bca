// The macOS status read from recorded tool outputs, as `kelvo status --replay FOLDER` reads them: the
// input is the folder ("=== pmset -g batt.txt" starts a tool's output), or, without such lines, one text
// given as every tool's output. Whatever the outputs say, the report keeps every status property (see
// StatusProperties.h), and each tool's reader, given the text on its own, returns only what it found.
#include "FuzzFolder.h"
#include "FuzzSupport.h"
#include "StatusProperties.h"

#include "status/HealthScore.h"
#include "status/LocalSystemStatus.h"
#include "status/MacToolParsers.h"
#include "status/MacVolumes.h"

#include <QTemporaryDir>

#include <cmath>

namespace {

// Every output the replay asks for.
const QStringList toolOutputs = {
    QStringLiteral("ps -axo pid=,ppid=,pcpu=,pmem=,comm=.txt"),
    QStringLiteral("pmset -g batt.txt"),
    QStringLiteral("sysctl vm.swapusage.txt"),
    QStringLiteral("ioreg -r -c IOBlockStorageDriver.txt"),
    QStringLiteral("ioreg -r -c AppleSmartBattery.txt"),
    QStringLiteral("mount.txt"),
    QStringLiteral("scutil --proxy.txt"),
    QStringLiteral("system_profiler SPHardwareDataType.txt"),
    QStringLiteral("system_profiler SPDisplaysDataType.txt"),
    QStringLiteral("system_profiler SPPowerDataType -detailLevel mini.txt"),
};

void checkReaders(const QString& text)
{
    using namespace MacToolParsers;
    for (const SystemReport::ProcessInfo& process : parseProcessSnapshot(text))
        KELVO_FUZZ_CHECK(process.pid && (!process.cpu || std::isfinite(*process.cpu)));
    if (const auto battery = parseBatterySnapshot(text))
        KELVO_FUZZ_CHECK(!battery->percent || (std::isfinite(*battery->percent) && *battery->percent >= 0));
    const SwapUsage swap = parseSwapUsage(text);
    KELVO_FUZZ_CHECK((!swap.used || *swap.used >= 0) && (!swap.total || *swap.total >= 0));
    const MacVolumes::MountTable mounts = parseMountTable(text);
    for (const SystemReport::Disk& disk : MacVolumes::fromMountTable(mounts))
        KELVO_FUZZ_CHECK(disk.mount && mounts.contains(*disk.mount));
    const BatteryDetails details = HealthScore::parseBatteryDetails(text);
    KELVO_FUZZ_CHECK(!details.cycleCount || *details.cycleCount >= 0);
    KELVO_FUZZ_CHECK(!details.temperature || std::isfinite(*details.temperature));
    for (auto it : profilerValues(text).asKeyValueRange())
        KELVO_FUZZ_CHECK(!it.first.isEmpty() && !it.second.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    FuzzFolder::Files files = FuzzFolder::files(input);
    if (files.isEmpty()) {
        checkReaders(QString::fromUtf8(input));
        for (const QString& output : toolOutputs)
            files.append({output.toUtf8(), input});
    }
    const QString folder = FuzzFolder::scratch() + QStringLiteral("/replay");
    FuzzFolder::write(folder, files);
    static QTemporaryDir home;
    StatusProperties::check(LocalSystemStatus::replaySnapshot(folder, home.path()));
    return 0;
}
