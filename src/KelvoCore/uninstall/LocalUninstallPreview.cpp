#include "uninstall/LocalUninstallPreview.h"

#include "platform/FileWalker.h"
#include "platform/PropertyList.h"
#include "platform/ToolRunner.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/NaturalOrder.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <chrono>

using namespace std::chrono_literals;

namespace LocalUninstallPreview {

namespace {

const QString appSuffix = QStringLiteral(".app");
// Bundles per Spotlight question, so the argument list stays far below the system's limit.
constexpr qsizetype spotlightBatchSize = 100;

// A folder's own children in name order, so reports do not depend on the order of the disk.
std::vector<FileWalker::Item> children(const QString& folder)
{
    std::vector<FileWalker::Item> items = FileWalker::children(folder);
    // Names within one folder differ, and natural order ties only identical names.
    std::sort(items.begin(), items.end(), [](const FileWalker::Item& a, const FileWalker::Item& b) {
        return NaturalOrder::lessThan(a.name, b.name);
    });
    return items;
}

// Only a real folder is a bundle: a link named ".app" is not followed, a file cannot be one.
bool isApplicationBundle(const FileWalker::Item& item)
{
    return item.kind == FileWalker::Kind::folder && item.name.size() > appSuffix.size() &&
           item.name.endsWith(appSuffix, Qt::CaseInsensitive);
}

// The first of the keys with a text that is not blank.
std::optional<QString> text(const QHash<QString, QString>& texts, const QStringList& keys)
{
    for (const QString& key : keys)
        if (const QString value = texts.value(key); !value.trimmed().isEmpty())
            return value;
    return std::nullopt;
}

const QStringList nameKeys{QStringLiteral("CFBundleDisplayName"), QStringLiteral("CFBundleName"),
                           QStringLiteral("CFBundleExecutable")};
const QStringList versionKeys{QStringLiteral("CFBundleShortVersionString"),
                              QStringLiteral("CFBundleVersion")};
const QString identifierKey = QStringLiteral("CFBundleIdentifier");
const QString iconKey = QStringLiteral("CFBundleIconFile");

std::optional<QHash<QString, QString>> infoTexts(const QString& bundlePath, const QStringList& keys)
{
    return PropertyList::readTexts(bundlePath + QStringLiteral("/Contents/Info.plist"), keys);
}

// The children of the nine Library folders, in folder order, each folder's in name order. A scan
// lists them once, matches every application against the same listing, and measures an item that
// several applications match only once.
class LibraryListing {
public:
    explicit LibraryListing(const QString& home)
    {
        for (const QString& folder : leftoverFolderNames())
            for (FileWalker::Item& item :
                 children(PathText::joined(home, QStringLiteral("Library/") + folder)))
                m_items.push_back({std::move(item), std::nullopt});
    }

