#pragma once

#include <QString>

#include <array>
#include <optional>
#include <utility>

// A page (area) of the application. The order is the sidebar's and the stored index.
enum class AppFeature { dashboard, clean, uninstall, optimize, analyze, purge, installer, maintenance };

namespace AppFeatures {
// Every feature with its raw value, which is also its id ("dashboard", "clean", ...), in order.
inline constexpr std::array<std::pair<AppFeature, const char*>, 8> table{{
    {AppFeature::dashboard, "dashboard"},
    {AppFeature::clean, "clean"},
    {AppFeature::uninstall, "uninstall"},
    {AppFeature::optimize, "optimize"},
    {AppFeature::analyze, "analyze"},
    {AppFeature::purge, "purge"},
    {AppFeature::installer, "installer"},
    {AppFeature::maintenance, "maintenance"},
}};
inline constexpr std::array<AppFeature, table.size()> allCases = [] {
    std::array<AppFeature, table.size()> features{};
    for (std::size_t i = 0; i < table.size(); ++i)
        features[i] = table[i].first;
    return features;
}();
static_assert(
    [] {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (std::size_t(table[i].first) != i)
                return false;
        return true;
    }(),
    "the table lists the features in their order");

QString rawValue(AppFeature feature);
// Exactly the raw values, case-sensitive; anything else gives no feature.
std::optional<AppFeature> fromRawValue(const QString& rawValue);
} // namespace AppFeatures
