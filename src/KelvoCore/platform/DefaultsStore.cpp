#include "platform/DefaultsStore.h"

#include <QMetaType>
#include <QMutex>
#include <QSettings>

#include <cmath>

namespace {

QMutex locationMutex;
QString overrideFile; // guarded by locationMutex

QString currentOverride()
{
    QMutexLocker lock(&locationMutex);
    if (!overrideFile.isEmpty())
        return overrideFile;
    return qEnvironmentVariable("KELVO_DEFAULTS_FILE");
}

bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace DefaultsStore {

std::unique_ptr<QSettings> open()
{
    const QString file = currentOverride();
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvo"),
                                       QStringLiteral("Kelvo"));
}

void useFile(const QString& iniPath)
{
    QMutexLocker lock(&locationMutex);
    overrideFile = iniPath;
}

// INI files keep every value as text, while the macOS defaults keep typed values: accept a number
// of the right kind in either form and nothing else.
// "nan" and "inf" read as numbers, but no stored value means them: a date or a count that is not
// finite is as unusable as one that is not a number.
double readDouble(const QSettings& store, const QString& key, double fallback)
{
    const QVariant value = store.value(key);
    double number = fallback;
    if (isNumeric(value)) {
        number = value.toDouble();
    } else if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return fallback;
    }
    return std::isfinite(number) ? number : fallback;
}

qint64 readInt64(const QSettings& store, const QString& key, qint64 fallback)
{
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        // Only a whole number inside the 64-bit range converts; casting anything else (a fraction,
        // a huge value, "inf", "nan") would be undefined.
        const double number = value.toDouble();
        constexpr double limit = 9223372036854775808.0; // 2^63
        if (!(number >= -limit && number < limit) || number != std::trunc(number))
            return fallback;
        return static_cast<qint64>(number);
    }
    if (isNumeric(value))
        return value.toLongLong();
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 parsed = value.toString().trimmed().toLongLong(&ok);
        return ok ? parsed : fallback;
    }
    return fallback;
}

bool readBool(const QSettings& store, const QString& key, bool fallback)
{
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return fallback;
}

QString readString(const QSettings& store, const QString& key, const QString& fallback)
{
    const QVariant value = store.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

} // namespace DefaultsStore
