#pragma once

#include "purge/PurgeEcosystem.h"

#include <QHash>
#include <QString>

#include <optional>

// The project an artefact folder belongs to, told by the project files beside it or in a folder above
// it: "pom.xml" makes a "target" Maven's, "Cargo.toml" makes it Rust's.
struct ProjectFile {
    QString name; // as found: "pom.xml", "App.xcodeproj"
    PurgeEcosystem ecosystem = PurgeEcosystem::other;
    bool operator==(const ProjectFile&) const = default;
};

// Looks for project files no higher than the scanned folder, listing each folder once per scan.
class ProjectFileFinder {
public:
    explicit ProjectFileFinder(QString scanRoot);

    // The project file nearest the artefact: beside it (in its parent folder), else in the nearest
    // folder above that holds one, up to and including the scanned folder. None: no project around it.
    std::optional<ProjectFile> nearest(const QString& artefactPath);

private:
    std::optional<ProjectFile> in(const QString& folder);

    QString m_root;
    QHash<QString, std::optional<ProjectFile>> m_listed;
};
