#include "clean/LocalCleanPreview.h"

#include "clean/CleanWhitelistStore.h"
#include "clean/CleanWildcardPlaces.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/FileWalker.h"
#include "platform/RunningProcesses.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"
#include "vocabulary/StableId.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QThreadPool>

#include <limits>

#include <sys/stat.h>

namespace LocalCleanPreview {

namespace {

using Entry = CleanPreviewReport::Entry;
using Status = CleanPreviewReport::EntryStatus;

LocalText text(const QString& zh, const QString& en)
{
    return {zh, en};
}

// Running totals over the whole scan, passed on at a calm rate.
class ProgressReporter {
public:
    explicit ProgressReporter(const Options& options)
        : m_options(options)
    {
        m_clock.start();
    }

    void startLocation(const QString& path)
    {
        const QMutexLocker lock(&m_mutex);
        m_progress.location = path;
        report(true);
    }
    // Counts a batch of items.
    void add(qint64 items, qint64 bytes)
    {
        m_items.fetch_add(items, std::memory_order_relaxed);
        m_bytes.fetch_add(bytes, std::memory_order_relaxed);
        const QMutexLocker lock(&m_mutex);
        report(false);
    }

private:
    void report(bool always)
    {
        if (!m_options.onProgress || (!always && m_clock.elapsed() < 100))
            return;
        m_clock.restart();
        m_progress.itemsMeasured = m_items.load(std::memory_order_relaxed);
        m_progress.bytesMeasured = m_bytes.load(std::memory_order_relaxed);
        m_options.onProgress(m_progress);
    }

    const Options& m_options;
    QMutex m_mutex; // places are measured on several threads at once
    std::atomic<qint64> m_items = 0;
    std::atomic<qint64> m_bytes = 0; // allocated bytes of real files: far from the 64-bit limit
    Progress m_progress;
    QElapsedTimer m_clock;
};

bool isBelow(const QString& path, const QString& folder)
{
    return path.size() > folder.size() && path[folder.size()] == QLatin1Char('/') && path.startsWith(folder);
}

// What the protection list keeps inside a place, asking about each item as the clean does: a
// protected folder stays whole, so what lies in it is kept without asking again.
class ProtectedTally {
public:
    explicit ProtectedTally(const CleanWhitelistMatcher::List& protection)
        : m_protection(protection)
    {
    }

    void count(const FileWalker::Item& item)
    {
        if (m_keptFolder.isEmpty() || !isBelow(item.path, m_keptFolder)) {
            if (!m_protection.protectsStandardized(item.path))
                return;
            if (item.kind == FileWalker::Kind::folder)
                m_keptFolder = item.path;
        }
        if (item.kind != FileWalker::Kind::folder) {
            bytes = ByteCount::saturatingAdd(bytes, item.allocatedBytes);
            ++leaves;
        }
    }

