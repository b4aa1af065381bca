// The Storage Analysis and Project Cleanup pages as a person uses them: the real views over a real
// controller on a synthetic home, drawn offscreen in both languages. Any QML warning fails the test.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "WindowTestSupport.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"
#include "vocabulary/SizeText.h"

#include <QDateTime>
#include <QFileInfo>
#include <QQmlComponent>
#include <QRectF>
#include <QScopeGuard>
#include <QSemaphore>
#include <QStandardPaths>
#include <QThreadPool>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>

namespace {

// What the analysed folder holds: its direct children, a few levels deep, with sizes far enough apart
// that their order is plain. A hidden folder is not analysed.
const struct {
    const char* path;
    qint64 size;
} libraryFiles[] = {
    {"Library/Caches/com.example.big/blob.bin", 3'000'000},
    {"Library/Caches/com.example.small/parts.bin", 200'000},
    {"Library/Application Support/Editor/index.db", 1'500'000},
    {"Library/Application Support/Editor/state.json", 40'000},
    {"Library/Mail/V10/inbox.mbox", 900'000},
    {"Library/Logs/app.log", 120'000},
    {"Library/Preferences/com.example.plist", 4'000},
    {"Library/archive.zip", 700'000},
    {"Library/notes.txt", 0},
    {"Library/.hidden/secret.bin", 5'000'000},
};

// Projects with build output and dependencies of three ecosystems.
const struct {
    const char* path;
    qint64 size;
} projectFiles[] = {
    {"Projects/web/package.json", 300},
    {"Projects/web/node_modules/left-pad/index.js", 300'000},
    {"Projects/web/node_modules/react/index.js", 500'000},
    {"Projects/rusty/Cargo.toml", 200},
    {"Projects/rusty/target/debug/rusty", 1'200'000},
    {"Projects/py/main.py", 100},
    {"Projects/py/.venv/lib/site.py", 400'000},
};

QString tagOf(AppLanguagePreference language)
{
    return language == AppLanguagePreference::chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

// Where the sandbox's Trash keeps moved items (the test harness points XDG_DATA_HOME at it).
QString trashedItem(const QString& name)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Trash/files/") + name;
}

} // namespace

class TestWindowAnalysis : public WindowTestCase {
    Q_OBJECT

    QString library() const { return homePath(QStringLiteral("Library")); }

    void analyze(const QString& path)
    {
        model().analyzePath(path);
        waitForTheRun();
        QVERIFY(model().analysisReport().has_value());
        QCOMPARE(model().analysisReport()->path.value_or(QString()), path);
    }

    // The reports as the pages read them.
    QVariantMap analysis() { return model().analysisReportValue().toMap(); }
    QVariantMap projects() { return model().purgePreviewReportValue().toMap(); }

    QList<QQuickItem*> analysisRows() { return shown(QStringLiteral("analysisRow")); }

    QQuickItem* rowNamed(const QString& rowName, const QString& name)
    {
        for (QQuickItem* row : shown(rowName))
            if (row->property("name").toString() == name)
                return row;
        return nullptr;
    }

    // The menu's shown entries are laid out one under the other, as a person sees them before clicking.
    bool menuIsLaidOut() const
    {
        QList<QQuickItem*> entries;
        for (const char* name : {"actionAnalyze", "actionReveal", "actionTrash"})
            entries += shown(QLatin1String(name));
        for (qsizetype i = 1; i < entries.size(); ++i) {
            const qreal previousBottom = entries[i - 1]->mapToScene(QPointF(0, entries[i - 1]->height())).y();
            if (entries[i]->mapToScene(QPointF()).y() < previousBottom - 0.5)
                return false;
        }
        return !entries.isEmpty();
    }

    // Opens a row's actions with its dots button; the shown menu entry of that name, or none.
    QQuickItem* actionOf(QQuickItem* row, const QString& action)
    {
        if (!row)
            return nullptr;
        click(findItem(row, QStringLiteral("rowActionsButton")));
        if (!QTest::qWaitFor([&] { return popupOpen(QStringLiteral("itemActionsMenu")) && menuIsLaidOut(); }))
            return nullptr;
        return shown(action).value(0);
    }

    void closeMenu()
    {
        if (popupOpen(QStringLiteral("itemActionsMenu")))
            QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!popupOpen(QStringLiteral("itemActionsMenu")));
    }

    // The rows must be the report's list, in its order, with its names, paths and sizes.
    void verifyRowsShow(const QList<QQuickItem*>& rows, const QVariantList& entries)
    {
        QCOMPARE(rows.size(), entries.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QVariantMap entry = entries[i].toMap();
            QCOMPARE(textIn(rows[i], QStringLiteral("rowName")), entry["name"].toString());
            QCOMPARE(textIn(rows[i], QStringLiteral("rowPath")), entry["path"].toString());
            const qint64 size =
                entry.contains("size") ? entry["size"].toLongLong() : entry["byteCount"].toLongLong();
            QCOMPARE(textIn(rows[i], QStringLiteral("rowSize")), SizeText::bytes(size));
        }
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>(AppLanguagePreference::english);
        for (const auto& file : libraryFiles)
            SyntheticHome::file(homePath(QLatin1String(file.path)), file.size);
        SyntheticHome::folder(homePath(QStringLiteral("Library/Empty")));
        for (const auto& file : projectFiles)
            SyntheticHome::file(homePath(QLatin1String(file.path)), file.size);
        openWindow();
    }

    void cleanup() { verifyNoWarnings(); }

    void cleanupTestCase()
    {
        closeWindow();
        m_model.reset();
        m_fixture.reset();
    }

    // Storage Analysis

    void analysisPageInvitesAFirstAnalysis_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // run, choose, parent, last run, footnote, prompt
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{
                                   "Analyze",
                                   "Choose",
                                   "Go to Parent Folder",
                                   "Not analyzed yet",
                                   "Analysis only reads directory info and does not modify any files.",
                                   "Start with an analysis"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"开始分析",
                                           "选择",
                                           "返回上一级",
                                           "还没分析过",
                                           "分析只读取目录信息，不会改动任何文件。",
                                           "先分析一个位置"};
    }
    void analysisPageInvitesAFirstAnalysis()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        QVERIFY2(!model().analysisReport().has_value(), "an analysis ran before this test");
        useLanguage(language);
        showPage(AppFeature::analyze);

        QCOMPARE(model().analysisPath(), library());
        QCOMPARE(textIn(item(QStringLiteral("analysisPathField")), QStringLiteral("folderFieldPath")),
                 library());
        QCOMPARE(textOf(QStringLiteral("analysisRunButton")), texts[0]);
        QCOMPARE(textOf(QStringLiteral("analysisChooseButton")), texts[1]);
        QCOMPARE(textOf(QStringLiteral("analysisParentButton")), texts[2]);
        QCOMPARE(textOf(QStringLiteral("lastRunLine")), texts[3]);
        QCOMPARE(textOf(QStringLiteral("toolbarFootnote")), texts[4]);
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), texts[5]);
        QVERIFY(analysisRows().isEmpty());
        QVERIFY(shown(QStringLiteral("treemapTile")).isEmpty());
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
        const QStringList clipped = truncatedTexts();
        QVERIFY2(clipped.isEmpty(), qPrintable("clipped: " + clipped.join(" | ")));
    }

    void analysisListsChildrenLargeFilesAndTiles_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>(
            "texts"); // button, largest, large files, note, captions, last run parts
        QTest::newRow("en") << AppLanguagePreference::english << QStringList{"Reanalyze",
                                                                             "Largest space users",
                                                                             "Large Files",
                                                                             "Worth checking first",
                                                                             "Selected location",
                                                                             "Files",
                                                                             "In this scan",
                                                                             "Last analyzed ",
                                                                             " files"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"重新分析",     "占用靠前的项目", "大文件",
                                           "建议重点查看", "选中的位置",     "文件数量",
                                           "本次检查结果", "上次分析 ",      " 个文件"};
    }
    void analysisListsChildrenLargeFilesAndTiles()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        useLanguage(language);
        showPage(AppFeature::analyze);
        model().setAnalysisPath(library());
        click(item(QStringLiteral("analysisRunButton")));
        waitForTheRun();
        QVERIFY(model().analysisReport().has_value());
        const QVariantMap report = analysis();
        const QVariantList entries = report["entries"].toList();
        const QVariantList largeFiles = report["largeFiles"].toList();
        QVERIFY(entries.size() >= 8);

        // The children, largest first, each with a bar as long as its part of the whole.
        const QList<QQuickItem*> rows = analysisRows();
        verifyRowsShow(rows, entries);
        QCOMPARE(textIn(rows.constFirst(), QStringLiteral("rowName")), QStringLiteral("Caches"));
        QVERIFY(!rowNamed(QStringLiteral("analysisRow"), QStringLiteral(".hidden")));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QQuickItem* bar = findItem(rows[i], QStringLiteral("shareBar"));
            QVERIFY(bar && bar->isVisible());
            const double share = entries[i].toMap()["share"].toDouble();
            const double drawn = bar->property("fillWidth").toReal() / bar->width();
            QVERIFY2(qAbs(drawn - share) < 0.01 || (share < 0.05 && drawn <= 0.05),
                     qPrintable(QStringLiteral("%1: bar %2, share %3")
                                    .arg(entries[i].toMap()["name"].toString())
                                    .arg(drawn)
                                    .arg(share)));
        }
        QVERIFY(findItem(rows.constFirst(), QStringLiteral("shareBar"))->property("fillWidth").toReal() >
                findItem(rows.constLast(), QStringLiteral("shareBar"))->property("fillWidth").toReal());

        // The largest files below, without bars.
        const QList<QQuickItem*> fileRows = shown(QStringLiteral("largeFileRow"));
        verifyRowsShow(fileRows, largeFiles);
        QCOMPARE(textIn(fileRows.constFirst(), QStringLiteral("rowName")), QStringLiteral("blob.bin"));
        QVERIFY(!findItem(fileRows.constFirst(), QStringLiteral("shareBar"))->isVisible());

        // The summary and the headings.
        QCOMPARE(textIn(item(QStringLiteral("summaryLocation")), QStringLiteral("statCaption")), texts[4]);
        QCOMPARE(item(QStringLiteral("summaryLocation"))->property("value").toString(), library());
        QCOMPARE(textIn(item(QStringLiteral("summaryFiles")), QStringLiteral("statCaption")), texts[5]);
        QCOMPARE(item(QStringLiteral("summaryFiles"))->property("value").toString(),
                 QString::number(report["totalFiles"].toLongLong()));
        QCOMPARE(textIn(item(QStringLiteral("summarySize")), QStringLiteral("statCaption")), texts[6]);
        QCOMPARE(item(QStringLiteral("summarySize"))->property("value").toString(),
                 SizeText::bytes(report["totalSize"].toLongLong()));
        QCOMPARE(textIn(item(QStringLiteral("largestHeading")), QStringLiteral("sectionTitle")), texts[1]);
        QCOMPARE(textIn(item(QStringLiteral("largeFilesHeading")), QStringLiteral("sectionTitle")), texts[2]);
        QCOMPARE(textIn(item(QStringLiteral("largeFilesHeading")), QStringLiteral("sectionNote")), texts[3]);
        QCOMPARE(textOf(QStringLiteral("analysisRunButton")), texts[0]);
        const QString when = QDateTime::fromMSecsSinceEpoch(qint64(model().lastAnalysisDate() * 1000))
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        QCOMPARE(textOf(QStringLiteral("lastRunLine")),
                 texts[7] + when + QStringLiteral(" · ") + SizeText::bytes(model().lastAnalysisTotalSize()) +
                     QStringLiteral(" · ") + QString::number(model().lastAnalysisTotalFiles()) + texts[8]);
        QCOMPARE(model().lastAnalysisTotalSize(), report["totalSize"].toLongLong());

        scrollIntoView(item(QStringLiteral("resultsPanel")), true);
        photograph(tagOf(language) + QStringLiteral("-analyze-results"));
        // Only paths may be shortened, and they are shortened on purpose.
        for (const QString& clipped : truncatedTexts())
            QVERIFY2(clipped.startsWith(homePath(QString())), qPrintable("clipped: " + clipped));
    }

    void treemapTilesShareTheAreaBySize()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        QQuickItem* treemap = item(QStringLiteral("treemap"));
        QVERIFY(treemap && treemap->isVisible());
        const QList<QQuickItem*> tiles = shown(QStringLiteral("treemapTile"));
        qsizetype sized = 0;
        for (const QVariant& entry : analysis()["entries"].toList())
            sized += entry.toMap()["size"].toLongLong() > 0 ? 1 : 0;
        QCOMPARE(tiles.size(), sized); // the empty file and the empty folder take no room
        QVERIFY(sized >= 6);

        // Every tile lies inside the map, no two overlap, and each one's area is in proportion to its
        // size (a tile is drawn a pixel inside its cell on every side).
        const QRectF bounds(0, 0, treemap->width(), treemap->height());
        qreal totalArea = 0;
        qint64 totalSize = 0;
        QList<QRectF> cells;
        for (QQuickItem* tile : tiles) {
            const QRectF cell =
                QRectF(tile->x(), tile->y(), tile->width(), tile->height()).adjusted(-1, -1, 1, 1);
            QVERIFY2(bounds.adjusted(-0.5, -0.5, 0.5, 0.5).contains(cell),
                     qPrintable(tile->property("name").toString()));
            for (const QRectF& other : cells) {
                const QRectF overlap = cell.intersected(other);
                QVERIFY(overlap.isEmpty() || overlap.width() * overlap.height() < 1);
            }
            cells << cell;
            totalArea += cell.width() * cell.height();
            totalSize += tile->property("size").toLongLong();
        }
        QVERIFY(qAbs(totalArea - bounds.width() * bounds.height()) < 2);
        for (qsizetype i = 0; i < tiles.size(); ++i) {
            const double part = tiles[i]->property("size").toDouble() / double(totalSize);
            const double area = cells[i].width() * cells[i].height() / totalArea;
            QVERIFY2(qAbs(area - part) < 0.002, qPrintable(tiles[i]->property("name").toString()));
        }
        // Folders and files look different; the large tiles are labelled with their names and sizes.
        QQuickItem* caches = nullptr;
        QQuickItem* archive = nullptr;
        for (QQuickItem* tile : tiles) {
            if (tile->property("name").toString() == QStringLiteral("Caches"))
                caches = tile;
            if (tile->property("name").toString() == QStringLiteral("archive.zip"))
                archive = tile;
        }
        QVERIFY(caches && archive);
        QVERIFY(caches->property("color") != archive->property("color"));
        QCOMPARE(textIn(caches, QStringLiteral("tileName")), QStringLiteral("Caches"));
        QCOMPARE(textIn(caches, QStringLiteral("tileSize")),
                 SizeText::bytes(caches->property("size").toLongLong()));
    }

