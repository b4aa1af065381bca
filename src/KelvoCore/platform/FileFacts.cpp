#include "platform/FileFacts.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

bool FileFacts::isFolder() const
{
    return S_ISDIR(mode);
}

bool FileFacts::isLink() const
{
    return S_ISLNK(mode);
}

namespace FileFactsReader {

namespace {

FileFacts fromStat(const struct stat& info)
{
    FileFacts facts;
    facts.mode = info.st_mode;
    facts.identity = {quint64(info.st_dev), quint64(info.st_ino)};
    facts.allocatedBytes = qint64(info.st_blocks) * 512;
    return facts;
}

} // namespace

std::optional<FileFacts> at(int folderFd, const char* name)
{
#ifdef STATX_ATTR_MOUNT_ROOT
    // statx tells a bind mount apart, which a device number cannot: it shares the device of its
    // host. One call still, as fstatat would be.
    struct statx info;
    if (statx(folderFd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &info) != 0)
        return std::nullopt;
    FileFacts facts;
    facts.mode = info.stx_mode;
    facts.identity = {quint64(makedev(info.stx_dev_major, info.stx_dev_minor)), quint64(info.stx_ino)};
    facts.allocatedBytes = qint64(info.stx_blocks) * 512;
    facts.mountRoot = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                      (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return facts;
#else
    // Without statx (macOS) a mount shows as another device, which the remover compares anyway.
    struct stat info;
    if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return fromStat(info);
#endif
}

std::optional<FileFacts> of(int fd)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return std::nullopt;
    return fromStat(info);
}

} // namespace FileFactsReader
