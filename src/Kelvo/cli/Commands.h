#pragma once

// One function per command; each takes the words after its name and returns the exit status.

#include "cli/CommandLine.h"

#include <QStringList>

namespace CommandLine {
int clean(const QStringList& words, const Environment& environment, Streams& streams);
int analyze(const QStringList& words, const Environment& environment, Streams& streams);
int purge(const QStringList& words, const Environment& environment, Streams& streams);
int installer(const QStringList& words, const Environment& environment, Streams& streams);
int uninstall(const QStringList& words, const Environment& environment, Streams& streams);
int optimize(const QStringList& words, const Environment& environment, Streams& streams);
int status(const QStringList& words, const Environment& environment, Streams& streams);
int update(const QStringList& words, const Environment& environment, Streams& streams);
} // namespace CommandLine
