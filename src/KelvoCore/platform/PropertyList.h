#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// Reads Apple property lists, XML or binary, through libplist. Only the texts stored under named keys
// of the root dictionary are read, each by a direct look-up: walking a dictionary lets a malformed
// key (a UTF-16 key holding U+0000) stop the whole process inside libplist, and converting nested
// values recursively lets a deeply nested file overflow the stack.
namespace PropertyList {
// More arrays and dictionaries than any real Info.plist holds; a file with more is not read, since
// libplist's own parser recurses once per level of nesting.
inline constexpr int maximumContainers = 2048;

// The texts under the given keys of the root dictionary; a key whose value is missing or not text is
// left out. None when the data is not a property list, its root is not a dictionary, or it holds
// more than maximumContainers arrays and dictionaries.
std::optional<QHash<QString, QString>> parseTexts(const QByteArray& data, const QStringList& keys);
// The same for a regular file of at most 16 MB.
std::optional<QHash<QString, QString>> readTexts(const QString& path, const QStringList& keys);
} // namespace PropertyList
