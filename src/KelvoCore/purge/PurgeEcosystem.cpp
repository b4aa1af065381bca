#include "purge/PurgeEcosystem.h"

#include "vocabulary/AppLocalization.h"

#include <QHash>

namespace PurgeEcosystems {

PurgeEcosystem of(const QString& target)
{
    using E = PurgeEcosystem;
    // Generic names (build, dist, out, bin, obj, vendor, coverage, .cache) could be any ecosystem's.
    static const QHash<QString, PurgeEcosystem> byTarget{
        {"node_modules", E::javaScript},
        {"bower_components", E::javaScript},
        {".next", E::javaScript},
        {".nuxt", E::javaScript},
        {".output", E::javaScript},
        {".turbo", E::javaScript},
        {".parcel-cache", E::javaScript},
        {".vite", E::javaScript},
        {".webpack", E::javaScript},
        {".rollup.cache", E::javaScript},
        {".angular", E::javaScript},
        {".svelte-kit", E::javaScript},
        {".astro", E::javaScript},
        {".expo", E::javaScript},
        {".expo-shared", E::javaScript},
        {".serverless", E::javaScript},
        {"venv", E::python},
        {".venv", E::python},
        {"env", E::python},
        {".env", E::python},
        {".pytest_cache", E::python},
        {".mypy_cache", E::python},
        {".tox", E::python},
        {".nox", E::python},
        {".ruff_cache", E::python},
        {".pytype", E::python},
        {".coverage", E::python},
        {"__pycache__", E::python},
        {"DerivedData", E::apple},
        {".swiftpm", E::apple},
        {"Pods", E::apple},
        {"Carthage", E::apple},
        {".build", E::apple},
        {"target", E::systems},
        {".zig-cache", E::systems},
        {"zig-out", E::systems},
        {".gradle", E::android},
        {".kotlin", E::android},
        {".dart_tool", E::android},
        {".cxx", E::android},
    };
    return byTarget.value(target, E::other);
}

QString title(PurgeEcosystem ecosystem)
{
    switch (ecosystem) {
    case PurgeEcosystem::javaScript:
        return QStringLiteral("JavaScript / Node");
    case PurgeEcosystem::python:
        return QStringLiteral("Python");
    case PurgeEcosystem::apple:
        return QStringLiteral("iOS / macOS");
    case PurgeEcosystem::systems:
        return QStringLiteral("Rust / Go / Zig");
    case PurgeEcosystem::android:
        return QStringLiteral("Android / Flutter");
    case PurgeEcosystem::other:
        break;
    }
    return AppLocalization::localized(QStringLiteral("其他"), QStringLiteral("Other"));
}

} // namespace PurgeEcosystems
