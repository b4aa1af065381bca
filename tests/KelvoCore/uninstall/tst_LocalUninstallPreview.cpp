// The uninstall preview against a synthetic home: bundles, their metadata, icons, leftovers and dates.
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
using namespace TestSupport;
using Metadata = LocalUninstallPreview::AppMetadata;
using Answers = QMap<QString, QByteArray>;

namespace {

// An Info.plist written by libplist in the chosen form, so both readers meet real files. The entries
// are "key=value" separated by ";"; a value of "?" is a value that is no text.
QByteArray propertyList(const QString& entries, bool binary = true)
{
    plist_t dict = plist_new_dict();
    for (const QString& entry : entries.split(';', Qt::SkipEmptyParts)) {
        const QString value = entry.section('=', 1);
        plist_dict_set_item(dict, qPrintable(entry.section('=', 0, 0)),
                            value == "?" ? plist_new_bool(1) : plist_new_string(qPrintable(value)));
    }
    char* data = nullptr;
    uint32_t length = 0;
    binary ? plist_to_bin(dict, &data, &length) : plist_to_xml(dict, &data, &length);
    const QByteArray bytes(data, qsizetype(length));
    std::free(data);
    plist_free(dict);
    return bytes;
}

// A binary Info.plist naming itself "Deep" whose offset table, one byte an offset and ending right at
// the trailer, names one empty array `arrays` times besides the root dictionary; `spare` is the
// trailer's first byte, which holds nothing.
QByteArray manyArrays(int arrays, char spare = 0)
{
    QByteArray trailer(32, 0);
    trailer[0] = spare;
    trailer[6] = trailer[7] = 1; // offset and reference widths
    trailer[14] = char((3 + arrays) >> 8);
    trailer[15] = char(3 + arrays);
    trailer[31] = 30; // where the offset table begins
    return QByteArray("bplist00\xD1\x01\x02\x5C"
                      "CFBundleName\x54"
                      "Deep\xA0\x08\x0B\x18") +
           QByteArray(arrays, '\x1D') + trailer;
}

QString bundle(const QString& folder, const QString& fileName, const QByteArray& info = {}, qint64 size = 10)
{
    const QString path = folder + "/" + fileName;
    file(path + "/Contents/MacOS/binary", size);
    if (!info.isNull())
        write(path + "/Contents/Info.plist", info);
    return path;
}

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
    // Application folders with their labels.
    UninstallPreviewReport scan(const std::vector<std::pair<QString, QString>>& labelled,
                                const Answers& answers = {})
    {
        std::vector<LocalUninstallPreview::ApplicationFolder> folders;
        for (const auto& [path, label] : labelled)
            folders.push_back({path, LocalText::same(label)});
        return LocalUninstallPreview::snapshot(m_home, {folders, spotlight(answers)});
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_system = folder(m_box.path("Applications"));
    }

    // A bundle without usable metadata is still listed, under its file name.
    void metadata_data()
    {
        columns<QByteArray, Metadata>("info", "expected"); // info null: no Info.plist at all
        const QString all = "CFBundleDisplayName=Shown;CFBundleName=Short;CFBundleIdentifier=com.x.app;"
                            "CFBundleVersion=210;CFBundleShortVersionString=2.1";
        row("xml: display name and short version first", propertyList(all, false),
            Metadata{"Shown", "com.x.app", "2.1"});
        row("binary: the same", propertyList(all), Metadata{"Shown", "com.x.app", "2.1"});
        row("empty texts and other values are absent, next key used",
            propertyList("CFBundleDisplayName=?;CFBundleName= ;CFBundleExecutable=exe;CFBundleIdentifier=;"
                         "CFBundleShortVersionString=;CFBundleVersion=210"),
            Metadata{"exe", std::nullopt, "210"});
        row("no Info.plist", QByteArray(), Metadata{});
        row("empty file", QByteArray(""), Metadata{});
        row("root not a dictionary",
            QByteArray(
                "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>"),
            Metadata{});
        row("truncated binary", propertyList(all).left(40), Metadata{});
        // A binary dictionary whose one key is UTF-16 text holding U+0000: walking it aborts inside
        // libplist; it is never walked.
        row("a key holding U+0000",
            QByteArray("bplist00\xD1\x01\x02\x61\x00\x00\x51x\x08\x0B\x0E"
                       "\0\0\0\0\0\0\x01\x01\0\0\0\0\0\0\0\x03\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x10",
                       51),
            Metadata{});
        // As many arrays and dictionaries as are read, and one more: counted from the offset table.
        row("2,048 containers", manyArrays(2047, '\x1D'), Metadata{"Deep", std::nullopt, std::nullopt});
        row("2,049 containers", manyArrays(2048), Metadata{});
        const auto xml = [](const QByteArray& array) {
            return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleName</key><string>Deep"
                   "</string><key>x</key>" +
                   array + "</dict></plist>";
        };
        row("2,048 containers in XML",
            xml("<array>" + QByteArray("<array></array>").repeated(2046) + "</array>"),
            Metadata{"Deep", std::nullopt, std::nullopt});
        // Deeper than any Info.plist: not read, rather than parsed one stack frame per level.
        row("20,000 nested arrays",
            xml(QByteArray("<array>").repeated(20000) + QByteArray("</array>").repeated(20000)), Metadata{});
    }
    void metadata()
    {
        const auto [info, expected] = fetch<QByteArray, Metadata>("info", "expected");
        const QString path = bundle(m_system, "Some Tool.app", info);
        QCOMPARE(LocalUninstallPreview::appMetadata(path), expected);
        const UninstallPreviewReport report = scan({{m_system, "App"}});
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(report.entries[0].name, expected.displayName.value_or("Some Tool"));
        QCOMPARE(report.entries[0].uninstallName, QString("Some Tool"));
        QCOMPARE(report.entries[0].bundleID, expected.bundleID);
    }

