#pragma once

// What the window and the command line are both given instead of looking it up, so tests run them
// against a synthetic home, stand-in tools and a temporary installation. The window's
// AppEnvironment adds its own; the command line needs nothing more.

#include "update/UpdateInstaller.h"
#include "vocabulary/TargetSystem.h"

#include <QProcessEnvironment>
#include <QString>

#include <optional>

struct KelvoEnvironment {
    QString home;    // the user's home folder
    QString version; // this build's version text; empty for a local build
    // The folder the system's absolute paths (the optimisation steps' tools and service sockets) are
    // looked up under: empty for the machine itself; tests point it at a tree of stand-in tools.
    QString systemRoot = {};
    // Self-update: this build's number when it has one, the process environment, which may name the
    // update feed (KELVO_UPDATE_FEED_URL), and where the installer downloads to, what it replaces and
    // how it relaunches (the command line never relaunches: it says where it installed).
    std::optional<QString> build = {};
    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    UpdateInstaller::Options updateInstaller = {};
    // Which applications Uninstall lists: the target's unless a test chooses. On Linux the Flatpak
    // tool is systemRoot's /usr/bin/flatpak.
    std::optional<TargetSystem> uninstallSystem = {};
    // Whose places Clean, Optimize, Installers and Uninstall look at, and whether they may act.
    TargetChoice target = TargetSystems::builtChoice();
};
