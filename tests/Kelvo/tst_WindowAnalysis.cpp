// The Storage Analysis and Project Cleanup pages as a person uses them: the real views over a real
// controller on a synthetic home, drawn offscreen in both languages. Any QML warning fails the test.
#include "TestMain.h"

#include "WindowTestSupport.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QDateTime>
#include <QFileInfo>
#include <QQmlComponent>
#include <QRectF>
#include <QScopeGuard>
#include <QUrl>

#include <memory>

namespace {
using enum AppLanguagePreference;
using TestSupport::row;
} // namespace

class TestWindowAnalysis : public WindowTestCase {
    Q_OBJECT

    QString library() const { return homePath("Library"); }

    void analyze(const QString& path)
    {
        model().analysis()->analyze(path);
        waitForTheRun();
        QVERIFY(model().analysis()->report().has_value());
        QCOMPARE(model().analysis()->report()->path.value_or(QString()), path);
    }

    // The reports as the pages read them.
    QVariantMap analysis() { return model().analysis()->reportValue().toMap(); }
    QVariantMap projects() { return model().purge()->reportValue().toMap(); }

    QList<QQuickItem*> analysisRows() { return shown("analysisRow"); }

    // The menu's shown entries are laid out one under the other, as a person sees them before clicking.
    bool menuIsLaidOut() const
    {
        const QList<QQuickItem*> entries =
            shown("actionAnalyze") + shown("actionReveal") + shown("actionTrash");
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
        click(findItem(row, "rowActionsButton"));
        const bool open = QTest::qWaitFor([&] { return popupOpen("itemActionsMenu") && menuIsLaidOut(); });
        return open ? shown(action).value(0) : nullptr;
    }

