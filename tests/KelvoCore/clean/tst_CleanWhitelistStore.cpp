// The protection list file: where it lives, how it is read and written, and how failures surface.
#include "TestMain.h"

#include "Language.h"
#include "SyntheticHome.h"

#include "clean/CleanWhitelistStore.h"
#include "vocabulary/KelvoError.h"

using namespace SyntheticHome;
using namespace TestSupport;

namespace {

const QByteArray header = "# Kelvo Whitelist - Protected paths won't be deleted\n"
                          "# Add one path or pattern per line to keep it safe.\n"
                          "\n";

} // namespace

class CleanWhitelistStoreTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    QString ownFile() const { return m_home + QStringLiteral("/.config/kelvo/whitelist"); }
    QString legacyFile() const { return m_home + QStringLiteral("/.config/tarn/whitelist"); }

private slots:
    void init() { m_home = m_box.renew(); }

    void locations()
    {
        for (const QString& suffix : {QString(), QStringLiteral("/")}) {
            QCOMPARE(CleanWhitelistStore::configURL(m_home + suffix), ownFile());
            QCOMPARE(CleanWhitelistStore::legacyConfigURL(m_home + suffix), legacyFile());
        }
    }

    void filesAreLoaded_data()
    {
        QTest::addColumn<QByteArray>("own");      // null: no file
        QTest::addColumn<QByteArray>("legacy");   // null: no file
        QTest::addColumn<QStringList>("entries"); // empty: the defaults

        const auto row = [](const char* name, const QByteArray& own, const QByteArray& legacy,
                            const QStringList& entries) { QTest::newRow(name) << own << legacy << entries; };
        const QByteArray none;
        row("no file", none, none, {});
        row("own file", header + "/own\n", none, {"/own"});
        row("legacy fallback", none, "/legacy\n/x\n", {"/legacy", "/x"});
        row("own file wins", "/own\n", "/legacy\n", {"/own"});
        row("header-only own file gives defaults", header, "/legacy\n", {});
        row("empty own file gives defaults", "", none, {});
        row("byte-order mark", "\xEF\xBB\xBF/a\n", none, {"/a"});
        row("trimming, comments and repeats", "  foo  \n\tfoo\n#bar\n  #baz\n\n/x", none, {"foo", "/x"});
        row("inner spaces and a later # belong to the entry", "$HOME/Application Support/x\n/a/b#c\n/d # e",
            none, {"$HOME/Application Support/x", "/a/b#c", "/d # e"});
        row("CRLF", "a\r\nb\r\n", none, {"a", "b"});
        row("every other line break", QStringLiteral("a\rb\u000Bc\u000Cd\u0085e\u2028f\u2029g").toUtf8(),
            none, {"a", "b", "c", "d", "e", "f", "g"});
        row("first of repeats kept in order", "b\na\nb\nc\na\n", none, {"b", "a", "c"});
        row("different case is no repeat", "/A\n/a\n", none, {"/A", "/a"});
    }

    void filesAreLoaded()
    {
        QFETCH(QByteArray, own);
        QFETCH(QByteArray, legacy);
        QFETCH(QStringList, entries);

        if (!own.isNull())
            write(ownFile(), own);
        if (!legacy.isNull())
            write(legacyFile(), legacy);

        QCOMPARE(CleanWhitelistStore::load(m_home).patterns,
                 entries.isEmpty() ? CleanWhitelistStore::defaultPatterns() : entries);
        // Loading writes nothing.
        QCOMPARE(QFileInfo::exists(ownFile()), !own.isNull());
        QCOMPARE(QFileInfo::exists(m_home + QStringLiteral("/.config")), !own.isNull() || !legacy.isNull());
    }

    void savedFilesAreExactAndLoadBack_data()
    {
        QTest::addColumn<QStringList>("patterns");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("loaded"); // empty: the defaults

        const QStringList& defaults = CleanWhitelistStore::defaultPatterns();
        row("trimmed, blank dropped, repeats dropped, order kept", QStringList{"b", " b ", "", "\t", "a"},
            header + "b\na\n", QStringList{"b", "a"});
        row("nothing to protect", QStringList{}, header, QStringList{});
        const QStringList chinese{QStringLiteral("~/文档")};
        row("UTF-8 without byte-order mark", chinese, header + QStringLiteral("~/文档\n").toUtf8(), chinese);
        row("defaults", defaults, header + defaults.join(QLatin1Char('\n')).toUtf8() + "\n", defaults);
    }

    void savedFilesAreExactAndLoadBack()
    {
        QFETCH(QStringList, patterns);
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, loaded);

        const QByteArray legacy = "# tarn\n/legacy\n";
        write(legacyFile(), legacy);
        // The first save makes the file, the second replaces it.
        CleanWhitelistStore::save({patterns}, m_home);
        CleanWhitelistStore::save({patterns}, m_home);
        QCOMPARE(SyntheticHome::contents(ownFile()), contents);
        QCOMPARE(SyntheticHome::contents(legacyFile()), legacy);
        QCOMPARE(CleanWhitelistStore::load(m_home).patterns,
                 loaded.isEmpty() ? CleanWhitelistStore::defaultPatterns() : loaded);
    }

    void failuresThrowAndKeepTheFiles_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("path");     // in the home
        QTest::addColumn<QByteArray>("bytes"); // null: a folder in that place
        QTest::addColumn<bool>("readOnly");    // the folder holding path

        const QString own = QStringLiteral(".config/kelvo/whitelist");
        row("load: not UTF-8", false, own, QByteArray("/ok\n/caf\xE9\n"), false);
        row("load: legacy file not UTF-8", false, ".config/tarn/whitelist", QByteArray("\xFF\xFE/x\n"),
            false);
        row("load: own file is a folder", false, own, QByteArray(), false);
        row("save: kelvo folder is a file", true, ".config/kelvo", QByteArray("x\n"), false);
        row("save: list path is a folder", true, own, QByteArray(), false);
        row("save: read-only kelvo folder", true, own, QByteArray(header + "/previous\n"), true);
    }

    void failuresThrowAndKeepTheFiles()
    {
        QFETCH(bool, save);
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readOnly);

        if (readOnly)
            KELVO_SKIP_AS_ROOT();
        path = m_home + QLatin1Char('/') + path;
        QVERIFY(exists(bytes.isNull() ? folder(path) : write(path, bytes)));
        const ReadOnly locked(readOnly ? QFileInfo(path).path() : QString());

        // The error reads in the display language.
        QStringList errors;
        for (AppLanguagePreference language :
             {AppLanguagePreference::english, AppLanguagePreference::chinese}) {
            useLanguage(language);
            try {
                if (save)
                    CleanWhitelistStore::save({{QStringLiteral("/new")}}, m_home);
                else
                    CleanWhitelistStore::load(m_home);
                QFAIL("no error was thrown");
            } catch (const KelvoError& error) {
                errors << error.description();
            }
        }
        QVERIFY(!errors.first().isEmpty());
        QVERIFY(errors.first() != errors.last());
        if (bytes.isNull())
            QVERIFY(QFileInfo(path).isDir());
        else
            QCOMPARE(contents(path), bytes);
    }
};

KELVO_REGISTER_TEST(CleanWhitelistStoreTest)
#include "tst_CleanWhitelistStore.moc"