    void treemapLayoutKeepsAreasInProportion_data()
    {
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::newRow("one") << QVariantList{42} << 300.0 << 200.0;
        QTest::newRow("equal, wide") << QVariantList{5, 5, 5, 5, 5, 5, 5} << 800.0 << 120.0;
        QTest::newRow("equal, tall") << QVariantList{5, 5, 5, 5, 5} << 90.0 << 600.0;
        QTest::newRow("skewed") << QVariantList{1e9, 4e6, 3e6, 1e5, 10, 1} << 830.0 << 220.0;
        QTest::newRow("falling") << QVariantList{60, 30, 25, 20, 12, 9, 6, 3, 2, 1} << 600.0 << 400.0;
    }
    void treemapLayoutKeepsAreasInProportion()
    {
        QFETCH(QVariantList, values);
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        QQmlComponent maker(m_engine.get(), QUrl(QStringLiteral("qrc:/qml/components/TreemapLayout.qml")));
        std::unique_ptr<QObject> layout(maker.create());
        QVERIFY2(layout, qPrintable(maker.errorString()));
        QVariant result;
        QVERIFY(QMetaObject::invokeMethod(layout.get(), "squarify", Q_RETURN_ARG(QVariant, result),
                                          Q_ARG(QVariant, QVariant(values)), Q_ARG(QVariant, width),
                                          Q_ARG(QVariant, height)));
        const QVariantList tiles = result.toList();
        QCOMPARE(tiles.size(), values.size());

        double total = 0;
        for (const QVariant& value : values)
            total += value.toDouble();
        const QRectF bounds(0, 0, width, height);
        QList<QRectF> placed;
        for (qsizetype i = 0; i < tiles.size(); ++i) {
            const QVariantMap tile = tiles[i].toMap();
            const QRectF rect(tile["x"].toDouble(), tile["y"].toDouble(), tile["width"].toDouble(),
                              tile["height"].toDouble());
            QVERIFY2(bounds.adjusted(-0.01, -0.01, 0.01, 0.01).contains(rect),
                     qPrintable(QString::number(i)));
            const double expected = values[i].toDouble() / total * width * height;
            QVERIFY2(qAbs(rect.width() * rect.height() - expected) <= 0.001 * width * height,
                     qPrintable(QString::number(i)));
            for (const QRectF& other : placed) {
                const QRectF overlap = rect.intersected(other);
                QVERIFY(overlap.isEmpty() || overlap.width() * overlap.height() < 0.01);
            }
            placed << rect;
        }
        // Squarified: with equal values no tile is much longer than it is wide.
        bool allEqual = true;
        for (const QVariant& value : values)
            allEqual = allEqual && value == values.constFirst();
        if (allEqual && values.size() > 1)
            for (const QRectF& rect : placed)
                QVERIFY(std::max(rect.width() / rect.height(), rect.height() / rect.width()) < 3);
    }

