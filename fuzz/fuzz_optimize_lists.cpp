// The optimisation's two kinds of list text: the safeguard file (any text parses, and what save writes
// reads back as the same state on both systems' catalogues) and autostart entries (any text gives an
// entry, and a program it names is never empty).
#include "FuzzSupport.h"

#include "optimize/AutostartAudit.h"
#include "optimize/OptimizeWhitelistStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzSupport::useEnglish();
    const QString text = QString::fromUtf8(FuzzSupport::bytes(data, size));

    for (const TargetSystem system : {TargetSystem::macOS, TargetSystem::linuxDesktop}) {
        const OptimizeWhitelistState state = OptimizeWhitelistStore::parse(text, system);
        KELVO_FUZZ_CHECK(
            OptimizeWhitelistStore::parse(OptimizeWhitelistStore::serialize(state, system), system) == state);
        for (const QString& key : state.customKeys)
            KELVO_FUZZ_CHECK(!key.isEmpty() && !key.startsWith(QLatin1Char('#')) && key == key.trimmed());
    }

    const AutostartAudit::Entry entry = AutostartAudit::readEntry(text, QStringLiteral("/home/fuzz"));
    if (entry.program)
        KELVO_FUZZ_CHECK(!entry.program->isEmpty());
    return 0;
}
