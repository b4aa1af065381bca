#pragma once

#include "app/LocalizationSettings.h"

#include <QString>

#include <utility>

// Two deferred texts, Chinese first: only the one in the display language is built. Used where a
// text is costly to build (counts, sizes).
template <typename MakeZh, typename MakeEn> QString Lf(MakeZh&& zh, MakeEn&& en)
{
    return LocalizationSettings::shared().isChinese() ? QString(std::forward<MakeZh>(zh)())
                                                      : QString(std::forward<MakeEn>(en)());
}
