#pragma once

#include "vocabulary/AppFeature.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <span>

// What the features remember of their last runs, kept in the defaults store. Every statistic is one
// row of one table (its stored key, its kind and the feature that records it), read, stored and
// published from there; the window formats a feature's last-run line in one component.
class Statistics : public QObject {
    Q_OBJECT
    // Every statistic by its key: dates in seconds since 1970 (0: never), counts, bytes and paths.
    Q_PROPERTY(QVariantMap values READ values NOTIFY changed)

public:
    enum class Kind { date, count, text };
    struct Row {
        const char* key;
        Kind kind;
        AppFeature feature;
    };
    static std::span<const Row> table();

    explicit Statistics(QObject* parent = nullptr);

    QVariantMap values() const { return m_values; }
    double date(const char* key) const;
    qint64 count(const char* key) const;
    QString text(const char* key) const;

    // Stores one statistic and publishes it at once. A key outside the table is a programming error.
    void record(const char* key, const QVariant& value);
    // Stores the current time under a date key.
    void recordNow(const char* key);

signals:
    void changed();

private:
    QVariantMap m_values;
};
