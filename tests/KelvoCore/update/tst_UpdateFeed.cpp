// The update feed: version comparison, decoding the record, where the feed is configured, and
// fetching it from a loopback server.
#include "TestMain.h"

#include "LoopbackHttpServer.h"
#include "SyntheticHome.h"

#include "update/KelvoUpdateInfo.h"
#include "update/UpdateConfiguration.h"
#include "update/UpdateRequest.h"
#include "update/UpdateService.h"
#include "update/UpdateVersionComparator.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>

using namespace TestSupport;
using Response = LoopbackHttpServer::Response;

Q_DECLARE_METATYPE(LoopbackHttpServer::Response)

namespace {

// "-" in a table cell stands for none.
std::optional<QString> given(const QString& cell)
{
    return cell == u"-" ? std::nullopt : std::optional<QString>(cell);
}

const QString sumA = QString(64, u'a');

} // namespace

class UpdateFeedTest : public QObject {
    Q_OBJECT

private slots:
    void comparison_data()
    {
        columns<QString, QString, QString, QString, int, bool>("current", "currentBuild", "latest",
                                                               "latestBuild", "order", "available");
        row("newer build", "1.2", "7", "1.2", "8", 0, true);
        row("lower build", "1.2", "9", "1.2", "8", 0, false);
        row("build not a number", "1.2", "7", "1.2", "8a", 0, false);
        row("no latest build", "1.2", "7", "1.2.0", "-", 0, false);
        row("signed, padded build", "1.2", "7", "1.2", " +8\n", 0, true);
        row("numbers, not text", "1.9", "-", "1.10", "-", 1, true);
        row("major beats minor", "1.99.99", "-", "2.0", "-", 1, true);
        row("leading zero", "1.2", "-", "1.02", "9", 0, false);
        row("letter before digits", "1.0", "-", "v1.3", "-", -1, false);
        row("digits before letters", "1.3", "-", "1.3beta", "-", 0, false);
        row("empty pieces dropped", "1.2", "-", "1..2", "-", 0, false);
        row("piece too large is 0", "1.0", "-", "1.99999999999999999999", "-", 0, false);
        row("other scripts' digits are 0", "1.0", "-", "1.\u0663", "-", 0, false);
    }
    void comparison()
    {
        auto [current, currentBuild, latest, latestBuild, order, available] =
            fetch<QString, QString, QString, QString, int, bool>("current", "currentBuild", "latest",
                                                                 "latestBuild", "order", "available");
        QCOMPARE(UpdateVersionComparator::compareVersionStrings(latest, current), order);
        QCOMPARE(UpdateVersionComparator::compareVersionStrings(current, latest), -order);
        QCOMPARE(UpdateVersionComparator::isUpdateAvailable(current, given(currentBuild), latest,
                                                            given(latestBuild)),
                 available);
    }

    void refusedFeed_data()
    {
        columns<QByteArray, QString>("body", "named"); // ' stands for " in the body
        row("not an object", QByteArray("['1.0']"), "JSON");
        row("not JSON", QByteArray("<html>"), "JSON");
        row("no version", QByteArray("{'build': '7'}"), "'version'");
        row("null version", QByteArray("{'version': null}"), "'version'");
        row("version a number", QByteArray("{'version': 1.2}"), "'version'");
        row("build a number", QByteArray("{'version': '1', 'build': 7}"), "'build'");
        row("relative address", QByteArray("{'version': '1', 'download_url': 'kelvo.dmg'}"),
            "'download_url'");
        row("invalid address", QByteArray("{'version': '1', 'release_notes_url': 'https://a b/'}"),
            "'release_notes_url'");
        row("short checksum", QByteArray("{'version': '1', 'sha256': 'abc'}"), "'sha256'");
        row("platforms a list", QByteArray("{'version': '1', 'platforms': []}"), "'platforms'");
        row("platform without address", QByteArray("{'version': '1', 'platforms': {'macos': {}}}"),
            "'platforms.macos.download_url'");
    }
    void refusedFeed()
    {
        auto [body, named] = fetch<QByteArray, QString>("body", "named");
        const QString message =
            SyntheticHome::failure([&body = body] { KelvoUpdateInfo::fromJson(body.replace('\'', '"')); });
        QVERIFY2(message.contains(named.replace('\'', '"')), qPrintable(message));
    }

