#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// The applications the user installed through Flatpak, listed and removed by the flatpak tool itself
// (always by absolute path, with fixed arguments and a time limit).
namespace FlatpakTool {

inline constexpr std::chrono::milliseconds listTimeLimit = std::chrono::seconds(10);
inline constexpr std::chrono::milliseconds uninstallTimeLimit = std::chrono::minutes(5);

struct App {
    QString id; // the application ID, "org.gimp.GIMP"
    QString name;
    QString version;
    std::optional<qint64> bytes; // the size column, when it reads as one
    bool operator==(const App&) const = default;
};

// A reverse-DNS application ID: at least two dot-separated parts of letters, digits, "_" and "-", the
// first not starting with a digit. Nothing else is used to build a path or an argument.
bool isApplicationID(const QString& text);

// "201.2 kB", "1.5 GB", "800 bytes" (the separator may be a no-break space, the decimal mark a comma);
// none for anything else.
std::optional<qint64> parseSize(const QString& text);

// The rows of "flatpak list --columns=application,name,version,size": tab-separated, no heading. A row
// whose first column is not an application ID is skipped; a missing name is the ID's last part.
std::vector<App> parseList(const QByteArray& output);

struct Listing {
    std::vector<App> apps;
    std::optional<QString> note; // why nothing could be listed, when the tool is there but failed
};

// "TOOL list --user --app --columns=application,name,version,size". A tool that is not there lists
// nothing without a note; one that fails or does not answer in time lists nothing with a note.
Listing list(const QString& tool, std::chrono::milliseconds timeLimit = listTimeLimit);

// "TOOL uninstall --user --noninteractive ID"; none when its exit status says it is gone, otherwise
// why not.
std::optional<QString> uninstall(const QString& tool, const QString& id,
                                 std::chrono::milliseconds timeLimit = uninstallTimeLimit);

} // namespace FlatpakTool
