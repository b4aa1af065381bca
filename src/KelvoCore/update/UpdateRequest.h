#pragma once

#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// Every request of the updater: HTTPS only, plain HTTP only to this machine (127.0.0.0/8, ::1,
// "localhost"), redirects held to the same rule, and a time limit on silence.
namespace UpdateRequest {
bool isAllowedAddress(const QUrl& url);
// Why the address is not used, in the display language.
QString refusedAddressText(const QUrl& url);

// A GET of an allowed address. A redirect to an address that is not allowed aborts the reply after
// refused(its text) was called. The reply is the caller's to delete.
QNetworkReply* get(QNetworkAccessManager& network, const QUrl& url, std::chrono::milliseconds silenceLimit,
                   std::function<void(const QString& refusal)> refused);
} // namespace UpdateRequest
