// The optimisation safeguard list: which of its three files is read, how lines become protected steps
// and custom keys, what a save writes, and that a file it cannot read stops the caller.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "optimize/OptimizeWhitelistStore.h"

using namespace SyntheticHome;
using namespace TestSupport;

Q_DECLARE_METATYPE(OptimizeSystem)

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

    // The files in order: own, older tool's whitelist_optimize, older tool's whitelist_checks.
    void loading_data()
    {
        columns<QList<QByteArray>, OptimizeSystem, QStringList, QStringList>("files", "system", "selected",
                                                                             "custom");
        const QByteArray none;
        const auto mac = OptimizeSystem::macOS;
        row("no file", QList<QByteArray>{none, none, none}, mac, QStringList{}, QStringList{});
        row("only the checks file", QList<QByteArray>{none, none, "dock_refresh\n"}, mac,
            QStringList{"dock_refresh"}, QStringList{});
        row("legacy optimize file before checks",
            QList<QByteArray>{none, "sqlite_vacuum\n", "dock_refresh\n"}, mac, QStringList{"sqlite_vacuum"},
            QStringList{});
        row("own file before both", QList<QByteArray>{"cache_refresh", "sqlite_vacuum\n", "dock_refresh\n"},
            mac, QStringList{"cache_refresh"}, QStringList{});
        row("an empty own file protects nothing", QList<QByteArray>{"", "sqlite_vacuum\n", none}, mac,
            QStringList{}, QStringList{});
        row("CRLF, indents, blanks, comments, repeats",
            QList<QByteArray>{"# head\r\n\r\n  dock_refresh \r\n#cache_refresh\n  # sqlite_vacuum\n\tmine\r\n"
                              "dock_refresh\nmine\nother\n\n",
                              none, none},
            mac, QStringList{"dock_refresh"}, QStringList{"mine", "other"});
        row("the other system's steps are custom keys",
            QList<QByteArray>{"dock_refresh\nautostart_audit\nfont_cache_rebuild\n", none, none},
            OptimizeSystem::linux, QStringList{"autostart_audit", "font_cache_rebuild"},
            QStringList{"dock_refresh"});
    }
    void loading()
    {
        const auto [contents, system, selected, custom] =
            fetch<QList<QByteArray>, OptimizeSystem, QStringList, QStringList>("files", "system", "selected",
                                                                               "custom");
        for (qsizetype index = 0; index < contents.size(); ++index)
            if (!contents[index].isNull())
                write(files()[index], contents[index]);
        const OptimizeWhitelistState state = OptimizeWhitelistStore::load(m_home, system);
        QCOMPARE(state.selectedKeys, QSet<QString>(selected.begin(), selected.end()));
        QCOMPARE(state.customKeys, custom);
    }

    // Something at the first path that cannot be read stops the load, naming the file, even when an
    // older file could be read; the file is left as it was.
    void unreadableFileThrows_data()
    {
        columns<int, QByteArray>("file", "bytes"); // empty bytes: a folder stands at the path
        row("own file not UTF-8", 0, QByteArray("dock_refresh\n\xff\xfe\n"));
        row("own path is a folder", 0, QByteArray());
        row("checks file not UTF-8", 2, QByteArray("\xc3\x28\n"));
    }
    void unreadableFileThrows()
    {
        const auto [index, bytes] = fetch<int, QByteArray>("file", "bytes");
        const QString path = files()[index];
        if (bytes.isEmpty())
            folder(path);
        else
            write(path, bytes);
        if (index < 2)
            write(files()[index + 1], "dock_refresh\n"); // a readable fallback is not taken
        const QString error = failure([&] { OptimizeWhitelistStore::load(m_home, OptimizeSystem::macOS); });
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(contents(path), bytes.isEmpty() ? QByteArray() : bytes);
    }

    // Protected steps in catalogue order, then custom keys not written already; the older files stay.
    void saveThenLoad()
    {
        write(files()[2], "dock_refresh\n");
        const OptimizeWhitelistState state{{"dock_refresh", "system_maintenance", "not_a_step"},
                                           {"mine", "dock_refresh", "mine", "later"}};
        OptimizeWhitelistStore::save(state, m_home, OptimizeSystem::macOS);
        const QList<QByteArray> lines = contents(files()[0]).split('\n');
        QCOMPARE(lines.mid(1),
                 (QList<QByteArray>{"", "system_maintenance", "dock_refresh", "mine", "later", ""}));
        const OptimizeWhitelistState loaded = OptimizeWhitelistStore::load(m_home, OptimizeSystem::macOS);
        QCOMPARE(loaded.selectedKeys, (QSet<QString>{"dock_refresh", "system_maintenance"}));
        QCOMPARE(loaded.customKeys, (QStringList{"mine", "later"}));
        QCOMPARE(contents(files()[2]), QByteArray("dock_refresh\n"));

        OptimizeWhitelistStore::save({}, m_home, OptimizeSystem::macOS);
        QCOMPARE(contents(files()[0]).count('\n'), 1);
        QVERIFY(contents(files()[0]).startsWith('#'));
        QCOMPARE(OptimizeWhitelistStore::load(m_home, OptimizeSystem::macOS), OptimizeWhitelistState{});
    }

    void optionsFollowTheCatalogue()
    {
        const auto options = OptimizeWhitelistStore::options(OptimizeSystem::macOS);
        QCOMPARE(options.size(), std::size_t(23));
        QCOMPARE(options.front().id, QString("system_maintenance"));
        QCOMPARE(OptimizeWhitelistStore::options(OptimizeSystem::linux).size(), std::size_t(7));
        const OptimizeWhitelistOption unknown{"custom_step", OptimizeSystem::macOS};
        QCOMPARE(unknown.title(), QString("custom_step"));
        QVERIFY(!unknown.detail().contains("custom_step"));
        QVERIFY((OptimizeWhitelistOption{"dock_refresh", OptimizeSystem::macOS}.detail().contains("Dock")));
    }
};

KELVO_REGISTER_TEST(OptimizeWhitelistTest)
#include "tst_OptimizeWhitelist.moc"