    // Leftovers named after an app go with it; longer names that merely contain it are only offered,
    // and never for names so short or bare they would claim other apps' data.
    void leftoverMatches_data()
    {
        columns<QString, QString, QString, QString>("fileName", "appName", "bundleID", "match");
        const char* arc = "company.thebrowser.Browser";
        row("identifier", "com.apple.Notes", "Notes", "com.apple.Notes", "strong");
        row("identifier and more", "com.apple.Notes.savedState", "Notes", "com.apple.Notes", "strong");
        row("group container, other case", "group.com.apple.notes", "Notes", "com.apple.Notes", "strong");
        row("a longer name holding the identifier", "ABCDE12345.com.example.notes", "X", "com.example.notes",
            "possible");
        row("a longer name holding a name of four", "Research Notes", "Note", "com.example.x", "possible");
        row("Arc and a longer name", "Parcel", "Arc", arc, "none");
        row("Arc itself, other case", "arc", "Arc", arc, "strong");
        row("Apple's data for an app that is not Apple's", "com.apple.Safari.SearchHelper", "Arc", arc,
            "none");
        row("an app called e, its own item", "e.plist", "e", "e", "strong");
        row("an app called .", "..plist", ".", ".", "none");
    }
    void leftoverMatches()
    {
        const auto [fileName, appName, bundleID, match] =
            fetch<QString, QString, QString, QString>("fileName", "appName", "bundleID", "match");
        const auto found = LocalUninstallPreview::leftoverMatch(fileName, appName, bundleID);
        using Match = LocalUninstallPreview::LeftoverMatch;
        QCOMPARE(QString(!found ? "none" : *found == Match::strong ? "strong" : "possible"), match);
    }

    // The icon the bundle names, in its Resources: a regular file there and nowhere else.
    void iconFilePath_data()
    {
        // The name the bundle gives, what lies in Contents/Resources ("link:" for a link), what is found.
        columns<QString, QString, QString>("iconName", "placed", "expected");
        row("name without suffix", "AppIcon", "AppIcon.icns", "AppIcon.icns");
        row("other image suffix kept", "Icon.png", "Icon.png", "Icon.png");
        row("named but missing", "AppIcon", "", "");
        row("not named", "", "AppIcon.icns", "");
        row("a link is not followed", "AppIcon", "link:AppIcon.icns", "");
        row("a path leaving the bundle", "../../../../outside.icns", "", "");
    }
    void iconFilePath()
    {
        const auto [iconName, placed, expected] =
            fetch<QString, QString, QString>("iconName", "placed", "expected");
        const QString outside = file(m_box.path("outside.icns"));
        const QString path =
            bundle(m_system, "Tool.app", propertyList("CFBundleName=Tool;CFBundleIconFile=" + iconName));
        const QString resources = path + "/Contents/Resources/";
        if (placed.startsWith("link:"))
            link(outside, resources + placed.mid(5));
        else if (!placed.isEmpty())
            file(resources + placed);
        QCOMPARE(LocalUninstallPreview::iconFilePath(path).value_or(""),
                 expected.isEmpty() ? "" : resources + expected);
    }

