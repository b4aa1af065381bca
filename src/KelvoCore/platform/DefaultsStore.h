#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

class QSettings;

// The user's defaults store: QSettings in the application's own domain. Setting the environment
// variable KELVO_DEFAULTS_FILE (or calling useFile) points it at an INI file instead, which is how
// tests keep away from the real settings.
namespace DefaultsStore {
// A fresh handle on the current store; handles in one process share the same data.
std::unique_ptr<QSettings> open();
void useFile(const QString& iniPath);

// Strict readers: a missing key or a value of the wrong type reads as the fallback.
double readDouble(const QSettings& store, const QString& key, double fallback = 0);
qint64 readInt64(const QSettings& store, const QString& key, qint64 fallback = 0);
bool readBool(const QSettings& store, const QString& key, bool fallback);
QString readString(const QSettings& store, const QString& key, const QString& fallback = {});
} // namespace DefaultsStore
