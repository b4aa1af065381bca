#include "platform/DefaultsStore.h"

#include <QMetaType>
#include <QMutex>
#include <QSettings>

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
double readDouble(const QSettings& store, const QString& key, double fallback)
{
    const QVariant value = store.value(key);
    if (isNumeric(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double parsed = value.toString().trimmed().toDouble(&ok);
        return ok ? parsed : fallback;
    }
    return fallback;
}

qint64 readInt64(const QSettings& store, const QString& key, qint64 fallback)
{
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double number = value.toDouble();
        return number == static_cast<double>(static_cast<qint64>(number)) ? static_cast<qint64>(number)
                                                                          : fallback;
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
