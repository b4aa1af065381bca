#include "platform/HomeFolder.h"

#include <QDir>

namespace HomeFolder {

QString current()
{
    return QDir::homePath();
}

} // namespace HomeFolder
