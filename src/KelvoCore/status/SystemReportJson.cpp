#include "status/SystemReportJson.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QJsonArray>

#include <limits>
#include <tuple>
#include <type_traits>

namespace {

using Report = SystemReport;

// Thrown where a value has the wrong type; `read` turns it into the user's message, the lenient
// fields swallow it.
struct WrongType {
    const char* key;
};

// One key of a record: an optional value, or a list that is empty when the key is missing.
template <class R, class M> struct Field {
    const char* key;
    M R::*member;
};
template <class R, class M> Field(const char*, M R::*) -> Field<R, M>;

// A list that may also come as one record under `singleKey`; when neither reads, it is left absent
// or empty, and no error is raised.
template <class R, class M> struct OneOrMany {
    const char* key;
    const char* singleKey;
    M R::*member;
};
template <class R, class M> OneOrMany(const char*, const char*, M R::*) -> OneOrMany<R, M>;

// How a member's value is stored in JSON: an optional's value, a list as itself.
template <class M> struct StoredAs {
    using type = M;
};
template <class T> struct StoredAs<std::optional<T>> {
    using type = T;
};
template <class M> using Stored = typename StoredAs<M>::type;

template <class T> const T* stored(const std::optional<T>& value)
{
    return value ? &*value : nullptr;
}
template <class T> const std::vector<T>* stored(const std::vector<T>& list)
{
    return &list;
}

// Each record's keys, in the order of its fields.
template <class R> struct Schema;
// Reads and writes one value of type T.
template <class T> struct Codec;

template <class R, class M> void readField(const QJsonObject& json, R& record, const Field<R, M>& field)
{
    const QJsonValue value = json.value(QLatin1String(field.key));
    if (!value.isUndefined() && !value.isNull())
        record.*field.member = Codec<Stored<M>>::read(value, field.key);
}

template <class R, class M> void readField(const QJsonObject& json, R& record, const OneOrMany<R, M>& field)
{
    using List = Stored<M>;
    using Item = typename List::value_type;
    try {
        record.*field.member = Codec<List>::read(json.value(QLatin1String(field.key)), field.key);
        return;
    } catch (const WrongType&) {
    }
    try {
        record.*field.member =
            List{Codec<Item>::read(json.value(QLatin1String(field.singleKey)), field.singleKey)};
    } catch (const WrongType&) {
    }
}

template <class R, class F> void writeField(QJsonObject& json, const R& record, const F& field)
{
    if (const auto* value = stored(record.*field.member))
        json.insert(QLatin1String(field.key), Codec<std::remove_cvref_t<decltype(*value)>>::write(*value));
}

// A record: an object of its schema's keys.
template <class T> struct Codec {
    static T read(const QJsonValue& value, const char* key)
    {
        if (!value.isObject())
            throw WrongType{key};
        T record;
        const QJsonObject json = value.toObject();
        std::apply([&](const auto&... field) { (readField(json, record, field), ...); }, Schema<T>::fields);
        return record;
    }
    static QJsonValue write(const T& record)
    {
        QJsonObject json;
        std::apply([&](const auto&... field) { (writeField(json, record, field), ...); }, Schema<T>::fields);
        return json;
    }
};

template <> struct Codec<QString> {
    static QString read(const QJsonValue& value, const char* key)
    {
        if (!value.isString())
            throw WrongType{key};
        return value.toString();
    }
    static QJsonValue write(const QString& text) { return text; }
};

template <> struct Codec<bool> {
    static bool read(const QJsonValue& value, const char* key)
    {
        if (!value.isBool())
            throw WrongType{key};
        return value.toBool();
    }
    static QJsonValue write(bool flag) { return flag; }
};

template <> struct Codec<double> {
    static double read(const QJsonValue& value, const char* key)
    {
        if (!value.isDouble())
            throw WrongType{key};
        return value.toDouble();
    }
    static QJsonValue write(double number) { return number; }
};

template <> struct Codec<qint64> {
    // Qt keeps a number written without a fraction exactly when it fits in 64 bits. toInteger answers
    // its default for a number that is not whole or does not fit, so two defaults tell them apart.
    static qint64 read(const QJsonValue& value, const char* key)
    {
        const qint64 number = value.toInteger(0);
        if (!value.isDouble() || number != value.toInteger(1))
            throw WrongType{key};
        return number;
    }
    static QJsonValue write(qint64 number) { return number; }
};

template <> struct Codec<int> {
    static int read(const QJsonValue& value, const char* key)
    {
        const qint64 number = Codec<qint64>::read(value, key);
        if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            throw WrongType{key};
        return int(number);
    }
    static QJsonValue write(int number) { return number; }
};

template <class T> struct Codec<std::vector<T>> {
    static std::vector<T> read(const QJsonValue& value, const char* key)
    {
        if (!value.isArray())
            throw WrongType{key};
        std::vector<T> list;
        for (const QJsonValue& item : value.toArray())
            list.push_back(Codec<T>::read(item, key));
        return list;
    }
    static QJsonValue write(const std::vector<T>& list)
    {
        QJsonArray array;
        for (const T& item : list)
            array.append(Codec<T>::write(item));
        return array;
    }
};

template <> struct Schema<Report::Hardware> {
    using R = Report::Hardware;
    static constexpr std::tuple fields{
        Field{"model", &R::model},          Field{"cpu_model", &R::cpuModel},
        Field{"total_ram", &R::totalRAM},   Field{"disk_size", &R::diskSize},
        Field{"os_version", &R::osVersion}, Field{"refresh_rate", &R::refreshRate}};
};
template <> struct Schema<Report::CPU> {
    using R = Report::CPU;
    static constexpr std::tuple fields{Field{"usage", &R::usage},
                                       Field{"per_core", &R::perCore},
                                       Field{"per_core_estimated", &R::perCoreEstimated},
                                       Field{"load1", &R::load1},
                                       Field{"load5", &R::load5},
                                       Field{"load15", &R::load15},
                                       Field{"core_count", &R::coreCount},
                                       Field{"logical_cpu", &R::logicalCPU},
                                       Field{"load_average", &R::loadAverage},
                                       Field{"p_core_count", &R::pCoreCount},
                                       Field{"e_core_count", &R::eCoreCount}};
};
template <> struct Schema<Report::GPU> {
    using R = Report::GPU;
    static constexpr std::tuple fields{Field{"name", &R::name},
                                       Field{"usage", &R::usage},
                                       Field{"memory_used", &R::memoryUsed},
                                       Field{"memory_total", &R::memoryTotal},
                                       Field{"core_count", &R::coreCount},
                                       Field{"note", &R::note}};
};
template <> struct Schema<Report::Memory> {
    using R = Report::Memory;
    static constexpr std::tuple fields{Field{"total", &R::total},
                                       Field{"used", &R::used},
                                       Field{"used_percent", &R::usedPercent},
                                       Field{"swap_used", &R::swapUsed},
                                       Field{"swap_total", &R::swapTotal},
                                       Field{"cached", &R::cached},
                                       Field{"pressure", &R::pressure}};
};
template <> struct Schema<Report::Disk> {
    using R = Report::Disk;
    static constexpr std::tuple fields{
        Field{"name", &R::name},     Field{"mount", &R::mount},       Field{"device", &R::device},
        Field{"total", &R::total},   Field{"used", &R::used},         Field{"used_percent", &R::usedPercent},
        Field{"fstype", &R::fstype}, Field{"external", &R::external}, Field{"available", &R::available}};
};
template <> struct Schema<Report::DiskIO> {
    using R = Report::DiskIO;
    static constexpr std::tuple fields{Field{"read_rate", &R::readRate}, Field{"write_rate", &R::writeRate}};
};
template <> struct Schema<Report::DiskIOHistory> {
    using R = Report::DiskIOHistory;
    static constexpr std::tuple fields{Field{"read_history", &R::readHistory},
                                       Field{"write_history", &R::writeHistory}};
};
template <> struct Schema<Report::Battery> {
    using R = Report::Battery;
    static constexpr std::tuple fields{Field{"percent", &R::percent},  Field{"charging", &R::charging},
                                       Field{"status", &R::status},    Field{"time_left", &R::timeLeft},
                                       Field{"health", &R::health},    Field{"cycle_count", &R::cycleCount},
                                       Field{"capacity", &R::capacity}};
};
template <> struct Schema<Report::Network> {
    using R = Report::Network;
    static constexpr std::tuple fields{Field{"down", &R::down},
                                       Field{"up", &R::up},
                                       Field{"name", &R::name},
                                       Field{"rx_rate_mbs", &R::rxRateMBs},
                                       Field{"tx_rate_mbs", &R::txRateMBs},
                                       Field{"ip", &R::ip}};
};
template <> struct Schema<Report::NetworkHistory> {
    using R = Report::NetworkHistory;
    static constexpr std::tuple fields{Field{"rx_history", &R::rxHistory},
                                       Field{"tx_history", &R::txHistory}};
};
template <> struct Schema<Report::Proxy> {
    using R = Report::Proxy;
    static constexpr std::tuple fields{Field{"enabled", &R::enabled}, Field{"type", &R::type},
                                       Field{"host", &R::host}};
};
template <> struct Schema<Report::Thermal> {
    using R = Report::Thermal;
    static constexpr std::tuple fields{
        Field{"cpu_temp", &R::cpuTemp},           Field{"gpu_temp", &R::gpuTemp},
        Field{"battery_temp", &R::batteryTemp},   Field{"fan_speed", &R::fanSpeed},
        Field{"fan_count", &R::fanCount},         Field{"system_power", &R::systemPower},
        Field{"adapter_power", &R::adapterPower}, Field{"battery_power", &R::batteryPower}};
};
template <> struct Schema<Report::ProcessInfo> {
    using R = Report::ProcessInfo;
    static constexpr std::tuple fields{Field{"pid", &R::pid},
                                       Field{"ppid", &R::ppid},
                                       Field{"name", &R::name},
                                       Field{"command", &R::command},
                                       Field{"cpu", &R::cpu},
                                       Field{"memory", &R::memory},
                                       Field{"start_time", &R::startTime},
                                       Field{"uid", &R::uid}};
};
template <> struct Schema<Report> {
    using R = Report;
    static constexpr std::tuple fields{Field{"host", &R::host},
                                       Field{"platform", &R::platform},
                                       Field{"health_score", &R::healthScore},
                                       Field{"health_score_msg", &R::healthScoreMsg},
                                       Field{"uptime", &R::uptime},
                                       Field{"uptime_seconds", &R::uptimeSeconds},
                                       Field{"procs", &R::procs},
                                       Field{"hardware", &R::hardware},
                                       Field{"cpu", &R::cpu},
                                       Field{"gpu", &R::gpu},
                                       Field{"memory", &R::memory},
                                       Field{"disks", &R::disks},
                                       Field{"trash_size", &R::trashSize},
                                       Field{"trash_approx", &R::trashApprox},
                                       Field{"disk_io", &R::diskIO},
                                       Field{"disk_io_history", &R::diskIOHistory},
                                       OneOrMany{"network", "network", &R::network},
                                       Field{"network_history", &R::networkHistory},
                                       Field{"proxy", &R::proxy},
                                       OneOrMany{"batteries", "battery", &R::batteries},
                                       Field{"thermal", &R::thermal},
                                       Field{"top_processes", &R::topProcesses}};
};

} // namespace

namespace SystemReportJson {

QJsonObject write(const SystemReport& report)
{
    return Codec<Report>::write(report).toObject();
}

SystemReport read(const QJsonObject& json)
{
    try {
        return Codec<Report>::read(json, "");
    } catch (const WrongType& wrong) {
        const QString key = QString::fromLatin1(wrong.key);
        throw KelvoError(
            KelvoError::Kind::malformed,
            AppLocalization::localized(
                QStringLiteral("系统状态报告中“%1”的值类型不对。").arg(key),
                QStringLiteral("The system status report has a value of the wrong type at \"%1\".")
                    .arg(key)));
    }
}

} // namespace SystemReportJson
