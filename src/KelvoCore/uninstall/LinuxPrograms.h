#pragma once

#include "platform/FileWalker.h"
#include "platform/RemovalPolicy.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a desktop entry's command line starts, judged on the item itself, and which folder goes with
// a program. A program is an executable regular file reached from the home folder without a link;
// whatever else an entry names is not an application, however its path reads.
namespace LinuxPrograms {

enum class Verdict {
    system,      // a program of the system: outside the home folder, or a bare name found nowhere in it
    program,     // an executable regular file in the home folder
    missing,     // nothing is there
    throughLink, // the program or a folder on its way is a link
    notProgram,  // a folder, a special or non-executable file, the home folder, or a word that names no file
};

struct Program {
    Verdict verdict = Verdict::system;
    QString path;                         // standardised; empty for a system program or a word naming none
    std::optional<FileWalker::Item> item; // the executable file, for a program
};

// The command line's program after "env" and its options, quoting, "~" and "$HOME" are resolved and
// "." and ".." taken out. A bare name is looked for in ~/.local/bin and ~/bin; "." and "..", and a
// relative word with a "/", name nothing.
Program resolve(const QString& exec, const QString& home);

// The folders whose children are applications' own folders: ~/opt, ~/.local/opt, ~/Applications,
// ~/.local/share and ~/.local/lib.
QStringList applicationRoots(const QString& home);

// What goes to the Trash with a program: the topmost folder between an application root and the
// program that is that program's own (not shared, holding none of otherPrograms), else the program
// file alone; always the file alone below the user's own folders (desktop, documents, downloads, ...)
// or outside the application roots (~/.local/bin, ~/code/x). Empty when the program is not below the
// home folder.
QString location(const QString& program, const QStringList& otherPrograms,
                 const RemovalPolicy::SharedFolders& shared, const QStringList& userFolders);

} // namespace LinuxPrograms
