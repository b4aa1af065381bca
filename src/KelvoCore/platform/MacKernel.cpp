#include "platform/MacKernel.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <sys/utsname.h>

#ifdef Q_OS_MACOS
#include <QHash>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <mach/mach.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/sysctl.h>
#include <sys/time.h>
#include <sys/types.h>
#endif

namespace MacKernel {

std::optional<std::array<double, 3>> loadAverages()
{
    std::array<double, 3> loads{};
    if (getloadavg(loads.data(), 3) != 3)
        return std::nullopt;
    return loads;
}

std::optional<QString> machine()
{
    utsname name{};
    if (uname(&name) != 0 || name.machine[0] == '\0')
        return std::nullopt;
    return QString::fromUtf8(name.machine);
}

#ifdef Q_OS_MACOS

std::optional<std::vector<CpuTicks>> cpuTicks()
{
    natural_t processors = 0;
    processor_info_array_t info = nullptr;
    mach_msg_type_number_t infoCount = 0;
    if (host_processor_info(mach_host_self(), PROCESSOR_CPU_LOAD_INFO, &processors, &info, &infoCount) !=
        KERN_SUCCESS)
        return std::nullopt;
    const auto* loads = reinterpret_cast<const processor_cpu_load_info_data_t*>(info);
    std::vector<CpuTicks> ticks;
    ticks.reserve(processors);
    for (natural_t i = 0; i < processors; ++i) {
        const auto& load = loads[i].cpu_ticks;
        ticks.push_back(
            {load[CPU_STATE_USER], load[CPU_STATE_SYSTEM], load[CPU_STATE_NICE], load[CPU_STATE_IDLE]});
    }
    // The kernel allocated the array in this task; it is ours to give back.
    vm_deallocate(mach_task_self(), reinterpret_cast<vm_address_t>(info), infoCount * sizeof(integer_t));
    if (ticks.empty())
        return std::nullopt;
    return ticks;
}

std::optional<VmStatistics> vmStatistics()
{
    vm_statistics64_data_t stats{};
    mach_msg_type_number_t count = HOST_VM_INFO64_COUNT;
    if (host_statistics64(mach_host_self(), HOST_VM_INFO64, reinterpret_cast<host_info64_t>(&stats),
                          &count) != KERN_SUCCESS)
        return std::nullopt;
    vm_size_t pageSize = 0;
    if (host_page_size(mach_host_self(), &pageSize) != KERN_SUCCESS || pageSize == 0)
        return std::nullopt;
    VmStatistics statistics;
    statistics.active = stats.active_count;
    statistics.wired = stats.wire_count;
    statistics.compressor = stats.compressor_page_count;
    statistics.inactive = stats.inactive_count;
    statistics.purgeable = stats.purgeable_count;
    statistics.speculative = stats.speculative_count;
    statistics.pageSize = pageSize;
    return statistics;
}

std::optional<qint64> sysctlInteger(const QByteArray& name)
{
    char buffer[8] = {};
    size_t size = sizeof buffer;
    if (sysctlbyname(name.constData(), buffer, &size, nullptr, 0) != 0)
        return std::nullopt;
    if (size == sizeof(qint32)) {
        qint32 value = 0;
        std::memcpy(&value, buffer, size);
        return value;
    }
    if (size == sizeof(qint64)) {
        qint64 value = 0;
        std::memcpy(&value, buffer, size);
        return value;
    }
    return std::nullopt;
}

std::optional<QString> sysctlText(const QByteArray& name)
{
    size_t size = 0;
    if (sysctlbyname(name.constData(), nullptr, &size, nullptr, 0) != 0 || size == 0)
        return std::nullopt;
    QByteArray buffer(static_cast<qsizetype>(size), '\0');
    if (sysctlbyname(name.constData(), buffer.data(), &size, nullptr, 0) != 0)
        return std::nullopt;
    buffer.truncate(static_cast<qsizetype>(qstrnlen(buffer.constData(), size)));
    if (buffer.isEmpty())
        return std::nullopt;
    return QString::fromUtf8(buffer);
}

std::optional<qint64> bootTime()
{
    timeval boot{};
    size_t size = sizeof boot;
    if (sysctlbyname("kern.boottime", &boot, &size, nullptr, 0) != 0 || boot.tv_sec <= 0)
        return std::nullopt;
    return static_cast<qint64>(boot.tv_sec);
}

namespace {

ProcessFacts factsOf(const kinfo_proc& info)
{
    const timeval& start = info.kp_proc.p_starttime;
    return {qint64(start.tv_sec) * 1'000'000 + start.tv_usec, qint64(info.kp_eproc.e_pcred.p_ruid)};
}

} // namespace

std::optional<ProcessFacts> processFacts(int pid)
{
    kinfo_proc info{};
    size_t size = sizeof info;
    int name[] = {CTL_KERN, KERN_PROC, KERN_PROC_PID, pid};
    if (sysctl(name, 4, &info, &size, nullptr, 0) != 0 || size < sizeof info || info.kp_proc.p_pid != pid)
        return std::nullopt;
    return factsOf(info);
}

std::map<int, ProcessFacts> allProcessFacts()
{
    int name[] = {CTL_KERN, KERN_PROC, KERN_PROC_ALL};
    size_t size = 0;
    if (sysctl(name, 3, nullptr, &size, nullptr, 0) != 0)
        return {};
    // Room for the processes started between the two calls.
    std::vector<kinfo_proc> list(size / sizeof(kinfo_proc) + 64);
    size = list.size() * sizeof(kinfo_proc);
    if (sysctl(name, 3, list.data(), &size, nullptr, 0) != 0)
        return {};
    list.resize(size / sizeof(kinfo_proc));
    std::map<int, ProcessFacts> facts;
    for (const kinfo_proc& info : list)
        facts.emplace(info.kp_proc.p_pid, factsOf(info));
    return facts;
}

std::vector<InterfaceCounters> interfaceCounters()
{
    ifaddrs* addresses = nullptr;
    if (getifaddrs(&addresses) != 0)
        return {};
    std::vector<InterfaceCounters> interfaces;
    QHash<QString, QString> ipv4;
    for (const ifaddrs* address = addresses; address; address = address->ifa_next) {
        if (!address->ifa_addr || !(address->ifa_flags & IFF_UP) || (address->ifa_flags & IFF_LOOPBACK))
            continue;
        const QString name = QString::fromUtf8(address->ifa_name);
        if (address->ifa_addr->sa_family == AF_LINK && address->ifa_data) {
            // The link-level entry carries the interface's statistics.
            const auto* data = static_cast<const if_data*>(address->ifa_data);
            InterfaceCounters counters;
            counters.name = name;
            counters.rxBytes = data->ifi_ibytes;
            counters.txBytes = data->ifi_obytes;
            interfaces.push_back(std::move(counters));
        } else if (address->ifa_addr->sa_family == AF_INET && !ipv4.contains(name)) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* inet = reinterpret_cast<const sockaddr_in*>(address->ifa_addr);
            if (inet_ntop(AF_INET, &inet->sin_addr, text, sizeof text))
                ipv4.insert(name, QString::fromLatin1(text));
        }
    }
    freeifaddrs(addresses);
    for (InterfaceCounters& counters : interfaces)
        if (ipv4.contains(counters.name))
            counters.ip = ipv4.value(counters.name);
    std::stable_partition(interfaces.begin(), interfaces.end(),
                          [](const InterfaceCounters& counters) { return counters.ip.has_value(); });
    return interfaces;
}

#else

std::optional<std::vector<CpuTicks>> cpuTicks()
{
    return std::nullopt;
}

std::optional<VmStatistics> vmStatistics()
{
    return std::nullopt;
}

std::optional<qint64> sysctlInteger(const QByteArray&)
{
    return std::nullopt;
}

std::optional<QString> sysctlText(const QByteArray&)
{
    return std::nullopt;
}

std::optional<qint64> bootTime()
{
    return std::nullopt;
}

std::optional<ProcessFacts> processFacts(int)
{
    return std::nullopt;
}

std::map<int, ProcessFacts> allProcessFacts()
{
    return {};
}

std::vector<InterfaceCounters> interfaceCounters()
{
    return {};
}

#endif

} // namespace MacKernel
