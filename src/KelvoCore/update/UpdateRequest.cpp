#include "update/UpdateRequest.h"

#include "vocabulary/AppLocalization.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace UpdateRequest {

bool isAllowedAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https")
        return true;
    if (scheme != u"http")
        return false;
    const QString host = url.host();
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

QString refusedAddressText(const QUrl& url)
{
    const QString address = url.toDisplayString();
    return AppLocalization::localized(
        QStringLiteral("Kelvo 只通过 HTTPS 获取更新，已拒绝“%1”。").arg(address),
        QStringLiteral("Kelvo gets updates only over HTTPS; \"%1\" was refused.").arg(address));
}

QNetworkReply* get(QNetworkAccessManager& network, const QUrl& url, std::chrono::milliseconds silenceLimit,
                   std::function<void(const QString& refusal)> refused)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(int(silenceLimit.count()));
    // Each redirect is looked at before it is followed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::redirected, reply,
                     [reply, refused = std::move(refused)](const QUrl& target) {
                         if (isAllowedAddress(target)) {
                             emit reply->redirectAllowed();
                             return;
                         }
                         refused(refusedAddressText(target));
                         reply->abort();
                     });
    return reply;
}

} // namespace UpdateRequest
