#pragma once

#include <QString>

// The current user's home folder. Only services, executors and the application look it up;
// every scanner receives the home folder as an argument.
namespace HomeFolder {
QString current();
} // namespace HomeFolder
