#include "platform/MainBundleInfo.h"

#include <CoreFoundation/CoreFoundation.h>

namespace MainBundleInfo {

std::optional<QString> text(const QString& key)
{
    CFBundleRef bundle = CFBundleGetMainBundle();
    if (!bundle)
        return std::nullopt;
    const CFStringRef name = key.toCFString();
    // Owned by the bundle: not released here.
    const CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, name);
    CFRelease(name);
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return std::nullopt;
    return QString::fromCFString(static_cast<CFStringRef>(value));
}

} // namespace MainBundleInfo
