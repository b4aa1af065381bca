#pragma once

#include <QString>

#include <exception>

// The one error type of stores, parsers and services. Its kind says what went wrong, for the code
// that decides by it; its description is the user-facing text, already in the display language of
// the moment it was raised, and only ever shown.
class KelvoError : public std::exception {
public:
    enum class Kind {
        other,
        unreadable,   // a file, folder or listing could not be read
        corruptList,  // a list's text is not UTF-8
        malformed,    // a report or the update feed is not in its format
        unwritable,   // something could not be written, made, copied, removed or moved to the Trash
        changed,      // the item is no longer the one that was listed
        unusableHome, // the home folder cannot be trusted
        permission,   // the user may not change it: the installation, another user's process
        network,      // the feed or a download could not be fetched, or its address was refused
        checksum,     // a download does not match its checksum
        badPackage,   // an update package that cannot be read or is refused
        installFailed // the update could not be put in place or started
    };

    KelvoError(Kind kind, QString description)
        : m_kind(kind)
        , m_description(std::move(description))
    {
    }

    Kind kind() const { return m_kind; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return "KelvoError"; }

private:
    Kind m_kind;
    QString m_description;
};