    void packageByPlatform()
    {
        const KelvoUpdateInfo info = KelvoUpdateInfo::fromJson(
            QStringLiteral(
                "{ "
                "\"version\": \"1.3\", \"build\": \"12\", \"unknown\": [1], "
                "\"download_url\": \"https://example.com/Kelvo.dmg\", \"sha256\": \"%1\", "
                "\"release_notes_url\": \"https://example.com/notes#v1.3#fixes\", \"release_notes\": "
                "\"Faster.\", "
                "\"platforms\": {\"linux-x86_64\": {\"download_url\": \"https://example.com/kelvo.tar.gz\"}, "
                "\"macos\": null}}")
                .arg(sumA.toUpper())
                .toUtf8());
        const UpdateDownload common{QUrl("https://example.com/Kelvo.dmg"), sumA};
        QCOMPARE(info.download("macos"), common);
        const UpdateDownload own{QUrl("https://example.com/kelvo.tar.gz"), std::nullopt};
        QCOMPARE(info.download("linux-x86_64"), own);
        QCOMPARE(info.installableDownload("1.2", "40", "macos"), common);
        QCOMPARE(info.installableDownload("1.3", "12", "macos"), std::nullopt);
        QCOMPARE(info.displayVersion(), "v1.3");
        QCOMPARE(KelvoUpdateInfo::fromJson(QJsonDocument(info.toJson()).toJson()), info);

        const KelvoUpdateInfo bare = KelvoUpdateInfo::fromJson("{\"version\": \"1.3\"}");
        KelvoUpdateInfo onlyVersion;
        onlyVersion.version = "1.3";
        QCOMPARE(bare, onlyVersion);
        QCOMPARE(bare.installableDownload("1.0", std::nullopt, "macos"), std::nullopt);
    }

    void feedURL_data()
    {
        columns<QString, QString, QString>("environment", "bundle", "feed");
        row("environment first", "https://a.example/feed.json", "https://b.example/feed.json",
            "https://a.example/feed.json");
        row("blank environment", " \n\t", "https://b.example/feed.json", "https://b.example/feed.json");
        row("environment not a URL", "feed.json", "https://b.example/feed.json", "-");
        row("bundle trimmed", "-", "  https://b.example/feed.json\n", "https://b.example/feed.json");
        row("bundle blank", "-", "  ", "-");
        row("bundle not a URL", "-", "::", "-");
        row("neither", "-", "-", "-");
    }
    void feedURL()
    {
        auto [environmentValue, bundle, feed] =
            fetch<QString, QString, QString>("environment", "bundle", "feed");
        QProcessEnvironment environment;
        if (given(environmentValue))
            environment.insert("KELVO_UPDATE_FEED_URL", environmentValue);
        const std::optional<QUrl> url = UpdateConfiguration::feedURL(given(bundle), environment);
        QCOMPARE(url, given(feed) ? std::optional<QUrl>(QUrl(feed)) : std::nullopt);
    }

    void fetchLatest_data()
    {
        columns<Response, QString, QString>("response", "path", "outcome");
        const QByteArray feed = "{\"version\": \"1.3\"}";
        row("found", Response(200, feed), "/feed.json", "version 1.3");
        row("not found", Response(404, "missing"), "/feed.json", "404");
        row("no content", Response(204), "/feed.json", "decodes as: ");
        row("not JSON", Response(200, "<html>"), "/feed.json", "decodes as: <html>");
        row("stalls", Response(200, feed).stallingAfter(2), "/feed.json", "any failure");
        row("redirect to plain HTTP elsewhere",
            Response(302).header("Location", "http://example.com/feed.json"), "/feed.json",
            "refused http://example.com/feed.json");
        row("plain HTTP elsewhere", Response(), "http://example.com/feed.json",
            "refused http://example.com/feed.json");
        row("no host", Response(), "https:///feed.json", "refused https:///feed.json");
        row("invalid address", Response(), "https://exa mple.com/feed.json",
            "refused https://exa mple.com/feed.json");
    }
    void fetchLatest()
    {
        auto [response, path, outcome] = fetch<Response, QString, QString>("response", "path", "outcome");
        LoopbackHttpServer server;
        server.route("/feed.json", response);
        QNetworkAccessManager network;
        const QUrl feed = path.startsWith(u"http") ? QUrl(path) : server.url(path);
        QFuture<KelvoUpdateInfo> result =
            UpdateService::fetchLatest(network, feed, std::chrono::milliseconds(300));
        QTRY_VERIFY(result.isFinished());
        QVERIFY(result.isValid()); // started as a future must be, so its answer can be taken

        const QString failure = SyntheticHome::failure([&] { result.result(); });
        if (outcome.startsWith(u"version "))
            QCOMPARE(result.result().version, outcome.mid(8));
        else if (outcome.startsWith(u"decodes as: "))
            QCOMPARE(failure, SyntheticHome::failure([&outcome = outcome] {
                         KelvoUpdateInfo::fromJson(outcome.mid(12).toUtf8());
                     }));
        else if (outcome.startsWith(u"refused "))
            QCOMPARE(failure, UpdateRequest::refusedAddressText(QUrl(outcome.mid(8))));
        else if (outcome == u"any failure")
            QVERIFY(!failure.isEmpty());
        else
            QVERIFY2(failure.contains(outcome), qPrintable(failure));
    }
};

KELVO_REGISTER_TEST(UpdateFeedTest)
#include "tst_UpdateFeed.moc"
