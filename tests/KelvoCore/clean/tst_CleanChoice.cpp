// The Smart Clean choice: which entries can be chosen, what a choice hands the clean and what it adds
// up to, the Trash of either system apart.
#include "TestMain.h"

#include "clean/CleanChoice.h"

using namespace TestSupport;
using Status = CleanPreviewReport::EntryStatus;

class TestCleanChoice : public QObject {
    Q_OBJECT

private slots:
    void choiceNarrowsAndAddsUp_data()
    {
        // chosen ("*": what a new preview chooses), then what the clean gets and count, bytes, Trash
        // bytes (-1: not chosen), will free.
        columns<QStringList, QStringList, QList<qint64>>("chosen", "cleaned", "totals");
        row("a new preview: all that frees something", QStringList{"*"},
            QStringList{"pip", "thumbnails", "links", ".local/share/Trash", "older", ".Trash"},
            QList<qint64>{4, 3548, 4010, 7358});
        row("empty, kept whole or skipped: never taken",
            QStringList{"empty", "kept", "Chrome is running", "pip"}, QStringList{"pip"},
            QList<qint64>{1, 1000, -1, 1000});
        row("the Trash of both systems alone", QStringList{".Trash", ".local/share/Trash"},
            QStringList{".local/share/Trash", ".Trash"}, QList<qint64>{0, 0, 4010, 4010});
        row("nothing", QStringList{}, QStringList{}, QList<qint64>{0, 0, -1, 0});
    }
    void choiceNarrowsAndAddsUp()
    {
        const auto [names, cleaned, totals] =
            fetch<QStringList, QStringList, QList<qint64>>("chosen", "cleaned", "totals");
        const QString home = "/home/u";
        const auto entry = [&](const QString& name, std::optional<qint64> bytes, qint64 kept = 0,
                               Status status = Status::cleanable, qint64 itemsToRemove = 0) {
            return CleanPreviewReport::Entry{QUuid::createUuid(),
                                             LocalText::same("Section"),
                                             name.contains(' ') ? name : home + '/' + name,
                                             bytes ? std::nullopt : std::optional(LocalText::same("2 KB")),
                                             status,
                                             std::nullopt,
                                             bytes,
                                             kept,
                                             itemsToRemove};
        };
        // The older tool's entry carries only a note; everything else is measured. Links go at no size.
        const CleanPreviewReport report{
            {entry("pip", 1000), entry("thumbnails", 500, 200), entry("empty", 0), entry("kept", 300, 300),
             entry("links", 0, 0, Status::cleanable, 2), entry("Chrome is running", 700, 0, Status::skipped),
             entry(".local/share/Trash", 4000), entry("older", std::nullopt), entry(".Trash", 10)},
            {},
            std::nullopt};
        QSet<QString> chosen = CleanChoice::everything(report);
        if (names != QStringList{"*"}) {
            chosen.clear();
            for (const QString& name : names)
                chosen.insert(entry(name, 0).path);
        }
        QStringList paths;
        for (const CleanPreviewReport::Entry& taken : CleanChoice::narrowed(report, chosen).entries)
            paths << taken.path.mid(home.size() + 1);
        QCOMPARE(paths, cleaned);
        const CleanChoice::Totals actual = CleanChoice::totals(report, chosen, home);
        QCOMPARE((QList<qint64>{actual.count, actual.bytes, actual.trashBytes.value_or(-1), actual.willFree}),
                 totals);
    }
};

KELVO_REGISTER_TEST(TestCleanChoice)
#include "tst_CleanChoice.moc"
