// The protection list: any text parses, every entry's meant form is stable, the wildcard matcher and
// the entry rule (a path is protected when it or a folder above it matches, every "*" standing for any
// run, "/" included) agree with a plain reference, and a real removal around any list keeps exactly
// what it must: every protected item with the folders around it, nothing else, and never anything
// behind a link.
#include "FuzzSupport.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "platform/ConfinedPath.h"
#include "platform/FileRemover.h"
#include "vocabulary/PathText.h"

#include <QDir>
#include <QFile>

#include <array>
#include <filesystem>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Whether pattern[p..] matches text[t..], "*" standing for any run: the textbook table.
bool referenceMatch(QStringView pattern, QStringView text)
{
    std::vector<std::vector<char>> matches(std::size_t(pattern.size() + 1),
                                           std::vector<char>(std::size_t(text.size() + 1), 0));
    matches[std::size_t(pattern.size())][std::size_t(text.size())] = 1;
    for (qsizetype p = pattern.size() - 1; p >= 0; --p)
        for (qsizetype t = text.size(); t >= 0; --t) {
            const auto at = [&](qsizetype i, qsizetype j) { return matches[std::size_t(i)][std::size_t(j)]; };
            matches[std::size_t(p)][std::size_t(t)] =
                pattern[p] == QLatin1Char('*')
                    ? char(at(p + 1, t) || (t < text.size() && at(p, t + 1)))
                    : char(t < text.size() && pattern[p] == text[t] && at(p + 1, t + 1));
        }
    return matches[0][0] != 0;
}

// Whether an entry protects a path: the path itself or a folder above it (the text before one of its
// "/") matches.
bool referenceProtects(QStringView entry, QStringView path)
{
    if (referenceMatch(entry, path))
        return true;
    for (qsizetype slash = 0; slash < path.size(); ++slash)
        if (path[slash] == QLatin1Char('/') && referenceMatch(entry, path.left(slash)))
            return true;
    return false;
}

// A short text over few characters, so that separators and stars meet often.
QString pathLike(FuzzedDataProvider& input)
{
    static const char alphabet[] = {'a', 'b', '.', '/', '*'};
    QString text;
    const int length = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(alphabet[input.ConsumeIntegralInRange<std::size_t>(0, sizeof alphabet - 1)]);
    return text;
}

struct Sandbox {
    QString home;
    QString outside;
};

Sandbox& sandbox()
{
    // A memory file system where there is one: each input builds and removes a small tree.
    static Sandbox box = [] {
        const QString base =
            (QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
            QStringLiteral("/kelvo-fuzz-%1").arg(getpid());
        QDir().mkpath(base + QStringLiteral("/home"));
        QDir().mkpath(base + QStringLiteral("/outside"));
        static const std::string folder = base.toStdString();
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::path(folder), ignored);
        });
        return Sandbox{base + QStringLiteral("/home"), base + QStringLiteral("/outside")};
    }();
    return box;
}

const std::array<const char*, 8> names{"a", "b", "keep", ".DS_Store", "com.apple.finder", "x y", "a*", "~"};

QString relativePath(FuzzedDataProvider& input)
{
    QStringList parts;
    const int depth = input.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < depth; ++i)
        parts << QString::fromLatin1(names[input.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)]);
    return parts.join(QLatin1Char('/'));
}

QString entry(FuzzedDataProvider& input)
{
    const QString place =
        input.ConsumeBool() ? QStringLiteral("$HOME/.cache/") : QStringLiteral("~//.cache/./");
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
        return QStringLiteral("FINDER_METADATA");
    case 6:
        return place + QStringLiteral("*/") + relativePath(input) + QLatin1Char('*');
    case 1:
        return place + relativePath(input);
    case 2:
        return place + relativePath(input) + QLatin1Char('*');
    case 3:
        return place + QStringLiteral("*/") + relativePath(input);
    case 4:
        return place + relativePath(input) + QLatin1Char('/');
    default:
        return FuzzSupport::text(input, 40);
    }
}

