// The terminal report Kelvo writes: its exact lines, its colours, and that the parser reads it back.
#include "TestMain.h"

#include "CleanReports.h"
#include "Language.h"

#include "clean/CleanPreviewParser.h"
#include "clean/CleanReportText.h"

#include <algorithm>

using namespace CleanReports;

namespace {

Report report(std::vector<Report::Entry> entries, const std::optional<QString>& summary = std::nullopt)
{
    return {std::move(entries), QDateTime::currentDateTimeUtc(), summary};
}

} // namespace

class CleanReportTextTest : public QObject {
    Q_OBJECT

private slots:
    void init() { TestSupport::useLanguage(AppLanguagePreference::english); }

    void exactText_data()
    {
        QTest::addColumn<Report>("written");
        QTest::addColumn<bool>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("sections grouped, every symbol, notes")
            << report(
                   {entry("User essentials", "~/Library/Caches", Status::cleanable, "User caches · 1.2 MB"),
                    entry("Browsers", "Safari is running", Status::skipped, "3 MB, 2 items"),
                    entry("User essentials", "/x", Status::review),
                    entry("Summary", "Potential space: 1.2 MB", Status::summary),
                    entry("Browsers", "/d", Status::done, "n"), entry("Browsers", "/e", Status::detail, "  "),
                    entry("Browsers", "/f", Status::info, "")},
                   "  Potential space: 1.2 MB | Items: 30 \t")
            << false
            << "Clean Your Mac\n==============\n\n➤ User essentials\n  → ~/Library/Caches  # User caches · "
               "1.2 MB\n"
               "  ☞ /x\n\n➤ Browsers\n  ◎ Safari is running  # 3 MB, 2 items\n  ✓ /d  # n\n  ↳ /e\n  • /f\n\n"
               "Potential space: 1.2 MB | Items: 30\nDry run complete\n";
        QTest::newRow("colour, summary in other words behind the prefix")
            << report({entry("A", "/a", Status::cleanable, "1 MB"), entry("A", "/b", Status::done),
                       entry("A", "/c", Status::skipped), entry("A", "/d", Status::review),
                       entry("A", "/e", Status::detail), entry("A", "/f", Status::info)},
                      "预计可清理：0 字节")
            << true
            << "\x1B[1mClean Your Mac\x1B[0m\n==============\n\n\x1B[1;34m➤ A\x1B[0m\n"
               "  \x1B[0;32m→\x1B[0m /a  # 1 MB\n  \x1B[0;32m✓\x1B[0m /b\n  \x1B[0;33m◎\x1B[0m /c\n"
               "  \x1B[0;33m☞\x1B[0m /d\n  \x1B[0;90m↳\x1B[0m /e\n  \x1B[0;36m•\x1B[0m /f\n"
               "\nPotential space: 预计可清理：0 字节\nDry run complete\n";
    }
    void exactText()
    {
        QFETCH(Report, written);
        QFETCH(bool, colour);
        QFETCH(QString, text);
        QCOMPARE(CleanReportText::terminalReport(written, colour), text);
    }

    void readsBackThroughTheParser_data()
    {
        QTest::addColumn<Report>("written");
        QTest::addColumn<QString>("entries"); // lines of "section ¦ path ¦ note ¦ status", summaries aside
        QTest::addColumn<QString>("summary");
        QTest::newRow("every status, notes, grouping")
            << report({entry("A", "/a"), entry("B", "/b", Status::done), entry("A", "/c", Status::skipped),
                       entry("A", "/d", Status::review), entry("A", "/e", Status::detail),
                       entry("A", "/f", Status::info), entry("A", "/g", Status::done, "g"),
                       entry("A", "/h h", Status::cleanable, "  "),
                       entry("A", "/m", Status::cleanable, "12 MB  # old  # keep"),
                       entry("Summary", "Space freed: 2 MB", Status::summary)},
                      "Potential space: 1 MB")
            << "A ¦ /a ¦ Cleanable ¦ cleanable\nA ¦ /c ¦ Skipped ¦ skipped\nA ¦ /d ¦ Review ¦ review\n"
               "A ¦ /e ¦ Detail ¦ detail\nA ¦ /f ¦ Info ¦ info\nA ¦ /g ¦ g ¦ done\n"
               "A ¦ /h h ¦ Cleanable ¦ cleanable\nA ¦ /m ¦ 12 MB  # old  # keep ¦ cleanable\nB ¦ /b ¦ Done ¦ "
               "done"
            << "Potential space: 1 MB";
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
        QFETCH(Report, written);
        QFETCH(QString, entries);
        QFETCH(QString, summary);
        const auto isSummary = [](const Report::Entry& e) { return e.status == Status::summary; };
        for (bool colour : {false, true}) {
            const Report read = CleanPreviewParser::parse(CleanReportText::terminalReport(written, colour));
            QCOMPARE(describe(read, Status::summary), entries);
            QCOMPARE(read.summary, std::optional(summary));
            QCOMPARE(std::count_if(read.entries.begin(), read.entries.end(), isSummary), 1);
        }
    }
};

KELVO_REGISTER_TEST(CleanReportTextTest)
#include "tst_CleanReportText.moc"
