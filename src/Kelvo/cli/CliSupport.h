#pragma once

// What the commands share: texts in the run's language, the streams, usage errors, failures and the
// one JSON shape every command prints.

#include "cli/CommandLine.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <optional>

namespace CommandLine {

QString L(const char* zh, const char* en);
// A count with what it counts, the number grouped as the locale groups it: "1 item", "12,345 items",
// "12,345 项" (the Chinese measure word after the number).
QString counted(qint64 count, const char* measure, const char* one, const char* many);

// Prints the message and the hint to run --help; returns the usage error status, 2.
int usageError(Streams& streams, const QString& message);
// Prints the message; returns the failure status, 1.
int failure(Streams& streams, const QString& message);

// Prints the prompt and reads the answer: true only for "y", "yes" or "是" (in any case). No answer,
// as from an input that is not a terminal, is no.
bool confirmed(Streams& streams, const QString& prompt);

// Why a path cannot be scanned as a folder (missing, not a folder, unreadable); none when it can.
std::optional<QString> folderProblem(const QString& path);
// The folder a path names: itself, or where it leads when a link stands on it, as `du -D` follows
// the link it is given (the scan below never follows one); the terminal is told on stderr.
QString namedFolder(Streams& streams, const QString& path);

// A live line on standard error while a scan runs ("12,345 items · /the/folder/being/read"), as ncdu
// and gdu show one, when standard error is a terminal; nothing otherwise. Safe to call from the scan's
// threads; the line is cleared when the progress goes.
class TerminalProgress {
public:
    explicit TerminalProgress(Streams& streams);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // counted: what has been read so far, as counted() says it.
    void show(const QString& counted, const QString& folder);

private:
    Streams& m_streams;
    QMutex m_mutex;
    qsizetype m_shownWidth = 0;
};

// Whether the output gets colour: only a terminal does, and not when NO_COLOR is set or the terminal
// is "dumb".
bool wantsColour(const Streams& streams, const Environment& environment);

// A size as every JSON report gives it: bytes, and the text the window shows beside them.
void putSize(QJsonObject& json, const QString& key, qint64 bytes);

// Every command's JSON: {"kind", "generated_at", ...the report's own keys}, indented.
void printJson(Streams& streams, const QString& kind, const QDateTime& generatedAt, QJsonObject content);

// Prints why the run may not change anything and returns the failure status, 1; none when it may.
std::optional<int> actingRefused(const Environment& environment, Streams& streams);

} // namespace CommandLine
