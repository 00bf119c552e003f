#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QQueue>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// A tiny HTTP server on 127.0.0.1 for the update checker's tests. Each request for a path
// takes the next reply queued for it; a reply can be held back or never sent at all.
class FeedServer : public QObject {
public:
    struct Reply {
        int status = 200;
        QByteArray body;
        int delayMs = 0;
        bool never = false;
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray head;
    };

    FeedServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }

    bool listening() const { return m_server.isListening(); }
    QString url(const QString& path = QStringLiteral("/version.json")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    void serve(const QByteArray& path, const Reply& reply) { m_replies[path].enqueue(reply); }
    void serveJson(const QByteArray& body, int delayMs = 0)
    {
        serve("/version.json", Reply{200, body, delayMs, false});
    }

    const QList<Request>& requests() const { return m_requests; }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.left(end);
        m_buffers.remove(socket);
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        Request request{requestLine.value(0), requestLine.value(1), head};
        m_requests.append(request);

        QQueue<Reply>& queue = m_replies[request.path];
        const Reply reply =
            queue.isEmpty() ? Reply{404, "<html>Not found</html>"} : queue.dequeue();
        if (reply.never)
            return;
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(reply.delayMs, this, [guarded, reply] {
            if (!guarded)
                return;
            guarded->write("HTTP/1.1 " + QByteArray::number(reply.status) +
                           " Whatever\r\nContent-Type: application/json\r\nContent-Length: " +
                           QByteArray::number(reply.body.size()) + "\r\nConnection: close\r\n\r\n" +
                           reply.body);
            guarded->disconnectFromHost();
        });
    }

    QTcpServer m_server;
    QHash<QByteArray, QQueue<Reply>> m_replies;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<Request> m_requests;
};
