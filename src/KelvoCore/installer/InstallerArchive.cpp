#include "installer/InstallerArchive.h"

#include "platform/ToolRunner.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

#include <fcntl.h>
#include <unistd.h>

namespace InstallerArchive {

ListingSetup standardListing()
{
    return {{{QStringLiteral("/usr/bin/unzip"), {QStringLiteral("-Z"), QStringLiteral("-1")}},
             {QStringLiteral("/usr/bin/zipinfo"), {QStringLiteral("-1")}}},
            std::chrono::milliseconds(2000)};
}

ListingSetup tarListing()
{
    return {{{QStringLiteral("/usr/bin/tar"), {QStringLiteral("-tf")}}}, std::chrono::milliseconds(2000)};
}

std::optional<QStringList> runListingTool(const ListingTool& tool, const QString& archivePath, int limit,
                                          std::chrono::milliseconds timeLimit)
{
    const ToolRunner::Result result =
        ToolRunner::run({tool.program, QStringList(tool.arguments) << archivePath, timeLimit});
    if (!result.succeeded())
        return std::nullopt;
    return listingLines(result.standardOutput, limit);
}

std::optional<QStringList> listingLines(const QByteArray& output, int limit)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(output);
    if (utf8.hasError())
        return std::nullopt;
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // An empty listing says nothing about the archive: treat it as no listing.
    if (lines.isEmpty())
        return std::nullopt;
    if (lines.size() > limit)
        lines.resize(limit);
    return lines;
}

std::optional<QStringList> listEntries(const QString& archivePath, int limit, const ListingSetup& listing)
{
    for (const ListingTool& tool : listing.tools)
        if (auto lines = runListingTool(tool, archivePath, limit, listing.toolTimeLimit))
            return lines;
    return std::nullopt;
}

bool namesHoldInstaller(const QStringList& names)
{
    static const std::array<QLatin1String, 4> extensions{QLatin1String(".app"), QLatin1String(".pkg"),
                                                         QLatin1String(".dmg"), QLatin1String(".xip")};
    for (const QString& name : names) {
        const QString lower = name.toLower();
        for (const QLatin1String extension : extensions)
            if (lower.endsWith(extension) || lower.contains(extension + QLatin1Char('/')))
                return true;
    }
    return false;
}

bool tailContainsInstallerMarker(const QString& archivePath)
{
    // O_NOFOLLOW: a link swapped in after the walk is not read through; O_NONBLOCK: nor is a pipe
    // waited on.
    const int fd =
        ::open(QFile::encodeName(archivePath).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    const qint64 length = file.size();
    if (!file.seek(length - std::min(length, tailBytes)))
        return false;
    return holdsInstallerMarker(file.readAll());
}

bool holdsInstallerMarker(const QByteArray& bytes)
{
    // QByteArray::toLower changes ASCII letters only, so names in other encodings stay intact.
    const QByteArray lower = bytes.toLower();
    static const std::array<QByteArray, 4> markers{QByteArrayLiteral(".pkg/"), QByteArrayLiteral(".dmg"),
                                                   QByteArrayLiteral(".xip"), QByteArrayLiteral(".app/")};
    return std::any_of(markers.begin(), markers.end(),
                       [&](const QByteArray& marker) { return lower.contains(marker); });
}

bool carriesInstaller(const QString& archivePath, const ListingSetup& listing, bool listingAllowed)
{
    if (archivePath.endsWith(QLatin1String(".app.zip"), Qt::CaseInsensitive))
        return true;
    if (listingAllowed)
        if (const auto names = listEntries(archivePath, listingLimit, listing))
            return namesHoldInstaller(*names);
    return tailContainsInstallerMarker(archivePath);
}

} // namespace InstallerArchive
