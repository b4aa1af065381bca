// Does a path fall under the protection list? Every entry form against a synthetic home.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"

using TestSupport::row;

class CleanWhitelistMatcherTest : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_box;
    QString m_home; // the matcher only reads path text

private slots:
    void initTestCase() { m_home = m_box.renew(); }

    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isProtected");

        const char* finder = "FINDER_METADATA";
        const char* jetBrains = "$HOME/Library/Caches/JetBrains*";
        const char* gradle = "$HOME/.gradle/caches/*";

        // Finder metadata sentinel.
        row("metadata: .DS_Store at any depth", finder, "{home}/a/b/c/.DS_Store", true);
        row("metadata: .DS_Store outside home", finder, "/Volumes/Disk/.DS_Store", true);
        row("metadata: name merely ending so", finder, "{home}/x.DS_Store", false);
        row("metadata: longer name", finder, "{home}/.DS_Store_old", false);
        row("metadata: inside com.apple.finder", finder, "{home}/Library/Caches/com.apple.finder/Cache.db",
            true);
        row("metadata: inside com.apple.Finder", finder, "{home}/Library/Preferences/com.apple.Finder/x",
            true);
        row("metadata: not the folder itself", finder, "{home}/Library/Caches/com.apple.finder", false);
        row("metadata: not the folder with a trailing separator", finder,
            "{home}/Library/Caches/com.apple.finder/", false);
        row("metadata: other case", finder, "{home}/com.apple.FINDER/x", false);
        row("metadata: the sentinel is no path", finder, "FINDER_METADATA/x", false);
        row("metadata: sentinel is exact", "finder_metadata", "{home}/a/.DS_Store", false);

        // Prefix rule: a final "*", no separator required.
        row("prefix: the folder itself", jetBrains, "{home}/Library/Caches/JetBrains", true);
        row("prefix: below", jetBrains, "{home}/Library/Caches/JetBrains/IntelliJ/index", true);
        row("prefix: sibling sharing the name", jetBrains, "{home}/Library/Caches/JetBrainsToolbox", true);
        row("prefix: shorter name", jetBrains, "{home}/Library/Caches/JetBrain", false);
        row("prefix: everything below a folder", gradle, "{home}/.gradle/caches/modules-2/x.jar", true);
        row("prefix: not the folder itself", gradle, "{home}/.gradle/caches", false);
        row("prefix: not the folder with a trailing separator", gradle, "{home}/.gradle/caches/", false);
        row("prefix: earlier stars are literal", "/tmp/a*b/*", "/tmp/a*b/c", true);
        row("prefix: earlier stars match nothing else", "/tmp/a*b/*", "/tmp/axb/c", false);
        row("prefix: candidate standardised first", gradle, "{home}/.gradle/x/../caches/y", true);

        // Glob: a "*" inside stands for any run of characters, "/" included.
        row("glob: one level", "/tmp/*/cache", "/tmp/a/cache", true);
        row("glob: several levels", "/tmp/*/cache", "/tmp/a/b/cache", true);
        row("glob: nothing below", "/tmp/*/cache", "/tmp/a/cache/x", false);
        row("glob: the star needs its separators", "/tmp/*/cache", "/tmp/cache", false);
        row("glob: whole path only", "/tmp/*/cache", "/var/tmp/a/cache", false);
        row("glob: dots are literal", "/tmp/a.b/*/x", "/tmp/aXb/q/x", false);
        row("glob: dots match themselves", "/tmp/a.b/*/x", "/tmp/a.b/q/x", true);
        row("glob: regex characters are literal", "/tmp/(x)+[y]?/*/z", "/tmp/(x)+[y]?/q/z", true);
        row("glob: regex characters are not operators", "/tmp/(x)+/*/z", "/tmp/xx/q/z", false);
        row("glob: backslash is literal", "/tmp/a\\*/b", "/tmp/a\\q/b", true);
        row("glob: home expanded", "$HOME/Projects/*/node_modules", "{home}/Projects/app/node_modules", true);
        row("glob: home expanded, nothing below", "$HOME/Projects/*/node_modules",
            "{home}/Projects/app/node_modules/x", false);
        row("glob: a line break is an ordinary character", "/tmp/*/cache", "/tmp/a\nb/cache", true);
        row("glob: case-sensitive", "/tmp/*/Cache", "/tmp/a/cache", false);
        row("glob: any text is a pattern", QStringLiteral("/tmp/\xD800*/x"), QStringLiteral("/tmp/\xD800q/x"),
            true);
        row("glob: many stars need no backtracking limit", "/*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b",
            "/" + QString(5000, 'a') + "b", true);
        row("glob: many stars that do not match", "/*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b",
            "/" + QString(5000, 'a'), false);

        // Plain path: itself and everything below.
        row("plain: the folder", "~/Projects", "{home}/Projects", true);
        row("plain: below", "~/Projects", "{home}/Projects/app/src/main.cpp", true);
        row("plain: sibling sharing the name", "~/Projects", "{home}/Projects2", false);
        row("plain: the parent", "~/Projects", "{home}", false);
        row("plain: candidate with trailing separator", "~/Projects", "{home}/Projects/", true);
        row("plain: climbing out with ..", "~/Projects", "{home}/Projects/../Secrets", false);
        row("plain: climbing in with ..", "~/Projects", "{home}/Other/../Projects/x", true);
        row("plain: the root protects everything", "/", "/any/where", true);
        row("plain: the home folder", "~", "{home}/anything/at/all", true);
        row("plain: case-sensitive", "$HOME/library/caches", "{home}/Library/Caches/x", false);
        row("plain: spotlight spellings differ", "$HOME/Library/Caches/com.apple.spotlight*",
            "{home}/Library/Caches/com.apple.Spotlight", false);
        row("plain: absolute entry", "/opt/keep", "/opt/keep/x", true);
        row("plain: another home", "$HOME/x", "/Users/other/x", false);

        // Entries are meant as paths, whatever their spelling; "~" is the home only at the start.
        row("spelling: trailing separator", "~/Projects/", "{home}/Projects/a", true);
        row("spelling: trailing separator, the folder", "~/Projects/", "{home}/Projects", true);
        row("spelling: doubled separators", "$HOME//Projects///a", "{home}/Projects/a/b", true);
        row("spelling: dot segments", "~/./Projects/./a/.", "{home}/Projects/a", true);
        row("spelling: braces", "${HOME}/Projects", "{home}/Projects/x", true);
        row("spelling: doubled separators in a prefix rule", "$HOME//Library//Caches/JetBrains*",
            "{home}/Library/Caches/JetBrains/x", true);
        row("home in the middle", "/mnt$HOME/keep", "/mnt{home}/keep/a", true);
        row("tilde in the middle is a name", "/mnt~/keep", "/mnt{home}/keep/a", false);
        row("tilde in the middle protects itself", "$HOME/Mobile/com~apple~Docs",
            "{home}/Mobile/com~apple~Docs/x", true);
        row("tilde followed by a name is a name", "~user/x", "{home}user/x", false);
        row("tilde in a glob", "~/*/keep", "{home}/x/keep", true);
        row("home variable is case-sensitive", "$home/x", "{home}/x", false);
    }

    void entries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, path);
        QFETCH(bool, isProtected);

        QCOMPARE(CleanWhitelistMatcher::isProtected(m_box.expand(path), {entry}, m_home), isProtected);
    }

    void homeIsStandardised_data()
    {
        QTest::addColumn<QString>("home");

        row("trailing separator", "{home}/");
        row("dot components", "{home}/./sub/..");
        row("doubled separators", "{home}//");
    }

    void homeIsStandardised()
    {
        QFETCH(QString, home);

        const QString given = m_box.expand(home);
        QVERIFY(CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/Projects/a"), {"$HOME/Projects"},
                                                   given));
        QVERIFY(CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/Projects/a"), {"~/Projects*"},
                                                   given));
        QVERIFY(!CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/Projects2"), {"~/Projects"},
                                                    given));
    }

    void defaultList_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isProtected");

        row("finder cache folder", "{home}/Library/Caches/com.apple.finder", true);
        row("inside the finder cache", "{home}/Library/Caches/com.apple.finder/x", true);
        row("maven repository content", "{home}/.m2/repository/org/x.jar", true);
        row("maven repository folder", "{home}/.m2/repository", false);
        row("huggingface sibling", "{home}/.cache/huggingface-hub", true);
        row("spotlight lower case", "{home}/Library/Caches/com.apple.spotlight/x", true);
        row("spotlight upper case", "{home}/Library/Caches/com.apple.Spotlight", true);
        row("tldr pages", "{home}/Library/Caches/tealdeer/tldr-pages/pages/a.md", true);
        row("tealdeer itself", "{home}/Library/Caches/tealdeer", false);
        row("a desktop .DS_Store", "{home}/Desktop/.DS_Store", true);
        row("ordinary cache", "{home}/Library/Caches/com.example.app", false);
        row("ordinary log", "{home}/Library/Logs/x.log", false);
        row("another user's cache", "/Users/other/Library/Caches/JetBrains", false);
