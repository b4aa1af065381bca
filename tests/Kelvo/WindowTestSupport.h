#pragma once

// Drives the Kelvo window as a person would, over a real controller on a synthetic home: finds items
// through the scene, reads their texts, clicks them and photographs the window. Every warning printed
// while the window is open is recorded.

#include "AppModelFixture.h"
#include "KelvoWindow.h"
#include "SyntheticHome.h"

#include "vocabulary/SizeText.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSemaphore>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QThreadPool>
#include <QtQuickTest/quicktest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

// A file of the synthetic home and its size.
struct SizedFile {
    const char* path; // in the home folder
    qint64 size;
};

class WindowTestCase : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { verifyNoWarnings(); }
    void cleanupTestCase()
    {
        closeWindow();
        m_model.reset();
        m_fixture.reset();
    }

protected:
    std::unique_ptr<AppModelFixture> m_fixture;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;

    static QStringList& warnings()
    {
        static QStringList recorded;
        return recorded;
    }
    static QtMessageHandler& previousHandler()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void recordWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
            warnings().append(message);
        if (previousHandler())
            previousHandler()(type, context, message);
    }

    AppModel& model() { return *m_model; }
    QString homePath(const QString& relative) const { return QDir(m_fixture->home).filePath(relative); }

    template <class Files = std::initializer_list<SizedFile>> void writeFiles(const Files& files) const
    {
        for (const auto& [path, size] : files)
            SyntheticHome::file(homePath(path), size);
    }
    // Where the sandbox's Trash keeps moved items (the test harness points XDG_DATA_HOME at it).
    static QString trashedItem(const QString& name)
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/" + name;
    }

    // Shows the feature's page; the page left behind is deleted at once, as the event loop would
    // between a person's clicks, so that only the shown page's texts are found.
    void showPage(AppFeature feature)
    {
        model().setSelectedFeature(feature);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void showPage(const QString& feature) { showPage(AppFeatures::fromRawValue(feature).value()); }
    void waitForTheRun() { QTRY_VERIFY_WITH_TIMEOUT(!model().runs()->isRunning(), 60000); }

    void openWindow()
    {
        m_model = m_fixture->makeModel();
        previousHandler() = qInstallMessageHandler(recordWarning);
        m_engine = std::make_unique<QQmlApplicationEngine>();
        connect(m_engine.get(), &QQmlEngine::warnings, this, [](const QList<QQmlError>& errors) {
            for (const QQmlError& error : errors)
                warnings().append(error.toString());
        });
        KelvoWindow::load(*m_engine, *m_model);
        QVERIFY2(!m_engine->rootObjects().isEmpty(), qPrintable(warnings().join('\n')));
        m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().constFirst());
        QVERIFY(m_window && QTest::qWaitForWindowExposed(m_window));
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void closeWindow()
    {
        m_engine.reset();
        qInstallMessageHandler(previousHandler());
    }

    // Fails the test that printed a warning, and goes back to English.
    void verifyNoWarnings()
    {
        const QString printed = warnings().join('\n');
        warnings().clear();
        useLanguage(AppLanguagePreference::english);
        QVERIFY2(printed.isEmpty(), qPrintable(printed));
    }

    // The status line is redrawn in the new language, as a fresh start would draw it.
    void useLanguage(AppLanguagePreference language)
    {
        const bool changed = LocalizationSettings::shared().preference() != language;
        LocalizationSettings::shared().setPreference(language);
        if (changed)
            m_model->appearance()->refreshEnvironment();
    }

    // The languages tables run over, with the tags of their rows.
    static constexpr std::pair<const char*, AppLanguagePreference> languages[] = {
        {"en", AppLanguagePreference::english}, {"zh", AppLanguagePreference::chinese}};
    static QStringList splitTexts(const char* texts) { return QString::fromUtf8(texts).split('|'); }

    // Tables over both languages have the rows "en" and "zh", their texts written with | between them.
    // Rows that also differ in other columns start with one text for each column named in `columns`.
    static void languageRows(const char* en, const char* zh, std::initializer_list<const char*> columns = {})
    {
        QTest::addColumn<AppLanguagePreference>("language");
        for (const char* column : columns)
            QTest::addColumn<QString>(column);
        QTest::addColumn<QStringList>("texts");
        for (const auto& [tag, language] : languages) {
            QStringList texts = splitTexts(language == AppLanguagePreference::english ? en : zh);
            QTestData& row = QTest::newRow(tag) << language;
            for (qsizetype i = 0; i < qsizetype(columns.size()); ++i)
                row << texts.takeFirst();
            row << texts;
        }
    }
    static QString shotName(const char* what) { return QString(QTest::currentDataTag()) + '-' + what; }

    // Switches to the row's language and returns the row's texts.
    QStringList rowTexts()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QStringList, texts);
        useLanguage(language);
        return texts;
    }

    // Items made by repeaters and loaders are found through the scene, in the order they are drawn.
    static QList<QQuickItem*> itemsUnder(QQuickItem* root, const std::function<bool(QQuickItem*)>& wanted,
                                         bool shownOnly)
    {
        QList<QQuickItem*> found;
        if (shownOnly && !root->isVisible())
            return found;
        if (wanted(root))
            found << root;
        const QList<QQuickItem*> children = root->childItems();
        for (QQuickItem* child : children)
            found += itemsUnder(child, wanted, shownOnly);
        return found;
    }
    static auto named(const QString& name)
    {
        return [name](QQuickItem* item) { return item->objectName() == name; };
    }
    static QQuickItem* findItem(QQuickItem* root, const QString& name)
    {
        return itemsUnder(root, named(name), false).value(0);
    }
    QQuickItem* item(const QString& name) const { return findItem(m_window->contentItem(), name); }
    QList<QQuickItem*> shown(const QString& name) const
    {
        return itemsUnder(m_window->contentItem(), named(name), true);
    }
    QObject* object(const QString& name) const { return m_window->findChild<QObject*>(name); }
    bool popupOpen(const QString& name) const
    {
        return object(name) && object(name)->property("opened").toBool();
    }
    QQuickItem* currentPage() const { return item("pageLoader")->property("item").value<QQuickItem*>(); }

    // The texts of the named children of root (names separated by spaces), as objects or in the scene.
    static QStringList textsIn(QObject* root, const QString& names)
    {
        QStringList texts;
        for (const QString& name : names.split(' ')) {
            QObject* found = root->findChild<QObject*>(name);
            auto* window = qobject_cast<QQuickWindow*>(root);
            if (QQuickItem* scene = window ? window->contentItem() : qobject_cast<QQuickItem*>(root);
                !found && scene)
                found = findItem(scene, name);
            texts << (found ? found->property("text").toString() : "<missing " + name + ">");
        }
        return texts;
    }
    static QString textIn(QObject* root, const QString& name) { return textsIn(root, name).constFirst(); }
    static QStringList textsOf(const QList<QQuickItem*>& items)
    {
        QStringList texts;
        for (QQuickItem* item : items)
            texts << item->property("text").toString();
        return texts;
    }
    QStringList textsOf(const QString& names) const { return textsIn(m_window, names); }
    QString textOf(const QString& name) const { return textIn(m_window, name); }
    // The first shown item of that name whose property has the value.
    QQuickItem* shownWith(const QString& name, const char* property, const QVariant& value) const
    {
        for (QQuickItem* found : shown(name))
            if (found->property(property) == value)
                return found;
        return nullptr;
    }
    // The first shown row of that name whose name reads as given.
    QQuickItem* rowNamed(const QString& rows, const QString& name) const
    {
        for (QQuickItem* row : shown(rows))
            if (textIn(row, "rowName") == name)
                return row;
        return nullptr;
    }
    QStringList rowNames(const QString& rows) const { return linesIn(shown(rows), "rowName"); }

    // One line per item: the texts of its named children (names separated by spaces), so that rows
    // compare with a report's entries in one QCOMPARE.
    static QStringList linesIn(const QList<QQuickItem*>& items, const QString& children)
    {
        QStringList lines;
        for (QQuickItem* found : items)
            lines << textsIn(found, children).join(" ¦ ");
        return lines;
    }
    // One line per entry of a report's list: its values under the keys (separated by spaces); a key
    // ending in # names a byte count, written as the window writes sizes.
    static QStringList linesOf(const QVariantList& entries, const QString& keys)
    {
        QStringList lines;
        for (const QVariant& entry : entries) {
            QStringList values;
            for (const QString& key : keys.split(' '))
                values << (key.endsWith('#') ? SizeText::bytes(entry.toMap()[key.chopped(1)].toLongLong())
                                             : entry.toMap()[key].toString());
            lines << values.join(" ¦ ");
        }
        return lines;
    }

    // Clicks the item, or the item of that name, and waits for the dialog (or menu) to open.
    bool opens(const QString& dialog, QQuickItem* target)
    {
        click(target);
        return !QTest::currentTestFailed() && QTest::qWaitFor([&] { return popupOpen(dialog); });
    }
    bool opens(const QString& dialog, const QString& name) { return opens(dialog, item(name)); }
    // Clicks the named button, or presses Escape for "Escape", and waits for the dialog to close.
    bool closes(const QString& dialog, const QString& button)
    {
        if (button == "Escape")
            QTest::keyClick(m_window, Qt::Key_Escape);
        else
            click(button);
        return !QTest::currentTestFailed() && QTest::qWaitFor([&] { return !popupOpen(dialog); });
    }
    // Presses the named button through its signal, as while workers are held.
    void press(const QString& name) { QMetaObject::invokeMethod(item(name), "clicked"); }

    QString pageText(const char* name) const
    {
        QObject* found = currentPage()->findChild<QObject*>(name);
        return found ? found->property("text").toString() : QString();
    }

    // Checks the named items (separated by spaces): "name" shown and enabled, "!name" shown but
    // disabled, "-name" hidden.
    void verifyStates(const QString& expected) const
    {
        QStringList actual;
        for (QString name : expected.split(' ')) {
            const QQuickItem* found = item(name.remove('!').remove('-'));
            actual << (!found ? "?" : !found->isVisible() ? "-" : !found->isEnabled() ? "!" : "") + name;
        }
        QCOMPARE(actual.join(' '), expected);
    }

    // Scrolls every page holding the item until the item is centred, or the innermost page until the
    // item is just below its top.
    static void scrollIntoView(QQuickItem* target, bool toTop = false)
    {
        for (QQuickItem* page = target->parentItem(); page; page = page->parentItem()) {
            if (!page->inherits("QQuickFlickable"))
                continue;
            const qreal top = target->mapToItem(page->property("contentItem").value<QQuickItem*>(), {}).y();
            const qreal end = std::max(0.0, page->property("contentHeight").toReal() - page->height());
            const qreal wanted = toTop ? top - 12 : top - (page->height() - target->height()) / 2;
            page->setProperty("contentY", std::clamp(wanted, 0.0, end));
            if (toTop)
                return;
        }
    }

    void click(QQuickItem* target)
    {
        QVERIFY2(target && target->isVisible(), "clicking a missing or hidden item");
        // Rows that a new report just created are placed when the window next polishes its layouts.
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        scrollIntoView(target);
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QTest::mouseClick(m_window, Qt::LeftButton, {},
                          target->mapToScene(target->boundingRect().center()).toPoint());
    }
    void click(const QString& name) { click(item(name)); }

    // Texts cut short to fit.
    QStringList truncatedTexts() const
    {
        const auto cut = [](QQuickItem* text) {
            return text->inherits("QQuickText") && text->property("truncated").toBool();
        };
        return textsOf(itemsUnder(m_window->contentItem(), cut, true));
    }

    // Renders the window and keeps the picture next to the test, or in docs/screenshots with
    // KELVO_SCREENSHOTS=1. A blank picture means nothing was drawn; a folder that cannot be written
    // is no failure.
    void photograph(const QString& name)
    {
        QTest::mouseMove(m_window, QPoint(m_window->width() - 40, m_window->height() / 2)); // no hover shown
        const QImage image = m_window->grabWindow();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 100, qPrintable(name + " looks blank"));
        const QString folder = qgetenv("KELVO_SCREENSHOTS") == "1"
                                   ? QStringLiteral(KELVO_SCREENSHOT_DIR)
                                   : QCoreApplication::applicationDirPath() + "/screenshots";
        if (QDir().mkpath(folder) && !image.save(folder + '/' + name + ".png"))
            qInfo("could not save the screenshot %s", qPrintable(name));
    }
};
