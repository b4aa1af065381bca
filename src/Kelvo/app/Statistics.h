#pragma once

#include "vocabulary/AppFeature.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <span>

// Every statistic; each is one row of the table, stored and published under its name
// (StatisticKey::lastCleanDate as "lastCleanDate").
enum class StatisticKey {
    lastCleanDate,
    lastCleanCount,
    lastUninstallDate,
    lastUninstallCount,
    lastOptimizeDate,
    lastOptimizeCount,
    lastAnalysisDate,
    lastAnalysisPath,
    lastAnalysisTotalSize,
    lastAnalysisTotalFiles,
    lastPurgeScanDate,
    lastPurgeCleanedCount,
    lastPurgeCleanedBytes,
    lastInstallerScanDate,
    lastInstallerCleanedCount,
    lastInstallerCleanedBytes,
    lastUpdateCheckDate,
};

// What the features remember of their last runs, kept in the defaults store. Every statistic is one
// row of one table (its key, the name it is stored under, its kind and the feature that records it),
// read, stored and published from there; the window formats a feature's last-run line in one component.
class Statistics : public QObject {
    Q_OBJECT
    // Every statistic by its key: dates in seconds since 1970 (0: never), counts, bytes and paths.
    Q_PROPERTY(QVariantMap values READ values NOTIFY changed)

public:
    enum class Kind { date, count, text };
    struct Row {
        StatisticKey key;
        const char* name; // stored and published under it
        Kind kind;
        AppFeature feature;
    };
    static std::span<const Row> table();
    // The name the statistic is stored and published under.
    static QString name(StatisticKey key);

    explicit Statistics(QObject* parent = nullptr);

    QVariantMap values() const { return m_values; }
    double date(StatisticKey key) const;
    qint64 count(StatisticKey key) const;
    QString text(StatisticKey key) const;

    // Stores one statistic and publishes it at once.
    void record(StatisticKey key, const QVariant& value);
    // Stores the current time under a date key.
    void recordNow(StatisticKey key);

signals:
    void changed();

private:
    QVariantMap m_values;
};
