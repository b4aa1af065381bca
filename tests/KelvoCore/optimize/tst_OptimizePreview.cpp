// The optimisation preview against a synthetic home and a synthetic system root: the counts and sizes
// of each step's line, the Spotlight line through a stand-in mdutil, and the Linux steps' lines.
#include "TestMain.h"

#include "StandInTool.h"
#include "SyntheticHome.h"

#include "optimize/LocalOptimizePreview.h"
#include "vocabulary/SizeText.h"

#include <QRegularExpression>

using namespace SyntheticHome;
using namespace TestSupport;

Q_DECLARE_METATYPE(TargetSystem)

namespace {

QString detailOf(const OptimizePreviewReport& report, const QString& id)
{
    for (const OptimizePreviewReport::Entry& entry : report.entries)
        if (entry.id == id)
            return entry.detail.value_or(QString());
    return {};
}

// The number a count line ends with; -1 when there is none.
qint64 countIn(const QString& line)
{
    const QRegularExpressionMatch match = QRegularExpression("(\\d+)\\D*$").match(line);
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

} // namespace

class OptimizePreviewTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    LocalOptimizePreview::Options m_options;

    OptimizePreviewReport preview(TargetSystem system)
    {
        m_options.system = system;
        return LocalOptimizePreview::snapshot(m_home, m_options);
    }

    // Below folder: "name" a file, "name:size" a file of that size, "name -> target" a link.
    void make(const QString& folder, const QStringList& names)
    {
        for (const QString& name : names) {
            const QString path =
                m_home + "/" + folder + "/" + name.section(QRegularExpression(" -> |:"), 0, 0);
            if (name.contains(" -> "))
                link(m_home + "/" + name.section(" -> ", 1), path);
            else
                file(path, name.contains(':') ? name.section(':', 1).toLongLong() : 1);
        }
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_options = {};
        m_options.systemRoot = m_box.path("root");
        m_options.toolTimeLimit = std::chrono::milliseconds(300);
        for (const char* tool : {"fc-cache", "update-desktop-database", "update-mime-database"})
            standInTool(m_options.systemRoot, QString("/usr/bin/") + tool, "exit 0");
    }

    // Hidden items are skipped, packages are one entry, a link is never followed, folders count too.
    void counts_data()
    {
        columns<QString, TargetSystem, QString, QStringList, qint64>("id", "system", "folder", "names",
                                                                     "count");
        const auto mac = TargetSystem::macOS;
        const QStringList none;
        row("missing folder", "saved_state_cleanup", mac, QString(), none, qint64(0));
        row("extension in any case", "fix_broken_configs", mac, "Library/Preferences",
            QStringList{"a.plist", "b.plist", "c.plist", "D.PLIST", "e.txt", "plist"}, qint64(4));
        row("folders counted, hidden skipped", "saved_state_cleanup", mac, "Library/Saved Application State",
            QStringList{"x.savedState/data", ".hidden/y", ".z"}, qint64(2));
        row("package counted, not entered", "login_items_audit", mac, "Library/LaunchAgents",
            QStringList{"Tool.app/Contents/Info.plist", "sub/a.plist"}, qint64(3));
        row("package contents not matched", "launch_agents_cleanup", mac, "Library/LaunchAgents",
            QStringList{"Tool.app/Contents/Info.plist", "sub/a.plist"}, qint64(1));
        row("linked folder not followed", "font_cache_rebuild", mac, "Library",
            QStringList{"Fonts -> elsewhere", "../elsewhere/a.ttf"}, qint64(0));
        row("Linux desktop entries", "desktop_database_refresh", TargetSystem::linuxDesktop,
            ".local/share/applications", QStringList{"a.desktop", "B.DESKTOP", "c.txt", "d/e.desktop"},
            qint64(3));
        row("Linux fonts in both folders", "font_cache_rebuild", TargetSystem::linuxDesktop, QString(),
            QStringList{".local/share/fonts/a.ttf", ".fonts/b/c.otf"}, qint64(3));
    }
    void counts()
    {
        const auto [id, system, folder, names, count] =
            fetch<QString, TargetSystem, QString, QStringList, qint64>("id", "system", "folder", "names",
                                                                       "count");
        make(folder, names);
        QCOMPARE(countIn(detailOf(preview(system), id)), count);
    }

    // A walk stops at 10,000 items: a count reads the cap, a thumbnail size reads as a lower bound.
    void measuresStopAtTenThousand()
    {
        manyFiles(m_home + "/Library/Saved Application State", 10050, 0, 1000);
        QCOMPARE(countIn(detailOf(preview(TargetSystem::macOS), "saved_state_cleanup")), qint64(10000));
        QVERIFY(
            !detailOf(preview(TargetSystem::linuxDesktop), "thumbnail_cache_cleanup").contains("at least"));
        manyFiles(m_home + "/.cache/thumbnails/normal", 10050, 0, 1000);
        QVERIFY(
            detailOf(preview(TargetSystem::linuxDesktop), "thumbnail_cache_cleanup").contains("at least"));
    }

