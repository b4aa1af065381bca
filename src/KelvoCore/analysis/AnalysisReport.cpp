#include "analysis/AnalysisReport.h"

#include <QFile>
#include <QJsonArray>
#include <QUuid>

namespace {

template <typename T> void put(QJsonObject& json, const char* key, const std::optional<T>& value)
{
    if (value)
        json.insert(QLatin1String(key), *value);
}

std::optional<QString> textAt(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

std::optional<qint64> integerAt(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isDouble() ? std::optional<qint64>(value.toInteger()) : std::nullopt;
}

// Bytes as percent-encoded text: lossless, and plain where they are plain.
std::optional<QByteArray> bytesAt(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isString() ? std::optional(QByteArray::fromPercentEncoding(value.toString().toUtf8()))
                            : std::nullopt;
}

void putBytes(QJsonObject& json, const char* key, const std::optional<QByteArray>& bytes)
{
    if (bytes)
        json.insert(QLatin1String(key), QString::fromLatin1(bytes->toPercentEncoding("/")));
}

std::optional<bool> boolAt(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isBool() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

const std::pair<AnalysisReport::Kind, const char*> kindNames[] = {
    {AnalysisReport::Kind::file, "file"},
    {AnalysisReport::Kind::folder, "folder"},
    {AnalysisReport::Kind::unreadableFolder, "unreadable_folder"},
    {AnalysisReport::Kind::link, "link"},
    {AnalysisReport::Kind::danglingLink, "dangling_link"},
    {AnalysisReport::Kind::special, "special"},
};

std::optional<AnalysisReport::Kind> kindFromText(const std::optional<QString>& text)
{
    for (const auto& [kind, name] : kindNames)
        if (text == QLatin1String(name))
            return kind;
    return std::nullopt;
}

QString kindText(AnalysisReport::Kind kind)
{
    for (const auto& [candidate, name] : kindNames)
        if (candidate == kind)
            return QLatin1String(name);
    return {};
}

QJsonArray entriesToJson(const std::vector<AnalysisReport::Entry>& entries)
{
    QJsonArray array;
    for (const AnalysisReport::Entry& entry : entries) {
        QJsonObject json;
        put(json, "name", entry.name);
        put(json, "path", entry.path);
        put(json, "size", entry.size);
        put(json, "is_dir", entry.isDirectory);
        if (entry.identity)
            json.insert(QStringLiteral("identity"), entry.identity->text());
        if (entry.kind)
            json.insert(QStringLiteral("kind"), kindText(*entry.kind));
        putBytes(json, "raw_path", entry.rawPath);
        array.append(json);
    }
    return array;
}

std::vector<AnalysisReport::Entry> entriesFromJson(const QJsonValue& value)
{
    std::vector<AnalysisReport::Entry> entries;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonObject json = item.toObject();
        entries.push_back({textAt(json, "name"), textAt(json, "path"), integerAt(json, "size"),
                           boolAt(json, "is_dir"),
                           FileIdentity::fromText(textAt(json, "identity").value_or(QString())),
                           kindFromText(textAt(json, "kind")), bytesAt(json, "raw_path")});
    }
    return entries;
}

} // namespace

QString AnalysisReport::Entry::id() const
{
    if (path)
        return *path;
    if (name)
        return *name;
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QByteArray AnalysisReport::Entry::bytes() const
{
    return rawPath ? *rawPath : QFile::encodeName(path.value_or(QString()));
}

QByteArray AnalysisReport::bytes() const
{
    return rawPath ? *rawPath : QFile::encodeName(path.value_or(QString()));
}

QJsonObject AnalysisReport::toJson() const
{
    QJsonObject json;
    put(json, "path", path);
    putBytes(json, "raw_path", rawPath);
    put(json, "overview", overview);
    json.insert(QStringLiteral("entries"), entriesToJson(entries));
    json.insert(QStringLiteral("large_files"), entriesToJson(largeFiles));
    put(json, "total_size", totalSize);
    put(json, "total_files", totalFiles);
    if (leftOut)
        json.insert(QStringLiteral("left_out"),
                    QJsonObject{{QStringLiteral("hidden_items"), leftOut->hiddenItems},
                                {QStringLiteral("hidden_file_bytes"), leftOut->hiddenFileBytes},
                                {QStringLiteral("protected_folders"),
                                 QJsonArray::fromStringList(leftOut->protectedFolders)}});
    return json;
}

AnalysisReport AnalysisReport::fromJson(const QJsonObject& json)
{
    AnalysisReport report;
    report.path = textAt(json, "path");
    report.rawPath = bytesAt(json, "raw_path");
    report.overview = boolAt(json, "overview");
    report.entries = entriesFromJson(json.value(QStringLiteral("entries")));
    report.largeFiles = entriesFromJson(json.value(QStringLiteral("large_files")));
    report.totalSize = integerAt(json, "total_size");
    report.totalFiles = integerAt(json, "total_files");
    const QJsonValue leftOut = json.value(QStringLiteral("left_out"));
    if (leftOut.isObject()) {
        const QJsonObject object = leftOut.toObject();
        QStringList protectedFolders;
        for (const QJsonValue& folder : object.value(QStringLiteral("protected_folders")).toArray())
            protectedFolders << folder.toString();
        report.leftOut = LeftOut{integerAt(object, "hidden_items").value_or(0),
                                 integerAt(object, "hidden_file_bytes").value_or(0), protectedFolders};
    }
    return report;
}
