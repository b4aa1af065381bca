#pragma once

#include "platform/FileIdentity.h"

#include <QJsonObject>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// What fills one folder: its direct children with everything below each, and its largest files.
struct AnalysisReport {
    struct Entry {
        std::optional<QString> name;
        std::optional<QString> path;
        std::optional<qint64> size;
        std::optional<bool> isDirectory;
        std::optional<FileIdentity> identity = std::nullopt; // as scanned; a move to the Trash checks it

        // The path, else the name, else a fresh identity on every call.
        QString id() const;
        bool operator==(const Entry&) const = default;
    };

    std::optional<QString> path;
    std::optional<bool> overview;
    std::vector<Entry> entries;    // direct children, largest first, at most 80
    std::vector<Entry> largeFiles; // the largest files anywhere below, at most 80
    std::optional<qint64> totalSize;
    std::optional<qint64> totalFiles;

    bool operator==(const AnalysisReport&) const = default;

    // The older tool's JSON keys: "path", "overview", "entries", "large_files", "total_size",
    // "total_files"; an entry has "name", "path", "size", "is_dir" and, from this program, "identity"
    // ("device:inode"). Every key may be missing.
    QJsonObject toJson() const;
    static AnalysisReport fromJson(const QJsonObject& json);
};
