#pragma once

#include <QString>

// Orders names like Finder does: letters without regard to case, runs of digits by their value
// ("proj2" before "proj10"). Independent of the process locale.
namespace NaturalOrder {
// Negative, zero or positive, like a three-way comparison.
int compare(const QString& a, const QString& b);
inline bool lessThan(const QString& a, const QString& b)
{
    return compare(a, b) < 0;
}
} // namespace NaturalOrder
