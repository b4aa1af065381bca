// The optimisation preview against a synthetic home and a synthetic system root: the counts and sizes
// of each step's line, the Spotlight line through a stand-in mdutil, and the Linux steps' lines.
#include "TestMain.h"

#include "StandInTool.h"
#include "SyntheticHome.h"

#include "optimize/AutostartAudit.h"
#include "optimize/LocalOptimizePreview.h"
#include "vocabulary/SizeText.h"

#include <QRegularExpression>

using namespace SyntheticHome;
using namespace TestSupport;

Q_DECLARE_METATYPE(OptimizeSystem)

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

    OptimizePreviewReport preview(OptimizeSystem system)
    {
        m_options.system = system;
        return LocalOptimizePreview::snapshot(m_home, m_options);
    }

    // "path" a file, "path:size" a file of that size, "path/" a folder, "path -> target" a link.
    void make(const QStringList& items)
    {
        for (const QString& item : items) {
            if (item.contains(" -> "))
                link(m_home + "/" + item.section(" -> ", 1), m_home + "/" + item.section(" -> ", 0, 0));
            else if (item.endsWith('/'))
                folder(m_home + "/" + item);
            else
                file(m_home + "/" + item.section(':', 0, 0),
                     item.contains(':') ? item.section(':', 1).toLongLong() : 1);
        }
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_options = {};
        m_options.systemRoot = m_box.path("root");
        m_options.toolTimeLimit = std::chrono::milliseconds(300);
        for (const char* tool :
             {"/usr/bin/fc-cache", "/usr/bin/update-desktop-database", "/usr/bin/update-mime-database"})
            standInTool(m_options.systemRoot, tool, "exit 0");
    }

    // Hidden items are skipped, packages are one entry, a link is never followed, folders count too.
    void counts_data()
    {
        columns<QStringList, OptimizeSystem, QString, qint64>("items", "system", "id", "count");
        const auto mac = OptimizeSystem::macOS;
        const auto linux = OptimizeSystem::linux;
        row("missing folder", QStringList{}, mac, QString("saved_state_cleanup"), qint64(0));
        row("extension in any case",
            QStringList{"Library/Preferences/a.plist", "Library/Preferences/b.plist",
                        "Library/Preferences/c.plist", "Library/Preferences/D.PLIST",
                        "Library/Preferences/e.txt", "Library/Preferences/plist"},
            mac, QString("fix_broken_configs"), qint64(4));
        row("folders counted, hidden skipped",
            QStringList{"Library/Saved Application State/x.savedState/data.data",
                        "Library/Saved Application State/.hidden/y", "Library/Saved Application State/.z"},
            mac, QString("saved_state_cleanup"), qint64(2));
        row("package counted, not entered",
            QStringList{"Library/LaunchAgents/Tool.app/Contents/Info.plist", "Library/LaunchAgents/a.plist"},
            mac, QString("login_items_audit"), qint64(2));
        row("package contents not matched",
            QStringList{"Library/LaunchAgents/Tool.app/Contents/Info.plist",
                        "Library/LaunchAgents/sub/a.plist"},
            mac, QString("launch_agents_cleanup"), qint64(1));
        row("linked folder not followed", QStringList{"elsewhere/a.ttf", "Library/Fonts -> elsewhere"}, mac,
            QString("font_cache_rebuild"), qint64(0));
        row("Linux desktop entries",
            QStringList{".local/share/applications/a.desktop", ".local/share/applications/B.DESKTOP",
                        ".local/share/applications/c.txt", ".local/share/applications/sub/d.desktop"},
            linux, QString("desktop_database_refresh"), qint64(3));
        row("Linux fonts in both folders", QStringList{".local/share/fonts/a.ttf", ".fonts/b/c.otf"}, linux,
            QString("font_cache_rebuild"), qint64(3));
    }
    void counts()
    {
        const auto [items, system, id, count] =
            fetch<QStringList, OptimizeSystem, QString, qint64>("items", "system", "id", "count");
        make(items);
        QCOMPARE(countIn(detailOf(preview(system), id)), count);
    }

    void countStopsAtTenThousand()
    {
        manyFiles(m_home + "/Library/Saved Application State", 10050, 0, 1000);
        QCOMPARE(countIn(detailOf(preview(OptimizeSystem::macOS), "saved_state_cleanup")), qint64(10000));
    }

    // Allocated bytes of the files with the extension, or of a file measured itself.
    void sizes_data()
    {
        columns<QStringList, QString, QStringList>("items", "id", "counted");
        row("sqlite files only",
            QStringList{"Library/Safari/History.sqlite:5000", "Library/Safari/other.db:5000",
                        "Library/Mail/V10/x.SQLITE:3000", "Library/Messages/.hidden.sqlite:9000"},
            QString("sqlite_vacuum"),
            QStringList{"Library/Safari/History.sqlite", "Library/Mail/V10/x.SQLITE"});
        row("a file measured itself",
            QStringList{"Library/Preferences/com.apple.LaunchServices.QuarantineEventsV2:20000"},
            QString("quarantine_cleanup"),
            QStringList{"Library/Preferences/com.apple.LaunchServices.QuarantineEventsV2"});
        row("nothing there", QStringList{}, QString("coreduet_cleanup"), QStringList{});
    }
    void sizes()
    {
        const auto [items, id, counted] = fetch<QStringList, QString, QStringList>("items", "id", "counted");
        make(items);
        qint64 bytes = 0;
        for (const QString& path : counted)
            bytes += allocated(m_home + "/" + path);
        QVERIFY(detailOf(preview(OptimizeSystem::macOS), id).endsWith(SizeText::bytes(bytes)));
    }

    // Both Spotlight steps carry the line of one mdutil run; a failure or a hang reads unavailable.
    void spotlight_data()
    {
        columns<QByteArray, QString>("mdutil", "state");
        row("enabled", QByteArray("echo \"$2:\"; echo '\tIndexing enabled.'"), QString(": enabled"));
        row("disabled", QByteArray("echo 'Indexing disabled.'"), QString(": disabled or unavailable"));
        row("exit 1", QByteArray("echo 'Indexing enabled.'; exit 1"), QString(": unavailable"));
        row("hangs past the limit", QByteArray("exec sleep 5"), QString(": unavailable"));
        row("not UTF-8", QByteArray("printf 'enabled \\377\\n'"), QString(": unavailable"));
    }
    void spotlight()
    {
        const auto [mdutil, state] = fetch<QByteArray, QString>("mdutil", "state");
        standInTool(m_options.systemRoot, "/usr/bin/mdutil", mdutil);
        m_options.physicalMemory = 8'000'000'000;
        const OptimizePreviewReport report = preview(OptimizeSystem::macOS);
        QCOMPARE(report.entries.size(), std::size_t(23));
        QVERIFY2(detailOf(report, "system_maintenance").endsWith(state),
                 qPrintable(detailOf(report, "system_maintenance")));
        QCOMPARE(detailOf(report, "spotlight_index_optimize"), detailOf(report, "system_maintenance"));
        QVERIFY(detailOf(report, "memory_pressure_relief").endsWith(SizeText::bytes(8'000'000'000)));
        QCOMPARE(OptimizePreviewReport::fromJson(report.toJson()), report);
    }

    void linuxLines()
    {
        make({".cache/thumbnails/normal/a.png:10000", ".cache/thumbnails/large/b.png:5000"});
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        file(m_options.systemRoot + runtime + "/systemd/private");
        standInTool(
            m_options.systemRoot, "/usr/bin/systemctl",
            "[ \"$2\" = list-units ] && printf 'a.service loaded failed failed A\\n\\nb.service x\\n'");
        QFile::remove(m_options.systemRoot + "/usr/bin/fc-cache");
        const OptimizePreviewReport report = preview(OptimizeSystem::linux);
        QCOMPARE(report.entries.size(), std::size_t(7));
        QVERIFY(detailOf(report, "thumbnail_cache_cleanup")
                    .endsWith(SizeText::bytes(allocated(m_home + "/.cache/thumbnails/normal/a.png") +
                                              allocated(m_home + "/.cache/thumbnails/large/b.png"))));
        QCOMPARE(countIn(detailOf(report, "failed_units_reset")), qint64(2));
        QVERIFY(detailOf(report, "font_cache_rebuild").contains("fc-cache"));
        QVERIFY(!detailOf(report, "dns_cache_flush").startsWith("Will")); // systemd-resolved is not running
    }

    // A program is missing when its absolute path is no executable file, or its name is on no PATH
    // folder; hidden, broken and shell-command entries are not judged missing.
    void autostart()
    {
        const QString folder = m_home + "/.config/autostart/";
        write(folder + "a.desktop", "[Desktop Entry]\nName=Gone\nExec=/opt/gone/bin/tool --flag\n");
        write(folder + "b.desktop", "[Desktop Entry]\nName=Here\nExec=\"here tool\" %U\n");
        standInTool(m_home, "/.local/bin/here tool", "exit 0");
        write(folder + "c.desktop", "[Desktop Entry]\nName=Off\nHidden=true\nExec=/opt/gone/bin/tool\n");
        write(folder + "d.desktop", "[Desktop Entry]\nName=Envy\nExec=env LANG=C -i no-such-program-x1\n");
        write(folder + "e.desktop",
              "[Desktop Entry]\nName=Shell\nExec=sh -c \"no-such-program-x2 && true\"\n");
        write(folder + "f.desktop", "[Desktop Entry]\nName=Broken \xff\nExec=/opt/gone\n");
        write(folder + "g.desktop", "[Desktop Entry]\nName=Try\nTryExec=/usr/bin/present\nExec=/opt/gone\n");
        standInTool(m_options.systemRoot, "/usr/bin/present", "exit 0");
        write(folder + "notes.txt", "Exec=/opt/gone\n");
        const AutostartAudit::Findings findings = AutostartAudit::check(m_home, m_options.systemRoot);
        QCOMPARE(findings.entries, 5);
        QCOMPARE(findings.missingNames, (QStringList{"Gone", "Envy"}));
        QCOMPARE(countIn(AutostartAudit::detail(findings).section('(', 0, 0)), qint64(2));
    }
};

KELVO_REGISTER_TEST(OptimizePreviewTest)
#include "tst_OptimizePreview.moc"