    // Allocated bytes of the files with the extension, or of a file measured itself.
    void sizes_data()
    {
        columns<QString, TargetSystem, QString, QStringList, QStringList>("id", "system", "folder", "names",
                                                                          "counted");
        const auto mac = TargetSystem::macOS;
        row("sqlite files only", "sqlite_vacuum", mac, "Library",
            QStringList{"Safari/History.sqlite:5000", "Safari/b.db:5000", "Mail/V10/x.SQLITE:3000",
                        "Messages/.hidden.sqlite:9000"},
            QStringList{"Safari/History.sqlite", "Mail/V10/x.SQLITE"});
        row("a file measured itself", "quarantine_cleanup", mac, "Library/Preferences",
            QStringList{"com.apple.LaunchServices.QuarantineEventsV2:20000"},
            QStringList{"com.apple.LaunchServices.QuarantineEventsV2"});
        row("Linux thumbnails, hidden too", "thumbnail_cache_cleanup", TargetSystem::linuxDesktop,
            ".cache/thumbnails", QStringList{"normal/a.png:10000", ".x/b.png:5000"},
            QStringList{"normal/a.png", ".x/b.png"});
    }
    void sizes()
    {
        const auto [id, system, folder, names, counted] =
            fetch<QString, TargetSystem, QString, QStringList, QStringList>("id", "system", "folder", "names",
                                                                            "counted");
        make(folder, names);
        qint64 bytes = 0;
        for (const QString& name : counted)
            bytes += allocated(m_home + "/" + folder + "/" + name);
        QVERIFY(detailOf(preview(system), id).endsWith(SizeText::bytes(bytes)));
    }

    // Both Spotlight steps carry the line of one mdutil run; a failure or a hang reads unavailable.
    void spotlight_data()
    {
        columns<QByteArray, QString>("mdutil", "state");
        row("enabled", QByteArray("echo \"$2:\"; echo '\tIndexing enabled.'"), ": enabled");
        row("disabled", QByteArray("echo 'Indexing disabled.'"), ": disabled or unavailable");
        row("exit 1", QByteArray("echo 'Indexing enabled.'; exit 1"), ": unavailable");
        row("hangs past the limit", QByteArray("exec sleep 5"), ": unavailable");
        row("not UTF-8", QByteArray("printf 'enabled \\377\\n'"), ": unavailable");
    }
    void spotlight()
    {
        const auto [mdutil, state] = fetch<QByteArray, QString>("mdutil", "state");
        standInTool(m_options.systemRoot, "/usr/bin/mdutil", mdutil);
        m_options.physicalMemory = 8'000'000'000;
        const OptimizePreviewReport report = preview(TargetSystem::macOS);
        QVERIFY2(detailOf(report, "system_maintenance").endsWith(state),
                 qPrintable(detailOf(report, "system_maintenance")));
        QCOMPARE(detailOf(report, "spotlight_index_optimize"), detailOf(report, "system_maintenance"));
        QVERIFY(detailOf(report, "memory_pressure_relief").endsWith(SizeText::bytes(8'000'000'000)));
        QCOMPARE(OptimizePreviewReport::fromJson(report.toJson()), report);
    }

    // An autostart program is missing when its absolute path is no executable file, or its name is in
    // no PATH folder; hidden, unreadable and shell-command entries are not judged missing.
    void linuxLines()
    {
        const QString autostart = m_home + "/.config/autostart/";
        write(autostart + "a.desktop", "[Desktop Entry]\nName=Gone\nExec=/opt/gone/bin/tool --flag\n");
        write(autostart + "b.desktop", "[Desktop Entry]\nName=Here\nExec=\"here tool\" %U\n");
        standInTool(m_home, "/.local/bin/here tool", "exit 0");
        write(autostart + "c.desktop", "[Desktop Entry]\nName=Off\nHidden=true\nExec=/opt/gone/bin/tool\n");
        write(autostart + "d.desktop", "[Desktop Entry]\nName=Envy\nExec=env -i LANG=C no-such-program-x1\n");
        write(autostart + "i.desktop", "[Desktop Entry]\nName=Unset\nExec=env -u LANG \"here tool\"\n");
        write(autostart + "e.desktop", "[Desktop Entry]\nName=Shell\nExec=sh -c \"no-such-program-x2\"\n");
        write(autostart + "f.desktop", "[Desktop Entry]\nName=Broken \xff\nExec=/opt/gone\n");
        write(autostart + "g.desktop",
              "[Desktop Entry]\nName=Try\nTryExec=/usr/bin/present\nExec=/opt/gone\n");
        standInTool(m_options.systemRoot, "/usr/bin/present", "exit 0");
        standInTool(m_options.systemRoot, "/usr/bin/env", "exit 0"); // env itself is there
        write(autostart + "h.desktop", "[Desktop Entry]\nName=Plain\nExec=/usr/bin/not-executable\n");
        file(m_options.systemRoot + "/usr/bin/not-executable");
        file(m_options.systemRoot + qEnvironmentVariable("XDG_RUNTIME_DIR") + "/systemd/private");
        standInTool(
            m_options.systemRoot, "/usr/bin/systemctl",
            "[ \"$2\" = list-units ] && printf 'a.service loaded failed failed A\\n\\nb.service x\\n'");
        QFile::remove(m_options.systemRoot + "/usr/bin/fc-cache");
        const OptimizePreviewReport report = preview(TargetSystem::linuxDesktop);
        const QString missing = detailOf(report, "autostart_audit");
        QCOMPARE(countIn(missing.section('(', 0, 0)), qint64(3));
        QVERIFY2(missing.contains("Gone") && missing.contains("Envy") && missing.contains("Plain") &&
                     !missing.contains("Try") && !missing.contains("Unset"),
                 qPrintable(missing));
        QCOMPARE(countIn(detailOf(report, "failed_units_reset")), qint64(2));
        QVERIFY(detailOf(report, "font_cache_rebuild").contains("fc-cache"));
        QVERIFY(!detailOf(report, "dns_cache_flush").startsWith("Will")); // systemd-resolved is not running
    }
};

KELVO_REGISTER_TEST(OptimizePreviewTest)
#include "tst_OptimizePreview.moc"
