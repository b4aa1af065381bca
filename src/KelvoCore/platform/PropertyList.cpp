#include "platform/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QVariantList>

#include <plist/plist.h>

#include <cstdlib>
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

std::optional<QVariant> value(plist_t node);

QVariantMap dictionary(plist_t node)
{
    QVariantMap map;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    if (!iter)
        return map;
    for (;;) {
        char* key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &key, &item);
        if (!key)
            break;
        if (const std::optional<QVariant> converted = value(item))
            map.insert(QString::fromUtf8(key), *converted);
        std::free(key);
    }
    std::free(iter);
    return map;
}

std::optional<QVariant> value(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QVariant(QString::fromUtf8(text, static_cast<qsizetype>(length)));
    }
    case PLIST_BOOLEAN: {
        uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return QVariant(flag != 0);
    }
    case PLIST_UINT: {
        uint64_t number = 0;
        plist_get_uint_val(node, &number);
        // The format stores signed and unsigned alike; negative numbers come back as large ones.
        return QVariant(static_cast<qint64>(number));
    }
    case PLIST_REAL: {
        double number = 0;
        plist_get_real_val(node, &number);
        return QVariant(number);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i)
            if (const std::optional<QVariant> converted = value(plist_array_get_item(node, i)))
                list.append(*converted);
        return QVariant(list);
    }
    case PLIST_DICT:
        return QVariant(dictionary(node));
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QVariantMap> parseDictionary(const QByteArray& data)
{
    if (data.isEmpty() || data.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    const auto length = static_cast<uint32_t>(data.size());
    plist_t raw = nullptr;
    // The format-specific readers keep one signature across libplist versions.
    if (plist_is_binary(data.constData(), length))
        plist_from_bin(data.constData(), length, &raw);
    else
        plist_from_xml(data.constData(), length, &raw);
    const Node root(raw);
    if (!root || plist_get_node_type(raw) != PLIST_DICT)
        return std::nullopt;
    return dictionary(raw);
}

std::optional<QVariantMap> readDictionary(const QString& path)
{
    // Regular files only: opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumFileBytes)
        return std::nullopt;
    return parseDictionary(file.read(maximumFileBytes));
}

} // namespace PropertyList
