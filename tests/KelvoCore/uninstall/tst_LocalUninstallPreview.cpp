// The uninstall preview against a synthetic home: bundles, their metadata, leftovers and dates.
#include "TestMain.h"

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

QDateTime utc(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
}

const QByteArray xmlHead = "<?xml version=\"1.0\"?><plist version=\"1.0\">";

} // namespace

class TestLocalUninstallPreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    QString m_system;

    static LocalUninstallPreview::SpotlightQuery spotlight(const Answers& answers)
    {
        return [answers](const QString& path) {
            return answers.contains(path) ? std::optional(answers[path]) : std::nullopt;
        };
    }
    UninstallPreviewReport scan(const std::vector<LocalUninstallPreview::ApplicationFolder>& folders,
                                const Answers& answers = {})
    {
        return LocalUninstallPreview::snapshot(m_home, {folders, spotlight(answers)});
    }

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
        row("xml: display name and short version first", propertyList(all, false), full);
        row("binary: the same", propertyList(all, true), full);
        row("empty texts are absent, next key used",
            propertyList({{"CFBundleDisplayName", ""},
                          {"CFBundleName", " "},
                          {"CFBundleExecutable", "exe"},
                          {"CFBundleIdentifier", ""},
                          {"CFBundleShortVersionString", ""},
                          {"CFBundleVersion", "210"}},
                         true),
            Metadata{"exe", std::nullopt, "210"});
        row("no name keys", propertyList({{"CFBundleIdentifier", "id"}}, false),
            Metadata{std::nullopt, "id", std::nullopt});
        row("non-text value ignored",
            xmlHead + "<dict><key>CFBundleName</key><integer>7</integer><key>CFBundleExecutable</key>"
                      "<string>Tool</string></dict></plist>",
            Metadata{"Tool", std::nullopt, std::nullopt});
        row("no Info.plist", QByteArray(), Metadata{});
        row("garbage", QByteArray("\x01\x02not a plist at all"), Metadata{});
        row("truncated binary", propertyList(all, true).left(40), Metadata{});
        row("truncated xml", propertyList(all, false).left(120), Metadata{});
        row("root not a dictionary", xmlHead + "<array><string>x</string></array></plist>", Metadata{});
        // A binary dictionary whose one key is UTF-16 text holding U+0000: walking it aborts inside
        // libplist; it is never walked.
        row("a key holding U+0000",
            QByteArray("bplist00\xD1\x01\x02\x61\x00\x00\x51x\x08\x0B\x0E"
                       "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x10",
                       51),
            Metadata{});
        // Deeper than any Info.plist: not read, rather than parsed one stack frame per level.
        row("20,000 nested arrays",
            xmlHead + "<dict><key>CFBundleName</key><string>Deep</string><key>x</key>" +
                QByteArray("<array>").repeated(20000) + QByteArray("</array>").repeated(20000) +
                "</dict></plist>",
            Metadata{});
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
        const QString outside = file(m_box.path("outside.icns"), 10);
        Texts keys{{"CFBundleName", "Tool"}};
        if (!iconName.isEmpty())
            keys.insert("CFBundleIconFile", iconName);
        const QString resources =
            bundle(m_system, "Tool.app", propertyList(keys, true)) + "/Contents/Resources/";
        if (!placed.isEmpty())
            placedAsLink ? link(outside, resources + placed) : file(resources + placed, 10);
        QCOMPARE(LocalUninstallPreview::iconFilePath(m_system + "/Tool.app").value_or(QString()),
                 expected.isEmpty() ? QString() : resources + expected);
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
        row("identifier and more", "com.apple.Notes.savedState", "Notes", "com.apple.Notes", "strong");
        row("group container, other case", "group.com.apple.notes", "Notes", "com.apple.Notes", "strong");
        row("the name itself, other case", "notes", "Notes", "com.apple.Notes", "strong");
        row("a longer name holding the name", "Research Notes", "Notes", "com.example.notes", "possible");
        row("a longer name holding the identifier", "ABCDE12345.com.example.notes", "Notes",
            "com.example.notes", "possible");
        row("Arc and Apple's data", "com.apple.Safari.SearchHelper", "Arc", "company.thebrowser.Browser",
            "none");
        row("Arc and a longer name", "Parcel", "Arc", "company.thebrowser.Browser", "none");
        row("Arc itself", "Arc", "Arc", "company.thebrowser.Browser", "strong");
        row("an app called e", "Preferences.e", "e", "e", "none");
        row("an app called e, its own item", "e.plist", "e", "e", "strong");
        row("an app called .", "..plist", ".", ".", "none");
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
        const QString wal = file(lib + "Application Support/Notes/db/.wal", 5000);
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
        QCOMPARE(found[0].allocatedBytes, allocated(support) + allocated(wal));
        QCOMPARE(found[1].allocatedBytes, qint64(0));
        QCOMPARE(found[2].match, LocalUninstallPreview::LeftoverMatch::possible); // "Notes 2.log"
        QCOMPARE(found[4].match, LocalUninstallPreview::LeftoverMatch::strong);
        QCOMPARE(found[4].allocatedBytes, allocated(prefs));
        QCOMPARE(LocalUninstallPreview::allocatedSize(lib + "Application Support/Notes/escape"), qint64(0));
        QVERIFY(LocalUninstallPreview::relatedLeftovers("Notes", {}, m_box.path("no-home")).empty());
    }

    // A leftover that only contains an app's name is offered to it, but counts for neither its size
    // nor its count; an app's size is its files'.
    void entriesSumTheirStrongLeftovers()
    {
        const QString user = m_home + "/Applications";
        bundle(m_system, "Notes.app", QByteArray());
        const QString editor =
            bundle(user, "Editor.app", propertyList({{"CFBundleIdentifier", "org.editor"}}, false), 70000);
        const QString shared = file(m_home + "/Library/Caches/org.editor.Notes/cache.db", 30000);
        const QString own = file(m_home + "/Library/Preferences/org.editor.plist", 5000);

        const UninstallPreviewReport report = scan({{m_system, "App"}, {user, "User Apps"}});
        QCOMPARE(report.entries.size(), std::size_t(2));
        const auto& editorEntry = report.entries[0];
        const auto& notes = report.entries[1];
        QCOMPARE(editorEntry.id, editor);
        QCOMPARE(editorEntry.source, QString("User Apps · 2 leftovers"));
        QCOMPARE(editorEntry.leftoverPaths(),
                 (QStringList{m_home + "/Library/Caches/org.editor.Notes", own}));
        const qint64 appBytes =
            allocated(editor + "/Contents/MacOS/binary") + allocated(editor + "/Contents/Info.plist");
        const qint64 leftoverBytes = allocated(shared) + allocated(own);
        QCOMPARE(editorEntry.appSizeBytes, appBytes);
        QCOMPARE(editorEntry.appSizeText, SizeText::bytes(appBytes));
        QCOMPARE(editorEntry.leftoverSizeText, SizeText::bytes(leftoverBytes));
        QCOMPARE(editorEntry.size, SizeText::bytes(appBytes + leftoverBytes));
        QCOMPARE(notes.name, QString("Notes"));
        QCOMPARE(notes.source, QString("App"));
        QCOMPARE(notes.leftoverPaths(), QStringList{m_home + "/Library/Caches/org.editor.Notes"});
        QCOMPARE(notes.leftovers.front().match, LocalUninstallPreview::LeftoverMatch::possible);
        QCOMPARE(notes.leftoverSizeText, SizeText::bytes(0));
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
        bundle(user + "/Tools", "Deep.app", QByteArray());  // not entered

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
        row("two answers, a trailing separator", QByteArray(date + '\0' + "(null)" + '\0'), 2,
            QList<QByteArray>{date, "(null)"});
        row("too few answers", date, 2, none);
        row("too many answers", QByteArray(date + '\0' + date + '\0' + date), 2, none);
        row("lines, not fields", QByteArray(date + '\n' + date), 2, none);
    }
    void rawAnswersSplitOnePerBundle()
    {
        QFETCH(QByteArray, output);
        QFETCH(int, count);
        QFETCH(QList<QByteArray>, expected);
        const auto fields = LocalUninstallPreview::splitRawAnswers(output, count);
        QCOMPARE(fields ? QList<QByteArray>(fields->begin(), fields->end()) : QList<QByteArray>(), expected);
    }

    void lastOpened_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("answer");
        QTest::addColumn<QDateTime>("expected");
        using Answer = std::optional<QByteArray>;
        const QDateTime accessed = utc(1'600'000'000);
        row("spotlight, utc", Answer("2024-03-01 09:30:00 +0000\n"), utc(1'709'285'400));
        row("spotlight, offset", Answer("2024-03-01 04:30:00 -0500"), utc(1'709'285'400));
        row("(null): access date", Answer("(null)\n"), accessed);
        row("tool failed: access date", Answer(), accessed);
        row("impossible date: access date", Answer("2024-02-30 10:00:00 +0000"), accessed);
    }
    void lastOpened()
    {
        QFETCH(std::optional<QByteArray>, answer);
        QFETCH(QDateTime, expected);
        const QString path = bundle(m_system, "Old.app", QByteArray());
        const timespec times[2] = {{1'600'000'000, 0}, {0, UTIME_OMIT}};
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
        const Answers answers = answer ? Answers{{path, *answer}} : Answers{};
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(path, spotlight(answers)), expected);
        // The scan takes the date before it reads the bundle, so its own reading does not count as use.
        QCOMPARE(scan({{m_system, "App"}}, answers).entries[0].lastOpened, expected);
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(m_box.path("gone"), spotlight({})), std::nullopt);
    }
};

KELVO_REGISTER_TEST(TestLocalUninstallPreview)
#include "tst_LocalUninstallPreview.moc"
