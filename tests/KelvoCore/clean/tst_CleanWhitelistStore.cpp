// The protection list file: where it lives, how it is read and written, and how failures surface.
#include "TestMain.h"

#include "clean/CleanWhitelistStore.h"
#include "platform/DefaultsStore.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <unistd.h>

namespace {

const QByteArray header = "# Kelvo Whitelist - Protected paths won't be deleted\n"
                          "# Add one path or pattern per line to keep it safe.\n"
                          "\n";

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isRoot()
{
    return geteuid() == 0;
}

} // namespace

class CleanWhitelistStoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_home;

    QString ownFile() const { return m_home + QStringLiteral("/.config/kelvo/whitelist"); }
    QString legacyFile() const { return m_home + QStringLiteral("/.config/tarn/whitelist"); }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        m_home = m_root->filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(m_home));
        AppLocalization::savePreference(AppLanguagePreference::english, *DefaultsStore::open());
    }

    void cleanup()
    {
        // Give back the write permission a test took away, so the folder can be removed.
        const QString kelvoFolder = m_home + QStringLiteral("/.config/kelvo");
        if (QFileInfo(kelvoFolder).isDir())
            QFile::setPermissions(kelvoFolder,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_root.reset();
        DefaultsStore::open()->remove(AppLocalization::preferenceKey());
    }

    void locations_data()
    {
        QTest::addColumn<QString>("homeSuffix");

        QTest::newRow("plain home") << "";
        QTest::newRow("home with trailing separator") << "/";
    }

    void locations()
    {
        QFETCH(QString, homeSuffix);

        QCOMPARE(CleanWhitelistStore::configURL(m_home + homeSuffix), ownFile());
        QCOMPARE(CleanWhitelistStore::legacyConfigURL(m_home + homeSuffix), legacyFile());
    }

    void defaultsAreTheShippedList()
    {
        const QStringList& defaults = CleanWhitelistStore::defaultPatterns();
        QCOMPARE(defaults.size(), 21);
        QCOMPARE(defaults.first(), QStringLiteral("$HOME/Library/Caches/ms-playwright*"));
        QCOMPARE(defaults.last(), QStringLiteral("FINDER_METADATA"));
        // Both spellings of the Spotlight cache, since matching is case-sensitive.
        QVERIFY(defaults.contains(QStringLiteral("$HOME/Library/Caches/com.apple.spotlight*")));
        QVERIFY(defaults.contains(QStringLiteral("$HOME/Library/Caches/com.apple.Spotlight*")));
        QCOMPARE(CleanWhitelistStore::deduplicated(defaults), defaults);
        QCOMPARE(CleanWhitelistStore::parse(CleanWhitelistStore::serialize({defaults})), defaults);
    }

    void textIsParsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("header only") << QString::fromUtf8(header) << QStringList{};
        QTest::newRow("trimming, comments and repeats") << "  foo  \nfoo\n#bar\n  #baz\n\n"
                                                        << QStringList{"foo"};
        QTest::newRow("tabs are trimmed") << "\t/a/b\t\n" << QStringList{"/a/b"};
        QTest::newRow("inner spaces kept") << "$HOME/Library/Application Support/x\n"
                                           << QStringList{"$HOME/Library/Application Support/x"};
        QTest::newRow("a later # belongs to the entry") << "/a/b#c\n/d # note\n"
                                                        << QStringList{"/a/b#c", "/d # note"};
        QTest::newRow("CRLF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("CR alone") << "a\rb" << QStringList{"a", "b"};
        QTest::newRow("every other line break") << QStringLiteral("a\u000Bb\u000Cc\u0085d\u2028e\u2029f")
                                                << QStringList{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("no final line feed") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("first of repeats kept in order") << "b\na\nb\nc\na\n" << QStringList{"b", "a", "c"};
        QTest::newRow("repeats after trimming") << " a\na \n" << QStringList{"a"};
        QTest::newRow("different case is no repeat") << "/A\n/a\n" << QStringList{"/A", "/a"};
        QTest::newRow("unicode") << QStringLiteral("~/文档/项目\n")
                                 << QStringList{QStringLiteral("~/文档/项目")};
    }

    void textIsParsed()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);

        QCOMPARE(CleanWhitelistStore::parse(text), entries);
    }

    void filesAreLoaded_data()
    {
        QTest::addColumn<bool>("hasOwnFile");
        QTest::addColumn<QByteArray>("ownContents");
        QTest::addColumn<bool>("hasLegacyFile");
        QTest::addColumn<QByteArray>("legacyContents");
        QTest::addColumn<QStringList>("entries"); // empty: the defaults

        QTest::newRow("no file") << false << QByteArray() << false << QByteArray() << QStringList{};
        QTest::newRow("own file") << true << header + "/own\n"
                                  << false << QByteArray() << QStringList{"/own"};
        QTest::newRow("legacy fallback")
            << false << QByteArray() << true << QByteArray("/legacy\n/x\n") << QStringList{"/legacy", "/x"};
        QTest::newRow("own file wins")
            << true << QByteArray("/own\n") << true << QByteArray("/legacy\n") << QStringList{"/own"};
        QTest::newRow("header-only own file gives defaults")
            << true << header << true << QByteArray("/legacy\n") << QStringList{};
        QTest::newRow("empty own file gives defaults")
            << true << QByteArray() << false << QByteArray() << QStringList{};
        QTest::newRow("comment-only legacy file gives defaults")
            << false << QByteArray() << true << QByteArray("# old\n\n") << QStringList{};
        QTest::newRow("CRLF file") << true << QByteArray("# c\r\n/a\r\n/b\r\n") << false << QByteArray()
                                   << QStringList{"/a", "/b"};
        QTest::newRow("byte-order mark")
            << true << QByteArray("\xEF\xBB\xBF/a\n") << false << QByteArray() << QStringList{"/a"};
    }

    void filesAreLoaded()
    {
        QFETCH(bool, hasOwnFile);
        QFETCH(QByteArray, ownContents);
        QFETCH(bool, hasLegacyFile);
        QFETCH(QByteArray, legacyContents);
        QFETCH(QStringList, entries);

        if (hasOwnFile)
            QVERIFY(writeFile(ownFile(), ownContents));
        if (hasLegacyFile)
            QVERIFY(writeFile(legacyFile(), legacyContents));

        const CleanWhitelistState state = CleanWhitelistStore::load(m_home);
        QCOMPARE(state.patterns, entries.isEmpty() ? CleanWhitelistStore::defaultPatterns() : entries);
    }

    void loadingWritesNothing()
    {
        CleanWhitelistStore::load(m_home);
        QVERIFY(!QFileInfo::exists(m_home + QStringLiteral("/.config")));
    }

    void savingLeavesTheLegacyFileAlone()
    {
        const QByteArray legacy = "# tarn\n/legacy/one\n/legacy/two\n";
        QVERIFY(writeFile(legacyFile(), legacy));

        CleanWhitelistState state = CleanWhitelistStore::load(m_home);
        state.patterns << QStringLiteral("/added");
        CleanWhitelistStore::save(state, m_home);

        QCOMPARE(readFile(legacyFile()), legacy);
        QCOMPARE(readFile(ownFile()), header + "/legacy/one\n/legacy/two\n/added\n");
        // From now on the program's own file is the one that counts.
        QVERIFY(writeFile(legacyFile(), "/changed/later\n"));
        QCOMPARE(CleanWhitelistStore::load(m_home).patterns,
                 (QStringList{"/legacy/one", "/legacy/two", "/added"}));
    }

    void savedBytesAreExact_data()
    {
        QTest::addColumn<QStringList>("patterns");
        QTest::addColumn<QByteArray>("contents");

        QTest::newRow("trimmed, blank dropped, repeats dropped")
            << QStringList{"a", " a ", "", "b"} << header + "a\nb\n";
        QTest::newRow("nothing to protect") << QStringList{} << header;
        QTest::newRow("only blanks") << QStringList{" ", "\t", "\n"} << header;
        QTest::newRow("inner spaces and hashes kept")
            << QStringList{"\t$HOME/Library/Application Support/x # y\r"}
            << header + "$HOME/Library/Application Support/x # y\n";
        QTest::newRow("order kept") << QStringList{"/z", "/a", "/m"} << header + "/z\n/a\n/m\n";
        QTest::newRow("UTF-8 without byte-order mark")
            << QStringList{QStringLiteral("~/文档")} << header + QStringLiteral("~/文档\n").toUtf8();
    }

    void savedBytesAreExact()
    {
        QFETCH(QStringList, patterns);
        QFETCH(QByteArray, contents);

        QCOMPARE(CleanWhitelistStore::serialize({patterns}).toUtf8(), contents);
        CleanWhitelistStore::save({patterns}, m_home);
        QCOMPARE(readFile(ownFile()), contents);
    }

    void savedStateLoadsBack_data()
    {
        QTest::addColumn<QStringList>("patterns");

        QTest::newRow("defaults") << CleanWhitelistStore::defaultPatterns();
        QTest::newRow("one entry") << QStringList{"~/Projects"};
        QTest::newRow("entry with spaces") << QStringList{"$HOME/Library/Mobile Documents*", "/tmp/*/cache"};
    }

    void savedStateLoadsBack()
    {
        QFETCH(QStringList, patterns);

        QVERIFY(writeFile(ownFile(), "/previous\n/content\n"));
        CleanWhitelistStore::save({patterns}, m_home);
        QCOMPARE(CleanWhitelistStore::load(m_home).patterns, patterns);
    }

    void unreadableFilesThrow_data()
    {
        QTest::addColumn<QString>("situation");

        QTest::newRow("not UTF-8") << "not utf-8";
        QTest::newRow("legacy file not UTF-8") << "legacy not utf-8";
        QTest::newRow("own file is a folder") << "own folder";
        QTest::newRow("legacy file is a folder") << "legacy folder";
        QTest::newRow("no read permission") << "no permission";
    }

    void unreadableFilesThrow()
    {
        QFETCH(QString, situation);

        if (situation == QLatin1String("not utf-8")) {
            QVERIFY(writeFile(ownFile(), "/ok\n/caf\xE9\n"));
        } else if (situation == QLatin1String("legacy not utf-8")) {
            QVERIFY(writeFile(legacyFile(), "\xFF\xFE/x\n"));
        } else if (situation == QLatin1String("own folder")) {
            QVERIFY(QDir().mkpath(ownFile()));
        } else if (situation == QLatin1String("legacy folder")) {
            QVERIFY(QDir().mkpath(legacyFile()));
        } else {
            if (isRoot())
                QSKIP("root can read any file");
            QVERIFY(writeFile(ownFile(), "/a\n"));
            QVERIFY(QFile::setPermissions(ownFile(), QFileDevice::Permissions()));
        }

        try {
            CleanWhitelistStore::load(m_home);
            QFAIL("load should have thrown");
        } catch (const KelvoError& error) {
            QVERIFY(!error.description().isEmpty());
        }
    }

    void failedSavesKeepThePreviousFile_data()
    {
        QTest::addColumn<QString>("situation");

        QTest::newRow("kelvo folder is a file") << "folder is a file";
        QTest::newRow("config folder is a file") << "config is a file";
        QTest::newRow("list path is a folder") << "list is a folder";
        QTest::newRow("read-only kelvo folder") << "read-only";
    }

    void failedSavesKeepThePreviousFile()
    {
        QFETCH(QString, situation);

        const QString blocker = situation == QLatin1String("config is a file")
                                    ? m_home + QStringLiteral("/.config")
                                    : m_home + QStringLiteral("/.config/kelvo");
        QString survivor; // what must still be there, unchanged
        QByteArray survivorContents;
        if (situation == QLatin1String("folder is a file") ||
            situation == QLatin1String("config is a file")) {
            QVERIFY(writeFile(blocker, "not a folder\n"));
            survivor = blocker;
            survivorContents = "not a folder\n";
        } else if (situation == QLatin1String("list is a folder")) {
            QVERIFY(QDir().mkpath(ownFile()));
            QVERIFY(writeFile(ownFile() + QStringLiteral("/inside"), "kept\n"));
            survivor = ownFile() + QStringLiteral("/inside");
            survivorContents = "kept\n";
        } else {
            if (isRoot())
                QSKIP("root writes into read-only folders");
            survivorContents = header + "/previous\n";
            QVERIFY(writeFile(ownFile(), survivorContents));
            survivor = ownFile();
            QVERIFY(QFile::setPermissions(blocker, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }

        try {
            CleanWhitelistStore::save({{QStringLiteral("/new")}}, m_home);
            QFAIL("save should have thrown");
        } catch (const KelvoError& error) {
            QVERIFY(!error.description().isEmpty());
        }
        QCOMPARE(readFile(survivor), survivorContents);
    }

    void folderErrorIsInTheDisplayLanguage()
    {
        QVERIFY(writeFile(m_home + QStringLiteral("/.config/kelvo"), "not a folder\n"));
        QString english;
        QString chinese;
        try {
            CleanWhitelistStore::save({{QStringLiteral("/a")}}, m_home);
        } catch (const KelvoError& error) {
            english = error.description();
        }
        AppLocalization::savePreference(AppLanguagePreference::chinese, *DefaultsStore::open());
        try {
            CleanWhitelistStore::save({{QStringLiteral("/a")}}, m_home);
        } catch (const KelvoError& error) {
            chinese = error.description();
        }
        QVERIFY(!english.isEmpty());
        QVERIFY(!chinese.isEmpty());
        QVERIFY(english != chinese);
    }
};

KELVO_REGISTER_TEST(CleanWhitelistStoreTest)
#include "tst_CleanWhitelistStore.moc"
