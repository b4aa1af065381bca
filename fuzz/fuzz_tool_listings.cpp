// What the system tools print: the process listing (/bin/ps) and Spotlight's raw answers (mdls), read
// without harm; a split answer has exactly as many fields as asked for.
#include "FuzzSupport.h"

#include "platform/RunningProcesses.h"
#include "uninstall/LocalUninstallPreview.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const qsizetype count = input.ConsumeIntegralInRange<qsizetype>(0, 200);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));
    for (const QString& name : RunningProcesses::namesFromListing(bytes))
        KELVO_FUZZ_CHECK(!name.isEmpty() && !name.contains(QLatin1Char('\n')));
    if (const auto answers = LocalUninstallPreview::splitRawAnswers(bytes, count)) {
        KELVO_FUZZ_CHECK(qsizetype(answers->size()) == count);
        for (const QByteArray& answer : *answers)
            LocalUninstallPreview::mdlsLastUsedDate(answer);
    }
    if (const auto date = LocalUninstallPreview::mdlsLastUsedDate(bytes))
        KELVO_FUZZ_CHECK(date->isValid());
    return 0;
}
