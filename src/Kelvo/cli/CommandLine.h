#pragma once

#include "uninstall/UninstallPreviewService.h"
#include "update/UpdateInstaller.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

// Kelvo in a terminal: the same engine as the window, for people who live there and for scripts.
// The commands, their flags, exit statuses and JSON are described in docs/cli.md.
namespace CommandLine {

struct Environment {
    QString home;
    QString version;
    // The folder the optimisation steps' tools are looked up under: empty for the machine itself;
    // tests point it at stand-in tools.
    QString systemRoot = {};
    // Self-update: this build's number when it has one, the process environment that may name the
    // update feed, and where the installer downloads to and what it replaces (tests give a temporary
    // installation). The command line never relaunches: it says where it installed.
    std::optional<QString> build = {};
    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    UpdateInstaller::Options updateInstaller = {};
    // Which applications "uninstall" lists: the target's unless a test chooses; the Linux scan's
    // flatpak is systemRoot's /usr/bin/flatpak.
    std::optional<TargetSystem> uninstallSystem = {};
    // Whose places clean, optimize, installer and uninstall look at, and whether they may act.
    TargetChoice target = TargetSystems::builtChoice();
};

struct Streams {
    QTextStream& out;
    QTextStream& err;
    QTextStream& in;
    bool outIsTerminal = false; // colour only for a terminal
};

// True when the arguments (without the program name) ask for the command line, not the window: any
// argument does, so an unknown command is a usage error, never a window.
bool wantsCommandLine(const QStringList& arguments);

// Runs one command; returns the exit status (0 done, 1 refused or partly failed, 2 usage error).
int run(const QStringList& arguments, const Environment& environment, Streams& streams);

} // namespace CommandLine