    qint64 bytes = 0;
    qint64 leaves = 0; // files, links and special files kept

private:
    const CleanWhitelistMatcher::List& m_protection;
    QString m_keptFolder; // the walk visits a folder's contents right after it
};

// A bundle-named folder is a folder like any other where there are no bundles; where there are, it is
// one item of its full size. Links count: the clean removes them.
FileWalker::MeasureOptions measureOptions(const Options& options, ProgressReporter* reporter, bool bundles,
                                          const CleanWhitelistMatcher::List* protection = nullptr,
                                          ProtectedTally* kept = nullptr)
{
    FileWalker::MeasureOptions measure;
    measure.packageIsOneItem = bundles;
    measure.countLinks = true;
    measure.itemCap = itemCap;
    measure.cancelled = options.cancelled;
    if (reporter)
        measure.onProgress = [reporter](qint64 items, qint64 bytes) { reporter->add(items, bytes); };
    if (kept) {
        // A folder no entry reaches into is asked about once, not item by item.
        measure.onCounted = [kept](const FileWalker::Item& item) { kept->count(item); };
        measure.wantsInside = [protection](const QString& folder) {
            return protection->mayProtectInside(folder);
        };
        measure.wantsName = [protection](QByteArrayView name) { return protection->mayProtectByName(name); };
    }
    return measure;
}

Summary summaryOf(const FileWalker::Measurement& found, bool isFile, qint64 protectedBytes = 0,
                  qint64 protectedLeaves = 0)
{
    // A file taking no blocks measures nothing, like an empty folder.
    if (isFile && found.allocatedBytes == 0)
        return {};
    return {found.allocatedBytes, found.files + found.folders + found.links, protectedBytes,
            std::max<qint64>(found.files + found.links - protectedLeaves, 0)};
}

// A place of the catalogue as the scan finds it: reached without following a link, or why not.
struct Place {
    QString path;
    std::optional<ConfinedPath::Reached> reached;
    LocalText linkReason; // set when a link stands at or above the place and something is behind it
    bool isLink = false;  // a link stands at the place itself
};

Place find(const QString& home, const QString& relativePath)
{
    Place place{PathText::joined(home, relativePath), std::nullopt, {}, false};
    ConfinedPath::Outcome outcome = ConfinedPath::reach(home, place.path);
    if (outcome.item && !outcome.item->facts().isLink()) {
        place.reached = std::move(outcome.item);
        return place;
    }
    const bool atLink = outcome.item.has_value();
    place.isLink = atLink;
    // A link on the way is reported only when something is behind it: a cache that does not exist
    // anywhere is no news.
    if ((atLink || outcome.failure == ConfinedPath::Failure::throughLink) && QFileInfo::exists(place.path))
        place.linkReason = LocalText::made(
            [&] { return FileErrorText::linkOnTheWay(place.path, atLink ? place.path : outcome.stoppedAt); });
    return place;
}

bool isRunning(const CleanBrowser& browser, const QSet<QString>& running)
{
    return std::any_of(browser.processNames.begin(), browser.processNames.end(),
                       [&](const QString& name) { return running.contains(name); });
}

// Every place of the catalogue, found once and measured on every core before the entries are
// built. A place inside another place counts once: in itself, never in the place around it.
class Places {
public:
    Places(const QString& home, const CleanCatalogue& catalogue, const Options& options,
           ProgressReporter& reporter)
        : m_protection(options.protection ? &*options.protection : nullptr)
    {
        for (const QString& relativePath : CleanLocations::relativePaths(catalogue))
            if (!m_index.contains(relativePath)) {
                m_index.insert(relativePath, m_found.size());
                m_found.push_back({find(home, relativePath), {}, 0, 0});
            }
        // One task per place, so that the large places spread over the cores whatever their order.
        QThreadPool pool;
        for (Found& found : m_found)
            if (found.place.reached)
                pool.start([place = &found, &options, &reporter, bundles = catalogue.bundles] {
                    measure(*place, options, reporter, bundles);
                });
        pool.waitForDone();
    }

    const Place& place(const QString& relativePath) const
    {
        return m_found[m_index.value(relativePath)].place;
    }

    // What the place holds itself: its whole measure less the places directly inside it, which the
    // clean leaves to their own entries (a link or special file standing at such a place included).
    Summary summary(const QString& relativePath) const
    {
        const Found& outer = m_found[m_index.value(relativePath)];
        FileWalker::Measurement own = outer.whole;
        qint64 protectedBytes = outer.protectedBytes;
        qint64 protectedLeaves = outer.protectedLeaves;
        for (const Found* inner : directlyInside(outer)) {
            own.allocatedBytes -= inner->whole.allocatedBytes;
            protectedBytes -= inner->protectedBytes;
            protectedLeaves -= inner->protectedLeaves;
            own.files -= inner->whole.files;
            own.folders -= inner->whole.folders;
            own.links -= inner->whole.links;
            const std::optional<ConfinedPath::Reached>& reached = inner->place.reached;
            if (reached && reached->facts().isFolder()) {
                --own.folders;
            } else if (!reached || !S_ISREG(reached->facts().mode)) {
                --own.links; // met by the walk around it as a link or special file, of no size
                if (m_protection && m_protection->protectsStandardized(inner->place.path))
                    --protectedLeaves;
            }
        }
        // A capped walk may have stopped before an inner place: never below nothing.
        own.allocatedBytes = std::max<qint64>(own.allocatedBytes, 0);
        own.files = std::max<qint64>(own.files, 0);
        own.folders = std::max<qint64>(own.folders, 0);
        own.links = std::max<qint64>(own.links, 0);
        return summaryOf(own, !outer.place.reached->facts().isFolder(),
                         std::clamp<qint64>(protectedBytes, 0, own.allocatedBytes), protectedLeaves);
    }

private:
    struct Found {
        Place place;
        FileWalker::Measurement whole; // inner places included
        qint64 protectedBytes = 0;
        qint64 protectedLeaves = 0;
    };

