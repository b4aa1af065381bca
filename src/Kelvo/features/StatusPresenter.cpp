#include "features/StatusPresenter.h"

#include "app/AppModelSupport.h"

#include "vocabulary/SizeText.h"

#include <QVariantList>

#include <algorithm>

using AppModelSupport::L;
using StatusPresenter::Concern;
using StatusPresenter::Health;

namespace {

const QString dash = QStringLiteral("—");

QString gigabytes(std::optional<qint64> bytes)
{
    return bytes ? SizeText::statusGigabytes(*bytes) : dash;
}

QString rate(std::optional<double> megabytesPerSecond)
{
    return megabytesPerSecond ? QString::asprintf("%.1f MB/s", *megabytesPerSecond) : dash;
}

QString percentText(std::optional<double> percent)
{
    return percent ? QString::number(qRound(*percent)) + QLatin1Char('%') : dash;
}

double fraction(std::optional<double> percent)
{
    return percent ? std::clamp(*percent / 100.0, 0.0, 1.0) : -1.0;
}

QVariantList fractions(const std::optional<std::vector<double>>& values, double scale = 1.0)
{
    QVariantList list;
    for (double value : values.value_or(std::vector<double>{}))
        list.append(value * scale);
    return list;
}

QVariantMap hero(const std::optional<SystemReport>& report)
{
    if (!report)
        return {{"label", L("未检查", "Not Checked")},
                {"message", L("等待状态刷新。", "Waiting for a status refresh.")},
                {"level", int(Health::Unchecked)},
                {"score", -1}};
    if (!report->healthScore)
        return {{"label", L("未知", "Unknown")},
                {"message", L("读数不足，无法评分：需要 CPU、内存和磁盘的使用率。",
                              "Not enough readings to score this machine: CPU, memory and disk use are all "
                              "needed.")},
                {"level", int(Health::Unknown)},
                {"score", -1}};
    const int score = *report->healthScore;
    const Health level = StatusPresenter::healthLevel(score);
    QString label, message;
    if (level == Health::Good) {
        label = L("良好", "Good");
        message = L("当前状态轻松，可以按需整理。", "The system looks healthy. Clean up only if needed.");
    } else if (level == Health::Fair) {
        label = L("一般", "Fair");
        message = L("有一些压力，建议先做一次预览检查。",
                    "There is some pressure. A preview check is a good next step.");
    } else {
        label = L("紧张", "High Pressure");
        message = L("压力偏高，建议优先预览清理并查看磁盘占用。",
                    "Pressure is high. Start with a cleanup preview and check disk usage.");
    }
    return {{"label", label}, {"message", message}, {"level", int(level)}, {"score", score}};
}

QVariantMap cpuCard(const std::optional<SystemReport::CPU>& cpu)
{
    const SystemReport::CPU known = cpu.value_or(SystemReport::CPU{});
    const std::optional<int> cores = known.logicalCPU ? known.logicalCPU : known.coreCount;
    QStringList loads;
    for (const std::optional<double>& load : {known.load1, known.load5, known.load15})
        if (load)
            loads << QString::asprintf("%.2f", *load);
    return {{"usage", fraction(known.usage)},
            {"usageText", percentText(known.usage)},
            {"coresText",
             cores ? QString::number(*cores) + L(" 核", " cores") : L("核心数未知", "Core count unknown")},
            {"loadText", loads.isEmpty() ? dash : loads.join(QStringLiteral(" · "))},
            {"perCore", fractions(known.perCore, 0.01)},
            {"note", known.perCoreEstimated.value_or(false)
                         ? L("核心负载按平均值估算", "Per-core load estimated from average")
                         : QString()}};
}

QVariantMap memoryCard(const std::optional<SystemReport::Memory>& memory)
{
    if (!memory)
        return {
            {"fraction", -1.0},   {"usedText", dash},     {"cachedText", dash},          {"totalText", dash},
            {"totalCaption", ""}, {"pressureText", dash}, {"level", int(Concern::Calm)}, {"swapText", dash}};
    const QString pressure = memory->pressure.value_or(QString());
    const QString pressureText = pressure == QLatin1String("critical") ? L("严重", "Critical")
                                 : pressure == QLatin1String("warn")   ? L("偏高", "Elevated")
                                 : pressure.isEmpty()                  ? dash
                                                                       : L("正常", "Normal");
    QString swap = dash;
    if (memory->swapTotal && *memory->swapTotal > 0)
        swap = gigabytes(memory->swapUsed.value_or(0)) + QStringLiteral(" / ") + gigabytes(memory->swapTotal);
    else if (memory->swapTotal)
        swap = L("未启用", "Off");
    return {{"fraction", fraction(memory->usedPercent)},
            {"usedText", gigabytes(memory->used)},
            {"cachedText", gigabytes(memory->cached)},
            {"totalText", gigabytes(memory->total)},
            {"totalCaption", memory->total ? L("共 ", "of ") + gigabytes(memory->total) : QString()},
            {"pressureText", pressureText},
            {"level", int(pressure == QLatin1String("critical") ? Concern::Danger
                          : pressure == QLatin1String("warn")   ? Concern::Warn
                                                                : Concern::Calm)},
            {"swapText", swap}};
}

QVariantList diskRows(const std::vector<SystemReport::Disk>& disks)
{
    QVariantList rows;
    for (const SystemReport::Disk& disk : disks) {
        // What the user can still write; a report without it (the older tool's) is read as total - used.
        std::optional<qint64> free = disk.available;
        if (!free && disk.total && disk.used)
            free = std::max<qint64>(0, *disk.total - *disk.used);
        rows.append(QVariantMap{{"name", disk.name.value_or(disk.mount.value_or(dash))},
                                {"mount", disk.mount.value_or(QString())},
                                {"fraction", fraction(disk.usedPercent)},
                                {"percentText", percentText(disk.usedPercent)},
                                {"usedText", gigabytes(disk.used)},
                                {"freeText", gigabytes(free)},
                                {"totalText", gigabytes(disk.total)},
                                {"external", disk.external.value_or(false)}});
    }
    return rows;
}

QVariantMap powerCard(const SystemReport& report)
{
    const std::optional<SystemReport::Battery> battery = report.battery();
    const auto watts = [&]() {
        QStringList parts;
        if (report.thermal && report.thermal->adapterPower)
            parts << L("适配器 ", "Adapter ") + QString::asprintf("%.1fW", *report.thermal->adapterPower);
        if (report.thermal && report.thermal->systemPower)
            parts << L("系统 ", "System ") + QString::asprintf("%.1fW", *report.thermal->systemPower);
        return parts.join(QStringLiteral(" · "));
    };
    if (!battery)
        return {{"hasBattery", false},     {"percentText", L("没有电池", "No battery")},
                {"fraction", -1.0},        {"stateText", L("外接电源", "Mains power")},
                {"detailText", QString()}, {"wattsText", watts()}};
    QStringList details;
    if (battery->timeLeft)
        details << L("剩余 ", "") + *battery->timeLeft + L("", " left");
    if (battery->cycleCount)
        details << QString::number(*battery->cycleCount) + L(" 次", " cycles");
    if (battery->capacity)
        details << L("最大容量 ", "Capacity ") + QString::number(*battery->capacity) + QLatin1Char('%');
    if (battery->health)
        details << *battery->health;
    QString state = battery->status.value_or(dash);
    if (battery->charging.value_or(false))
        state = L("充电中", "Charging");
    return {{"hasBattery", true},
            {"percentText", percentText(battery->percent)},
            {"fraction", fraction(battery->percent)},
            {"stateText", state},
            {"detailText", details.join(QStringLiteral(" · "))},
            {"wattsText", watts()}};
}

} // namespace

