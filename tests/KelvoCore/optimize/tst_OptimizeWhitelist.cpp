// The optimisation safeguard list: which of its three files is read, how lines become protected steps
// and custom keys, what a save writes, and that a file it cannot read stops the caller.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "optimize/OptimizeWhitelistStore.h"

using namespace SyntheticHome;
using namespace TestSupport;

Q_DECLARE_METATYPE(TargetSystem)

class OptimizeWhitelistTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    QStringList files() const
    {
        return {OptimizeWhitelistStore::optimizeConfigURL(m_home),
                OptimizeWhitelistStore::optimizeLegacyConfigURL(m_home),
                OptimizeWhitelistStore::optimizeLegacyChecksURL(m_home)};
    }

private slots:
    void init() { m_home = m_box.renew(); }

    // The files in order: own, the older tool's whitelist_optimize, then its whitelist_checks. The first
    // that exists is the list: one that cannot be read stops the load, naming it, though a later one could.
    void loading_data()
    {
        columns<QList<QByteArray>, TargetSystem, QStringList, QStringList, bool>(
            "files", "system", "selected", "custom", "throws");
        const QByteArray none;
        const auto mac = TargetSystem::macOS;
        row("no file", QList<QByteArray>{none, none, none}, mac, QStringList{}, QStringList{}, false);
        row("only the checks file", QList<QByteArray>{none, none, "dock_refresh\n"}, mac,
            QStringList{"dock_refresh"}, QStringList{}, false);
        row("legacy optimize file before checks",
            QList<QByteArray>{none, "sqlite_vacuum\n", "dock_refresh\n"}, mac, QStringList{"sqlite_vacuum"},
            QStringList{}, false);
        row("an empty own file protects nothing", QList<QByteArray>{"", "sqlite_vacuum\n", none}, mac,
            QStringList{}, QStringList{}, false);
        row("CRLF, indents, blanks, comments, repeats",
            QList<QByteArray>{"# head\r\n\r\n  dock_refresh \r\n#cache_refresh\n  # sqlite_vacuum\n\tmine\r\n"
                              "dock_refresh\nmine\nother\n\n",
                              none, none},
            mac, QStringList{"dock_refresh"}, QStringList{"mine", "other"}, false);
        row("the other system's steps are custom keys",
            QList<QByteArray>{"dock_refresh\nautostart_audit\nfont_cache_rebuild\n", none, none},
            TargetSystem::linuxDesktop, QStringList{"autostart_audit", "font_cache_rebuild"},
            QStringList{"dock_refresh"}, false);
        row("own file not UTF-8", QList<QByteArray>{"dock_refresh\n\xff\n", "sqlite_vacuum\n", none}, mac,
            QStringList{}, QStringList{}, true);
        row("checks file not UTF-8", QList<QByteArray>{none, none, "\xc3\x28\n"}, mac, QStringList{},
            QStringList{}, true);
    }
    void loading()
    {
        const auto [contents, system, selected, custom, throws] =
            fetch<QList<QByteArray>, TargetSystem, QStringList, QStringList, bool>(
                "files", "system", "selected", "custom", "throws");
        QString first;
        for (qsizetype index = contents.size() - 1; index >= 0; --index)
            if (!contents[index].isNull())
                write(first = files()[index], contents[index]);
        OptimizeWhitelistState state;
        const QString error =
            failure([&, system = system] { state = OptimizeWhitelistStore::load(m_home, system); });
        QCOMPARE(!error.isEmpty(), throws);
        QVERIFY2(!throws || error.contains(first), qPrintable(error));
        QCOMPARE(state.selectedKeys, QSet<QString>(selected.begin(), selected.end()));
        QCOMPARE(state.customKeys, custom);
    }

    // Protected steps in catalogue order, then custom keys not written already; the older files stay.
    void saveThenLoad()
    {
        write(files()[2], "dock_refresh\n");
        const OptimizeWhitelistState state{{"dock_refresh", "system_maintenance", "not_a_step"},
                                           {"mine", "dock_refresh", "mine", "later"}};
        OptimizeWhitelistStore::save(state, m_home, TargetSystem::macOS);
        const QList<QByteArray> lines = contents(files()[0]).split('\n');
        QCOMPARE(lines.mid(1),
                 (QList<QByteArray>{"", "system_maintenance", "dock_refresh", "mine", "later", ""}));
        const OptimizeWhitelistState loaded = OptimizeWhitelistStore::load(m_home, TargetSystem::macOS);
        QCOMPARE(loaded.selectedKeys, (QSet<QString>{"dock_refresh", "system_maintenance"}));
        QCOMPARE(loaded.customKeys, (QStringList{"mine", "later"}));
        QCOMPARE(contents(files()[2]), QByteArray("dock_refresh\n"));

        OptimizeWhitelistStore::save({}, m_home, TargetSystem::macOS);
        QCOMPARE(contents(files()[0]).count('\n'), 1);
        QVERIFY(contents(files()[0]).startsWith('#'));
        QCOMPARE(OptimizeWhitelistStore::load(m_home, TargetSystem::macOS), OptimizeWhitelistState{});
    }
};

KELVO_REGISTER_TEST(OptimizeWhitelistTest)
#include "tst_OptimizeWhitelist.moc"
