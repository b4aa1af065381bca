#pragma once

#include "platform/FileIdentity.h"
#include "vocabulary/LocalText.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>
#include <vector>

// Installer files found in the download locations, largest first.
struct InstallerPreviewReport {
    struct Entry {
        QUuid id;             // fresh per scan
        QString name;         // the file name; from the Homebrew cache without its hash prefix
        QString path;         // standardised
        LocalText source;     // the label of the location it was found in
        qint64 byteCount = 0; // space taken on disk
        std::optional<FileIdentity> identity = std::nullopt; // as scanned; a move to the Trash checks it
        QString location = {};                               // the place it was found in
        // A Linux installer's type: a fixed word ("deb", "appimage", ..., "archive") and its name for
        // people; both empty for the macOS types.
        QString kind = {};
        LocalText kindText = {};

        QString sizeText() const;
        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;
    QDateTime generatedAt;

    // Sorts the entries: largest first, equal sizes by name in natural order.
    InstallerPreviewReport(std::vector<Entry> entries, QDateTime generatedAt);
    InstallerPreviewReport() = default;

    qint64 totalBytes() const;
    QString totalSizeText() const;
    bool operator==(const InstallerPreviewReport&) const = default;
};
