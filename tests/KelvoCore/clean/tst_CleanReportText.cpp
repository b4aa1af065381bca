// The terminal report Kelvo writes: its exact lines, its colours, and that the parser reads it back.
#include "TestMain.h"

#include "clean/CleanPreviewParser.h"
#include "clean/CleanPreviewReport.h"
#include "clean/CleanReportText.h"
#include "platform/DefaultsStore.h"
#include "vocabulary/AppLocalization.h"

#include <QRegularExpression>
#include <QSettings>

Q_DECLARE_METATYPE(CleanPreviewReport)

namespace {

using Report = CleanPreviewReport;
using Status = CleanPreviewReport::EntryStatus;

// One entry as "section ¦ path ¦ note ¦ status", "∅" standing for no note.
QString describe(const Report::Entry& entry)
{
    return QStringList{entry.section, entry.path, entry.note.value_or(QStringLiteral("∅")),
                       Report::rawValue(entry.status)}
        .join(QStringLiteral(" ¦ "));
}

Report::Entry entry(const QString& section, const QString& path, const std::optional<QString>& note,
                    Status status = Status::cleanable)
{
    return {QUuid::createUuid(), section, path, note, status};
}

Report report(std::vector<Report::Entry> entries, const std::optional<QString>& summary)
{
    return {std::move(entries), QDateTime::currentDateTimeUtc(), summary};
}

QString withoutColourCodes(QString text)
{
    static const QRegularExpression code(QStringLiteral("\\x1B\\[[0-9;]*[A-Za-z]"));
    return text.remove(code);
}

} // namespace

class CleanReportTextTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { DefaultsStore::open()->remove(AppLocalization::preferenceKey()); }

    void readsBackThroughTheParser_data()
    {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<Report>("written");
        QTest::addColumn<QStringList>("entries"); // what the parser gives back, summary entries aside
        QTest::addColumn<QString>("summary");

        struct Row {
            const char* name;
            bool chinese;
            Report written;
            QStringList entries;
            QString summary;
        };
        const QString space = QStringLiteral("Potential space: 1.2 GB | Items: 45 | Categories: 3");
        const std::vector<Row> rows{
            {"several sections",
             false,
             report({entry("User essentials", "~/Library/Caches", "User app caches · 1.2 MB, 30 items"),
                     entry("User essentials", "~/Library/Saved Application State",
                           "Saved app states · 4 KB, 1 items"),
                     entry("Browsers", "~/Library/Caches/Google/Chrome", "5 MB, 10 items"),
                     entry("Trash", "~/.Trash", "User Trash · 1 GB, 4 items")},
                    space),
             {"User essentials ¦ ~/Library/Caches ¦ User app caches · 1.2 MB, 30 items ¦ cleanable",
              "User essentials ¦ ~/Library/Saved Application State ¦ Saved app states · 4 KB, 1 items ¦ "
              "cleanable",
              "Browsers ¦ ~/Library/Caches/Google/Chrome ¦ 5 MB, 10 items ¦ cleanable",
              "Trash ¦ ~/.Trash ¦ User Trash · 1 GB, 4 items ¦ cleanable"},
             space},
            {"skipped browser",
             false,
             report({entry("Browsers", "Safari is running, cache cleanup skipped", "3 MB, 2 items",
                           Status::skipped),
                     entry("Browsers", "~/Library/Caches/Firefox", "0 bytes, 0 items")},
                    "Potential space: 0 bytes | Items: 0 | Categories: 1"),
             {"Browsers ¦ Safari is running, cache cleanup skipped ¦ 3 MB, 2 items ¦ skipped",
              "Browsers ¦ ~/Library/Caches/Firefox ¦ 0 bytes, 0 items ¦ cleanable"},
             "Potential space: 0 bytes | Items: 0 | Categories: 1"},
            {"every status without a note: the note names the status",
             false,
             report({entry("A", "/a", std::nullopt, Status::cleanable),
                     entry("A", "/b", std::nullopt, Status::done),
                     entry("A", "/c", std::nullopt, Status::skipped),
                     entry("A", "/d", std::nullopt, Status::review),
                     entry("A", "/e", std::nullopt, Status::detail),
                     entry("A", "/f", std::nullopt, Status::info)},
                    std::nullopt),
             {"A ¦ /a ¦ Cleanable ¦ cleanable", "A ¦ /b ¦ Done ¦ done", "A ¦ /c ¦ Skipped ¦ skipped",
              "A ¦ /d ¦ Review ¦ review", "A ¦ /e ¦ Detail ¦ detail", "A ¦ /f ¦ Info ¦ info"},
             "Potential space:"},
            {"every status with a note",
             false,
             report({entry("A", "/b", "b", Status::done), entry("A", "/c", "c", Status::skipped),
                     entry("A", "/d", "d", Status::review), entry("A", "/e", "e", Status::detail),
                     entry("A", "/f", "f", Status::info)},
                    std::nullopt),
             {"A ¦ /b ¦ b ¦ done", "A ¦ /c ¦ c ¦ skipped", "A ¦ /d ¦ d ¦ review", "A ¦ /e ¦ e ¦ detail",
              "A ¦ /f ¦ f ¦ info"},
             "Potential space:"},
            {"blank notes leave the path whole",
             false,
             report({entry("A", "/a", ""), entry("A", "/b", "   ")}, std::nullopt),
             {"A ¦ /a ¦ Cleanable ¦ cleanable", "A ¦ /b ¦ Cleanable ¦ cleanable"},
             "Potential space:"},
            {"notes holding the marker",
             false,
             report({entry("A", "/a b/c", "12 MB  # old  # keep"), entry("A", "/d", "x # y")}, std::nullopt),
             {"A ¦ /a b/c ¦ 12 MB  # old  # keep ¦ cleanable", "A ¦ /d ¦ x # y ¦ cleanable"},
             "Potential space:"},
            {"texts that look like other lines stay entries",
             false,
             report({entry("Clean Your Mac", "Potential space: 1 MB", "Use less", Status::info),
                     entry("Clean Your Mac", "Use kelvo", std::nullopt, Status::detail),
                     entry("Clean Your Mac", "→ /a", "➤ b")},
                    std::nullopt),
             {"Clean Your Mac ¦ Potential space: 1 MB ¦ Use less ¦ info",
              "Clean Your Mac ¦ Use kelvo ¦ Detail ¦ detail", "Clean Your Mac ¦ → /a ¦ ➤ b ¦ cleanable"},
             "Potential space:"},
            {"Chinese texts",
             true,
             report({entry(QStringLiteral("用户基础项目"), QStringLiteral("~/Library/Caches"),
                           QStringLiteral("用户应用缓存 · 1.2 MB, 30 项")),
                     entry(QStringLiteral("浏览器"), QStringLiteral("Safari 正在运行，缓存清理已跳过"),
                           QStringLiteral("3 MB, 2 项"), Status::skipped),
                     entry(QStringLiteral("废纸篓"), QStringLiteral("~/文稿/旧"), std::nullopt)},
                    QStringLiteral("预计可清理：1.2 MB | 项目：30 | 类别：1")),
             {QStringLiteral("用户基础项目 ¦ ~/Library/Caches ¦ 用户应用缓存 · 1.2 MB, 30 项 ¦ cleanable"),
              QStringLiteral("浏览器 ¦ Safari 正在运行，缓存清理已跳过 ¦ 3 MB, 2 项 ¦ skipped"),
              QStringLiteral("废纸篓 ¦ ~/文稿/旧 ¦ 可清理 ¦ cleanable")},
             QStringLiteral("Potential space: 预计可清理：1.2 MB | 项目：30 | 类别：1")},
            {"interleaved sections come back grouped",
             false,
             report({entry("A", "/a1", "1"), entry("B", "/b1", "2"), entry("A", "/a2", "3")}, std::nullopt),
             {"A ¦ /a1 ¦ 1 ¦ cleanable", "A ¦ /a2 ¦ 3 ¦ cleanable", "B ¦ /b1 ¦ 2 ¦ cleanable"},
             "Potential space:"},
            {"summary entries are no entry lines",
             false,
             report({entry("Summary", "Potential space: 1 MB", std::nullopt, Status::summary),
                     entry("Other", "Space freed: 2 MB", std::nullopt, Status::summary)},
                    "Potential space: 1 MB"),
             {},
             "Potential space: 1 MB"},
            {"summary trimmed", false, report({}, "  Potential space: 1 MB \t"), {}, "Potential space: 1 MB"},
            {"empty report", false, report({}, std::nullopt), {}, "Potential space:"},
        };
        for (const Row& row : rows) {
            for (bool colour : {false, true}) {
                QTest::addRow("%s, %s", row.name, colour ? "colour" : "plain")
                    << row.chinese << row.written << row.entries << row.summary;
            }
        }
    }

    void readsBackThroughTheParser()
    {
        QFETCH(bool, chinese);
        QFETCH(Report, written);
        QFETCH(QStringList, entries);
        QFETCH(QString, summary);
        const bool colour = QByteArray(QTest::currentDataTag()).endsWith("colour");

        AppLocalization::savePreference(chinese ? AppLanguagePreference::chinese
                                                : AppLanguagePreference::english,
                                        *DefaultsStore::open());
        const Report read = CleanPreviewParser::parse(CleanReportText::terminalReport(written, colour));

        QStringList readEntries;
        int summaryEntries = 0;
        for (const Report::Entry& readEntry : read.entries) {
            if (readEntry.status == Status::summary)
                ++summaryEntries;
            else
                readEntries << describe(readEntry);
        }
        QCOMPARE(readEntries, entries);
        QCOMPARE(read.summary, std::optional(summary));
        QCOMPARE(summaryEntries, 1);
    }

    void plainText_data()
    {
        QTest::addColumn<Report>("written");
        QTest::addColumn<QString>("text");

        QTest::newRow("empty report") << report({}, std::nullopt)
                                      << "Clean Your Mac\n"
                                         "==============\n"
                                         "\n"
                                         "Potential space:\n"
                                         "Dry run complete\n";
        QTest::newRow("sections, symbols and notes")
            << report({entry("User essentials", "~/Library/Caches", "User app caches · 1.2 MB, 30 items"),
                       entry("Browsers", "Safari is running, cache cleanup skipped", "3 MB, 2 items",
                             Status::skipped),
                       entry("User essentials", "/x", std::nullopt, Status::review),
                       entry("Summary", "Potential space: 1.2 MB", std::nullopt, Status::summary)},
                      "Potential space: 1.2 MB | Items: 30 | Categories: 1")
            << "Clean Your Mac\n"
               "==============\n"
               "\n"
               "➤ User essentials\n"
               "  → ~/Library/Caches  # User app caches · 1.2 MB, 30 items\n"
               "  ☞ /x\n"
               "\n"
               "➤ Browsers\n"
               "  ◎ Safari is running, cache cleanup skipped  # 3 MB, 2 items\n"
               "\n"
               "Potential space: 1.2 MB | Items: 30 | Categories: 1\n"
               "Dry run complete\n";
        QTest::newRow("other symbols")
            << report({entry("A", "/d", "n", Status::done), entry("A", "/e", std::nullopt, Status::detail),
                       entry("A", "/f", std::nullopt, Status::info)},
                      std::nullopt)
            << "Clean Your Mac\n"
               "==============\n"
               "\n"
               "➤ A\n"
               "  ✓ /d  # n\n"
               "  ↳ /e\n"
               "  • /f\n"
               "\n"
               "Potential space:\n"
               "Dry run complete\n";
        QTest::newRow("Chinese summary behind the prefix")
            << report({}, QStringLiteral("预计可清理：0 字节 | 项目：0 | 类别：0"))
            << QStringLiteral("Clean Your Mac\n"
                              "==============\n"
                              "\n"
                              "Potential space: 预计可清理：0 字节 | 项目：0 | 类别：0\n"
                              "Dry run complete\n");
    }

    void plainText()
    {
        QFETCH(Report, written);
        QFETCH(QString, text);

        const QString plain = CleanReportText::terminalReport(written, false);
        QCOMPARE(plain, text);
        QVERIFY(!plain.contains(QChar(0x1B)));
    }

    void colourOnlyAddsCodes_data()
    {
        QTest::addColumn<Report>("written");
        QTest::addColumn<int>("paintedLines"); // section lines and entry lines

        QTest::newRow("empty report") << report({}, std::nullopt) << 0;
        QTest::newRow("two sections")
            << report({entry("A", "/a", "1 MB"), entry("B", "b", std::nullopt, Status::skipped),
                       entry("A", "/c", std::nullopt, Status::info)},
                      "Potential space: 1 MB")
            << 5;
    }

    void colourOnlyAddsCodes()
    {
        QFETCH(Report, written);
        QFETCH(int, paintedLines);

        const QString plain = CleanReportText::terminalReport(written, false);
        const QString coloured = CleanReportText::terminalReport(written, true);
        QCOMPARE(withoutColourCodes(coloured), plain);

        // Every section title and every status symbol is painted and reset on its own line.
        static const QRegularExpression painted(
            QStringLiteral("^(\\x1B\\[1;34m➤ |  \\x1B\\[[0-9;]+m.\\x1B\\[0m )"));
        int count = 0;
        for (const QString& line : coloured.split(QLatin1Char('\n'))) {
            if (painted.match(line).hasMatch())
                ++count;
            if (line.contains(QChar(0x1B)))
                QVERIFY2(line.count(QChar(0x1B)) % 2 == 0, qPrintable(line)); // no colour left open
        }
        QCOMPARE(count, paintedLines);
    }
};

KELVO_REGISTER_TEST(CleanReportTextTest)
#include "tst_CleanReportText.moc"
