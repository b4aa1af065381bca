#pragma once

#include "update/KelvoUpdateInfo.h"

#include <QFuture>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

// Fetches the update feed: a plain GET with a time limit. The future fails with KelvoError: "The
// update check failed with server status N." for a status outside 200-299, "The update information
// is invalid." when the answer is not HTTP, the network's own message for a transport failure or the
// time limit, and KelvoUpdateInfo::fromJson's message for a body that does not decode. The feed (and
// any redirect) must be HTTPS, or plain HTTP to this machine; another address is refused at once.
namespace UpdateService {
// Call on a thread with an event loop (the main thread); network is used from that thread.
QFuture<KelvoUpdateInfo> fetchLatest(QNetworkAccessManager& network, const QUrl& feed,
                                     std::chrono::milliseconds timeLimit = std::chrono::seconds(20));
} // namespace UpdateService
