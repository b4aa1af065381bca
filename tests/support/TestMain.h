#pragma once

// One test executable per feature folder: every test class of the folder registers itself with
// KELVO_REGISTER_TEST and KELVO_TEST_MAIN runs them all in a sandbox.
//
// The sandbox points HOME, the XDG folders and the defaults store at a temporary folder before any
// test runs, so no test can read or write the real home, the real Trash or the real settings.

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace TestSupport {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestFactory>& registry()
{
    static std::vector<TestFactory> factories;
    return factories;
}

template <typename T> struct Registration {
    Registration()
    {
        registry().push_back([] { return std::make_unique<T>(); });
    }
};

// One row of the current data table: row("tag", a, b) is QTest::newRow("tag") << a << b, which
// clang-format would spread over several lines.
template <class... V> void row(const char* tag, const V&... v)
{
    (QTest::newRow(tag) << ... << v);
}

// The columns of the current data table in one line: columns<QString, bool>("path", "allowed") is
// QTest::addColumn<QString>("path") followed by QTest::addColumn<bool>("allowed").
template <class... T, class... Names> void columns(const Names&... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "one name per column");
    (QTest::addColumn<T>(names), ...);
}

// The current row's values in one line: auto [path, allowed] = fetch<QString, bool>("path", "allowed")
// is QFETCH(QString, path) followed by QFETCH(bool, allowed).
template <class... T, class... Names> std::tuple<T...> fetch(const Names&... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "one name per column");
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}

// Readings compared in one line: each optional as text, "-" when unknown, joined by spaces.
template <class T> QString fieldText(const std::optional<T>& value)
{
    return value ? QVariant(*value).toString() : QStringLiteral("-");
}
inline QString fieldText(const QString& value)
{
    return value;
}
template <class... T> QString fields(const T&... values)
{
    return QStringList{fieldText(values)...}.join(' ');
}

// Makes the process's home, XDG folders and defaults store temporary. Returns the sandbox root.
QString enterSandbox(QTemporaryDir& root);

int runAll(int argc, char** argv);

} // namespace TestSupport

#define KELVO_REGISTER_TEST(Class) static const TestSupport::Registration<Class> kelvoRegistration##Class;