    static void measure(Found& found, const Options& options, ProgressReporter& reporter, bool bundles)
    {
        const ConfinedPath::Reached& place = *found.place.reached;
        reporter.startLocation(place.path());
        // Only the entries that can reach into this place are asked about its items.
        const std::optional<CleanWhitelistMatcher::List> protection =
            options.protection ? std::optional(options.protection->within(place.path())) : std::nullopt;
        std::optional<ProtectedTally> kept;
        if (protection)
            kept.emplace(*protection);
        found.whole = FileWalker::measure(place, measureOptions(options, &reporter, bundles,
                                                                protection ? &*protection : nullptr,
                                                                kept ? &*kept : nullptr));
        if (!protection)
            return;
        const bool whole = protection->protectsStandardized(place.path());
        found.protectedBytes = whole ? found.whole.allocatedBytes : kept->bytes;
        found.protectedLeaves = whole ? found.whole.files + found.whole.links : kept->leaves;
    }

    std::vector<const Found*> directlyInside(const Found& outer) const
    {
        std::vector<const Found*> inside;
        for (const Found& found : m_found)
            if ((found.place.reached || found.place.isLink) && isBelow(found.place.path, outer.place.path))
                inside.push_back(&found);
        std::vector<const Found*> direct;
        for (const Found* candidate : inside)
            if (std::none_of(inside.begin(), inside.end(), [&](const Found* other) {
                    return isBelow(candidate->place.path, other->place.path);
                }))
                direct.push_back(candidate);
        return direct;
    }

    const CleanWhitelistMatcher::List* m_protection;
    QHash<QString, qsizetype> m_index;
    std::vector<Found> m_found;
};

struct Scan {
    const Options& options;
    const Places& places;
    std::vector<Entry> entries;

    bool cancelled() const { return options.cancelled && options.cancelled->load(); }

    void addEntry(const LocalText& section, const QString& path, const LocalText& note, Status status)
    {
        entries.push_back({StableId::of(path), section, path, note, status});
    }

    void addCleanable(const LocalText& section, const QString& path, const LocalText& label,
                      const Summary& summary, const FileIdentity& identity)
    {
        entries.push_back({StableId::of(path), section, path, label + noteText(summary.bytes, summary.items),
                           Status::cleanable, identity, summary.bytes, summary.protectedBytes,
                           summary.itemsToRemove});
    }

    void standardGroup(const CleanGroup& group)
    {
        const LocalText section = text(group.titleZh, group.titleEn);
        for (const CleanTarget& target : group.targets) {
            if (cancelled())
                return;
            const Place& place = places.place(target.relativePath);
            const LocalText label = text(target.labelZh, target.labelEn) + QStringLiteral(" · ");
            if (!place.linkReason.isEmpty())
                addEntry(section, place.path, label + place.linkReason, Status::skipped);
            if (!place.reached)
                continue;
            const Summary summary = places.summary(target.relativePath);
            if (summary.bytes == 0 && summary.items == 0)
                continue;
            addCleanable(section, place.path, label, summary, place.reached->facts().identity);
        }
    }

