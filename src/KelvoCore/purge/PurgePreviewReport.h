#pragma once

#include "platform/FileIdentity.h"
#include "purge/PurgeEcosystem.h"

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>
#include <vector>

// Build artefacts found below one project folder, largest first.
struct PurgePreviewReport {
    struct Entry {
        QUuid id;
        QString name;   // the matched target name, "node_modules" or ".idea/system"
        QString path;   // the artefact folder, standardised
        QString target; // the same as name
        qint64 byteCount = 0;
        std::optional<qint64> fileCount;
        std::optional<qint64> directoryCount;
        std::optional<FileIdentity> identity = std::nullopt; // as scanned; a move to the Trash checks it
        // Whose artefact it is: by its name when that tells, else by the project file around it.
        PurgeEcosystem ecosystem = PurgeEcosystem::other;
        // The project file beside it or above it within the scan ("pom.xml"); empty when there is none,
        // and then the folder may be anything a user made, so it is not chosen for removal by default.
        QString projectFile = {};

        bool chosenByDefault() const { return !projectFile.isEmpty(); }

        QString sizeText() const;
        // "12 files / 3 folders" / "12 文件 / 3 个文件夹"; none without counts.
        std::optional<QString> detailText() const;
        bool operator==(const Entry&) const = default;
    };

    QString rootPath; // as passed in
    std::vector<Entry> entries;
    QDateTime generatedAt;

    // Sorts the entries: largest first, equal sizes by path in natural order.
    PurgePreviewReport(QString rootPath, std::vector<Entry> entries, QDateTime generatedAt);
    PurgePreviewReport() = default;

    qint64 totalBytes() const;
    QString totalSizeText() const;
    bool operator==(const PurgePreviewReport&) const = default;
};
