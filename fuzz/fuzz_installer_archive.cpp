// A listing tool's output and the tail of an archive: read without harm; a listing never holds more
// names than asked for, nor an empty one, and a Linux archive's kind is always one of a package.
#include "FuzzSupport.h"

#include "installer/InstallerArchive.h"
#include "installer/LinuxInstallers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    InstallerArchive::holdsInstallerMarker(bytes);
    if (const auto names = InstallerArchive::listingLines(bytes, InstallerArchive::listingLimit)) {
        KELVO_FUZZ_CHECK(!names->isEmpty() && names->size() <= InstallerArchive::listingLimit);
        for (const QString& name : *names)
            KELVO_FUZZ_CHECK(!name.isEmpty());
        InstallerArchive::namesHoldInstaller(*names);
        if (const auto kind = LinuxInstallers::archiveKind(*names))
            KELVO_FUZZ_CHECK(kind->code == QLatin1String("archive") && !kind->text.isEmpty());
    }
    return 0;
}