    // Leftovers come from nine Library folders in their order, strong matches first; only those count
    // for an app's size and source. A leftover's size is its files', never through a link.
    void leftoversAndSizes()
    {
        const QString user = m_home + "/Applications", lib = m_home + "/Library/";
        bundle(m_system, "Notes.app");
        const QString editor =
            bundle(user, "Editor.app", propertyList("CFBundleIdentifier=org.editor", false), 70000);
        const QString data = file(lib + "Application Support/Editor/db/store", 9000);
        const QString wal = file(lib + "Application Support/Editor/db/.wal", 5000);
        link(file(m_box.path("outside/huge"), 800000), lib + "Application Support/Editor/escape");
        const QString shared = file(lib + "Caches/org.editor.Notes/cache.db", 30000);
        const QString prefs = file(lib + "Preferences/org.editor.plist", 5000);
        file(lib + "Logs/Editor 10.log", 10);
        file(lib + "Logs/Editor 2.log", 10);
        file(lib + "Elsewhere/Editor", 10); // not one of the nine folders

        const UninstallPreviewReport report = scan({{m_system, "App"}, {user, "User Apps"}});
        QCOMPARE(report.entries.size(), std::size_t(2));
        const auto& ed = report.entries[0];
        QCOMPARE(ed.id, editor);
        QCOMPARE(ed.leftoverPaths(),
                 (QStringList{lib + "Application Support/Editor", lib + "Caches/org.editor.Notes", prefs,
                              lib + "Logs/Editor 2.log", lib + "Logs/Editor 10.log"}));
        QCOMPARE(ed.source.text(), QString("User Apps · 3 leftovers"));
        useLanguage(AppLanguagePreference::chinese); // what the scan found follows a later switch
        QCOMPARE(ed.source.text(), QString("User Apps · 3 项残留")); // the folder's label was given as is
        useLanguage(AppLanguagePreference::english);
        const qint64 appBytes =
            allocated(editor + "/Contents/MacOS/binary") + allocated(editor + "/Contents/Info.plist");
        const qint64 leftoverBytes = allocated(data) + allocated(wal) + allocated(shared) + allocated(prefs);
        QCOMPARE(ed.appSizeBytes, appBytes);
        QCOMPARE(ed.leftoverSizeText, SizeText::bytes(leftoverBytes));
        QCOMPARE(ed.size, SizeText::bytes(appBytes + leftoverBytes));
        // Only offered to Notes, whose name it merely contains: chosen for neither size nor count.
        const auto& notes = report.entries[1];
        QCOMPARE(notes.name + "@" + notes.source.text(), QString("Notes@App"));
        QCOMPARE(notes.leftoverPaths(), QStringList{lib + "Caches/org.editor.Notes"});
        QCOMPARE(notes.leftovers.front().match, LocalUninstallPreview::LeftoverMatch::possible);
        QCOMPARE(notes.leftoverSizeText, SizeText::bytes(0));
    }

    // Folders, not files or links, named "*.app" directly in an application folder; a folder met twice
    // is searched once; by name in natural order, case ignored.
    void listingAndSorting()
    {
        const QString user = m_home + "/Applications";
        bundle(m_system, "b.app", propertyList("CFBundleName=zeta", false));
        bundle(m_system, "Zeta.app");
        for (const char* name : {"App10.app", "App2.app", "alpha.app", ".app"})
            bundle(user, name);
        file(user + "/NotABundle.app", 10);
        link(m_system + "/Zeta.app", user + "/Linked.app");
        bundle(user + "/Tools", "Deep.app");
        QStringList names;
        for (const auto& entry :
             scan({{m_system, "App"}, {user, "User Apps"}, {m_system + "/", "Again"}}).entries)
            names << entry.name + "@" + entry.source.text();
        QCOMPARE(names, (QStringList{"alpha@User Apps", "App2@User Apps", "App10@User Apps", "Zeta@App",
                                     "zeta@App"}));
    }

    // One Spotlight run answers for many bundles, one field each.
    void rawAnswersSplitOnePerBundle()
    {
        const QByteArray date("2024-03-01 09:30:00 +0000");
        const auto split = [](const QByteArray& output, int count) {
            const auto fields = LocalUninstallPreview::splitRawAnswers(output, count);
            return fields ? QList<QByteArray>(fields->begin(), fields->end()) : QList<QByteArray>{"none"};
        };
        QCOMPARE(split(date + '\0' + "(null)" + '\0', 2), (QList<QByteArray>{date, "(null)"}));
        QCOMPARE(split(date, 2), QList<QByteArray>{"none"});
        QCOMPARE(split(date + '\0' + date + '\0' + date, 2), QList<QByteArray>{"none"});
    }

    // Spotlight's date, else the access date. The scan takes it before it reads the bundle, so its own
    // reading does not count as use.
    void lastOpened_data()
    {
        columns<std::optional<QByteArray>, qint64>("answer", "expected"); // expected: seconds since the epoch
        using Answer = std::optional<QByteArray>;
        row("spotlight, utc", Answer("2024-03-01 09:30:00 +0000\n"), qint64(1'709'285'400));
        row("spotlight, offset", Answer("2024-03-01 04:30:00 -0500"), qint64(1'709'285'400));
        row("(null): the access date", Answer("(null)\n"), qint64(1'600'000'000));
        row("tool failed: the access date", Answer(), qint64(1'600'000'000));
        row("impossible date: the access date", Answer("2024-02-30 10:00:00 +0000"), qint64(1'600'000'000));
    }
    void lastOpened()
    {
        const auto [answer, expected] = fetch<std::optional<QByteArray>, qint64>("answer", "expected");
        const QString path = bundle(m_system, "Old.app");
        const timespec times[2] = {{1'600'000'000, 0}, {0, UTIME_OMIT}};
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);
        const Answers answers = answer ? Answers{{path, *answer}} : Answers{};
        const QDateTime date = QDateTime::fromSecsSinceEpoch(expected, QTimeZone::utc());
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(path, spotlight(answers)), date);
        QCOMPARE(scan({{m_system, "App"}}, answers).entries[0].lastOpened, date);
        QCOMPARE(LocalUninstallPreview::lastOpenedDate(m_box.path("gone"), spotlight({})), std::nullopt);
    }
};

KELVO_REGISTER_TEST(TestLocalUninstallPreview)
#include "tst_LocalUninstallPreview.moc"
