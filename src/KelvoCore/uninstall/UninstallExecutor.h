#pragma once

#include "platform/FileIdentity.h"
#include "platform/FileRemover.h"
#include "platform/RemovalPolicy.h"
#include "uninstall/UninstallPreviewReport.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

// Uninstalling what the user chose of an uninstall preview, for the window and the command line alike:
// first a plan (what goes where, what stays and why), then the run. Apps go to the Trash, a Flatpak app
// is removed by flatpak; an app's chosen leftovers follow only once the app itself is gone.
namespace UninstallExecutor {

struct Choice {
    QSet<QString> apps;      // entry ids
    QSet<QString> leftovers; // leftover paths; only those of chosen apps count
};

// The apps with their strong leftovers, the choice a page starts from.
Choice withStrongLeftovers(const UninstallPreviewReport& report, const QSet<QString>& apps);

struct Item {
    QString path;
    std::optional<FileIdentity> identity; // as scanned; the move checks it
    qint64 allocatedBytes = 0;
    bool operator==(const Item&) const = default;
};

struct AppPlan {
    QString name;
    std::optional<QString> flatpakID; // removed by flatpak, not moved
    Item app;
    std::vector<Item> leftovers; // each item once, whichever chosen app claimed it first
    bool operator==(const AppPlan&) const = default;
};

struct Plan {
    std::vector<AppPlan> apps;
    std::vector<FileRemover::LeftBehind> kept; // chosen, but the removal policy keeps it, with why
    qint64 bytes() const;                      // what the Trash receives and what flatpak removes
    qint64 leftoverCount() const;
    bool operator==(const Plan&) const = default;
};

// The chosen apps in report order. Whatever is a shared folder or holds one, or holds another listed
// application that is not chosen, is kept rather than planned.
Plan plan(const UninstallPreviewReport& report, const Choice& choice,
          const RemovalPolicy::SharedFolders& shared);

struct Result {
    QSet<QString> removed; // paths of the apps and leftovers that went (a Flatpak app's folder too)
    qint64 failed = 0;
    std::vector<FileRemover::LeftBehind> left; // the first FileRemover::maxReported, with why
};

// Carries the plan out; the plan's kept items count as failed. flatpakTool is flatpak by absolute path.
Result run(const Plan& plan, const QString& home, const QString& flatpakTool);

// The confirmation: what goes (the apps by name when few), how many leftovers, the size, and where
// everything goes, in the display language.
QString confirmation(const Plan& plan);
// What a run did: the apps that went by name, how many leftovers moved to the Trash, how many failed.
QString completion(const Plan& plan, const Result& result);

} // namespace UninstallExecutor
