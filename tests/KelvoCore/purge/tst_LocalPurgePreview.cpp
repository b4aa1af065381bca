#include "TestMain.h"

#include "SyntheticHome.h"

#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "vocabulary/NaturalOrder.h"

using namespace SyntheticHome;
using TestSupport::row;

namespace {

QStringList found(const PurgePreviewReport& report, const QString& root)
{
    QStringList paths;
    for (const auto& entry : report.entries)
        paths << entry.path.mid(root.size() + 1);
    paths.sort();
    return paths;
}

} // namespace

class TestLocalPurgePreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_box.renew();
        m_root = folder(m_box.path("code"));
    }

    void everyTargetNameIsFound()
    {
        for (const QString& name : LocalPurgePreview::targetDirectoryNames())
            file(m_root + "/proj-" + QString(name).remove('.') + "/" + name + "/x", 10);
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_root);
        QCOMPARE(report.entries.size(), std::size_t(LocalPurgePreview::targetDirectoryNames().size()));
        for (const auto& entry : report.entries) {
            QCOMPARE(entry.name, entry.target);
            QVERIFY(entry.path.endsWith("/" + entry.name));
        }
    }

    void matching_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        row("nested artefacts: the outer one only", QStringList{"app/node_modules/lib/node_modules/deep"},
            none, QStringList{"app/node_modules"});
        row("case matters", QStringList{"app/Build"}, none, none);
        row("files are not artefacts", QStringList{"app"}, QStringList{"app/build"}, none);
        row("idea system suffix", QStringList{"app/.idea/system/caches", "other/system"}, none,
            QStringList{"app/.idea/system"});
        row("hidden targets", QStringList{"py/.venv/lib", "py/src/__pycache__"}, none,
            QStringList{"py/.venv", "py/src/__pycache__"});
        row("depth six found, seven not", QStringList{"a/b/c/d/e/node_modules", "a/b/c/d/e/f/node_modules"},
            none, QStringList{"a/b/c/d/e/node_modules"});
        row("packages are not entered", QStringList{"Tool.app/Contents/build"}, none, none);
    }
    void matching()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        for (const QString& path : folders)
            folder(m_root + "/" + path);
        for (const QString& path : files)
            file(m_root + "/" + path, 10);
        QCOMPARE(found(LocalPurgePreview::snapshot(m_root), m_root), expected);
    }

    void measuresAndSorts()
    {
        const QString big = file(m_root + "/proj10/node_modules/lib/index.js", 20000);
        file(m_root + "/proj10/node_modules/lib/.hidden", 4000);
        file(m_root + "/proj2/target/a", 100);
        file(m_root + "/proj10/target/a", 100);
        link(m_box.path("outside"), m_root + "/proj10/node_modules/escape");
        file(m_box.path("outside/huge"), 900000);
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_root);
        QCOMPARE(report.entries.size(), std::size_t(3));
        const auto& first = report.entries[0];
        QCOMPARE(first.name, QString("node_modules"));
        QCOMPARE(first.byteCount, allocated(big) + allocated(m_root + "/proj10/node_modules/lib/.hidden"));
        QCOMPARE(first.fileCount, 2);
        QCOMPARE(first.directoryCount, 1);
        QCOMPARE(*first.detailText(), QString("2 files / 1 folders"));
        // Equal sizes: natural order of the paths, proj2 before proj10.
        QVERIFY(report.entries[1].path.contains("/proj2/"));
        QVERIFY(report.entries[2].path.contains("/proj10/"));
        QCOMPARE(report.totalBytes(),
                 first.byteCount + report.entries[1].byteCount + report.entries[2].byteCount);
    }

    void aHugeArtefactIsMeasuredUpToTheCap()
    {
        manyFiles(m_root + "/web/node_modules", 150, 0, 10);
        LocalPurgePreview::Options options;
        options.measureCap = 100;
        const auto report = LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options);
        QCOMPARE(*report.entries.front().fileCount + *report.entries.front().directoryCount, qint64(100));
    }

    void aMissingRootIsAnEmptyReport()
    {
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_box.path("gone"));
        QCOMPARE(report.rootPath, m_box.path("gone"));
        QVERIFY(report.entries.empty());
        QVERIFY(report.generatedAt.isValid());
    }

    void ecosystems_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("title");
        row("node", "node_modules", "JavaScript / Node");
        row("venv", ".venv", "Python");
        row("pods", "Pods", "iOS / macOS");
        row("cargo", "target", "Rust / Go / Zig");
        row("gradle", ".gradle", "Android / Flutter");
        row("generic build", "build", "Other");
        row("idea", ".idea/system", "Other");
    }
    void ecosystems()
    {
        QFETCH(QString, target);
        QFETCH(QString, title);
        QCOMPARE(PurgeEcosystems::title(PurgeEcosystems::of(target)), title);
    }

    void naturalOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        row("digits by value", "proj2", "proj10", -1);
        row("case ignored", "alpha", "Beta", -1);
        row("longer after prefix", "app", "app2", -1);
        row("leading zeros still order", "v007", "v7", -1);
        row("huge numbers", "n99999999999999999999", "n100000000000000000000", -1);
        row("equal", "same", "same", 0);
        // Digits of other scripts are characters: "２" < "10" < "a" < "２" would be a circle.
        row("a full-width digit after a number", "10", QStringLiteral("\uFF12"), -1);
        row("a full-width digit after a letter", "a", QStringLiteral("\uFF12"), -1);
        row("a number before a letter", "10", "a", -1);
    }
    void naturalOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE((NaturalOrder::compare(a, b) > 0) - (NaturalOrder::compare(a, b) < 0), order);
        QCOMPARE((NaturalOrder::compare(b, a) > 0) - (NaturalOrder::compare(b, a) < 0), -order);
    }

private:
    Sandbox m_box;
    QString m_root;
};

KELVO_REGISTER_TEST(TestLocalPurgePreview)
#include "tst_LocalPurgePreview.moc"
