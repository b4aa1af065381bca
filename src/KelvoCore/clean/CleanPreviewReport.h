#pragma once

#include "platform/FileIdentity.h"
#include "vocabulary/LocalText.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

// The Smart Clean preview: one entry per location found, plus a one-line summary.
struct CleanPreviewReport {
    // The stored order is the numeric code 0 to 6.
    enum class EntryStatus { cleanable, done, skipped, info, detail, review, summary };

    struct Entry {
        QUuid id;
        LocalText section;
        QString path; // the location, or a message for lines that are not paths
        std::optional<LocalText> note;
        EntryStatus status = EntryStatus::cleanable;
        // The location as the preview met it; the clean acts only on that same item.
        std::optional<FileIdentity> identity = std::nullopt;
        // What this program measured: the place's allocated bytes, of them what the protection list
        // keeps, and how many files, links and special files the clean removes (those the list does
        // not keep: a link goes even at no size). Reports of the older tool carry only the note.
        std::optional<qint64> bytes = std::nullopt;
        std::optional<qint64> protectedBytes = std::nullopt;
        std::optional<qint64> itemsToRemove = std::nullopt;

        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;
    QDateTime generatedAt;
    std::optional<LocalText> summary;

    // What the clean would free: the cleanable entries' bytes (read from the note where the report
    // does not carry them) less what the protection list keeps.
    qint64 willFreeBytes() const;

    // Distinct sections over all entries, whatever their status.
    int sectionCount() const;

    bool operator==(const CleanPreviewReport&) const = default;

    static QString rawValue(EntryStatus status);
    static std::optional<EntryStatus> statusFromRawValue(const QString& rawValue);

    // The report as JSON: {"generated_at", "summary", "section_count", "entries": [{"id", "section",
    // "path", "note", "status", "identity" ("device:inode", when known), "bytes", "protected_bytes",
    // "items_to_remove" (when measured)}]}, its texts in the language of the moment; fromJson reads
    // it back, dropping entries it cannot read (its texts are then the same in both languages).
    QJsonObject toJson() const;
    static CleanPreviewReport fromJson(const QJsonObject& json);
};
