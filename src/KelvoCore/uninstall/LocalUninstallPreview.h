#pragma once

#include "uninstall/UninstallPreviewReport.h"

#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Lists the installed applications and the leftovers each has placed in the user's Library.
// Never fails: unreadable folders, bundles and tool runs give no entry or an absent value.
namespace LocalUninstallPreview {

struct ApplicationFolder {
    QString path;
    LocalText sourceLabel;
};

// "/Applications" ("App"), then the home folder's Applications ("User Apps" / "用户应用").
std::vector<ApplicationFolder> applicationFolders(const QString& home);

// The nine folders of the home folder's Library that are searched for leftovers, in order.
const QStringList& leftoverFolderNames();

// Spotlight's raw answer about a bundle's last use; none when it could not be asked.
using SpotlightQuery = std::function<std::optional<QByteArray>(const QString& bundlePath)>;

struct Options {
    std::optional<std::vector<ApplicationFolder>> applicationFolders; // none: applicationFolders(home)
    SpotlightQuery spotlight;                                         // none: mdlsLastUsedAnswer
};

// Bundles of the application folders, each measured with its leftovers, sorted by name. A folder
// met twice (a home of "/") is searched once.
UninstallPreviewReport snapshot(const QString& home, const Options& options = {});

struct AppMetadata {
    std::optional<QString> displayName;
    std::optional<QString> bundleID;
    std::optional<QString> version;
    bool operator==(const AppMetadata&) const = default;
};

// From the bundle's Contents/Info.plist, XML or binary. Empty texts count as absent; a missing or
// unreadable file gives three absent values.
AppMetadata appMetadata(const QString& bundlePath);

using Leftover = UninstallPreviewReport::Leftover;
using LeftoverMatch = UninstallPreviewReport::LeftoverMatch;

// The items of the Library folders that belong to the application, in folder order, then by name.
std::vector<Leftover> relatedLeftovers(const QString& appName, const std::optional<QString>& bundleID,
                                       const QString& home);

// How a Library item's name relates to an application, letter case ignored. Strong: the identifier
// itself, with ".plist", followed by "." and more, or behind "group."; or the application's name
// itself. Possible: a longer name that contains the identifier or the name, when that is at least 4
// characters long. None otherwise, and always for an Apple item ("com.apple....") and an application
// that is not Apple's; a name or identifier without a letter or digit ("e." or ".") matches nothing.
std::optional<LeftoverMatch> leftoverMatch(const QString& fileName, const QString& appName,
                                           const std::optional<QString>& bundleID);

// A file's allocated bytes; a folder's regular files summed at every depth (links not followed,
// bundles entered); anything else 0.
qint64 allocatedSize(const QString& path);

// The icon file the bundle names in its Info.plist (CFBundleIconFile, ".icns" added when the name
// has no suffix), in Contents/Resources; none when it names none or the file is not a regular file.
std::optional<QString> iconFilePath(const QString& bundlePath);

// Spotlight's last-use date, else the bundle's access date from the file system.
std::optional<QDateTime> lastOpenedDate(const QString& bundlePath, const SpotlightQuery& spotlight);

// Runs "/usr/bin/mdls -name kMDItemLastUsedDate -raw PATH"; none when the tool fails (always on
// systems without Spotlight).
std::optional<QByteArray> mdlsLastUsedAnswer(const QString& bundlePath);

// Asks mdls once for several bundles; with "-raw" the answers come in order, separated by NUL
// characters. None when the tool fails or does not give one answer per bundle.
std::optional<std::vector<QByteArray>> mdlsLastUsedAnswers(const QStringList& bundlePaths);

// The count NUL-separated fields of a raw mdls answer (a trailing NUL allowed); none for another count.
std::optional<std::vector<QByteArray>> splitRawAnswers(const QByteArray& output, qsizetype count);

// Reads mdls's "yyyy-MM-dd HH:mm:ss Z" answer ("2024-03-01 09:30:00 +0000"); none for "(null)",
// nothing, or text of another form.
std::optional<QDateTime> mdlsLastUsedDate(const QByteArray& answer);

} // namespace LocalUninstallPreview
