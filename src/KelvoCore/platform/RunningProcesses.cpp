#include "platform/RunningProcesses.h"

#include "platform/ToolRunner.h"

#include <QStringDecoder>

using namespace std::chrono_literals;

namespace RunningProcesses {

QSet<QString> names()
{
    const ToolRunner::Result result =
        ToolRunner::run({QStringLiteral("/bin/ps"), {QStringLiteral("-axo"), QStringLiteral("comm=")}, 10s});
    if (!result.succeeded())
        return {};
    return namesFromListing(result.standardOutput);
}

QSet<QString> namesFromListing(const QByteArray& listing)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(listing);
    if (decoder.hasError())
        return {};
    QSet<QString> names;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // The line read as a file path: its last component, trailing separators aside ("/" has none).
        QStringView path = line.trimmed();
        while (path.endsWith(QLatin1Char('/')))
            path.chop(1);
        const QStringView name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        if (!name.isEmpty())
            names.insert(name.toString());
    }
    return names;
}

} // namespace RunningProcesses
