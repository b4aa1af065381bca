// Storage Analysis, Project Cleanup, Installer Cleanup and Uninstall as a person uses them: the real
// views over a real controller on a synthetic home.
#include "TestMain.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "WindowTestSupport.h"

#include "optimize/OptimizeWhitelistStore.h"

#include <QImageWriter>
#include <QQmlComponent>
#include <QRectF>
#include <QScopeGuard>
#include <QUrl>

#include <sys/time.h>

namespace {

using namespace TestSupport;

} // namespace

class TestWindowPages : public WindowTestCase {
    Q_OBJECT

    QString library() const { return homePath("Library"); }
    static QString rowsOf(const QString& page) { return page == "analyze" ? "analysisRow" : page + "Row"; }
    static QString runButton(const QString& page)
    {
        return page == "analyze" ? "analysisRunButton" : page + "PreviewButton";
    }

    // Shows the page and runs its scan with its button; Storage Analysis analyses the Library.
    void scan(const QString& feature)
    {
        showPage(feature);
        if (feature == "analyze")
            model().analysis()->setPath(library());
        click(runButton(feature));
        waitForTheRun();
    }
    // The page's report: as the page reads it, or the engine's record where the page reads lists.
    QVariantMap report(const QString& feature)
    {
        if (feature == "analyze")
            return model().analysis()->report().value_or(AnalysisReport{}).toJson().toVariantMap();
        if (feature == "optimize")
            return model().optimize()->report().value_or(OptimizePreviewReport{}).toJson().toVariantMap();
        return model().property(feature.toUtf8()).value<QObject*>()->property("report").toMap();
    }
    // The chosen rows' names, as long as the selection bar counts as many.
    QStringList chosenRows(const QString& rows) const
    {
        QList<QQuickItem*> chosen = shown(rows);
        chosen.removeIf([](QQuickItem* row) { return !row->property("selected").toBool(); });
        const bool counted = textOf("selectedCountLabel").contains(QString::number(chosen.size()));
        return counted ? linesIn(chosen, "rowName") : QStringList{"miscounted"};
    }

    // Opens a row's actions with its dots button; the shown menu entry of that name, or none.
    QQuickItem* actionOf(QQuickItem* row, const QString& action)
    {
        return opens("itemActionsMenu", row ? findItem(row, "rowActionsButton") : nullptr)
                   ? shown(action).value(0)
                   : nullptr;
    }

