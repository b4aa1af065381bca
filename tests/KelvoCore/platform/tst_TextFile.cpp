#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/TextFile.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace SyntheticHome;
using TestSupport::row;

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readsUtf8()
    {
        QCOMPARE(TextFile::readUtf8(write(m_dir.filePath("list"), "保护\nb\n")), QString("保护\nb\n"));
        QCOMPARE(TextFile::readUtf8(write(m_dir.filePath("empty"), "")), QString());
    }

    // A list file that is anything but readable UTF-8 text of a sane size is refused, saying why,
    // and nothing at the path may hang or flood the reader.
    void listFilesFailSafe_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why"); // part of the message
        row("latin-1 byte", "latin1", "line 1 is not UTF-8");
        row("a GBK comment on line 3", "gbk", "line 3 is not UTF-8");
        row("truncated sequence", "truncated", "line 1 is not UTF-8");
        row("a folder", "folder", "it is a folder");
        row("a FIFO", "fifo", "not a regular file");
        row("a link to /dev/zero", "zero", "not a regular file");
        row("larger than 1 MB", "huge", "larger than 1 MB");
        row("a dangling link", "dangling", "no longer exists");
    }
    void listFilesFailSafe()
    {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        const QString path = m_dir.filePath(kind);
        if (kind == "latin1")
            write(path, "caf\xe9\n");
        else if (kind == "gbk")
            write(path, "~/a\n~/b\n# \xb1\xa3\xbb\xa4\n");
        else if (kind == "truncated")
            write(path, "\xe4\xbf");
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == "zero")
            link("/dev/zero", path);
        else if (kind == "huge")
            write(path, QByteArray(TextFile::listFileMaxBytes + 1, 'a'));
        else
            link(m_dir.filePath("nothing"), path);
        try {
            TextFile::readListFile(path);
            QFAIL("reading should have failed");
        } catch (const KelvoError& error) {
            QVERIFY2(error.description().contains(path) && error.description().contains(why),
                     qPrintable(error.description()));
        }
        QVERIFY(!TextFile::readListFile(m_dir.filePath("missing")));
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
        row("parent is a file", "parent-file", QByteArray("I am a file"), "parent-file/inner/list", false);
        row("read-only folder", "read-only/list", QByteArray("previous\n"), "read-only/list", true);
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
