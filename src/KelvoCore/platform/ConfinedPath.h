#pragma once

#include "platform/FileFacts.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reaches an item below a trusted root folder without following a link on the way. The root is
// opened as it is given (a home folder may itself be a link, as /home often is); every component
// below it is opened relative to its parent with O_NOFOLLOW, so a link anywhere between the root and
// the item stops the way instead of leading somewhere else. Whatever is then done to the item is
// done relative to its open parent folder, never by the path text, so a swap made after the item was
// reached cannot redirect it.
namespace ConfinedPath {

enum class Failure {
    missing,     // nothing there (or a component is not a folder)
    throughLink, // a component between the root and the item is a link
    outsideRoot, // the path is not strictly below the root, or the root cannot be opened
    unreadable,  // a folder on the way cannot be opened
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

} // namespace ConfinedPath
