#pragma once

#include <QString>

// The installer's failure texts, each in the display language of the moment it is made.
namespace UpdateInstallerText {
QString noDownloadedUpdate();
QString checksumMismatch();
// macOS
QString mountFailed();
QString applicationNotFound();
QString installFailed();
// Linux
QString packageUnreadable(const QString& package);
QString unsafeEntry(const QString& entry);
QString foreignEntry(const QString& entry);
QString specialEntry(const QString& entry);
QString packageTooLarge(const QString& package, qint64 allowedBytes);
QString noProgram(const QString& package, const QString& program);
QString notInstalledAt(const QString& installation);
QString installationNotWritable(const QString& installation, const QString& package);
QString cannotReplace(const QString& file);
QString replacementFailed(const QString& why);
QString relaunchFailed(const QString& program);
} // namespace UpdateInstallerText
