#pragma once

#include <optional>

#include <dirent.h>

// One open folder's listing, read entry by entry: each name as its bytes on disk and the kind the
// listing tells, "." and ".." left out. The one holder of a DIR, closed with the stream.
class DirectoryStream {
public:
    struct Entry {
        const char* name;   // valid until the next call to next()
        unsigned char type; // d_type: DT_REG, DT_DIR, ..., DT_UNKNOWN when the listing does not tell
    };

    // Takes over the open folder fd: it is closed with the stream, or at once when it cannot be
    // listed (error() then says why). fd may be -1, for a folder that could not be opened.
    explicit DirectoryStream(int fd);
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;
    ~DirectoryStream();

    bool isOpen() const { return m_dir != nullptr; }
    // The folder's descriptor, for the *at calls on its entries; -1 when it is not open.
    int fd() const { return m_dir ? dirfd(m_dir) : -1; }
    // The next entry; none at the end of the listing or when reading it failed.
    std::optional<Entry> next();
    // The errno of the failed open or read; 0 while the listing is whole.
    int error() const { return m_error; }

private:
    DIR* m_dir = nullptr;
    int m_error = 0;
};
