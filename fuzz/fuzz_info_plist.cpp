// Info.plist files, XML or binary, as any application on disk may carry them: read without harm.
#include "FuzzSupport.h"

#include "platform/PropertyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList keys{QStringLiteral("CFBundleDisplayName"), QStringLiteral("CFBundleName"),
                                  QStringLiteral("CFBundleIdentifier"), QStringLiteral("CFBundleIconFile")};
    if (const auto texts = PropertyList::parseTexts(FuzzSupport::bytes(data, size), keys))
        for (auto it = texts->begin(); it != texts->end(); ++it)
            KELVO_FUZZ_CHECK(keys.contains(it.key()));
    return 0;
}
