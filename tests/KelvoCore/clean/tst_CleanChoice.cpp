// The Smart Clean choice: which entries can be chosen, what a choice hands the clean, what it adds up
// to (the Trash on its own), and the confirmation that says so.
#include "TestMain.h"

#include "clean/CleanChoice.h"
#include "clean/CleanReportText.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

using namespace TestSupport;
using Status = CleanPreviewReport::EntryStatus;
using Totals = CleanChoice::Totals;
Q_DECLARE_METATYPE(Totals)

namespace {

const QString home = "/home/u";

CleanPreviewReport::Entry entry(const QString& path, std::optional<qint64> bytes, qint64 kept = 0,
                                Status status = Status::cleanable, std::optional<QString> note = std::nullopt)
{
    return {QUuid::createUuid(),
            "Section",
            path,
            note,
            status,
            std::nullopt,
            bytes,
            bytes ? std::optional(kept) : std::nullopt};
}

// Every kind of entry a preview lists, the two systems' Trash places included.
CleanPreviewReport preview()
{
    return {{entry(home + "/.cache/pip", 1000), entry(home + "/.cache/thumbnails", 500, 200),
             entry(home + "/.cache/empty", 0), entry(home + "/.cache/kept", 300, 300),
             entry("Chrome is running, cache cleanup skipped", 700, 0, Status::skipped),
             entry(home + "/.local/share/Trash", 4000),
             entry(home + "/older", std::nullopt, 0, Status::cleanable, "2 KB"), entry(home + "/.Trash", 10)},
            QDateTime::currentDateTimeUtc(),
            std::nullopt};
}

} // namespace

class TestCleanChoice : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { AppLocalization::overrideLanguage(std::nullopt); }

    // A preview offers only what could free something; the clean gets the chosen ones in report order.
    void choiceNarrowsAndAddsUp_data()
    {
        columns<QStringList, QStringList, Totals>("chosen", "cleaned", "totals");
        const QStringList offered{".cache/pip", ".cache/thumbnails", ".local/share/Trash", "older", ".Trash"};
        row("a new preview: everything offered", QStringList{"*"}, offered, Totals{3, 3548, 4010, 7358});
        row("what frees nothing or is skipped is never taken",
            QStringList{".cache/empty", ".cache/kept", "Chrome is running, cache cleanup skipped",
                        ".cache/pip"},
            QStringList{".cache/pip"}, Totals{1, 1000, std::nullopt, 1000});
        row("what is kept is not freed", QStringList{".cache/thumbnails"}, QStringList{".cache/thumbnails"},
            Totals{1, 500, std::nullopt, 300});
        row("the Trash alone", QStringList{".local/share/Trash"}, QStringList{".local/share/Trash"},
            Totals{0, 0, 4000, 4000});
        row("the macOS Trash is the Trash too", QStringList{".Trash", "older"},
            QStringList{"older", ".Trash"}, Totals{1, 2048, 10, 2058});
        row("nothing chosen", QStringList{}, QStringList{}, Totals{});
    }
    void choiceNarrowsAndAddsUp()
    {
        const auto [chosenNames, cleaned, totals] =
            fetch<QStringList, QStringList, Totals>("chosen", "cleaned", "totals");
        const CleanPreviewReport report = preview();
        QSet<QString> chosen = CleanChoice::everything(report);
        if (chosenNames != QStringList{"*"}) {
            chosen.clear();
            for (const QString& name : chosenNames)
                chosen.insert(name.contains(' ') ? name : home + "/" + name);
        }
        QStringList paths;
        for (const CleanPreviewReport::Entry& taken : CleanChoice::narrowed(report, chosen).entries)
            paths << taken.path.mid(home.size() + 1);
        QCOMPARE(paths, cleaned);
        const Totals actual = CleanChoice::totals(report, chosen, home);
        QCOMPARE(
            QList<qint64>({actual.count, actual.bytes, actual.trashBytes.value_or(-1), actual.willFree}),
            QList<qint64>({totals.count, totals.bytes, totals.trashBytes.value_or(-1), totals.willFree}));
    }

    // The confirmation names the Trash, with its size, only when it is chosen; whatever is chosen, it
    // gives the count, the sizes and says that deletion is final.
    void confirmationNamesTheTrashOnlyWhenChosen_data()
    {
        columns<QString, Totals, QStringList, QStringList>("language", "totals", "present", "absent");
        row("others only", QString("en"), Totals{3, 5'000'000, std::nullopt, 4'000'000},
            QStringList{"3 chosen items (5 MB)", "4 MB", "cannot be undone"}, QStringList{"Trash"});
        row("others and the Trash", QString("en"), Totals{1, 2000, 7'000'000, 9000},
            QStringList{"1 chosen item (2 KB)", "The Trash (7 MB)", "9 KB", "cannot be undone"},
            QStringList{"items"});
        row("the Trash alone", QString("en"), Totals{0, 0, 7'000'000, 7'000'000},
            QStringList{"The Trash (7 MB)", "cannot be undone"}, QStringList{"chosen item"});
        row("Chinese: the Trash alone", QString("zh"), Totals{0, 0, 7'000'000, 7'000'000},
            QStringList{"废纸篓（7 MB）", "无法撤销"}, QStringList{"已选"});
        row("nothing chosen", QString("en"), Totals{}, QStringList{"nothing will be deleted"},
            QStringList{"Trash", "undone"});
    }
    void confirmationNamesTheTrashOnlyWhenChosen()
    {
        const auto [language, totals, present, absent] =
            fetch<QString, Totals, QStringList, QStringList>("language", "totals", "present", "absent");
        AppLocalization::overrideLanguage(language == "zh" ? AppResolvedLanguage::chinese
                                                           : AppResolvedLanguage::english);
        const QString text = CleanReportText::confirmation(totals);
        for (const QString& part : present)
            QVERIFY2(text.contains(part), qPrintable(text));
        for (const QString& part : absent)
            QVERIFY2(!text.contains(part), qPrintable(text));
    }
};

KELVO_REGISTER_TEST(TestCleanChoice)
#include "tst_CleanChoice.moc"
