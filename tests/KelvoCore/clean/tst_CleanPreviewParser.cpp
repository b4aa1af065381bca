// Reading the older tool's clean list file and terminal output, and the report's JSON form.
#include "TestMain.h"

#include "clean/CleanPreviewParser.h"
#include "clean/CleanPreviewReport.h"
#include "platform/DefaultsStore.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSettings>

Q_DECLARE_METATYPE(CleanPreviewReport)

namespace {

using Report = CleanPreviewReport;
using Status = CleanPreviewReport::EntryStatus;

const QString esc = QStringLiteral("\x1B");

// One entry as "section ¦ path ¦ note ¦ status", "∅" standing for no note.
QString describe(const Report::Entry& entry)
{
    return QStringList{entry.section, entry.path, entry.note.value_or(QStringLiteral("∅")),
                       Report::rawValue(entry.status)}
        .join(QStringLiteral(" ¦ "));
}

QStringList describe(const Report& report)
{
    QStringList result;
    for (const Report::Entry& entry : report.entries)
        result << describe(entry);
    return result;
}

bool idsAreFreshAndDistinct(const Report& report)
{
    QSet<QUuid> ids;
    for (const Report::Entry& entry : report.entries) {
        if (entry.id.isNull())
            return false;
        ids.insert(entry.id);
    }
    return ids.size() == qsizetype(report.entries.size());
}

void useLanguage(const QString& language)
{
    AppLocalization::savePreference(language == QLatin1String("chinese") ? AppLanguagePreference::chinese
                                                                         : AppLanguagePreference::english,
                                    *DefaultsStore::open());
}

Report::Entry entry(const QString& section, const QString& path, const std::optional<QString>& note,
                    Status status)
{
    return {QUuid::createUuid(), section, path, note, status};
}

QDateTime at(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODateWithMs);
}

Report readJson(const QByteArray& json)
{
    return Report::fromJson(QJsonDocument::fromJson(json).object());
}

} // namespace

class CleanPreviewParserTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;

    QString writeFile(const QByteArray& bytes) const
    {
        const QString path = m_root->filePath(QStringLiteral("clean-list.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        useLanguage(QStringLiteral("english"));
    }

    void cleanup()
    {
        m_root.reset();
        DefaultsStore::open()->remove(AppLocalization::preferenceKey());
    }

    void reportLocations_data()
    {
        QTest::addColumn<QString>("homeSuffix");

        QTest::newRow("plain home") << "";
        QTest::newRow("home with trailing separator") << "/";
    }

    void reportLocations()
    {
        QFETCH(QString, homeSuffix);

        const QString home = m_root->filePath(QStringLiteral("home"));
        QCOMPARE(CleanPreviewParser::defaultReportURL(home + homeSuffix),
                 home + QStringLiteral("/.config/kelvo/clean-list.txt"));
        QCOMPARE(CleanPreviewParser::legacyReportURL(home + homeSuffix),
                 home + QStringLiteral("/.config/tarn/clean-list.txt"));
    }

    void cleanListFile_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("entries before any header")
            << "/a  # 1 MB\n~/b\n"
            << QStringList{"可清理项目 ¦ /a ¦ 1 MB ¦ cleanable", "可清理项目 ¦ ~/b ¦ ∅ ¦ cleanable"};
        QTest::newRow("spaced header") << "=== Browsers ===\n/a\n"
                                       << QStringList{"Browsers ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("tight short header") << "==Browsers==\n/a\n"
                                            << QStringList{"Browsers ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("tight header") << "===Browsers===\n/a\n"
                                      << QStringList{"Browsers ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("header of fences only is ignored")
            << "=== A ===\n/a\n======\n/b\n"
            << QStringList{"A ¦ /a ¦ ∅ ¦ cleanable", "A ¦ /b ¦ ∅ ¦ cleanable"};
        QTest::newRow("header of fences and spaces is ignored") << "=== A ===\n===    ===\n/b\n"
                                                                << QStringList{"A ¦ /b ¦ ∅ ¦ cleanable"};
        QTest::newRow("title keeps inner spaces and signs")
            << "=== Developer tools ===\n/a\n=== a = b ===\n/b\n"
            << QStringList{"Developer tools ¦ /a ¦ ∅ ¦ cleanable", "a = b ¦ /b ¦ ∅ ¦ cleanable"};
        QTest::newRow("one-sided fence is no header") << "=== A ===\n=== B\n/a\n"
                                                      << QStringList{"A ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("notes with several markers")
            << "~/Library/Caches/foo  # 12 MB  # old\n"
            << QStringList{"可清理项目 ¦ ~/Library/Caches/foo ¦ 12 MB  # old ¦ cleanable"};
        QTest::newRow("note and path trimmed") << "\t /a b   # \t 12 MB \t\n"
                                               << QStringList{"可清理项目 ¦ /a b ¦ 12 MB ¦ cleanable"};
        QTest::newRow("a single space before # is part of the path")
            << "/a # 12 MB\n"
            << QStringList{"可清理项目 ¦ /a # 12 MB ¦ ∅ ¦ cleanable"};
        QTest::newRow("paths without / or ~ dropped") << "Library/Caches/foo  # 12 MB\n./x\nfoo\n  # 1 MB\n"
                                                      << QStringList{};
        QTest::newRow("comments, indented ones too")
            << "# Kelvo clean list\n   # indented\n#/not/a/path\n/a\n"
            << QStringList{"可清理项目 ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("CRLF and blank lines")
            << "=== A ===\r\n\r\n/a  # 1 MB\r\n\r\n~/b\r\n"
            << QStringList{"A ¦ /a ¦ 1 MB ¦ cleanable", "A ¦ ~/b ¦ ∅ ¦ cleanable"};
        QTest::newRow("sections in file order")
            << "/a\n=== A ===\n/b\n=== B ===\n/c\n=== A ===\n/d\n"
            << QStringList{"可清理项目 ¦ /a ¦ ∅ ¦ cleanable", "A ¦ /b ¦ ∅ ¦ cleanable",
                           "B ¦ /c ¦ ∅ ¦ cleanable", "A ¦ /d ¦ ∅ ¦ cleanable"};
        QTest::newRow("Chinese texts")
            << QStringLiteral("=== 浏览器 ===\n~/文档/缓存  # 12 MB, 3 项\n")
            << QStringList{QStringLiteral("浏览器 ¦ ~/文档/缓存 ¦ 12 MB, 3 项 ¦ cleanable")};
        QTest::newRow("colour codes stripped")
            << esc + "[1;34m=== A ===" + esc + "[0m\n" + esc + "[32m/a" + esc + "[0m  # 1 MB\n"
            << QStringList{"A ¦ /a ¦ 1 MB ¦ cleanable"};
        QTest::newRow("status symbols mean nothing here") << "→ /a\n/b\n"
                                                          << QStringList{"可清理项目 ¦ /b ¦ ∅ ¦ cleanable"};
    }

    void cleanListFile()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);

        const Report report = CleanPreviewParser::parse(text);
        QCOMPARE(describe(report), entries);
        QVERIFY(idsAreFreshAndDistinct(report));
        QVERIFY(!report.summary);
        QVERIFY(report.generatedAt.isValid());
    }

    void formatIsChosenByMarkers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");

        const QString line = QStringLiteral("→ /a  # 1 MB\n/b\n");
        const QStringList asTerminal{"Overview ¦ /a ¦ 1 MB ¦ cleanable"};
        const QStringList asList{"可清理项目 ¦ /b ¦ ∅ ¦ cleanable"};

        QTest::newRow("no marker: clean list file") << line << asList;
        QTest::newRow("Dry run complete") << line + "Dry run complete\n" << asTerminal;
        QTest::newRow("Cleanup complete") << line + "Cleanup complete\n" << asTerminal;
        QTest::newRow("section arrow") << line + "➤ \n" << asTerminal;
        QTest::newRow("colour codes inside the closing line")
            << line + "Dry " + esc + "[1mrun" + esc + "[0m complete\n"
            << asTerminal;
        QTest::newRow("marker words are case-sensitive") << line + "dry run complete\n" << asList;
    }

    void formatIsChosenByMarkers()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);

        QCOMPARE(describe(CleanPreviewParser::parse(text)), entries);
    }

    void terminalOutput_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("summary"); // null: none

        const QString done = QStringLiteral("Dry run complete\n");
        const QString space = QStringLiteral("Potential space: 1.2 MB | Items: 30 | Categories: 2");

        QTest::newRow("banner and closing line only")
            << "english"
            << "Clean Your Mac\n==============\n\n" + done << QStringList{} << QString();
        QTest::newRow("default section in English")
            << "english"
            << "→ /a  # 1 MB\n" + done << QStringList{"Overview ¦ /a ¦ 1 MB ¦ cleanable"} << QString();
        QTest::newRow("default section in Chinese")
            << "chinese"
            << "→ /a  # 1 MB\n" + done << QStringList{QStringLiteral("概览 ¦ /a ¦ 1 MB ¦ cleanable")}
            << QString();
        QTest::newRow("sections")
            << "english"
            << "➤ User essentials\n  → ~/Library/Caches  # User app caches · 1.2 MB, 30 items\n"
               "➤ Browsers\n  ◎ Safari is running, cache cleanup skipped  # 3 MB, 2 items\n" +
                   done
            << QStringList{"User essentials ¦ ~/Library/Caches ¦ User app caches · 1.2 MB, 30 items ¦ "
                           "cleanable",
                           "Browsers ¦ Safari is running, cache cleanup skipped ¦ 3 MB, 2 items ¦ skipped"}
            << QString();
        QTest::newRow("section titles trimmed")
            << "english"
            << "➤    Developer tools  \n• npm\n" + done << QStringList{"Developer tools ¦ npm ¦ Info ¦ info"}
            << QString();
        QTest::newRow("summary line in English")
            << "english" << space + "\n" + done << QStringList{"Summary ¦ " + space + " ¦ ∅ ¦ summary"}
            << space;
        QTest::newRow("summary line in Chinese")
            << "chinese"
            << "  " + space + "  \n" + done
            << QStringList{QStringLiteral("汇总 ¦ ") + space + " ¦ ∅ ¦ summary"} << space;
        QTest::newRow("summary keeps its section apart")
            << "english"
            << "➤ A\n→ /a\n" + space + "\n→ /b\n" + done
            << QStringList{"A ¦ /a ¦ Cleanable ¦ cleanable", "Summary ¦ " + space + " ¦ ∅ ¦ summary",
                           "A ¦ /b ¦ Cleanable ¦ cleanable"}
            << space;
        QTest::newRow("last summary wins") << "english"
                                           << "Potential space: 1 MB\nSpace freed: 2 MB\nCleanup complete\n"
                                           << QStringList{"Summary ¦ Potential space: 1 MB ¦ ∅ ¦ summary",
                                                          "Summary ¦ Space freed: 2 MB ¦ ∅ ¦ summary"}
                                           << "Space freed: 2 MB";
        QTest::newRow("detail lines")
            << "english"
            << "➤ A\nDetailed file list: /tmp/list.txt\nUse kelvo clean to clean\n" + done
            << QStringList{"Summary ¦ Detailed file list: /tmp/list.txt ¦ ∅ ¦ detail",
                           "Summary ¦ Use kelvo clean to clean ¦ ∅ ¦ detail"}
            << QString();
        QTest::newRow("detail lines in Chinese")
            << "chinese"
            << "Use kelvo clean\n" + done
            << QStringList{QStringLiteral("汇总 ¦ Use kelvo clean ¦ ∅ ¦ detail")} << QString();
        QTest::newRow("Useful is no detail line") << "english"
                                                  << "Useful caches\n" + done << QStringList{} << QString();
        QTest::newRow("shell error lines")
            << "english"
            << "/usr/local/lib/clean/user.sh: line 42: HOME: unbound variable\n"
               "• /opt/tarn/lib/clean/dev.sh: line 7: X: unbound variable\n"
               "• unbound variable\n• /lib/clean/ but no line number: unbound variable\n"
               "• tools.sh: line 3: X: unbound variable\n• /lib/clean/dev.sh: line 3: finished\n" +
                   done
            << QStringList{"Overview ¦ unbound variable ¦ Info ¦ info",
                           "Overview ¦ /lib/clean/ but no line number: unbound variable ¦ Info ¦ info",
                           "Overview ¦ tools.sh: line 3: X: unbound variable ¦ Info ¦ info",
                           "Overview ¦ /lib/clean/dev.sh: line 3: finished ¦ Info ¦ info"}
            << QString();
        QTest::newRow("note split at the first marker")
            << "english"
            << "→ /a  # 12 MB  # old\n" + done << QStringList{"Overview ¦ /a ¦ 12 MB  # old ¦ cleanable"}
            << QString();
        QTest::newRow("colour codes") << "english"
                                      << esc + "[1;34m➤ Browsers" + esc + "[0m\n  " + esc + "[0;32m→" + esc +
                                             "[0m /a  # 1 MB\n" + esc + "[1mDry run complete" + esc + "[0m\n"
                                      << QStringList{"Browsers ¦ /a ¦ 1 MB ¦ cleanable"} << QString();
        QTest::newRow("CRLF") << "english"
                              << "➤ A\r\n\r\n  → /a\r\nDry run complete\r\n"
                              << QStringList{"A ¦ /a ¦ Cleanable ¦ cleanable"} << QString();
        QTest::newRow("unknown lines dropped") << "english"
                                               << "➤ A\nScanning caches...\n12 MB found\n= = =\n→ /a\n" + done
                                               << QStringList{"A ¦ /a ¦ Cleanable ¦ cleanable"} << QString();
        QTest::newRow("rules and banner inside sections")
            << "english"
            << "➤ A\n===\nClean Your Mac\n→ /a\n" + done << QStringList{"A ¦ /a ¦ Cleanable ¦ cleanable"}
            << QString();
        QTest::newRow("every symbol in English") << "english"
                                                 << "→ a\n✓ b\n◎ c\n☞ d\n↳ e\n• f\n⚙ g\n" + done
                                                 << QStringList{"Overview ¦ a ¦ Cleanable ¦ cleanable",
                                                                "Overview ¦ b ¦ Done ¦ done",
                                                                "Overview ¦ c ¦ Skipped ¦ skipped",
                                                                "Overview ¦ d ¦ Review ¦ review",
                                                                "Overview ¦ e ¦ Detail ¦ detail",
                                                                "Overview ¦ f ¦ Info ¦ info",
                                                                "Overview ¦ g ¦ Info ¦ info"}
                                                 << QString();
        QTest::newRow("every symbol in Chinese")
            << "chinese"
            << "→ a\n✓ b\n◎ c\n☞ d\n↳ e\n• f\n⚙ g\n" + done
            << QStringList{QStringLiteral("概览 ¦ a ¦ 可清理 ¦ cleanable"),
                           QStringLiteral("概览 ¦ b ¦ 已完成 ¦ done"),
                           QStringLiteral("概览 ¦ c ¦ 已跳过 ¦ skipped"),
                           QStringLiteral("概览 ¦ d ¦ 待确认 ¦ review"),
                           QStringLiteral("概览 ¦ e ¦ 详情 ¦ detail"),
                           QStringLiteral("概览 ¦ f ¦ 信息 ¦ info"),
                           QStringLiteral("概览 ¦ g ¦ 信息 ¦ info")}
            << QString();
    }

    void terminalOutput()
    {
        QFETCH(QString, language);
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QFETCH(QString, summary);

        useLanguage(language);
        const Report report = CleanPreviewParser::parse(text);
        QCOMPARE(describe(report), entries);
        QCOMPARE(report.summary.has_value(), !summary.isNull());
        QCOMPARE(report.summary.value_or(QString()), summary);
        QVERIFY(idsAreFreshAndDistinct(report));
    }

    void terminalLine_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("recognised");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("note"); // null: none
        QTest::addColumn<QString>("status");

        QTest::newRow("cleanable") << "english"
                                   << "→ /a" << true << "/a"
                                   << "Cleanable"
                                   << "cleanable";
        QTest::newRow("done") << "english"
                              << "✓ /a" << true << "/a"
                              << "Done"
                              << "done";
        QTest::newRow("skipped") << "english"
                                 << "◎ /a" << true << "/a"
                                 << "Skipped"
                                 << "skipped";
        QTest::newRow("review") << "english"
                                << "☞ /a" << true << "/a"
                                << "Review"
                                << "review";
        QTest::newRow("detail") << "english"
                                << "↳ /a" << true << "/a"
                                << "Detail"
                                << "detail";
        QTest::newRow("bullet") << "english"
                                << "• /a" << true << "/a"
                                << "Info"
                                << "info";
        QTest::newRow("gear") << "english"
                              << "⚙ /a" << true << "/a"
                              << "Info"
                              << "info";
        QTest::newRow("gear with variation selector") << "english"
                                                      << "⚙️ Optimizing" << true << "Optimizing"
                                                      << "Info"
                                                      << "info";
        QTest::newRow("cleanable in Chinese") << "chinese"
                                              << "→ /a" << true << "/a"
                                              << "可清理"
                                              << "cleanable";
        QTest::newRow("done in Chinese") << "chinese"
                                         << "✓ /a" << true << "/a"
                                         << "已完成"
                                         << "done";
        QTest::newRow("skipped in Chinese") << "chinese"
                                            << "◎ /a" << true << "/a"
                                            << "已跳过"
                                            << "skipped";
        QTest::newRow("review in Chinese") << "chinese"
                                           << "☞ /a" << true << "/a"
                                           << "待确认"
                                           << "review";
        QTest::newRow("detail in Chinese") << "chinese"
                                           << "↳ /a" << true << "/a"
                                           << "详情"
                                           << "detail";
        QTest::newRow("info in Chinese") << "chinese"
                                         << "• /a" << true << "/a"
                                         << "信息"
                                         << "info";
        QTest::newRow("note after the marker")
            << "english"
            << "→ ~/Library/Caches  # User app caches · 1.2 MB, 30 items" << true << "~/Library/Caches"
            << "User app caches · 1.2 MB, 30 items"
            << "cleanable";
        QTest::newRow("note with markers inside") << "chinese"
                                                  << "◎ x  # 1 MB  # 2  # 3" << true << "x"
                                                  << "1 MB  # 2  # 3"
                                                  << "skipped";
        QTest::newRow("single space before # stays in the text") << "english"
                                                                 << "→ /a # b" << true << "/a # b"
                                                                 << "Cleanable"
                                                                 << "cleanable";
        QTest::newRow("no space after the symbol") << "english"
                                                   << "✓/a" << true << "/a"
                                                   << "Done"
                                                   << "done";
        QTest::newRow("surrounding white space") << "english"
                                                 << " \t→   /a b \t" << true << "/a b"
                                                 << "Cleanable"
                                                 << "cleanable";
        QTest::newRow("symbol alone") << "english"
                                      << "↳" << true << ""
                                      << "Detail"
                                      << "detail";
        QTest::newRow("empty line") << "english"
                                    << "" << false << "" << QString() << "";
        QTest::newRow("plain text") << "english"
                                    << "Scanning caches" << false << "" << QString() << "";
        QTest::newRow("symbol not leading") << "english"
                                            << "a → b" << false << "" << QString() << "";
        QTest::newRow("section arrow is no status") << "english"
                                                    << "➤ A" << false << "" << QString() << "";
        QTest::newRow("other arrow") << "english"
                                     << "⇒ /a" << false << "" << QString() << "";
    }

    void terminalLine()
    {
        QFETCH(QString, language);
        QFETCH(QString, line);
        QFETCH(bool, recognised);
        QFETCH(QString, text);
        QFETCH(QString, note);
        QFETCH(QString, status);

        useLanguage(language);
        const auto parsed = CleanPreviewParser::parseTerminalLine(line);
        QCOMPARE(parsed.has_value(), recognised);
        if (!parsed)
            return;
        QCOMPARE(parsed->text, text);
        QCOMPARE(parsed->note.has_value(), !note.isNull());
        QCOMPARE(parsed->note.value_or(QString()), note);
        QCOMPARE(Report::rawValue(parsed->status), status);
    }

    void filesAreParsed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("clean list file") << QStringLiteral("# list\n=== 浏览器 ===\n~/a  # 1 MB\n").toUtf8()
                                         << QStringList{QStringLiteral("浏览器 ¦ ~/a ¦ 1 MB ¦ cleanable")};
        QTest::newRow("byte-order mark before a header")
            << QByteArray("\xEF\xBB\xBF=== A ===\n/a\n") << QStringList{"A ¦ /a ¦ ∅ ¦ cleanable"};
        QTest::newRow("terminal output") << QStringLiteral("➤ A\n  ✓ /a\nCleanup complete\n").toUtf8()
                                         << QStringList{"A ¦ /a ¦ Done ¦ done"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }

    void filesAreParsed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);

        const QString path = writeFile(bytes);
        QVERIFY(!path.isEmpty());
        QCOMPARE(describe(CleanPreviewParser::parseFile(path)), entries);
    }

    void unreadableFilesThrow_data()
    {
        QTest::addColumn<QString>("situation");

        QTest::newRow("not UTF-8") << "not utf-8";
        QTest::newRow("missing") << "missing";
        QTest::newRow("a folder") << "folder";
    }

    void unreadableFilesThrow()
    {
        QFETCH(QString, situation);

        QString path = m_root->filePath(QStringLiteral("missing.txt"));
        if (situation == QLatin1String("not utf-8")) {
            path = writeFile("=== A ===\n/caf\xE9\n");
            QVERIFY(!path.isEmpty());
        } else if (situation == QLatin1String("folder")) {
            path = m_root->filePath(QStringLiteral("folder"));
            QVERIFY(QDir().mkpath(path));
        }

        try {
            CleanPreviewParser::parseFile(path);
            QFAIL("parseFile should have thrown");
        } catch (const KelvoError& error) {
            QVERIFY(!error.description().isEmpty());
        }
    }

    void sectionCount_data()
    {
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QList<int>>("statusCodes");
        QTest::addColumn<int>("count");

        QTest::newRow("no entries") << QStringList{} << QList<int>{} << 0;
        QTest::newRow("five entries in two sections, any status")
            << QStringList{"A", "A", "B", "A", "B"} << QList<int>{0, 2, 6, 3, 4} << 2;
        QTest::newRow("summary-only section counts") << QStringList{"A", "Summary"} << QList<int>{0, 6} << 2;
        QTest::newRow("case makes a different section")
            << QStringList{"Browsers", "browsers"} << QList<int>{0, 0} << 2;
        QTest::newRow("empty title is a section") << QStringList{"", "A", ""} << QList<int>{0, 0, 0} << 2;
    }

    void sectionCount()
    {
        QFETCH(QStringList, sections);
        QFETCH(QList<int>, statusCodes);
        QFETCH(int, count);

        static const Status statuses[] = {Status::cleanable, Status::done,   Status::skipped, Status::info,
                                          Status::detail,    Status::review, Status::summary};
        Report report;
        for (qsizetype i = 0; i < sections.size(); ++i)
            report.entries.push_back(
                entry(sections[i], QStringLiteral("/x"), std::nullopt, statuses[statusCodes[i]]));
        QCOMPARE(report.sectionCount(), count);
    }

    void statusRawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("code"); // the stored numeric code; -1: no status

        QTest::newRow("cleanable") << "cleanable" << 0;
        QTest::newRow("done") << "done" << 1;
        QTest::newRow("skipped") << "skipped" << 2;
        QTest::newRow("info") << "info" << 3;
        QTest::newRow("detail") << "detail" << 4;
        QTest::newRow("review") << "review" << 5;
        QTest::newRow("summary") << "summary" << 6;
        QTest::newRow("other case") << "Cleanable" << -1;
        QTest::newRow("padded") << " done" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("unknown") << "removed" << -1;
    }

    void statusRawValues()
    {
        QFETCH(QString, raw);
        QFETCH(int, code);

        const std::optional<Status> status = Report::statusFromRawValue(raw);
        QCOMPARE(status.has_value(), code >= 0);
        if (!status)
            return;
        QCOMPARE(int(*status), code);
        QCOMPARE(Report::rawValue(*status), raw);
    }

    void jsonRoundTrip_data()
    {
        QTest::addColumn<Report>("report");

        Report full{
            {entry("User essentials", "~/Library/Caches", "User app caches · 1.2 MB, 30 items",
                   Status::cleanable),
             entry("Browsers", "Safari is running, cache cleanup skipped", "3 MB, 2 items", Status::skipped),
             entry("A", "/done", std::nullopt, Status::done), entry("A", "/info", "", Status::info),
             entry("A", "/detail", "d", Status::detail), entry("A", "/review", "r", Status::review),
             entry("Summary", "Potential space: 1 MB", std::nullopt, Status::summary)},
            at("2024-03-05T06:07:08.009Z"),
            "Potential space: 1 MB"};
        QTest::newRow("every status and field") << full;
        QTest::newRow("no summary, no notes") << Report{
            {entry("A", "/a", std::nullopt, Status::cleanable)}, at("2024-01-01T00:00:00Z"), std::nullopt};
        QTest::newRow("Chinese texts")
            << Report{{entry(QStringLiteral("用户基础项目"), QStringLiteral("~/文档"),
                             QStringLiteral("用户应用缓存 · 1 MB, 3 项"), Status::cleanable)},
                      at("2024-01-01T00:00:00Z"),
                      QStringLiteral("预计可清理：1 MB | 项目：3 | 类别：1")};
        QTest::newRow("time with an offset") << Report{{}, at("2024-03-05T14:07:08.500+08:00"), std::nullopt};
        QTest::newRow("empty report") << Report{};
    }

    void jsonRoundTrip()
    {
        QFETCH(Report, report);

        // Through the text form, as a file would carry it.
        const QByteArray text = QJsonDocument(report.toJson()).toJson();
        QCOMPARE(readJson(text), report);
    }

    void jsonKeys()
    {
        const QUuid id = QUuid::createUuid();
        const Report report{{{id, "Browsers", "Safari is running", std::nullopt, Status::skipped},
                             entry("Trash", "~/.Trash", "User Trash · 1 MB, 1 items", Status::cleanable),
                             entry("Trash", "~/.Trash/x", "n", Status::detail)},
                            at("2024-03-05T14:07:08.009+08:00"),
                            std::nullopt};

        const QJsonObject json = report.toJson();
        QCOMPARE(json.value("generated_at").toString(), QStringLiteral("2024-03-05T06:07:08.009Z"));
        QVERIFY(json.value("summary").isNull());
        QCOMPARE(json.value("section_count").toInt(), 2);
        const QJsonArray entries = json.value("entries").toArray();
        QCOMPARE(entries.size(), 3);
        const QJsonObject first = entries.first().toObject();
        QCOMPARE(first.keys(), (QStringList{"id", "note", "path", "section", "status"}));
        QCOMPARE(first.value("id").toString(), id.toString(QUuid::WithoutBraces));
        QCOMPARE(first.value("section").toString(), QStringLiteral("Browsers"));
        QCOMPARE(first.value("path").toString(), QStringLiteral("Safari is running"));
        QVERIFY(first.value("note").isNull());
        QCOMPARE(first.value("status").toString(), QStringLiteral("skipped"));
        QCOMPARE(entries.at(1).toObject().value("note").toString(),
                 QStringLiteral("User Trash · 1 MB, 1 items"));
    }

    void jsonIsReadTolerantly_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("summary"); // null: none

        QTest::newRow("empty object") << QByteArray("{}") << QStringList{} << QString();
        QTest::newRow("entries not a list")
            << QByteArray(R"({"entries": {"path": "/a", "status": "done"}})") << QStringList{} << QString();
        QTest::newRow("entry without path dropped")
            << QByteArray(
                   R"({"entries": [{"section": "A", "status": "done"}, {"path": "/b", "status": "done"}]})")
            << QStringList{" ¦ /b ¦ ∅ ¦ done"} << QString();
        QTest::newRow("path that is not text dropped")
            << QByteArray(R"({"entries": [{"path": 5, "status": "done"}, {"path": null, "status": "done"}]})")
            << QStringList{} << QString();
        QTest::newRow("entry without status dropped")
            << QByteArray(R"({"entries": [{"path": "/a"}, {"path": "/b", "status": null}]})") << QStringList{}
            << QString();
        QTest::newRow("unknown status dropped")
            << QByteArray(
                   R"({"entries": [{"path": "/a", "status": "Done"}, {"path": "/b", "status": "gone"}]})")
            << QStringList{} << QString();
        QTest::newRow("numeric status codes")
            << QByteArray(R"({"entries": [{"path": "/a", "status": 2}, {"path": "/b", "status": 6},
                                          {"path": "/c", "status": 7}, {"path": "/d", "status": 1.5},
                                          {"path": "/e", "status": -1}]})")
            << QStringList{" ¦ /a ¦ ∅ ¦ skipped", " ¦ /b ¦ ∅ ¦ summary"} << QString();
        QTest::newRow("entries that are not objects")
            << QByteArray(R"({"entries": ["x", 3, null, {"path": "/a", "status": "info", "section": "A"}]})")
            << QStringList{"A ¦ /a ¦ ∅ ¦ info"} << QString();
        QTest::newRow("note that is not text")
            << QByteArray(R"({"entries": [{"path": "/a", "status": "done", "note": 12}]})")
            << QStringList{" ¦ /a ¦ ∅ ¦ done"} << QString();
        QTest::newRow("empty note kept")
            << QByteArray(R"({"entries": [{"path": "/a", "status": "done", "note": ""}]})")
            << QStringList{" ¦ /a ¦  ¦ done"} << QString();
        QTest::newRow("summary null") << QByteArray(R"({"summary": null})") << QStringList{} << QString();
        QTest::newRow("summary not text") << QByteArray(R"({"summary": 3})") << QStringList{} << QString();
        QTest::newRow("summary text") << QByteArray(R"({"summary": "Potential space: 1 MB"})")
                                      << QStringList{} << "Potential space: 1 MB";
        QTest::newRow("stored section count ignored")
            << QByteArray(
                   R"({"section_count": 9, "entries": [{"path": "/a", "status": "done", "section": "A"}]})")
            << QStringList{"A ¦ /a ¦ ∅ ¦ done"} << QString();
    }

    void jsonIsReadTolerantly()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, entries);
        QFETCH(QString, summary);

        const Report report = readJson(json);
        QCOMPARE(describe(report), entries);
        QCOMPARE(report.summary.has_value(), !summary.isNull());
        QCOMPARE(report.summary.value_or(QString()), summary);
        // Every row's entries share one section, so the count follows from them, never from the file.
        QCOMPARE(report.sectionCount(), entries.isEmpty() ? 0 : 1);
        QVERIFY(idsAreFreshAndDistinct(report));
    }

    void jsonIds_data()
    {
        QTest::addColumn<QByteArray>("idJson"); // empty: no id key
        QTest::addColumn<QString>("kept");      // null: a fresh id is expected

        const QUuid id = QUuid::createUuid();
        QTest::newRow("without braces")
            << "\"" + id.toString(QUuid::WithoutBraces).toUtf8() + "\"" << id.toString(QUuid::WithoutBraces);
        QTest::newRow("with braces") << "\"" + id.toString().toUtf8() + "\""
                                     << id.toString(QUuid::WithoutBraces);
        QTest::newRow("missing") << QByteArray() << QString();
        QTest::newRow("null") << QByteArray("null") << QString();
        QTest::newRow("not a UUID") << QByteArray("\"not-a-uuid\"") << QString();
        QTest::newRow("number") << QByteArray("5") << QString();
        QTest::newRow("nil UUID") << QByteArray("\"00000000-0000-0000-0000-000000000000\"") << QString();
    }

    void jsonIds()
    {
        QFETCH(QByteArray, idJson);
        QFETCH(QString, kept);

        const QByteArray idField = idJson.isEmpty() ? QByteArray() : "\"id\": " + idJson + ", ";
        const Report report =
            readJson(R"({"entries": [{)" + idField + R"("path": "/a", "status": "done"}, {)" + idField +
                     R"("path": "/b", "status": "done"}]})");
        QCOMPARE(report.entries.size(), std::size_t(2));
        if (kept.isNull()) {
            QVERIFY(idsAreFreshAndDistinct(report));
        } else {
            QCOMPARE(report.entries[0].id.toString(QUuid::WithoutBraces), kept);
            QCOMPARE(report.entries[1].id, report.entries[0].id);
        }
    }

    void jsonDates_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QDateTime>("generatedAt"); // invalid: no date

        QTest::newRow("missing") << QByteArray("{}") << QDateTime();
        QTest::newRow("not a date") << QByteArray(R"({"generated_at": "yesterday"})") << QDateTime();
        QTest::newRow("not text") << QByteArray(R"({"generated_at": 1700000000})") << QDateTime();
        QTest::newRow("whole seconds")
            << QByteArray(R"({"generated_at": "2024-03-05T06:07:08Z"})") << at("2024-03-05T06:07:08Z");
        QTest::newRow("milliseconds") << QByteArray(R"({"generated_at": "2024-03-05T06:07:08.250Z"})")
                                      << at("2024-03-05T06:07:08.250Z");
        QTest::newRow("offset") << QByteArray(R"({"generated_at": "2024-03-05T14:07:08+08:00"})")
                                << at("2024-03-05T06:07:08Z");
    }

    void jsonDates()
    {
        QFETCH(QByteArray, json);
        QFETCH(QDateTime, generatedAt);

        const QDateTime read = readJson(json).generatedAt;
        QCOMPARE(read.isValid(), generatedAt.isValid());
        if (generatedAt.isValid())
            QCOMPARE(read.toMSecsSinceEpoch(), generatedAt.toMSecsSinceEpoch());
    }
};

KELVO_REGISTER_TEST(CleanPreviewParserTest)
#include "tst_CleanPreviewParser.moc"
