#include "update/UpdateService.h"

#include "update/UpdateRequest.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QNetworkReply>
#include <QPromise>

#include <memory>

namespace {

// The feed record from a finished reply, or the KelvoError that says why there is none.
KelvoUpdateInfo decodeReply(QNetworkReply& reply, const QString& refusedRedirect)
{
    if (!refusedRedirect.isEmpty())
        throw KelvoError(KelvoError::Kind::network, refusedRedirect);
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.toInt();
    if (status.isValid() && (code < 200 || code > 299))
        throw KelvoError(KelvoError::Kind::network,
                         AppLocalization::localized(
                             QStringLiteral("更新检查没有成功，服务器返回 %1。").arg(code),
                             QStringLiteral("The update check failed with server status %1.").arg(code)));
    if (reply.error() != QNetworkReply::NoError)
        throw KelvoError(KelvoError::Kind::network, reply.errorString());
    if (!status.isValid())
        throw KelvoError(KelvoError::Kind::malformed,
                         AppLocalization::localized(QStringLiteral("更新信息格式不正确。"),
                                                    QStringLiteral("The update information is invalid.")));
    return KelvoUpdateInfo::fromJson(reply.readAll());
}

} // namespace

namespace UpdateService {

QFuture<KelvoUpdateInfo> fetchLatest(QNetworkAccessManager& network, const QUrl& feed,
                                     std::chrono::milliseconds timeLimit)
{
    auto promise = std::make_shared<QPromise<KelvoUpdateInfo>>();
    promise->start();
    QFuture<KelvoUpdateInfo> future = promise->future();
    // The feed names the package and its checksum, so it must come as safely as the package does.
    if (!UpdateRequest::isAllowedAddress(feed)) {
        promise->setException(std::make_exception_ptr(
            KelvoError(KelvoError::Kind::network, UpdateRequest::refusedAddressText(feed))));
        promise->finish();
        return future;
    }
    auto refusedRedirect = std::make_shared<QString>();
    QNetworkReply* reply = UpdateRequest::get(
        network, feed, timeLimit, [refusedRedirect](const QString& refusal) { *refusedRedirect = refusal; });
    QObject::connect(reply, &QNetworkReply::finished, reply, [promise, reply, refusedRedirect] {
        reply->deleteLater();
        try {
            promise->addResult(decodeReply(*reply, *refusedRedirect));
        } catch (...) {
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    return future;
}

} // namespace UpdateService
