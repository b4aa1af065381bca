#pragma once

#include <QFileDevice>
#include <QString>

// Translated descriptions of file failures, shared by every platform piece that reads, writes or
// removes. Each reads in the display language of the moment it is made.
namespace FileErrorText {
// Why the system refused an operation, from its errno: "permission denied", "it is in use", ...
QString reason(int error);

QString cannotRead(const QString& path, QFileDevice::FileError error);
QString cannotRead(const QString& path, const QString& why);
QString notUtf8(const QString& path, qsizetype line);
QString cannotWrite(const QString& path, QFileDevice::FileError error);
QString cannotWrite(const QString& path, const QString& why);
QString cannotCreateFolder(const QString& folder);
QString cannotCopy(const QString& source, const QString& target);
QString cannotRemove(const QString& path);
QString cannotRemove(const QString& path, int error);
QString cannotMoveToTrash(const QString& path, const QString& why);

// Why an item was left where it is.
QString noLongerExists(const QString& path);
QString outsideScope(const QString& path);
QString linkOnTheWay(const QString& path, const QString& link);
QString cannotOpenOnTheWay(const QString& path, const QString& folder);
QString changedSinceScan(const QString& path);
QString otherFileSystem(const QString& path);
QString nestedTooDeeply(const QString& path);

// Why a folder could not be reached without links: what stands at the named place.
QString isLink(const QString& path);
QString notAFolder(const QString& path);
QString missingFolder(const QString& path);
QString notInside(const QString& path, const QString& root);
QString cannotOpenFolder(const QString& path, int error);

// Reasons for reading a list file that the user edits.
QString isFolder();
QString notRegularFile();
QString largerThan(qint64 bytes);
} // namespace FileErrorText
