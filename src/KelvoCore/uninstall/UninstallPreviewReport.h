#pragma once

#include "platform/FileIdentity.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/LocalText.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

// The installed applications with the leftovers each has left in the user's folders.
struct UninstallPreviewReport {
    // How surely a leftover belongs to its application: a strong match is named after the app's
    // identifier or name and is chosen for removal by default; a possible one merely contains it in
    // a longer name, is listed, and is removed only when the user chooses it.
    enum class LeftoverMatch { strong, possible };

    struct Leftover {
        QString path;
        qint64 allocatedBytes = 0;
        LeftoverMatch match = LeftoverMatch::strong;
        std::optional<FileIdentity> identity = std::nullopt; // as scanned; a move to the Trash checks it
        bool operator==(const Leftover&) const = default;
    };

    struct Entry {
        QString id;   // the bundle's path: no two bundles share one
        QString name; // display name
        std::optional<QString> bundleID;
        LocalText source;      // "User Apps · 3 leftovers"
        QString uninstallName; // the bundle's file name without ".app"
        QString path;
        std::optional<QString> size; // what removing it frees: bundle and strong leftovers together
        std::optional<QString> appSizeText;
        std::optional<qint64> appSizeBytes;
        std::optional<QString> leftoverSizeText; // the strong leftovers
        std::vector<Leftover> leftovers;         // strong ones first, each group in folder order
        std::optional<QDateTime> lastOpened;
        std::optional<FileIdentity> identity = std::nullopt; // the bundle's, as scanned
        // Linux: the icon file (a bundle's comes from its Info.plist instead), and for a Flatpak app its
        // application ID: the tool removes it, it is not moved to the Trash.
        std::optional<QString> iconPath = std::nullopt;
        std::optional<QString> flatpakID = std::nullopt;
        // The desktop entry's Chinese name, when it has one: shown instead of `name` in Chinese.
        QString chineseName = {};

        QStringList leftoverPaths() const;
        // The name in the language of this moment.
        QString shownName() const
        {
            return chineseName.isEmpty() ? name : AppLocalization::localized(chineseName, name);
        }

        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;
    QStringList notes; // what the scan could not look at, such as a Flatpak tool that did not answer

    // Sorts the entries by name like Finder, names equal but for case next to each other.
    explicit UninstallPreviewReport(std::vector<Entry> entries);
    UninstallPreviewReport() = default;

    // An entry from what the scan measured; the id, the size line and the source text with its count
    // of strong leftovers are derived here.
    static Entry makeEntry(const QString& name, const std::optional<QString>& bundleID,
                           const LocalText& sourceLabel, const QString& uninstallName, const QString& path,
                           qint64 appBytes, std::vector<Leftover> leftovers,
                           const std::optional<QDateTime>& lastOpened,
                           const std::optional<FileIdentity>& identity = std::nullopt);

    bool operator==(const UninstallPreviewReport&) const = default;
};
