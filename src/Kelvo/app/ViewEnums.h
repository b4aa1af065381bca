#pragma once

#include "clean/CleanPreviewReport.h"
#include "vocabulary/AppFeature.h"

#include <QObject>

#include <optional>

// The engine's enumerations as the views name them. QML reads an enumeration's values only when they
// begin with a capital letter, which the engine's do not, so each is mirrored here value for value;
// the views compare these instead of raw texts.

// A page of the application (AppFeature): AppFeature.Clean in QML.
namespace AppFeatureQml {
Q_NAMESPACE

enum Value { Dashboard, Clean, Uninstall, Optimize, Analyze, Purge, Installer, Maintenance };
Q_ENUM_NS(Value)

static_assert(int(AppFeature::dashboard) == Dashboard && int(AppFeature::clean) == Clean &&
              int(AppFeature::uninstall) == Uninstall && int(AppFeature::optimize) == Optimize &&
              int(AppFeature::analyze) == Analyze && int(AppFeature::purge) == Purge &&
              int(AppFeature::installer) == Installer && int(AppFeature::maintenance) == Maintenance);

inline Value of(AppFeature feature)
{
    return Value(int(feature));
}
// None for a number that names no page.
inline std::optional<AppFeature> feature(int value)
{
    return value >= Dashboard && value <= Maintenance ? std::optional(AppFeature(value)) : std::nullopt;
}
} // namespace AppFeatureQml

// What a Smart Clean entry is (CleanPreviewReport::EntryStatus): CleanEntryStatus.Skipped in QML.
namespace CleanEntryStatusQml {
Q_NAMESPACE

enum Value { Cleanable, Done, Skipped, Info, Detail, Review, Summary };
Q_ENUM_NS(Value)

using Status = CleanPreviewReport::EntryStatus;
static_assert(int(Status::cleanable) == Cleanable && int(Status::done) == Done &&
              int(Status::skipped) == Skipped && int(Status::info) == Info && int(Status::detail) == Detail &&
              int(Status::review) == Review && int(Status::summary) == Summary);

inline Value of(Status status)
{
    return Value(int(status));
}
} // namespace CleanEntryStatusQml
