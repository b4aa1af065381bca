#include "TestMain.h"

#include "platform/TextFile.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

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
        const QString path = m_dir.filePath("list");
        writeBytes(path, bytes);
        QCOMPARE(TextFile::readUtf8(path), expected);
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
            writeBytes(path, bytes);
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
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("parent is a file") << "parent-file";
        QTest::newRow("read-only folder") << "read-only";
    }
    void failedWriteKeepsThePreviousFile()
    {
        QFETCH(QString, obstacle);
        const QString folder = m_dir.filePath(obstacle);
        QString target = folder + "/list";
        if (obstacle == "parent-file") {
            writeBytes(folder, "I am a file");
            target = folder + "/inner/list";
        } else {
            if (geteuid() == 0)
                QSKIP("permissions do not stop root");
            QVERIFY(QDir().mkpath(folder));
            writeBytes(target, "previous\n");
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        QVERIFY_THROWS_EXCEPTION(KelvoError, TextFile::writeUtf8Atomically(target, "new\n"));
        if (obstacle == "parent-file") {
            QCOMPARE(contents(folder), QByteArray("I am a file"));
        } else {
            QCOMPARE(contents(target), QByteArray("previous\n"));
            QFile::setPermissions(folder,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
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
