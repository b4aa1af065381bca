// The texts of /proc and /etc/os-release, each read by its own reader: every figure that comes out is a
// real number in its range, sizes are never negative, and the CPU's share lies between 0 and 100. The
// input is one text given to every reader; a line "--" splits it into the two readings the CPU's share
// compares.
#include "FuzzSupport.h"

#include "status/LinuxProcText.h"

#include <cmath>

using namespace LinuxStatusSampler;

namespace {

bool isShare(double percent)
{
    return std::isfinite(percent) && percent >= 0 && percent <= 100;
}

void checkCpu(const QString& first, const QString& second)
{
    const std::optional<CpuTimes> before = parseCpuTimes(first);
    const std::optional<CpuTimes> after = parseCpuTimes(second);
    if (!before || !after)
        return;
    if (const std::optional<CpuLoad> load = cpuLoad(*before, *after)) {
        KELVO_FUZZ_CHECK(isShare(load->usage));
        KELVO_FUZZ_CHECK(std::isfinite(load->elapsedTicks) && load->elapsedTicks > 0);
        KELVO_FUZZ_CHECK(load->perCore.size() == after->cores.size());
        for (double core : load->perCore)
            KELVO_FUZZ_CHECK(isShare(core));
    }
}

void checkMemory(const QString& text)
{
    const QMap<QString, qint64> meminfo = parseMemInfo(text);
    for (qint64 bytes : meminfo)
        KELVO_FUZZ_CHECK(bytes >= 0);
    const std::optional<SystemReport::Memory> memory = LinuxStatusSampler::memory(meminfo);
    if (!memory)
        return;
    KELVO_FUZZ_CHECK(memory->total && *memory->total >= 0);
    KELVO_FUZZ_CHECK(!memory->used || (*memory->used >= 0 && *memory->used <= *memory->total));
    KELVO_FUZZ_CHECK(!memory->usedPercent || isShare(*memory->usedPercent));
    for (const std::optional<qint64>& size : {memory->swapUsed, memory->swapTotal, memory->cached})
        KELVO_FUZZ_CHECK(!size || *size >= 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    const QString text = QString::fromUtf8(bytes);
    const qsizetype split = text.indexOf(QLatin1String("\n--\n"));
    checkCpu(text.left(split), split < 0 ? text : text.mid(split + 4));
    checkMemory(text);

    if (const auto load = parseLoadAverage(text))
        for (double average : *load)
            KELVO_FUZZ_CHECK(std::isfinite(average) && average >= 0);
    KELVO_FUZZ_CHECK(physicalCoreCount(text) >= 0);
    if (const auto name = processorName(text))
        KELVO_FUZZ_CHECK(!name->trimmed().isEmpty());
    if (const auto uptime = parseUptime(text))
        KELVO_FUZZ_CHECK(*uptime >= 0);
    for (const MountEntry& mount : parseMountInfo(text))
        KELVO_FUZZ_CHECK(!mount.mountPoint.isEmpty());
    diskBytes(text, {QStringLiteral("sda"), QStringLiteral("nvme0n1"), QStringLiteral("cciss!c0d0")});
    for (const auto& [interface, counters] : parseNetDev(text))
        KELVO_FUZZ_CHECK(!interface.isEmpty());
    if (const auto stat = parseProcessStat(bytes)) {
        KELVO_FUZZ_CHECK(stat->pid > 0 && stat->ppid >= 0 && stat->rssPages >= 0);
        const auto [command, name] = commandAndName(bytes, stat->comm);
        KELVO_FUZZ_CHECK(!command.isEmpty());
    }
    if (const auto uid = parseRealUid(text))
        KELVO_FUZZ_CHECK(*uid >= 0);
    if (const auto pretty = osReleaseValue(text, QStringLiteral("PRETTY_NAME")))
        KELVO_FUZZ_CHECK(!pretty->contains(u'\n'));
    return 0;
}