    void clickingAFolderTileAnalysesIt()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        QQuickItem* mail = nullptr;
        QQuickItem* archive = nullptr;
        for (QQuickItem* tile : shown(QStringLiteral("treemapTile"))) {
            if (tile->property("name").toString() == QStringLiteral("Mail"))
                mail = tile;
            if (tile->property("name").toString() == QStringLiteral("archive.zip"))
                archive = tile;
        }
        QVERIFY(mail && archive);
        click(archive); // a file cannot be entered
        QVERIFY(!model().isRunning());
        QCOMPARE(model().analysisPath(), library());

        click(mail);
        waitForTheRun();
        QCOMPARE(model().analysisPath(), homePath(QStringLiteral("Library/Mail")));
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QCOMPARE(textIn(analysisRows().constFirst(), QStringLiteral("rowName")), QStringLiteral("V10"));
    }

    void analyzeThisFolderGoesInAndParentComesBack_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // analyze, reveal, trash
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{"Analyze This Folder", "Reveal in Finder", "Move to Trash"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"进入这个目录继续分析", "在访达中显示", "移到废纸篓"};
    }
    void analyzeThisFolderGoesInAndParentComesBack()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        useLanguage(language);
        showPage(AppFeature::analyze);
        analyze(library());

        // A file offers no way in.
        QVERIFY(actionOf(rowNamed(QStringLiteral("analysisRow"), QStringLiteral("archive.zip")),
                         QStringLiteral("actionReveal")));
        QVERIFY(shown(QStringLiteral("actionAnalyze")).isEmpty());
        closeMenu();

        QQuickItem* enter = actionOf(rowNamed(QStringLiteral("analysisRow"), QStringLiteral("Caches")),
                                     QStringLiteral("actionAnalyze"));
        QVERIFY(enter);
        QCOMPARE(enter->property("text").toString(), texts[0]);
        QCOMPARE(shown(QStringLiteral("actionReveal")).constFirst()->property("text").toString(), texts[1]);
        QCOMPARE(shown(QStringLiteral("actionTrash")).constFirst()->property("text").toString(), texts[2]);
        click(enter);
        waitForTheRun();
        QVERIFY(!popupOpen(QStringLiteral("itemActionsMenu")));
        QCOMPARE(model().analysisPath(), homePath(QStringLiteral("Library/Caches")));
        QCOMPARE(item(QStringLiteral("analysisPathField"))->property("path").toString(),
                 model().analysisPath());
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QStringList names;
        for (QQuickItem* row : analysisRows())
            names << row->property("name").toString();
        QCOMPARE(names, (QStringList{"com.example.big", "com.example.small"}));

        click(item(QStringLiteral("analysisParentButton")));
        waitForTheRun();
        QCOMPARE(model().analysisPath(), library());
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QVERIFY(rowNamed(QStringLiteral("analysisRow"), QStringLiteral("Caches")));
    }

    void movingAnAnalysedItemToTheTrashAsksFirst_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QStringList>("texts"); // title, cancel, confirm, message head
        QTest::newRow("en") << AppLanguagePreference::english << "analysisRow"
                            << "archive.zip"
                            << "Library/archive.zip"
                            << QStringList{"Move to Trash?", "Cancel", "Move to Trash",
                                           "\"archive.zip\" in \"Library\""};
        QTest::newRow("zh") << AppLanguagePreference::chinese << "largeFileRow"
                            << "index.db"
                            << "Library/Application Support/Editor/index.db"
                            << QStringList{"移到废纸篓？", "取消", "移到废纸篓", "“Editor”里的“index.db”"};
    }
    void movingAnAnalysedItemToTheTrashAsksFirst()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, list);
        QFETCH(QString, name);
        QFETCH(QString, relative);
        QFETCH(QStringList, texts);
        const QString path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        useLanguage(language);
        showPage(AppFeature::analyze);
        analyze(library());

        // Escape and Cancel leave the item where it is.
        QQuickItem* trash = actionOf(rowNamed(list, name), QStringLiteral("actionTrash"));
        QVERIFY(trash);
        click(trash);
        QTRY_VERIFY(popupOpen(QStringLiteral("trashDialog")));
        QTest::keyClick(m_window, Qt::Key_Escape);
        QTRY_VERIFY(!popupOpen(QStringLiteral("trashDialog")));
        QVERIFY(SyntheticHome::exists(path));

        click(actionOf(rowNamed(list, name), QStringLiteral("actionTrash")));
        QTRY_VERIFY(popupOpen(QStringLiteral("trashDialog")));
        QObject* dialog = object(QStringLiteral("trashDialog"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertTitle"))->property("text").toString(),
                 texts[0]);
        const QString message =
            dialog->findChild<QObject*>(QStringLiteral("alertMessage"))->property("text").toString();
        QVERIFY2(message.startsWith(texts[3]), qPrintable(message));
        QCOMPARE(textOf(QStringLiteral("trashCancelButton")), texts[1]);
        QCOMPARE(textOf(QStringLiteral("trashConfirmButton")), texts[2]);
        click(item(QStringLiteral("trashCancelButton")));
        QTRY_VERIFY(!popupOpen(QStringLiteral("trashDialog")));
        QVERIFY(SyntheticHome::exists(path));

        // Confirming moves it to the Trash, and it leaves the lists.
        click(actionOf(rowNamed(list, name), QStringLiteral("actionTrash")));
        QTRY_VERIFY(popupOpen(QStringLiteral("trashDialog")));
        photograph(tagOf(language) + QStringLiteral("-analyze-confirm"));
        QVERIFY(SyntheticHome::exists(path));
        click(item(QStringLiteral("trashConfirmButton")));
        QTRY_VERIFY(!popupOpen(QStringLiteral("trashDialog")));
        QVERIFY(!model().alertMessage().has_value());
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QVERIFY(QFileInfo::exists(trashedItem(name)));
        QVERIFY(!rowNamed(QStringLiteral("analysisRow"), name));
        QVERIFY(!rowNamed(QStringLiteral("largeFileRow"), name));
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
    }

    void analysisOfAnEmptyOrMissingFolderShowsTheEmptyState_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::newRow("en empty") << AppLanguagePreference::english << "Library/Empty"
                                  << "Nothing to show here"
                                  << "This folder is empty, missing or cannot be read. Try another location.";
        QTest::newRow("zh missing") << AppLanguagePreference::chinese << "Library/Gone"
                                    << "这里没有可显示的内容"
                                    << "这个文件夹是空的，或者不存在、无法读取。换一个位置再试试。";
    }
    void analysisOfAnEmptyOrMissingFolderShowsTheEmptyState()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, folder);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        useLanguage(language);
        showPage(AppFeature::analyze);
        analyze(homePath(folder));

        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), title);
        QCOMPARE(textOf(QStringLiteral("noticeDetail")), detail);
        QVERIFY(analysisRows().isEmpty());
        QVERIFY(shown(QStringLiteral("largeFileRow")).isEmpty());
        QVERIFY(shown(QStringLiteral("treemapTile")).isEmpty());
        QVERIFY(!item(QStringLiteral("summaryFiles"))->isVisible());
        analyze(library());
    }

    void rowsAndTilesWithoutANameReadUntitled()
    {
        for (const char* component : {"AnalysisEntryRow", "PurgeEntryRow", "TreemapTile"}) {
            QQmlComponent maker(
                m_engine.get(),
                QUrl(QStringLiteral("qrc:/qml/components/%1.qml").arg(QLatin1String(component))));
            std::unique_ptr<QObject> made(
                maker.createWithInitialProperties({{QStringLiteral("name"), QString()},
                                                   {QStringLiteral("width"), 600},
                                                   {QStringLiteral("height"), 80}}));
            QVERIFY2(made, qPrintable(maker.errorString()));
            auto* row = qobject_cast<QQuickItem*>(made.get());
            const QString label =
                QLatin1String(component) == QLatin1String("TreemapTile") ? "tileName" : "rowName";
            QCOMPARE(textIn(row, label), QStringLiteral("Untitled"));
            useLanguage(AppLanguagePreference::chinese);
            QCOMPARE(textIn(row, label), QStringLiteral("未命名"));
            useLanguage(AppLanguagePreference::english);
        }
    }

    void chooseOpensTheFolderChooserWithoutAnalysing()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        const QString support = homePath(QStringLiteral("Library/Application Support"));
        model().setAnalysisPath(support);
        QObject* chooser = object(QStringLiteral("analysisFolderChooser"));
        QVERIFY(chooser);
        QVERIFY(!chooser->property("visible").toBool());
        click(item(QStringLiteral("analysisChooseButton")));
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("acceptLabel").toString(), QStringLiteral("Choose"));
        QCOMPARE(chooser->property("currentFolder").toUrl(), QUrl::fromLocalFile(support)); // with its space
        QMetaObject::invokeMethod(chooser, "reject");
        QVERIFY(!chooser->property("visible").toBool());

        const QString mail = homePath(QStringLiteral("Library/Mail"));
        chooser->setProperty("selectedFolder", QUrl::fromLocalFile(mail));
        QMetaObject::invokeMethod(chooser, "accepted");
        QCOMPARE(model().analysisPath(), mail);
        QCOMPARE(item(QStringLiteral("analysisPathField"))->property("path").toString(), mail);
        QVERIFY(!model().isRunning());
        QCOMPARE(model().analysisReport()->path.value_or(QString()), library()); // not analysed yet
        model().setAnalysisPath(library());
    }

    void cancellingAnAnalysisKeepsTheLastReport()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        const AnalysisReport previous = *model().analysisReport();
        const qsizetype rowCount = analysisRows().size();

        std::function<void()> releaseWorkers = blockWorkers();
        const auto released = qScopeGuard([&] {
            if (releaseWorkers)
                releaseWorkers();
        });
        QMetaObject::invokeMethod(item(QStringLiteral("analysisRunButton")), "clicked");
        QVERIFY(model().isRunning());
        QVERIFY(item(QStringLiteral("runProgress"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("runProgressTitle")), QStringLiteral("Working, please wait."));
        for (const char* button : {"analysisRunButton", "analysisChooseButton", "analysisParentButton"})
            QVERIFY2(!item(QLatin1String(button))->isEnabled(), button);
        QQuickItem* cancel = item(QStringLiteral("runCancelButton"));
        QVERIFY(cancel->isVisible());
        QCOMPARE(cancel->property("text").toString(), QStringLiteral("Cancel"));
        QMetaObject::invokeMethod(cancel, "clicked");
        std::exchange(releaseWorkers, nullptr)();
        waitForTheRun();
        QVERIFY(model().analysisReport() == previous);
        QCOMPARE(analysisRows().size(), rowCount);
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
        QVERIFY(item(QStringLiteral("analysisRunButton"))->isEnabled());
    }

    // Project Cleanup

    void purgePageInvitesAFirstScan_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // preview, choose, last run, footnote, prompt
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{"Preview", "Choose Folder", "Not cleaned yet",
                                           "Preview will not change your Mac. Confirm scope first.",
                                           "Start with a preview"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"预览", "选择文件夹", "还没瘦身过",
                                           "预览不会改动电脑，先确认范围再处理。", "先运行一次预览"};
    }
    void purgePageInvitesAFirstScan()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        QVERIFY2(!model().purgePreviewReport().has_value(), "a scan ran before this test");
        useLanguage(language);
        showPage(AppFeature::purge);

        QCOMPARE(model().scanPath(), m_fixture->home);
        QCOMPARE(textIn(item(QStringLiteral("scanPathField")), QStringLiteral("folderFieldPath")),
                 m_fixture->home);
        QCOMPARE(textOf(QStringLiteral("purgePreviewButton")), texts[0]);
        QCOMPARE(textOf(QStringLiteral("purgeChooseButton")), texts[1]);
        QCOMPARE(textOf(QStringLiteral("lastRunLine")), texts[2]);
        QCOMPARE(textOf(QStringLiteral("toolbarFootnote")), texts[3]);
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), texts[4]);
        QVERIFY(shown(QStringLiteral("purgeRow")).isEmpty());
        const QStringList clipped = truncatedTexts();
        QVERIFY2(clipped.isEmpty(), qPrintable("clipped: " + clipped.join(" | ")));
    }

    void scanListsArtefactsByEcosystem_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // button, summary middle
        QTest::newRow("en") << AppLanguagePreference::english << QStringList{"Rescan", " items, total "};
        QTest::newRow("zh") << AppLanguagePreference::chinese << QStringList{"重新扫描", " 项，合计 "};
    }
    void scanListsArtefactsByEcosystem()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        useLanguage(language);
        showPage(AppFeature::purge);
        click(item(QStringLiteral("purgePreviewButton")));
        waitForTheRun();
        QVERIFY(model().purgePreviewReport().has_value());
        const QVariantMap report = projects();
        const QVariantList groups = report["groups"].toList();

        // One group per ecosystem found, in the report's order, each with its rows.
        const QList<QQuickItem*> shownGroups = shown(QStringLiteral("purgeGroup"));
        QCOMPARE(shownGroups.size(), groups.size());
        QStringList titles;
        for (qsizetype i = 0; i < groups.size(); ++i) {
            const QVariantMap group = groups[i].toMap();
            titles << group["title"].toString();
            QCOMPARE(textIn(shownGroups[i], QStringLiteral("sectionTitle")), group["title"].toString());
            QCOMPARE(textIn(shownGroups[i], QStringLiteral("sectionFigure")),
                     SizeText::bytes(group["totalBytes"].toLongLong()));
            const QVariantList entries = group["entries"].toList();
            const QList<QQuickItem*> rows =
                itemsUnder(shownGroups[i], named(QStringLiteral("purgeRow")), true);
            verifyRowsShow(rows, entries);
            for (qsizetype j = 0; j < rows.size(); ++j)
                QCOMPARE(textIn(rows[j], QStringLiteral("rowDetail")),
                         entries[j].toMap()["detailText"].toString());
        }
        QCOMPARE(titles, (QStringList{"JavaScript / Node", "Python", "Rust / Go / Zig"}));
        QCOMPARE(shown(QStringLiteral("purgeRow")).size(), 3);
        QQuickItem* nodeModules = rowNamed(QStringLiteral("purgeRow"), QStringLiteral("node_modules"));
        QVERIFY(nodeModules);
        QCOMPARE(nodeModules->property("path").toString(),
                 homePath(QStringLiteral("Projects/web/node_modules")));
        QVERIFY(!textIn(nodeModules, QStringLiteral("rowDetail")).isEmpty());

        QCOMPARE(textOf(QStringLiteral("resultsSummaryLine")),
                 QString::number(report["entryCount"].toInt()) + texts[1] +
                     SizeText::bytes(report["totalBytes"].toLongLong()));
        QCOMPARE(textOf(QStringLiteral("purgePreviewButton")), texts[0]);
        QVERIFY(!item(QStringLiteral("resultsNotice"))->isVisible());

        scrollIntoView(item(QStringLiteral("resultsPanel")), true);
        photograph(tagOf(language) + QStringLiteral("-purge-results"));
        for (const QString& clipped : truncatedTexts())
            QVERIFY2(clipped.startsWith(homePath(QString())), qPrintable("clipped: " + clipped));
    }

    void movingAnArtefactToTheTrashAsksFirst_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QStringList>("texts"); // title, confirm, message head, last run middle, mark
        QTest::newRow("en") << AppLanguagePreference::english << "node_modules"
                            << "Projects/web/node_modules"
                            << QStringList{"Move to Trash?", "Move to Trash", "\"node_modules\" in \"web\"",
                                           " items · freed ", "Moved to Trash"};
        QTest::newRow("zh") << AppLanguagePreference::chinese << ".venv"
                            << "Projects/py/.venv"
                            << QStringList{"移到废纸篓？", "移到废纸篓", "“py”里的“.venv”", " 项 · 释放 ",
                                           "已移到废纸篓"};
    }
    void movingAnArtefactToTheTrashAsksFirst()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, name);
        QFETCH(QString, relative);
        QFETCH(QStringList, texts);
        const QString path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        useLanguage(language);
        showPage(AppFeature::purge);
        click(item(QStringLiteral("purgePreviewButton")));
        waitForTheRun();
        const qint64 countBefore = model().lastPurgeCleanedCount();
        const qint64 bytesBefore = model().lastPurgeCleanedBytes();
        QQuickItem* row = rowNamed(QStringLiteral("purgeRow"), name);
        QVERIFY(row);
        const qint64 size = row->property("byteCount").toLongLong();

        QVERIFY(actionOf(row, QStringLiteral("actionTrash")));
        QVERIFY(shown(QStringLiteral("actionAnalyze")).isEmpty());
        QVERIFY(!shown(QStringLiteral("actionReveal")).isEmpty());
        click(shown(QStringLiteral("actionTrash")).constFirst());
        QTRY_VERIFY(popupOpen(QStringLiteral("trashDialog")));
        QObject* dialog = object(QStringLiteral("trashDialog"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertTitle"))->property("text").toString(),
                 texts[0]);
        const QString message =
            dialog->findChild<QObject*>(QStringLiteral("alertMessage"))->property("text").toString();
        QVERIFY2(message.startsWith(texts[2]), qPrintable(message));
        QCOMPARE(textOf(QStringLiteral("trashConfirmButton")), texts[1]);
        photograph(tagOf(language) + QStringLiteral("-purge-confirm"));
        QVERIFY(SyntheticHome::exists(path));

        click(item(QStringLiteral("trashConfirmButton")));
        QTRY_VERIFY(!popupOpen(QStringLiteral("trashDialog")));
        QVERIFY(!model().alertMessage().has_value());
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QVERIFY(QFileInfo(trashedItem(name)).isDir());
        QCOMPARE(model().lastPurgeCleanedCount(), countBefore + 1);
        QCOMPARE(model().lastPurgeCleanedBytes(), bytesBefore + size);
        QCOMPARE(textOf(QStringLiteral("lastRunLine")),
                 QString::number(countBefore + 1) + texts[3] + SizeText::bytes(bytesBefore + size));

        // The row stays, marked as gone, and offers nothing more.
        row = rowNamed(QStringLiteral("purgeRow"), name);
        QVERIFY(row);
        QVERIFY(row->property("trashed").toBool());
        QCOMPARE(textIn(row, QStringLiteral("rowTrashedMark")), texts[4]);
        QVERIFY(!findItem(row, QStringLiteral("rowActionsButton"))->isEnabled());
        for (QQuickItem* other : shown(QStringLiteral("purgeRow")))
            if (other != row && SyntheticHome::exists(other->property("path").toString()))
                QVERIFY(!other->property("trashed").toBool());
    }

    void chosenScopeWithoutProjectsShowsTheEmptyState_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::newRow("en") << AppLanguagePreference::english << "No obvious cleanup targets in this scope"
                            << "Try another project folder.";
        QTest::newRow("zh") << AppLanguagePreference::chinese << "当前范围里没有明显可整理的项目产物"
                            << "换一个项目目录再试试。";
    }
    void chosenScopeWithoutProjectsShowsTheEmptyState()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        useLanguage(language);
        showPage(AppFeature::purge);
        const auto restore = qScopeGuard([&] { model().setScanPath(m_fixture->home); });

        QObject* chooser = object(QStringLiteral("scanFolderChooser"));
        QVERIFY(chooser);
        click(item(QStringLiteral("purgeChooseButton")));
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("currentFolder").toUrl(), QUrl::fromLocalFile(model().scanPath()));
        chooser->setProperty("selectedFolder", QUrl::fromLocalFile(library()));
        QMetaObject::invokeMethod(chooser, "accepted");
        QCOMPARE(model().scanPath(), library());
        QCOMPARE(item(QStringLiteral("scanPathField"))->property("path").toString(), library());
        QVERIFY(!model().purgePreviewReport().has_value()); // a new scope clears the last scan
        QVERIFY(shown(QStringLiteral("purgeRow")).isEmpty());

        click(item(QStringLiteral("purgePreviewButton")));
        waitForTheRun();
        QVERIFY(model().purgePreviewReport().has_value());
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), title);
        QCOMPARE(textOf(QStringLiteral("noticeDetail")), detail);
        QVERIFY(!item(QStringLiteral("resultsSummaryLine"))->isVisible());
        QVERIFY(shown(QStringLiteral("purgeRow")).isEmpty());
    }

    void narrowWindowShortensOnlyPaths_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("feature");
        for (AppLanguagePreference language :
             {AppLanguagePreference::english, AppLanguagePreference::chinese})
            for (const char* feature : {"analyze", "purge"})
                QTest::addRow("%s %s", qPrintable(tagOf(language)), feature)
                    << language << QString::fromLatin1(feature);
    }
    void narrowWindowShortensOnlyPaths()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, feature);
        useLanguage(language);
        showPage(AppFeatures::fromRawValue(feature).value());
        if (feature == QStringLiteral("analyze"))
            analyze(library());
        else {
            model().setScanPath(m_fixture->home);
            model().request(AppActionFactory::purge(true));
            waitForTheRun();
        }
        const QSize size = m_window->size();
        const auto restore = qScopeGuard([&] { m_window->resize(size); });
        m_window->resize(m_window->minimumSize());
        QTRY_COMPARE(m_window->size(), m_window->minimumSize());
        // Once the narrower page is laid out, it ends at the window's right edge.
        QTRY_COMPARE(currentPage()->mapToScene(QPointF(currentPage()->width(), 0)).x(),
                     qreal(m_window->width()));

        // Paths are shortened in the middle on purpose, and a treemap tile's name ends where the tile
        // does; any other text cut short once the rows are laid out at the new width is a fault.
        const auto wronglyClipped = [this] {
            QStringList mayShorten;
            for (QQuickItem* tile : shown(QStringLiteral("treemapTile")))
                mayShorten << tile->property("name").toString();
            QStringList clipped = truncatedTexts();
            clipped.removeIf([&](const QString& text) {
                return text.startsWith(homePath(QString())) || mayShorten.contains(text);
            });
            return clipped;
        };
        QQuickItem* page = currentPage();
        const qreal end = std::max(0.0, page->property("contentHeight").toReal() - page->height());
        for (qreal y = 0; y <= end + page->height() / 2; y += page->height() / 2) {
            page->setProperty("contentY", std::min(y, end));
            QTRY_VERIFY2(wronglyClipped().isEmpty(), qPrintable("clipped: " + wronglyClipped().join(" | ")));
        }
        page->setProperty("contentY", 0);
    }

    void cancellingAScanKeepsTheLastReport()
    {
        showPage(AppFeature::purge);
        model().setScanPath(m_fixture->home);
        click(item(QStringLiteral("purgePreviewButton")));
        waitForTheRun();
        QVERIFY(model().purgePreviewReport().has_value());
        const PurgePreviewReport previous = *model().purgePreviewReport();

        std::function<void()> releaseWorkers = blockWorkers();
        const auto released = qScopeGuard([&] {
            if (releaseWorkers)
                releaseWorkers();
        });
        QMetaObject::invokeMethod(item(QStringLiteral("purgePreviewButton")), "clicked");
        QVERIFY(model().isRunning());
        QVERIFY(item(QStringLiteral("runProgress"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("runProgressTitle")),
                 QStringLiteral("Scanning the project folder, please wait."));
        QVERIFY(!item(QStringLiteral("purgeChooseButton"))->isEnabled());
        QQuickItem* cancel = item(QStringLiteral("runCancelButton"));
        QVERIFY(cancel->isVisible());
        QMetaObject::invokeMethod(cancel, "clicked");
        std::exchange(releaseWorkers, nullptr)();
        waitForTheRun();
        QVERIFY(model().purgePreviewReport() == previous);
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
    }
};

KELVO_REGISTER_TEST(TestWindowAnalysis)
#include "tst_WindowAnalysis.moc"
