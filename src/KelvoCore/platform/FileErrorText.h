#pragma once

#include <QFileDevice>
#include <QString>

// Translated descriptions of file failures, shared by every platform piece that reads or writes.
namespace FileErrorText {
QString cannotRead(const QString& path, QFileDevice::FileError error);
QString notUtf8(const QString& path);
QString cannotWrite(const QString& path, QFileDevice::FileError error);
QString cannotCreateFolder(const QString& folder);
QString cannotMoveToTrash(const QString& path);
QString cannotCopy(const QString& source, const QString& target);
QString cannotRemove(const QString& path);
} // namespace FileErrorText
