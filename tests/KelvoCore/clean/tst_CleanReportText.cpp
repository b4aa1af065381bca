// Clean reports as text: the older tool's clean list file and terminal output read, the terminal
// report Kelvo writes (exact lines, colours, and that it reads back), and the report's JSON form.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanPreviewParser.h"
#include "clean/CleanPreviewReport.h"
#include "clean/CleanReportText.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>
#include <QSet>
#include <QTimeZone>

#include <algorithm>

using namespace TestSupport;
using Report = CleanPreviewReport;
using Status = CleanPreviewReport::EntryStatus;
Q_DECLARE_METATYPE(CleanPreviewReport)

namespace {

Report::Entry entry(const QString& section, const QString& path, Status status = Status::cleanable,
                    const std::optional<QString>& note = std::nullopt)
{
    return {QUuid::createUuid(), LocalText::same(section), path,
            note ? std::optional(LocalText::same(*note)) : std::nullopt, status};
}

// One line per entry, "section ¦ path ¦ note ¦ status", "∅" standing for no note; entries of the
// status left out are not written. A whole report compares in one QCOMPARE.
QString describe(const Report& report, std::optional<Status> leftOut = std::nullopt)
{
    QStringList lines;
    for (const Report::Entry& e : report.entries)
        if (e.status != leftOut)
            lines << e.section.text() + " ¦ " + e.path + " ¦ " + (e.note ? e.note->text() : "∅") + " ¦ " +
                         Report::rawValue(e.status);
    return lines.join('\n');
}

QDateTime at(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODateWithMs);
}

Report report(std::vector<Report::Entry> entries, const std::optional<QString>& summary = std::nullopt)
{
    return {std::move(entries), QDateTime::currentDateTimeUtc(),
            summary ? std::optional(LocalText::same(*summary)) : std::nullopt};
}

} // namespace

class CleanReportTextTest : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_box;

