#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/Trash.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

// The sandbox's XDG data folder holds the Trash, so these tests never reach the real one.
class TestTrash : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_home = QDir::homePath();
        QVERIFY(m_home.startsWith(QDir::tempPath()) || m_home.contains("/tmp"));
        QVERIFY(QDir().mkpath(m_home + "/work"));
    }

    void movesFilesAndFolders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::newRow("file") << "installer.dmg" << false;
        QTest::newRow("folder") << "node_modules" << true;
        QTest::newRow("name with spaces") << "Old Project" << true;
    }
    void movesFilesAndFolders()
    {
        QFETCH(QString, name);
        QFETCH(bool, folder);
        const QString path = m_home + "/work/" + name;
        SyntheticHome::write(folder ? path + "/inner/file" : path, "x");
        Trash::moveToTrash(path);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(trashHolds(name));
    }

    void movesALinkNotItsTarget()
    {
        const QString target = m_home + "/work/precious";
        SyntheticHome::write(target + "/keep", "x");
        const QString link = m_home + "/work/shortcut";
        QVERIFY(QFile::link(target, link));
        Trash::moveToTrash(link);
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo::exists(target + "/keep"));
    }

    void aVanishedItemIsATranslatedError()
    {
        const QString path = m_home + "/work/never-there";
        try {
            Trash::moveToTrash(path);
            QFAIL("moving a missing item should fail");
        } catch (const KelvoError& error) {
            QVERIFY(error.description().contains(path));
        }
    }

private:
    static bool trashHolds(const QString& name)
    {
        const QString trash =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files";
        return QFileInfo::exists(trash + "/" + name);
    }

    QString m_home;
};

KELVO_REGISTER_TEST(TestTrash)
#include "tst_Trash.moc"
