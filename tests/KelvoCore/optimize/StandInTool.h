#pragma once

// Shell scripts standing in for system tools below a synthetic system root, so no test runs a real
// tool that changes the machine.

#include "SyntheticHome.h"

#include <QFile>

// Writes an executable script at systemRoot + program that runs body, and returns its path.
inline QString standInTool(const QString& systemRoot, const QString& program, const QByteArray& body)
{
    const QString path = SyntheticHome::write(systemRoot + program, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}
