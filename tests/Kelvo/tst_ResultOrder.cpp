#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include <QFileInfo>

using SyntheticHome::file;

// Every list a page shows reads in the natural order wherever sizes do not decide it: letters
// without regard to case, runs of digits by their value ("Item9" before "Item10").
class TestResultOrder : public QObject {
    Q_OBJECT

    // The names of what the page lists, in the order it lists them.
    static QStringList listed(AppModel& model, const QString& list)
    {
        QStringList names;
        if (list.startsWith("installer"))
            return model.installer()->shownEntries()->values("name");
        if (list == "purge")
            for (const PurgePreviewReport::Entry& entry : model.purge()->report()->entries)
                names << QFileInfo(QFileInfo(entry.path).path()).fileName();
        if (list == "analysis")
            for (const AnalysisReport::Entry& entry : model.analysis()->report()->entries)
                names << entry.name.value_or(QString());
        if (list == "uninstall")
            for (const UninstallPreviewReport::Entry& entry : model.uninstall()->report()->entries)
                names << entry.name;
        return names;
    }

private slots:
    void listsReadInNaturalOrder_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QStringList>("expected");
        const QStringList natural{"item2", "Item9", "Item10"};
        QTest::newRow("installers of one size")
            << "installer" << QStringList{"item2.dmg", "Item9.dmg", "Item10.dmg"};
        QTest::newRow("installers by name")
            << "installer by name" << QStringList{"item2.dmg", "Item9.dmg", "Item10.dmg"};
        QTest::newRow("projects") << "purge" << natural;
        QTest::newRow("analysed items") << "analysis" << natural;
        QTest::newRow("apps") << "uninstall" << natural;
    }
    void listsReadInNaturalOrder()
    {
        QFETCH(QString, list);
        QFETCH(QStringList, expected);
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        // Created in an order that is neither natural nor plain text order; sizes rise towards "item2"
        // only where the list is ordered by name.
        const QStringList created{"Item10", "item2", "Item9"};
        for (int i = 0; i < created.size(); ++i) {
            const QString& name = created[i];
            if (list.startsWith("installer"))
                file(fixture.home + "/Downloads/" + name + ".dmg",
                     list == "installer" ? 4096 : 4096 * (i + 1));
            else if (list == "purge")
                file(fixture.home + "/code/" + name + "/node_modules/index.js", 4096);
            else if (list == "analysis")
                file(fixture.home + "/stuff/" + name, 4096);
            else
                makeApp(fixture.home + "/Applications", name);
        }
        if (list.startsWith("installer")) {
            QVERIFY(run(*model, AppActionFactory::installer(true)));
            model->installer()->setSortBySize(list == "installer");
        } else if (list == "purge") {
            model->purge()->setScanPath(fixture.home + "/code");
            QVERIFY(run(*model, AppActionFactory::purge(true)));
        } else if (list == "analysis") {
            model->analysis()->analyze(fixture.home + "/stuff");
            QVERIFY(finished(*model));
        } else {
            QVERIFY(run(*model, AppActionFactory::uninstall(true)));
        }
        QCOMPARE(listed(*model, list), expected);
    }

    // The installer list shows one place at a time when asked, and every place again after a scan
    // that no longer finds the chosen one.
    void installerListFollowsTheChosenPlace()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        file(fixture.home + "/Downloads/a.dmg", 8192);
        file(fixture.home + "/Desktop/b.pkg", 4096);
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->shownEntries()->values("name"), (QStringList{"a.dmg", "b.pkg"}));
        const QString desktop = model->installer()->shownEntries()->rows().back().value("source").toString();
        model->installer()->setSourceFilter(desktop);
        QCOMPARE(model->installer()->shownEntries()->values("name"), QStringList{"b.pkg"});
        QFile::remove(fixture.home + "/Desktop/b.pkg");
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->sourceFilter(), QString());
        QCOMPARE(model->installer()->shownEntries()->values("name"), QStringList{"a.dmg"});
    }
};

KELVO_REGISTER_TEST(TestResultOrder)

#include "tst_ResultOrder.moc"
