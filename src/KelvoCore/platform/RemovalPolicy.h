#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What no feature ever moves or removes, whatever a scan decided: the home folder, the folders that
// several applications or the user's own files share, and any folder holding one of them. Every move
// to the Trash asks here before it acts, and the scans that decide what belongs to an application ask
// too, so such a folder is never offered as anyone's.
namespace RemovalPolicy {

// The one list of shared folders below a home folder, standardised: the XDG base folders and the
// user's own folders (as the user-dirs file names them, in any language), ~/.local and what many
// programs install into (~/.local/bin, ~/.local/share/applications, ~/opt, ~/Applications,
// ~/.var/app, ...), the vendor folders that hold several applications (~/.local/share/JetBrains), the
// Trash, and on macOS ~/Library with the folders applications keep their data in.
class SharedFolders {
public:
    explicit SharedFolders(const QString& home); // reads the user-dirs file once
    SharedFolders(const QString& home, const QStringList& userFolders);

    const QString& home() const { return m_home; }
    const QStringList& folders() const { return m_folders; }

    // True for the home folder, a shared folder, a folder holding one, or a path above the home folder.
    bool isShared(const QString& path) const;

private:
    QString m_home;
    QStringList m_folders;
};

// Why path must not be moved or removed, in the display language; none when the policy allows it.
std::optional<QString> refusal(const QString& path, const SharedFolders& shared);
std::optional<QString> refusal(const QString& path, const QString& home);

} // namespace RemovalPolicy
