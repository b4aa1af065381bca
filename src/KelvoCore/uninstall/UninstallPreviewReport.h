#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

// The installed applications with the leftovers each has placed in the user's Library.
struct UninstallPreviewReport {
    struct Entry {
        QString id;   // the bundle's path: no two bundles share one
        QString name; // display name
        std::optional<QString> bundleID;
        QString source;        // "User Apps · 3 leftovers"
        QString uninstallName; // the bundle's file name without ".app"
        QString path;
        std::optional<QString> size; // what removing it frees: bundle and leftovers together
        std::optional<QString> appSizeText;
        std::optional<qint64> appSizeBytes;
        std::optional<QString> leftoverSizeText;
        QStringList leftoverPaths;
        std::optional<QDateTime> lastOpened;

        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;

    // Sorts the entries by name like Finder, names equal but for case next to each other.
    explicit UninstallPreviewReport(std::vector<Entry> entries);
    UninstallPreviewReport() = default;

    // An entry from what the scan measured; the identity, the size line and the source text with
    // its leftover count are derived here.
    static Entry makeEntry(const QString& name, const std::optional<QString>& bundleID,
                           const QString& sourceLabel, const QString& uninstallName, const QString& path,
                           qint64 appBytes, qint64 leftoverBytes, const QStringList& leftoverPaths,
                           const std::optional<QDateTime>& lastOpened);

    bool operator==(const UninstallPreviewReport&) const = default;
};
