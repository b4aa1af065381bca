#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>

#include <plist/plist.h>

#include <limits>
#include <memory>

namespace PropertyList {

namespace {

// Far above any real Info.plist; keeps a stray huge file from being read whole.
constexpr qint64 maximumFileBytes = 16 * 1024 * 1024;

struct NodeFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeFree>;

quint64 bigEndian(const QByteArray& data, qint64 at, int width)
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(data.at(at + i));
    return value;
}

// Arrays, sets and dictionaries in a binary property list, read from its object table; -1 when the
// trailer does not describe a table inside the data (libplist then refuses the data too).
qint64 binaryContainers(const QByteArray& data)
{
    constexpr qint64 trailerBytes = 32;
    if (data.size() < 8 + trailerBytes)
        return -1;
    const qint64 trailer = data.size() - trailerBytes;
    const int offsetWidth = quint8(data.at(trailer + 6));
    const quint64 objects = bigEndian(data, trailer + 8, 8);
    const quint64 table = bigEndian(data, trailer + 24, 8);
    if (offsetWidth < 1 || offsetWidth > 8 || table >= quint64(trailer) ||
        objects > (quint64(trailer) - table) / quint64(offsetWidth))
        return -1;
    qint64 containers = 0;
    for (quint64 i = 0; i < objects; ++i) {
        const quint64 offset = bigEndian(data, qint64(table + i * quint64(offsetWidth)), offsetWidth);
        if (offset >= quint64(trailer))
            return -1;
        const quint8 kind = quint8(data.at(qint64(offset))) >> 4;
        containers += kind == 0xA || kind == 0xC || kind == 0xD ? 1 : 0;
    }
    return containers;
}

// Opening <array> and <dict> tags in an XML property list (empty ones, "<array/>", hold nothing).
qint64 xmlContainers(const QByteArray& data)
{
    qint64 containers = 0;
    for (const QByteArray& tag : {QByteArrayLiteral("<array"), QByteArrayLiteral("<dict")})
        for (qsizetype at = data.indexOf(tag); at >= 0; at = data.indexOf(tag, at + 1)) {
            const qsizetype after = at + tag.size();
            containers += after < data.size() && data.at(after) != '/' ? 1 : 0;
        }
    return containers;
}

} // namespace

std::optional<QHash<QString, QString>> parseTexts(const QByteArray& data, const QStringList& keys)
{
    if (data.isEmpty() || data.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    const auto length = static_cast<uint32_t>(data.size());
    const bool binary = plist_is_binary(data.constData(), length);
    if ((binary ? binaryContainers(data) : xmlContainers(data)) > maximumContainers)
        return std::nullopt;
    plist_t raw = nullptr;
    // The format-specific readers keep one signature across libplist versions.
    if (binary)
        plist_from_bin(data.constData(), length, &raw);
    else
        plist_from_xml(data.constData(), length, &raw);
    const Node root(raw);
    if (!root || plist_get_node_type(raw) != PLIST_DICT)
        return std::nullopt;
    QHash<QString, QString> texts;
    for (const QString& key : keys) {
        const plist_t item = plist_dict_get_item(raw, key.toUtf8().constData());
        if (!item || plist_get_node_type(item) != PLIST_STRING)
            continue;
        uint64_t textLength = 0;
        const char* text = plist_get_string_ptr(item, &textLength);
        if (text && textLength <= uint64_t(std::numeric_limits<qsizetype>::max()))
            texts.insert(key, QString::fromUtf8(text, qsizetype(textLength)));
    }
    return texts;
}

std::optional<QHash<QString, QString>> readTexts(const QString& path, const QStringList& keys)
{
    // Regular files only: opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumFileBytes)
        return std::nullopt;
    return parseTexts(file.read(maximumFileBytes), keys);
}

} // namespace PropertyList
