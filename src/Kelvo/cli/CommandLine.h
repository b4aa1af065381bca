#pragma once

#include "KelvoEnvironment.h"

#include <QStringList>

class QTextStream;

// Kelvo in a terminal: the same engine as the window, for people who live there and for scripts.
// The commands, their flags, exit statuses and JSON are described in docs/cli.md.
namespace CommandLine {

// The command line needs nothing beyond what the window is given too.
using Environment = KelvoEnvironment;

struct Streams {
    QTextStream& out;
    QTextStream& err;
    QTextStream& in;
    bool outIsTerminal = false; // colour only for a terminal
    bool errIsTerminal = false; // a live progress line only for a terminal
};

// True when the arguments (without the program name) ask for the command line, not the window: any
// argument does, so an unknown command is a usage error, never a window.
bool wantsCommandLine(const QStringList& arguments);

// Runs one command; returns the exit status (0 done, 1 refused or partly failed, 2 usage error).
int run(const QStringList& arguments, const Environment& environment, Streams& streams);

} // namespace CommandLine
