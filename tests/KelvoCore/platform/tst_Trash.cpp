// Moving to the freedesktop Trash from an open parent folder.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/ConfinedPath.h"
#include "platform/Trash.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace SyntheticHome;

// The sandbox's XDG data folder holds the Trash, so these tests never reach the real one.
class TestTrash : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    void trash(const QString& path)
    {
        const ConfinedPath::Outcome outcome = ConfinedPath::reach(m_home, path);
        QVERIFY(outcome.item);
        Trash::moveToTrash(*outcome.item);
    }

    static QString trashed(const QString& name) { return Trash::freedesktopTrashFolder() + "/files/" + name; }
    static QByteArray info(const QString& name)
    {
        return contents(Trash::freedesktopTrashFolder() + "/info/" + name + ".trashinfo");
    }

private slots:
    void init()
    {
#ifdef Q_OS_MACOS
        QSKIP("Finder's Trash is the user's own; the freedesktop Trash is tested on Linux");
#endif
        m_home = m_box.renew();
        QDir(Trash::freedesktopTrashFolder()).removeRecursively();
        QVERIFY(Trash::freedesktopTrashFolder().startsWith(QDir::tempPath()));
    }

    void itemsGoWithWhereTheyCameFrom()
    {
        const QString folderPath = m_home + "/work/Old Project";
        file(folderPath + "/inner/file");
        trash(folderPath);
        QVERIFY(!exists(folderPath));
        QVERIFY(exists(trashed("Old Project") + "/inner/file"));
        const QByteArray record = info("Old Project");
        QVERIFY(record.startsWith("[Trash Info]\nPath=" + QFile::encodeName(m_home).replace(" ", "%20") +
                                  "/work/Old%20Project\nDeletionDate="));

        // A second item of the same name takes a name of its own; the first stays.
        file(folderPath);
        trash(folderPath);
        QVERIFY(QFileInfo(trashed("Old Project")).isDir());
        QVERIFY(QFileInfo(trashed("Old Project-2")).isFile());
        QVERIFY(!info("Old Project-2").isEmpty());
    }

    void aLinkGoesAsALink()
    {
        const QString target = file(m_box.path("outside/keep"));
        const QString shortcut = link(m_box.path("outside"), m_home + "/shortcut");
        trash(shortcut);
        QVERIFY(QFileInfo(trashed("shortcut")).isSymLink());
        QVERIFY(exists(target));
    }

    void anItemSwappedAfterItWasReachedStays()
    {
        const QString path = file(m_home + "/Downloads/Tool.dmg");
        const ConfinedPath::Outcome outcome = ConfinedPath::reach(m_home, path);
        // Another file under the same name, made before the first is gone so it cannot reuse its inode.
        QVERIFY(QFile::rename(file(path + ".new"), path + ".next"));
        QVERIFY(::rename(QFile::encodeName(path + ".next").constData(),
                         QFile::encodeName(path).constData()) == 0);
        try {
            Trash::moveToTrash(*outcome.item);
            QFAIL("a replaced item must not be moved");
        } catch (const KelvoError& error) {
            QVERIFY(error.description().contains(path));
        }
        QVERIFY(exists(path));
        QVERIFY(!exists(trashed("Tool.dmg")));
        QVERIFY(QDir(Trash::freedesktopTrashFolder() + "/info").isEmpty());
    }
};

KELVO_REGISTER_TEST(TestTrash)
#include "tst_Trash.moc"
