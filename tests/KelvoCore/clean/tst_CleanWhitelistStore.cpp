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
        QFile::setPermissions(m_home + QStringLiteral("/.config/kelvo"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_root.reset();
        DefaultsStore::open()->remove(AppLocalization::preferenceKey());
    }

    void locations()
    {
        for (const QString& suffix : {QString(), QStringLiteral("/")}) {
            QCOMPARE(CleanWhitelistStore::configURL(m_home + suffix), ownFile());
            QCOMPARE(CleanWhitelistStore::legacyConfigURL(m_home + suffix), legacyFile());
        }
    }

    void defaultsAreTheShippedList()
    {
        const QStringList& defaults = CleanWhitelistStore::defaultPatterns();
        QCOMPARE(defaults.size(), 21);
        // Both spellings of the Spotlight cache, since matching is case-sensitive.
        QVERIFY(defaults.contains(QStringLiteral("$HOME/Library/Caches/com.apple.spotlight*")));
        QVERIFY(defaults.contains(QStringLiteral("$HOME/Library/Caches/com.apple.Spotlight*")));
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
            QVERIFY(writeFile(ownFile(), own));
        if (!legacy.isNull())
            QVERIFY(writeFile(legacyFile(), legacy));

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
        QTest::newRow("trimmed, blank dropped, repeats dropped, order kept")
            << QStringList{"b", " b ", "", "\t", "a"} << header + "b\na\n"
            << QStringList{"b", "a"};
        QTest::newRow("nothing to protect") << QStringList{} << header << QStringList{};
        QTest::newRow("UTF-8 without byte-order mark")
            << QStringList{QStringLiteral("~/文档")} << header + QStringLiteral("~/文档\n").toUtf8()
            << QStringList{QStringLiteral("~/文档")};
        QTest::newRow("defaults") << defaults << header + defaults.join(QLatin1Char('\n')).toUtf8() + "\n"
                                  << defaults;
    }

    void savedFilesAreExactAndLoadBack()
    {
        QFETCH(QStringList, patterns);
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, loaded);

        const QByteArray legacy = "# tarn\n/legacy\n";
        QVERIFY(writeFile(legacyFile(), legacy));
        // The first save makes the file, the second replaces it.
        CleanWhitelistStore::save({patterns}, m_home);
        CleanWhitelistStore::save({patterns}, m_home);
        QCOMPARE(readFile(ownFile()), contents);
        QCOMPARE(readFile(legacyFile()), legacy);
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
        QTest::newRow("load: not UTF-8") << false << own << QByteArray("/ok\n/caf\xE9\n") << false;
        QTest::newRow("load: legacy file not UTF-8")
            << false << ".config/tarn/whitelist" << QByteArray("\xFF\xFE/x\n") << false;
        QTest::newRow("load: own file is a folder") << false << own << QByteArray() << false;
        QTest::newRow("save: kelvo folder is a file")
            << true << ".config/kelvo" << QByteArray("x\n") << false;
        QTest::newRow("save: list path is a folder") << true << own << QByteArray() << false;
        QTest::newRow("save: read-only kelvo folder") << true << own << header + "/previous\n" << true;
    }

    void failuresThrowAndKeepTheFiles()
    {
        QFETCH(bool, save);
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readOnly);

        path = m_home + QLatin1Char('/') + path;
        QVERIFY(bytes.isNull() ? QDir().mkpath(path) : writeFile(path, bytes));
        if (readOnly && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        if (readOnly)
            QVERIFY(QFile::setPermissions(QFileInfo(path).path(),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));

        // The error reads in the display language.
        QStringList errors;
        for (AppLanguagePreference language :
             {AppLanguagePreference::english, AppLanguagePreference::chinese}) {
            AppLocalization::savePreference(language, *DefaultsStore::open());
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
            QCOMPARE(readFile(path), bytes);
    }
};

KELVO_REGISTER_TEST(CleanWhitelistStoreTest)
#include "tst_CleanWhitelistStore.moc"
