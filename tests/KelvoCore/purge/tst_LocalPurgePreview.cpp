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
    // searched for further artefacts; six levels down at most, bundles not entered. The scanned folder
    // is the home folder here: the tools' own homes directly below it are not searched.
    void matching_data()
    {
        columns<QStringList, QStringList>("files", "found"); // found: the folders listed
        row("nested artefacts: the outer one only", QStringList{"app/node_modules/lib/node_modules/x"},
            QStringList{"app/node_modules"});
        row("case matters", QStringList{"app/Build/x"}, QStringList{});
        row("files are not artefacts", QStringList{"app/build"}, QStringList{});
        row("idea system suffix", QStringList{"app/.idea/system/x", "other/system/x"},
            QStringList{"app/.idea/system"});
        row("hidden targets", QStringList{"py/.venv/x", "py/src/__pycache__/x"},
            QStringList{"py/.venv", "py/src/__pycache__"});
        row("depth six found, seven not",
            QStringList{"a/b/c/d/e/node_modules/x", "a/b/c/d/e/f/node_modules/x"},
            QStringList{"a/b/c/d/e/node_modules"});
        row("bundles are not entered", QStringList{"Tool.app/Contents/build/x"}, QStringList{});
        row("tool homes",
            QStringList{".gradle/caches/build/x", ".cache/pip/x", ".cargo/registry/target/x", "go/bin/x"},
            QStringList{});
        row("a project's own .gradle and .cache", QStringList{"app/.gradle/x", "app/.cache/x"},
            QStringList{"app/.cache", "app/.gradle"});
        row("shared folders named like artefacts",
            QStringList{"bin/tool", ".local/bin/t", "Documents/app/bin/x"}, QStringList{"Documents/app/bin"});
    }
    void matching()
    {
        const auto [files, found] = fetch<QStringList, QStringList>("files", "found");
        for (const QString& path : files)
            file(m_root + "/" + path, 10);
        LocalPurgePreview::Options options;
        options.home = m_root;
        QStringList paths = relative(
            m_root, LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options).entries);
        paths.sort();
        QCOMPARE(paths, found);
    }

    // Whose artefact a folder is: the nearest project file beside it or above it within the scan,
    // unless its name alone tells; with none around it, it is not chosen by default.
    void ecosystemFromProjectFiles_data()
    {
        columns<QStringList, QString, PurgeEcosystem, QString>("files", "artefact", "ecosystem",
                                                               "projectFile");
        using E = PurgeEcosystem;
        row("Maven target", QStringList{"svc/pom.xml", "svc/target/x"}, "svc/target", E::jvm, "pom.xml");
        row("Rust target", QStringList{"cli/Cargo.toml", "cli/target/x"}, "cli/target", E::systems,
            "Cargo.toml");
        row("workspace member: the project file above", QStringList{"ws/Cargo.toml", "ws/crates/a/target/x"},
            "ws/crates/a/target", E::systems, "Cargo.toml");
        row("the nearest project wins",
            QStringList{"app/package.json", "app/android/build.gradle", "app/android/build/x"},
            "app/android/build", E::android, "build.gradle");
        row("Rust before Node in one folder",
            QStringList{"desk/package.json", "desk/Cargo.toml", "desk/target/x"}, "desk/target", E::systems,
            "Cargo.toml");
        row("Xcode project folder", QStringList{"ios/App.xcodeproj/project.pbxproj", "ios/build/x"},
            "ios/build", E::apple, "App.xcodeproj");
        row("a telling name keeps its group", QStringList{"lib/pom.xml", "lib/node_modules/x"},
            "lib/node_modules", E::javaScript, "pom.xml");
        row("no project file", QStringList{"loose/target/x"}, "loose/target", E::other, QString());
        row("not above the scanned folder", QStringList{"../pom.xml", "inner/target/x"}, "inner/target",
            E::other, QString());
    }
    void ecosystemFromProjectFiles()
    {
        const auto [files, artefact, ecosystem, projectFile] =
            fetch<QStringList, QString, PurgeEcosystem, QString>("files", "artefact", "ecosystem",
                                                                 "projectFile");
        for (const QString& path : files)
            file(m_root + "/" + path, 10);
        const PurgePreviewReport report = LocalPurgePreview::snapshot(m_root);
        QCOMPARE(relative(m_root, report.entries), QStringList{artefact});
        const PurgePreviewReport::Entry& entry = report.entries.front();
        QCOMPARE(entry.ecosystem, ecosystem);
        QCOMPARE(entry.projectFile, projectFile);
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
        QCOMPARE(*first.detailText(), QString("2 files / 1 folder"));
        // Equal sizes: natural order of the paths, proj2 before proj10.
        QVERIFY(report.entries[1].path.contains("/proj2/") && report.entries[2].path.contains("/proj10/"));
        QCOMPARE(report.totalBytes(), first.byteCount + 2 * report.entries[1].byteCount);
        QCOMPARE(PurgeEcosystems::of(first.target), PurgeEcosystem::javaScript);
        QCOMPARE(PurgeEcosystems::of("Build"), PurgeEcosystem::other);
    }

    // A huge artefact is measured up to the cap; a cancelled search finds nothing.
    void capAndCancel()
    {
        manyFiles(m_root + "/web/node_modules", 150, 0, 10);
        LocalPurgePreview::Options options;
        options.measureCap = 100;
        const auto report = LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options);
        QCOMPARE(*report.entries.front().fileCount + *report.entries.front().directoryCount, qint64(100));
        const std::atomic_bool cancelled = true;
        options.cancelled = &cancelled;
        QVERIFY(
            LocalPurgePreview::snapshot(m_root, LocalPurgePreview::defaultMaxDepth, options).entries.empty());
    }

    void naturalOrder_data()
    {
        columns<QString, QString>("a", "b");
        row("digits by value", "proj2", "proj10");
        row("case ignored", "alpha", "Beta");
        row("longer after a prefix, whatever the case", "app", "APP2");
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
