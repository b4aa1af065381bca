#pragma once

#include <QString>
#include <QtGlobal>

// This system's way of installing an update, the part of the installer that differs between systems.
// One implementation per system, chosen by the build: MacUpdateInstall.cpp (a disk image, and the
// bundle swapped by a relaunch script once Kelvo has quit) and LinuxUpdateInstall.cpp (a .tar.gz whose
// files replace the installation's, then the new program started).
namespace UpdateInstall {
// The feed's key for this system's packages: "macos", or the kernel and machine ("linux-x86_64").
QString packageKey();
// The name a download is kept under when its address names no package.
QString fallbackFileName();
// The running installation, found from the running program: the .app bundle or the folder holding
// bin/kelvo.
QString runningInstallation();

// Puts the downloaded package in place of the installation for the process pid, which quits
// afterwards, and returns what starts the new release: the relaunch script or the new kelvo. Throws
// KelvoError with a translated message, of kind permission when the installation cannot be written
// (the package is then kept for the user to install by hand). Runs tools and copies files: call it
// from a worker.
QString install(const QString& package, const QString& installation, qint64 pid);
// Whether the package is still read after install returned (the relaunch script copies from the
// mounted image); otherwise it can go at once.
bool packageReadAfterInstall();

// Starts what install returned, detached; false when it could not be started.
bool start(const QString& started);
// Why the new release was not started, in the display language.
QString startFailed(const QString& started);
// Asks Kelvo to quit, so that the new release can take its place.
void quit();
} // namespace UpdateInstall
