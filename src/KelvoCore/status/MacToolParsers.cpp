#include "status/MacToolParsers.h"

#include "vocabulary/TextNumber.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace MacToolParsers {

namespace {

// A decimal as the tools print it, in any locale's notation ("2,4" as well as "2.4").
std::optional<double> decimal(QString text)
{
    return TextNumber::finite(text.replace(QLatin1Char(','), QLatin1Char('.')));
}

std::optional<int> integer(const QString& text)
{
    const auto value =
        TextNumber::integer(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return value ? std::optional(int(*value)) : std::nullopt;
}

QStringList lines(const QString& text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Megabytes as sysctl prints them ("2048.00M") in whole bytes; unknown without a match.
std::optional<qint64> megabytesAfter(const QString& text, const QString& key)
{
    const QRegularExpression pattern(key + QStringLiteral(R"(\s*=\s*([0-9]+(?:[.,][0-9]+)?)M)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<double> megabytes = decimal(match.captured(1));
    if (!megabytes)
        return std::nullopt;
    return TextNumber::whole(*megabytes * 1024.0 * 1024.0, 0);
}

std::optional<quint64> summedCounter(const QString& text, const QString& key)
{
    const QRegularExpression pattern(QStringLiteral("\"%1\"=(\\d+)").arg(QRegularExpression::escape(key)));
    std::optional<quint64> sum;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        sum = sum.value_or(0) + TextNumber::counter(match.captured(1)).value_or(0);
    return sum;
}

// Old releases printed only the options in the parentheses ("(local, journaled)"); these words are
// options, never a file system's type.
bool isMountOption(const QString& word)
{
    static const QSet<QString> options = {
        QStringLiteral("local"),        QStringLiteral("journaled"),   QStringLiteral("union"),
        QStringLiteral("automounted"),  QStringLiteral("read-only"),   QStringLiteral("synchronous"),
        QStringLiteral("asynchronous"), QStringLiteral("nodev"),       QStringLiteral("nosuid"),
        QStringLiteral("noexec"),       QStringLiteral("nobrowse"),    QStringLiteral("noowners"),
        QStringLiteral("quarantine"),   QStringLiteral("noatime"),     QStringLiteral("defwrite"),
        QStringLiteral("multilabel"),   QStringLiteral("NFS exported")};
    return options.contains(word);
}

} // namespace

std::vector<SystemReport::ProcessInfo> parseProcessSnapshot(const QString& text)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    std::vector<SystemReport::ProcessInfo> processes;
    for (const QString& line : lines(text)) {
        const QStringList fields = line.split(whiteSpace, Qt::SkipEmptyParts);
        const std::optional<int> pid = fields.size() < 5 ? std::nullopt : integer(fields[0]);
        if (!pid || *pid <= 0) // a header, or a line that is not a process's
            continue;
        SystemReport::ProcessInfo process;
        process.pid = pid;
        process.ppid = integer(fields[1]);
        process.cpu = decimal(fields[2]);
        process.memory = decimal(fields[3]);
        const QString command = fields.mid(4).join(QLatin1Char(' '));
        process.command = command;
        process.name = command.mid(command.lastIndexOf(QLatin1Char('/')) + 1);
        processes.push_back(std::move(process));
    }
    std::stable_sort(processes.begin(), processes.end(),
                     [](const auto& a, const auto& b) { return a.cpu.value_or(0) > b.cpu.value_or(0); });
    return processes;
}

std::optional<SystemReport::Battery> parseBatterySnapshot(const QString& text)
{
    const QStringList all = lines(text);
    // The first line says where the power comes from: "Now drawing from 'Battery Power'".
    const bool onBattery = !all.isEmpty() && all.front().contains(QLatin1String("'Battery Power'"));
    auto line = std::find_if(all.begin(), all.end(), [](const QString& candidate) {
        return candidate.trimmed().startsWith(QLatin1String("-InternalBattery"));
    });
    if (line == all.end())
        line = std::find_if(all.begin(), all.end(),
                            [](const QString& candidate) { return candidate.contains(QLatin1Char('%')); });
    if (line == all.end() && !onBattery)
        return std::nullopt;

    SystemReport::Battery battery;
    const QString described = line == all.end() ? QString() : *line;
    static const QRegularExpression percent(QStringLiteral(R"(([0-9]+(?:\.[0-9]+)?)%)"));
    if (const QRegularExpressionMatch match = percent.match(described); match.hasMatch())
        battery.percent = decimal(match.captured(1));

    QStringList pieces = described.split(QLatin1Char(';'));
    for (QString& piece : pieces)
        piece = piece.trimmed();
    const QString status = pieces.size() > 1 ? pieces[1].toLower() : QString();
    if (pieces.size() > 1) {
        battery.status = pieces[1];
        if (status == QLatin1String("charging") || status == QLatin1String("charged") ||
            status == QLatin1String("finishing charge"))
            battery.charging = true;
        else if (status == QLatin1String("discharging") || status == QLatin1String("ac attached"))
            battery.charging = false;
    }
    if (onBattery && !battery.charging)
        battery.charging = false; // drawing from the battery is not charging it
    if (pieces.size() > 2) {
        // "2:31 remaining present: true"; "(no estimate)" and anything else that is not hours and
        // minutes leave the time unknown. A full or held battery on mains has nothing to count down:
        // its "0:00" is not a time.
        static const QRegularExpression hoursAndMinutes(QStringLiteral("^(\\d{1,5}:[0-5]\\d)(\\s|$)"));
        const bool onMains = status == QLatin1String("charged") || status == QLatin1String("ac attached");
        if (const QRegularExpressionMatch time = hoursAndMinutes.match(pieces[2]);
            time.hasMatch() && !(onMains && time.captured(1) == QLatin1String("0:00")))
            battery.timeLeft = time.captured(1);
    }
    return battery;
}

SwapUsage parseSwapUsage(const QString& text)
{
    return {megabytesAfter(text, QStringLiteral("used")), megabytesAfter(text, QStringLiteral("total"))};
}

std::optional<std::pair<quint64, quint64>> parseDiskByteCounters(const QString& text)
{
    const std::optional<quint64> read = summedCounter(text, QStringLiteral("Bytes (Read)"));
    const std::optional<quint64> written = summedCounter(text, QStringLiteral("Bytes (Write)"));
    if (!read && !written)
        return std::nullopt;
    return std::pair(read.value_or(0), written.value_or(0));
}

QMap<QString, MountEntry> parseMountTable(const QString& text)
{
    QMap<QString, MountEntry> table;
    for (const QString& untrimmed : lines(text)) {
        const QString line = untrimmed.trimmed();
        // Both the device ("map auto_home") and the mount point ("/Volumes/My Disk (2)") may hold
        // spaces: the options are the last parenthesised part, the mount point the first " on /".
        QString head = line;
        std::optional<QString> fstype;
        const qsizetype options = line.lastIndexOf(QLatin1String(" ("));
        if (line.endsWith(QLatin1Char(')')) && options > 0) {
            head = line.left(options);
            const QString first = line.mid(options + 2).chopped(1).section(QLatin1Char(','), 0, 0).trimmed();
            if (!first.isEmpty() && !isMountOption(first))
                fstype = first;
        }
        const qsizetype on = head.indexOf(QLatin1String(" on /"));
        if (on <= 0)
            continue;
        table.insert(head.mid(on + 4), {head.left(on), fstype});
    }
    return table;
}

std::optional<SystemReport::Proxy> parseProxy(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const auto enabled = [&text](const QString& key) {
        return QRegularExpression(QStringLiteral(R"(\b%1[ \t]*:[ \t]*1\b)").arg(key)).match(text).hasMatch();
    };
    // The value on the key's own line; unknown when the key is missing or has none.
    const auto value = [&text](const QString& key) -> std::optional<QString> {
        const QRegularExpression pattern(QStringLiteral(R"(\b%1[ \t]*:[ \t]*([^\n]*))").arg(key));
        const QString found = pattern.match(text).captured(1).trimmed();
        return found.isEmpty() ? std::nullopt : std::optional(found);
    };
    // An automatic configuration chooses the proxy for each address, the manual ones included.
    if (enabled(QStringLiteral("ProxyAutoConfigEnable")))
        return SystemReport::Proxy{true, QStringLiteral("PAC"),
                                   value(QStringLiteral("ProxyAutoConfigURLString"))};
    for (const QString& type : {QStringLiteral("SOCKS"), QStringLiteral("HTTPS"), QStringLiteral("HTTP")}) {
        if (enabled(type + QStringLiteral("Enable")))
            return SystemReport::Proxy{true, type, value(type + QStringLiteral("Proxy"))};
    }
    return SystemReport::Proxy{false, std::nullopt, std::nullopt};
}

QMap<QString, QString> profilerValues(const QString& text)
{
    QMap<QString, QString> values;
    for (const QString& line : lines(text)) {
        const qsizetype colon = line.indexOf(QLatin1String(": "));
        if (colon < 0)
            continue;
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 2).trimmed();
        if (!key.isEmpty() && !value.isEmpty() && !values.contains(key))
            values.insert(key, value);
    }
    return values;
}

} // namespace MacToolParsers
