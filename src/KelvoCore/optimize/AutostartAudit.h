#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The user's autostart entries (~/.config/autostart/*.desktop) whose program no longer exists. Only
// reads: nothing is changed or removed.
namespace AutostartAudit {
struct Findings {
    int entries = 0;          // entries that start something (Hidden=true ones do not)
    QStringList missingNames; // the Name= of each entry whose program is missing, by file name

    bool operator==(const Findings&) const = default;
};

// What an entry's text says: its name, whether it is switched off (Hidden=true), and the program it
// starts, from TryExec or else the first word of Exec after an "env" prefix, "~" standing for the home
// folder; none when that cannot be judged (no Exec, an inline "sh -c" command).
struct Entry {
    QString name;
    bool hidden = false;
    std::optional<QString> program;
};
Entry readEntry(const QString& text, const QString& home);

// A file that cannot be read (not a regular file, over 1 MB, not UTF-8) is passed over. Absolute
// paths outside the home folder are looked up under systemRoot (empty: the machine itself); a bare
// name is looked up in PATH and ~/.local/bin.
Findings check(const QString& home, const QString& systemRoot);
// The preview's line for the findings, in the display language.
QString detail(const Findings& findings);
} // namespace AutostartAudit
