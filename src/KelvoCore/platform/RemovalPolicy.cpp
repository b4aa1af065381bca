#include "platform/RemovalPolicy.h"

#include "platform/UserDirs.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/PathText.h"

#include <algorithm>

namespace RemovalPolicy {

namespace {

// Below the home folder, on every system: a Linux home on a Mac costs nothing and the reverse neither.
constexpr const char* sharedBelowHome[] = {
    // The XDG base folders and what many programs install into.
    ".config", ".cache", ".local", ".local/share", ".local/state", ".local/bin", ".local/lib", ".local/opt",
    "bin", "opt", "Applications", ".var", ".var/app",
    // What every desktop application shares.
    ".local/share/applications", ".local/share/flatpak", ".local/share/icons", ".local/share/fonts",
    ".local/share/mime", ".local/share/Trash", ".config/autostart", ".Trash",
    // Vendor folders holding several applications.
    ".local/share/JetBrains", ".local/share/JetBrains/Toolbox", ".local/share/JetBrains/Toolbox/apps",
    ".config/JetBrains", ".cache/JetBrains",
    // macOS: the Library and the folders applications keep their data in.
    "Library", "Library/Application Support", "Library/Caches", "Library/Containers",
    "Library/Group Containers", "Library/HTTPStorages", "Library/Logs", "Library/Preferences",
    "Library/Saved Application State", "Library/WebKit", "Library/LaunchAgents",
    "Library/Application Support/JetBrains"};

} // namespace

SharedFolders::SharedFolders(const QString& home)
    : SharedFolders(home, UserDirs::read(PathText::standardized(home)).all())
{
}

SharedFolders::SharedFolders(const QString& home, const QStringList& userFolders)
    : m_home(PathText::standardized(home))
{
    for (const char* relative : sharedBelowHome)
        m_folders << PathText::joined(m_home, QString::fromUtf8(relative));
    for (const QString& folder : userFolders)
        m_folders << PathText::standardized(folder);
    m_folders << QStringLiteral("/Applications");
}

bool SharedFolders::isShared(const QString& path) const
{
    const QString candidate = PathText::standardized(path);
    // The home folder, anything above it, and any folder that holds a shared one.
    return PathText::isAtOrBelow(m_home, candidate) ||
           std::any_of(m_folders.begin(), m_folders.end(),
                       [&](const QString& folder) { return PathText::isAtOrBelow(folder, candidate); });
}

std::optional<QString> refusal(const QString& path, const SharedFolders& shared)
{
    const QString candidate = PathText::standardized(path);
    if (PathText::isAtOrBelow(shared.home(), candidate))
        return AppLocalization::localized(QStringLiteral("%1 是主文件夹或包含它，Kelvo 不会移动或删除它。"),
                                          QStringLiteral("%1 is the home folder or holds it; Kelvo never "
                                                         "moves or removes it."))
            .arg(candidate);
    if (shared.isShared(candidate))
        return AppLocalization::localized(
                   QStringLiteral("%1 是多个应用或你自己的文件共用的文件夹（或包含这样的文件夹），Kelvo "
                                  "不会移动或删除它。"),
                   QStringLiteral("%1 is a folder that several applications or your own files share (or "
                                  "holds one); Kelvo never moves or removes it."))
            .arg(candidate);
    return std::nullopt;
}

std::optional<QString> refusal(const QString& path, const QString& home)
{
    return refusal(path, SharedFolders(home));
}

} // namespace RemovalPolicy
