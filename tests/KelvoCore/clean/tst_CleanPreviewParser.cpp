// Reading the older tool's clean list file and terminal output, and the report's JSON form.
#include "TestMain.h"

#include "CleanReports.h"
#include "Language.h"
#include "SyntheticHome.h"

#include "clean/CleanPreviewParser.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>
#include <QSet>
#include <QTimeZone>

using namespace CleanReports;

namespace {

const QString esc = QStringLiteral("\x1B");

bool idsAreFreshAndDistinct(const Report& report)
{
    QSet<QUuid> ids;
    for (const Report::Entry& entry : report.entries)
        ids.insert(entry.id);
    return !ids.contains(QUuid()) && ids.size() == qsizetype(report.entries.size());
}

QDateTime at(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODateWithMs);
}

} // namespace

class CleanPreviewParserTest : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_box;

private slots:
    void init() { m_box.renew(); }

    void parse_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("summary"); // null: none
        const auto row = [](const char* name, const QString& text, const QString& entries,
                            const QString& summary = QString(), bool chinese = false) {
            QTest::newRow(name) << chinese << text << entries << summary;
        };
        const QString done = QStringLiteral("\nDry run complete\n");

        // The clean list file.
        row("empty", "", "");
        row("default section, then sections in file order",
            "/a  # 1 MB\n~/b\n=== A ===\n/c\n=== B ===\n/d\n=== A ===\n/e\n",
            "可清理项目 ¦ /a ¦ 1 MB ¦ cleanable\n可清理项目 ¦ ~/b ¦ ∅ ¦ cleanable\n"
            "A ¦ /c ¦ ∅ ¦ cleanable\nB ¦ /d ¦ ∅ ¦ cleanable\nA ¦ /e ¦ ∅ ¦ cleanable");
        row("header forms, titles keep inner spaces and signs",
            "==Short==\n/a\n=== 浏览器 工具 ===\n/c\n=== a = b ===\n/d\n",
            "Short ¦ /a ¦ ∅ ¦ cleanable\n浏览器 工具 ¦ /c ¦ ∅ ¦ cleanable\na = b ¦ /d ¦ ∅ ¦ cleanable");
        row("fences alone and one-sided fences are no header",
            "=== A ===\n/a\n======\n/b\n===    ===\n/c\n=== B\n/d\n",
            "A ¦ /a ¦ ∅ ¦ cleanable\nA ¦ /b ¦ ∅ ¦ cleanable\nA ¦ /c ¦ ∅ ¦ cleanable\nA ¦ /d ¦ ∅ ¦ cleanable");
        row("notes: several markers, trimming, a single space before #",
            "~/c  # 12 MB  # old\n\t /a b   # \t 12 MB \t\n/a # 12 MB\n",
            "可清理项目 ¦ ~/c ¦ 12 MB  # old ¦ cleanable\n可清理项目 ¦ /a b ¦ 12 MB ¦ cleanable\n"
            "可清理项目 ¦ /a # 12 MB ¦ ∅ ¦ cleanable");
        row("comments, paths without / or ~, status symbols dropped",
            "# list\n   # indented\n#/not/a/path\nLibrary/foo  # 12 MB\n./x\nfoo\n  # 1 MB\n→ /y\n/a\n",
            "可清理项目 ¦ /a ¦ ∅ ¦ cleanable");

        // Markers that make a text terminal output.
        const QString line = QStringLiteral("→ /a  # 1 MB\n/b\n");
        const QString asTerminal = QStringLiteral("Overview ¦ /a ¦ 1 MB ¦ cleanable");
        row("marker: Dry run complete", line + "Dry run complete", asTerminal);
        row("marker: Cleanup complete", line + "Cleanup complete", asTerminal);
        row("marker: section arrow", line + "➤ ", asTerminal);
        row("marker: colour codes inside", line + "Dry " + esc + "[1mrun" + esc + "[0m complete", asTerminal);
        row("marker words are case-sensitive", line + "dry run complete", "可清理项目 ¦ /b ¦ ∅ ¦ cleanable");

        // Terminal output.
        row("banner, rules, unknown lines, trimmed titles",
            "Clean Your Mac\n==============\n\n➤    Developer tools  \nScanning caches...\n12 MB found\n"
            "= = =\n===\nClean Your Mac\nUseful caches\n• npm\nDry run complete",
            "Developer tools ¦ npm ¦ Info ¦ info");
        row("default section, sections, summary and detail lines, last summary wins",
            "→ /a  # 1 MB\n➤ A\n→ /b\nPotential space: 1 MB\nDetailed file list: /l\n"
            "Use kelvo clean to clean\n→ /c\nSpace freed: 2 MB\nCleanup complete\n",
            "Overview ¦ /a ¦ 1 MB ¦ cleanable\nA ¦ /b ¦ Cleanable ¦ cleanable\n"
            "Summary ¦ Potential space: 1 MB ¦ ∅ ¦ summary\nSummary ¦ Detailed file list: /l ¦ ∅ ¦ detail\n"
            "Summary ¦ Use kelvo clean to clean ¦ ∅ ¦ detail\nA ¦ /c ¦ Cleanable ¦ cleanable\n"
            "Summary ¦ Space freed: 2 MB ¦ ∅ ¦ summary",
            "Space freed: 2 MB");
        row("Chinese sections and every symbol's label",
            "→ /a  # 1 MB\n  Potential space: 1 MB  \nUse kelvo clean\n→ a\n✓ b\n◎ c\n☞ d\n↳ e\n• f\n⚙ g" +
                done,
            "概览 ¦ /a ¦ 1 MB ¦ cleanable\n汇总 ¦ Potential space: 1 MB ¦ ∅ ¦ summary\n"
            "汇总 ¦ Use kelvo clean ¦ ∅ ¦ detail\n概览 ¦ a ¦ 可清理 ¦ cleanable\n"
            "概览 ¦ b ¦ 已完成 ¦ done\n概览 ¦ c ¦ 已跳过 ¦ skipped\n概览 ¦ d ¦ 待确认 ¦ review\n"
            "概览 ¦ e ¦ 详情 ¦ detail\n概览 ¦ f ¦ 信息 ¦ info\n概览 ¦ g ¦ 信息 ¦ info",
            "Potential space: 1 MB", true);
        row("shell error lines",
            "/usr/local/lib/clean/user.sh: line 42: HOME: unbound variable\n"
            "• /opt/tarn/lib/clean/dev.sh: line 7: X: unbound variable\n• unbound variable\n"
            "• /lib/clean/ but no line number: unbound variable\n• tools.sh: line 3: X: unbound variable\n"
            "• /lib/clean/dev.sh: line 3: finished" +
                done,
            "Overview ¦ /opt/tarn/lib/clean/dev.sh: line 7: X: unbound variable ¦ Info ¦ info\n"
            "Overview ¦ unbound variable ¦ Info ¦ info\n"
            "Overview ¦ /lib/clean/ but no line number: unbound variable ¦ Info ¦ info\n"
            "Overview ¦ tools.sh: line 3: X: unbound variable ¦ Info ¦ info\n"
            "Overview ¦ /lib/clean/dev.sh: line 3: finished ¦ Info ¦ info");
        row("colour codes",
            esc + "[1;34m➤ Browsers" + esc + "[0m\n  " + esc + "[0;32m→" + esc + "[0m /a  # 1 MB" + done,
            "Browsers ¦ /a ¦ 1 MB ¦ cleanable");
        row("gear with variation selector", "⚙️ Optimizing" + done,
            "Overview ¦ Optimizing ¦ Info ¦ info");
        row("note with markers inside", "◎ x  # 1 MB  # 2  # 3" + done,
            "Overview ¦ x ¦ 1 MB  # 2  # 3 ¦ skipped");
        row("single space before # stays in the text", "→ /a # b" + done,
            "Overview ¦ /a # b ¦ Cleanable ¦ cleanable");
        row("no space after the symbol", "✓/a" + done, "Overview ¦ /a ¦ Done ¦ done");
        row("symbol alone", "↳" + done, "Overview ¦  ¦ Detail ¦ detail");
        row("lines without a leading symbol", "a → b\n⇒ /a" + done, "");
    }
    void parse()
    {
        QFETCH(bool, chinese);
        QFETCH(QString, text);
        QFETCH(QString, entries);
        QFETCH(QString, summary);
        TestSupport::useLanguage(chinese ? AppLanguagePreference::chinese : AppLanguagePreference::english);
        const Report report = CleanPreviewParser::parse(text);
        QCOMPARE(describe(report), entries);
        QCOMPARE(report.summary, summary.isNull() ? std::nullopt : std::optional(summary));
        QVERIFY(idsAreFreshAndDistinct(report));
        QVERIFY(report.generatedAt.isValid());
    }

    void files()
    {
        const QString path = m_box.path("clean-list.txt");
        QCOMPARE(CleanPreviewParser::defaultReportURL(m_box.home() + "/"),
                 m_box.home() + "/.config/kelvo/clean-list.txt");
        QCOMPARE(CleanPreviewParser::legacyReportURL(m_box.home()),
                 m_box.home() + "/.config/tarn/clean-list.txt");
        QVERIFY_THROWS_EXCEPTION(KelvoError, CleanPreviewParser::parseFile(path)); // missing
        const QByteArray list = "\xEF\xBB\xBF=== 浏览器 ===\n~/a  # 1 MB\n";       // with a byte-order mark
        SyntheticHome::write(path, list);
        QCOMPARE(describe(CleanPreviewParser::parseFile(path)), QString("浏览器 ¦ ~/a ¦ 1 MB ¦ cleanable"));
        SyntheticHome::write(path, list + "/caf\xE9\n");
        QVERIFY_THROWS_EXCEPTION(KelvoError, CleanPreviewParser::parseFile(path)); // not UTF-8
    }

    // Sections are told apart by their exact title, whatever the entries' statuses.
    void sectionCount()
    {
        Report report;
        QCOMPARE(report.sectionCount(), 0);
        const QStringList sections{"A", "a", "", "A", "B", "", "Summary"};
        for (qsizetype i = 0; i < sections.size(); ++i)
            report.entries.push_back(entry(sections[i], "/x", Status(i % 7)));
        QCOMPARE(report.sectionCount(), 5);
    }

    void jsonRoundTrip_data()
    {
        QTest::addColumn<Report>("report");
        QTest::newRow("every status and field") << Report{
            {entry("User essentials", "~/Library/Caches", Status::cleanable, "User app caches · 1.2 MB"),
             entry("A", "/done", Status::done), entry("A", "/skipped", Status::skipped, "s"),
             entry("A", "/info", Status::info, ""), entry("A", "/detail", Status::detail, "d"),
             entry("A", "/review", Status::review, "r"),
             entry("Summary", "Potential space: 1 MB", Status::summary)},
            at("2024-03-05T14:07:08.009+08:00"),
            "Potential space: 1 MB"};
        QTest::newRow("empty report") << Report{};
        QTest::newRow("an identity and the last year an ISO date holds") << Report{
            {{QUuid::createUuid(), "A", "/a", std::nullopt, Status::cleanable, FileIdentity{2049, ~0ULL}}},
            at("9999-12-31T23:59:59.999Z"),
            std::nullopt};
    }
    void jsonRoundTrip()
    {
        QFETCH(Report, report);
        // Through the text form, as a file would carry it.
        const QByteArray text = QJsonDocument(report.toJson()).toJson();
        QCOMPARE(Report::fromJson(QJsonDocument::fromJson(text).object()), report);
    }

    // A date no ISO text holds is written as none, never as text that would read back as another.
    void aDateBeyondYear9999IsWrittenAsNone()
    {
        const Report report{{}, QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc()), std::nullopt};
        QVERIFY(report.toJson().value("generated_at").isNull());
    }

    void jsonKeys()
    {
        const QUuid id(QStringLiteral("11111111-2222-3333-4444-555555555555"));
        const Report report{{{id, "Trash", "~/.Trash", "User Trash · 1 MB", Status::cleanable}},
                            at("2024-03-05T14:07:08.009+08:00"),
                            std::nullopt};
        QCOMPARE(QJsonDocument(report.toJson()), QJsonDocument::fromJson(R"({
            "generated_at": "2024-03-05T06:07:08.009Z", "summary": null, "section_count": 1, "entries": [
            {"id": "11111111-2222-3333-4444-555555555555", "section": "Trash", "path": "~/.Trash",
             "note": "User Trash · 1 MB", "status": "cleanable"}]})"));
    }

    void jsonIsReadTolerantly_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QString>("summary");       // null: none
        QTest::addColumn<QDateTime>("generatedAt"); // invalid: no date
        QTest::addColumn<QString>("id");            // null: fresh ids
        const auto row = [](const char* name, const QByteArray& json, const QString& entries,
                            const QString& summary = QString(), const QDateTime& generatedAt = QDateTime(),
                            const QString& id = QString()) {
            QTest::newRow(name) << json << entries << summary << generatedAt << id;
        };
        row("entries not a list", R"({"entries": {"path": "/a", "status": "done"}})", "");
        row("unreadable entries dropped",
            R"({"entries": ["x", 3, null, {"section": "A", "status": "done"}, {"path": 5, "status": "done"},
                {"path": "/a"}, {"path": "/b", "status": null}, {"path": "/c", "status": "Done"},
                {"path": "/e", "status": "gone"}, {"path": "/f", "status": "info", "section": "A"}]})",
            "A ¦ /f ¦ ∅ ¦ info");
        row("numeric status codes",
            R"({"entries": [{"path": "/0", "status": 0}, {"path": "/1", "status": 1}, {"path": "/2", "status": 2},
                {"path": "/3", "status": 3}, {"path": "/4", "status": 4}, {"path": "/5", "status": 5},
                {"path": "/6", "status": 6}, {"path": "/7", "status": 7}, {"path": "/d", "status": 1.5},
                {"path": "/e", "status": -1}]})",
            " ¦ /0 ¦ ∅ ¦ cleanable\n ¦ /1 ¦ ∅ ¦ done\n ¦ /2 ¦ ∅ ¦ skipped\n ¦ /3 ¦ ∅ ¦ info\n"
            " ¦ /4 ¦ ∅ ¦ detail\n ¦ /5 ¦ ∅ ¦ review\n ¦ /6 ¦ ∅ ¦ summary");
        row("note not text, empty note kept",
            R"({"entries": [{"path": "/a", "status": "done", "note": 12}, {"path": "/b", "status": "done", "note": ""}]})",
            " ¦ /a ¦ ∅ ¦ done\n ¦ /b ¦  ¦ done");
        row("summary not text, date not a date", R"({"summary": 3, "generated_at": "yesterday"})", "");
        row("summary text, date with an offset",
            R"({"summary": "Potential space: 1 MB", "generated_at": "2024-03-05T14:07:08+08:00"})", "",
            "Potential space: 1 MB", at("2024-03-05T06:07:08Z"));
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const auto withIds = [](const QString& idJson) {
            return R"({"entries": [{"id": )" + idJson.toUtf8() +
                   R"(, "path": "/a", "status": "done"}, {"id": )" + idJson.toUtf8() +
                   R"(, "path": "/b", "status": "done"}]})";
        };
        const QString twoEntries = QStringLiteral(" ¦ /a ¦ ∅ ¦ done\n ¦ /b ¦ ∅ ¦ done");
        row("id kept", withIds("\"" + id + "\""), twoEntries, {}, {}, id);
        row("id not a UUID", withIds("\"not-a-uuid\""), twoEntries);
        row("nil id", withIds("\"00000000-0000-0000-0000-000000000000\""), twoEntries);
    }
    void jsonIsReadTolerantly()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, entries);
        QFETCH(QString, summary);
        QFETCH(QDateTime, generatedAt);
        QFETCH(QString, id);
        const Report report = Report::fromJson(QJsonDocument::fromJson(json).object());
        QCOMPARE(describe(report), entries);
        QCOMPARE(report.summary, summary.isNull() ? std::nullopt : std::optional(summary));
        QCOMPARE(report.generatedAt, generatedAt);
        if (id.isNull())
            QVERIFY(idsAreFreshAndDistinct(report));
        else
            QCOMPARE(report.entries.at(1).id.toString(QUuid::WithoutBraces), id);
    }
};

KELVO_REGISTER_TEST(CleanPreviewParserTest)
#include "tst_CleanPreviewParser.moc"