    void browsers(const CleanCatalogue& catalogue, const QSet<QString>& running)
    {
        const LocalText section = text(catalogue.browsersTitle.titleZh, catalogue.browsersTitle.titleEn);
        for (const CleanBrowser& browser : catalogue.browsers) {
            if (cancelled())
                return;
            const bool browserRunning = isRunning(browser, running);
            Summary total;
            struct Measured {
                QString path;
                Summary summary;
                FileIdentity identity;
            };
            std::vector<Measured> measured;
            std::vector<const Place*> linked;
            for (const QString& relativePath : browser.relativePaths) {
                const Place& place = places.place(relativePath);
                if (!place.reached) {
                    if (!place.linkReason.isEmpty())
                        linked.push_back(&place);
                    continue;
                }
                // An existing cache folder is kept even when it measures nothing.
                const Summary summary = places.summary(relativePath);
                total.bytes = ByteCount::saturatingAdd(total.bytes, summary.bytes);
                total.items += summary.items;
                measured.push_back({place.path, summary, place.reached->facts().identity});
            }
            if (measured.empty() && linked.empty())
                continue;
            if (browserRunning) {
                // The message stands where a path would; it keeps the language of the scan.
                addEntry(section,
                         browser.name + text(QStringLiteral(" 正在运行，缓存清理已跳过"),
                                             QStringLiteral(" is running, cache cleanup skipped"))
                                            .text(),
                         noteText(total.bytes, total.items), Status::skipped);
                continue;
            }
            for (const Measured& place : measured)
                addCleanable(section, place.path, LocalText(), place.summary, place.identity);
            for (const Place* place : linked)
                addEntry(section, place->path, place->linkReason, Status::skipped);
        }
    }
};

qint64 itemCount(const std::optional<LocalText>& note)
{
    static const QRegularExpression pattern(QStringLiteral("([0-9]+)\\s*(项|items?)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!note)
        return 0;
    const QRegularExpressionMatch match = pattern.match(note->english);
    if (!match.hasMatch())
        return 0;
    bool ok = false;
    const qint64 count = match.captured(1).toLongLong(&ok);
    return ok ? count : 0;
}

LocalText summaryText(qint64 bytes, qint64 items, qsizetype categories)
{
    const QString size = SizeText::bytesWithDefaultUnits(bytes);
    return text(QStringLiteral("预计可清理：%1 | 项目：%2 | 类别：%3"),
                QStringLiteral("Potential space: %1 | Items: %2 | Categories: %3"))
        .arg(size, QString::number(items), QString::number(categories));
}

} // namespace

CleanPreviewReport snapshot(const QString& home, const Options& options)
{
    if (options.protection)
        return snapshot(home, CleanLocations::of(options.system), RunningProcesses::names(), options);
    QStringList patterns;
    try {
        patterns = CleanWhitelistStore::load(home).patterns;
    } catch (const KelvoError&) {
        // The clean itself stops on a list it cannot read; the preview still shows what the
        // defaults keep.
        patterns = CleanWhitelistStore::defaultPatterns();
    }
    Options withProtection = options;
    withProtection.protection.emplace(patterns, PathText::standardized(home));
    return snapshot(home, CleanLocations::of(options.system), RunningProcesses::names(), withProtection);
}

CleanPreviewReport snapshot(const QString& home, const CleanCatalogue& wildcardCatalogue,
                            const QSet<QString>& runningProcesses, const Options& options)
{
    const CleanCatalogue catalogue = CleanWildcardPlaces::expanded(wildcardCatalogue, home);
    ProgressReporter reporter(options);
    const Places places(home, catalogue, options, reporter);
    Scan scan{options, places, {}};
    scan.standardGroup(catalogue.userEssentials);
    scan.browsers(catalogue, runningProcesses);
    scan.standardGroup(catalogue.developerTools);
    scan.standardGroup(catalogue.diagnostics);
    scan.standardGroup(catalogue.trash);

    qint64 bytes = 0;
    qint64 items = 0;
    QSet<QString> sections;
    for (const Entry& entry : scan.entries) {
        if (entry.status != Status::cleanable)
            continue;
        // The rows' own bytes, so the summary is their sum in their units.
        bytes = ByteCount::saturatingAdd(bytes, entry.bytes.value_or(0));
        items = ByteCount::saturatingAdd(items, itemCount(entry.note));
        sections.insert(entry.section.english);
    }
    CleanPreviewReport report;
    report.entries = std::move(scan.entries);
    report.generatedAt = QDateTime::currentDateTimeUtc();
    report.summary = summaryText(bytes, items, sections.size());
    return report;
}

QStringList runningBrowserPaths(const QString& home, const CleanCatalogue& catalogue,
                                const QSet<QString>& runningProcesses)
{
    QStringList paths;
    for (const CleanBrowser& browser : catalogue.browsers)
        if (isRunning(browser, runningProcesses))
            for (const QString& relativePath : browser.relativePaths)
                paths.append(PathText::joined(home, relativePath));
    return paths;
}

Summary directorySummary(const QString& path, const Options& options)
{
    const std::optional<FileWalker::Item> location = FileWalker::statItem(path);
    if (!location)
        return {};
    return summaryOf(
        FileWalker::measure(*location,
                            measureOptions(options, nullptr, CleanLocations::of(options.system).bundles)),
        location->kind != FileWalker::Kind::folder);
}

LocalText noteText(qint64 bytes, qint64 items)
{
    return LocalText::made([bytes] { return SizeText::bytesWithDefaultUnits(bytes); }) +
           text(QStringLiteral("，%1 项"),
                items == 1 ? QStringLiteral(", %1 item") : QStringLiteral(", %1 items"))
               .arg(items);
}

std::optional<qint64> byteCount(const std::optional<LocalText>& note)
{
    static const QRegularExpression pattern(QStringLiteral("([0-9]+(?:\\.[0-9]+)?)\\s*(KB|MB|GB|TB|bytes)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (!note)
        return std::nullopt;
    const QRegularExpressionMatch match = pattern.match(note->english);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double number = match.captured(1).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    // Binary multiples, as the older tool's summaries count, although the notes are written in
    // decimal units: the potential space reads slightly higher than the sum of the notes.
    const QString unit = match.captured(2).toLower();
    const double multiplier = unit == QLatin1String("tb")   ? 1099511627776.0
                              : unit == QLatin1String("gb") ? 1073741824.0
                              : unit == QLatin1String("mb") ? 1048576.0
                              : unit == QLatin1String("kb") ? 1024.0
                                                            : 1.0;
    const double value = number * multiplier;
    if (value >= 9.2e18)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(value);
}

} // namespace LocalCleanPreview
