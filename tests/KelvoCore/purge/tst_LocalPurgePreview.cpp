#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/DefaultsStore.h"
#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/NaturalOrder.h"

#include <QSettings>
#include <QTemporaryDir>

using namespace SyntheticHome;

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
        AppLocalization::savePreference(AppLanguagePreference::english, *DefaultsStore::open());
        m_dir = std::make_unique<QTemporaryDir>();
        m_root = folder(m_dir->filePath("code"));
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
        QTest::newRow("nested artefacts: the outer one only")
            << QStringList{"app/node_modules/lib/node_modules/deep"} << QStringList{}
            << QStringList{"app/node_modules"};
        QTest::newRow("case matters") << QStringList{"app/Build"} << QStringList{} << QStringList{};
        QTest::newRow("files are not artefacts")
            << QStringList{"app"} << QStringList{"app/build"} << QStringList{};
        QTest::newRow("idea system suffix") << QStringList{"app/.idea/system/caches", "other/system"}
                                            << QStringList{} << QStringList{"app/.idea/system"};
        QTest::newRow("hidden targets") << QStringList{"py/.venv/lib", "py/src/__pycache__"} << QStringList{}
                                        << QStringList{"py/.venv", "py/src/__pycache__"};
        QTest::newRow("depth six found, seven not")
            << QStringList{"a/b/c/d/e/node_modules", "a/b/c/d/e/f/node_modules"} << QStringList{}
            << QStringList{"a/b/c/d/e/node_modules"};
        QTest::newRow("packages are not entered")
            << QStringList{"Tool.app/Contents/build"} << QStringList{} << QStringList{};
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
        link(m_dir->filePath("outside"), m_root + "/proj10/node_modules/escape");
        file(m_dir->filePath("outside/huge"), 900000);
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
        for (int i = 0; i < 150; ++i)
            file(QString("%1/web/node_modules/%2/f%3").arg(m_root).arg(i / 10).arg(i), 0);
        LocalPurgePreview::Options options;
        options.measureCap = 100;
        const auto report = LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options);
        QCOMPARE(*report.entries.front().fileCount + *report.entries.front().directoryCount, qint64(100));
    }

    void aMissingRootIsAnEmptyReport()
    {
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_dir->filePath("gone"));
        QCOMPARE(report.rootPath, m_dir->filePath("gone"));
        QVERIFY(report.entries.empty());
        QVERIFY(report.generatedAt.isValid());
    }

    void ecosystems_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("title");
        QTest::newRow("node") << "node_modules"
                              << "JavaScript / Node";
        QTest::newRow("venv") << ".venv"
                              << "Python";
        QTest::newRow("pods") << "Pods"
                              << "iOS / macOS";
        QTest::newRow("cargo") << "target"
                               << "Rust / Go / Zig";
        QTest::newRow("gradle") << ".gradle"
                                << "Android / Flutter";
        QTest::newRow("generic build") << "build"
                                       << "Other";
        QTest::newRow("idea") << ".idea/system"
                              << "Other";
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
        QTest::newRow("digits by value") << "proj2"
                                         << "proj10" << -1;
        QTest::newRow("case ignored") << "alpha"
                                      << "Beta" << -1;
        QTest::newRow("longer after prefix") << "app"
                                             << "app2" << -1;
        QTest::newRow("leading zeros still order") << "v007"
                                                   << "v7" << -1;
        QTest::newRow("huge numbers") << "n99999999999999999999"
                                      << "n100000000000000000000" << -1;
        QTest::newRow("equal") << "same"
                               << "same" << 0;
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
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

KELVO_REGISTER_TEST(TestLocalPurgePreview)
#include "tst_LocalPurgePreview.moc"
