#pragma once

// Helpers shared by the controllers: texts in the display language and the defaults store.

#include "app/LocalizationSettings.h"

#include "platform/DefaultsStore.h"
#include "vocabulary/LocalText.h"

#include <QDateTime>
#include <QSettings>
#include <QStringList>

namespace AppModelSupport {

inline QString L(const char* zh, const char* en)
{
    return LocalizationSettings::shared().text(QString::fromUtf8(zh), QString::fromUtf8(en));
}

// Both languages of a text kept to be shown later (the status line, the alert), Chinese first.
inline LocalText both(const char* zh, const char* en)
{
    return {QString::fromUtf8(zh), QString::fromUtf8(en)};
}

inline double nowInSeconds()
{
    return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
}

inline void storeValue(const QString& key, const QVariant& value)
{
    DefaultsStore::open()->setValue(key, value);
}

} // namespace AppModelSupport
