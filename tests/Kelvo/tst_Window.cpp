// The window as a person sees it: the real views over a real controller on a synthetic home,
// drawn offscreen in both languages, with every page visited and photographed. Any QML warning
// fails the test.
#include "TestMain.h"

#include "AppModelFixture.h"
#include "KelvoWindow.h"
#include "SyntheticHome.h"

#include "clean/CleanWhitelistStore.h"
#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFuture>
#include <QImage>
#include <QKeySequence>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSet>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace {

QStringList& recordedWarnings()
{
    static QStringList warnings;
    return warnings;
}

QtMessageHandler previousHandler = nullptr;

// Every warning printed while the window lives is a fault of the views.
void recordWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
        recordedWarnings().append(message);
    if (previousHandler)
        previousHandler(type, context, message);
}

// Screenshots go next to the test executable; with KELVO_SCREENSHOTS=1 they refresh the pictures
// in docs/screenshots instead. A folder that cannot be written is not a failure.
QString screenshotFolder()
{
    if (qgetenv("KELVO_SCREENSHOTS") == "1")
        return QStringLiteral(KELVO_SCREENSHOT_DIR);
    return QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
}

QString languageTag(AppLanguagePreference language)
{
    return language == AppLanguagePreference::chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

const QStringList protectedEntries{QStringLiteral("~/Library/Caches/com.example.keep"),
                                   QStringLiteral("~/Library/Logs/Important"),
                                   QStringLiteral("*.sqlite")};

// A home with something in every kind of place Smart Clean measures, laid out the way this
// system's catalogue expects it. The browser's cache belongs to a browser that is kept running.
struct CleanHomeLayout {
    QStringList cleanedFiles; // removed by a confirmed clean
    QString keptFile;         // under the protection list, so it stays
    QString keptEntry;        // the protection list entry that keeps it
    QString longLocation;     // a location whose path is too long for its row
    QString runningBrowserFile;
    QString runningBrowserProcess;
    QStringList roots; // removing these leaves nothing for Smart Clean to find
};

const CleanHomeLayout& cleanHome()
{
#ifdef Q_OS_MACOS
    static const CleanHomeLayout layout{
        {"Library/Caches/com.example.app/data.bin", ".npm/_cacache/index-v5/entry", ".gradle/caches/modules-2/lib.jar",
         ".Trash/old.txt", "Library/Caches/Firefox/Profiles/cache2/entry",
         "Library/Application Support/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"},
        "Library/Caches/com.example.app/keep/notes.txt",
        "~/Library/Caches/com.example.app/keep",
        "Library/Application Support/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage",
        "Library/Caches/Google/Chrome/Default/Cache/data_0",
        "Google Chrome",
        {"Library/Caches", ".npm", ".gradle", ".Trash", "Library/Application Support/BraveSoftware"}};
#else
    static const CleanHomeLayout layout{
        {".cache/app/data.bin", ".npm/_cacache/index-v5/entry", ".gradle/caches/modules-2/lib.jar",
         ".local/share/Trash/files/old.txt", ".cache/mozilla/firefox/profile/cache2/entry",
         ".config/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"},
        ".cache/app/keep/notes.txt",
        "~/.cache/app/keep",
        ".config/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage",
        ".cache/google-chrome/Default/Cache/data_0",
        "chrome",
        {".cache", ".npm", ".gradle", ".local/share/Trash", ".config/BraveSoftware"}};
#endif
    return layout;
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<AppModelFixture> m_fixture;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;
    std::unique_ptr<QProcess> m_runningBrowser;

    // Switches the language; the status line is then redrawn in it, as a fresh start would draw it.
    void useLanguage(AppLanguagePreference language)
    {
        const bool changed = LocalizationSettings::shared().preference() != language;
        LocalizationSettings::shared().setPreference(language);
        if (changed)
            m_model->refreshEnvironment();
    }

    QString homePath(const QString& relative) const { return QDir(m_fixture->home).filePath(relative); }

    void buildCleanHome()
    {
        const CleanHomeLayout& layout = cleanHome();
        qint64 size = 48 * 1024;
        for (const QString& file : layout.cleanedFiles)
            SyntheticHome::file(homePath(file), size += 16 * 1024);
        SyntheticHome::file(homePath(layout.keptFile), 6000);
        SyntheticHome::file(homePath(layout.runningBrowserFile), 90 * 1024);
        CleanWhitelistStore::save(CleanWhitelistState{protectedEntries + QStringList{layout.keptEntry}},
                                  m_fixture->home);
    }

    void clearCleanHome()
    {
        for (const QString& root : cleanHome().roots)
            QDir(homePath(root)).removeRecursively();
    }

    // A stand-in for a browser: a program under the browser's process name that waits on its input.
    void keepBrowserRunning()
    {
        if (m_runningBrowser)
            return;
        const QString program = m_fixture->root.filePath(cleanHome().runningBrowserProcess);
        QVERIFY(QFile::exists(program) || QFile::copy(QStringLiteral("/bin/cat"), program));
        m_runningBrowser = std::make_unique<QProcess>();
        m_runningBrowser->start(program, {});
        QVERIFY2(m_runningBrowser->waitForStarted(), qPrintable(m_runningBrowser->errorString()));
    }

    void stopRunningBrowser()
    {
        if (!m_runningBrowser)
            return;
        m_runningBrowser->closeWriteChannel();
        if (!m_runningBrowser->waitForFinished())
            m_runningBrowser->kill();
        m_runningBrowser.reset();
    }

    // Runs a Smart Clean preview the way the page asks for one and waits until it has ended.
    void previewClean()
    {
        m_model->request(AppActionFactory::clean(true));
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isRunning(), 60000);
        QVERIFY(m_model->cleanPreviewReport().has_value());
    }

    static void collectItems(QQuickItem* root, const QString& name, QList<QQuickItem*>& found)
    {
        if (!root->isVisible())
            return;
        if (root->objectName() == name)
            found << root;
        const QList<QQuickItem*> children = root->childItems();
        for (QQuickItem* child : children)
            collectItems(child, name, found);
    }

    // The shown items of that name, in the order the page draws them.
    QList<QQuickItem*> shownItems(const QString& name) const
    {
        QList<QQuickItem*> found;
        collectItems(m_window->contentItem(), name, found);
        return found;
    }

    static QString textIn(QQuickItem* root, const char* name)
    {
        QQuickItem* found = findItem(root, QLatin1String(name));
        return found ? found->property("text").toString() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }

    // The rows of the results list must be the stored report's entries, in its order.
    void verifyRowsShowTheReport()
    {
        QVERIFY(m_model->cleanPreviewReport().has_value());
        const CleanPreviewReport& report = *m_model->cleanPreviewReport();
        const QList<QQuickItem*> rows = shownItems(QStringLiteral("cleanEntryRow"));
        QCOMPARE(rows.size(), qsizetype(report.entries.size()));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const CleanPreviewReport::Entry& entry = report.entries[size_t(i)];
            QCOMPARE(textIn(rows[i], "entryPath"), entry.path);
            QCOMPARE(textIn(rows[i], "entryNote"), entry.note.value_or(QString()));
            QCOMPARE(rows[i]->property("status").toString(), CleanPreviewReport::rawValue(entry.status));
        }
        QStringList sections;
        for (const CleanPreviewReport::Entry& entry : report.entries)
            if (!sections.contains(entry.section))
                sections << entry.section;
        QStringList shownSections;
        for (QQuickItem* title : shownItems(QStringLiteral("cleanSectionTitle")))
            shownSections << title->property("text").toString();
        QCOMPARE(shownSections, sections);
    }

    QQuickItem* rowShowing(const QString& pathPart) const
    {
        for (QQuickItem* row : shownItems(QStringLiteral("cleanEntryRow")))
            if (row->property("path").toString().contains(pathPart))
                return row;
        return nullptr;
    }

    // Scrolls the page so that the item's top is just below the page's top edge.
    void scrollPageTo(QQuickItem* target)
    {
        QQuickItem* page = currentPage();
        QQuickItem* contents = page->property("contentItem").value<QQuickItem*>();
        const qreal top = target->mapToItem(contents, QPointF()).y() - 12;
        const qreal end = std::max(0.0, page->property("contentHeight").toReal() - page->height());
        page->setProperty("contentY", std::clamp(top, 0.0, end));
    }

    // Items made by repeaters and loaders are found through the scene, not the object tree.
    static QQuickItem* findItem(QQuickItem* root, const QString& name)
    {
        if (root->objectName() == name)
            return root;
        const QList<QQuickItem*> children = root->childItems();
        for (QQuickItem* child : children) {
            if (QQuickItem* found = findItem(child, name))
                return found;
        }
        return nullptr;
    }

    QQuickItem* item(const QString& name) const { return findItem(m_window->contentItem(), name); }

    QObject* object(const QString& name) const
    {
        if (QObject* found = m_window->findChild<QObject*>(name))
            return found;
        return item(name);
    }

    QString textOf(const QString& name) const
    {
        QObject* found = object(name);
        return found ? found->property("text").toString() : QStringLiteral("<missing %1>").arg(name);
    }

    QQuickItem* currentPage() const
    {
        QQuickItem* loader = item(QStringLiteral("pageLoader"));
        return loader ? loader->property("item").value<QQuickItem*>() : nullptr;
    }

    QString pageText(const char* name) const
    {
        QQuickItem* page = currentPage();
        QObject* found = page ? page->findChild<QObject*>(QLatin1String(name)) : nullptr;
        return found ? found->property("text").toString() : QString();
    }

    bool popupOpen(const QString& name) const
    {
        QObject* popup = object(name);
        return popup && popup->property("opened").toBool();
    }

    // Scrolls the page that holds the item until the item is in view, as a person would.
    static void scrollIntoView(QQuickItem* target)
    {
        for (QQuickItem* ancestor = target->parentItem(); ancestor; ancestor = ancestor->parentItem()) {
            if (!ancestor->inherits("QQuickFlickable"))
                continue;
            QQuickItem* contents = ancestor->property("contentItem").value<QQuickItem*>();
            const qreal top = target->mapToItem(contents, QPointF()).y();
            const qreal room = ancestor->height() - target->height();
            const qreal wanted = std::clamp(top - room / 2, 0.0,
                                            std::max(0.0, ancestor->property("contentHeight").toReal() - ancestor->height()));
            ancestor->setProperty("contentY", wanted);
        }
    }

    void click(QQuickItem* target)
    {
        QVERIFY(target);
        QVERIFY2(target->isVisible(), qPrintable(target->objectName() + " is hidden"));
        scrollIntoView(target);
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    }

    // Texts that had to be cut short to fit: a label that elides is a clipped label.
    static void collectTruncatedTexts(QQuickItem* root, QStringList& found)
    {
        if (!root->isVisible())
            return;
        if (root->inherits("QQuickText") && root->property("truncated").toBool())
            found << root->property("text").toString();
        const QList<QQuickItem*> children = root->childItems();
        for (QQuickItem* child : children)
            collectTruncatedTexts(child, found);
    }

    QStringList truncatedTexts() const
    {
        QStringList found;
        collectTruncatedTexts(m_window->contentItem(), found);
        return found;
    }

    // Renders the window and keeps the picture; a blank picture means nothing was drawn.
    void photograph(const QString& name)
    {
        // The pointer rests in an empty part of the content area, so no hover shows in the picture.
        QTest::mouseMove(m_window, QPoint(m_window->width() - 40, m_window->height() / 2));
        const QImage image = m_window->grabWindow();
        QVERIFY2(!image.isNull(), "the window could not be drawn");
        QCOMPARE(image.size(), m_window->size() * m_window->devicePixelRatio());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 100, qPrintable(name + " looks blank"));

        const QString folder = screenshotFolder();
        if (QDir().mkpath(folder) && !image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")))
            qInfo("could not save the screenshot %s", qPrintable(name));
    }

    QString writeBackgroundImage(const QString& fileName) const
    {
        QImage image(640, 400, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient gradient(0, 0, 640, 400);
        gradient.setColorAt(0, QColor("#2b5876"));
        gradient.setColorAt(1, QColor("#4e4376"));
        painter.fillRect(image.rect(), gradient);
        painter.end();
        const QString path = m_fixture->root.filePath(fileName);
        return image.save(path) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>(AppLanguagePreference::english);
        QDir(m_fixture->home).mkpath(QStringLiteral("Library/Caches/com.example.app"));
        QDir(m_fixture->home).mkpath(QStringLiteral("Downloads"));
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)); // in the sandbox
        CleanWhitelistStore::save(CleanWhitelistState{protectedEntries}, m_fixture->home);
        m_model = m_fixture->makeModel();

        recordedWarnings().clear();
        previousHandler = qInstallMessageHandler(recordWarning);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        connect(m_engine.get(), &QQmlEngine::warnings, this, [](const QList<QQmlError>& errors) {
            for (const QQmlError& error : errors)
                recordedWarnings().append(error.toString());
        });
        KelvoWindow::load(*m_engine, *m_model);
        QVERIFY2(!m_engine->rootObjects().isEmpty(), qPrintable(recordedWarnings().join('\n')));
        m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().constFirst());
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup()
    {
        const QStringList warnings = recordedWarnings();
        recordedWarnings().clear();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
        useLanguage(AppLanguagePreference::english);
    }

    void cleanupTestCase()
    {
        stopRunningBrowser();
        m_engine.reset();
        qInstallMessageHandler(previousHandler);
        m_model.reset();
        m_fixture.reset();
    }

    void windowOpensAtItsSizeWithAHiddenTitleBar()
    {
        QCOMPARE(m_window->minimumSize(), QSize(980, 720));
        QCOMPARE(m_window->size(), QSize(1180, 780));
        QVERIFY(m_window->flags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_window->title(), QStringLiteral("Kelvo"));
        for (const char* button : {"windowButton_close", "windowButton_minimize", "windowButton_zoom"})
            QVERIFY2(item(QLatin1String(button)), button);
    }

    void startUpRanWhenTheWindowWasShown()
    {
        // The ready line replaces the controller's first status line and the version is known.
        QVERIFY(m_model->statusTitle() != QStringLiteral("准备就绪"));
        QVERIFY(m_model->versionText() != QStringLiteral("未检查"));
        QCOMPARE(textOf(QStringLiteral("statusTitle")), m_model->statusTitle());
        QCOMPARE(textOf(QStringLiteral("statusDetail")), m_model->statusDetail());
    }

    void sidebarListsTheEightFeaturesInOrder()
    {
        QObject* repeater = object(QStringLiteral("sidebarItems"));
        QVERIFY(repeater);
        QCOMPARE(repeater->property("count").toInt(), 8);
        const QStringList labels{"Overview",          "Smart Clean",     "Uninstall Apps",
                                 "Optimize",          "Storage Analysis", "Project Cleanup",
                                 "Installer Cleanup", "Settings"};
        qreal previousY = -1;
        for (int i = 0; i < 8; ++i) {
            const QString feature = AppFeatures::rawValue(AppFeatures::allCases[size_t(i)]);
            QQuickItem* entry = item(QStringLiteral("sidebarItem_") + feature);
            QVERIFY2(entry, qPrintable(feature));
            QCOMPARE(entry->property("text").toString(), labels[i]);
            const qreal y = entry->mapToScene(QPointF()).y();
            QVERIFY2(y > previousY, qPrintable(feature + " is out of order"));
            previousY = y;
        }
        QCOMPARE(textOf(QStringLiteral("brandName")), QStringLiteral("Kelvo"));
        QCOMPARE(textOf(QStringLiteral("brandSubtitle")), QStringLiteral("Mac Cleanup & Optimization"));
    }

    void everyPageShowsItsHeaderInBothLanguages_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("feature");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shot");
        struct Page {
            const char* feature;
            const char* zh;
            const char* en;
            const char* shot;
        };
        const Page pages[] = {{"dashboard", "概览", "Overview", "overview"},
                              {"clean", "清理", "Clean", "clean"},
                              {"uninstall", "卸载", "Uninstall", "uninstall"},
                              {"optimize", "优化", "Optimize", "optimize"},
                              {"analyze", "空间分析", "Storage Analysis", "analyze"},
                              {"purge", "项目瘦身", "Project Cleanup", "purge"},
                              {"installer", "安装包整理", "Installer Cleanup", "installer"},
                              {"maintenance", "设置", "Settings", "settings"}};
        for (AppLanguagePreference language : {AppLanguagePreference::english, AppLanguagePreference::chinese}) {
            for (const Page& page : pages) {
                const QString tag = languageTag(language);
                const QString title = QString::fromUtf8(language == AppLanguagePreference::chinese ? page.zh : page.en);
                QTest::addRow("%s %s", qPrintable(tag), page.feature)
                    << language << QString::fromLatin1(page.feature) << title
                    << tag + QLatin1Char('-') + QLatin1String(page.shot);
            }
        }
    }
    void everyPageShowsItsHeaderInBothLanguages()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, feature);
        QFETCH(QString, title);
        QFETCH(QString, shot);
        useLanguage(language);
        m_model->setSelectedFeatureRawValue(feature);

        QQuickItem* page = currentPage();
        QVERIFY(page);
        QCOMPARE(page->objectName(), QStringLiteral("page_") + feature);
        QCOMPARE(pageText("pageTitle"), title);
        for (AppFeature other : AppFeatures::allCases) {
            const QString raw = AppFeatures::rawValue(other);
            QQuickItem* entry = item(QStringLiteral("sidebarItem_") + raw);
            QVERIFY2(entry, qPrintable(raw));
            QCOMPARE(entry->property("selected").toBool(), raw == feature);
        }
        if (language == AppLanguagePreference::chinese) {
            const QString family = m_window->property("font").value<QFont>().family();
            QVERIFY2(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
                     qPrintable(family + " cannot draw Chinese"));
        }
        photograph(shot);
        QStringList clipped = truncatedTexts();
        QVERIFY2(clipped.isEmpty(), qPrintable("clipped: " + clipped.join(" | ")));

        // A page taller than the window is photographed again scrolled to its end.
        const qreal overflow = page->property("contentHeight").toReal() - page->height();
        if (overflow > 0) {
            page->setProperty("contentY", overflow);
            photograph(shot + QStringLiteral("-end"));
            clipped = truncatedTexts();
            QVERIFY2(clipped.isEmpty(), qPrintable("clipped: " + clipped.join(" | ")));
            page->setProperty("contentY", 0);
        }
    }

    void aboutBoxesListWhatEachPageChecks_data()
    {
        QTest::addColumn<QString>("feature");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::newRow("clean") << "clean" << "About This Cleanup" << "Checks 6 categories of leftovers";
        QTest::newRow("uninstall") << "uninstall" << "About This Scan"
                                   << "Checks apps and leftovers in these locations";
        QTest::newRow("optimize") << "optimize" << "About Optimization" << "";
        QTest::newRow("analyze") << "analyze" << "About This Analysis" << "";
        QTest::newRow("purge") << "purge" << "About This Scan" << "";
        QTest::newRow("installer") << "installer" << "About This Scan" << "";
    }
    void aboutBoxesListWhatEachPageChecks()
    {
        QFETCH(QString, feature);
        QFETCH(QString, title);
        QFETCH(QString, caption);
        m_model->setSelectedFeatureRawValue(feature);
        QCOMPARE(pageText("aboutTitle"), title);
        QCOMPARE(pageText("aboutCaption"), caption);
    }

    void cleanPageInvitesAFirstPreview_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // button, prompt, last run, footnote, panel title
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{"Preview", "Start with a preview", "Not cleaned yet",
                                           "Preview does not delete anything.", "Preview Results"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"预览", "先运行一次预览", "还没清理过", "预览不会删除任何内容。", "预览结果"};
    }
    void cleanPageInvitesAFirstPreview()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        QVERIFY2(!m_model->cleanPreviewReport().has_value(), "a preview ran before this test");
        useLanguage(language);
        m_model->setSelectedFeature(AppFeature::clean);

        QCOMPARE(textOf(QStringLiteral("cleanPreviewButton")), texts[0]);
        QVERIFY(item(QStringLiteral("cleanPreviewButton"))->isEnabled());
        QVERIFY(!item(QStringLiteral("cleanStartButton"))->isEnabled());
        QVERIFY(item(QStringLiteral("cleanProtectionButton"))->isEnabled());
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), texts[1]);
        QVERIFY(textOf(QStringLiteral("noticeDetail"))
                    .contains(QKeySequence(QStringLiteral("Ctrl+R")).toString(QKeySequence::NativeText)));
        QCOMPARE(textOf(QStringLiteral("lastRunLine")), texts[2]);
        QCOMPARE(textOf(QStringLiteral("toolbarFootnote")), texts[3]);
        QCOMPARE(textOf(QStringLiteral("resultsTitle")), texts[4]);
        QVERIFY(!item(QStringLiteral("resultsSummaryLine"))->isVisible());
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
        QVERIFY(shownItems(QStringLiteral("cleanEntryRow")).isEmpty());

        photograph(languageTag(language) + QStringLiteral("-clean-before"));
        const QStringList clipped = truncatedTexts();
        QVERIFY2(clipped.isEmpty(), qPrintable("clipped: " + clipped.join(" | ")));
    }

    void protectionListButtonOpensTheSheet()
    {
        m_model->setSelectedFeature(AppFeature::clean);
        click(item(QStringLiteral("cleanProtectionButton")));
        QVERIFY(m_model->showingCleanProtectionSheet());
        QVERIFY(popupOpen(QStringLiteral("protectionSheet")));
        click(item(QStringLiteral("protectionCancelButton")));
        QVERIFY(!popupOpen(QStringLiteral("protectionSheet")));
    }

    void previewOfAnEmptyHomeShowsTheEmptyState_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("button");
        QTest::newRow("en") << AppLanguagePreference::english << "No clear cleanup targets found"
                            << "This scan did not find anything that needs attention." << "Re-preview";
        QTest::newRow("zh") << AppLanguagePreference::chinese << "没有发现明显可清理项目"
                            << "本次检查没有需要重点处理的内容。" << "重新预览";
    }
    void previewOfAnEmptyHomeShowsTheEmptyState()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        QFETCH(QString, button);
        clearCleanHome();
        useLanguage(language);
        m_model->setSelectedFeature(AppFeature::clean);
        click(item(QStringLiteral("cleanPreviewButton")));
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isRunning(), 60000);
        QVERIFY(m_model->cleanPreviewReport().has_value());
        QVERIFY(m_model->cleanPreviewReport()->entries.empty());

        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("noticeTitle")), title);
        QCOMPARE(textOf(QStringLiteral("noticeDetail")), detail);
        QVERIFY(!item(QStringLiteral("resultsSummaryLine"))->isVisible());
        QVERIFY(!item(QStringLiteral("resultsSummaryDetail"))->isVisible());
        QVERIFY(shownItems(QStringLiteral("cleanEntryRow")).isEmpty());
        QCOMPARE(textOf(QStringLiteral("cleanPreviewButton")), button);
        QVERIFY(!item(QStringLiteral("cleanStartButton"))->isEnabled());
    }

    void previewListsEverySectionAndEntry_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QStringList>("texts"); // button, summary tail, summary head, skip message, chips
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{"User essentials", "Browsers", "Developer tools", "Trash"}
                            << QStringList{"Re-preview", " items. You will still confirm before real cleanup.",
                                           "Potential space: ", "Google Chrome is running, cache cleanup skipped",
                                           "Cleanable", "Skipped"};
        QTest::newRow("zh") << AppLanguagePreference::chinese << QStringList{"用户基础项目", "浏览器", "开发工具", "废纸篓"}
                            << QStringList{"重新预览", " 项，正式清理前仍会让你确认。", "预计可清理：",
                                           "Google Chrome 正在运行，缓存清理已跳过", "可清理", "已跳过"};
    }
    void previewListsEverySectionAndEntry()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, sections);
        QFETCH(QStringList, texts);
        buildCleanHome();
        keepBrowserRunning();
        useLanguage(language);
        m_model->setSelectedFeature(AppFeature::clean);
        previewClean();
        if (QTest::currentTestFailed())
            return;
        const CleanPreviewReport& report = *m_model->cleanPreviewReport();

        verifyRowsShowTheReport();
        QStringList shownSections;
        for (QQuickItem* title : shownItems(QStringLiteral("cleanSectionTitle")))
            shownSections << title->property("text").toString();
        QCOMPARE(shownSections, sections);
        for (const char* location : {".npm", ".gradle/caches"})
            QVERIFY2(rowShowing(homePath(QLatin1String(location))), location);
        QVERIFY(rowShowing(homePath(cleanHome().longLocation)));

        QCOMPARE(textOf(QStringLiteral("cleanPreviewButton")), texts[0]);
        QVERIFY(item(QStringLiteral("cleanStartButton"))->isEnabled());
        QVERIFY(!item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("resultsSummaryLine")), QString::number(report.entries.size()) + texts[1]);
        QCOMPARE(textOf(QStringLiteral("resultsSummaryDetail")), report.summary.value_or(QString()));
        QVERIFY(textOf(QStringLiteral("resultsSummaryDetail")).startsWith(texts[2]));

        // The running browser's cache is listed as skipped, and looks different from a cleanable row.
        QQuickItem* skipped = rowShowing(texts[3]);
        QVERIFY(skipped);
        QCOMPARE(textIn(skipped, "entryStatus"), texts[5]);
        QQuickItem* cleanable = rowShowing(homePath(QStringLiteral(".npm")));
        QCOMPARE(textIn(cleanable, "entryStatus"), texts[4]);
        QVERIFY(findItem(skipped, QStringLiteral("entryStatus"))->property("color") !=
                findItem(cleanable, QStringLiteral("entryStatus"))->property("color"));
        QVERIFY(findItem(skipped, QStringLiteral("entryPath"))->property("color") !=
                findItem(cleanable, QStringLiteral("entryPath"))->property("color"));

        scrollPageTo(item(QStringLiteral("resultsPanel")));
        photograph(languageTag(language) + QStringLiteral("-clean-preview"));
        // Only paths may be shortened, and they are shortened on purpose.
        for (const QString& clipped : truncatedTexts())
            QVERIFY2(rowShowing(clipped) && rowShowing(clipped)->property("path").toString() == clipped,
                     qPrintable("clipped: " + clipped));
    }

    void longPathsAreShortenedAndShownWholeInATooltip()
    {
        m_model->setSelectedFeature(AppFeature::clean);
        if (!m_model->cleanPreviewReport() || !rowShowing(homePath(cleanHome().longLocation))) {
            buildCleanHome();
            previewClean();
        }
        const QSize size = m_window->size();
        const auto restore = qScopeGuard([&] { m_window->resize(size); });
        m_window->resize(m_window->minimumSize());
        QTRY_COMPARE(m_window->size(), m_window->minimumSize());

        QQuickItem* row = rowShowing(homePath(cleanHome().longLocation));
        QVERIFY(row);
        QQuickItem* path = findItem(row, QStringLiteral("entryPath"));
        QTRY_VERIFY(path->property("truncated").toBool()); // once the narrower page is laid out
        QCOMPARE(path->property("text").toString(), homePath(cleanHome().longLocation));

        scrollIntoView(path);
        QObject* tip = path->findChild<QObject*>(QStringLiteral("pathToolTip"));
        QVERIFY(tip);
        QVERIFY(!tip->property("opened").toBool());
        QTest::mouseMove(m_window, path->mapToScene(QPointF(path->width() / 2, path->height() / 2)).toPoint());
        QTRY_VERIFY(tip->property("opened").toBool());
        QCOMPARE(tip->property("text").toString(), homePath(cleanHome().longLocation));

        // A path that fits gets no tooltip.
        QQuickItem* shortPath = findItem(rowShowing(homePath(QStringLiteral(".npm"))), QStringLiteral("entryPath"));
        QVERIFY(!shortPath->property("truncated").toBool());
        QTest::mouseMove(m_window, shortPath->mapToScene(QPointF(4, shortPath->height() / 2)).toPoint());
        QTRY_VERIFY(!tip->property("opened").toBool());
        QVERIFY(!shortPath->findChild<QObject*>(QStringLiteral("pathToolTip"))->property("visible").toBool());
    }

    void controlShortcutRunsThePreviewOnlyOnTheCleanPage()
    {
        m_model->setSelectedFeature(AppFeature::dashboard);
        // The page left behind is deleted once the event loop runs, as it always does between a
        // person's click and key press.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!m_model->isRunning());

        m_model->setSelectedFeature(AppFeature::clean);
        const QDateTime before = m_model->cleanPreviewReport() ? m_model->cleanPreviewReport()->generatedAt : QDateTime();
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(m_model->isRunning());
        QCOMPARE(m_model->runningFeature(), std::optional<AppFeature>(AppFeature::clean));
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isRunning(), 60000);
        QVERIFY(m_model->cleanPreviewReport().has_value());
        QVERIFY(!before.isValid() || m_model->cleanPreviewReport()->generatedAt > before);
    }

    void keysScrollTheResults()
    {
        buildCleanHome();
        m_model->setSelectedFeature(AppFeature::clean);
        previewClean();
        QQuickItem* page = currentPage();
        const qreal end = page->property("contentHeight").toReal() - page->height();
        QVERIFY2(end > page->height() / 2, "the page is too short to scroll");

        QQuickItem* results = item(QStringLiteral("resultsPanel"));
        click(results);
        QVERIFY(results->hasActiveFocus());
        page->setProperty("contentY", 0);

        QTest::keyClick(m_window, Qt::Key_Down);
        const qreal step = page->property("contentY").toReal();
        QVERIFY(step > 0);
        QTest::keyClick(m_window, Qt::Key_Down);
        QCOMPARE(page->property("contentY").toReal(), 2 * step);
        QTest::keyClick(m_window, Qt::Key_Up);
        QCOMPARE(page->property("contentY").toReal(), step);
        QTest::keyClick(m_window, Qt::Key_End);
        QCOMPARE(page->property("contentY").toReal(), end);
        QTest::keyClick(m_window, Qt::Key_Down); // already at the end
        QCOMPARE(page->property("contentY").toReal(), end);
        QTest::keyClick(m_window, Qt::Key_PageUp);
        QVERIFY(page->property("contentY").toReal() < end - step);
        QTest::keyClick(m_window, Qt::Key_Home);
        QCOMPARE(page->property("contentY").toReal(), 0.0);
        QTest::keyClick(m_window, Qt::Key_PageDown);
        QVERIFY(page->property("contentY").toReal() > step);
        // The keys moved the page, not the sidebar's choice.
        QCOMPARE(m_model->selectedFeature(), AppFeature::clean);
        item(QStringLiteral("sidebar"))->forceActiveFocus();
    }

    void cancellingAPreviewKeepsTheLastResults()
    {
        buildCleanHome();
        m_model->setSelectedFeature(AppFeature::clean);
        previewClean();
        if (QTest::currentTestFailed())
            return;
        const CleanPreviewReport previous = *m_model->cleanPreviewReport();

        // Every worker is kept busy, so the new preview cannot start before it is cancelled. Drawing
        // uses the same workers, so nothing may be drawn until they are released: the buttons are
        // pressed through their signals, not with the pointer.
        QThreadPool* pool = QThreadPool::globalInstance();
        const int workers = pool->maxThreadCount();
        QSemaphore started;
        QSemaphore release;
        for (int i = 0; i < workers; ++i)
            pool->start([&] {
                started.release();
                release.acquire();
            });
        auto releaseWorkers = qScopeGuard([&] { release.release(workers); });
        started.acquire(workers);

        QQuickItem* previewButton = item(QStringLiteral("cleanPreviewButton"));
        QVERIFY(previewButton->isEnabled());
        QMetaObject::invokeMethod(previewButton, "clicked");
        QVERIFY(m_model->isRunning());
        QVERIFY(item(QStringLiteral("runProgress"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("runProgressTitle")), QStringLiteral("Working, please wait."));
        QCOMPARE(textOf(QStringLiteral("runCancelButton")), QStringLiteral("Cancel"));
        for (const char* button : {"cleanPreviewButton", "cleanStartButton", "cleanProtectionButton"})
            QVERIFY2(!item(QLatin1String(button))->isEnabled(), button);
        verifyRowsShowTheReport(); // the last results stay on screen meanwhile

        QQuickItem* cancelButton = item(QStringLiteral("runCancelButton"));
        QVERIFY(cancelButton->isVisible() && cancelButton->isEnabled());
        QMetaObject::invokeMethod(cancelButton, "clicked");
        releaseWorkers.dismiss();
        release.release(workers);
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isRunning(), 60000);
        QCOMPARE(m_model->statusTitle(), QStringLiteral("Preview Cancelled"));
        QVERIFY(m_model->cleanPreviewReport() == previous);
        verifyRowsShowTheReport();
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
        QVERIFY(item(QStringLiteral("cleanPreviewButton"))->isEnabled());
        QVERIFY(item(QStringLiteral("cleanStartButton"))->isEnabled());
    }

    void startCleaningAsksThenCleansTheHome_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts"); // dialog title, done title, last run head, count tail
        QTest::newRow("en") << AppLanguagePreference::english
                            << QStringList{"Confirm Action", "Cleanup Complete", "Last cleaned ", " items"};
        QTest::newRow("zh") << AppLanguagePreference::chinese
                            << QStringList{"确认操作", "清理完成", "上次清理 ", " 项"};
    }
    void startCleaningAsksThenCleansTheHome()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        buildCleanHome();
        keepBrowserRunning();
        useLanguage(language);
        m_model->setSelectedFeature(AppFeature::clean);
        previewClean();
        if (QTest::currentTestFailed())
            return;
        const QDateTime previewedAt = m_model->cleanPreviewReport()->generatedAt;
        const std::optional<QString> previewedSummary = m_model->cleanPreviewReport()->summary;

        click(item(QStringLiteral("cleanStartButton")));
        QVERIFY(m_model->pendingAction().has_value());
        QVERIFY(popupOpen(QStringLiteral("confirmDialog")));
        QObject* dialog = object(QStringLiteral("confirmDialog"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertTitle"))->property("text").toString(), texts[0]);
        photograph(languageTag(language) + QStringLiteral("-clean-confirm"));
        for (const QString& file : cleanHome().cleanedFiles)
            QVERIFY2(SyntheticHome::exists(homePath(file)), qPrintable(file + " went before the confirmation"));

        const double startedAt = double(QDateTime::currentSecsSinceEpoch());
        click(item(QStringLiteral("confirmContinueButton")));
        QTRY_VERIFY_WITH_TIMEOUT(!m_model->isRunning(), 60000);
        QVERIFY(!popupOpen(QStringLiteral("confirmDialog")));

        for (const QString& file : cleanHome().cleanedFiles)
            QVERIFY2(!SyntheticHome::exists(homePath(file)), qPrintable(file + " is still there"));
        QVERIFY(SyntheticHome::exists(homePath(cleanHome().keptFile)));
        QCOMPARE(textOf(QStringLiteral("statusTitle")), texts[1]);

        QVERIFY(m_model->lastCleanCount() > 0);
        QVERIFY(m_model->lastCleanDate() >= startedAt);
        const QString when = QDateTime::fromMSecsSinceEpoch(qint64(m_model->lastCleanDate() * 1000))
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        QCOMPARE(textOf(QStringLiteral("lastRunLine")),
                 texts[2] + when + QStringLiteral(" · ") + QString::number(m_model->lastCleanCount()) + texts[3]);

        // The list now shows what is left, measured after cleaning.
        QVERIFY(m_model->cleanPreviewReport().has_value());
        QVERIFY(m_model->cleanPreviewReport()->generatedAt > previewedAt);
        QVERIFY(m_model->cleanPreviewReport()->summary != previewedSummary);
        verifyRowsShowTheReport();
        QCOMPARE(textOf(QStringLiteral("resultsSummaryDetail")), m_model->cleanPreviewReport()->summary.value_or(QString()));
    }

    void switchingLanguageRelabelsTheWindowAtOnce()
    {
        m_model->setSelectedFeature(AppFeature::clean);
        QCOMPARE(textOf(QStringLiteral("sidebarItem_clean")), QStringLiteral("Smart Clean"));
        QCOMPARE(pageText("pageTitle"), QStringLiteral("Clean"));

        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(textOf(QStringLiteral("sidebarItem_clean")), QStringLiteral("智能清理"));
        QCOMPARE(textOf(QStringLiteral("sidebarItem_maintenance")), QStringLiteral("设置"));
        QCOMPARE(textOf(QStringLiteral("brandSubtitle")), QStringLiteral("Mac 清理与优化"));
        QCOMPARE(pageText("pageTitle"), QStringLiteral("清理"));
        QCOMPARE(pageText("aboutTitle"), QStringLiteral("关于本次清理"));
    }

    void languageChoiceOnTheSettingsPageSwitchesTheLanguage()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QCOMPARE(item(QStringLiteral("languageChoice"))->property("value").toString(), QStringLiteral("english"));

        click(item(QStringLiteral("segment_chinese")));
        QCOMPARE(LocalizationSettings::shared().preference(), AppLanguagePreference::chinese);
        QCOMPARE(textOf(QStringLiteral("sidebarItem_dashboard")), QStringLiteral("概览"));
        QCOMPARE(item(QStringLiteral("languageChoice"))->property("value").toString(), QStringLiteral("chinese"));

        click(item(QStringLiteral("segment_english")));
        QCOMPARE(LocalizationSettings::shared().preference(), AppLanguagePreference::english);
        QCOMPARE(textOf(QStringLiteral("sidebarItem_dashboard")), QStringLiteral("Overview"));
    }

    void sidebarFollowsClicksArrowsAndShortcuts()
    {
        m_model->setSelectedFeature(AppFeature::dashboard);
        click(item(QStringLiteral("sidebarItem_optimize")));
        QCOMPARE(m_model->selectedFeature(), AppFeature::optimize);
        QCOMPARE(currentPage()->objectName(), QStringLiteral("page_optimize"));

        QVERIFY(item(QStringLiteral("sidebar"))->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_Down);
        QCOMPARE(m_model->selectedFeature(), AppFeature::analyze);
        QTest::keyClick(m_window, Qt::Key_Up);
        QTest::keyClick(m_window, Qt::Key_Up);
        QCOMPARE(m_model->selectedFeature(), AppFeature::uninstall);

        QTest::keyClick(m_window, Qt::Key_8, Qt::ControlModifier);
        QCOMPARE(m_model->selectedFeature(), AppFeature::maintenance);
        QTest::keyClick(m_window, Qt::Key_Down); // already the last item
        QCOMPARE(m_model->selectedFeature(), AppFeature::maintenance);
        QTest::keyClick(m_window, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(m_model->selectedFeature(), AppFeature::dashboard);
        QTest::keyClick(m_window, Qt::Key_Up); // already the first item
        QCOMPARE(m_model->selectedFeature(), AppFeature::dashboard);
    }

    void runningFeatureIsMarkedWhileItRuns()
    {
        m_model->setSelectedFeature(AppFeature::dashboard);
        QFuture<void> run = m_model->execute(AppActionFactory::clean(true));
        if (!m_model->isRunning()) {
            run.waitForFinished();
            QSKIP("the preview finished within the call, so there is no running state to observe");
        }
        QQuickItem* marked = item(QStringLiteral("sidebarItem_clean"));
        QQuickItem* unmarked = item(QStringLiteral("sidebarItem_dashboard"));
        QVERIFY(marked && unmarked);
        QVERIFY(findItem(marked, QStringLiteral("runningIndicator"))->isVisible());
        QVERIFY(!findItem(unmarked, QStringLiteral("runningIndicator"))->isVisible());
        QVERIFY(item(QStringLiteral("statusBusyIndicator"))->isVisible());
        QCOMPARE(textOf(QStringLiteral("statusDetail")), QStringLiteral("Working, please wait."));

        QVERIFY(QTest::qWaitFor([&] { return run.isFinished(); }, 120000));
        QVERIFY(!m_model->isRunning());
        QVERIFY(!findItem(marked, QStringLiteral("runningIndicator"))->isVisible());
        QVERIFY(!item(QStringLiteral("statusBusyIndicator"))->isVisible());
    }

    void parkedActionAsksForConfirmation_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("confirm");
        QTest::newRow("en") << AppLanguagePreference::english << "Confirm Action" << "Cancel" << "Continue";
        QTest::newRow("zh") << AppLanguagePreference::chinese << "确认操作" << "取消" << "继续";
    }
    void parkedActionAsksForConfirmation()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        QFETCH(QString, cancel);
        QFETCH(QString, confirm);
        useLanguage(language);
        m_model->setSelectedFeature(AppFeature::clean);
        QVERIFY(!popupOpen(QStringLiteral("confirmDialog")));

        const AppAction action = AppActionFactory::clean(false);
        QVERIFY(action.isDestructive);
        m_model->request(action);
        QVERIFY(m_model->pendingAction().has_value());
        QVERIFY(popupOpen(QStringLiteral("confirmDialog")));
        QObject* dialog = object(QStringLiteral("confirmDialog"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertTitle"))->property("text").toString(), title);
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertMessage"))->property("text").toString(),
                 action.detail);
        QCOMPARE(textOf(QStringLiteral("confirmCancelButton")), cancel);
        QCOMPARE(textOf(QStringLiteral("confirmContinueButton")), confirm);
        photograph(languageTag(language) + QStringLiteral("-confirm"));

        click(item(QStringLiteral("confirmCancelButton")));
        QVERIFY(!m_model->pendingAction().has_value());
        QVERIFY(!popupOpen(QStringLiteral("confirmDialog")));
        QVERIFY(!m_model->isRunning());
    }

    void escapeCancelsAParkedAction()
    {
        m_model->request(AppActionFactory::clean(false));
        QVERIFY(popupOpen(QStringLiteral("confirmDialog")));
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(!m_model->pendingAction().has_value());
        QVERIFY(!popupOpen(QStringLiteral("confirmDialog")));
    }

    void protectionListSheetEditsTheStoredList_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("en") << AppLanguagePreference::english << "Protection List";
        QTest::newRow("zh") << AppLanguagePreference::chinese << "保护名单";
    }
    void protectionListSheetEditsTheStoredList()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        useLanguage(language);
        CleanWhitelistStore::save(CleanWhitelistState{protectedEntries}, m_fixture->home);
        m_model->setSelectedFeature(AppFeature::maintenance);

        click(item(QStringLiteral("cleanProtectionEntry")));
        QVERIFY(m_model->showingCleanProtectionSheet());
        QVERIFY(popupOpen(QStringLiteral("protectionSheet")));
        QCOMPARE(textOf(QStringLiteral("protectionSheetTitle")), title);
        QQuickItem* editor = item(QStringLiteral("protectionTextArea"));
        QVERIFY(editor);
        QCOMPARE(editor->property("text").toString(), protectedEntries.join('\n'));
        photograph(languageTag(language) + QStringLiteral("-protection-sheet"));

        // Typing goes to the controller's text; Save writes it and closes the sheet.
        QVERIFY(editor->hasActiveFocus());
        editor->setProperty("cursorPosition", editor->property("length"));
        QTest::keyClick(m_window, Qt::Key_Return);
        for (const char letter : QByteArrayLiteral("~/Projects/keep"))
            if (letter != '\0')
                QTest::keyClick(m_window, letter);
        QVERIFY(m_model->cleanWhitelistText().endsWith(QStringLiteral("\n~/Projects/keep")));
        click(item(QStringLiteral("protectionSaveButton")));
        QVERIFY(!m_model->showingCleanProtectionSheet());
        QVERIFY(!popupOpen(QStringLiteral("protectionSheet")));
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns, protectedEntries + QStringList{"~/Projects/keep"});
        QVERIFY(item(QStringLiteral("sidebar"))->hasActiveFocus());
    }

    void protectionListSheetRestoresDefaultsWithoutSaving()
    {
        CleanWhitelistStore::save(CleanWhitelistState{protectedEntries}, m_fixture->home);
        m_model->request(AppActionFactory::cleanWhitelist());
        QVERIFY(popupOpen(QStringLiteral("protectionSheet")));

        click(item(QStringLiteral("protectionRestoreButton")));
        QCOMPARE(item(QStringLiteral("protectionTextArea"))->property("text").toString(),
                 CleanWhitelistStore::defaultPatterns().join('\n'));
        click(item(QStringLiteral("protectionCancelButton")));
        QVERIFY(!m_model->showingCleanProtectionSheet());
        QVERIFY(!popupOpen(QStringLiteral("protectionSheet")));
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns, protectedEntries);
    }

    void escapeClosesTheProtectionListSheet()
    {
        m_model->request(AppActionFactory::cleanWhitelist());
        QVERIFY(popupOpen(QStringLiteral("protectionSheet")));
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(!m_model->showingCleanProtectionSheet());
        QVERIFY(!popupOpen(QStringLiteral("protectionSheet")));
    }

    void alertMessageIsShownUntilDismissed()
    {
        m_model->chooseWindowBackgroundImage(QUrl::fromLocalFile(m_fixture->root.filePath(QStringLiteral("missing.png"))));
        QVERIFY(m_model->alertMessage().has_value());
        QVERIFY(popupOpen(QStringLiteral("messageDialog")));
        QObject* dialog = object(QStringLiteral("messageDialog"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertTitle"))->property("text").toString(),
                 QStringLiteral("Kelvo"));
        QCOMPARE(dialog->findChild<QObject*>(QStringLiteral("alertMessage"))->property("text").toString(),
                 *m_model->alertMessage());
        click(item(QStringLiteral("messageOkButton")));
        QVERIFY(!m_model->alertMessage().has_value());
        QVERIFY(!popupOpen(QStringLiteral("messageDialog")));
    }

    void chosenBackgroundImageIsDrawnBehindThePanels()
    {
        m_model->setSelectedFeature(AppFeature::dashboard);
        m_model->setSelectedFeature(AppFeature::maintenance);
        QQuickItem* image = item(QStringLiteral("customBackgroundImage"));
        QVERIFY(image);
        QVERIFY(!image->isVisible());
        QVERIFY(!item(QStringLiteral("clearBackgroundButton"))->isVisible());

        const QString source = writeBackgroundImage(QStringLiteral("Evening Sky.png"));
        QVERIFY(!source.isEmpty());
        m_model->chooseWindowBackgroundImage(QUrl::fromLocalFile(source));
        QVERIFY(!m_model->alertMessage().has_value());
        QVERIFY(image->isVisible());
        const QString shown = image->property("source").toUrl().toString();
        QVERIFY2(shown.startsWith(m_model->customWindowBackgroundURL().toString()), qPrintable(shown));
        QVERIFY2(shown.endsWith(QStringLiteral("revision=%1").arg(m_model->windowBackgroundRevision())),
                 qPrintable(shown));
        QCOMPARE(image->property("status").toInt(), 1); // Image.Ready: the file behind the URL loaded
        photograph(QStringLiteral("en-settings-background"));

        // Choosing again reloads even though the folder and extension are the same.
        m_model->chooseWindowBackgroundImage(QUrl::fromLocalFile(source));
        QVERIFY(image->property("source").toUrl().toString().endsWith(
            QStringLiteral("revision=%1").arg(m_model->windowBackgroundRevision())));
        QCOMPARE(image->property("status").toInt(), 1);

        click(item(QStringLiteral("clearBackgroundButton")));
        QVERIFY(m_model->customWindowBackgroundURL().isEmpty());
        QVERIFY(!image->isVisible());
    }

    void backgroundButtonOpensTheImageChooser()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QObject* chooser = currentPage()->findChild<QObject*>(QStringLiteral("backgroundImageChooser"));
        QVERIFY(chooser);
        QVERIFY(!chooser->property("visible").toBool());
        click(item(QStringLiteral("chooseBackgroundButton")));
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("title").toString(),
                 QStringLiteral("Choose an image for the Kelvo window background."));
        QCOMPARE(chooser->property("acceptLabel").toString(), QStringLiteral("Choose"));
        QCOMPARE(chooser->property("currentFolder").toUrl(),
                 QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)));
        const QStringList filters = chooser->property("nameFilters").toStringList();
        QCOMPARE(filters.size(), 1);
        for (const char* extension : {"png", "jpg", "jpeg", "heic", "webp", "tiff", "bmp", "gif"})
            QVERIFY2(filters.first().contains(QStringLiteral("*.") + QLatin1String(extension)), extension);
        QMetaObject::invokeMethod(chooser, "reject");
        QVERIFY(!chooser->property("visible").toBool());
        QVERIFY(m_model->customWindowBackgroundURL().isEmpty());
    }

    void imageAcceptedInTheChooserBecomesTheBackground()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QObject* chooser = currentPage()->findChild<QObject*>(QStringLiteral("backgroundImageChooser"));
        QVERIFY(chooser);
        const QString source = writeBackgroundImage(QStringLiteral("Sky #2 über.png"));
        QVERIFY(!source.isEmpty());
        // The chooser reports the file as a URL (here with characters that URLs escape).
        chooser->setProperty("selectedFile", QUrl::fromLocalFile(source));
        QMetaObject::invokeMethod(chooser, "accepted");
        QVERIFY(!m_model->alertMessage().has_value());
        QVERIFY(!m_model->customWindowBackgroundURL().isEmpty());
        QVERIFY(item(QStringLiteral("customBackgroundImage"))->isVisible());
        m_model->clearWindowBackgroundImage();
    }

    void healthAuraSwitchChangesTheStoredSetting()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QQuickItem* toggle = item(QStringLiteral("healthAuraSwitch"));
        QVERIFY(toggle);
        const bool before = m_model->showHealthAura();
        QCOMPARE(toggle->property("checked").toBool(), before);
        click(toggle);
        QCOMPARE(m_model->showHealthAura(), !before);
        m_model->setShowHealthAura(before);
        QCOMPARE(toggle->property("checked").toBool(), before);
    }

    void permissionButtonsOnlyWhereSystemSettingsExist()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QQuickItem* button = item(QStringLiteral("fullDiskAccessButton"));
        QVERIFY(button);
        QCOMPARE(button->isVisible(), m_model->canOpenSystemSettings());
        QCOMPARE(item(QStringLiteral("appDataAccessButton"))->isVisible(), m_model->canOpenSystemSettings());
    }
};

KELVO_REGISTER_TEST(TestWindow)
#include "tst_Window.moc"
