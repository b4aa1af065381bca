#include "clean/CleanPreviewReport.h"

#include "clean/LocalCleanPreview.h"
#include "vocabulary/ByteCount.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QSet>

#include <array>

namespace {

using EntryStatus = CleanPreviewReport::EntryStatus;

// In the order of the stored numeric code.
constexpr std::array allStatuses{EntryStatus::cleanable, EntryStatus::done,   EntryStatus::skipped,
                                 EntryStatus::info,      EntryStatus::detail, EntryStatus::review,
                                 EntryStatus::summary};

QJsonValue optionalText(const std::optional<LocalText>& text)
{
    return text ? QJsonValue(text->text()) : QJsonValue(QJsonValue::Null);
}

std::optional<LocalText> readOptionalText(const QJsonValue& value)
{
    return value.isString() ? std::optional(LocalText::same(value.toString())) : std::nullopt;
}

// The raw value, or the stored numeric code 0 to 6, since both name a status unambiguously.
std::optional<EntryStatus> readStatus(const QJsonValue& value)
{
    if (value.isString())
        return CleanPreviewReport::statusFromRawValue(value.toString());
    if (value.isDouble()) {
        const double code = value.toDouble();
        for (std::size_t index = 0; index < allStatuses.size(); ++index) {
            if (code == double(index))
                return allStatuses[index];
        }
    }
    return std::nullopt;
}

// A byte or item count written by this program: a whole number of at least 0.
std::optional<qint64> readOptionalBytes(const QJsonValue& value)
{
    const qint64 bytes = value.toInteger(-1);
    return bytes >= 0 ? std::optional<qint64>(bytes) : std::nullopt;
}

std::optional<CleanPreviewReport::Entry> readEntry(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    const QJsonValue path = object.value(QLatin1String("path"));
    const std::optional<EntryStatus> status = readStatus(object.value(QLatin1String("status")));
    if (!path.isString() || !status)
        return std::nullopt;

    // An entry still needs an identity for lists and selection when the stored one is unusable.
    QUuid id = QUuid::fromString(object.value(QLatin1String("id")).toString());
    if (id.isNull())
        id = QUuid::createUuid();
    return CleanPreviewReport::Entry{
        id,
        LocalText::same(object.value(QLatin1String("section")).toString()),
        path.toString(),
        readOptionalText(object.value(QLatin1String("note"))),
        *status,
        FileIdentity::fromText(object.value(QLatin1String("identity")).toString()),
        readOptionalBytes(object.value(QLatin1String("bytes"))),
        readOptionalBytes(object.value(QLatin1String("protected_bytes"))),
        readOptionalBytes(object.value(QLatin1String("items_to_remove")))};
}

} // namespace

qint64 CleanPreviewReport::willFreeBytes() const
{
    qint64 total = 0;
    for (const Entry& entry : entries) {
        if (entry.status != EntryStatus::cleanable)
            continue;
        const qint64 bytes =
            entry.bytes ? *entry.bytes : LocalCleanPreview::byteCount(entry.note).value_or(0);
        total =
            ByteCount::saturatingAdd(total, std::max<qint64>(bytes - entry.protectedBytes.value_or(0), 0));
    }
    return total;
}

int CleanPreviewReport::sectionCount() const
{
    QSet<QString> sections;
    for (const Entry& entry : entries)
        sections.insert(entry.section.english);
    return int(sections.size());
}

QString CleanPreviewReport::rawValue(EntryStatus status)
{
    switch (status) {
    case EntryStatus::cleanable:
        return QStringLiteral("cleanable");
    case EntryStatus::done:
        return QStringLiteral("done");
    case EntryStatus::skipped:
        return QStringLiteral("skipped");
    case EntryStatus::info:
        return QStringLiteral("info");
    case EntryStatus::detail:
        return QStringLiteral("detail");
    case EntryStatus::review:
        return QStringLiteral("review");
    case EntryStatus::summary:
        return QStringLiteral("summary");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<CleanPreviewReport::EntryStatus> CleanPreviewReport::statusFromRawValue(const QString& rawValue)
{
    for (EntryStatus status : allStatuses) {
        if (CleanPreviewReport::rawValue(status) == rawValue)
            return status;
    }
    return std::nullopt;
}

QJsonObject CleanPreviewReport::toJson() const
{
    QJsonArray entryArray;
    for (const Entry& entry : entries) {
        QJsonObject object{
            {QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("section"), entry.section.text()},
            {QStringLiteral("path"), entry.path},
            {QStringLiteral("note"), optionalText(entry.note)},
            {QStringLiteral("status"), rawValue(entry.status)},
        };
        // Only this program's previews know what they measured; the older tool's keys stay as they were.
        if (entry.identity)
            object.insert(QStringLiteral("identity"), entry.identity->text());
        if (entry.bytes)
            object.insert(QStringLiteral("bytes"), *entry.bytes);
        if (entry.protectedBytes)
            object.insert(QStringLiteral("protected_bytes"), *entry.protectedBytes);
        if (entry.itemsToRemove)
            object.insert(QStringLiteral("items_to_remove"), *entry.itemsToRemove);
        entryArray.append(object);
    }
    // Milliseconds are kept so that a report read back compares equal to the one written. An ISO date
    // holds the years 1 to 9999 only; a date outside them is written as none rather than as text
    // that would not read back.
    const QDateTime utc = generatedAt.toUTC();
    const bool writable = generatedAt.isValid() && utc.date().year() >= 1 && utc.date().year() <= 9999;
    const QJsonValue generated =
        writable ? QJsonValue(utc.toString(Qt::ISODateWithMs)) : QJsonValue(QJsonValue::Null);
    return QJsonObject{
        {QStringLiteral("generated_at"), generated},
        {QStringLiteral("summary"), optionalText(summary)},
        {QStringLiteral("section_count"), sectionCount()},
        {QStringLiteral("entries"), entryArray},
    };
}

CleanPreviewReport CleanPreviewReport::fromJson(const QJsonObject& json)
{
    CleanPreviewReport report;
    // A missing or unreadable date stays invalid: inventing "now" would misdate an old report.
    report.generatedAt =
        QDateTime::fromString(json.value(QLatin1String("generated_at")).toString(), Qt::ISODateWithMs);
    report.summary = readOptionalText(json.value(QLatin1String("summary")));
    // section_count is derived from the entries, so the stored value is not read.
    for (const QJsonValue& value : json.value(QLatin1String("entries")).toArray()) {
        if (std::optional<Entry> entry = readEntry(value))
            report.entries.push_back(std::move(*entry));
    }
    return report;
}
