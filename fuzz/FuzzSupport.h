#pragma once

// What the fuzz targets share: a property check that counts as a finding, and the fuzz input read as
// texts.

#include "vocabulary/AppLocalization.h"

#include <QByteArray>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

// A broken property is a finding: libFuzzer keeps the input that broke it.
#define KELVO_FUZZ_CHECK(condition)                                                                          \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace FuzzSupport {

// Texts in one language for the whole run, and no settings read.
inline void useEnglish()
{
    AppLocalization::overrideLanguage(AppResolvedLanguage::english);
}

inline QString text(FuzzedDataProvider& data, std::size_t maxLength = 64)
{
    return QString::fromStdString(data.ConsumeRandomLengthString(maxLength));
}

inline QByteArray bytes(const uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace FuzzSupport
