// Small platform services: path text as every guard compares it, text files read fail-safe and
// written whole or not at all, stored values read strictly, helper tools run with an end to one
// that hangs, and the colour scheme in effect for the user's choice and the desktop's preference.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/DefaultsStore.h"
#include "platform/LanguagePreferenceStore.h"
#include "platform/SystemColorScheme.h"
#include "platform/TextFile.h"
#include "platform/ToolRunner.h"
#include "platform/UserDirs.h"
#include "vocabulary/KelvoError.h"

#include <QSettings>

#include <sys/stat.h>

using namespace SyntheticHome;
using namespace TestSupport;
using namespace std::chrono_literals;

class TestPlatformServices : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    // The portal's value (1 dark, 2 light, 0 no preference) and the choice decide the scheme.
    void colorSchemeFollowsTheChoice_data()
    {
        columns<QString, QVariant, bool>("choice", "portalValue", "dark");
        row("system on a dark desktop", "system", QVariant(1u), true);
        row("system on a light desktop", "system", QVariant(2u), false);
        row("system without a preference", "system", QVariant(0u), false);
        row("system without an answer", "system", QVariant(), false);
        row("system with a value of another kind", "system", QVariant("1"), false);
        row("system with an unknown value", "system", QVariant(7u), false);
        row("light on a dark desktop", "light", QVariant(1u), false);
        row("dark on a light desktop", "dark", QVariant(2u), true);
        row("an unknown choice follows the system", "sepia", QVariant(1u), true);
    }
    void colorSchemeFollowsTheChoice()
    {
        const auto [choice, portalValue, dark] =
            fetch<QString, QVariant, bool>("choice", "portalValue", "dark");
        QCOMPARE(SystemColorScheme::isDark(choice, SystemColorScheme::portalValuePrefersDark(portalValue)),
                 dark);
    }

    // A list file that is anything but readable UTF-8 text of a sane size is refused, saying why, and
    // nothing at the path may hang or flood the reader. Only nothing at all reads as no list.
    void listFilesFailSafe_data()
    {
        columns<QString, QByteArray, QString>("kind", "bytes", "why"); // why: part of the message
        row("a GBK comment on line 3", "text", QByteArray("~/a\n~/b\n# \xb1\xa3\xbb\xa4\n"),
            "line 3 is not UTF-8");
        row("truncated sequence", "text", QByteArray("\xe4\xbf"), "line 1 is not UTF-8");
        row("larger than 1 MB", "text", QByteArray(TextFile::listFileMaxBytes + 1, 'a'), "larger than 1 MB");
        row("a folder", "folder", QByteArray(), "it is a folder");
        row("a FIFO", "fifo", QByteArray(), "not a regular file");
        row("a link to /dev/zero", "zero", QByteArray(), "not a regular file");
        row("a dangling link", "dangling", QByteArray(), "no longer exists");
    }
    void listFilesFailSafe()
    {
        const auto [kind, bytes, why] = fetch<QString, QByteArray, QString>("kind", "bytes", "why");
        const QString path = m_dir.filePath(QTest::currentDataTag());
        if (kind == "text")
            write(path, bytes);
        else if (kind == "folder")
            folder(path);
        else if (kind == "fifo")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else
            link(kind == "zero" ? "/dev/zero" : m_dir.filePath("nothing"), path);
        const QString text = failure([&] { TextFile::readListFile(path); });
        QVERIFY2(text.contains(path) && text.contains(why), qPrintable(text));
        QVERIFY(!TextFile::readListFile(m_dir.filePath("missing")));
    }

    // Kelvo's settings are written below the home folder, replacing the file whole with no temporary
    // file left, and with no link on the way or at the file: a link, a folder at the name or a folder
    // that cannot be written refuses the write, naming what stood there, and every byte in and
    // outside the home stays as it was.
    void writesBelowTheHome_data()
    {
        columns<QString, QString, QString>("target", "link", "named"); // link: below the home, to the outside
        row("replaced", ".config/kelvo/list", "", "");
        row("settings folder a link", ".config/kelvo/list", ".config/kelvo", "“~/.config/kelvo” is a link");
        row("~/.config a link", ".config/kelvo/list", ".config", "“~/.config” is a link");
        row("the file a link", ".config/kelvo/list", ".config/kelvo/list",
            "“~/.config/kelvo/list” is a link");
        row("a folder at the name", "folder", "", "it is a folder");
        row("a read-only folder", "locked/list", "", "“"); // as nobody, in either language
    }
    void writesBelowTheHome()
    {
        const auto [target, linkPath, named] = fetch<QString, QString, QString>("target", "link", "named");
        const QString box = m_dir.filePath(QTest::currentDataTag());
        const QString home = box + "/home";
        for (const char* kept : {"outside/list", "outside/kelvo/list", "home/folder/inner",
                                 "home/locked/list", "home/.config/kelvo/list"})
            write(box + "/" + QString(kept), "previous\n");
        if (!linkPath.isEmpty()) {
            QDir(home + "/" + linkPath).removeRecursively();
            QFile::remove(home + "/" + linkPath);
            link(box + (linkPath.endsWith("list") ? "/outside/list" : "/outside"), home + "/" + linkPath);
        }
        const ReadOnly locked(home + "/locked");
        QMap<QString, QByteArray> expected = tree(box);
        if (named.isEmpty())
            expected[QString("home/") + target] = "一\n";
        const auto refused = [&, target = target, named = named] {
            const QString why =
                failure([&] { TextFile::writeUtf8Atomically(home, home + "/" + target, "一\n"); });
            return why.isEmpty() == named.isEmpty() && why.contains(named);
        };
        QVERIFY(target.startsWith("locked") ? asUnprivileged(box, refused) : refused());
        QCOMPARE(tree(box), expected);
    }

    // A CR LF pair leaves an empty line between its halves for the caller to drop.
    void linesSplitAtEveryLineBreak()
    {
        QCOMPARE(TextFile::lines("a\nb\rc\r\nd\u2028e\u2029f\u0085g\vh\fi"),
                 (QStringList{"a", "b", "c", "", "d", "e", "f", "g", "h", "i"}));
        QCOMPARE(TextFile::lines("one"), QStringList{"one"});
        QCOMPARE(TextFile::lines("end\n"), (QStringList{"end", ""}));
    }

    // A value of the wrong type reads as its default, whatever wrote it: typed values as the macOS
    // defaults keep them (a store's own values until it is read again), and text as an INI file keeps
    // every value.
    void storedValues_data()
    {
        // stored: a QByteArray is the value's text in a file written by hand; asBool: -1 for the fallback
        columns<QVariant, double, qint64, int, QString>("stored", "asDouble", "asInt64", "asBool",
                                                        "asString");
        row("missing", QVariant(), -1.0, qint64(-1), -1, "fallback");
        row("integer", QVariant(qint64(5'000'000'000'000)), 5e12, qint64(5'000'000'000'000), -1, "fallback");
        row("fraction", QVariant(12.5), 12.5, qint64(-1), -1, "fallback");
        row("integral double", QVariant(7.0), 7.0, qint64(7), -1, "fallback");
        row("true", QVariant(true), -1.0, qint64(-1), 1, "fallback");
        row("list", QVariant(QStringList{"a", "b"}), -1.0, qint64(-1), -1, "fallback");
        const auto text = [](const char* tag, const char* value, double asDouble, qint64 asInt64,
                             int asBool) {
            QTest::addRow("text: %s", tag)
                << QVariant(QByteArray(value)) << asDouble << asInt64 << asBool << QString::fromUtf8(value);
        };
        text("integer", "42", 42.0, 42, -1);
        text("fraction", "12.5", 12.5, -1, -1);
        text("false", "false", -1.0, -1, 0);
        text("capitalised", "True", -1.0, -1, -1);
        // Numbers that are no number: never a date or a count, never cast.
        text("nan", "nan", -1.0, -1, -1);
        text("huge", "1e300", 1e300, -1, -1);
    }
    void storedValues()
    {
        const auto [stored, asDouble, asInt64, asBool, asString] =
            fetch<QVariant, double, qint64, int, QString>("stored", "asDouble", "asInt64", "asBool",
                                                          "asString");
        const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".ini");
        if (stored.typeId() == QMetaType::QByteArray)
            write(file, "[General]\nkey=" + stored.toByteArray() + "\n");
        QSettings reader(file, QSettings::IniFormat);
        if (stored.isValid() && stored.typeId() != QMetaType::QByteArray)
            reader.setValue("key", stored);
        QCOMPARE(DefaultsStore::readDouble(reader, "key", -1), asDouble);
        QCOMPARE(DefaultsStore::readInt64(reader, "key", -1), asInt64);
        QCOMPARE(DefaultsStore::readBool(reader, "key", true), asBool == -1 ? true : asBool == 1);
        QCOMPARE(DefaultsStore::readBool(reader, "key", false), asBool == -1 ? false : asBool == 1);
        QCOMPARE(DefaultsStore::readString(reader, "key", "fallback"), asString);
    }

    void theDefaultsStoreUsesTheRedirectedFile()
    {
        const QString file = m_dir.filePath("redirected.ini");
        DefaultsStore::useFile(file);
        DefaultsStore::open()->setValue("marker", 3);
        QCOMPARE(QSettings(file, QSettings::IniFormat).value("marker").toInt(), 3);
        DefaultsStore::useFile(qEnvironmentVariable("KELVO_DEFAULTS_FILE"));
    }

    // Saved choices replace each other; only the exact words count when read, anything else stored
    // under the key reads as the system's choice.
    void thePreferenceIsStoredStrictly()
    {
        QSettings store(m_dir.filePath("language.ini"), QSettings::IniFormat);
        QCOMPARE(LanguagePreferenceStore::load(store), AppLanguagePreference::system);
        for (auto preference : {AppLanguagePreference::chinese, AppLanguagePreference::system,
                                AppLanguagePreference::english}) {
            LanguagePreferenceStore::save(preference, store);
            QCOMPARE(LanguagePreferenceStore::load(store), preference);
        }
        QCOMPARE(store.value(LanguagePreferenceStore::key()), QVariant("english"));
        for (const QVariant& other :
             {QVariant("Chinese"), QVariant(" english"), QVariant(1), QVariant(QStringList{"chinese"})}) {
            store.setValue(LanguagePreferenceStore::key(), other);
            QCOMPARE(LanguagePreferenceStore::load(store), AppLanguagePreference::system);
        }
    }

    // Only a tool given by its absolute path runs; its standard output is read whole, its error output
    // never mixed in, its exit status kept.
    void toolsRun_data()
    {
        // exitCode: -1 when not started; lines: of standard output
        columns<QString, QStringList, int, int>("program", "arguments", "exitCode", "lines");
        const QString sh = "/bin/sh";
        row("exit status kept", sh, QStringList{"-c", "echo partial; exit 3"}, 3, 1);
        row("stderr drained, not mixed in", sh, QStringList{"-c", "echo out; echo err >&2"}, 0, 1);
        row("large output is not cut short", sh, QStringList{"-c", "seq 20000"}, 0, 20000);
        row("the system's PATH, not the user's", sh,
            QStringList{"-c", "[ \"$PATH\" = /usr/bin:/bin:/usr/sbin:/sbin ]"}, 0, 0);
        row("missing tool", "/usr/sbin/no-such-tool", QStringList{}, -1, 0);
        row("relative path refused", "echo", QStringList{"x"}, -1, 0);
    }
    void toolsRun()
    {
        const auto [program, arguments, exitCode, lines] =
            fetch<QString, QStringList, int, int>("program", "arguments", "exitCode", "lines");
        const ToolRunner::Result result = ToolRunner::run({program, arguments, std::nullopt});
        QCOMPARE(result.started, exitCode >= 0);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.standardOutput.count('\n'), lines);
        QCOMPARE(result.succeeded(), exitCode == 0);
    }

    // What a hung tool wrote before its end is kept.
    void aHungToolIsEndedAtItsTimeLimit()
    {
        const ToolRunner::Result result =
            ToolRunner::run({"/bin/sh", {"-c", "echo partial; exec sleep 30"}, 1000ms});
        QVERIFY(result.started && result.timedOut && !result.succeeded());
        QCOMPARE(result.standardOutput, QByteArray("partial\n"));
    }
    // The user-dirs file only says where to look: what it cannot name usably falls back to the
    // usual folder instead of widening the search to the home folder or the whole disk.
    void userDirs_data()
    {
        columns<QByteArray, QString, QString>("file", "download", "desktop"); // relative to the home
        row("missing key and comment",
            QByteArray("#XDG_DOWNLOAD_DIR=\"$HOME/x\"\nXDG_DESKTOP_DIR=\"$HOME/D\""), "Downloads", "D");
        row("$HOME alone turns a folder off",
            QByteArray("XDG_DOWNLOAD_DIR=\"$HOME/\"\nXDG_DESKTOP_DIR=\"$HOME\""), "Downloads", "Desktop");
        row("absolute outside, root and relative",
            QByteArray("XDG_DOWNLOAD_DIR=\"/srv/dl\"\nXDG_DESKTOP_DIR=\"/\"\n"
                       "XDG_DOCUMENTS_DIR=\"docs\""),
            "/srv/dl", "Desktop");
        row("a ':' path is not from the root",
            QByteArray("XDG_DOWNLOAD_DIR=\":x/..\"\nXDG_DESKTOP_DIR=\":/srv\""), "Downloads", "Desktop");
        row("another variable", QByteArray("XDG_DOWNLOAD_DIR=\"$HOMEPATH/dl\""), "Downloads", "Desktop");
        row("not UTF-8", QByteArray("XDG_DOWNLOAD_DIR=\"$HOME/\xcf\xc2\xd4\xd8\"\n"), "Downloads", "Desktop");
    }
    void userDirs()
    {
        const auto [file, download, desktop] =
            fetch<QByteArray, QString, QString>("file", "download", "desktop");
        const QString home = m_dir.path() + "/home";
        write(home + "/.config/user-dirs.dirs", file);
        const UserDirs::Folders folders = UserDirs::read(home, home + "/.config");
        const auto expected = [&](const QString& name) {
            return name.startsWith('/') ? name : home + '/' + name;
        };
        QCOMPARE(folders.download, expected(download));
        QCOMPARE(folders.desktop, expected(desktop));
        QCOMPARE(folders.documents, home + "/Documents");
        QCOMPARE(folders.others[1], home + "/Pictures");
        QCOMPARE(UserDirs::read(m_dir.path() + "/nobody", m_dir.path() + "/nobody/.config"),
                 UserDirs::defaults(m_dir.path() + "/nobody"));
    }
};

KELVO_REGISTER_TEST(TestPlatformServices)
#include "tst_PlatformServices.moc"
