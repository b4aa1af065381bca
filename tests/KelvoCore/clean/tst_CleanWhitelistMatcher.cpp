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
        row("glob: star does not cross a line break", "/tmp/*/cache", "/tmp/a\nb/cache", false);
        row("glob: case-sensitive", "/tmp/*/Cache", "/tmp/a/cache", false);
        row("glob that cannot compile never matches", QStringLiteral("/tmp/\xD800*/x"),
            QStringLiteral("/tmp/\xD800q/x"), false);

        // Plain path: itself and everything below.
        row("plain: the folder", "~/Projects", "{home}/Projects", true);
        row("plain: below", "~/Projects", "{home}/Projects/app/src/main.cpp", true);
        row("plain: sibling sharing the name", "~/Projects", "{home}/Projects2", false);
        row("plain: the parent", "~/Projects", "{home}", false);
        row("plain: candidate with trailing separator", "~/Projects", "{home}/Projects/", true);
        row("plain: climbing out with ..", "~/Projects", "{home}/Projects/../Secrets", false);
        row("plain: climbing in with ..", "~/Projects", "{home}/Other/../Projects/x", true);
        row("plain: trailing separator matches nothing below", "~/Projects/", "{home}/Projects/a", false);
        row("plain: trailing separator does not match the folder", "~/Projects/", "{home}/Projects", false);
        row("plain: the home folder", "~", "{home}/anything/at/all", true);
        row("plain: case-sensitive", "$HOME/library/caches", "{home}/Library/Caches/x", false);
        row("plain: spotlight spellings differ", "$HOME/Library/Caches/com.apple.spotlight*",
            "{home}/Library/Caches/com.apple.Spotlight", false);
        row("plain: absolute entry", "/opt/keep", "/opt/keep/x", true);
        row("plain: another home", "$HOME/x", "/Users/other/x", false);

        // "$HOME" and "~" expand anywhere in an entry.
        row("home in the middle", "/mnt$HOME/keep", "/mnt{home}/keep/a", true);
        row("tilde in the middle", "/mnt~/keep", "/mnt{home}/keep/a", true);
        row("tilde twice", "~/a~", "{home}/a{home}", true);
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
    }

    void defaultList()
    {
        QFETCH(QString, path);
        QFETCH(bool, isProtected);

        QCOMPARE(CleanWhitelistMatcher::isProtected(m_box.expand(path),
                                                    CleanWhitelistStore::defaultPatterns(), m_home),
                 isProtected);
    }

    // Whether removing a folder whole could take a protected path with it.
    void protectsSomethingBelow_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("below");
        row("plain path inside", "~/Library/Caches/app/keep", "{home}/Library/Caches/app", true);
        row("plain path is the folder", "~/Library/Caches/app", "{home}/Library/Caches/app", false);
        row("plain path elsewhere", "~/Library/Caches/other/keep", "{home}/Library/Caches/app", false);
        row("sibling sharing a prefix", "~/Library/Caches/app2/keep", "{home}/Library/Caches/app", false);
        row("prefix rule inside", "$HOME/Library/Caches/app/keep*", "{home}/Library/Caches/app", true);
        row("everything below", "$HOME/.gradle/caches/*", "{home}/.gradle/caches", true);
        row("prefix rule on a sibling", "$HOME/Library/Caches/JetBrains*", "{home}/Library/Caches/app",
            false);
        row("glob whose star may reach in", "$HOME/Library/Caches/build-*/cache",
            "{home}/Library/Caches/build-42", true);
        row("glob that cannot reach in", "$HOME/Library/Logs/*/cache", "{home}/Library/Caches/app", false);
        row("finder metadata is not a path", "FINDER_METADATA", "{home}/Library/Caches/app", false);
    }
    void protectsSomethingBelow()
    {
        QFETCH(QString, entry);
        QFETCH(QString, folder);
        QFETCH(bool, below);
        QCOMPARE(CleanWhitelistMatcher::protectsSomethingBelow(m_box.expand(folder), {entry}, m_home), below);
    }

    void emptyListProtectsNothing()
    {
        QVERIFY(!CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/a"), {}, m_home));
    }
};

KELVO_REGISTER_TEST(CleanWhitelistMatcherTest)
#include "tst_CleanWhitelistMatcher.moc"
