#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/TextFile.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QTemporaryDir>

using namespace SyntheticHome;

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readsUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ascii") << QByteArray("a\nb\n") << "a\nb\n";
        QTest::newRow("chinese") << QByteArray("保护名单\n") << QString::fromUtf8("保护名单\n");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void readsUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(TextFile::readUtf8(write(m_dir.filePath("list"), bytes)), expected);
    }

    void refusesWhatIsNotReadableText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty name: a folder stands at the path
        QTest::newRow("latin-1 bytes") << "latin1" << QByteArray("caf\xe9\n");
        QTest::newRow("truncated sequence") << "truncated" << QByteArray("\xe4\xbf");
        QTest::newRow("a folder") << "folder" << QByteArray();
        QTest::newRow("missing") << "missing" << QByteArray();
    }
    void refusesWhatIsNotReadableText()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir.filePath(name);
        if (name == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (name != "missing")
            write(path, bytes);
        try {
            TextFile::readUtf8(path);
            QFAIL("reading should have failed");
        } catch (const KelvoError& error) {
            QVERIFY(error.description().contains(path));
        }
    }

    void writesAtomicallyAndCreatesFolders()
    {
        const QString path = m_dir.filePath("a/b/c/list");
        TextFile::writeUtf8Atomically(path, QString::fromUtf8("一\ntwo\n"));
        QCOMPARE(contents(path), QByteArray("一\ntwo\n"));
        TextFile::writeUtf8Atomically(path, "replaced\n");
        QCOMPARE(contents(path), QByteArray("replaced\n"));
        QCOMPARE(QDir(m_dir.filePath("a/b/c")).entryList(QDir::Files | QDir::Hidden), QStringList{"list"});
    }

    void failedWriteKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("kept");     // written first
        QTest::addColumn<QByteArray>("bytes"); // its contents
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("readOnly"); // the folder holding kept
        TestSupport::row("parent is a file", "parent-file", QByteArray("I am a file"),
                         "parent-file/inner/list", false);
        TestSupport::row("read-only folder", "read-only/list", QByteArray("previous\n"), "read-only/list",
                         true);
    }
    void failedWriteKeepsThePreviousFile()
    {
        QFETCH(QString, kept);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, target);
        QFETCH(bool, readOnly);
        if (readOnly)
            KELVO_SKIP_AS_ROOT();
        const QString path = write(m_dir.filePath(kept), bytes);
        const ReadOnly locked(readOnly ? QFileInfo(path).path() : QString());
        QVERIFY_THROWS_EXCEPTION(KelvoError, TextFile::writeUtf8Atomically(m_dir.filePath(target), "new\n"));
        QCOMPARE(contents(path), bytes);
    }

    void linesSplitAtEveryLineBreak()
    {
        QCOMPARE(TextFile::lines("a\nb\rc\r\nd\u2028e\u2029f\u0085g\vh\fi"),
                 (QStringList{"a", "b", "c", "", "d", "e", "f", "g", "h", "i"}));
        QCOMPARE(TextFile::lines("one"), QStringList{"one"});
        QCOMPARE(TextFile::lines("end\n"), (QStringList{"end", ""}));
    }

private:
    QTemporaryDir m_dir;
};

KELVO_REGISTER_TEST(TestTextFile)
#include "tst_TextFile.moc"
