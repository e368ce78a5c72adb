#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QTimer>

#include <memory>

bool LocalHttpServer::start() {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return server_.listen(QHostAddress::LocalHost, 0);
}

void LocalHttpServer::release() {
    for (const auto& [socket, target] : std::exchange(held_, {}))
        if (socket) answer(socket, target);
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket) {
    const QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    if (socket->property("answered").toBool() || !buffer.contains("\r\n\r\n")) return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const QString target = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    if (target == QLatin1String("/favicon.ico")) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    requests.append(target);
    if (target.startsWith(QLatin1String("/slow")))
        held_.append({socket, target});
    else
        answer(socket, target);
}

void LocalHttpServer::answer(QTcpSocket* socket, const QString& target) {
    const QByteArray escaped = target.toHtmlEscaped().toUtf8();
    QByteArray body =
        "<!DOCTYPE html><html><head><title>" + escaped + "</title></head><body><p>" + escaped + "</p>";
    if (target.startsWith(QLatin1String("/frames"))) body += "<iframe src=\"/inner\"></iframe>";
    if (target.startsWith(QLatin1String("/big")))
        body += "<pre>" + QByteArray(99, 'x').append('\n').repeated(30000) + "</pre>";
    body += "</body></html>";
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\n"
                  "Content-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n");
    // The page goes out in pieces, a little apart, so that a big one reports progress
    // between them.
    auto* timer = new QTimer(socket);
    auto offset = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, body, offset] {
        socket->write(body.mid(*offset, 256 * 1024));
        *offset += 256 * 1024;
        if (*offset < body.size()) return;
        timer->stop();
        socket->disconnectFromHost();
    });
    timer->start(20);
}