namespace StatusPresenter {

Health healthLevel(int score)
{
    if (score >= 76)
        return Health::Good;
    if (score >= 46)
        return Health::Fair;
    return Health::High;
}

Concern diskFullnessLevel(const std::vector<SystemReport::Disk>& disks)
{
    std::optional<double> worst;
    for (const SystemReport::Disk& disk : disks)
        if (disk.usedPercent)
            worst = std::max(worst.value_or(*disk.usedPercent), *disk.usedPercent);
    if (!worst || *worst < 90)
        return Concern::Calm;
    return *worst < 95 ? Concern::Warn : Concern::Danger;
}

QVariantMap present(const std::optional<SystemReport>& report)
{
    const SystemReport shown = report.value_or(SystemReport{});
    const std::vector<SystemReport::Disk> disks = shown.disks.value_or(std::vector<SystemReport::Disk>{});
    const Concern fullness = diskFullnessLevel(disks);
    const QString hint = fullness == Concern::Danger
                             ? L("磁盘几乎已满，建议立即清理", "Disk almost full, clean up soon")
                         : fullness == Concern::Warn
                             ? L("磁盘使用紧张，可以做一次清理", "Disk usage is high, consider a cleanup")
                             : QString();

    const SystemReport::DiskIO io = shown.diskIO.value_or(SystemReport::DiskIO{});
    const SystemReport::DiskIOHistory ioHistory = shown.diskIOHistory.value_or(SystemReport::DiskIOHistory{});
    std::optional<double> rx, tx;
    QStringList interfaces;
    for (const SystemReport::Network& network :
         shown.network.value_or(std::vector<SystemReport::Network>{})) {
        if (network.rxRateMBs)
            rx = rx.value_or(0) + *network.rxRateMBs;
        if (network.txRateMBs)
            tx = tx.value_or(0) + *network.txRateMBs;
        if (network.name)
            interfaces << *network.name + (network.ip ? QStringLiteral(" ") + *network.ip : QString());
    }
    const SystemReport::NetworkHistory netHistory =
        shown.networkHistory.value_or(SystemReport::NetworkHistory{});

    QString proxy = dash;
    if (shown.proxy && shown.proxy->enabled.value_or(false))
        proxy = (shown.proxy->type == QLatin1String("PAC")
                     ? L("自动配置 (PAC)", "Automatic (PAC)")
                     : shown.proxy->type.value_or(QStringLiteral("Proxy"))) +
                QStringLiteral(" ") + shown.proxy->host.value_or(QString());
    else if (shown.proxy)
        proxy = L("未使用代理", "No proxy");

    return {{"hasReport", report.has_value()},
            {"hero", hero(report)},
            {"host", QVariantMap{{"name", shown.host.value_or(dash)},
                                 {"platform", shown.platform.value_or(dash)},
                                 {"uptime", shown.uptime.value_or(dash)},
                                 {"processCount", shown.procs ? QString::number(*shown.procs) : dash}}},
            {"cpu", cpuCard(shown.cpu)},
            {"memory", memoryCard(shown.memory)},
            {"disks", diskRows(disks)},
            {"diskHint", hint},
            {"diskHintLevel", int(fullness)},
            {"diskIO", QVariantMap{{"readText", rate(io.readRate)},
                                   {"writeText", rate(io.writeRate)},
                                   {"readHistory", fractions(ioHistory.readHistory)},
                                   {"writeHistory", fractions(ioHistory.writeHistory)}}},
            {"network",
             QVariantMap{{"rxText", rate(rx)},
                         {"txText", rate(tx)},
                         {"interfaceText", interfaces.isEmpty() ? L("没有网络连接", "No network connection")
                                                                : interfaces.join(QStringLiteral(", "))},
                         {"rxHistory", fractions(netHistory.rxHistory)},
                         {"txHistory", fractions(netHistory.txHistory)},
                         {"note", L("所有已连接网卡的流量，不含回环（本机自身之间的通信）。",
                                    "Traffic of every connected interface except loopback (this machine "
                                    "talking to itself).")}}},
            {"power", powerCard(shown)},
            {"proxy", proxy},
            {"trash", shown.trashSize ? SizeText::bytes(shown.trashSize) : dash}};
}

} // namespace StatusPresenter
