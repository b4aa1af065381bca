#pragma once

// What the commands share: texts in the run's language, the streams, usage errors, failures and the
// one JSON shape every command prints.

#include "cli/CommandLine.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace CommandLine {

QString L(const char* zh, const char* en);

// Prints the message and the hint to run --help; returns the usage error status, 2.
int usageError(Streams& streams, const QString& message);
// Prints the message; returns the failure status, 1.
int failure(Streams& streams, const QString& message);

// Prints the prompt and reads the answer: true only for "y", "yes" or "是" (in any case). No answer,
// as from an input that is not a terminal, is no.
bool confirmed(Streams& streams, const QString& prompt);

// Why a path cannot be scanned as a folder (missing, not a folder, unreadable); none when it can.
std::optional<QString> folderProblem(const QString& path);

// A size as every JSON report gives it: bytes, and the text the window shows beside them.
void putSize(QJsonObject& json, const QString& key, qint64 bytes);

// Every command's JSON: {"kind", "generated_at", ...the report's own keys}, indented.
void printJson(Streams& streams, const QString& kind, const QDateTime& generatedAt, QJsonObject content);

// Prints why the run may not change anything and returns the failure status, 1; none when it may.
std::optional<int> actingRefused(const Environment& environment, Streams& streams);

// What a command accepts: the flags it knows and, for a command that only lists from the terminal,
// why it does nothing without --dry-run. "--help" is known to every command.
struct FlagRules {
    QStringList known;
    QString dryRunOnly = {}; // empty: the command may also act
};
// The usage error for the first flag the command does not know, or for a listing command asked to
// act; none when the flags are fine.
std::optional<QString> flagError(const QString& command, const QStringList& flags, const FlagRules& rules);

// The flags of a command that previews and then acts (clean, optimize): --dry-run, --json (with
// --dry-run only) and --yes; the usage error when they do not fit.
std::optional<QString> previewThenActFlagError(const QString& command, const QStringList& flags);

// The flags a command was given and the one path it takes; error set when they do not fit.
struct PathCommand {
    QStringList flags;
    QString path;
    QString error;
};
// Words starting with "--" are flags, checked first; the others are the path.
PathCommand pathCommand(const QString& command, const QStringList& words, const FlagRules& rules);

} // namespace CommandLine
