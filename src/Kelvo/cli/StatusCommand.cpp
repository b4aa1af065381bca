#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "status/LocalSystemStatus.h"
#include "status/ProcessControl.h"
#include "vocabulary/SizeText.h"

#include <QJsonObject>
#include <QTextStream>

#include <chrono>
#include <thread>

namespace CommandLine {

namespace {

QString gigabytes(std::optional<qint64> bytes)
{
    return bytes ? SizeText::statusGigabytes(*bytes) : QStringLiteral("—");
}

QString percent(std::optional<double> value)
{
    return value ? QString::number(qRound(*value)) + QLatin1Char('%') : QStringLiteral("—");
}

QString rate(std::optional<double> megabytesPerSecond)
{
    return megabytesPerSecond ? QString::asprintf("%.1f MB/s", *megabytesPerSecond) : QStringLiteral("—");
}

// Labels line up in a terminal, where a Chinese character takes two columns.
void line(QTextStream& out, const QString& label, const QString& text)
{
    qsizetype columns = 0;
    for (const QChar c : label)
        columns += c.unicode() >= 0x2E80 ? 2 : 1;
    out << label << QString(std::max<qsizetype>(1, 11 - columns), QLatin1Char(' ')) << text << '\n';
}

// The status JSON keeps the verdict and the pressure in English; people read them in their language.
QString inWords(const QString& value)
{
    static const std::pair<const char*, const char*> words[] = {
        {"Good", "良好"},   {"Fair", "一般"}, {"High Pressure", "紧张"}, {"Unknown", "未知"},
        {"normal", "正常"}, {"warn", "偏高"}, {"critical", "严重"}};
    for (const auto& [en, zh] : words)
        if (value == QLatin1String(en))
            return L(zh, en);
    return value;
}

void printSummary(QTextStream& out, const SystemReport& report)
{
    out << report.host.value_or(QStringLiteral("—")) << '\n';
    line(out, L("健康", "Health"),
         (report.healthScore ? QString::number(*report.healthScore) : QStringLiteral("—")) +
             (report.healthScoreMsg ? QStringLiteral("  ") + inWords(*report.healthScoreMsg) : QString()));
    if (const auto& cpu = report.cpu) {
        QStringList loads;
        for (const auto& load : {cpu->load1, cpu->load5, cpu->load15})
            if (load)
                loads << QString::asprintf("%.2f", *load);
        line(out, QStringLiteral("CPU"),
             percent(cpu->usage) + QStringLiteral("  (") +
                 (cpu->logicalCPU ? QString::number(*cpu->logicalCPU) + L(" 核", " cores")
                                  : L("核心数未知", "Core count unknown")) +
                 (loads.isEmpty() ? QString() : L("，负载 ", ", load ") + loads.join(QLatin1Char(' '))) +
                 QLatin1Char(')'));
    }
    if (const auto& memory = report.memory) {
        QString text = gigabytes(memory->used) + L(" / ", " of ") + gigabytes(memory->total) +
                       QStringLiteral(" (") + percent(memory->usedPercent) + QLatin1Char(')');
        if (memory->pressure)
            text += L("，压力 ", ", pressure ") + inWords(*memory->pressure);
        if (memory->swapTotal && *memory->swapTotal > 0)
            text += L("，交换 ", ", swap ") + gigabytes(memory->swapUsed) + L(" / ", " of ") +
                    gigabytes(memory->swapTotal);
        line(out, L("内存", "Memory"), text);
    }
    QString label = L("磁盘", "Disk");
    for (const SystemReport::Disk& disk : report.disks.value_or(std::vector<SystemReport::Disk>{})) {
        line(out, label,
             disk.mount.value_or(disk.name.value_or(QStringLiteral("—"))) + QStringLiteral("  ") +
                 // Used and available, and the use of what the two make, so the figures agree with each
                 // other (the blocks kept for root are in neither).
                 L("已用 ", "used ") + gigabytes(disk.used) + L("，可用 ", ", available ") +
                 gigabytes(disk.available) + QStringLiteral(" (") + percent(disk.usedPercent) +
                 QLatin1Char(')') + (disk.external.value_or(false) ? L("，外接", ", external") : QString()));
        label.clear();
    }
    if (const auto& io = report.diskIO)
        line(out, L("读写", "Disk I/O"),
             L("读 ", "read ") + rate(io->readRate) + L("，写 ", ", write ") + rate(io->writeRate));
    for (const SystemReport::Network& network : report.network.value_or(std::vector<SystemReport::Network>{}))
        line(out, L("网络", "Network"),
             network.name.value_or(QString()) + QStringLiteral("  ↓ ") + rate(network.rxRateMBs) +
                 QStringLiteral("  ↑ ") + rate(network.txRateMBs) +
                 (network.ip ? QStringLiteral("  ") + *network.ip : QString()));
    if (const std::optional<SystemReport::Battery> battery = report.battery())
        line(out, L("电池", "Battery"),
             percent(battery->percent) + QStringLiteral("  ") + battery->status.value_or(QString()) +
                 (battery->timeLeft ? QStringLiteral("  ") + *battery->timeLeft : QString()));
    else
        line(out, L("电源", "Power"), L("没有电池", "No battery"));
    if (report.proxy)
        line(out, L("代理", "Proxy"),
             report.proxy->enabled.value_or(false)
                 ? (report.proxy->type == QLatin1String("PAC") ? L("自动配置 (PAC)", "Automatic (PAC)")
                                                               : report.proxy->type.value_or(QString())) +
                       QLatin1Char(' ') + report.proxy->host.value_or(QString())
                 : L("未使用", "none"));
    if (report.trashSize)
        line(out, L("废纸篓", "Trash"), SizeText::bytes(report.trashSize));
    line(out, L("运行时间", "Uptime"), report.uptime.value_or(QStringLiteral("—")));
    QStringList busiest;
    for (const SystemReport::ProcessInfo& process : report.topProcesses)
        busiest << process.name.value_or(QStringLiteral("?")) + QLatin1Char(' ') + percent(process.cpu);
    line(out, L("进程", "Processes"),
         (report.procs ? QString::number(*report.procs) : QStringLiteral("—")) +
             (busiest.isEmpty() ? QString()
                                : L("；最忙：", "; busiest: ") + busiest.join(QStringLiteral(", "))));
}

constexpr double shortestInterval = 0.5, longestInterval = 3600;

std::optional<double> intervalSeconds(const QString& text)
{
    bool number = false;
    const double seconds = text.toDouble(&number);
    if (!number || !(seconds >= shortestInterval && seconds <= longestInterval))
        return std::nullopt;
    return seconds;
}

} // namespace

std::optional<QString> intervalProblem(const QString& seconds)
{
    if (intervalSeconds(seconds))
        return std::nullopt;
    return L("--interval 要的是 0.5 到 3600 之间的秒数，不是“%1”。",
             "--interval takes a number of seconds from 0.5 to 3600, not “%1”.")
        .arg(seconds);
}

int status(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const QDateTime started = QDateTime::currentDateTimeUtc();
    const std::optional<double> interval = intervalSeconds(arguments.value("--interval"));
    SystemReport report;
    if (const QString replayFolder = arguments.value("--replay"); !replayFolder.isEmpty()) {
        report = LocalSystemStatus::replaySnapshot(replayFolder, environment.home);
    } else {
        // Run as root, the busiest are root's own processes unless every user's are asked for.
        const ProcessControl::Viewer viewer = ProcessControl::currentViewer(arguments.has("--all-users"));
        constexpr int busiestShown = 5;
        StatusRates rates; // this run's own samples: the first has no rate
        if (interval) {
            // The second sample measures its rates and every process's CPU from the first.
            const auto span = std::chrono::milliseconds(qRound64(*interval * 1000));
            LocalSystemStatus::snapshotWithProcesses(viewer, busiestShown, span, rates);
            std::this_thread::sleep_for(span);
            report = LocalSystemStatus::snapshotWithProcesses(viewer, busiestShown, 2 * span, rates).first;
        } else {
            report = LocalSystemStatus::snapshotWithProcesses(viewer, busiestShown, std::chrono::seconds(10),
                                                              rates)
                         .first;
        }
    }
    if (arguments.has("--json")) {
        QJsonObject json = report.toJson();
        if (interval)
            json.insert(QStringLiteral("interval"), *interval);
        printJson(streams, QStringLiteral("status"), started, json);
    } else {
        printSummary(streams.out, report);
    }
    streams.out.flush();
    return 0;
}

} // namespace CommandLine
