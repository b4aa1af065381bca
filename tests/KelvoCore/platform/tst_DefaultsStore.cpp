#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/DefaultsStore.h"

#include <QSettings>
#include <QTemporaryDir>

using TestSupport::row;

// Stored values are read strictly: a value of the wrong type reads as its default, whatever wrote it.
class TestDefaultsStore : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readers_data()
    {
        QTest::addColumn<QVariant>("stored"); // a QByteArray: the value's text in a file written by hand
        QTest::addColumn<double>("asDouble");
        QTest::addColumn<qint64>("asInt64");
        QTest::addColumn<int>("asBool"); // -1: the fallback
        QTest::addColumn<QString>("asString");
        // Typed values, as the macOS defaults keep them.
        row("missing", QVariant(), -1.0, qint64(-1), -1, "fallback");
        row("integer", QVariant(qint64(42)), 42.0, qint64(42), -1, "fallback");
        row("fraction", QVariant(12.5), 12.5, qint64(-1), -1, "fallback");
        row("integral double", QVariant(7.0), 7.0, qint64(7), -1, "fallback");
        row("true", QVariant(true), -1.0, qint64(-1), 1, "fallback");
        row("list", QVariant(QStringList{"a", "b"}), -1.0, qint64(-1), -1, "fallback");
        row("large count", QVariant(qint64(5'000'000'000'000)), 5e12, qint64(5'000'000'000'000), -1,
            "fallback");
        // An INI file written by hand or by another process keeps every value as text.
        const auto text = [](const char* tag, const char* value, double asDouble, qint64 asInt64,
                             int asBool) {
            QTest::addRow("text: %s", tag)
                << QVariant(QByteArray(value)) << asDouble << asInt64 << asBool << QString::fromUtf8(value);
        };
        text("integer", "42", 42.0, 42, -1);
        text("fraction", "12.5", 12.5, -1, -1);
        text("true", "true", -1.0, -1, 1);
        text("false", "false", -1.0, -1, 0);
        text("capitalised", "True", -1.0, -1, -1);
        // Numbers that are no number: never a date or a count, never cast.
        text("nan", "nan", -1.0, -1, -1);
        text("infinity", "inf", -1.0, -1, -1);
        text("huge", "1e300", 1e300, -1, -1);
    }
    void readers()
    {
        QFETCH(QVariant, stored);
        QFETCH(double, asDouble);
        QFETCH(qint64, asInt64);
        QFETCH(int, asBool);
        QFETCH(QString, asString);
        const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".ini");
        if (stored.typeId() == QMetaType::QByteArray)
            SyntheticHome::write(file, "[General]\nkey=" + stored.toByteArray() + "\n");
        else if (stored.isValid())
            QSettings(file, QSettings::IniFormat).setValue("key", stored);
        const QSettings reader(file, QSettings::IniFormat);
        QCOMPARE(DefaultsStore::readDouble(reader, "key", -1), asDouble);
        QCOMPARE(DefaultsStore::readInt64(reader, "key", -1), asInt64);
        QCOMPARE(DefaultsStore::readBool(reader, "key", true), asBool == -1 ? true : asBool == 1);
        QCOMPARE(DefaultsStore::readBool(reader, "key", false), asBool == -1 ? false : asBool == 1);
        QCOMPARE(DefaultsStore::readString(reader, "key", "fallback"), asString);
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
