#include "uninstall/LinuxLeftovers.h"

#include "platform/FileWalker.h"
#include "platform/PathText.h"
#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/NaturalOrder.h"

#include <algorithm>

namespace LinuxLeftovers {

namespace {

constexpr qsizetype shortestName = 3;

QStringList underHome(const QString& home, std::initializer_list<const char*> relativePaths)
{
    QStringList paths;
    for (const char* relative : relativePaths)
        paths << PathText::joined(PathText::standardized(home), QString::fromUtf8(relative));
    return paths;
}

} // namespace

QStringList roots(const QString& home)
{
    return underHome(home, {".config", ".local/share", ".local/state", ".cache", ".var/app"});
}

QStringList sharedFolders(const QString& home)
{
    return underHome(home, {".local/share/applications", ".local/share/icons", ".local/share/flatpak",
                            ".local/share/Trash", ".config/autostart"});
}

bool belongsTo(const QString& fileName, const Owner& owner)
{
    if (fileName.size() < shortestName)
        return false;
    using Match = UninstallPreviewReport::LeftoverMatch;
    const auto strong = [&](const QString& name, const std::optional<QString>& identifier) {
        return LocalUninstallPreview::leftoverMatch(fileName, name, identifier) == Match::strong;
    };
    return std::any_of(owner.names.begin(), owner.names.end(),
                       [&](const QString& name) {
                           return name.size() >= shortestName && strong(name, std::nullopt);
                       }) ||
           std::any_of(owner.identifiers.begin(), owner.identifiers.end(), [&](const QString& identifier) {
               return identifier.size() >= shortestName && strong(QString(), identifier);
           });
}

Listing::Listing(const QString& home)
{
    const QStringList shared = sharedFolders(home);
    for (const QString& root : roots(home)) {
        std::vector<FileWalker::Item> children = FileWalker::children(root);
        std::sort(children.begin(), children.end(), [](const FileWalker::Item& a, const FileWalker::Item& b) {
            return NaturalOrder::lessThan(a.name, b.name);
        });
        for (FileWalker::Item& item : children)
            if (!shared.contains(item.path))
                m_items.push_back({std::move(item), std::nullopt});
    }
}

std::vector<UninstallPreviewReport::Leftover> Listing::leftovers(const Owner& owner)
{
    std::vector<UninstallPreviewReport::Leftover> found;
    for (Listed& listed : m_items) {
        if (!belongsTo(listed.item.name, owner) ||
            (!owner.location.isEmpty() && PathText::isAtOrBelow(owner.location, listed.item.path)))
            continue;
        if (!listed.allocatedBytes)
            listed.allocatedBytes = FileWalker::measure(listed.item).allocatedBytes;
        found.push_back({listed.item.path, *listed.allocatedBytes,
                         UninstallPreviewReport::LeftoverMatch::strong, listed.item.identity});
    }
    return found;
}

} // namespace LinuxLeftovers
