#include "platform/MainBundleInfo.h"

// Only macOS runs applications from bundles; elsewhere no key has a value.
std::optional<QString> MainBundleInfo::text(const QString&)
{
    return std::nullopt;
}
