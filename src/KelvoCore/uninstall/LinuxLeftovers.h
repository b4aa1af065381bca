#pragma once

#include "platform/FileWalker.h"
#include "uninstall/UninstallPreviewReport.h"

#include <QString>
#include <QStringList>

#include <vector>

// What a Linux application leaves in the home folder: the items directly in ~/.config,
// ~/.local/share, ~/.local/state, ~/.cache and ~/.var/app named after it. Only strong matches count
// here, never a longer name that merely contains the app's.
namespace LinuxLeftovers {

// The folders whose children are searched, in this order.
QStringList roots(const QString& home);

// Folders every application shares, never anyone's leftover: ~/.local/share/applications, icons,
// flatpak and Trash, and ~/.config/autostart.
QStringList sharedFolders(const QString& home);

// Whom a leftover may belong to. Names and identifiers shorter than three characters claim nothing.
struct Owner {
    QStringList names;       // display names
    QStringList identifiers; // a Flatpak application ID, a desktop entry's file name without ".desktop"
    QString location;        // where the app itself lives: never its own leftover, nor a folder holding it
};

// True when the item's name is one of the owner's names or identifiers, or an identifier followed by
// "." and more, letter case ignored.
bool belongsTo(const QString& fileName, const Owner& owner);

// The roots' children listed once, each measured the first time an app claims it.
class Listing {
public:
    explicit Listing(const QString& home);
    std::vector<UninstallPreviewReport::Leftover> leftovers(const Owner& owner);

private:
    struct Listed {
        FileWalker::Item item;
        std::optional<qint64> allocatedBytes; // measured when first claimed
    };
    std::vector<Listed> m_items;
};

} // namespace LinuxLeftovers
