// The removal model: reaching an item without links, removing relative to open folders (what stays,
// what goes and what is counted), and moving to the freedesktop Trash from an open parent folder. The
// sandbox's XDG data folder holds the Trash, so these tests never reach the real one.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/ConfinedPath.h"
#include "platform/FileErrorText.h"
#include "platform/FileRemover.h"
#include "platform/Trash.h"
#include "vocabulary/PathText.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>

using namespace SyntheticHome;
using namespace TestSupport;

class TestRemoval : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    ConfinedPath::Reached reached(const QString& path) const
    {
        ConfinedPath::Outcome outcome = ConfinedPath::reach(m_home, path);
        if (!outcome.item)
            qFatal("cannot reach %s", qPrintable(path));
        return std::move(*outcome.item);
    }

    void moveToTrash(const QString& path) { Trash::moveToTrash(reached(path)); }
    static QString trashed(const QString& name) { return Trash::freedesktopTrashFolder() + "/files/" + name; }
    static QByteArray info(const QString& name)
    {
        return contents(Trash::freedesktopTrashFolder() + "/info/" + name + ".trashinfo");
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        if (!QByteArray(QTest::currentTestFunction()).startsWith("trash"))
            return;
#ifdef Q_OS_MACOS
        QSKIP("Finder's Trash is the user's own; the freedesktop Trash is tested on Linux");
#endif
        QDir(Trash::freedesktopTrashFolder()).removeRecursively();
        QVERIFY(Trash::freedesktopTrashFolder().startsWith(QDir::tempPath()));
    }

    void reach_data()
    {
        // path: below the home unless it says otherwise; outcome: "item", "link item" or the failure;
        // stoppedAt: below the home
        columns<QString, QString, QString>("path", "outcome", "stoppedAt");
        row("an item below the root", "a/b/file", "item", "");
        row("the item itself is a link", "a/file-link", "link item", "");
        row("a link on the way", "linked/inner/x", "throughLink", "linked");
        row("a file on the way", "a/plain/x", "missing", "a/plain");
        row("nothing there", "a/none", "missing", "a");
        row("the root itself", "", "outsideRoot", "");
        row("climbing out", "a/../../outside/inner/x", "outsideRoot", "");
    }
    void reach()
    {
        const auto [path, outcome, stoppedAt] =
            fetch<QString, QString, QString>("path", "outcome", "stoppedAt");
        file(m_home + "/a/b/file");
        file(m_home + "/a/plain");
        file(m_box.path("outside/inner/x"));
        link(m_box.path("outside/inner/x"), m_home + "/a/file-link");
        link(m_box.path("outside"), m_home + "/linked");

        const ConfinedPath::Outcome found = ConfinedPath::reach(m_home, m_home + "/" + path);
        QCOMPARE(found.item.has_value(), outcome.endsWith("item"));
        if (found.item) {
            QCOMPARE(found.item->facts().isLink(), outcome == "link item");
            QCOMPARE(found.item->resolvedPath(), std::optional(m_home + "/" + path));
            return;
        }
        QCOMPARE(QStringList({"missing", "throughLink", "outsideRoot"}).value(int(found.failure)), outcome);
        if (!stoppedAt.isEmpty())
            QCOMPARE(found.stoppedAt, m_home + "/" + stoppedAt);
    }

    // The one way to a folder Kelvo writes into or hands to a tool: from the root, no link at any
    // level, made (private to the user) only when asked; the refusal names the place where it stopped.
    void reachFolder_data()
    {
        // path: below the home; outcome: "folder" or the failure; named: in the description
        columns<QString, bool, QString, QString>("path", "create", "outcome", "named");
        row("the root itself", "", false, "folder", "");
        row("made where missing", "a/new/deeper", true, "folder", "");
        row("missing, not made", "a/new/deeper", false, "missing", "“~/a/new” does not exist");
        row("the folder a link", "linked", true, "throughLink", "“~/linked” is a link");
        row("a link above", "linked/inner/new", true, "throughLink", "“~/linked” is a link");
        row("a file on the way", "a/plain/new", true, "notFolder", "“~/a/plain” is not a folder");
        row("climbing out", "a/../../outside", true, "outsideRoot", "is not inside “~”");
        row("a folder that cannot be made", "locked/new", true, "unreadable", ""); // as nobody
    }
    void reachFolder()
    {
        const auto [path, create, outcome, named] =
            fetch<QString, bool, QString, QString>("path", "create", "outcome", "named");
        file(m_home + "/a/plain");
        link(folder(m_box.path("outside/inner")), m_home + "/linked");
        const ReadOnly locked(folder(m_home + "/locked"));
        const auto check = [&, path = path, create = create, outcome = outcome, named = named] {
            const ConfinedPath::FolderOutcome found = ConfinedPath::reachFolder(
                m_home, m_home + "/" + path,
                create ? ConfinedPath::Missing::create : ConfinedPath::Missing::stop);
            const QStringList failures{"missing", "throughLink", "outsideRoot", "unreadable", "notFolder"};
            return (found.folder ? QString("folder") : failures.value(int(found.failure))) == outcome &&
                   ConfinedPath::describe(found, m_home).contains(named);
        };
        QVERIFY(path.startsWith("locked") ? asUnprivileged(m_box.path(), check) : check());
        QVERIFY(isEmptyFolder(m_box.path("outside/inner")));
        struct stat made;
        QCOMPARE(lstat(QFile::encodeName(m_home + "/a/new").constData(), &made) == 0 &&
                     (made.st_mode & 0777) == 0700,
                 create && outcome == "folder");
    }

    // Where an item really is: through a root that is a link, and right below the root folder "/". An
    // item moved onto another becomes that item.
    void resolvedPaths()
    {
        const QString item = file(m_home + "/a/file");
        const QString root = link(m_home, m_box.path("home-link"));
        ConfinedPath::Outcome found = ConfinedPath::reach(root, root + "/a/file");
        QVERIFY(found.item);
        QCOMPARE(found.item->resolvedPath(), std::optional(item));
        const QString top = "/" + m_box.path().section('/', 1, 1);
        ConfinedPath::Outcome belowRoot = ConfinedPath::reach("/", top);
        QVERIFY(belowRoot.item);
        QCOMPARE(belowRoot.item->resolvedPath(), std::optional(top));
        *found.item = std::move(*belowRoot.item);
        QVERIFY(found.item->path() == top && found.item->resolvedPath() == top);
    }

    // A folder exchanged for a link, or for another folder, after it was reached: what now stands
    // there is not entered, whether the folder was to be emptied or removed.
    void aFolderSwappedAfterItWasReachedIsNotEntered_data()
    {
        columns<bool, bool>("contentsOnly", "byALink"); // byALink: else by another folder
        row("emptied, a link", true, true);
        row("removed, a link", false, true);
        row("emptied, another folder", true, false);
        row("removed, another folder", false, false);
    }
    void aFolderSwappedAfterItWasReachedIsNotEntered()
    {
        const auto [contentsOnly, byALink] = fetch<bool, bool>("contentsOnly", "byALink");
        const QString place = m_home + "/cache";
        file(place + "/x");
        const QString precious = file(m_box.path("outside/x"), 100);
        const ConfinedPath::Reached item = reached(place);
        QVERIFY(QDir().rename(place, m_home + "/moved-away"));
        if (byALink)
            link(m_box.path("outside"), place);
        else
            QVERIFY(QDir().rename(m_box.path("outside"), place));
        const FileRemover::Tally tally =
            contentsOnly ? FileRemover::removeContents(item) : FileRemover::removeItem(item);
        QVERIFY(exists(byALink ? precious : place + "/x"));
        QCOMPARE(tally.failed, 1);
        QVERIFY(tally.left.front().reason.contains("changed since the preview"));
    }

    void aMountInsideIsLeftAndCounted()
    {
        const QString place = m_home + "/cache";
        const QString precious = file(m_box.path("outside/precious"), 100);
        const QString mountPoint = folder(place + "/mounted");
        file(place + "/other", 10);
        const BindMount mount(m_box.path("outside"), mountPoint);
        if (!mount.mounted())
            QSKIP("this process may not mount");
        const FileRemover::Tally tally = FileRemover::removeContents(reached(place));
        QVERIFY(exists(precious));
        QVERIFY(!exists(place + "/other"));
        QCOMPARE(tally.failed, 1);
        QVERIFY(tally.left.front().reason.contains("another file system"));
    }

    void deepTreesGoOrAreCountedAsLeft_data()
    {
        columns<int, QByteArray, bool>("levels", "name", "gone");
        // 300 levels of 15 characters make a path longer than any path the system takes whole.
        row("deeper than the path limit", 300, QByteArray("fifteen-letters"), true);
        row("deeper than the nesting limit", FileRemover::maxNestingDepth + 5, QByteArray("d"), false);
    }
    void deepTreesGoOrAreCountedAsLeft()
    {
        const auto [levels, name, gone] = fetch<int, QByteArray, bool>("levels", "name", "gone");
        const QString place = folder(m_home + "/cache");
        QCOMPARE(nestedFolders(place, levels, name), levels);
        const FileRemover::Tally tally = FileRemover::removeContents(reached(place));
        QCOMPARE(isEmptyFolder(place), gone);
        QCOMPARE(std::pair(tally.removed, tally.failed), gone ? std::pair(1, 0) : std::pair(0, 1));
    }

    // An item that goes on its own between being looked at and being removed (the keep test is asked
    // in between, and here removes it) is gone, not a failure: the rest goes, and the folder with it.
    void itemsThatVanishMidwayAreGone_data()
    {
        columns<QString, bool>("vanishing", "contentsOnly");
        row("a file", "cache/file", true);
        row("a folder", "cache/folder", true);
        row("the item removed", "cache", false);
    }
    void itemsThatVanishMidwayAreGone()
    {
        const auto [vanishing, contentsOnly] = fetch<QString, bool>("vanishing", "contentsOnly");
        const QString place = m_home + "/cache";
        file(place + "/file", 100);
        file(place + "/folder/inner", 100);
        file(place + "/other", 100);
        const ConfinedPath::Reached item = reached(place);
        const FileRemover::KeepTest removeOnTheWay = [&](const QString& path) {
            if (path == m_home + '/' + vanishing)
                QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
            return false;
        };
        const FileRemover::Tally tally = contentsOnly ? FileRemover::removeContents(item, removeOnTheWay)
                                                      : FileRemover::removeItem(item, removeOnTheWay);
        QCOMPARE(tally.failed, 0);
        QVERIFY(contentsOnly ? isEmptyFolder(place) : !exists(place));
    }

    void leftBehindTextNamesTheFirstReasons()
    {
        FileRemover::Tally tally;
        for (int i = 0; i < 7; ++i)
            tally.leave(QString::number(i), QStringLiteral("reason %1").arg(i));
        const QStringList lines = FileRemover::leftBehindText(tally.failed, tally.left).split('\n');
        QCOMPARE(lines.first(), QString("7 items stayed:"));
        QCOMPARE(lines.size(), 7); // the heading, five reasons, the rest counted
        QCOMPARE(lines.last(), QString("…and 2 more."));
    }

    // An item goes to the Trash with where it came from, under a name of its own, a link as a link; an
    // item swapped after it was reached stays.
    void trash()
    {
        const QString dmg = file(m_home + "/Downloads/Tool.dmg");
        const ConfinedPath::Outcome outcome = ConfinedPath::reach(m_home, dmg);
        // Another file under the same name, made before the first is gone so it cannot reuse its inode.
        QVERIFY(::rename(QFile::encodeName(file(dmg + ".new")).constData(),
                         QFile::encodeName(dmg).constData()) == 0);
        QVERIFY(failure([&] { Trash::moveToTrash(*outcome.item); }).contains(dmg));
        QVERIFY(exists(dmg) && !exists(trashed("Tool.dmg")));
        QVERIFY(QDir(Trash::freedesktopTrashFolder() + "/info").isEmpty());

        const QString folderPath = m_home + "/work/Old Project";
        file(folderPath + "/inner/file");
        moveToTrash(folderPath);
        QVERIFY(!exists(folderPath) && exists(trashed("Old Project") + "/inner/file"));
        QVERIFY(info("Old Project")
                    .startsWith("[Trash Info]\nPath=" + QFile::encodeName(m_home).replace(" ", "%20") +
                                "/work/Old%20Project\nDeletionDate="));
        file(folderPath);
        moveToTrash(folderPath);
        QVERIFY(QFileInfo(trashed("Old Project")).isDir());
        QVERIFY(QFileInfo(trashed("Old Project-2")).isFile());
        QVERIFY(!info("Old Project-2").isEmpty());
        const QString target = file(m_box.path("outside/keep"));
        moveToTrash(link(m_box.path("outside"), m_home + "/shortcut"));
        QVERIFY(QFileInfo(trashed("shortcut")).isSymLink() && exists(target));
        // A name taken in the Trash's files without an info file of its own: the next name is used.
        write(trashed("Report.pdf"), "older");
        moveToTrash(file(m_home + "/Report.pdf"));
        QVERIFY(exists(trashed("Report.pdf-2")) && contents(trashed("Report.pdf")) == "older");
        // A name that leaves no room for its info file's: refused for that reason, and it stays.
        const QString longName = file(m_home + '/' + QString(250, 'n'));
        QVERIFY(failure([&] { moveToTrash(longName); }).contains(FileErrorText::reason(ENAMETOOLONG)));
        QVERIFY(exists(longName));
    }

    // The Trash of the user running Kelvo is inside their home folder, and it and its files and info
    // folders are reached from there without a link at any level: a link there, or a data folder
    // outside the home, refuses the move, naming the place; the item stays and what lies outside the
    // home keeps every byte.
    void trashFoldersAreReachedWithoutLinks_data()
    {
        // link: below the home, to the outside; dataHome: XDG_DATA_HOME, unset when empty; named: in
        // the refusal, none for a move
        columns<QString, QString, QString>("link", "dataHome", "named");
        row("files made where missing", "", "", "");
        row("the Trash a link", ".local/share/Trash", "", "“~/.local/share/Trash” is a link");
        row("files a link", ".local/share/Trash/files", "", "“~/.local/share/Trash/files” is a link");
        row("info a link", ".local/share/Trash/info", "", "“~/.local/share/Trash/info” is a link");
        row(".local a link", ".local", "", "“~/.local” is a link");
        row(".local/share a link", ".local/share", "", "“~/.local/share” is a link");
        row("data folder outside the home", "", "{box}/outside", "“{box}/outside/Trash” is not inside");
        row("data folder through a link", "data", "{home}/data", "“~/data” is a link");
    }
    void trashFoldersAreReachedWithoutLinks()
    {
        const auto [linkPath, dataHome, named] =
            fetch<QString, QString, QString>("link", "dataHome", "named");
        const auto restore = qScopeGuard([home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME")] {
            qputenv("HOME", home);
            qputenv("XDG_DATA_HOME", data);
        });
        qputenv("HOME", QFile::encodeName(m_home));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_box.expand(dataHome)));
        write(m_box.path("outside/files/keep"), "precious");
        folder(m_home + "/.local/share/Trash/info");
        if (!linkPath.isEmpty()) {
            QDir(m_home + "/" + linkPath).removeRecursively();
            link(m_box.path("outside"), m_home + "/" + linkPath);
        }
        const QMap<QString, QByteArray> before = tree(m_box.path("outside"));
        const QString item = write(m_home + "/Downloads/Tool.dmg", "tool");
        const QString refusal = failure([&] { moveToTrash(item); });
        QCOMPARE(tree(m_box.path("outside")), before);
        QVERIFY2(refusal.contains(m_box.expand(named)), qPrintable(refusal));
        QCOMPARE(exists(item), !named.isEmpty());
    }
};

KELVO_REGISTER_TEST(TestRemoval)
#include "tst_Removal.moc"
