#pragma once

#include <QString>

#include <optional>

// The running application bundle's Info.plist, read with CoreFoundation on macOS; elsewhere there is
// no bundle.
namespace MainBundleInfo {
// The value of key when it is a text; none otherwise or without a bundle.
std::optional<QString> text(const QString& key);
} // namespace MainBundleInfo