    // The rows show the list, in its order, with its names, paths and sizes.
    void verifyRowsShow(const QList<QQuickItem*>& rows, const AnalysisEntryModel& entries) const
    {
        QCOMPARE(linesIn(rows, "rowName rowPath rowSize"), linesOf(entries, "name path sizeText"));
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        // The Library to analyse, build output of three ecosystems, installers in two places and what
        // two apps left; the log only holds Foo's identifier in a longer name: offered, not chosen.
        const std::pair<const char*, qint64> files[] = {
            {"Library/Caches/com.example.big/blob.bin", 3'000'000},
            {"Library/Caches/com.example.small/parts.bin", 200'000},
            {"Library/Application Support/Editor/index.db", 1'500'000},
            {"Library/Mail/V10/inbox.mbox", 900'000},
            {"Library/archive.zip", 700'000},
            {"Library/notes.txt", 0},
            {"Projects/web/node_modules/react/index.js", 500'000},
            {"Projects/rusty/target/debug/rusty", 1'200'000},
            {"Projects/rusty/Cargo.toml", 100},
            {"Projects/web/package.json", 100},
            {"Projects/py/.venv/lib/site.py", 400'000},
            {"Downloads/Big.dmg", 3'000'000},
            {"Downloads/Tool.pkg", 1'200'000},
            {"Desktop/Setup.pkg", 600'000},
            {"Desktop/Another.dmg", 200'000},
            {"Library/Caches/com.example.foo/x", 50'000},
            {"Library/Preferences/com.example.bar.plist", 50'000},
            {"Library/Logs/backup-com.example.foo.log", 4'000}};
        for (const auto& [path, size] : files)
            SyntheticHome::file(homePath(path), size);
        SyntheticHome::folder(homePath("Library/Empty"));
        // Foo names an icon of its own; Bar names one it does not have and shows the neutral one.
        for (const QString app : {"Foo", "Bar"})
            SyntheticHome::makeApp(homePath("Applications"), app, "com.example." + app.toLower(),
                                   {{"CFBundleShortVersionString", "1.0"}, {"CFBundleIconFile", app}},
                                   400'000);
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(QColor(0xF5, 0x8A, 0x1F));
        QImageWriter(SyntheticHome::file(homePath("Applications/Foo.app/Contents/Resources/Foo.icns")),
                     "icns")
            .write(icon);
        // The optimisation steps' tools: two stand-ins complete, one exits with status 3, the others are
        // missing; the thumbnail step is on the safeguard list and an autostart entry's program is gone.
        const QString system = m_fixture->systemRoot;
        standInTool(system, "/usr/bin/fc-cache", "sleep 0.3");
        standInTool(system, "/usr/bin/update-desktop-database", "exit 0");
        standInTool(system, "/usr/bin/resolvectl", "exit 3");
        SyntheticHome::write(system + "/run/systemd/resolve/io.systemd.Resolve", "");
        for (const QString app : {"editor", "terminal", "notes"})
            SyntheticHome::write(homePath(".local/share/applications/" + app + ".desktop"),
                                 "[Desktop Entry]\n");
        SyntheticHome::file(homePath(".local/share/fonts/Inter.ttf"), 300'000);
        SyntheticHome::write(homePath(".config/autostart/sync.desktop"),
                             "[Desktop Entry]\nName=Sync Helper\nExec=/opt/sync/helper --tray\n");
        OptimizeWhitelistStore::save({{"thumbnail_cache_cleanup"}, {}}, m_fixture->home);
        openWindow();
    }

    void analysisShowsTheReport_data() { languageRows(); }
    void analysisShowsTheReport()
    {
        useRowLanguage();
        // A name that is not UTF-8, here for this test only (the temporary folder cannot remove it).
        const QByteArray notUtf8 = QFile::encodeName(library()) + "/Report \xFF.pdf";
        SyntheticHome::rawFile(library(), "Report \xFF.pdf", QByteArray(1'500'000, 'x'));
        const auto gone = qScopeGuard([&] { ::unlink(notUtf8.constData()); });
        scan("analyze");
        AnalysisController& analysis = *model().analysis();
        // The children, each with a bar as long as its part of the whole; the largest files, without.
        const QList<QQuickItem*> rows = shown("analysisRow");
        verifyRowsShow(rows, *analysis.entries());
        QVERIFY(rows.size() >= 8);
        const QQuickItem* bar = findItem(rows[0], "shareBar");
        QCOMPARE(qRound(100 * bar->property("fillWidth").toReal() / bar->width()),
                 qRound(100 * column(*analysis.entries(), "share")[0].toDouble()));
        verifyRowsShow(shown("largeFileRow"), *analysis.largeFiles());
        QVERIFY(!findItem(shown("largeFileRow").value(0), "shareBar")->isVisible());
        // The name that is not UTF-8 is tagged, among the children and among the large files alike.
        QCOMPARE(shown("rowNotUtf8Tag").size(), 2);
        QVERIFY(findItem(rowNamed("analysisRow", "Report \\xFF.pdf"), "rowNotUtf8Tag")->isVisible());
        QStringList summary;
        for (const char* stat : {"summaryLocation", "summaryFiles", "summarySize"})
            summary << item(stat)->property("value").toString();
        QCOMPARE(summary, (QStringList{library(), QString::number(analysis.totalFiles()),
                                       SizeText::bytes(analysis.totalSize())}));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("analyze-results"));
    }

    // Below the folder's items, its old files (here a mailbox not changed for two years) and what each
    // type of file takes; then an export written by ncdu, opened as a scan that can only be explored.
    void analysisViewsAndAnImportedScan_data() { languageRows(); }
    void analysisViewsAndAnImportedScan()
    {
        useRowLanguage();
        const QString mailbox = library() + "/Mail/V10/inbox.mbox";
        const qint64 twoYearsAgo = QDateTime::currentDateTime().addYears(-2).toSecsSinceEpoch();
        const timeval times[2] = {{time_t(twoYearsAgo), 0}, {time_t(twoYearsAgo), 0}};
        QCOMPARE(::utimes(QFile::encodeName(mailbox).constData(), times), 0);
        scan("analyze");
        AnalysisController& analysis = *model().analysis();
        QCOMPARE(linesIn(shown("oldFileRow"), "rowName"), QStringList{"inbox.mbox"});
        QCOMPARE(shown("typeRow").size(), analysis.typeTotals().size());
        scrollIntoView(item("oldFilesHeading"), true);
        photograph(shotName("analyze-views"));

        analysis.importScan(QUrl::fromLocalFile(QStringLiteral(KELVO_TEST_DATA_DIR "/ncdu/ncdu-1.18.json")));
        waitForTheRun();
        QVERIFY(!analysis.canAct() && item("analysisOrigin")->isVisible());
        QCOMPARE(analysis.path(), "/tmp/kelvo-ncdu-fixture");
        // Its items cannot be revealed or moved: they are on the machine that made the scan.
        QVERIFY(!actionOf(rowNamed("analysisRow", "a.bin"), "actionTrash")->isEnabled());
        QVERIFY(closes("itemActionsMenu", "Escape"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("analyze-imported"));
    }

    // The keyboard moves through the tree in memory: a typed path with Enter, Enter on a folder's row,
    // Backspace back up; Delete on a row asks before moving it to the Trash.
    void keysMoveThroughTheTree()
    {
        scan("analyze");
        AnalysisController& analysis = *model().analysis();
        QQuickItem* field = item("analysisPathField");
        field->forceActiveFocus();
        field->setProperty("text", homePath("Library/Caches/"));
        QTest::keyClick(m_window, Qt::Key_Return);
        QVERIFY(!model().runs()->isRunning());
        QCOMPARE(analysis.path(), homePath("Library/Caches"));
        rowNamed("analysisRow", "com.example.big")->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Backspace);
        QCOMPARE(analysis.path(), library());
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        rowNamed("analysisRow", "Mail")->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Return);
        QCOMPARE(analysis.path(), homePath("Library/Mail"));
        QTest::keyClick(m_window, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(analysis.path(), library());
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        rowNamed("analysisRow", "archive.zip")->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Delete);
        QVERIFY(QTest::qWaitFor([&] { return popupOpen("trashDialog"); }));
        QVERIFY(closes("trashDialog", "Escape"));
        QVERIFY(QFile::exists(library() + "/archive.zip"));
    }

    // A folder is entered from its tile's header or its row's menu, and left with the parent button,
    // all from the tree in memory; a file is not entered.
    void foldersAreEnteredFromTheirTileOrMenu()
    {
        scan("analyze");
        // The map lays its tiles out once it has its size, which may take a few turns after the report.
        QTRY_VERIFY(shownWith("treemapTile", "name", "archive.zip"));
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        click(shownWith("treemapTile", "name", "archive.zip"));
        QVERIFY(!model().runs()->isRunning());
        QVERIFY(actionOf(rowNamed("analysisRow", "archive.zip"), "actionReveal"));
        QVERIFY(shown("actionAnalyze").isEmpty());
        QVERIFY(closes("itemActionsMenu", "Escape"));
        for (const QString folder : {"Mail", "Caches"}) {
            if (folder == "Mail")
                clickAt(shownWith("treemapTile", "name", folder), QPointF(6, 4)); // its header
            else
                click(actionOf(rowNamed("analysisRow", folder), "actionAnalyze"));
            waitForTheRun();
            QVERIFY(!popupOpen("itemActionsMenu"));
            QCOMPARE(item("analysisPathField")->property("path").toString(), homePath("Library/" + folder));
            QCOMPARE(model().analysis()->path(), homePath("Library/" + folder));
            verifyRowsShow(shown("analysisRow"), *model().analysis()->entries());
            click("analysisParentButton");
            waitForTheRun();
            QCOMPARE(model().analysis()->path(), library());
        }
    }

    void purgeShowsTheReportByEcosystem_data() { languageRows(); }
    void purgeShowsTheReportByEcosystem()
    {
        useRowLanguage();
        scan("purge");
        // One group per ecosystem found, in the controller's order, each with its rows.
        const ChoiceSectionModel* groups = model().purge()->groups();
        const QList<QQuickItem*> shownGroups = shown("purgeGroup");
        QCOMPARE(linesIn(shownGroups, "sectionTitle sectionFigure"), linesOf(groups, "title bytes#"));
        for (qsizetype i = 0; i < shownGroups.size(); ++i)
            QCOMPARE(linesIn(itemsUnder(shownGroups[i], named("purgeRow"), true),
                             "rowName rowPath rowSize rowDetail"),
                     linesOf(groups->index(i).data(ChoiceSectionModel::RowsRole).value<QAbstractItemModel*>(),
                             "name path sizeText detail"));
        QCOMPARE(shown("purgeRow").size(), 3);
        // The .venv has no project file around it: marked, and the only one not chosen.
        for (QQuickItem* row : shown("purgeRow")) {
            const bool loose = row->property("name").toString() == ".venv";
            QCOMPARE(findItem(row, "rowNoProjectMark")->isVisible(), loose);
            QCOMPARE(row->property("selected").toBool(), !loose);
        }
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("purge-results"));
    }

    void installerListFiltersSortsAndChooses_data() { languageRows(); }
    void installerListFiltersSortsAndChooses()
    {
        useRowLanguage();
        scan("installer");
        QCOMPARE(linesIn(shown("installerRow"), "rowName rowPath rowSource rowSize"),
                 linesOf(model().installer()->entries(), "name path source sizeText"));
        const QStringList bySize{"Big.dmg", "Tool.pkg", "Setup.pkg", "Another.dmg"};
        QCOMPARE(rowNames("installerRow"), bySize);
        // One filter per place in the report, showing its files only; sorting by size off sorts by name.
        QCOMPARE(textsOf(shown("filterSource")), model().installer()->sources());
        QQuickItem* desktop =
            shownWith("filterSource", "text", rowNamed("installerRow", "Setup.pkg")->property("source"));
        click(desktop);
        QCOMPARE(rowNames("installerRow"), (QStringList{"Setup.pkg", "Another.dmg"}));
        click("filterAll");
        click("sortBySizeToggle");
        QCOMPARE(rowNames("installerRow"), (QStringList{"Another.dmg", "Big.dmg", "Setup.pkg", "Tool.pkg"}));
        click("sortBySizeToggle");
        QCOMPARE(rowNames("installerRow"), bySize);

        // Rows are chosen with their box, themselves or Space; a filter keeps hidden choices and Select
        // All under it adds the shown rows only.
        verifyStates("selectAllButton !clearSelectionButton !selectionActionButton");
        click(findItem(rowNamed("installerRow", "Big.dmg"), "rowSelectBox"));
        verifyStates("selectAllButton clearSelectionButton selectionActionButton");
        click(desktop);
        click("selectAllButton");
        click("filterAll");
        QCOMPARE(chosenRows("installerRow"), (QStringList{"Big.dmg", "Setup.pkg", "Another.dmg"}));
        click(rowNamed("installerRow", "Big.dmg"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("installer-results"));
        findItem(rowNamed("installerRow", "Tool.pkg"), "rowSelectBox")->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QCOMPARE(chosenRows("installerRow"), (QStringList{"Tool.pkg", "Setup.pkg", "Another.dmg"}));
        click("selectAllButton");
        verifyStates("!selectAllButton clearSelectionButton selectionActionButton");
        click("clearSelectionButton");
        QCOMPARE(chosenRows("installerRow"), QStringList());
    }

    void uninstallListShowsAppsIconsAndLeftovers_data() { languageRows(); }
    void uninstallListShowsAppsIconsAndLeftovers()
    {
        useRowLanguage();
        scan("uninstall");
        const QList<QQuickItem*> rows = shown("uninstallRow");
        const UninstallAppModel* apps = model().uninstall()->apps();
        QCOMPARE(linesIn(rows, "rowName rowBundleID rowSource rowLastOpened rowSize"),
                 linesOf(apps, "name bundleID source lastOpenedText sizeText"));
        for (QQuickItem* row : rows) // the bundle's own icon, or the neutral one
            QTRY_COMPARE(findItem(row, "rowAppIcon")->property("status").toInt(), 1); // Image.Ready
        // The leftovers open below their app; those surely its own are chosen, possible ones marked.
        QQuickItem* foo = rowNamed("uninstallRow", "Foo");
        const QAbstractItemModel* leftovers = apps->leftoversAt(int(rows.indexOf(foo)));
        QVERIFY(shown("leftoverPath").isEmpty());
        click(findItem(foo, "rowExpandButton"));
        QCOMPARE(textsOf(shown("leftoverPath")), linesOf(leftovers, "path"));
        QStringList chosen;
        for (QQuickItem* box : shown("leftoverSelectBox"))
            chosen << box->property("selected").toString();
        QCOMPARE(chosen, linesOf(leftovers, "strong"));
        QCOMPARE(shown("leftoverPossible").size(), chosen.count("false"));
        QQuickItem* possible = shown("leftoverSelectBox").value(chosen.indexOf("false"));
        click(possible);
        click(findItem(foo, "rowSelectBox"));
        QVERIFY(foo->property("selected").toBool() && possible->property("selected").toBool());
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("uninstall-results"));
        click(findItem(foo, "rowExpandButton"));
        QVERIFY(shown("leftoverPath").isEmpty());
        click("clearSelectionButton");
    }

    // While a scan runs its page keeps the last list and holds back its buttons; Cancel keeps the list.
    void whileAScanRunsTheControlsWaitAndCancelKeepsTheList_data()
    {
        columns<QString>("heldBack"); // the run button first
        row("analyze", "analysisRunButton analysisChooseButton analysisParentButton");
        row("purge", "purgePreviewButton purgeChooseButton");
        row("installer", "installerPreviewButton selectionActionButton");
        row("uninstall", "uninstallPreviewButton selectionActionButton");
        row("optimize", "optimizePreviewButton optimizeStartButton optimizeSafeguardsButton");
    }
    void whileAScanRunsTheControlsWaitAndCancelKeepsTheList()
    {
        const auto [heldBack] = fetch<QString>("heldBack");
        const QString feature = QTest::currentDataTag(), rows = rowsOf(feature);
        scan(feature);
        const QVariantMap before = report(feature);
        const QStringList names = rowNames(rows);
        const bool choosing = heldBack.contains("selection");
        if (choosing)
            click("selectAllButton");
        WorkersHeld held;
        press(runButton(feature));
        QVERIFY(model().runs()->isRunning());
        verifyStates("runProgress runCancelButton !" + QString(heldBack).replace(' ', " !"));
        QCOMPARE(rowNames(rows), names);
        press("runCancelButton");
        held.release();
        waitForTheRun();
        QCOMPARE(report(feature), before);
        QCOMPARE(rowNames(rows), names);
        verifyStates("-runProgress " + heldBack);
        if (choosing)
            click("clearSelectionButton");
    }

    // The preview marks each step; the confirmation names the steps that will run; after the run each
    // row says what became of its step and how long it took.
    void optimizeMarksRunsAndShowsOutcomes_data() { languageRows(); }
    void optimizeMarksRunsAndShowsOutcomes()
    {
        useRowLanguage();
        scan("optimize");
        const auto verifyRowsShowTheSteps = [this] {
            QCOMPARE(linesIn(shown("optimizeRow"), "rowName rowDetail rowState rowStateText rowDuration"),
                     linesOf(*model().optimize()->steps(), "name detail stateLabel stateText durationText"));
        };
        verifyRowsShowTheSteps();
        QCOMPARE(shown("optimizeRow").size(), model().optimize()->checkCount());
        QVERIFY(QQuickTest::qWaitForPolish(m_window)); // the page without its progress panel
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("optimize-preview"));

        QVERIFY(opens("confirmDialog", item("optimizeStartButton")));
        const QString message = textIn(object("confirmDialog"), "alertMessage");
        for (const OptimizeStepOutcome& step : model().optimize()->planned())
            QVERIFY2(message.contains(step.entry.name) == (step.state == OptimizeStepState::willRun),
                     qPrintable(step.entry.name));
        photograph(shotName("optimize-confirm"));
        QVERIFY(closes("confirmDialog", "confirmContinueButton"));
        waitForTheRun();
        QCOMPARE(model().optimize()->lastResult()->completed.size(), std::size_t(2));
        verifyRowsShowTheSteps();
        QCOMPARE(textOf("statusDetail"), model().runs()->statusDetail());
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("optimize-run"));
    }

    // A shown preview follows a language switch without a new scan: its steps and the status line are
    // drawn again in the new language, and switching back brings the first texts back.
    void aShownPreviewFollowsALanguageSwitch()
    {
        scan("optimize");
        const auto shownTexts = [this] {
            return linesIn(shown("optimizeRow"), "rowName rowState") << textOf("statusTitle");
        };
        const QStringList english = shownTexts();
        useLanguage(AppLanguagePreference::chinese);
        const QStringList chinese = shownTexts();
        QCOMPARE(chinese, linesOf(*model().optimize()->steps(), "name stateLabel")
                              << model().runs()->statusTitle());
        for (qsizetype i = 0; i < english.size(); ++i)
            QVERIFY2(chinese[i] != english[i], qPrintable(english[i]));
        useLanguage(AppLanguagePreference::english);
        QCOMPARE(shownTexts(), english);
    }

    // The safeguard sheet opens from the page and from Settings: a tick marks the step behind it at
    // once, Cancel drops the tick and Save keeps it.
    void safeguardSheetOpensFromThePageAndFromSettings()
    {
        scan("optimize");
        const QSet<QString> stored{"thumbnail_cache_cleanup"};
        const SafeguardOptionModel& options = *model().optimize()->safeguardOptions();
        const auto tickFontCache = [&] {
            QVERIFY(QQuickTest::qWaitForPolish(m_window)); // the list makes its rows when it is laid out
            QStringList ticks;
            for (QQuickItem* box : shown("safeguardBox"))
                ticks << box->property("selected").toString();
            QCOMPARE(ticks, column(options, "safeguarded"));
            QCOMPARE(textsOf(shown("safeguardTitle")), column(options, "title"));
            click(
                findItem(shown("safeguardOption").value(column(options, "id").indexOf("font_cache_rebuild")),
                         "safeguardBox"));
        };
        QVERIFY(opens("safeguardSheet", item("optimizeSafeguardsButton")));
        QCOMPARE(model().optimize()->safeguards().selectedKeys, stored);
        tickFontCache();
        QCOMPARE(model().optimize()->safeguards().selectedKeys, stored + QSet<QString>{"font_cache_rebuild"});
        QCOMPARE(linesIn(shown("optimizeRow"), "rowName rowState"),
                 linesOf(*model().optimize()->steps(), "name stateLabel"));
        QCOMPARE(model().optimize()->planned()[2].state, OptimizeStepState::protectedStep);
        photograph("en-optimize-safeguards");
        useLanguage(AppLanguagePreference::chinese);
        photograph("zh-optimize-safeguards");
        useLanguage(AppLanguagePreference::english);
        QVERIFY(closes("safeguardSheet", "safeguardCancelButton"));
        QCOMPARE(model().optimize()->safeguards().selectedKeys, stored);
        QCOMPARE(model().optimize()->planned()[2].state, OptimizeStepState::willRun);

        // A line naming no step is a row of its own, and removing it takes it out of the file.
        OptimizeWhitelistStore::save({stored, {"old-step", "older-step"}}, m_fixture->home);
        showPage("maintenance");
        QVERIFY(opens("safeguardSheet", item("optimizeSafeguardsEntry")));
        tickFontCache();
        QCOMPARE(textsOf(shown("entryText")), (QStringList{"old-step", "older-step"}));
        QMetaObject::invokeMethod(item("safeguardOptions"), "positionViewAtEnd");
        photograph("en-optimize-safeguards-other-lines");
        click(findItem(shown("safeguardCustomRow").constFirst(), "entryRemoveButton"));
        QVERIFY(closes("safeguardSheet", "safeguardSaveButton"));
        QCOMPARE(OptimizeWhitelistStore::load(m_fixture->home),
                 (OptimizeWhitelistState{{"thumbnail_cache_cleanup", "font_cache_rebuild"}, {"older-step"}}));
        QVERIFY(item("sidebar")->hasActiveFocus());
        OptimizeWhitelistStore::save({{"thumbnail_cache_cleanup"}, {}}, m_fixture->home);
        model().optimize()->loadSafeguardsQuietly();
    }

    // Moving to the Trash asks first, naming what goes: Escape and Cancel leave the item, Confirm moves
    // it and the status line says what went. Listed items are moved from their row's menu, installers
    // and apps once chosen.
    // Keys on every page with results: Ctrl+F narrows the list and Select All takes only what is shown,
    // Escape clears the filter and then leaves it, Delete asks before acting on the chosen rows and
    // Escape closes that question with everything in place. Every control the page shows has a name.
    void keysFilterAndActOnEveryPage_data()
    {
        columns<QString, QString, QStringList, QString>("rows", "typed", "matching", "dialog");
        row("en purge", "purgeRow", "VENV", QStringList{".venv"}, "purgeConfirmDialog");
        row("zh installer", "installerRow", "dmg", QStringList{"Big.dmg", "Another.dmg"},
            "installerConfirmDialog");
        row("en uninstall", "uninstallRow", "example.foo", QStringList{"Foo"}, "uninstallConfirmDialog");
        row("zh analyze", "analysisRow", "mail", QStringList{"Mail"}, "");
        row("en optimize", "optimizeRow", "font cache", QStringList{"Font Cache Rebuild"}, "");
    }
    void keysFilterAndActOnEveryPage()
    {
        const auto [rows, typed, matching, dialog] =
            fetch<QString, QString, QStringList, QString>("rows", "typed", "matching", "dialog");
        useRowLanguage();
        const QString feature = QString(QTest::currentDataTag()).section(' ', 1);
        scan(feature);
        verifyEveryControlIsNamed();
        const QStringList everyRow = rowNames(rows);
        QVERIFY(everyRow.size() > matching.size());

        const auto find = [&] {
            QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
            QVERIFY(item("filterField")->hasActiveFocus());
        };
        find();
        typeText(typed);
        QTRY_COMPARE(rowNames(rows), matching);
        if (!dialog.isEmpty()) {
            click("clearSelectionButton");
            click("selectAllButton");
            QCOMPARE(chosenRows(rows), matching);
        }
        find(); // the text is selected: Delete in the field takes it away and does nothing else
        QTest::keyClick(m_window, Qt::Key_Delete);
        QCOMPARE(rowNames(rows), everyRow);
        QVERIFY(dialog.isEmpty() || !popupOpen(dialog));
        typeText("no such name");
        QTRY_VERIFY(item("resultsFilterEmpty")->isVisible());
        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(rowNames(rows), everyRow);
        QVERIFY(item("filterField")->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(!item("filterField")->hasActiveFocus());
        if (dialog.isEmpty())
            return;
        QTest::keyClick(m_window, Qt::Key_Delete);
        QTRY_VERIFY(popupOpen(dialog));
        QVERIFY(closes(dialog, "Escape"));
        QCOMPARE(rowNames(rows), everyRow);
        click("clearSelectionButton");
        QTest::keyClick(m_window, Qt::Key_Delete); // nothing chosen: nothing to ask
        QVERIFY(!popupOpen(dialog));
    }

    void movingToTheTrashAsksFirst_data()
    {
        columns<QString, QString, QString>("rows", "name", "relative"); // relative: in the home
        row("en analyze", "analysisRow", "archive.zip", "Library/archive.zip");
        row("zh analyze", "largeFileRow", "index.db", "Library/Application Support/Editor/index.db");
        row("en purge", "purgeRow", "node_modules", "Projects/web/node_modules");
        row("zh purge", "purgeRow", ".venv", "Projects/py/.venv");
        row("en installer", "installerRow", "Big.dmg", "Downloads/Big.dmg");
        row("zh installer", "installerRow", "Setup.pkg", "Desktop/Setup.pkg");
        row("en uninstall", "uninstallRow", "Foo", "Applications/Foo.app");
        row("zh uninstall", "uninstallRow", "Bar", "Applications/Bar.app");
    }
    void movingToTheTrashAsksFirst()
    {
        const auto [rows, name, relative] = fetch<QString, QString, QString>("rows", "name", "relative");
        useRowLanguage();
        const QString feature = QString(QTest::currentDataTag()).section(' ', 1), path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        scan(feature);
        const bool chosen = feature == "installer" || feature == "uninstall";
        const QString dialog = chosen ? feature + "ConfirmDialog" : "trashDialog";
        if (chosen)
            click(rowNamed(rows, name));
        for (const QString answer : {"Escape", "Cancel", "Confirm"}) {
            QVERIFY(opens(dialog, chosen ? item("selectionActionButton")
                                         : actionOf(rowNamed(rows, name), "actionTrash")));
            QVERIFY(SyntheticHome::exists(path));
            QVERIFY(feature == "installer" || textIn(object(dialog), "alertMessage").contains(name));
            if (answer == "Escape")
                photograph(shotName(feature + "-confirm"));
            QVERIFY(closes(
                dialog, answer == "Escape" ? answer : (chosen ? "selection" : "trash") + answer + "Button"));
            waitForTheRun();
        }
        QVERIFY(!model().runs()->alertMessage().has_value());
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        if (feature == "uninstall")
            QVERIFY2(textOf("statusDetail").contains(name), qPrintable(textOf("statusDetail")));
        if (feature == "purge" || feature == "uninstall")
            photograph(shotName(feature + "-done"));
        // The row leaves the list, or stays marked as gone with nothing more to offer.
        QQuickItem* row = rowNamed(rows, name);
        QVERIFY(!row ||
                (row->property("trashed").toBool() && !findItem(row, "rowActionsButton")->isEnabled()));
        // What went to the Trash still takes its space: the page links to where the Trash is emptied.
        if (feature == "purge" || feature == "installer") {
            click("emptyTrashLink");
            QCOMPARE(model().selectedFeature(), AppFeature::clean);
        }
    }

    // Scans that find nothing: no projects in the Library; the places of installers and apps removed last.
    void aScanThatFindsNothingShowsTheEmptyState_data()
    {
        columns<QString>("folders"); // in the home
        row("analyze", "Library/Empty");
        row("purge", "Library");
        row("installer", "Downloads Desktop");
        row("uninstall", "Applications");
    }
    void aScanThatFindsNothingShowsTheEmptyState()
    {
        const auto [folders] = fetch<QString>("folders");
        const QString feature = QTest::currentDataTag();
        showPage(feature);
        if (feature == "analyze")
            model().analysis()->setPath(homePath(folders));
        else if (feature == "purge")
            model().purge()->setScanPath(homePath(folders));
        else
            for (const QString& folder : folders.split(' '))
                QVERIFY(QDir(homePath(folder)).removeRecursively());
        click(runButton(feature));
        waitForTheRun();
        // The empty state of a report that holds nothing: no prompt to run, no rows.
        const QQuickItem* panel = item("resultsPanel");
        QVERIFY(panel->property("hasReport").toBool() && panel->property("empty").toBool());
        QCOMPARE(textOf("noticeTitle"), panel->property("emptyTitle").toString());
        verifyStates("resultsNotice -resultsSummaryLine");
        QVERIFY(shown(rowsOf(feature)).isEmpty());
    }
};

KELVO_REGISTER_TEST(TestWindowPages)
#include "tst_WindowPages.moc"
