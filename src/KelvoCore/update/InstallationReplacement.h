#pragma once

#include <QString>
#include <QStringList>

// Replaces files of an installation with a package's, all or nothing: each file is copied next to its
// target and renamed over it (an atomic swap), the old files are kept until every new one is in
// place, and on any failure every replaced file is put back, so the old installation keeps working.
namespace InstallationReplacement {
// Whether the user may write every file to be replaced and the folder it is in (or, for a new file,
// the nearest folder that exists).
bool canWrite(const QString& installation, const QStringList& files);
// files are relative to both source and installation; each file is installed with Kelvo's mode (0755
// for an executable under bin/, else 0644) and each folder made with 0755. Throws KelvoError with a
// translated message after putting the installation back.
void replace(const QString& source, const QString& installation, const QStringList& files);
} // namespace InstallationReplacement
