#include "uninstall/LinuxIcons.h"

#include "platform/FileWalker.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>

#include <limits>

namespace LinuxIcons {

namespace {

const QStringList suffixes{QStringLiteral("svg"), QStringLiteral("svgz"), QStringLiteral("png")};

// How good a size folder's picture is: "scalable" beats every fixed size, a larger size a smaller one.
int sizeRank(const QString& folderName)
{
    if (folderName == QLatin1String("scalable"))
        return std::numeric_limits<int>::max();
    return folderName.section(u'x', 0, 0).toInt();
}

std::optional<QString> named(const QString& folder, const QString& name)
{
    for (const QString& suffix : suffixes)
        if (const QString file = PathText::joined(folder, name + u'.' + suffix); isIconFile(file))
            return file;
    return std::nullopt;
}

} // namespace

bool isIconFile(const QString& path)
{
    const std::optional<FileWalker::Item> item = FileWalker::statItem(path);
    return item && item->kind == FileWalker::Kind::file &&
           suffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

std::optional<QString> inTheme(const QString& themeFolder, const QString& name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return std::nullopt;
    std::optional<QString> best;
    int bestRank = -1;
    for (const FileWalker::Item& size : FileWalker::children(themeFolder)) {
        const int rank = sizeRank(size.name);
        if (size.kind != FileWalker::Kind::folder || rank <= bestRank)
            continue;
        if (std::optional<QString> file = named(size.path + QStringLiteral("/apps"), name)) {
            best = std::move(file);
            bestRank = rank;
        }
    }
    return best;
}

std::optional<QString> forDesktopEntry(const QString& iconValue, const QString& home)
{
    if (iconValue.startsWith(u'/'))
        return isIconFile(iconValue) ? std::optional(iconValue) : std::nullopt;
    if (iconValue.isEmpty() || iconValue.contains(u'/'))
        return std::nullopt;
    const QString icons = PathText::joined(home, QStringLiteral(".local/share/icons"));
    if (std::optional<QString> themed = inTheme(icons + QStringLiteral("/hicolor"), iconValue))
        return themed;
    return named(icons, iconValue);
}

} // namespace LinuxIcons
