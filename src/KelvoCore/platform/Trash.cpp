#include "platform/Trash.h"

#include "platform/FileErrorText.h"
#include "vocabulary/KelvoError.h"

#include <QFile>

namespace Trash {

void moveToTrash(const QString& path)
{
    // QFile::moveToTrash renames the item itself, so a link is trashed as a link.
    if (!QFile::moveToTrash(path))
        throw KelvoError(FileErrorText::cannotMoveToTrash(path));
}

} // namespace Trash
