// Does a path fall under the protection list? Every entry form against a synthetic home.
#include "TestMain.h"

#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"

class CleanWhitelistMatcherTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_home; // the matcher only reads path text, so the folder need not exist

    // "{home}" in a table cell stands for the synthetic home folder.
    QString expand(QString text) const { return text.replace(QStringLiteral("{home}"), m_home); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_home = m_root.filePath(QStringLiteral("home"));
    }

    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isProtected");

        // Finder metadata sentinel.
        QTest::newRow("metadata: .DS_Store at any depth") << "FINDER_METADATA"
                                                          << "{home}/a/b/c/.DS_Store" << true;
        QTest::newRow("metadata: .DS_Store outside home") << "FINDER_METADATA"
                                                          << "/Volumes/Disk/.DS_Store" << true;
        QTest::newRow("metadata: name merely ending so") << "FINDER_METADATA"
                                                         << "{home}/x.DS_Store" << false;
        QTest::newRow("metadata: longer name") << "FINDER_METADATA"
                                               << "{home}/.DS_Store_old" << false;
        QTest::newRow("metadata: inside com.apple.finder")
            << "FINDER_METADATA"
            << "{home}/Library/Caches/com.apple.finder/Cache.db" << true;
        QTest::newRow("metadata: inside com.apple.Finder")
            << "FINDER_METADATA"
            << "{home}/Library/Preferences/com.apple.Finder/x" << true;
        QTest::newRow("metadata: not the folder itself") << "FINDER_METADATA"
                                                         << "{home}/Library/Caches/com.apple.finder" << false;
        QTest::newRow("metadata: not the folder with a trailing separator")
            << "FINDER_METADATA"
            << "{home}/Library/Caches/com.apple.finder/" << false;
        QTest::newRow("metadata: other case") << "FINDER_METADATA"
                                              << "{home}/com.apple.FINDER/x" << false;
        QTest::newRow("metadata: the sentinel is no path") << "FINDER_METADATA"
                                                           << "FINDER_METADATA/x" << false;
        QTest::newRow("metadata: sentinel is exact") << "finder_metadata"
                                                     << "{home}/a/.DS_Store" << false;

        // Prefix rule: a final "*", no separator required.
        QTest::newRow("prefix: the folder itself") << "$HOME/Library/Caches/JetBrains*"
                                                   << "{home}/Library/Caches/JetBrains" << true;
        QTest::newRow("prefix: below") << "$HOME/Library/Caches/JetBrains*"
                                       << "{home}/Library/Caches/JetBrains/IntelliJ/index" << true;
        QTest::newRow("prefix: sibling sharing the name") << "$HOME/Library/Caches/JetBrains*"
                                                          << "{home}/Library/Caches/JetBrainsToolbox" << true;
        QTest::newRow("prefix: shorter name") << "$HOME/Library/Caches/JetBrains*"
                                              << "{home}/Library/Caches/JetBrain" << false;
        QTest::newRow("prefix: everything below a folder") << "$HOME/.gradle/caches/*"
                                                           << "{home}/.gradle/caches/modules-2/x.jar" << true;
        QTest::newRow("prefix: not the folder itself") << "$HOME/.gradle/caches/*"
                                                       << "{home}/.gradle/caches" << false;
        QTest::newRow("prefix: not the folder with a trailing separator")
            << "$HOME/.gradle/caches/*"
            << "{home}/.gradle/caches/" << false;
        QTest::newRow("prefix: earlier stars are literal") << "/tmp/a*b/*"
                                                           << "/tmp/a*b/c" << true;
        QTest::newRow("prefix: earlier stars match nothing else") << "/tmp/a*b/*"
                                                                  << "/tmp/axb/c" << false;
        QTest::newRow("prefix: candidate standardised first") << "$HOME/.gradle/caches/*"
                                                              << "{home}/.gradle/x/../caches/y" << true;

        // Glob: a "*" inside stands for any run of characters, "/" included.
        QTest::newRow("glob: one level") << "/tmp/*/cache"
                                         << "/tmp/a/cache" << true;
        QTest::newRow("glob: several levels") << "/tmp/*/cache"
                                              << "/tmp/a/b/cache" << true;
        QTest::newRow("glob: nothing below") << "/tmp/*/cache"
                                             << "/tmp/a/cache/x" << false;
        QTest::newRow("glob: the star needs its separators") << "/tmp/*/cache"
                                                             << "/tmp/cache" << false;
        QTest::newRow("glob: whole path only") << "/tmp/*/cache"
                                               << "/var/tmp/a/cache" << false;
        QTest::newRow("glob: dots are literal") << "/tmp/a.b/*/x"
                                                << "/tmp/aXb/q/x" << false;
        QTest::newRow("glob: dots match themselves") << "/tmp/a.b/*/x"
                                                     << "/tmp/a.b/q/x" << true;
        QTest::newRow("glob: regex characters are literal") << "/tmp/(x)+[y]?/*/z"
                                                            << "/tmp/(x)+[y]?/q/z" << true;
        QTest::newRow("glob: regex characters are not operators") << "/tmp/(x)+/*/z"
                                                                  << "/tmp/xx/q/z" << false;
        QTest::newRow("glob: backslash is literal") << "/tmp/a\\*/b"
                                                    << "/tmp/a\\q/b" << true;
        QTest::newRow("glob: home expanded") << "$HOME/Projects/*/node_modules"
                                             << "{home}/Projects/app/node_modules" << true;
        QTest::newRow("glob: home expanded, nothing below") << "$HOME/Projects/*/node_modules"
                                                            << "{home}/Projects/app/node_modules/x" << false;
        QTest::newRow("glob: star does not cross a line break") << "/tmp/*/cache"
                                                                << "/tmp/a\nb/cache" << false;
        QTest::newRow("glob: case-sensitive") << "/tmp/*/Cache"
                                              << "/tmp/a/cache" << false;
        QTest::newRow("glob that cannot compile never matches")
            << QStringLiteral("/tmp/\xD800*/x") << QStringLiteral("/tmp/\xD800q/x") << false;

        // Plain path: itself and everything below.
        QTest::newRow("plain: the folder") << "~/Projects"
                                           << "{home}/Projects" << true;
        QTest::newRow("plain: below") << "~/Projects"
                                      << "{home}/Projects/app/src/main.cpp" << true;
        QTest::newRow("plain: sibling sharing the name") << "~/Projects"
                                                         << "{home}/Projects2" << false;
        QTest::newRow("plain: the parent") << "~/Projects"
                                           << "{home}" << false;
        QTest::newRow("plain: candidate with trailing separator") << "~/Projects"
                                                                  << "{home}/Projects/" << true;
        QTest::newRow("plain: climbing out with ..") << "~/Projects"
                                                     << "{home}/Projects/../Secrets" << false;
        QTest::newRow("plain: climbing in with ..") << "~/Projects"
                                                    << "{home}/Other/../Projects/x" << true;
        QTest::newRow("plain: trailing separator matches nothing below") << "~/Projects/"
                                                                         << "{home}/Projects/a" << false;
        QTest::newRow("plain: trailing separator does not match the folder") << "~/Projects/"
                                                                             << "{home}/Projects" << false;
        QTest::newRow("plain: the home folder") << "~"
                                                << "{home}/anything/at/all" << true;
        QTest::newRow("plain: case-sensitive") << "$HOME/library/caches"
                                               << "{home}/Library/Caches/x" << false;
        QTest::newRow("plain: spotlight spellings differ")
            << "$HOME/Library/Caches/com.apple.spotlight*"
            << "{home}/Library/Caches/com.apple.Spotlight" << false;
        QTest::newRow("plain: absolute entry") << "/opt/keep"
                                               << "/opt/keep/x" << true;
        QTest::newRow("plain: another home") << "$HOME/x"
                                             << "/Users/other/x" << false;

        // "$HOME" and "~" expand anywhere in an entry.
        QTest::newRow("home in the middle") << "/mnt$HOME/keep"
                                            << "/mnt{home}/keep/a" << true;
        QTest::newRow("tilde in the middle") << "/mnt~/keep"
                                             << "/mnt{home}/keep/a" << true;
        QTest::newRow("tilde twice") << "~/a~"
                                     << "{home}/a{home}" << true;
        QTest::newRow("tilde in a glob") << "~/*/keep"
                                         << "{home}/x/keep" << true;
        QTest::newRow("home variable is case-sensitive") << "$home/x"
                                                         << "{home}/x" << false;
    }

    void entries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, path);
        QFETCH(bool, isProtected);

        QCOMPARE(CleanWhitelistMatcher::isProtected(expand(path), {entry}, m_home), isProtected);
    }

    void homeIsStandardised_data()
    {
        QTest::addColumn<QString>("home");

        QTest::newRow("trailing separator") << "{home}/";
        QTest::newRow("dot components") << "{home}/./sub/..";
        QTest::newRow("doubled separators") << "{home}//";
    }

    void homeIsStandardised()
    {
        QFETCH(QString, home);

        const QString given = expand(home);
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

        QTest::newRow("finder cache folder") << "{home}/Library/Caches/com.apple.finder" << true;
        QTest::newRow("inside the finder cache") << "{home}/Library/Caches/com.apple.finder/x" << true;
        QTest::newRow("maven repository content") << "{home}/.m2/repository/org/x.jar" << true;
        QTest::newRow("maven repository folder") << "{home}/.m2/repository" << false;
        QTest::newRow("huggingface sibling") << "{home}/.cache/huggingface-hub" << true;
        QTest::newRow("spotlight lower case") << "{home}/Library/Caches/com.apple.spotlight/x" << true;
        QTest::newRow("spotlight upper case") << "{home}/Library/Caches/com.apple.Spotlight" << true;
        QTest::newRow("tldr pages") << "{home}/Library/Caches/tealdeer/tldr-pages/pages/a.md" << true;
        QTest::newRow("tealdeer itself") << "{home}/Library/Caches/tealdeer" << false;
        QTest::newRow("a desktop .DS_Store") << "{home}/Desktop/.DS_Store" << true;
        QTest::newRow("ordinary cache") << "{home}/Library/Caches/com.example.app" << false;
        QTest::newRow("ordinary log") << "{home}/Library/Logs/x.log" << false;
        QTest::newRow("another user's cache") << "/Users/other/Library/Caches/JetBrains" << false;
    }

    void defaultList()
    {
        QFETCH(QString, path);
        QFETCH(bool, isProtected);

        QCOMPARE(
            CleanWhitelistMatcher::isProtected(expand(path), CleanWhitelistStore::defaultPatterns(), m_home),
            isProtected);
    }

    // Whether removing a folder whole could take a protected path with it.
    void protectsSomethingBelow_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("below");
        QTest::newRow("plain path inside") << "~/Library/Caches/app/keep" << "{home}/Library/Caches/app" << true;
        QTest::newRow("plain path is the folder") << "~/Library/Caches/app" << "{home}/Library/Caches/app" << false;
        QTest::newRow("plain path elsewhere") << "~/Library/Caches/other/keep" << "{home}/Library/Caches/app"
                                              << false;
        QTest::newRow("sibling sharing a prefix") << "~/Library/Caches/app2/keep" << "{home}/Library/Caches/app"
                                                  << false;
        QTest::newRow("prefix rule inside") << "$HOME/Library/Caches/app/keep*" << "{home}/Library/Caches/app"
                                            << true;
        QTest::newRow("everything below") << "$HOME/.gradle/caches/*" << "{home}/.gradle/caches" << true;
        QTest::newRow("prefix rule on a sibling") << "$HOME/Library/Caches/JetBrains*" << "{home}/Library/Caches/app"
                                                  << false;
        QTest::newRow("glob whose star may reach in") << "$HOME/Library/Caches/build-*/cache"
                                                      << "{home}/Library/Caches/build-42" << true;
        QTest::newRow("glob that cannot reach in") << "$HOME/Library/Logs/*/cache" << "{home}/Library/Caches/app"
                                                   << false;
        QTest::newRow("finder metadata is not a path") << "FINDER_METADATA" << "{home}/Library/Caches/app"
                                                       << false;
    }
    void protectsSomethingBelow()
    {
        QFETCH(QString, entry);
        QFETCH(QString, folder);
        QFETCH(bool, below);
        QCOMPARE(CleanWhitelistMatcher::protectsSomethingBelow(expand(folder), {entry}, m_home), below);
    }

    void emptyListProtectsNothing()
    {
        QVERIFY(!CleanWhitelistMatcher::isProtected(m_home + QStringLiteral("/a"), {}, m_home));
    }
};

KELVO_REGISTER_TEST(CleanWhitelistMatcherTest)
#include "tst_CleanWhitelistMatcher.moc"