#ifndef Q_OS_MACOS
        // The Linux twins.
        row("linux: JetBrains cache", "{home}/.cache/JetBrains/IntelliJIdea/index", true);
        row("linux: playwright browsers", "{home}/.cache/ms-playwright/chromium-1", true);
        row("linux: poetry environments", "{home}/.cache/pypoetry/virtualenvs/app-py3.11/bin/python", true);
        row("linux: JetBrains data", "{home}/.local/share/JetBrains/Toolbox/apps", true);
        row("linux: ordinary cache", "{home}/.cache/thumbnails/x.png", false);
#endif
    }

    void defaultList()
    {
        QFETCH(QString, path);
        QFETCH(bool, isProtected);

        QCOMPARE(CleanWhitelistMatcher::isProtected(m_box.expand(path),
                                                    CleanWhitelistStore::defaultPatterns(), m_home),
                 isProtected);
    }

    // A home folder given as a link: an entry written with its real path protects the given path.
    void theRealHomeAlsoProtects()
    {
        const QString real = SyntheticHome::folder(m_box.path("real-home"));
        const QString given = SyntheticHome::link(real, m_box.path("home-link"));
        QVERIFY(CleanWhitelistMatcher::isProtected(given + "/Projects/a", {real + "/Projects"}, given));
        QVERIFY(CleanWhitelistMatcher::isProtected(given + "/Projects/a", {real + "/Proj*"}, given));
        QVERIFY(!CleanWhitelistMatcher::isProtected(given + "/Other", {real + "/Projects"}, given));
    }

    void entriesAreWrittenAsMeant_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("written");
        row("as meant already", "$HOME/Library/Caches/JetBrains*", "$HOME/Library/Caches/JetBrains*");
        row("trailing separator", "~/Projects/", "~/Projects");
        row("braces and doubled separators", "${HOME}//a/./b//", "$HOME/a/b");
        row("the root", "/", "/");
        row("a dot segment at the end", "/data/.", "/data");
        row("finder metadata", "FINDER_METADATA", "FINDER_METADATA");
    }
    void entriesAreWrittenAsMeant()
    {
        QFETCH(QString, entry);
        QFETCH(QString, written);
        QCOMPARE(CleanWhitelistMatcher::normalizedEntry(entry), written);
    }

    void emptyListProtectsNothing()
    {
        QVERIFY(!CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/a"), {}, m_home));
    }
};

KELVO_REGISTER_TEST(CleanWhitelistMatcherTest)
#include "tst_CleanWhitelistMatcher.moc"