    // The rows must be the report's list, in its order, with its names, paths and sizes.
    void verifyRowsShow(const QList<QQuickItem*>& rows, const QVariantList& entries)
    {
        QCOMPARE(linesIn(rows, "rowName rowPath rowSize"), linesOf(entries, "name path size#"));
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        // What the analysed folder holds: its direct children, a few levels deep, with sizes far enough
        // apart that their order is plain. A hidden folder is not analysed.
        writeFiles({{"Library/Caches/com.example.big/blob.bin", 3'000'000},
                    {"Library/Caches/com.example.small/parts.bin", 200'000},
                    {"Library/Application Support/Editor/index.db", 1'500'000},
                    {"Library/Application Support/Editor/state.json", 40'000},
                    {"Library/Mail/V10/inbox.mbox", 900'000},
                    {"Library/Logs/app.log", 120'000},
                    {"Library/Preferences/com.example.plist", 4'000},
                    {"Library/archive.zip", 700'000},
                    {"Library/notes.txt", 0},
                    {"Library/.hidden/secret.bin", 5'000'000}});
        SyntheticHome::folder(homePath("Library/Empty"));
        // Projects with build output and dependencies of three ecosystems.
        writeFiles({{"Projects/web/package.json", 300},
                    {"Projects/web/node_modules/left-pad/index.js", 300'000},
                    {"Projects/web/node_modules/react/index.js", 500'000},
                    {"Projects/rusty/Cargo.toml", 200},
                    {"Projects/rusty/target/debug/rusty", 1'200'000},
                    {"Projects/py/main.py", 100},
                    {"Projects/py/.venv/lib/site.py", 400'000}});
        openWindow();
    }

    // Both pages before anything ran: the folder each starts with, its toolbar and an invitation.
    void pageInvitesAFirstRun_data()
    {
        QTest::addColumn<QString>("feature");
        QTest::addColumn<QString>("folder"); // the page's field
        QTest::addColumn<QString>("start");  // in the home
        QTest::addColumn<QString>("names");  // of the texts
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts");
        const char* analyze = "analysisRunButton analysisChooseButton analysisParentButton lastRunLine "
                              "toolbarFootnote noticeTitle";
        const char* purge = "purgePreviewButton purgeChooseButton lastRunLine toolbarFootnote noticeTitle";
        row("analyze en", "analyze", "analysisPathField", "Library", analyze, english,
            splitTexts(
                "Analyze|Choose|Go to Parent Folder|Not analyzed yet|"
                "Analysis only reads directory info and does not modify any files.|Start with an analysis"));
        row("analyze zh", "analyze", "analysisPathField", "Library", analyze, chinese,
            splitTexts(
                "开始分析|选择|返回上一级|还没分析过|分析只读取目录信息，不会改动任何文件。|先分析一个位置"));
        row("purge en", "purge", "scanPathField", "", purge, english,
            splitTexts("Preview|Choose Folder|Not cleaned yet|"
                       "Preview will not change your Mac. Confirm scope first.|Start with a preview"));
        row("purge zh", "purge", "scanPathField", "", purge, chinese,
            splitTexts("预览|选择文件夹|还没瘦身过|预览不会改动电脑，先确认范围再处理。|先运行一次预览"));
    }
    void pageInvitesAFirstRun()
    {
        QFETCH(QString, feature);
        QFETCH(QString, folder);
        QFETCH(QString, start);
        QFETCH(QString, names);
        QVERIFY2(!model().analysis()->report().has_value(), "an analysis ran before this test");
        QVERIFY2(!model().purge()->report().has_value(), "a scan ran before this test");
        const QStringList texts = rowTexts();
        showPage(feature);

        const QString chosen =
            feature == "analyze" ? model().analysis()->path() : model().purge()->scanPath();
        QCOMPARE(chosen, homePath(start));
        QCOMPARE(textIn(item(folder), "folderFieldPath"), homePath(start));
        QCOMPARE(textsOf(names), texts);
        verifyStates("resultsNotice -runProgress");
        for (const char* rows : {"analysisRow", "treemapTile", "purgeRow"})
            QVERIFY2(shown(rows).isEmpty(), rows);
        QCOMPARE(truncatedTexts(), QStringList());
    }

    // Storage Analysis

    void analysisListsChildrenLargeFilesAndTiles_data()
    {
        // The summary's captions, the headings and note, the button, the last run line's parts.
        languageRows(
            "Selected location|Files|In this scan|Largest space users|Large Files|Worth checking first|"
            "Reanalyze|Last analyzed | files",
            "选中的位置|文件数量|本次检查结果|占用靠前的项目|大文件|建议重点查看|重新分析|上次分析 | 个文件");
    }
    void analysisListsChildrenLargeFilesAndTiles()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::analyze);
        model().analysis()->setPath(library());
        click("analysisRunButton");
        waitForTheRun();
        QVERIFY(model().analysis()->report().has_value());
        const QVariantMap report = analysis();
        const QVariantList entries = report["entries"].toList();
        QVERIFY(entries.size() >= 8);

        // The children, largest first, each with a bar as long as its part of the whole.
        const QList<QQuickItem*> rows = analysisRows();
        verifyRowsShow(rows, entries);
        QCOMPARE(textIn(rows.constFirst(), "rowName"), "Caches");
        QVERIFY(!rowNamed("analysisRow", ".hidden"));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QQuickItem* bar = findItem(rows[i], "shareBar");
            QVERIFY(bar && bar->isVisible());
            const double share = entries[i].toMap()["share"].toDouble();
            const double drawn = bar->property("fillWidth").toReal() / bar->width();
            QVERIFY2(
                qAbs(drawn - share) < 0.01 || (share < 0.05 && drawn <= 0.05),
                qPrintable(
                    QString("%1: bar %2, share %3").arg(textIn(rows[i], "rowName")).arg(drawn).arg(share)));
        }
        QVERIFY(findItem(rows.constFirst(), "shareBar")->property("fillWidth").toReal() >
                findItem(rows.constLast(), "shareBar")->property("fillWidth").toReal());

        // The largest files below, without bars.
        const QList<QQuickItem*> fileRows = shown("largeFileRow");
        verifyRowsShow(fileRows, report["largeFiles"].toList());
        QCOMPARE(textIn(fileRows.constFirst(), "rowName"), "blob.bin");
        QVERIFY(!findItem(fileRows.constFirst(), "shareBar")->isVisible());

        // The summary and the headings.
        QStringList summary;
        for (const char* stat : {"summaryLocation", "summaryFiles", "summarySize"})
            summary << textIn(item(stat), "statCaption") << item(stat)->property("value").toString();
        QCOMPARE(summary, (QStringList{texts[0], library(), texts[1],
                                       QString::number(report["totalFiles"].toLongLong()), texts[2],
                                       SizeText::bytes(report["totalSize"].toLongLong())}));
        QCOMPARE(textsIn(item("largestHeading"), "sectionTitle") +
                     textsIn(item("largeFilesHeading"), "sectionTitle sectionNote") +
                     textsOf("analysisRunButton"),
                 texts.mid(3, 4));
        const QString when =
            QDateTime::fromMSecsSinceEpoch(qint64(model().statistics()->date("lastAnalysisDate") * 1000))
                .toString("yyyy-MM-dd HH:mm");
        QCOMPARE(textOf("lastRunLine"),
                 texts[7] + when + " · " +
                     SizeText::bytes(model().statistics()->count("lastAnalysisTotalSize")) + " · " +
                     QString::number(model().statistics()->count("lastAnalysisTotalFiles")) + texts[8]);
        QCOMPARE(model().statistics()->count("lastAnalysisTotalSize"), report["totalSize"].toLongLong());

        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("analyze-results"));
        // Only paths may be shortened, and they are shortened on purpose.
        for (const QString& clipped : truncatedTexts())
            QVERIFY2(clipped.startsWith(homePath(QString())), qPrintable("clipped: " + clipped));
    }

    void treemapTilesShareTheAreaBySize()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        QQuickItem* treemap = item("treemap");
        QVERIFY(treemap && treemap->isVisible());
        const QList<QQuickItem*> tiles = shown("treemapTile");
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
        QQuickItem* caches = shownWith("treemapTile", "name", "Caches");
        QQuickItem* archive = shownWith("treemapTile", "name", "archive.zip");
        QVERIFY(caches && archive);
        QVERIFY(caches->property("color") != archive->property("color"));
        QCOMPARE(textsIn(caches, "tileName tileSize"),
                 (QStringList{"Caches", SizeText::bytes(caches->property("size").toLongLong())}));
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
        QQmlComponent maker(m_engine.get());
        maker.setData("import Kelvo\nTreemapLayout {}", QUrl());
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
        QQuickItem* mail = shownWith("treemapTile", "name", "Mail");
        QQuickItem* archive = shownWith("treemapTile", "name", "archive.zip");
        QVERIFY(mail && archive);
        click(archive); // a file cannot be entered
        QVERIFY(!model().runs()->isRunning());
        QCOMPARE(model().analysis()->path(), library());

        click(mail);
        waitForTheRun();
        QCOMPARE(model().analysis()->path(), homePath("Library/Mail"));
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QCOMPARE(textIn(analysisRows().constFirst(), "rowName"), "V10");
    }

    void analyzeThisFolderGoesInAndParentComesBack_data()
    {
        languageRows("Analyze This Folder|Reveal in Finder|Move to Trash",
                     "进入这个目录继续分析|在访达中显示|移到废纸篓");
    }
    void analyzeThisFolderGoesInAndParentComesBack()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::analyze);
        analyze(library());

        // A file offers no way in.
        QVERIFY(actionOf(rowNamed("analysisRow", "archive.zip"), "actionReveal"));
        QVERIFY(shown("actionAnalyze").isEmpty());
        QVERIFY(closes("itemActionsMenu", "Escape"));

        QQuickItem* enter = actionOf(rowNamed("analysisRow", "Caches"), "actionAnalyze");
        QVERIFY(enter);
        QCOMPARE(textsOf(shown("actionAnalyze") + shown("actionReveal") + shown("actionTrash")), texts);
        click(enter);
        waitForTheRun();
        QVERIFY(!popupOpen("itemActionsMenu"));
        QCOMPARE(model().analysis()->path(), homePath("Library/Caches"));
        QCOMPARE(item("analysisPathField")->property("path").toString(), model().analysis()->path());
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QCOMPARE(rowNames("analysisRow"), (QStringList{"com.example.big", "com.example.small"}));

        click("analysisParentButton");
        waitForTheRun();
        QCOMPARE(model().analysis()->path(), library());
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
        QVERIFY(rowNamed("analysisRow", "Caches"));
    }

    void movingAnAnalysedItemToTheTrashAsksFirst_data()
    {
        // The item's list, name and place in the home, then the dialog's title, buttons and message head.
        languageRows("analysisRow|archive.zip|Library/archive.zip|"
                     "Move to Trash?|Cancel|Move to Trash|\"archive.zip\" in \"Library\"",
                     "largeFileRow|index.db|Library/Application Support/Editor/index.db|"
                     "移到废纸篓？|取消|移到废纸篓|“Editor”里的“index.db”",
                     {"list", "name", "relative"});
    }
    void movingAnAnalysedItemToTheTrashAsksFirst()
    {
        QFETCH(QString, list);
        QFETCH(QString, name);
        QFETCH(QString, relative);
        const QStringList texts = rowTexts();
        const QString path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        showPage(AppFeature::analyze);
        analyze(library());

        // Escape and Cancel leave the item where it is.
        QVERIFY(opens("trashDialog", actionOf(rowNamed(list, name), "actionTrash")));
        QVERIFY(closes("trashDialog", "Escape"));
        QVERIFY(SyntheticHome::exists(path));

        QVERIFY(opens("trashDialog", actionOf(rowNamed(list, name), "actionTrash")));
        const QStringList asked =
            textsIn(object("trashDialog"), "alertTitle trashCancelButton trashConfirmButton alertMessage");
        QCOMPARE(asked.mid(0, 3), texts.mid(0, 3));
        QVERIFY2(asked[3].startsWith(texts[3]), qPrintable(asked[3]));
        QVERIFY(closes("trashDialog", "trashCancelButton"));
        QVERIFY(SyntheticHome::exists(path));

        // Confirming moves it to the Trash, and it leaves the lists.
        QVERIFY(opens("trashDialog", actionOf(rowNamed(list, name), "actionTrash")));
        photograph(shotName("analyze-confirm"));
        QVERIFY(SyntheticHome::exists(path));
        QVERIFY(closes("trashDialog", "trashConfirmButton"));
        waitForTheRun();
        QVERIFY(!model().runs()->alertMessage().has_value());
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QVERIFY(QFileInfo::exists(trashedItem(name)));
        QVERIFY(!rowNamed("analysisRow", name));
        QVERIFY(!rowNamed("largeFileRow", name));
        verifyRowsShow(analysisRows(), analysis()["entries"].toList());
    }

    void analysisOfAnEmptyOrMissingFolderShowsTheEmptyState_data()
    {
        languageRows(
            "Library/Empty|Nothing to show here|"
            "This folder is empty, missing or cannot be read. Try another location.",
            "Library/Gone|这里没有可显示的内容|这个文件夹是空的，或者不存在、无法读取。换一个位置再试试。",
            {"folder"});
    }
    void analysisOfAnEmptyOrMissingFolderShowsTheEmptyState()
    {
        QFETCH(QString, folder);
        const QStringList texts = rowTexts();
        showPage(AppFeature::analyze);
        analyze(homePath(folder));

        QCOMPARE(textsOf("noticeTitle noticeDetail"), texts);
        verifyStates("resultsNotice -summaryFiles");
        for (const char* rows : {"analysisRow", "largeFileRow", "treemapTile"})
            QVERIFY2(shown(rows).isEmpty(), rows);
        analyze(library());
    }

    void rowsAndTilesWithoutANameReadUntitled()
    {
        for (const QString component : {"AnalysisEntryRow", "PurgeEntryRow", "TreemapTile"}) {
            QQmlComponent maker(m_engine.get());
            maker.setData(("import Kelvo\n" + component + " {}").toUtf8(), QUrl());
            std::unique_ptr<QObject> made(
                maker.createWithInitialProperties({{"name", QString()}, {"width", 600}, {"height", 80}}));
            QVERIFY2(made, qPrintable(maker.errorString()));
            auto* row = qobject_cast<QQuickItem*>(made.get());
            const QString label = component == "TreemapTile" ? "tileName" : "rowName";
            QCOMPARE(textIn(row, label), "Untitled");
            useLanguage(chinese);
            QCOMPARE(textIn(row, label), "未命名");
            useLanguage(english);
        }
    }

    void chooseOpensTheFolderChooserWithoutAnalysing()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        const QString support = homePath("Library/Application Support");
        model().analysis()->setPath(support);
        QObject* chooser = object("analysisFolderChooser");
        QVERIFY(chooser);
        QVERIFY(!chooser->property("visible").toBool());
        click(item("analysisChooseButton"));
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("acceptLabel").toString(), "Choose");
        QCOMPARE(chooser->property("currentFolder").toUrl(), QUrl::fromLocalFile(support)); // with its space
        QMetaObject::invokeMethod(chooser, "reject");
        QVERIFY(!chooser->property("visible").toBool());

        const QString mail = homePath("Library/Mail");
        chooser->setProperty("selectedFolder", QUrl::fromLocalFile(mail));
        QMetaObject::invokeMethod(chooser, "accepted");
        QCOMPARE(model().analysis()->path(), mail);
        QCOMPARE(item("analysisPathField")->property("path").toString(), mail);
        QVERIFY(!model().runs()->isRunning());
        QCOMPARE(model().analysis()->report()->path.value_or(QString()), library()); // not analysed yet
        model().analysis()->setPath(library());
    }

    void cancellingAnAnalysisKeepsTheLastReport()
    {
        showPage(AppFeature::analyze);
        analyze(library());
        const AnalysisReport previous = *model().analysis()->report();
        const qsizetype rowCount = analysisRows().size();

        WorkersHeld held;
        press("analysisRunButton");
        QVERIFY(model().runs()->isRunning());
        QCOMPARE(textsOf("runProgressTitle runCancelButton"),
                 (QStringList{"Working, please wait.", "Cancel"}));
        verifyStates(
            "runProgress !analysisRunButton !analysisChooseButton !analysisParentButton runCancelButton");
        press("runCancelButton");
        held.release();
        waitForTheRun();
        QVERIFY(model().analysis()->report() == previous);
        QCOMPARE(analysisRows().size(), rowCount);
        verifyStates("-runProgress analysisRunButton");
    }

    // Project Cleanup

    void scanListsArtefactsByEcosystem_data()
    {
        languageRows("Rescan| items, total ", "重新扫描| 项，合计 ");
    }
    void scanListsArtefactsByEcosystem()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::purge);
        click("purgePreviewButton");
        waitForTheRun();
        QVERIFY(model().purge()->report().has_value());
        const QVariantMap report = projects();
        const QVariantList groups = report["groups"].toList();

        // One group per ecosystem found, in the report's order, each with its rows.
        const QList<QQuickItem*> shownGroups = shown("purgeGroup");
        QCOMPARE(linesIn(shownGroups, "sectionTitle sectionFigure"), linesOf(groups, "title totalBytes#"));
        for (qsizetype i = 0; i < groups.size(); ++i)
            QCOMPARE(linesIn(itemsUnder(shownGroups[i], named("purgeRow"), true),
                             "rowName rowPath rowSize rowDetail"),
                     linesOf(groups[i].toMap()["entries"].toList(), "name path byteCount# detailText"));
        QCOMPARE(linesOf(groups, "title"), (QStringList{"JavaScript / Node", "Python", "Rust / Go / Zig"}));
        QCOMPARE(shown("purgeRow").size(), 3);
        QQuickItem* nodeModules = rowNamed("purgeRow", "node_modules");
        QVERIFY(nodeModules);
        QCOMPARE(nodeModules->property("path").toString(), homePath("Projects/web/node_modules"));
        QVERIFY(!textIn(nodeModules, "rowDetail").isEmpty());

        QCOMPARE(textsOf("purgePreviewButton resultsSummaryLine"),
                 (QStringList{texts[0], QString::number(report["entryCount"].toInt()) + texts[1] +
                                            SizeText::bytes(report["totalBytes"].toLongLong())}));
        verifyStates("-resultsNotice");

        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("purge-results"));
        for (const QString& clipped : truncatedTexts())
            QVERIFY2(clipped.startsWith(homePath(QString())), qPrintable("clipped: " + clipped));
    }

    void movingAnArtefactToTheTrashAsksFirst_data()
    {
        // The artefact's name and place in the home, then the dialog's title, button and message head,
        // the middle of the last run line and the row's mark.
        languageRows(
            "node_modules|Projects/web/node_modules|"
            "Move to Trash?|Move to Trash|\"node_modules\" in \"web\"| items · freed |Moved to Trash",
            ".venv|Projects/py/.venv|移到废纸篓？|移到废纸篓|“py”里的“.venv”| 项 · 释放 |已移到废纸篓",
            {"name", "relative"});
    }
    void movingAnArtefactToTheTrashAsksFirst()
    {
        QFETCH(QString, name);
        QFETCH(QString, relative);
        const QStringList texts = rowTexts();
        const QString path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        showPage(AppFeature::purge);
        click("purgePreviewButton");
        waitForTheRun();
        const qint64 countBefore = model().statistics()->count("lastPurgeCleanedCount");
        const qint64 bytesBefore = model().statistics()->count("lastPurgeCleanedBytes");
        QQuickItem* row = rowNamed("purgeRow", name);
        QVERIFY(row);
        const qint64 size = row->property("byteCount").toLongLong();

        QQuickItem* trash = actionOf(row, "actionTrash");
        QVERIFY(trash);
        QVERIFY(shown("actionAnalyze").isEmpty());
        QVERIFY(!shown("actionReveal").isEmpty());
        QVERIFY(opens("trashDialog", trash));
        const QStringList asked =
            textsIn(object("trashDialog"), "alertTitle trashConfirmButton alertMessage");
        QCOMPARE(asked.mid(0, 2), texts.mid(0, 2));
        QVERIFY2(asked[2].startsWith(texts[2]), qPrintable(asked[2]));
        photograph(shotName("purge-confirm"));
        QVERIFY(SyntheticHome::exists(path));

        QVERIFY(closes("trashDialog", "trashConfirmButton"));
        waitForTheRun();
        QVERIFY(!model().runs()->alertMessage().has_value());
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QVERIFY(QFileInfo(trashedItem(name)).isDir());
        QCOMPARE(model().statistics()->count("lastPurgeCleanedCount"), countBefore + 1);
        QCOMPARE(model().statistics()->count("lastPurgeCleanedBytes"), bytesBefore + size);
        QCOMPARE(textOf("lastRunLine"),
                 QString::number(countBefore + 1) + texts[3] + SizeText::bytes(bytesBefore + size));

        // The row stays, marked as gone, and offers nothing more.
        row = rowNamed("purgeRow", name);
        QVERIFY(row);
        QVERIFY(row->property("trashed").toBool());
        QCOMPARE(textIn(row, "rowTrashedMark"), texts[4]);
        QVERIFY(!findItem(row, "rowActionsButton")->isEnabled());
        for (QQuickItem* other : shown("purgeRow"))
            if (other != row && SyntheticHome::exists(other->property("path").toString()))
                QVERIFY(!other->property("trashed").toBool());
    }

    void chosenScopeWithoutProjectsShowsTheEmptyState_data()
    {
        languageRows("No obvious cleanup targets in this scope|Try another project folder.",
                     "当前范围里没有明显可整理的项目产物|换一个项目目录再试试。");
    }
    void chosenScopeWithoutProjectsShowsTheEmptyState()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::purge);
        const auto restore = qScopeGuard([&] { model().purge()->setScanPath(m_fixture->home); });

        QObject* chooser = object("scanFolderChooser");
        QVERIFY(chooser);
        click("purgeChooseButton");
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("currentFolder").toUrl(),
                 QUrl::fromLocalFile(model().purge()->scanPath()));
        chooser->setProperty("selectedFolder", QUrl::fromLocalFile(library()));
        QMetaObject::invokeMethod(chooser, "accepted");
        QCOMPARE(model().purge()->scanPath(), library());
        QCOMPARE(item("scanPathField")->property("path").toString(), library());
        QVERIFY(!model().purge()->report().has_value()); // a new scope clears the last scan
        QVERIFY(shown("purgeRow").isEmpty());

        click("purgePreviewButton");
        waitForTheRun();
        QVERIFY(model().purge()->report().has_value());
        QCOMPARE(textsOf("noticeTitle noticeDetail"), texts);
        verifyStates("resultsNotice -resultsSummaryLine");
        QVERIFY(shown("purgeRow").isEmpty());
    }

    void narrowWindowShortensOnlyPaths_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("feature");
        for (const auto& [tag, language] : languages)
            for (const char* feature : {"analyze", "purge"})
                QTest::addRow("%s %s", tag, feature) << language << QString(feature);
    }
    void narrowWindowShortensOnlyPaths()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, feature);
        useLanguage(language);
        showPage(feature);
        if (feature == "analyze")
            analyze(library());
        else {
            model().purge()->setScanPath(m_fixture->home);
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
            for (QQuickItem* tile : shown("treemapTile"))
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
        model().purge()->setScanPath(m_fixture->home);
        click("purgePreviewButton");
        waitForTheRun();
        QVERIFY(model().purge()->report().has_value());
        const PurgePreviewReport previous = *model().purge()->report();

        WorkersHeld held;
        press("purgePreviewButton");
        QVERIFY(model().runs()->isRunning());
        QCOMPARE(textOf("runProgressTitle"), "Scanning the project folder, please wait.");
        verifyStates("runProgress !purgeChooseButton runCancelButton");
        press("runCancelButton");
        held.release();
        waitForTheRun();
        QVERIFY(model().purge()->report() == previous);
        verifyStates("-runProgress");
    }
};

KELVO_REGISTER_TEST(TestWindowAnalysis)
#include "tst_WindowAnalysis.moc"
