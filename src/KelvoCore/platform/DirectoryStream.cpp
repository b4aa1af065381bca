#include "platform/DirectoryStream.h"

#include <cerrno>
#include <unistd.h>

DirectoryStream::DirectoryStream(int fd)
{
    if (fd < 0) {
        m_error = EBADF;
        return;
    }
    m_dir = fdopendir(fd);
    if (!m_dir) {
        m_error = errno;
        ::close(fd); // fdopendir takes the descriptor over only when it succeeds
    }
}

DirectoryStream::~DirectoryStream()
{
    if (m_dir)
        closedir(m_dir);
}

std::optional<DirectoryStream::Entry> DirectoryStream::next()
{
    if (!m_dir)
        return std::nullopt;
    for (;;) {
        // readdir says an error only through errno, and returns null at the end as well.
        errno = 0;
        const dirent* entry = readdir(m_dir);
        if (!entry) {
            m_error = errno;
            return std::nullopt;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        return Entry{name, entry->d_type};
    }
}
