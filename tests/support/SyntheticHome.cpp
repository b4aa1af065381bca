#include "SyntheticHome.h"

#include <sys/stat.h>

namespace SyntheticHome {

qint64 allocated(const QString& path)
{
    struct stat info;
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<qint64>(info.st_blocks) * 512;
}

} // namespace SyntheticHome