    std::vector<Leftover> leftovers(const QString& appName, const std::optional<QString>& bundleID)
    {
        std::vector<Leftover> found;
        for (Listed& listed : m_items) {
            const std::optional<LeftoverMatch> match = leftoverMatch(listed.item.name, appName, bundleID);
            if (!match)
                continue;
            if (!listed.allocatedBytes)
                listed.allocatedBytes = FileWalker::measure(listed.item).allocatedBytes;
            found.push_back({listed.item.path, *listed.allocatedBytes, *match, listed.item.identity});
        }
        return found;
    }

private:
    struct Listed {
        FileWalker::Item item;
        std::optional<qint64> allocatedBytes; // measured when first matched
    };
    std::vector<Listed> m_items;
};

std::optional<QDateTime> spotlightDate(const QString& bundlePath, const SpotlightQuery& spotlight)
{
    if (!spotlight)
        return std::nullopt;
    const std::optional<QByteArray> answer = spotlight(bundlePath);
    return answer ? mdlsLastUsedDate(*answer) : std::nullopt;
}

QDateTime accessDate(const FileWalker::Item& item)
{
    return QDateTime::fromSecsSinceEpoch(item.accessTime, QTimeZone::utc());
}

UninstallPreviewReport::Entry entryFor(const FileWalker::Item& bundle, const LocalText& sourceLabel,
                                       LibraryListing& library, const SpotlightQuery& spotlight)
{
    // The access date is the one the listing read, before anything read the bundle's folder and
    // moved it to now.
    std::optional<QDateTime> lastOpened = spotlightDate(bundle.path, spotlight);
    if (!lastOpened)
        lastOpened = accessDate(bundle);
    const AppMetadata metadata = appMetadata(bundle.path);
    const QString uninstallName = bundle.name.chopped(appSuffix.size());
    const QString name = metadata.displayName.value_or(uninstallName);
    return UninstallPreviewReport::makeEntry(name, metadata.bundleID, sourceLabel, uninstallName, bundle.path,
                                             FileWalker::measure(bundle).allocatedBytes,
                                             library.leftovers(name, metadata.bundleID), lastOpened,
                                             bundle.identity);
}

// One mdls run for several bundles. started is false when the tool could not be run at all.
struct SpotlightBatch {
    bool started = false;
    std::optional<std::vector<QByteArray>> answers; // none when the run failed or did not line up
};

SpotlightBatch askSpotlight(const QStringList& bundlePaths)
{
    if (bundlePaths.isEmpty())
        return {true, std::vector<QByteArray>{}};
    const ToolRunner::Result result = ToolRunner::run(
        {QStringLiteral("/usr/bin/mdls"),
         QStringList{QStringLiteral("-name"), QStringLiteral("kMDItemLastUsedDate"), QStringLiteral("-raw")} +
             bundlePaths,
         30s});
    if (!result.succeeded())
        return {result.started, std::nullopt};
    return {true, splitRawAnswers(result.standardOutput, bundlePaths.size())};
}

} // namespace

std::vector<ApplicationFolder> applicationFolders(const QString& home)
{
    return {{QStringLiteral("/Applications"), LocalText::same(QStringLiteral("App"))},
            {PathText::joined(home, QStringLiteral("Applications")),
             LocalText{QStringLiteral("用户应用"), QStringLiteral("User Apps")}}};
}

const QStringList& leftoverFolderNames()
{
    static const QStringList names{
        QStringLiteral("Application Support"),
        QStringLiteral("Caches"),
        QStringLiteral("Containers"),
        QStringLiteral("Group Containers"),
        QStringLiteral("HTTPStorages"),
        QStringLiteral("Logs"),
        QStringLiteral("Preferences"),
        QStringLiteral("Saved Application State"),
        QStringLiteral("WebKit"),
    };
    return names;
}

UninstallPreviewReport snapshot(const QString& home, const Options& options)
{
    const std::vector<ApplicationFolder> folders =
        options.applicationFolders ? *options.applicationFolders : applicationFolders(home);
    QSet<QString> searched;
    std::vector<std::pair<FileWalker::Item, LocalText>> bundles; // with their source labels
    for (const ApplicationFolder& folder : folders) {
        const QString root = PathText::standardized(folder.path);
        if (searched.contains(root))
            continue;
        searched.insert(root);
        for (const FileWalker::Item& item : children(root))
            if (isApplicationBundle(item))
                bundles.emplace_back(item, folder.sourceLabel);
    }

    // Spotlight is asked once per hundred bundles; a bundle whose batch answer did not line up is
    // asked alone, unless mdls cannot be run at all (always on systems without Spotlight).
    SpotlightQuery spotlight = options.spotlight;
    if (!spotlight) {
        QStringList paths;
        for (const auto& bundle : bundles)
            paths << bundle.first.path;
        QHash<QString, QByteArray> answers;
        bool toolRuns = true;
        for (qsizetype start = 0; toolRuns && start < paths.size(); start += spotlightBatchSize) {
            const QStringList batch = paths.mid(start, spotlightBatchSize);
            const SpotlightBatch found = askSpotlight(batch);
            toolRuns = found.started;
            if (found.answers)
                for (qsizetype i = 0; i < batch.size(); ++i)
                    answers.insert(batch[i], (*found.answers)[std::size_t(i)]);
        }
        spotlight = [answers, toolRuns](const QString& bundlePath) -> std::optional<QByteArray> {
            const auto found = answers.constFind(bundlePath);
            if (found != answers.constEnd())
                return *found;
            return toolRuns ? mdlsLastUsedAnswer(bundlePath) : std::nullopt;
        };
    }

    LibraryListing library(home);
    std::vector<UninstallPreviewReport::Entry> entries;
    for (const auto& [item, label] : bundles)
        entries.push_back(entryFor(item, label, library, spotlight));
    return UninstallPreviewReport(std::move(entries));
}

AppMetadata appMetadata(const QString& bundlePath)
{
    const std::optional<QHash<QString, QString>> info =
        infoTexts(bundlePath, nameKeys + versionKeys + QStringList{identifierKey});
    if (!info)
        return {};
    return {text(*info, nameKeys), text(*info, {identifierKey}), text(*info, versionKeys)};
}

std::optional<QString> iconFilePath(const QString& bundlePath)
{
    const std::optional<QHash<QString, QString>> info = infoTexts(bundlePath, {iconKey});
    const std::optional<QString> name = info ? text(*info, {iconKey}) : std::nullopt;
    if (!name || name->contains(u'/'))
        return std::nullopt;
    const QString file = bundlePath + QStringLiteral("/Contents/Resources/") + *name +
                         (QFileInfo(*name).suffix().isEmpty() ? QStringLiteral(".icns") : QString());
    const QFileInfo found(file);
    if (found.isSymLink() || !found.isFile())
        return std::nullopt;
    return file;
}

std::vector<Leftover> relatedLeftovers(const QString& appName, const std::optional<QString>& bundleID,
                                       const QString& home)
{
    return LibraryListing(home).leftovers(appName, bundleID);
}

std::optional<LeftoverMatch> leftoverMatch(const QString& fileName, const QString& appName,
                                           const std::optional<QString>& bundleID)
{
    // A name made only of punctuation (a bundle calling itself ".") would match nearly anything.
    const auto usable = [](const QString& name) {
        return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
    };
    const QString file = fileName.toLower();
    const QString name = usable(appName) ? appName.toLower() : QString();
    const QString identifier = bundleID && usable(*bundleID) ? bundleID->toLower() : QString();
    // Apple's own data never goes with an application that is not Apple's.
    const QLatin1String apple("com.apple.");
    if (file.startsWith(apple) && !identifier.startsWith(apple))
        return std::nullopt;
    const QString group = QStringLiteral("group.") + identifier;
    if (!identifier.isEmpty() && (file == identifier || file == identifier + QStringLiteral(".plist") ||
                                  file.startsWith(identifier + QLatin1Char('.')) || file == group ||
                                  file.startsWith(group + QLatin1Char('.'))))
        return LeftoverMatch::strong;
    if (!name.isEmpty() && file == name)
        return LeftoverMatch::strong;
    // Containment only for names long enough to mean something ("Arc" is in "Parcel").
    constexpr qsizetype shortestContained = 4;
    for (const QString& part : {identifier, name})
        if (part.size() >= shortestContained && file.contains(part))
            return LeftoverMatch::possible;
    return std::nullopt;
}

qint64 allocatedSize(const QString& path)
{
    return FileWalker::measure(path).allocatedBytes;
}

std::optional<QDateTime> lastOpenedDate(const QString& bundlePath, const SpotlightQuery& spotlight)
{
    if (std::optional<QDateTime> date = spotlightDate(bundlePath, spotlight))
        return date;
    const std::optional<FileWalker::Item> item = FileWalker::statItem(bundlePath);
    if (!item)
        return std::nullopt;
    return accessDate(*item);
}

std::optional<QByteArray> mdlsLastUsedAnswer(const QString& bundlePath)
{
    const ToolRunner::Result result = ToolRunner::run(
        {QStringLiteral("/usr/bin/mdls"),
         {QStringLiteral("-name"), QStringLiteral("kMDItemLastUsedDate"), QStringLiteral("-raw"), bundlePath},
         10s});
    if (!result.succeeded())
        return std::nullopt;
    return result.standardOutput;
}

std::optional<std::vector<QByteArray>> mdlsLastUsedAnswers(const QStringList& bundlePaths)
{
    return askSpotlight(bundlePaths).answers;
}

std::optional<std::vector<QByteArray>> splitRawAnswers(const QByteArray& output, qsizetype count)
{
    QList<QByteArray> fields = output.split('\0');
    if (fields.size() == count + 1 && fields.last().trimmed().isEmpty())
        fields.removeLast();
    if (fields.size() != count)
        return std::nullopt;
    return std::vector<QByteArray>(fields.begin(), fields.end());
}

std::optional<QDateTime> mdlsLastUsedDate(const QByteArray& answer)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\d{4}-\d{2}-\d{2}) (\d{2}:\d{2}:\d{2}) ([+-])(\d{2}):?(\d{2})$)"));
    const QRegularExpressionMatch match = form.match(QString::fromUtf8(answer).trimmed());
    if (!match.hasMatch())
        return std::nullopt; // also "(null)": Spotlight has no date
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(match.captured(2), QStringLiteral("HH:mm:ss"));
    const int hours = match.captured(4).toInt();
    const int minutes = match.captured(5).toInt();
    if (!date.isValid() || !time.isValid() || hours > 23 || minutes > 59)
        return std::nullopt;
    const int offset = (match.captured(3) == QLatin1String("-") ? -1 : 1) * (hours * 3600 + minutes * 60);
    return QDateTime(date, time, QTimeZone::utc()).addSecs(-offset);
}

} // namespace LocalUninstallPreview
