#pragma once

#include "platform/FileIdentity.h"

#include <QtGlobal>

#include <optional>
#include <sys/types.h>

// One item's own facts from one stat, without following a link.
struct FileFacts {
    mode_t mode = 0;
    FileIdentity identity;
    qint64 allocatedBytes = 0;
    // The item is the root of a mount: another file system, or a bind mount of the same one, which
    // shares the device number of the folder it is mounted on.
    bool mountRoot = false;

    bool isFolder() const;
    bool isLink() const;
};

namespace FileFactsReader {
// The facts of `name` inside the open folder folderFd; none (with errno set) when it cannot be read.
std::optional<FileFacts> at(int folderFd, const char* name);
// The facts of an open item.
std::optional<FileFacts> of(int fd);
} // namespace FileFactsReader
