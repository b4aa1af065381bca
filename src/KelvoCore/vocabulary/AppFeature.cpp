#include "vocabulary/AppFeature.h"

namespace AppFeatures {

QString rawValue(AppFeature feature)
{
    return QString::fromLatin1(table[std::size_t(feature)].second);
}

std::optional<AppFeature> fromRawValue(const QString& rawValue)
{
    for (const auto& [feature, raw] : table)
        if (rawValue == QLatin1String(raw))
            return feature;
    return std::nullopt;
}

} // namespace AppFeatures
