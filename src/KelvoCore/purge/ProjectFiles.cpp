#include "purge/ProjectFiles.h"

#include <QDir>

#include <vector>

namespace {

struct Marker {
    QString pattern; // a file name, or "*.ext" for any name ending so
    PurgeEcosystem ecosystem;
};

// Most telling first: a folder with both Cargo.toml and package.json (a desktop app with a web front
// end) keeps its "target" with Rust.
const std::vector<Marker>& markers()
{
    using E = PurgeEcosystem;
    static const std::vector<Marker> table{
        {"Cargo.toml", E::systems},      {"go.mod", E::systems},
        {"build.zig", E::systems},       {"pom.xml", E::jvm},
        {"build.gradle", E::android},    {"build.gradle.kts", E::android},
        {"settings.gradle", E::android}, {"settings.gradle.kts", E::android},
        {"pubspec.yaml", E::android},    {"Package.swift", E::apple},
        {"*.xcodeproj", E::apple},       {"*.xcworkspace", E::apple},
        {"Podfile", E::apple},           {"*.csproj", E::dotnet},
        {"*.fsproj", E::dotnet},         {"*.sln", E::dotnet},
        {"pyproject.toml", E::python},   {"setup.py", E::python},
        {"setup.cfg", E::python},        {"requirements.txt", E::python},
        {"Pipfile", E::python},          {"package.json", E::javaScript},
        {"deno.json", E::javaScript},    {"CMakeLists.txt", E::other},
        {"meson.build", E::other},       {"Makefile", E::other},
        {"composer.json", E::other},     {"Gemfile", E::other},
    };
    return table;
}

bool matches(const QString& name, const QString& pattern)
{
    return pattern.startsWith(QLatin1Char('*')) ? name.endsWith(QStringView(pattern).mid(1))
                                                : name == pattern;
}

QString parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

ProjectFileFinder::ProjectFileFinder(QString scanRoot)
    : m_root(std::move(scanRoot))
{
}

std::optional<ProjectFile> ProjectFileFinder::nearest(const QString& artefactPath)
{
    const QString inside = m_root.endsWith(QLatin1Char('/')) ? m_root : m_root + QLatin1Char('/');
    for (QString folder = parentOf(artefactPath);; folder = parentOf(folder)) {
        if (folder != m_root && !folder.startsWith(inside))
            return std::nullopt;
        if (std::optional<ProjectFile> found = in(folder))
            return found;
        if (folder == m_root)
            return std::nullopt;
    }
}

std::optional<ProjectFile> ProjectFileFinder::in(const QString& folder)
{
    const auto known = m_listed.constFind(folder);
    if (known != m_listed.constEnd())
        return *known;
    // Names only: a folder that cannot be listed has no project file that could be trusted.
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::optional<ProjectFile> found;
    for (const Marker& marker : markers()) {
        const auto match = std::find_if(names.begin(), names.end(),
                                        [&](const QString& name) { return matches(name, marker.pattern); });
        if (match != names.end()) {
            found = ProjectFile{*match, marker.ecosystem};
            break;
        }
    }
    m_listed.insert(folder, found);
    return found;
}
