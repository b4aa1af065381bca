#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A freedesktop desktop entry (".desktop" file): the keys of its [Desktop Entry] group that tell
// which program it starts and how it is shown.
namespace DesktopEntry {

struct Entry {
    QString name;
    QString chineseName; // Name[zh_CN], else Name[zh]
    QString exec;        // escapes of the value decoded, quoting of the command line kept
    QString tryExec;     // the program whose absence means the entry starts nothing
    QString icon;
    QString startupWMClass; // the window class the application's windows carry: an identifier of it
    bool hidden = false;
    bool noDisplay = false;
    bool operator==(const Entry&) const = default;
};

// The [Desktop Entry] group of the file's text, whose lines end at a line feed only; other groups
// (actions) and comments are ignored.
Entry parse(const QString& text);

// The command line's words, separated by spaces (a tab or line feed counts as one; other white space,
// a no-break or ideographic space among them, is part of a word), its double quotes taken off and the
// escapes inside them (\" \` \$ \\) decoded.
QStringList commandWords(const QString& exec);

// The program the command line starts: its first word, or after an "env" the first word env runs, its
// options read as GNU env reads them ("-u NAME" and "-C DIR" take their argument, -S's string is split
// at blanks) and its VAR=value words skipped; a leading "~" or "$HOME" stands for the home folder. A bare
// name (found on PATH) comes back as it is; none when there is no program or env is given an option it
// does not take.
std::optional<QString> program(const QString& exec, const QString& home);

} // namespace DesktopEntry