bool isBelow(const QString& path, const QString& folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

void checkRemoval(FuzzedDataProvider& input)
{
    const Sandbox& box = sandbox();
    const QString place = box.home + QStringLiteral("/.cache");
    std::error_code ignored;
    fs::remove_all(fs::path(place.toStdString()), ignored);
    QDir().mkpath(place);
    QFile canaryFile(box.outside + QStringLiteral("/canary"));
    if (!canaryFile.exists() && canaryFile.open(QIODevice::WriteOnly))
        canaryFile.write("x");
    canaryFile.close();

    const int items = input.ConsumeIntegralInRange(0, 10);
    for (int i = 0; i < items; ++i) {
        const QString path = place + QLatin1Char('/') + relativePath(input);
        switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            QDir().mkpath(path);
            break;
        case 1:
            if (QDir().mkpath(QFileInfo(path).path())) {
                QFile file(path);
                if (file.open(QIODevice::WriteOnly))
                    file.write("x");
            }
            break;
        default:
            if (QDir().mkpath(QFileInfo(path).path()))
                QFile::link(box.outside, path);
        }
    }
    QStringList patterns;
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i)
        patterns << entry(input);
    const CleanWhitelistMatcher::List protection(CleanWhitelistStore::parse(patterns.join(QLatin1Char('\n'))),
                                                 box.home);

    // Everything below the place as it stands, links as links.
    QStringList before;
    for (auto it = fs::recursive_directory_iterator(fs::path(place.toStdString())); it != fs::end(it); ++it)
        before << QString::fromStdString(it->path().string());
    // Where the remover stops: the first protected item on each way down.
    QStringList keptRoots;
    for (const QString& path : before) {
        if (!protection.isProtected(path))
            continue;
        const bool aboveIsKept = std::any_of(keptRoots.begin(), keptRoots.end(),
                                             [&](const QString& root) { return isBelow(path, root); });
        if (!aboveIsKept) {
            keptRoots.removeIf([&](const QString& root) { return isBelow(root, path); });
            keptRoots << path;
        }
    }

    const ConfinedPath::Outcome reached = ConfinedPath::reach(box.home, place);
    KELVO_FUZZ_CHECK(reached.item.has_value());
    const FileRemover::Tally tally = FileRemover::removeContents(
        *reached.item, [&](const QString& path) { return protection.protectsStandardized(path); });
    KELVO_FUZZ_CHECK(tally.failed == 0);
    KELVO_FUZZ_CHECK(QFile::exists(box.outside + QStringLiteral("/canary")));
    for (const QString& path : before) {
        const bool mustStay = std::any_of(keptRoots.begin(), keptRoots.end(), [&](const QString& root) {
            return path == root || isBelow(path, root) || isBelow(root, path);
        });
        const bool stays =
            fs::symlink_status(fs::path(path.toStdString())).type() != fs::file_type::not_found;
        KELVO_FUZZ_CHECK(stays == mustStay);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0: {
        const QString text = QString::fromStdString(input.ConsumeRemainingBytesAsString());
        for (const QString& pattern : CleanWhitelistStore::parse(text)) {
            const QString meant = CleanWhitelistMatcher::normalizedEntry(pattern);
            KELVO_FUZZ_CHECK(CleanWhitelistMatcher::normalizedEntry(meant) == meant);
            CleanWhitelistMatcher::isProtected(QStringLiteral("/home/u/.cache/x"), {pattern},
                                               QStringLiteral("/home/u"));
        }
        break;
    }
    case 1: {
        const QString pattern = FuzzSupport::text(input, 24);
        const QString text = FuzzSupport::text(input, 24);
        KELVO_FUZZ_CHECK(CleanWhitelistMatcher::wildcardMatch(pattern, text) ==
                         referenceMatch(pattern, text));
        // An entry in its meant form (which ends with "/" only as the root, compared as a path).
        const QString entry = CleanWhitelistMatcher::normalizedEntry(pathLike(input));
        const QString path = pathLike(input);
        if (!entry.endsWith(QLatin1Char('/')))
            KELVO_FUZZ_CHECK(CleanWhitelistMatcher::matchesGlob(entry, path) ==
                             referenceProtects(entry, path));
        break;
    }
    default:
        checkRemoval(input);
    }
    return 0;
}
