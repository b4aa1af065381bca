#pragma once

// What both of Kelvo's programs do before the window or a command runs: the language, the system
// whose places the features look at, this build's version, and the command line itself. Only Qt Core
// is needed, so the command-line program loads nothing of the window's.

#include "KelvoEnvironment.h"

#include <QStringList>

#include <optional>

namespace ProgramStart {

QStringList argumentsOf(int argc, char** argv);

// Every text from the first one on is in the stored language; the window's settings then follow each
// change.
void useStoredLanguage();

// The system chosen here, once, and passed down; none, after saying why on stderr, when KELVO_SYSTEM
// names no system.
std::optional<TargetChoice> chosenTarget();

QString version();
// The build number the running release compares with an update feed's, when the build has one.
std::optional<QString> buildNumber();

// Runs the command the arguments ask for (see CommandLine) and returns its exit status.
int runCommandLine(int argc, char** argv);

// Why the window could not be started, in the stored language.
QString windowFailedText(const QString& program, const QString& reason);

} // namespace ProgramStart
