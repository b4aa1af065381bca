#pragma once

#include "vocabulary/NaturalOrder.h"

#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <vector>

// The order of the reports that list what takes space.
namespace LargestFirst {
// Largest first, equal sizes in natural order of their keys; entries equal in both keep their order.
template <typename Entry, typename BytesOf, typename KeyOf>
void sort(std::vector<Entry>& entries, BytesOf bytesOf, KeyOf keyOf)
{
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const qint64 left = std::invoke(bytesOf, a);
        const qint64 right = std::invoke(bytesOf, b);
        if (left != right)
            return left > right;
        return NaturalOrder::lessThan(std::invoke(keyOf, a), std::invoke(keyOf, b));
    });
}
} // namespace LargestFirst
