#pragma once

#include "analysis/StorageTree.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// What an ncdu export's reader and writer say, in the display language.
namespace NcduExportText {

// Why an export was refused, and where: "... at byte N: reason."
QString refused(qint64 offset, const QString& reason);
// Which program made an imported scan and when: "ncdu 1.18 on 1 Dec 2026 10:00".
QString madeBy(const StorageTree::Origin& origin);

// Reasons.
QString endsEarly();
QString readFailed(const QString& error);
QString cancelled();
QString notAnExport();
QString unsupportedMajorVersion(quint64 major);
QString versionOutOfRange();
QString rootNotFolder();
QString folderWithoutDetails();
QString unexpected(char found, const QString& expected);
QString expectedValue();
QString expectedCommaOrEnd();
QString expectedColon();
QString expectedKey();
QString expectedItem();
QString trailingContent();
QString nestedTooDeep(int levels);
QString tooManyItems(std::size_t items);
QString missingName();
QString invalidName(QByteArrayView name);
QString invalidRootName();
QString nameTooLong(qsizetype bytes);
QString notWholeNumber(QByteArrayView key, const QString& least, const QString& most);
QString notTrueOrFalse(QByteArrayView key);
QString notText(QByteArrayView key);
QString malformedNumber();
QString invalidEscape();
QString loneSurrogate();
QString controlCharacter();

QString nothingToWrite();
QString writeFailed(const QString& error);

} // namespace NcduExportText
