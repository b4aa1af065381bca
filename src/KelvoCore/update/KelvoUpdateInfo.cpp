#include "update/KelvoUpdateInfo.h"

#include "update/UpdateInstall.h"
#include "update/UpdateVersionComparator.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QRegularExpression>

namespace {

[[noreturn]] void fail(const QString& zh, const QString& en, const QString& key)
{
    throw KelvoError(KelvoError::Kind::malformed, AppLocalization::localized(zh.arg(key), en.arg(key)));
}

// Reads one JSON object of the feed; `path` names it in messages ("platforms.macos.").
class FeedObject {
public:
    FeedObject(QJsonObject object, QString path)
        : m_object(std::move(object))
        , m_path(std::move(path))
    {
    }

    // Absent and null both mean "not given".
    std::optional<QString> text(const QString& key) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isString())
            fail(QStringLiteral("更新信息中“%1”的值类型不对。"),
                 QStringLiteral("The update information has a value of the wrong type at \"%1\"."),
                 name(key));
        return value.toString();
    }

    QString requiredText(const QString& key) const
    {
        const std::optional<QString> value = text(key);
        if (!value)
            fail(QStringLiteral("更新信息缺少“%1”。"),
                 QStringLiteral("The update information has no \"%1\"."), name(key));
        return *value;
    }

    std::optional<QUrl> url(const QString& key) const
    {
        const std::optional<QString> value = text(key);
        if (!value)
            return std::nullopt;
        const QUrl address(*value, QUrl::StrictMode);
        if (!address.isValid() || address.isRelative())
            fail(QStringLiteral("更新信息中“%1”不是有效的网址。"),
                 QStringLiteral("The update information has an invalid address at \"%1\"."), name(key));
        // Kept as its own encoded form reads back ("#" inside a fragment is stored decoded and written
        // as "%23"), so a record written and read again is the same record.
        return QUrl(address.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    }

    QUrl requiredUrl(const QString& key) const
    {
        requiredText(key);
        return *url(key);
    }

    // 64 hexadecimal digits, kept in lower case.
    std::optional<QString> sha256(const QString& key) const
    {
        const std::optional<QString> value = text(key);
        if (!value)
            return std::nullopt;
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{64}$"));
        if (!hex.match(*value).hasMatch())
            fail(QStringLiteral("更新信息中“%1”不是有效的校验值（应为 64 位十六进制数字）。"),
                 QStringLiteral("The update information has an invalid checksum at \"%1\" (64 hexadecimal "
                                "digits expected)."),
                 name(key));
        return value->toLower();
    }

    std::optional<FeedObject> object(const QString& key) const
    {
        const QJsonValue value = m_object.value(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        if (!value.isObject())
            fail(QStringLiteral("更新信息中“%1”的值类型不对。"),
                 QStringLiteral("The update information has a value of the wrong type at \"%1\"."),
                 name(key));
        return FeedObject(value.toObject(), name(key) + u'.');
    }

    QStringList keys() const { return m_object.keys(); }

private:
    QString name(const QString& key) const { return m_path + key; }

    QJsonObject m_object;
    QString m_path;
};

void insertText(QJsonObject& json, const char* key, const std::optional<QString>& value)
{
    if (value)
        json.insert(QLatin1String(key), *value);
}

void insertUrl(QJsonObject& json, const char* key, const std::optional<QUrl>& value)
{
    if (value)
        json.insert(QLatin1String(key), value->toString(QUrl::FullyEncoded));
}

} // namespace

QString KelvoUpdateInfo::displayVersion() const
{
    return u'v' + version;
}

std::optional<UpdateDownload> KelvoUpdateInfo::download(const QString& platformKey) const
{
    if (const auto own = platforms.find(platformKey); own != platforms.end())
        return own->second;
    if (!downloadURL)
        return std::nullopt;
    return UpdateDownload{*downloadURL, sha256};
}

std::optional<UpdateDownload> KelvoUpdateInfo::installableDownload(const QString& currentVersion,
                                                                   const std::optional<QString>& currentBuild,
                                                                   const QString& platformKey) const
{
    if (!UpdateVersionComparator::isUpdateAvailable(currentVersion, currentBuild, version, build))
        return std::nullopt;
    return download(platformKey);
}

QString KelvoUpdateInfo::thisPlatformKey()
{
    return UpdateInstall::packageKey();
}

KelvoUpdateInfo KelvoUpdateInfo::fromJson(const QByteArray& body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw KelvoError(
            KelvoError::Kind::malformed,
            AppLocalization::localized(QStringLiteral("更新信息不是有效的 JSON 对象。"),
                                       QStringLiteral("The update information is not a JSON object.")));

    const FeedObject feed(document.object(), QString());
    KelvoUpdateInfo info;
    info.version = feed.requiredText(QStringLiteral("version"));
    info.build = feed.text(QStringLiteral("build"));
    info.downloadURL = feed.url(QStringLiteral("download_url"));
    info.releaseNotesURL = feed.url(QStringLiteral("release_notes_url"));
    info.releaseNotes = feed.text(QStringLiteral("release_notes"));
    info.sha256 = feed.sha256(QStringLiteral("sha256"));
    if (const std::optional<FeedObject> byPlatform = feed.object(QStringLiteral("platforms"))) {
        for (const QString& key : byPlatform->keys()) {
            // A platform given as null has no package of its own.
            if (const std::optional<FeedObject> entry = byPlatform->object(key))
                info.platforms[key] = {entry->requiredUrl(QStringLiteral("download_url")),
                                       entry->sha256(QStringLiteral("sha256"))};
        }
    }
    return info;
}

QJsonObject KelvoUpdateInfo::toJson() const
{
    QJsonObject json{{QStringLiteral("version"), version}};
    insertText(json, "build", build);
    insertUrl(json, "download_url", downloadURL);
    insertUrl(json, "release_notes_url", releaseNotesURL);
    insertText(json, "release_notes", releaseNotes);
    insertText(json, "sha256", sha256);
    if (!platforms.empty()) {
        QJsonObject byPlatform;
        for (const auto& [key, package] : platforms) {
            QJsonObject entry{{QStringLiteral("download_url"), package.url.toString(QUrl::FullyEncoded)}};
            insertText(entry, "sha256", package.sha256);
            byPlatform.insert(key, entry);
        }
        json.insert(QStringLiteral("platforms"), byPlatform);
    }
    return json;
}
