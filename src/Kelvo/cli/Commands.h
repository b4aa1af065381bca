#pragma once

// The commands, each stated once: its name, usage and help, the options it accepts and the function
// that runs it. The help, the reading of a command's words and the dispatch all come from this table.

#include "cli/CommandLine.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace CommandLine {

// A text in both languages, resolved when it is shown.
struct Text {
    const char* zh = nullptr;
    const char* en = nullptr;
    bool isEmpty() const { return !en; }
    QString operator()() const;
};

// What a command was given, once its words fit its rules.
struct Arguments {
    QStringList flags;             // the options, in the order given
    QStringList operands;          // the path, or the apps
    QMap<QString, QString> values; // the value options given, by name
    bool has(const char* flag) const { return flags.contains(QLatin1String(flag)); }
    // A value option's value; empty when it was not given.
    QString value(const char* option) const { return values.value(QLatin1String(option)); }
};

// What a command's words may be beyond its options.
enum class Operands {
    none,    // every word is an option ("clean extra" is an unknown option)
    onePath, // words not starting with "--" are the one path
    apps,    // words not starting with "--" are the apps, any number
};

// An option that takes the word after it, as "--replay FOLDER".
struct ValueOption {
    const char* name;
    Text missing; // the usage error when no value follows
    // Why the value cannot be used (status 1, before the other options are looked at); none when it can.
    std::optional<QString> (*problem)(const QString& value);
};

struct Command {
    const char* name;
    Text usage;
    Text help;
    QStringList options; // the options it knows besides --help, which every command knows
    Operands operands = Operands::none;
    bool jsonNeedsDryRun = false; // --json goes with --dry-run only
    Text dryRunOnly = {};         // set for a command that only lists: why it needs --dry-run
    std::vector<ValueOption> values = {};
    // A value option that names what to read instead of the one path ("--import FILE").
    const char* pathGivenBy = nullptr;
    int (*run)(const Arguments&, const Environment&, Streams&) = nullptr;
};

// Every command, in the order the help lists them.
std::span<const Command> commands();
// The command of this name; none when there is no such command.
const Command* findCommand(const QString& name);

int clean(const Arguments& arguments, const Environment& environment, Streams& streams);
int optimize(const Arguments& arguments, const Environment& environment, Streams& streams);
int analyze(const Arguments& arguments, const Environment& environment, Streams& streams);
int purge(const Arguments& arguments, const Environment& environment, Streams& streams);
int installer(const Arguments& arguments, const Environment& environment, Streams& streams);
int uninstall(const Arguments& arguments, const Environment& environment, Streams& streams);
int status(const Arguments& arguments, const Environment& environment, Streams& streams);
// Why a --interval value is not a number of seconds from 0.5 to 3600; none when it is.
std::optional<QString> intervalProblem(const QString& seconds);
// Any file name: what is wrong with one is said when it is opened.
std::optional<QString> anyFile(const QString& file);
int update(const Arguments& arguments, const Environment& environment, Streams& streams);

} // namespace CommandLine
