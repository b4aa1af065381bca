#include "TestMain.h"

#include "platform/ToolRunner.h"

using namespace std::chrono_literals;
using TestSupport::row;

class TestToolRunner : public QObject {
    Q_OBJECT

private slots:
    void runs_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("started");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        row("output captured", "/bin/echo", QStringList{"hello", "world"}, true, 0,
            QByteArray("hello world\n"));
        row("exit status kept", "/bin/sh", QStringList{"-c", "echo partial; exit 3"}, true, 3,
            QByteArray("partial\n"));
        row("stderr drained, not mixed in", "/bin/sh", QStringList{"-c", "echo out; echo err >&2"}, true, 0,
            QByteArray("out\n"));
        row("missing tool", "/usr/sbin/no-such-tool", QStringList{}, false, -1, QByteArray());
        row("relative path refused", "echo", QStringList{"x"}, false, -1, QByteArray());
    }
    void runs()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(bool, started);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        const ToolRunner::Result result = ToolRunner::run({program, arguments, std::nullopt});
        QCOMPARE(result.started, started);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.standardOutput, output);
        QCOMPARE(result.succeeded(), started && exitCode == 0);
    }

    void largeOutputIsNotCutShort()
    {
        const ToolRunner::Result result = ToolRunner::run(
            {"/bin/sh", {"-c", "i=0; while [ $i -lt 20000 ]; do echo line-$i; i=$((i+1)); done"}, {}});
        QVERIFY(result.succeeded());
        QCOMPARE(result.standardOutput.count('\n'), 20000);
    }

    void aHungToolIsEndedAtItsTimeLimit()
    {
        const ToolRunner::Result result = ToolRunner::run({"/bin/sleep", {"30"}, 300ms});
        QVERIFY(result.started);
        QVERIFY(result.timedOut);
        QVERIFY(!result.succeeded());
    }
};

KELVO_REGISTER_TEST(TestToolRunner)
#include "tst_ToolRunner.moc"
