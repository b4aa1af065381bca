#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

// The maintenance steps a run would take, as the user saw them before confirming.
struct OptimizePreviewReport {
    struct Entry {
        QString id; // the catalogue identifier
        QString name;
        QString description;
        bool safe = true;              // only safe entries ever run
        std::optional<QString> detail; // what is there now, or what the step will do

        bool operator==(const Entry&) const = default;
    };

    std::vector<Entry> entries;

    bool operator==(const OptimizePreviewReport&) const = default;

    // {"entries": [{"id", "name", "description", "safe", "detail" (absent when none)}]}; fromJson
    // reads it back and drops entries without an id.
    QJsonObject toJson() const;
    static OptimizePreviewReport fromJson(const QJsonObject& json);
};
