#pragma once

#include <QString>

#include <optional>

// The macOS replacement of the running bundle from a disk image: mount it with hdiutil, find the
// application, and write the relaunch script that swaps the bundles once Kelvo has quit.
namespace MacBundleInstall {
// In the image's top level: the first bundle (by name) whose extension is exactly "app" and whose name
// contains applicationName, else the first ".app" at all; none when there is no bundle.
std::optional<QString> findApplication(const QString& mountPoint, const QString& applicationName);

// Waits up to 20 × 0.5 s for pid to end (else exits 1 with a message), then replaces target with a
// copy of source, detaches mount and opens target. Every path is single-quoted, so no character in
// it can end the quotation or be expanded.
QString relaunchScript(qint64 pid, const QString& target, const QString& source, const QString& mount);

// Mounts image at a folder next to it, finds the application and writes the relaunch script for
// replacing target once pid has quit; returns the script's path. Throws KelvoError with a translated
// message. Runs hdiutil, the system's unless another is named: call it from a worker.
QString prepare(const QString& image, const QString& target, qint64 pid,
                const QString& hdiutil = QStringLiteral("/usr/bin/hdiutil"));
} // namespace MacBundleInstall
