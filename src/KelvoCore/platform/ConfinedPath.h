#pragma once

#include "platform/FileFacts.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <optional>

class QIODevice;

// Reaches an item below a trusted root folder without following a link on the way. The root is
// opened as it is given (a home folder may itself be a link, as /home often is); every component
// below it is opened relative to its parent with O_NOFOLLOW, so a link anywhere between the root and
// the item stops the way instead of leading somewhere else. Whatever is then done to the item is
// done relative to its open parent folder, never by the path text, so a swap made after the item was
// reached cannot redirect it. A folder Kelvo writes into or hands to a tool is reached the same way
// (reachFolder) and held open.
namespace ConfinedPath {

enum class Failure {
    missing,     // nothing there (or, for reach, a component is not a folder)
    throughLink, // a component between the root and the item is a link (for reachFolder: or the folder)
    outsideRoot, // the path is not strictly below the root, or the root cannot be opened
    unreadable,  // a folder on the way cannot be opened (for reachFolder: or made)
    notFolder,   // for reachFolder: a component is neither a folder nor a link
};

// An item reached below a root: its open parent folder and its own facts. The item itself is not
// opened, so a link there is reached as the link.
class Reached {
public:
    Reached(int parentFd, QByteArray name, QString path, FileFacts facts);
    Reached(Reached&& other) noexcept;
    Reached& operator=(Reached&& other) noexcept;
    Reached(const Reached&) = delete;
    Reached& operator=(const Reached&) = delete;
    ~Reached();

    int parentFd() const { return m_parentFd; }
    const QByteArray& name() const { return m_name; } // the name as bytes on disk
    const QString& path() const { return m_path; }    // the path that was asked for, standardised, to show
    const FileFacts& facts() const { return m_facts; }

    // Opens the item as a folder (O_NOFOLLOW) and checks that it is still the item reached, so a
    // folder swapped in between is not entered; -1 otherwise. The caller closes it.
    int openFolder() const;
    // The location of the item with every link resolved, read from the open parent folder.
    std::optional<QString> resolvedPath() const;
    // The same as bytes on disk, exactly, when a name on the way is not UTF-8.
    std::optional<QByteArray> resolvedRawPath() const;
    // The facts of whatever carries the item's name in its parent folder now.
    std::optional<FileFacts> factsNow() const;

private:
    int m_parentFd = -1;
    QByteArray m_name;
    QString m_path;
    FileFacts m_facts;
};

struct Outcome {
    std::optional<Reached> item;
    Failure failure = Failure::missing; // when there is no item
    QString stoppedAt;                  // the component where the way stopped
};

// Reaches path, which must lie strictly below root.
Outcome reach(const QString& root, const QString& path);
// The same for paths as bytes on disk: every name is looked up exactly as given, UTF-8 or not, and
// the item's path() shows the bytes that are not UTF-8 as "\xFF".
Outcome reach(const QByteArray& root, const QByteArray& path);

// Why an item could not be reached, in the display language.
QString describe(const Outcome& outcome, const QString& path);

// A folder reached from a root without a link at any level, held open: what is read, made or
// replaced in it is done relative to the descriptor, and a tool can be started inside it.
class Folder {
public:
    Folder(int fd, QString path);
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder();

    int fd() const { return m_fd; }
    const QString& path() const { return m_path; } // the path that was asked for, standardised

    // The names of the folder's entries as bytes on disk, "." and ".." left out.
    QByteArrayList names() const;
    // An entry of the folder, reached as itself (a link as the link); none when it is gone.
    std::optional<Reached> child(const QByteArray& name) const;
    // Writes the file name whole or not at all: everything source yields goes into a new temporary
    // file of this folder (O_EXCL | O_NOFOLLOW), is synced, and then takes the name (renameat), so
    // the previous file stays until the new one is complete. A link or a folder standing at the name
    // is left as it is (ELOOP, EISDIR). 0, or the errno of what failed; no temporary file stays.
    int writeFile(const QByteArray& name, QIODevice& source) const;

private:
    int m_fd = -1;
    QString m_path;
};

struct FolderOutcome {
    std::optional<Folder> folder;
    Failure failure = Failure::missing; // when there is no folder
    QString stoppedAt;                  // the component where the way stopped
    QString root;                       // the root, standardised
    int error = 0;                      // for unreadable: the errno of the open or make that failed
};

enum class Missing { stop, create };

// The one way to a folder Kelvo writes into or hands to a tool. Reaches the folder at path (the root
// itself or a folder below it): the root is opened as given, every component below it with
// openat(O_NOFOLLOW | O_DIRECTORY) relative to the one before. With Missing::create, a component that
// is missing is made in the folder before it (mkdirat, mode 0700) and then opened the same way, so a
// link put in its place is not followed. A link, anything other than a folder, or a folder that
// cannot be opened or made stops the way there.
FolderOutcome reachFolder(const QString& root, const QString& path, Missing missing = Missing::stop);

// What stopped the way, naming the place, in the display language: "“~/.config/kelvo” is a link".
// Places below home are written from "~".
QString describe(const FolderOutcome& outcome, const QString& home);

} // namespace ConfinedPath
