// The project purge preview against a synthetic code folder: which build artefacts are found, how
// they are measured and in which order they come.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "vocabulary/NaturalOrder.h"

using namespace SyntheticHome;
using TestSupport::row;

class TestLocalPurgePreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_root;

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
        for (const auto& entry : report.entries)
            QVERIFY(entry.name == entry.target && entry.path.endsWith("/" + entry.name));
        QCOMPARE(PurgeEcosystems::of("node_modules"), PurgeEcosystem::javaScript);
        QCOMPARE(PurgeEcosystems::of("Build"), PurgeEcosystem::other);
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
        QStringList paths;
        for (const auto& entry : LocalPurgePreview::snapshot(m_root).entries)
            paths << entry.path.mid(m_root.size() + 1);
        paths.sort();
        QCOMPARE(paths, expected);
    }

    void measuresAndSorts()
    {
        const QString big = file(m_root + "/proj10/node_modules/lib/index.js", 20000);
        const QString hidden = file(m_root + "/proj10/node_modules/lib/.hidden", 4000);
        file(m_root + "/proj2/target/a", 100);
        file(m_root + "/proj10/target/a", 100);
        link(m_box.path("outside"), m_root + "/proj10/node_modules/escape");
        file(m_box.path("outside/huge"), 900000);
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_root);
        QCOMPARE(report.entries.size(), std::size_t(3));
        const auto& first = report.entries[0];
        QCOMPARE(first.name, QString("node_modules"));
        QCOMPARE(first.byteCount, allocated(big) + allocated(hidden));
        QCOMPARE(*first.detailText(), QString("2 files / 1 folders"));
        // Equal sizes: natural order of the paths, proj2 before proj10.
        QVERIFY(report.entries[1].path.contains("/proj2/") && report.entries[2].path.contains("/proj10/"));
        QCOMPARE(report.totalBytes(), first.byteCount + 2 * report.entries[1].byteCount);
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
        QVERIFY(report.entries.empty() && report.generatedAt.isValid());
    }

    void naturalOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        row("digits by value", "proj2", "proj10");
        row("case ignored", "alpha", "Beta");
        row("longer after prefix", "app", "app2");
        row("leading zeros still order", "v007", "v7");
        row("huge numbers", "n99999999999999999999", "n100000000000000000000");
        // Digits of other scripts are characters: "２" < "10" < "a" < "２" would be a circle.
        row("a full-width digit after a number", "10", QStringLiteral("\uFF12"));
        row("a full-width digit after a letter", "a", QStringLiteral("\uFF12"));
        row("a number before a letter", "10", "a");
    }
    void naturalOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QVERIFY(NaturalOrder::compare(a, b) < 0);
        QVERIFY(NaturalOrder::compare(b, a) > 0);
        QCOMPARE(NaturalOrder::compare(a, a), 0);
    }
};

KELVO_REGISTER_TEST(TestLocalPurgePreview)
#include "tst_LocalPurgePreview.moc"
