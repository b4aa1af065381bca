#include "TestMain.h"

#include "platform/DefaultsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

// Stored values are read strictly: a value of the wrong type reads as its default, whatever wrote it.
class TestDefaultsStore : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readers_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<double>("asDouble");
        QTest::addColumn<qint64>("asInt64");
        QTest::addColumn<int>("asBool"); // -1: the fallback
        QTest::addColumn<QString>("asString");
        QTest::newRow("missing") << QVariant() << -1.0 << qint64(-1) << -1 << "fallback";
        QTest::newRow("integer") << QVariant(qint64(42)) << 42.0 << qint64(42) << -1 << "fallback";
        QTest::newRow("fraction") << QVariant(12.5) << 12.5 << qint64(-1) << -1 << "fallback";
        QTest::newRow("integral double") << QVariant(7.0) << 7.0 << qint64(7) << -1 << "fallback";
        QTest::newRow("true") << QVariant(true) << -1.0 << qint64(-1) << 1 << "fallback";
        QTest::newRow("false") << QVariant(false) << -1.0 << qint64(-1) << 0 << "fallback";
        QTest::newRow("words") << QVariant(QStringLiteral("hello")) << -1.0 << qint64(-1) << -1 << "hello";
        QTest::newRow("list") << QVariant(QStringList{"a", "b"}) << -1.0 << qint64(-1) << -1 << "fallback";
        QTest::newRow("large count") << QVariant(qint64(5'000'000'000'000)) << 5e12
                                     << qint64(5'000'000'000'000) << -1 << "fallback";
    }
    // Typed values, as the macOS defaults keep them.
    void readers()
    {
        QFETCH(QVariant, stored);
        QFETCH(double, asDouble);
        QFETCH(qint64, asInt64);
        QFETCH(int, asBool);
        QFETCH(QString, asString);
        const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".ini");
        {
            QSettings writer(file, QSettings::IniFormat);
            if (stored.isValid())
                writer.setValue("key", stored);
        }
        QSettings reader(file, QSettings::IniFormat);
        QCOMPARE(DefaultsStore::readDouble(reader, "key", -1), asDouble);
        QCOMPARE(DefaultsStore::readInt64(reader, "key", -1), asInt64);
        QCOMPARE(DefaultsStore::readBool(reader, "key", true), asBool == -1 ? true : asBool == 1);
        QCOMPARE(DefaultsStore::readBool(reader, "key", false), asBool == -1 ? false : asBool == 1);
        QCOMPARE(DefaultsStore::readString(reader, "key", "fallback"), asString);
    }

    void readersFromText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("asDouble");
        QTest::addColumn<qint64>("asInt64");
        QTest::addColumn<int>("asBool"); // -1: the fallback
        QTest::newRow("integer") << QByteArray("42") << 42.0 << qint64(42) << -1;
        QTest::newRow("fraction") << QByteArray("12.5") << 12.5 << qint64(-1) << -1;
        QTest::newRow("true") << QByteArray("true") << -1.0 << qint64(-1) << 1;
        QTest::newRow("false") << QByteArray("false") << -1.0 << qint64(-1) << 0;
        QTest::newRow("capitalised") << QByteArray("True") << -1.0 << qint64(-1) << -1;
        QTest::newRow("words") << QByteArray("soon") << -1.0 << qint64(-1) << -1;
        QTest::newRow("empty") << QByteArray("") << -1.0 << qint64(-1) << -1;
    }
    // An INI file written by hand or by another process keeps every value as text.
    void readersFromText()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, asDouble);
        QFETCH(qint64, asInt64);
        QFETCH(int, asBool);
        const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + "-text.ini");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[General]\nkey=" + text + "\n");
        out.close();
        QSettings reader(file, QSettings::IniFormat);
        QCOMPARE(DefaultsStore::readDouble(reader, "key", -1), asDouble);
        QCOMPARE(DefaultsStore::readInt64(reader, "key", -1), asInt64);
        QCOMPARE(DefaultsStore::readBool(reader, "key", true), asBool == -1 ? true : asBool == 1);
        QCOMPARE(DefaultsStore::readBool(reader, "key", false), asBool == -1 ? false : asBool == 1);
        QCOMPARE(DefaultsStore::readString(reader, "key", "fallback"), QString::fromUtf8(text));
    }

    void openUsesTheRedirectedFile()
    {
        const QString file = m_dir.filePath("redirected.ini");
        DefaultsStore::useFile(file);
        DefaultsStore::open()->setValue("marker", 3);
        QSettings direct(file, QSettings::IniFormat);
        QCOMPARE(direct.value("marker").toInt(), 3);
        DefaultsStore::useFile(qEnvironmentVariable("KELVO_DEFAULTS_FILE"));
    }

private:
    QTemporaryDir m_dir;
};

KELVO_REGISTER_TEST(TestDefaultsStore)
#include "tst_DefaultsStore.moc"
