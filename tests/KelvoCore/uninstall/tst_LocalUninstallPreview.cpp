#include "TestMain.h"

#include "Language.h"
#include "SyntheticHome.h"

#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/SizeText.h"

#include <QTimeZone>

#include <plist/plist.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

using namespace SyntheticHome;
using TestSupport::row;
using Metadata = LocalUninstallPreview::AppMetadata;
using Texts = QMap<QString, QString>;
using Answers = QMap<QString, QByteArray>;

namespace {

// An Info.plist written by libplist in the chosen form, so both readers meet real files.
QByteArray propertyList(const Texts& values, bool binary)
{
    plist_t dict = plist_new_dict();
    for (auto it = values.begin(); it != values.end(); ++it)
        plist_dict_set_item(dict, it.key().toUtf8().constData(),
                            plist_new_string(it.value().toUtf8().constData()));
    plist_dict_set_item(dict, "LSRequiresNativeExecution", plist_new_bool(1));
    char* data = nullptr;
    uint32_t length = 0;
    binary ? plist_to_bin(dict, &data, &length) : plist_to_xml(dict, &data, &length);
    const QByteArray bytes(data, static_cast<qsizetype>(length));
    std::free(data);
    plist_free(dict);
    return bytes;
}

QString bundle(const QString& folder, const QString& fileName, const QByteArray& info, qint64 binarySize = 10)
{
    const QString path = folder + "/" + fileName;
    file(path + "/Contents/MacOS/binary", binarySize);
    if (!info.isNull())
        write(path + "/Contents/Info.plist", info);
    return path;
}

void setAccessTime(const QString& path, qint64 seconds)
{
    const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {0, UTIME_OMIT}};
    QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
}

QDateTime utc(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

} // namespace

class TestLocalUninstallPreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_system = folder(m_box.path("Applications"));
    }

    void metadata_data()
    {
        QTest::addColumn<QByteArray>("info"); // null: no Info.plist at all
        QTest::addColumn<Metadata>("expected");
        const Texts all{{"CFBundleDisplayName", "Shown"},      {"CFBundleName", "Short"},
                        {"CFBundleExecutable", "exe"},         {"CFBundleIdentifier", "com.x.app"},
                        {"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "210"}};
        const Metadata full{"Shown", "com.x.app", "2.1"};
        QTest::newRow("xml: display name and short version first") << propertyList(all, false) << full;
        QTest::newRow("binary: the same") << propertyList(all, true) << full;
        QTest::newRow("empty texts are absent, next key used")
            << propertyList({{"CFBundleDisplayName", ""},
                             {"CFBundleName", " "},
                             {"CFBundleExecutable", "exe"},
                             {"CFBundleIdentifier", ""},
                             {"CFBundleShortVersionString", ""},
                             {"CFBundleVersion", "210"}},
                            true)
            << Metadata{"exe", std::nullopt, "210"};
        QTest::newRow("no name keys") << propertyList({{"CFBundleIdentifier", "id"}}, false)
                                      << Metadata{std::nullopt, "id", std::nullopt};
        QTest::newRow("non-text value ignored")
            << QByteArray(
                   "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleName</key>"
                   "<integer>7</integer><key>CFBundleExecutable</key><string>Tool</string></dict></plist>")
            << Metadata{"Tool", std::nullopt, std::nullopt};
        QTest::newRow("no Info.plist") << QByteArray() << Metadata{};
        QTest::newRow("empty file") << QByteArray("") << Metadata{};
        QTest::newRow("garbage") << QByteArray("\x01\x02not a plist at all") << Metadata{};
        QTest::newRow("truncated binary") << propertyList(all, true).left(40) << Metadata{};
        QTest::newRow("truncated xml") << propertyList(all, false).left(120) << Metadata{};
        QTest::newRow("root not a dictionary")
            << QByteArray(
                   "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>")
            << Metadata{};
        // A binary dictionary whose one key is UTF-16 text holding U+0000: walking it aborts inside
        // libplist; it is never walked.
        QTest::newRow("a key holding U+0000")
            << QByteArray("bplist00\xD1\x01\x02\x61\x00\x00\x51x\x08\x0B\x0E"
                          "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x10",
                          51)
            << Metadata{};
        // Deeper than any Info.plist: not read, rather than parsed one stack frame per level.
        QByteArray deep = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleName</key>"
                          "<string>Deep</string><key>x</key>";
        deep += QByteArray("<array>").repeated(20000) + QByteArray("</array>").repeated(20000) +
                "</dict></plist>";
        QTest::newRow("20,000 nested arrays") << deep << Metadata{};
    }
    void metadata()
    {
        QFETCH(QByteArray, info);
        QFETCH(Metadata, expected);
        const QString path = bundle(m_system, "Some Tool.app", info);
        QCOMPARE(LocalUninstallPreview::appMetadata(path), expected);
        // A bundle without usable metadata is still listed, under its file name.
        const UninstallPreviewReport report = scan({{m_system, "App"}});
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(report.entries[0].name, expected.displayName.value_or("Some Tool"));
        QCOMPARE(report.entries[0].uninstallName, QString("Some Tool"));
        QCOMPARE(report.entries[0].bundleID, expected.bundleID);
    }

    void iconFilePath_data()
    {
        QTest::addColumn<QString>("iconName");  // CFBundleIconFile; empty: not given
        QTest::addColumn<QString>("placed");    // what lies in Contents/Resources; empty: nothing
        QTest::addColumn<bool>("placedAsLink"); // placed is a link to a real icon elsewhere
        QTest::addColumn<QString>("expected");  // file name found; empty: none
        row("name without suffix", "AppIcon", "AppIcon.icns", false, "AppIcon.icns");
        row("name with suffix", "AppIcon.icns", "AppIcon.icns", false, "AppIcon.icns");
        row("other image suffix kept", "Icon.png", "Icon.png", false, "Icon.png");
        row("named but missing", "AppIcon", "", false, "");
        row("not named", "", "AppIcon.icns", false, "");
        row("a link is not followed", "AppIcon", "AppIcon.icns", true, "");
        row("a path leaving the bundle", "../../../outside.icns", "", false, "");
    }
    void iconFilePath()
    {
        QFETCH(QString, iconName);
        QFETCH(QString, placed);
        QFETCH(bool, placedAsLink);
        QFETCH(QString, expected);
        file(m_box.path("outside.icns"), 10);
        Texts keys{{"CFBundleName", "Tool"}};
        if (!iconName.isEmpty())
            keys.insert("CFBundleIconFile", iconName);
        const QString path = bundle(m_system, "Tool.app", propertyList(keys, true));
        const QString resources = path + "/Contents/Resources/";
        if (!placed.isEmpty() && placedAsLink)
            link(m_box.path("outside.icns"), resources + placed);
        else if (!placed.isEmpty())
            file(resources + placed, 10);
        const std::optional<QString> found = LocalUninstallPreview::iconFilePath(path);
        QCOMPARE(found.value_or(QString()), expected.isEmpty() ? QString() : resources + expected);
    }

    // Leftovers named after an app go with it; longer names that merely contain it are only offered,
    // and never for names so short or bare they would claim other apps' data.
    void leftoverMatches_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("appName");
        QTest::addColumn<QString>("bundleID");
        QTest::addColumn<QString>("match"); // "strong", "possible" or "none"
        row("identifier", "com.apple.Notes", "Notes", "com.apple.Notes", "strong");
        row("identifier plist", "com.apple.Notes.plist", "Notes", "com.apple.Notes", "strong");
        row("identifier and more", "com.apple.Notes.savedState", "Notes", "com.apple.Notes", "strong");
        row("group container, other case", "group.com.apple.notes", "Notes", "com.apple.Notes", "strong");
        row("the name itself, other case", "notes", "Notes", "com.apple.Notes", "strong");
        row("a longer name holding the name", "Research Notes", "Notes", "com.example.notes", "possible");
        row("a longer name holding the identifier", "ABCDE12345.com.example.notes", "Notes",
            "com.example.notes", "possible");
        row("another app's identifier", "com.apple.Safari", "Notes", "com.apple.Notes", "none");
        row("Arc and Apple's data", "com.apple.Safari.SearchHelper", "Arc", "company.thebrowser.Browser",
            "none");
        row("Arc and a longer name", "Parcel", "Arc", "company.thebrowser.Browser", "none");
        row("Arc itself", "Arc", "Arc", "company.thebrowser.Browser", "strong");
        row("an app called e", "Preferences.e", "e", "e", "none");
        row("an app called e, its own item", "e.plist", "e", "e", "strong");
        row("an app called .", "..plist", ".", ".", "none");
        row("an app called ., a dotted name", "com.example.x", ".", ".", "none");
        row("Apple's data for a name that is not Apple's", "com.apple.Notes", "Notes", "com.example.notes",
            "none");
        row("name split", "No tes", "Notes", "com.apple.Notes", "none");
    }
    void leftoverMatches()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, appName);
        QFETCH(QString, bundleID);
        QFETCH(QString, match);
        const auto found = LocalUninstallPreview::leftoverMatch(fileName, appName, bundleID);
        QCOMPARE(!found                                                   ? QString("none")
                 : *found == LocalUninstallPreview::LeftoverMatch::strong ? QString("strong")
                                                                          : QString("possible"),
                 match);
    }

    void leftoversInFolderOrderWithSizes()
    {
        const QString lib = m_home + "/Library/";
        const QString prefs = file(lib + "Preferences/com.apple.Notes.plist", 3000);
        const QString support = file(lib + "Application Support/Notes/db/store.sqlite", 9000);
        file(lib + "Application Support/Notes/db/.wal", 5000);
        link(m_box.path("outside"), lib + "Application Support/Notes/escape");
        file(m_box.path("outside/huge"), 800000);
        const QString group = folder(lib + "Group Containers/group.com.apple.notes");
        file(lib + "Caches/com.apple.Safari/x", 10);
        file(lib + "Elsewhere/Notes", 10); // not one of the nine folders
        file(lib + "Logs/Notes 2.log", 10);
        file(lib + "Logs/Notes 10.log", 10);

        const auto found = LocalUninstallPreview::relatedLeftovers("Notes", "com.apple.Notes", m_home);
        QStringList paths;
        for (const auto& leftover : found)
            paths << leftover.path;
        QCOMPARE(paths, (QStringList{lib + "Application Support/Notes", group, lib + "Logs/Notes 2.log",
                                     lib + "Logs/Notes 10.log", prefs}));
        QCOMPARE(found[0].allocatedBytes,
                 allocated(support) + allocated(lib + "Application Support/Notes/db/.wal"));
        QCOMPARE(found[2].match, LocalUninstallPreview::LeftoverMatch::possible); // "Notes 2.log"
        QCOMPARE(found[4].match, LocalUninstallPreview::LeftoverMatch::strong);
        QCOMPARE(found[1].allocatedBytes, qint64(0));
        QCOMPARE(found[4].allocatedBytes, allocated(prefs));
        QCOMPARE(LocalUninstallPreview::allocatedSize(lib + "Application Support/Notes/escape"), qint64(0));
        QCOMPARE(LocalUninstallPreview::allocatedSize(m_box.path("gone")), qint64(0));
        QVERIFY(LocalUninstallPreview::relatedLeftovers("Notes", {}, m_box.path("no-home")).empty());
    }

    void entries_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<int>("leftovers");
        QTest::addColumn<QString>("source");
        row("english, leftovers", AppLanguagePreference::english, 2, "User Apps · 2 leftovers");
        row("chinese, leftovers", AppLanguagePreference::chinese, 2, "用户应用 · 2 项残留");
        row("no leftovers: bare label", AppLanguagePreference::english, 0, "User Apps");
    }
    void entries()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(int, leftovers);
        QFETCH(QString, source);
        TestSupport::useLanguage(language);
        const QString path = bundle(m_home + "/Applications", "Editor.app",
                                    propertyList({{"CFBundleIdentifier", "org.ed"}}, true), 70000);
        QStringList expectedPaths;
        for (int i = 0; i < leftovers; ++i)
            expectedPaths << file(m_home + "/Library/Caches/org.ed." + QString::number(i), 20000);

        const UninstallPreviewReport report = LocalUninstallPreview::snapshot(
            m_home, {LocalUninstallPreview::applicationFolders(m_home), fakeSpotlight({})});
        QCOMPARE(report.entries.size(), std::size_t(1));
        const auto& entry = report.entries[0];
        QCOMPARE(entry.source, source);
        QCOMPARE(entry.path, path);
        QCOMPARE(entry.id, path);
        QCOMPARE(entry.leftoverPaths(), expectedPaths);
        // Files only: the bundle's folders add nothing.
        const qint64 appBytes =
            allocated(path + "/Contents/MacOS/binary") + allocated(path + "/Contents/Info.plist");
        QCOMPARE(entry.appSizeBytes, appBytes);
        QCOMPARE(entry.appSizeText, SizeText::bytes(appBytes));
        const qint64 leftoverBytes = leftovers * allocated(m_home + "/Library/Caches/org.ed.0");
        QCOMPARE(entry.leftoverSizeText, SizeText::bytes(leftoverBytes));
        QCOMPARE(entry.size, SizeText::bytes(appBytes + leftoverBytes));
    }

    void aLeftoverSharedByTwoApplicationsCountsForEach()
    {
        bundle(m_system, "Notes.app", QByteArray());
        bundle(m_system, "Editor.app", propertyList({{"CFBundleIdentifier", "org.editor"}}, false));
        const QString shared = file(m_home + "/Library/Caches/org.editor.Notes/cache.db", 30000);
        const QString own = file(m_home + "/Library/Preferences/org.editor.plist", 5000);

        const UninstallPreviewReport report = scan({{m_system, "App"}});
        QCOMPARE(report.entries.size(), std::size_t(2));
        const auto& editor = report.entries[0];
        const auto& notes = report.entries[1];
        QCOMPARE(notes.name, QString("Notes"));
        // Only offered to Notes, whose name it merely contains: chosen for neither size nor count.
        QCOMPARE(notes.leftoverPaths(), QStringList{m_home + "/Library/Caches/org.editor.Notes"});
        QCOMPARE(notes.leftovers.front().match, LocalUninstallPreview::LeftoverMatch::possible);
        QCOMPARE(notes.leftoverSizeText, SizeText::bytes(0));
        QCOMPARE(notes.source, QString("App"));
        QCOMPARE(editor.leftoverPaths(), (QStringList{m_home + "/Library/Caches/org.editor.Notes", own}));
        QCOMPARE(editor.leftoverSizeText, SizeText::bytes(allocated(shared) + allocated(own)));
    }

    void listingAndSorting()
    {
        const QString user = m_home + "/Applications";
        bundle(m_system, "b.app", propertyList({{"CFBundleName", "zeta"}}, false));
        bundle(m_system, "Zeta.app", QByteArray());
        bundle(user, "App10.app", QByteArray());
        bundle(user, "App2.app", QByteArray());
        bundle(user, "alpha.app", QByteArray());
        file(user + "/NotABundle.app", 10);                 // a file, not a bundle
        link(m_system + "/Zeta.app", user + "/Linked.app"); // a link is not followed
        folder(user + "/Tools");                            // not entered
        bundle(user + "/Tools", "Deep.app", QByteArray());

        const UninstallPreviewReport report =
            scan({{m_system, "App"}, {user, "User Apps"}, {m_system + "/", "Again"}});
        QStringList names;
        for (const auto& entry : report.entries)
            names << entry.name + "@" + entry.source;
        QCOMPARE(names, (QStringList{"alpha@User Apps", "App2@User Apps", "App10@User Apps", "Zeta@App",
                                     "zeta@App"}));
        QVERIFY(scan({{m_box.path("missing"), "App"}}).entries.empty());
    }

    void rawAnswersSplitOnePerBundle_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<QByteArray>>("expected"); // empty with count > 0: none
        const QByteArray date("2024-03-01 09:30:00 +0000");
        const QList<QByteArray> none;
        row("two answers", QByteArray(date + '\0' + "(null)"), 2, QList<QByteArray>{date, "(null)"});
        row("trailing separator", QByteArray(date + '\0' + date + '\0'), 2, QList<QByteArray>{date, date});
        row("one answer", date, 1, QList<QByteArray>{date});
        row("too few answers", date, 2, none);
        row("too many answers", QByteArray(date + '\0' + date + '\0' + date), 2, none);
        row("lines, not fields", QByteArray(date + '\n' + date), 2, none);
    }
    void rawAnswersSplitOnePerBundle()
    {
        QFETCH(QByteArray, output);
        QFETCH(int, count);
        QFETCH(QList<QByteArray>, expected);
        const std::optional<std::vector<QByteArray>> fields =
            LocalUninstallPreview::splitRawAnswers(output, count);
        QCOMPARE(fields.has_value(), !expected.isEmpty());
        if (fields)
            QCOMPARE(QList<QByteArray>(fields->begin(), fields->end()), expected);
    }

    void lastOpened_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("answer");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime accessed = utc(1'600'000'000);
        using Answer = std::optional<QByteArray>;
        row("spotlight, utc", Answer("2024-03-01 09:30:00 +0000\n"), utc(1'709'285'400));
        row("spotlight, offset", Answer("2024-03-01 04:30:00 -0500"), utc(1'709'285'400));
        row("(null): access date", Answer("(null)\n"), accessed);
        row("empty: access date", Answer(""), accessed);
        row("tool failed: access date", Answer(), accessed);
        row("other form: access date", Answer("March 1, 2024"), accessed);
        row("impossible date: access date", Answer("2024-02-30 10:00:00 +0000"), accessed);
    }
    void lastOpened()
    {
        QFETCH(std::optional<QByteArray>, answer);
        QFETCH(QDateTime, expected);
        const QString path = bundle(m_system, "Old.app", QByteArray());
        setAccessTime(path, 1'600'000'000);
        QString asked;
        const auto spotlight = [&](const QString& bundlePath) {
            asked = bundlePath;
            return answer;
        };
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(path, spotlight), expected);
        QCOMPARE(asked, path);
        // The scan takes the date before it reads the bundle, so its own reading does not count as use.
        QCOMPARE(
            scan({{m_system, "App"}}, answer ? Answers{{path, *answer}} : Answers{}).entries[0].lastOpened,
            expected);
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(m_box.path("gone"), fakeSpotlight({})), std::nullopt);
    }

private:
    LocalUninstallPreview::SpotlightQuery fakeSpotlight(const Answers& answers)
    {
        return [answers](const QString& path) {
            return answers.contains(path) ? std::optional<QByteArray>(answers[path]) : std::nullopt;
        };
    }
    UninstallPreviewReport scan(const std::vector<LocalUninstallPreview::ApplicationFolder>& folders,
                                const Answers& answers = {})
    {
        return LocalUninstallPreview::snapshot(m_home, {folders, fakeSpotlight(answers)});
    }

    Sandbox m_box;
    QString m_home;
    QString m_system;
};

KELVO_REGISTER_TEST(TestLocalUninstallPreview)
#include "tst_LocalUninstallPreview.moc"