private slots:
    void init() { m_box.renew(); }

    void parse_data()
    {
        columns<QString, QString, QString>("text", "entries", "summary"); // summary empty: none
        const auto parsed = [](const char* name, const QString& text, const QString& entries,
                               const QString& summary = {}) { row(name, text, entries, summary); };

        // The clean list file.
        parsed("default section, then sections in file order",
               "/a  # 1 MB\n~/b\n=== A ===\n/c\n=== B ===\n/d\n=== A ===\n/e\n",
               "可清理项目 ¦ /a ¦ 1 MB ¦ cleanable\n可清理项目 ¦ ~/b ¦ ∅ ¦ cleanable\n"
               "A ¦ /c ¦ ∅ ¦ cleanable\nB ¦ /d ¦ ∅ ¦ cleanable\nA ¦ /e ¦ ∅ ¦ cleanable");
        parsed("header forms; bare or one-sided fences are no header",
               "==Short==\n/a\n=== a = b ===\n/d\n======\n/e\n===    ===\n/f\n=== B\n/g\n",
               "Short ¦ /a ¦ ∅ ¦ cleanable\na = b ¦ /d ¦ ∅ ¦ cleanable\na = b ¦ /e ¦ ∅ ¦ cleanable\n"
               "a = b ¦ /f ¦ ∅ ¦ cleanable\na = b ¦ /g ¦ ∅ ¦ cleanable");
        parsed("notes: several markers, trimming, a single space before #",
               "~/c  # 12 MB  # old\n\t /a b   # \t 12 MB \t\n/a # 12 MB\n",
               "可清理项目 ¦ ~/c ¦ 12 MB  # old ¦ cleanable\n可清理项目 ¦ /a b ¦ 12 MB ¦ cleanable\n"
               "可清理项目 ¦ /a # 12 MB ¦ ∅ ¦ cleanable");
        parsed("comments, paths without / or ~, status symbols dropped",
               "# list\n   # indented\nLibrary/foo  # 12 MB\n./x\n  # 1 MB\n→ /y\n/a\n",
               "可清理项目 ¦ /a ¦ ∅ ¦ cleanable");

        // Markers that make a text terminal output.
        const QString line = "→ /a  # 1 MB\n/b\n", asTerminal = "Overview ¦ /a ¦ 1 MB ¦ cleanable";
        parsed("marker: Cleanup complete", line + "Cleanup complete", asTerminal);
        parsed("marker: section arrow", line + "➤ ", asTerminal);
        parsed("marker: colour codes inside", line + "Dry \x1B[1mrun\x1B[0m complete", asTerminal);

        // Terminal output.
        parsed("banner, rules, unknown lines, trimmed titles",
               "Clean Your Computer\n==============\n\n➤    Developer tools  \nScanning caches...\n"
               "= = =\n===\nUseful caches\n• npm\nDry run complete",
               "Developer tools ¦ npm ¦ Info ¦ info");
        parsed(
            "default section, sections, summary and detail lines, last summary wins",
            "→ /a  # 1 MB\n➤ A\n→ /b\n  Potential space: 1 MB  \nDetailed file list: /l\n"
            "Use kelvo clean\n→ /c\nSpace freed: 2 MB\nCleanup complete\n",
            "Overview ¦ /a ¦ 1 MB ¦ cleanable\nA ¦ /b ¦ Cleanable ¦ cleanable\n"
            "Summary ¦ Potential space: 1 MB ¦ ∅ ¦ summary\nSummary ¦ Detailed file list: /l ¦ ∅ ¦ detail\n"
            "Summary ¦ Use kelvo clean ¦ ∅ ¦ detail\nA ¦ /c ¦ Cleanable ¦ cleanable\n"
            "Summary ¦ Space freed: 2 MB ¦ ∅ ¦ summary",
            "Space freed: 2 MB");
        parsed("every symbol, variation selector, no space, no text, notes; other lines dropped",
               "→ a\n✓ b\n◎ c\n☞ d\n↳ e\n• f\n⚙️ g\n✓/h\n↳\n"
               "◎ x  # 1 MB  # 2\n→ /a # b\na → b\n⇒ /a\nDry run complete",
               "Overview ¦ a ¦ Cleanable ¦ cleanable\nOverview ¦ b ¦ Done ¦ done\n"
               "Overview ¦ c ¦ Skipped ¦ skipped\nOverview ¦ d ¦ Review ¦ review\n"
               "Overview ¦ e ¦ Detail ¦ detail\nOverview ¦ f ¦ Info ¦ info\nOverview ¦ g ¦ Info ¦ info\n"
               "Overview ¦ /h ¦ Done ¦ done\nOverview ¦  ¦ Detail ¦ detail\n"
               "Overview ¦ x ¦ 1 MB  # 2 ¦ skipped\nOverview ¦ /a # b ¦ Cleanable ¦ cleanable");
        parsed("shell error lines",
               "/usr/local/lib/clean/user.sh: line 42: HOME: unbound variable\n"
               "• /opt/tarn/lib/clean/dev.sh: line 7: X: unbound variable\n"
               "• /lib/clean/ but no line: unbound variable\n• tools.sh: line 3: X: unbound variable\n"
               "• /lib/clean/dev.sh: line 3: finished\nDry run complete",
               "Overview ¦ /opt/tarn/lib/clean/dev.sh: line 7: X: unbound variable ¦ Info ¦ info\n"
               "Overview ¦ /lib/clean/ but no line: unbound variable ¦ Info ¦ info\n"
               "Overview ¦ tools.sh: line 3: X: unbound variable ¦ Info ¦ info\n"
               "Overview ¦ /lib/clean/dev.sh: line 3: finished ¦ Info ¦ info");
    }
    void parse()
    {
        const auto [text, entries, summary] = fetch<QString, QString, QString>("text", "entries", "summary");
        const Report report = CleanPreviewParser::parse(text);
        QCOMPARE(describe(report), entries);
        QCOMPARE(report.summary.value_or(LocalText()).text(), summary);
        QSet<QUuid> ids{QUuid()}; // fresh and distinct
        for (const Report::Entry& entry : report.entries)
            ids.insert(entry.id);
        QCOMPARE(ids.size(), qsizetype(report.entries.size()) + 1);
        QVERIFY(report.generatedAt.isValid());
    }

    // A saved list file reads as its text does; one that cannot be read throws.
    void files()
    {
        const QString path =
            SyntheticHome::write(m_box.path("list.txt"), "\xEF\xBB\xBF=== 浏览器 ===\n~/a  # 1 MB\n");
        QCOMPARE(describe(CleanPreviewParser::parseFile(path)), QString("浏览器 ¦ ~/a ¦ 1 MB ¦ cleanable"));
        QVERIFY_THROWS_EXCEPTION(KelvoError, CleanPreviewParser::parseFile(path + ".gone"));
    }

    void jsonRoundTrip_data()
    {
        columns<Report>("report");
        QTest::newRow("every status and field") << Report{
            {entry("User essentials", "~/Library/Caches", Status::cleanable, "User app caches · 1.2 MB"),
             entry("A", "/done", Status::done), entry("A", "/skipped", Status::skipped, "s"),
             entry("A", "/info", Status::info, ""), entry("A", "/detail", Status::detail, "d"),
             entry("A", "/review", Status::review, "r"),
             entry("Summary", "Potential space: 1 MB", Status::summary)},
            at("2024-03-05T14:07:08.009+08:00"),
            LocalText::same("Potential space: 1 MB")};
        QTest::newRow("an identity and the last year an ISO date holds")
            << Report{{{QUuid::createUuid(), LocalText::same("A"), "/a", std::nullopt, Status::cleanable,
                        FileIdentity{2049, ~0ULL}}},
                      at("9999-12-31T23:59:59.999Z"),
                      std::nullopt};
    }
    void jsonRoundTrip()
    {
        const auto [report] = fetch<Report>("report");
        // Through the text form, as a file would carry it.
        const QByteArray text = QJsonDocument(report.toJson()).toJson();
        QCOMPARE(Report::fromJson(QJsonDocument::fromJson(text).object()), report);
    }

    // The keys the older tool reads; a date no ISO text holds is written as none, never as text that
    // would read back as another.
    void jsonKeys()
    {
        const QUuid id(QStringLiteral("11111111-2222-3333-4444-555555555555"));
        Report report{{{id, LocalText::same("Trash"), "~/.Trash", LocalText::same("User Trash · 1 MB"),
                        Status::cleanable}},
                      at("2024-03-05T14:07:08.009+08:00"),
                      {}};
        QCOMPARE(QJsonDocument(report.toJson()), QJsonDocument::fromJson(R"({
            "generated_at": "2024-03-05T06:07:08.009Z", "summary": null, "section_count": 1, "entries": [
            {"id": "11111111-2222-3333-4444-555555555555", "section": "Trash", "path": "~/.Trash",
             "note": "User Trash · 1 MB", "status": "cleanable"}]})"));
        report.generatedAt = QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc());
        QVERIFY(report.toJson().value("generated_at").isNull());
    }

    // Entries without a text path or a known status (its raw value or its code 0 to 6) are dropped;
    // an unusable id is replaced, a note that is no text is none.
    void jsonIsReadTolerantly()
    {
        const QByteArray json = R"({"entries": ["x", 3, null, {"section": "A", "status": "done"},
            {"path": 5, "status": "done"}, {"path": "/a"}, {"path": "/c", "status": "Done"},
            {"path": "/e", "status": "gone"}, {"path": "/f", "status": "info", "section": "A"},
            {"path": "/0", "status": 0}, {"path": "/6", "status": 6}, {"path": "/7", "status": 7},
            {"path": "/d", "status": 1.5}, {"path": "/b", "status": -1},
            {"path": "/n", "status": "done", "note": 12, "id": "00000000-0000-0000-0000-000000000000"},
            {"path": "/m", "status": "done", "note": "", "id": "11111111-2222-3333-4444-555555555555"}],
            "summary": "Potential space: 1 MB", "section_count": 9, "generated_at": "2024-03-05T14:07:08+08:00"})";
        const Report report = Report::fromJson(QJsonDocument::fromJson(json).object());
        QCOMPARE(describe(report), QString("A ¦ /f ¦ ∅ ¦ info\n ¦ /0 ¦ ∅ ¦ cleanable\n ¦ /6 ¦ ∅ ¦ summary\n"
                                           " ¦ /n ¦ ∅ ¦ done\n ¦ /m ¦  ¦ done"));
        QVERIFY(!report.entries.at(3).id.isNull());
        QCOMPARE(report.entries.back().id, QUuid("11111111-2222-3333-4444-555555555555"));
        QCOMPARE(report.summary, LocalText::same("Potential space: 1 MB"));
        QCOMPARE(report.generatedAt, at("2024-03-05T06:07:08Z"));
        const Report bare = Report::fromJson(
            QJsonDocument::fromJson(R"({"summary": 3, "generated_at": "yesterday"})").object());
        QVERIFY(!bare.summary && !bare.generatedAt.isValid() && bare.entries.empty());
    }

    void exactText_data()
    {
        columns<Report, bool, QString>("written", "colour", "text");
        QTest::newRow("sections grouped, every symbol, notes")
            << report({entry("User essentials", "~/Library/Caches", Status::cleanable, "User caches"),
                       entry("Browsers", "Safari is running", Status::skipped, "3 MB, 2 items"),
                       entry("User essentials", "/x", Status::review),
                       entry("Summary", "Potential space: 1.2 MB", Status::summary),
                       entry("Browsers", "/d", Status::done, "n"),
                       entry("Browsers", "/e", Status::detail, "  "),
                       entry("Browsers", "/f", Status::info, "")},
                      "  Potential space: 1.2 MB | Items: 30 \t")
            << false
            << "{banner}\n{rule}\n\n➤ User essentials\n  → ~/Library/Caches  # User caches\n"
               "  ☞ /x\n\n➤ Browsers\n  ◎ Safari is running  # 3 MB, 2 items\n  ✓ /d  # n\n  ↳ /e\n  • /f\n\n"
               "Potential space: 1.2 MB | Items: 30\nDry run complete\n";
        QTest::newRow("colour, summary in other words behind the prefix")
            << report({entry("A", "/a", Status::cleanable, "1 MB"), entry("A", "/b", Status::done),
                       entry("A", "/c", Status::skipped), entry("A", "/d", Status::review),
                       entry("A", "/e", Status::detail), entry("A", "/f", Status::info)},
                      "预计可清理：0 字节")
            << true
            << "\x1B[1m{banner}\x1B[0m\n{rule}\n\n\x1B[1;34m➤ A\x1B[0m\n"
               "  \x1B[0;32m→\x1B[0m /a  # 1 MB\n  \x1B[0;32m✓\x1B[0m /b\n  \x1B[0;33m◎\x1B[0m /c\n"
               "  \x1B[0;33m☞\x1B[0m /d\n  \x1B[0;90m↳\x1B[0m /e\n  \x1B[0;36m•\x1B[0m /f\n"
               "\nPotential space: 预计可清理：0 字节\nDry run complete\n";
    }
    void exactText()
    {
        const auto [written, colour, text] = fetch<Report, bool, QString>("written", "colour", "text");
        const QString banner = CleanReportText::banner(TargetSystems::built());
        QCOMPARE(CleanReportText::terminalReport(written, colour),
                 QString(text).replace("{banner}", banner).replace("{rule}", QString(banner.size(), '=')));
    }

    // What the format can carry comes back as it was written, in colour or not, however much a text
    // looks like another kind of line.
    void readsBackThroughTheParser_data()
    {
        columns<Report, QString, QString>("written", "entries", "summary"); // entries: summaries aside
        QTest::newRow("texts that look like other lines stay entries")
            << report({entry("Clean Your Mac", "Potential space: 1 MB", Status::info, "Use less"),
                       entry("Clean Your Mac", "Use kelvo", Status::detail),
                       entry("Clean Your Mac", "→ /a", Status::cleanable, "➤ b")})
            << "Clean Your Mac ¦ Potential space: 1 MB ¦ Use less ¦ info\n"
               "Clean Your Mac ¦ Use kelvo ¦ Detail ¦ detail\nClean Your Mac ¦ → /a ¦ ➤ b ¦ cleanable"
            << "Potential space:";
        QTest::newRow("paths that hold a note marker or a shell error's words come back whole")
            << report({entry("A", "/x  #", Status::cleanable, "1 MB"),
                       entry("A", "/lib/clean/a: line 3: unbound variable", Status::info, "n")})
            << "A ¦ /x  # ¦ Cleanable ¦ cleanable\nA ¦ /lib/clean/a: line 3: unbound variable ¦ n ¦ info"
            << "Potential space:";
    }
    void readsBackThroughTheParser()
    {
        const auto [written, entries, summary] =
            fetch<Report, QString, QString>("written", "entries", "summary");
        const auto isSummary = [](const Report::Entry& e) { return e.status == Status::summary; };
        for (bool colour : {false, true}) {
            const Report read = CleanPreviewParser::parse(CleanReportText::terminalReport(written, colour));
            QCOMPARE(describe(read, Status::summary), entries);
            QCOMPARE(read.summary, LocalText::same(summary));
            QCOMPARE(std::count_if(read.entries.begin(), read.entries.end(), isSummary), 1);
        }
    }
};

KELVO_REGISTER_TEST(CleanReportTextTest)
#include "tst_CleanReportText.moc"
