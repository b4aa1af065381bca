#pragma once

#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <vector>

// What fills one folder: its direct children with everything below each, and its largest files.
struct AnalysisReport {
    // What a listed child is; links are never followed, so a link and a special file weigh nothing.
    enum class Kind { file, folder, unreadableFolder, link, danglingLink, special };

    struct Entry {
        std::optional<QString> name;
        std::optional<QString> path;
        std::optional<qint64> size;
        std::optional<bool> isDirectory;
        std::optional<FileIdentity> identity = std::nullopt; // as scanned; a move to the Trash checks it
        std::optional<Kind> kind = std::nullopt;
        // The path as bytes on disk when `path` does not spell them: a name on the way is not UTF-8
        // (and reads with U+FFFD in name and path). Whatever acts on the item uses bytes().
        std::optional<QByteArray> rawPath = std::nullopt;

        // The path, else the name, else a fresh identity on every call.
        QString id() const;
        QByteArray bytes() const;
        bool operator==(const Entry&) const = default;
    };

    // What the walk did not count: hidden items (not entered, so only hidden files have a size here)
    // and, in the home folder, the personal folders that exist (relative paths).
    struct LeftOut {
        qint64 hiddenItems = 0;
        qint64 hiddenFileBytes = 0;
        QStringList protectedFolders;
        bool operator==(const LeftOut&) const = default;
    };

    std::optional<QString> path;
    std::optional<QByteArray>
        rawPath; // as for an entry: the analysed folder's bytes, when path does not spell them
    std::optional<bool> overview;
    std::vector<Entry> entries;    // direct children, largest first, at most 80
    std::vector<Entry> largeFiles; // the largest files anywhere below, at most 80
    std::optional<qint64> totalSize;
    std::optional<qint64> totalFiles;
    std::optional<LeftOut> leftOut;

    QByteArray bytes() const;
    bool operator==(const AnalysisReport&) const = default;

    // The older tool's JSON keys: "path", "overview", "entries", "large_files", "total_size",
    // "total_files"; an entry has "name", "path", "size", "is_dir" and, from this program, "identity"
    // ("device:inode") and "kind"; this program adds "left_out" ({"hidden_items", "hidden_file_bytes",
    // "protected_folders"}) and, beside a "path" that does not spell the bytes on disk, "raw_path":
    // those bytes percent-encoded. Every key may be missing.
    QJsonObject toJson() const;
    static AnalysisReport fromJson(const QJsonObject& json);
};
