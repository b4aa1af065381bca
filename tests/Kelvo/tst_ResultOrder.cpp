#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

using SyntheticHome::file;

// The installer list, which the application orders itself, reads in the natural order wherever sizes
// do not decide it: letters without regard to case, runs of digits by their value ("Item9" before
// "Item10"). The engine's reports come ordered, as their own tests show.
class TestResultOrder : public QObject {
    Q_OBJECT

private slots:
    void installersReadInNaturalOrder_data()
    {
        QTest::addColumn<bool>("bySize");
        QTest::newRow("installers of one size") << true;
        QTest::newRow("installers by name") << false;
    }
    void installersReadInNaturalOrder()
    {
        QFETCH(bool, bySize);
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        // Created in an order that is neither natural nor plain text order; sizes rise towards "item2"
        // only where the list is ordered by name.
        const QStringList created{"Item10", "item2", "Item9"};
        for (int i = 0; i < created.size(); ++i)
            file(fixture.home + "/Downloads/" + created[i] + ".dmg", bySize ? 4096 : 4096 * (i + 1));
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        model->installer()->setSortBySize(bySize);
        const QString at = fixture.home + "/Downloads/";
        QCOMPARE(model->installer()->shownEntries()->keys(),
                 (QStringList{at + "item2.dmg", at + "Item9.dmg", at + "Item10.dmg"}));
    }

    // The installer list shows one place at a time when asked, and every place again after a scan
    // that no longer finds the chosen one.
    void installerListFollowsTheChosenPlace()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const QString dmg = file(fixture.home + "/Downloads/a.dmg", 8192),
                      pkg = file(fixture.home + "/Desktop/b.pkg", 4096);
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->shownEntries()->keys(), (QStringList{dmg, pkg}));
        model->installer()->setSourceFilter(model->installer()->sources().constLast());
        QCOMPARE(model->installer()->shownEntries()->keys(), QStringList{pkg});
        QFile::remove(pkg);
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->sourceFilter(), QString());
        QCOMPARE(model->installer()->shownEntries()->keys(), QStringList{dmg});
    }
};

KELVO_REGISTER_TEST(TestResultOrder)

#include "tst_ResultOrder.moc"
