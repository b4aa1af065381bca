// The Linux sampler over a synthetic system: the input is a folder of files ("=== proc/meminfo",
// "=== sys/class/power_supply/BAT0/uevent", "=== etc/os-release"...) standing for /proc, /sys and /etc;
// a file "statvfs" holds the four figures the space probe gives every mount (blocks, free, available,
// bytes per block), a file "environ" the proxy variables. Whatever those files say, the report made of
// them keeps every status property (see StatusProperties.h).
#include "FuzzFolder.h"
#include "FuzzSupport.h"
#include "StatusProperties.h"

#include "status/LinuxStatusSampler.h"
#include "status/LocalSystemStatus.h"
#include "status/StatusRates.h"

using namespace LinuxStatusSampler;

namespace {

std::optional<FileSystemSpace> spaceOf(const FuzzFolder::Files& files)
{
    for (const auto& [path, text] : files) {
        if (path != "statvfs")
            continue;
        const QList<QByteArray> figures = text.simplified().split(' ');
        if (figures.size() < 4)
            return std::nullopt;
        return FileSystemSpace{figures[0].toULongLong(), figures[1].toULongLong(), figures[2].toULongLong(),
                               figures[3].toULongLong()};
    }
    return std::nullopt;
}

QProcessEnvironment proxiesOf(const FuzzFolder::Files& files)
{
    QProcessEnvironment environment;
    for (const auto& [path, text] : files)
        if (path == "environ")
            for (const QByteArray& line : text.split('\n'))
                if (const qsizetype equals = line.indexOf('=');
                    equals > 0 && line.left(equals).endsWith("_proxy"))
                    environment.insert(QString::fromUtf8(line.left(equals)),
                                       QString::fromUtf8(line.mid(equals + 1)));
    return environment;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const FuzzFolder::Files files = FuzzFolder::files(FuzzSupport::bytes(data, size));
    const QString root = FuzzFolder::scratch();
    FuzzFolder::write(root, files);

    Roots roots;
    roots.proc = root + QStringLiteral("/proc");
    roots.sys = root + QStringLiteral("/sys");
    roots.etc = root + QStringLiteral("/etc");
    roots.home = root + QStringLiteral("/home");
    roots.environment = proxiesOf(files);
    const std::optional<FileSystemSpace> space = spaceOf(files);
    roots.space = [space](const QString&) { return space; };
    roots.addresses = QMap<QString, QString>{{QStringLiteral("eth0"), QStringLiteral("192.0.2.7")}};
    roots.wait = [](std::chrono::milliseconds) {};

    LocalSystemStatus::Measurement measurement = measure(roots, std::nullopt, std::chrono::milliseconds(0));
    for (const SystemReport::Disk& disk :
         measurement.report.disks.value_or(std::vector<SystemReport::Disk>{}))
        KELVO_FUZZ_CHECK(!disk.used || !disk.total || *disk.used <= *disk.total);
    StatusRates rates;
    StatusProperties::check(LocalSystemStatus::complete(std::move(measurement), rates, 1000));
    return 0;
}
