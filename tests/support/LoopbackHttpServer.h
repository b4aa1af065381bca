#pragma once

// A small HTTP/1.1 server on 127.0.0.1 for tests that talk to the network: each path answers with a
// fixed status, headers and body, so no test reaches a real server.
//
//   LoopbackHttpServer server;
//   server.route("/feed.json", {200, R"({"version": "1.2.0"})"});
//   server.route("/slow", LoopbackHttpServer::Response(200, QByteArray(4096, 'x')).stallingAfter(1024));
//   fetch(server.url("/feed.json"));
//   QCOMPARE(server.requestCount("/feed.json"), 1);
//
// Every answer closes its connection: without Content-Length the close ends the body. A stalled answer
// sends its headers and the first stallAfter bytes of the body, then nothing until the server goes.
// A path without a route answers 404 with an empty body.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>

#include <memory>
#include <optional>
#include <utility>

class LoopbackHttpServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers; // sent as they are, after the status line
        bool contentLength = true;                    // false: no Content-Length, the close ends the body
        std::optional<qsizetype> stallAfter;          // body bytes sent before the answer stops

        Response(int statusCode = 200, QByteArray bytes = {})
            : status(statusCode)
            , body(std::move(bytes))
        {
        }
        Response& header(const QByteArray& name, const QByteArray& value)
        {
            headers.append({name, value});
            return *this;
        }
        Response& withoutContentLength()
        {
            contentLength = false;
            return *this;
        }
        Response& stallingAfter(qsizetype bodyBytes)
        {
            stallAfter = bodyBytes;
            return *this;
        }
    };

    explicit LoopbackHttpServer(QObject* parent = nullptr)
        : QObject(parent)
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { acceptPending(); });
        const bool listening = m_server.listen(QHostAddress::LocalHost);
        QTest::qVerify(listening, "listen", qPrintable(m_server.errorString()), __FILE__, __LINE__);
    }

    void route(const QString& path, Response response) { m_routes.insert(path, std::move(response)); }

    // http://127.0.0.1:port + path (the path may carry a query, which routing ignores).
    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }

    int requestCount(const QString& path) const { return m_requests.value(path); }

private:
    void acceptPending()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            // The server owns the socket, so a stalled one goes with it.
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, this,
                             [this, socket, received] { readRequest(socket, *received); });
        }
    }

    void readRequest(QTcpSocket* socket, QByteArray& pending)
    {
        pending += socket->readAll();
        const qsizetype headerEnd = pending.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        // "GET /path?query HTTP/1.1"
        const QList<QByteArray> requestLine = pending.left(pending.indexOf("\r\n")).split(' ');
        QObject::disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
        const QString path =
            requestLine.size() >= 2 ? QUrl(QString::fromUtf8(requestLine.at(1))).path() : QString();
        ++m_requests[path];
        answer(socket, m_routes.value(path, Response(404)));
    }

    static void answer(QTcpSocket* socket, const Response& response)
    {
        // Any reason phrase will do: clients go by the status code.
        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(response.status) + " Answer\r\nConnection: close\r\n";
        for (const auto& [name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        if (response.contentLength)
            head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
        socket->write(head + "\r\n");
        if (response.stallAfter) {
            socket->write(response.body.left(*response.stallAfter));
            socket->flush();
            return;
        }
        socket->write(response.body);
        socket->disconnectFromHost(); // after the pending bytes are written
    }

    QTcpServer m_server;
    QMap<QString, Response> m_routes;
    QMap<QString, int> m_requests;
};
