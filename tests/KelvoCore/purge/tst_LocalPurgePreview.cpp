// The project purge preview against a synthetic code folder: which build artefacts are found, how
// they are measured and in which order they come.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "vocabulary/NaturalOrder.h"

using namespace SyntheticHome;
using namespace TestSupport;

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

    // Folders named as a target, or ending in a target suffix, case as written; an artefact is never
    // searched for further artefacts; six levels down at most, bundles not entered.
    void matching_data()
    {
        columns<QStringList, QStringList>("folders", "files"); // "-" before what is not found
        row("nested artefacts: the outer one only",
            QStringList{"app/node_modules", "-app/node_modules/lib/node_modules"}, QStringList{});
        row("case matters", QStringList{"-app/Build"}, QStringList{});
        row("files are not artefacts", QStringList{"-app"}, QStringList{"-app/build"});
        row("idea system suffix", QStringList{"app/.idea/system", "-other/system"}, QStringList{});
        row("hidden targets", QStringList{"py/.venv", "py/src/__pycache__"}, QStringList{});
        row("depth six found, seven not", QStringList{"a/b/c/d/e/node_modules", "-a/b/c/d/e/f/node_modules"},
            QStringList{});
        row("bundles are not entered", QStringList{"-Tool.app/Contents/build"}, QStringList{});
    }
    void matching()
    {
        const auto [folders, files] = fetch<QStringList, QStringList>("folders", "files");
        QStringList expected, paths;
        for (const QString& path : folders + files) {
            const QString bare = path.startsWith('-') ? path.mid(1) : path;
            if (folders.contains(path))
                folder(m_root + "/" + bare + "/x");
            else
                file(m_root + "/" + bare, 10);
            if (!path.startsWith('-') && folders.contains(path))
                expected << bare;
        }
        for (const auto& entry : LocalPurgePreview::snapshot(m_root).entries)
            paths << entry.path.mid(m_root.size() + 1);
        paths.sort();
        expected.sort();
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
        QCOMPARE(PurgeEcosystems::of(first.target), PurgeEcosystem::javaScript);
        QCOMPARE(PurgeEcosystems::of("Build"), PurgeEcosystem::other);
    }

    void aHugeArtefactIsMeasuredUpToTheCap()
    {
        manyFiles(m_root + "/web/node_modules", 150, 0, 10);
        LocalPurgePreview::Options options;
        options.measureCap = 100;
        const auto report = LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options);
        QCOMPARE(*report.entries.front().fileCount + *report.entries.front().directoryCount, qint64(100));
    }

    void naturalOrder_data()
    {
        columns<QString, QString>("a", "b");
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
        const auto [a, b] = fetch<QString, QString>("a", "b");
        QVERIFY(NaturalOrder::compare(a, b) < 0);
        QVERIFY(NaturalOrder::compare(b, a) > 0);
        QCOMPARE(NaturalOrder::compare(a, a), 0);
    }
};

KELVO_REGISTER_TEST(TestLocalPurgePreview)
#include "tst_LocalPurgePreview.moc"
