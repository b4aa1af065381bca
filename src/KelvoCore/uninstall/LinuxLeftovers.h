#pragma once

#include "platform/FileWalker.h"
#include "platform/RemovalPolicy.h"
#include "uninstall/UninstallPreviewReport.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What a Linux application leaves in the home folder: the items directly in ~/.config, ~/.local/share,
// ~/.local/state and ~/.cache that carry its identifier (a strong match, chosen by default) or its
// display name (a possible one, offered unchosen). An item that two installed applications could
// claim, the system's and Flatpak's included, is nobody's leftover.
namespace LinuxLeftovers {

// The folders whose children are searched, in this order.
QStringList roots(const QString& home);

// What an installed application goes by. A word shorter than four characters or a common one ("code",
// "data", "google") claims nothing on its own.
struct Claimant {
    QStringList identifiers; // reverse-DNS IDs, desktop file IDs, window classes
    QStringList names;       // display names
};

enum class Claim { none, possible, strong };

// Strong: the item's name is an identifier, or an identifier followed by "." and more; possible: the
// item's name is a display name. Letter case is ignored.
Claim claim(const QString& fileName, const Claimant& claimant);

// True for a word that claims nothing on its own.
bool claimsNothing(const QString& word);

// The roots' children listed once (each root reached without a link), and every installed application
// that could claim one of them.
class Listing {
public:
    // kept: what belongs to an application already (programs, their folders, entries): an item at or
    // above one of them is nobody's leftover; nor is a shared folder.
    Listing(const QString& home, const RemovalPolicy::SharedFolders& shared, const QStringList& kept);

    // Registers an application that may claim items; gives its number for leftovers().
    int add(Claimant claimant);

    // The items the application claims and no other one does, measured the first time one is asked for,
    // strong matches first.
    std::vector<UninstallPreviewReport::Leftover> leftovers(int claimant);

private:
    void settleClaims();

    struct Listed {
        FileWalker::Item item;
        int claimant = -1; // the only application that claims it; -1: none, or more than one
        Claim claim = Claim::none;
        std::optional<qint64> allocatedBytes = std::nullopt;
    };
    std::vector<Listed> m_items;
    std::vector<Claimant> m_claimants;
    bool m_settled = false;
};

} // namespace LinuxLeftovers
