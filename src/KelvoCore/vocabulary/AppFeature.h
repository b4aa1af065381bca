#pragma once

#include <QString>

#include <array>
#include <optional>

// A page (area) of the application. The order is the sidebar's and the stored index.
enum class AppFeature { dashboard, clean, uninstall, optimize, analyze, purge, installer, maintenance };

namespace AppFeatures {
inline constexpr std::array<AppFeature, 8> allCases{
    AppFeature::dashboard, AppFeature::clean, AppFeature::uninstall, AppFeature::optimize,
    AppFeature::analyze,   AppFeature::purge, AppFeature::installer, AppFeature::maintenance};

// The raw value, which is also the feature's id ("dashboard", "clean", ...).
QString rawValue(AppFeature feature);
// Exactly the eight raw values, case-sensitive; anything else gives no feature.
std::optional<AppFeature> fromRawValue(const QString& rawValue);
} // namespace AppFeatures
