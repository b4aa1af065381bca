// The protection list: its file (where it lives, how it is read and written) and which paths fall
// under each form of entry, against a synthetic home.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"

using namespace SyntheticHome;
using namespace TestSupport;

namespace {

const QByteArray header = "# Kelvo Whitelist - Protected paths won't be deleted\n"
                          "# Add one path or pattern per line to keep it safe.\n"
                          "\n";

} // namespace

class CleanWhitelistTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    QString ownFile() const { return m_home + "/.config/kelvo/whitelist"; }
    QString legacyFile() const { return m_home + "/.config/tarn/whitelist"; }

private slots:
    void init() { m_home = m_box.renew(); }

    // Only a missing file means the defaults; the older tool's file is read until the program's own
    // exists; a list of nothing but comments is untouched, not a wish to protect nothing.
    void filesAreLoaded_data()
    {
        columns<QByteArray, QByteArray, QStringList>("own", "legacy",
                                                     "entries"); // null: no file; empty: defaults
        const QByteArray none;
        row("no file", none, none, QStringList{});
        row("legacy fallback", none, QByteArray("/legacy\n/x\n"), QStringList{"/legacy", "/x"});
        row("own file wins", header + "/own\n", QByteArray("/legacy\n"), QStringList{"/own"});
        row("header-only own file gives defaults", header, QByteArray("/legacy\n"), QStringList{});
        row("byte-order mark", QByteArray("\xEF\xBB\xBF/a\n"), none, QStringList{"/a"});
        row("trimming, comments, repeats after the first", QByteArray("  b  \n\tb\na\n#bar\n  #baz\n\nc\na"),
            none, QStringList{"b", "a", "c"});
        row("inner spaces and a later # belong to the entry", QByteArray("$HOME/A B/x\n/a/b#c\n/d # e"), none,
            QStringList{"$HOME/A B/x", "/a/b#c", "/d # e"});
        row("different case is no repeat", QByteArray("/A\n/a\n"), none, QStringList{"/A", "/a"});
    }
    void filesAreLoaded()
    {
        const auto [own, legacy, entries] =
            fetch<QByteArray, QByteArray, QStringList>("own", "legacy", "entries");
        if (!own.isNull())
            write(ownFile(), own);
        if (!legacy.isNull())
            write(legacyFile(), legacy);
        QCOMPARE(CleanWhitelistStore::load(m_home).patterns,
                 entries.isEmpty() ? CleanWhitelistStore::defaultPatterns() : entries);
        // Loading writes nothing.
        QCOMPARE(QFileInfo::exists(ownFile()), !own.isNull());
        QCOMPARE(QFileInfo::exists(m_home + "/.config"), !own.isNull() || !legacy.isNull());
    }

    // The first save makes the file, the second replaces it; the older tool's file is never written.
    void savedFilesAreExactAndLoadBack_data()
    {
        columns<QStringList, QByteArray, QStringList>("patterns", "contents",
                                                      "loaded"); // loaded empty: defaults
        row("trimmed, blank dropped, repeats dropped, order kept", QStringList{"b", " b ", "", "\t", "a"},
            header + "b\na\n", QStringList{"b", "a"});
        row("nothing to protect", QStringList{}, header, QStringList{});
        row("UTF-8 without byte-order mark", QStringList{"~/文档"}, header + QString("~/文档\n").toUtf8(),
            QStringList{"~/文档"});
    }
    void savedFilesAreExactAndLoadBack()
    {
        const auto [patterns, contents, loaded] =
            fetch<QStringList, QByteArray, QStringList>("patterns", "contents", "loaded");
        const QByteArray legacy = "# tarn\n/legacy\n";
        write(legacyFile(), legacy);
        CleanWhitelistStore::save({patterns}, m_home);
        CleanWhitelistStore::save({patterns}, m_home);
        QCOMPARE(SyntheticHome::contents(ownFile()), contents);
        QCOMPARE(SyntheticHome::contents(legacyFile()), legacy);
        QCOMPARE(CleanWhitelistStore::load(m_home).patterns,
                 loaded.isEmpty() ? CleanWhitelistStore::defaultPatterns() : loaded);
    }

    void entries_data()
    {
        columns<QString, QString, bool>("entry", "path", "isProtected");
        const char* finder = "FINDER_METADATA";
        const char* jetBrains = "$HOME/Caches/JetBrains*";
        const char* glob = "/tmp/*/cache";

        // Finder metadata sentinel.
        row("metadata: name merely ending so", finder, "{home}/x.DS_Store", false);
        row("metadata: longer name", finder, "{home}/.DS_Store_old", false);
        row("metadata: inside com.apple.Finder", finder, "{home}/Preferences/com.apple.Finder/x", true);
        row("metadata: not the folder itself", finder, "{home}/Caches/com.apple.finder/", false);
        row("metadata: sentinel is exact", "finder_metadata", "{home}/a/.DS_Store", false);

        // Prefix rule: a final "*", no separator required.
        row("prefix: shorter name", jetBrains, "{home}/Caches/JetBrain", false);
        row("prefix: case-sensitive", "$HOME/Caches/jetbrains*", "{home}/Caches/JetBrains", false);
        row("prefix: not the folder with a trailing separator", "$HOME/.gradle/caches/*",
            "{home}/.gradle/caches/", false);

        // Glob: the whole path must match (what a "*" stands for, the clean places' protection table shows).
        row("glob: whole path only", glob, "/var/tmp/a/cache", false);
        row("glob: many stars need no backtracking limit", "/*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b",
            "/" + QString(5000, 'a'), false);

        // Plain path: itself and everything below.
        row("plain: the folder", "~/Projects", "{home}/Projects", true);
        row("plain: sibling sharing the name", "~/Projects", "{home}/Projects2", false);
        row("plain: climbing out with ..", "~/Projects", "{home}/Projects/../Secrets", false);
        row("plain: case-sensitive", "$HOME/library/caches", "{home}/Library/Caches/x", false);
        row("plain: the root protects everything", "/", "/any/where", true);
        row("plain: the home folder", "~", "{home}/anything/at/all", true);

        // Entries are meant as paths, whatever their spelling; "~" is the home only at the start.
        row("spelling: trailing separator, the folder", "~/Projects/", "{home}/Projects", true);
        row("home in the middle", "/mnt$HOME/keep", "/mnt{home}/keep/a", true);
        row("tilde in the middle is a name", "/mnt~/keep", "/mnt{home}/keep/a", false);
        row("tilde followed by a name is a name", "~user/x", "{home}user/x", false);
    }
    void entries()
    {
        const auto [entry, path, isProtected] = fetch<QString, QString, bool>("entry", "path", "isProtected");
        QCOMPARE(CleanWhitelistMatcher::isProtected(m_box.expand(path), {entry}, m_home), isProtected);
    }

    // The home may be given in any spelling, or as a link: an entry written with its real path
    // protects the given path too. No entry protects nothing.
    void homeIsStandardisedAndResolved()
    {
        const QString real = folder(m_box.path("real-home"));
        const QString linked = link(real, m_box.path("home-link"));
        for (const QString& given : {m_home + "/", m_home + "/./sub/..", m_home + "//", linked}) {
            const QString home = given == linked ? linked : m_home;
            const QString homeEntry = given == linked ? real : "$HOME";
            const auto protects = [&](const QString& path, const QString& entry) {
                return CleanWhitelistMatcher::isProtected(home + path, {homeEntry + entry}, given);
            };
            QVERIFY(protects("/Projects/a", "/Projects") && protects("/Projects/a", "/Proj*"));
            QVERIFY(!protects("/Projects2", "/Projects"));
        }
        QVERIFY(!CleanWhitelistMatcher::isProtected(m_home + "/a", {}, m_home));
    }

    void entriesAreWrittenAsMeant_data()
    {
        columns<QString, QString>("entry", "written");
        row("trailing separator", "~/Projects/", "~/Projects");
        row("braces and doubled separators", "${HOME}//a/./b//", "$HOME/a/b");
        row("the root", "/", "/");
        row("a dot segment at the end", "/data/.", "/data");
        row("the root as a dot segment", "/.", "/");
        row("finder metadata", "FINDER_METADATA", "FINDER_METADATA");
        row("a comment", "# ${HOME}//a/", "# ${HOME}//a/");
    }
    void entriesAreWrittenAsMeant()
    {
        const auto [entry, written] = fetch<QString, QString>("entry", "written");
        QCOMPARE(CleanWhitelistMatcher::normalizedEntry(entry), written);
    }

    // The lines the editor marks: those that can never protect anything, and repeats.
    void problemsAreFound_data()
    {
        columns<QStringList, QString>("entries", "problems");
        row("full path", QStringList{"/opt/keep"}, "none");
        row("the home folder", QStringList{"~"}, "none");
        row("home variable", QStringList{"$HOME/.cache/keep"}, "none");
        row("home variable in braces", QStringList{"${HOME}/keep"}, "none");
        row("finder metadata", QStringList{"FINDER_METADATA"}, "none");
        row("a comment", QStringList{"# keep"}, "none");
        row("prefix rule", QStringList{"~/.cache/JetBrains*"}, "none");
        row("glob from the start", QStringList{"*/node_modules"}, "none");
        row("relative path", QStringList{"Projects/keep"}, "notFullPath");
        row("another user's home", QStringList{"~other/keep"}, "notFullPath");
        row("another variable", QStringList{"$USER/x"}, "notFullPath");
        row("climbing up", QStringList{"~/a/../b"}, "climbsUp");
        row("repeat as meant", QStringList{"~/keep", "/opt", "~/keep/", "$HOME/keep"},
            "none none duplicate none");
        row("a repeated relative path stays relative", QStringList{"a", "a"}, "notFullPath notFullPath");
    }
    void problemsAreFound()
    {
        using enum CleanWhitelistMatcher::EntryProblem;
        const auto [entries, problems] = fetch<QStringList, QString>("entries", "problems");
        QStringList found;
        for (const CleanWhitelistMatcher::EntryProblem problem :
             CleanWhitelistMatcher::problemsOf(entries, m_home))
            found << (problem == none          ? "none"
                      : problem == notFullPath ? "notFullPath"
                      : problem == climbsUp    ? "climbsUp"
                                               : "duplicate");
        QCOMPARE(found.join(' '), problems);
    }
};

KELVO_REGISTER_TEST(CleanWhitelistTest)
#include "tst_CleanWhitelist.moc"
