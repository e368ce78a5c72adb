#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QTimer>

LocalHttpServer::LocalHttpServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &LocalHttpServer::onConnection);
}

bool LocalHttpServer::start() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

QString LocalHttpServer::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void LocalHttpServer::onConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket) {
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (socket->property("answered").toBool()) return;
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    if (target == QLatin1String("/favicon.ico")) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    requests_.append(target);
    emit requested(target);
    if (target.startsWith(QLatin1String("/slow"))) {
        held_.append({QPointer<QTcpSocket>(socket), target});
        return;
    }
    answer(socket, target);
}

void LocalHttpServer::answer(QTcpSocket* socket, const QString& target) {
    const QByteArray escaped = target.toHtmlEscaped().toUtf8();
    QByteArray body = "<!DOCTYPE html><html><head><title>" + escaped +
                      "</title></head><body style=\"font: 28px sans-serif; background: #ffe\">"
                      "<h1>Local test page</h1><p id=\"target\">" +
                      escaped + "</p>";
    if (target.startsWith(QLatin1String("/frames")))
        body += "<iframe src=\"/inner\" width=\"300\" height=\"80\"></iframe>";
    if (target.startsWith(QLatin1String("/big"))) {
        body += "<pre>";
        const QByteArray line(99, 'x');
        for (int i = 0; i < 30000; ++i)
            body += line + '\n';
        body += "</pre>";
    }
    body += "</body></html>";
    QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n";
    socket->write(head);
    if (!target.startsWith(QLatin1String("/big"))) {
        socket->write(body);
        socket->disconnectFromHost();
        return;
    }
    // The big page goes out in pieces, a little apart, so that the pane reports progress
    // between them.
    auto* timer = new QTimer(socket);
    auto offset = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, body, offset] {
        const qsizetype piece = 256 * 1024;
        socket->write(body.mid(*offset, piece));
        *offset += piece;
        if (*offset >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(20);
}

void LocalHttpServer::release() {
    const auto held = held_;
    held_.clear();
    for (const auto& [socket, target] : held)
        if (socket) answer(socket, target);
}
