#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include <optional>

// Reads Apple property lists, XML or binary, through libplist.
namespace PropertyList {
// The root dictionary of a property list file. Strings, booleans, integers, reals, arrays and
// dictionaries become QVariant values; other kinds (dates, data, identifiers) are left out.
// None when the file cannot be read, is not a property list, or its root is not a dictionary.
std::optional<QVariantMap> readDictionary(const QString& path);
// The same for data already in memory.
std::optional<QVariantMap> parseDictionary(const QByteArray& data);
} // namespace PropertyList
