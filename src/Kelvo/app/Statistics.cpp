#include "app/Statistics.h"

#include "platform/DefaultsStore.h"

#include <QDateTime>
#include <QSettings>

#include <array>

namespace {

using Kind = Statistics::Kind;

constexpr std::array rows{
    Statistics::Row{"lastCleanDate", Kind::date, AppFeature::clean},
    Statistics::Row{"lastCleanCount", Kind::count, AppFeature::clean},
    Statistics::Row{"lastUninstallDate", Kind::date, AppFeature::uninstall},
    Statistics::Row{"lastUninstallCount", Kind::count, AppFeature::uninstall},
    Statistics::Row{"lastOptimizeDate", Kind::date, AppFeature::optimize},
    Statistics::Row{"lastOptimizeCount", Kind::count, AppFeature::optimize},
    Statistics::Row{"lastAnalysisDate", Kind::date, AppFeature::analyze},
    Statistics::Row{"lastAnalysisPath", Kind::text, AppFeature::analyze},
    Statistics::Row{"lastAnalysisTotalSize", Kind::count, AppFeature::analyze},
    Statistics::Row{"lastAnalysisTotalFiles", Kind::count, AppFeature::analyze},
    Statistics::Row{"lastPurgeScanDate", Kind::date, AppFeature::purge},
    Statistics::Row{"lastPurgeCleanedCount", Kind::count, AppFeature::purge},
    Statistics::Row{"lastPurgeCleanedBytes", Kind::count, AppFeature::purge},
    Statistics::Row{"lastInstallerScanDate", Kind::date, AppFeature::installer},
    Statistics::Row{"lastInstallerCleanedCount", Kind::count, AppFeature::installer},
    Statistics::Row{"lastInstallerCleanedBytes", Kind::count, AppFeature::installer},
    Statistics::Row{"lastUpdateCheckDate", Kind::date, AppFeature::maintenance},
};

const Statistics::Row* rowOf(const char* key)
{
    for (const Statistics::Row& row : rows)
        if (qstrcmp(row.key, key) == 0)
            return &row;
    return nullptr;
}

// The stored value read strictly by its kind: a value of the wrong type reads as never or nothing.
QVariant read(const QSettings& store, const Statistics::Row& row)
{
    const QString key = QString::fromLatin1(row.key);
    switch (row.kind) {
    case Kind::date:
        return DefaultsStore::readDouble(store, key);
    case Kind::count:
        return DefaultsStore::readInt64(store, key);
    case Kind::text:
        return DefaultsStore::readString(store, key);
    }
    return {};
}

} // namespace

std::span<const Statistics::Row> Statistics::table()
{
    return rows;
}

Statistics::Statistics(QObject* parent)
    : QObject(parent)
{
    const std::unique_ptr<QSettings> store = DefaultsStore::open();
    for (const Row& row : rows)
        m_values.insert(QString::fromLatin1(row.key), read(*store, row));
}

double Statistics::date(const char* key) const
{
    return m_values.value(QString::fromLatin1(key)).toDouble();
}

qint64 Statistics::count(const char* key) const
{
    return m_values.value(QString::fromLatin1(key)).toLongLong();
}

QString Statistics::text(const char* key) const
{
    return m_values.value(QString::fromLatin1(key)).toString();
}

void Statistics::record(const char* key, const QVariant& value)
{
    const Row* row = rowOf(key);
    Q_ASSERT_X(row, "Statistics::record", key);
    if (!row)
        return;
    DefaultsStore::open()->setValue(QString::fromLatin1(key), value);
    m_values.insert(QString::fromLatin1(key), value);
    emit changed();
}

void Statistics::recordNow(const char* key)
{
    record(key, double(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}
