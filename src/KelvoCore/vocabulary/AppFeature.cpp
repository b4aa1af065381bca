#include "vocabulary/AppFeature.h"

namespace AppFeatures {

QString rawValue(AppFeature feature)
{
    switch (feature) {
    case AppFeature::dashboard:
        return QStringLiteral("dashboard");
    case AppFeature::clean:
        return QStringLiteral("clean");
    case AppFeature::uninstall:
        return QStringLiteral("uninstall");
    case AppFeature::optimize:
        return QStringLiteral("optimize");
    case AppFeature::analyze:
        return QStringLiteral("analyze");
    case AppFeature::purge:
        return QStringLiteral("purge");
    case AppFeature::installer:
        return QStringLiteral("installer");
    case AppFeature::maintenance:
        return QStringLiteral("maintenance");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<AppFeature> fromRawValue(const QString& rawValue)
{
    for (AppFeature feature : allCases) {
        if (AppFeatures::rawValue(feature) == rawValue)
            return feature;
    }
    return std::nullopt;
}

} // namespace AppFeatures
