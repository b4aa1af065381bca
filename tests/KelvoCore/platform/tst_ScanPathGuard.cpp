// Which paths may be moved to the Trash: the home folder and /Applications, and what lies below.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/FileWalker.h"
#include "platform/ScanPathGuard.h"

using namespace SyntheticHome;
using namespace TestSupport;

class ScanPathGuardTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

private slots:
    void init() { m_home = m_box.renew(); }

    void candidates_data()
    {
        columns<QString, QString, bool>("path", "home", "allowed");
        const char* home = "{home}";
        row("home itself", "{home}", home, true);
        row("below home", "{home}/Documents/report.pdf", home, true);
        row("double-dot climbing out", "{home}/Documents/../../other", home, false);
        row("sibling sharing the prefix", "{home}2/x", home, false);
        row("inside an application", "/Applications/Foo.app/Contents/Info.plist", home, true);
        row("system library", "/Library/Caches/x", home, false);
        row("empty path", "", home, false);
        row("home given with double-dot components", "{home}/x", "{home}/sub/..", true);
        row("empty home admits no library", "/Library/x", "", false);
        row("empty home still admits applications", "/Applications/Foo.app", "", true);
        row("a home of / admits nothing of its own", "/etc/passwd", "/", false);
        row("a home of /. admits nothing of its own", "/Users/x", "/.", false);
    }

    void candidates()
    {
        const auto [path, home, allowed] = fetch<QString, QString, bool>("path", "home", "allowed");
        QCOMPARE(ScanPathGuard::isTrashAllowed(m_box.expand(path), m_box.expand(home)), allowed);
    }

    // The guarded move itself: only the item the scan listed, reached without a link, inside a sound
    // home folder, goes to the Trash (the sandbox's).
    void theGuardedMove_data()
    {
        // scanned: the path whose identity the scan saw, empty for no scan, "replaced" for an item
        // replaced since; refusal: part of the message, empty when the item moved.
        columns<QString, QString, QString, QString>("home", "path", "scanned", "refusal");
        const QString item = "{home}/photos/item", outside = "{box}/outside/photos/item";
        row("an item of the home", "{home}", item, item, "");
        row("a home that is itself a link", "{box}/home-link", "{box}/home-link/photos/item", item, "");
        row("below a link inside the home", "{home}", "{home}/ext/photos/item", outside, "is a link");
        row("replaced since the scan", "{home}", item, "replaced", "changed since");
        row("not from a scan", "{home}", item, "", "changed since");
        row("the home folder itself", "{home}", "{home}", "{home}", "is the home folder");
        row("a folder applications share", "{home}", "{home}/.local/share", "{home}/.local/share", "share");
        row("the user-dirs download folder", "{home}", "{home}/下载", "{home}/下载", "share");
        row("a folder holding a user folder", "{home}", "{home}/stuff", "{home}/stuff", "share");
        row("a home of /", "/", item, item, "root folder");
        row("an empty home", "", item, item, "not set");
        row("outside the home", "{home}", outside, outside, "outside the allowed scope");
    }
    void theGuardedMove()
    {
        const auto [home, path, scanned, refusal] =
            fetch<QString, QString, QString, QString>("home", "path", "scanned", "refusal");
#ifdef Q_OS_MACOS
        if (refusal.isEmpty())
            QSKIP("a move would reach Finder's Trash, which is the user's own");
#endif
        const QString outside = file(m_box.path("outside/photos/item"), 10);
        const QString item = file(m_home + "/photos/item", 10);
        link(m_home, m_box.path("home-link"));
        link(m_box.path("outside"), m_home + "/ext");
        for (const char* shared : {".local/share/x", "下载/x", "stuff/music/x"})
            file(m_home + "/" + shared);
        write(m_home + "/.config/user-dirs.dirs",
              "XDG_DOWNLOAD_DIR=\"$HOME/下载\"\nXDG_MUSIC_DIR=\"$HOME/stuff/music\"\n");
        std::optional<FileIdentity> identity;
        if (!scanned.isEmpty())
            identity = FileWalker::statItem(scanned == "replaced" ? item : m_box.expand(scanned))->identity;
        if (scanned == "replaced") // made before the first is gone, so it cannot reuse its inode
            QVERIFY(::rename(QFile::encodeName(file(item + ".new")).constData(),
                             QFile::encodeName(item).constData()) == 0);
        const std::optional<QString> refused =
            ScanPathGuard::moveToTrash(m_box.expand(path), identity, m_box.expand(home));
        QVERIFY2(refused.value_or("").contains(refusal) && refused.has_value() == !refusal.isEmpty(),
                 qPrintable(refused.value_or("moved")));
        QVERIFY(exists(outside));
        QCOMPARE(exists(item), !refusal.isEmpty());
        QVERIFY(refusal.isEmpty() || path.isEmpty() || exists(m_box.expand(path)));
    }
};

KELVO_REGISTER_TEST(ScanPathGuardTest)
#include "tst_ScanPathGuard.moc"
