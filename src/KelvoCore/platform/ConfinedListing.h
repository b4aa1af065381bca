#pragma once

#include "platform/FileWalker.h"

#include <QString>

#include <optional>
#include <vector>

// Items found below a trusted root without a link at any level between the root and them, for the
// scans whose findings are later moved or handed on: what lies behind a link is not the user's item
// where it seems to be, so it is never found.
namespace ConfinedListing {

// The item at path (strictly below root) as the listing would give it; none when nothing is there or
// a folder on the way is a link. The item itself may be a link: its kind says so.
std::optional<FileWalker::Item> item(const QString& root, const QString& path);

// The children of folder (strictly below root, or root itself); none when the folder is missing, is
// not a folder, or is reached through a link.
std::vector<FileWalker::Item> children(const QString& root, const QString& folder);

} // namespace ConfinedListing
