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
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
        names.insert(trimmed.mid(slash + 1).toString());
    }
    return names;
}

} // namespace RunningProcesses
