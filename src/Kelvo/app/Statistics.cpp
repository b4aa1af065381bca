#include "app/Statistics.h"

#include "platform/DefaultsStore.h"

#include <QDateTime>
#include <QSettings>

#include <array>

namespace {

using Kind = Statistics::Kind;
using Key = StatisticKey;

constexpr std::array rows{
    Statistics::Row{Key::lastCleanDate, "lastCleanDate", Kind::date, AppFeature::clean},
    Statistics::Row{Key::lastCleanCount, "lastCleanCount", Kind::count, AppFeature::clean},
    Statistics::Row{Key::lastUninstallDate, "lastUninstallDate", Kind::date, AppFeature::uninstall},
    Statistics::Row{Key::lastUninstallCount, "lastUninstallCount", Kind::count, AppFeature::uninstall},
    Statistics::Row{Key::lastOptimizeDate, "lastOptimizeDate", Kind::date, AppFeature::optimize},
    Statistics::Row{Key::lastOptimizeCount, "lastOptimizeCount", Kind::count, AppFeature::optimize},
    Statistics::Row{Key::lastAnalysisDate, "lastAnalysisDate", Kind::date, AppFeature::analyze},
    Statistics::Row{Key::lastAnalysisPath, "lastAnalysisPath", Kind::text, AppFeature::analyze},
    Statistics::Row{Key::lastAnalysisTotalSize, "lastAnalysisTotalSize", Kind::count, AppFeature::analyze},
    Statistics::Row{Key::lastAnalysisTotalFiles, "lastAnalysisTotalFiles", Kind::count, AppFeature::analyze},
    Statistics::Row{Key::lastPurgeScanDate, "lastPurgeScanDate", Kind::date, AppFeature::purge},
    Statistics::Row{Key::lastPurgeCleanedCount, "lastPurgeCleanedCount", Kind::count, AppFeature::purge},
    Statistics::Row{Key::lastPurgeCleanedBytes, "lastPurgeCleanedBytes", Kind::count, AppFeature::purge},
    Statistics::Row{Key::lastInstallerScanDate, "lastInstallerScanDate", Kind::date, AppFeature::installer},
    Statistics::Row{Key::lastInstallerCleanedCount, "lastInstallerCleanedCount", Kind::count,
                    AppFeature::installer},
    Statistics::Row{Key::lastInstallerCleanedBytes, "lastInstallerCleanedBytes", Kind::count,
                    AppFeature::installer},
    Statistics::Row{Key::lastUpdateCheckDate, "lastUpdateCheckDate", Kind::date, AppFeature::maintenance},
};

// The table is in the keys' order, so a key is its row's index.
constexpr bool inKeyOrder()
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].key != StatisticKey(i))
            return false;
    return rows.size() == std::size_t(StatisticKey::lastUpdateCheckDate) + 1;
}
static_assert(inKeyOrder(), "every statistic has one row, in the keys' order");

const Statistics::Row& rowOf(StatisticKey key)
{
    return rows[std::size_t(key)];
}

// The stored value read strictly by its kind: a value of the wrong type reads as never or nothing.
QVariant read(const QSettings& store, const Statistics::Row& row)
{
    const QString key = QString::fromLatin1(row.name);
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
        m_values.insert(QString::fromLatin1(row.name), read(*store, row));
}

QString Statistics::name(StatisticKey key)
{
    return QString::fromLatin1(rowOf(key).name);
}

double Statistics::date(StatisticKey key) const
{
    return m_values.value(name(key)).toDouble();
}

qint64 Statistics::count(StatisticKey key) const
{
    return m_values.value(name(key)).toLongLong();
}

QString Statistics::text(StatisticKey key) const
{
    return m_values.value(name(key)).toString();
}

void Statistics::record(StatisticKey key, const QVariant& value)
{
    DefaultsStore::open()->setValue(name(key), value);
    m_values.insert(name(key), value);
    emit changed();
}

void Statistics::recordNow(StatisticKey key)
{
    record(key, double(QDateTime::currentMSecsSinceEpoch()) / 1000.0);
}
