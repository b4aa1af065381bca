#pragma once

#include <QString>

#include <optional>

// The current user's home folder. Only services, executors and the application look it up;
// every scanner receives the home folder as an argument.
namespace HomeFolder {
// HOME as it is set, empty when it is not: never a stand-in such as "/".
QString current();
// Why a home folder cannot be trusted with removals (empty, not absolute, the root folder itself or
// a link to it, not an existing folder), in the display language; none when it can.
std::optional<QString> problem(const QString& home);
} // namespace HomeFolder
