#include "installer/LinuxInstallers.h"

#include "vocabulary/AppLocalization.h"

#include <algorithm>
#include <array>

namespace LinuxInstallers {
namespace {

struct Package {
    const char* suffix; // as the page writes it; matched in any letter case
    const char* code;
    const char* zh;
    const char* en;
};

constexpr std::array<Package, 7> packages{{
    {".deb", "deb", "Debian 软件包", "Debian package"},
    {".rpm", "rpm", "RPM 软件包", "RPM package"},
    {".AppImage", "appimage", "AppImage", "AppImage"},
    {".flatpakref", "flatpakref", "Flatpak 引用", "Flatpak reference"},
    {".flatpak", "flatpak", "Flatpak 捆绑包", "Flatpak bundle"},
    {".snap", "snap", "Snap 软件包", "Snap package"},
    {".run", "run", "自解压安装程序", "Self-extracting installer"},
}};

constexpr std::array<const char*, 6> archives{".zip", ".tar.gz", ".tgz", ".tar.xz", ".tar.bz2", ".tar.zst"};

// A name that is more than the suffix: a bare ".deb" is a hidden file, not a package.
bool endsWith(const QString& name, const char* suffix)
{
    const QLatin1String end(suffix);
    return name.size() > end.size() && name.endsWith(end, Qt::CaseInsensitive);
}

const Package* packageOf(const QString& name)
{
    const auto found = std::find_if(packages.begin(), packages.end(),
                                    [&](const Package& package) { return endsWith(name, package.suffix); });
    return found != packages.end() ? &*found : nullptr;
}

} // namespace

const QStringList& fileTypes()
{
    static const QStringList types = [] {
        QStringList list;
        for (const Package& package : packages)
            list << QLatin1String(package.suffix);
        for (const char* archive : archives)
            list << QLatin1String(archive);
        return list;
    }();
    return types;
}

std::optional<Kind> packageKind(const QString& name)
{
    const Package* package = packageOf(name);
    if (!package)
        return std::nullopt;
    return Kind{QLatin1String(package->code),
                LocalText{QString::fromUtf8(package->zh), QLatin1String(package->en)}};
}

bool isInstallerName(const QString& name)
{
    return packageOf(name) || isArchive(name);
}

bool isZip(const QString& name)
{
    return endsWith(name, ".zip");
}

bool isArchive(const QString& name)
{
    return std::any_of(archives.begin(), archives.end(),
                       [&](const char* suffix) { return endsWith(name, suffix); });
}

std::optional<Kind> archiveKind(const QStringList& entryNames)
{
    for (const QString& entry : entryNames)
        if (const std::optional<Kind> carried = packageKind(entry.section(QLatin1Char('/'), -1)))
            return Kind{QStringLiteral("archive"),
                        LocalText{QStringLiteral("压缩包 · "), QStringLiteral("Archive · ")} + carried->text};
    return std::nullopt;
}

} // namespace LinuxInstallers
