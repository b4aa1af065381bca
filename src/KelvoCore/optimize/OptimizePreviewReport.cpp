#include "optimize/OptimizePreviewReport.h"

#include <QJsonArray>
#include <QJsonValue>

QJsonObject OptimizePreviewReport::toJson() const
{
    QJsonArray entryArray;
    for (const Entry& entry : entries) {
        QJsonObject object{
            {QStringLiteral("id"), entry.id},
            {QStringLiteral("name"), entry.name},
            {QStringLiteral("description"), entry.description},
            {QStringLiteral("safe"), entry.safe},
        };
        if (entry.detail)
            object.insert(QStringLiteral("detail"), *entry.detail);
        entryArray.append(object);
    }
    return {{QStringLiteral("entries"), entryArray}};
}

OptimizePreviewReport OptimizePreviewReport::fromJson(const QJsonObject& json)
{
    OptimizePreviewReport report;
    for (const QJsonValue& value : json.value(QLatin1String("entries")).toArray()) {
        const QJsonObject object = value.toObject();
        const QString id = object.value(QLatin1String("id")).toString();
        if (id.isEmpty())
            continue;
        const QJsonValue detail = object.value(QLatin1String("detail"));
        report.entries.push_back({
            id,
            object.value(QLatin1String("name")).toString(),
            object.value(QLatin1String("description")).toString(),
            // Only an entry that says it is safe may run.
            object.value(QLatin1String("safe")).toBool(false),
            detail.isString() ? std::optional(detail.toString()) : std::nullopt,
        });
    }
    return report;
}
