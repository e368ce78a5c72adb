#include "LocalHttpServer.h"

#include <QHostAddress>

bool LocalHttpServer::start() {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                const QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
                socket->setProperty("buffer", buffer);
                if (socket->property("answered").toBool() || !buffer.contains("\r\n\r\n")) return;
                socket->setProperty("answered", true);
                const QString target =
                    QString::fromLatin1(buffer.left(buffer.indexOf("\r\n")).split(' ').value(1));
                if (target != "/favicon.ico") requests.append(target); // the engine's own: not the test's
                answer(socket, target);
            });
        }
    });
    return server_.listen(QHostAddress::LocalHost, 0);
}

void LocalHttpServer::answer(QTcpSocket* socket, const QString& target) {
    const QByteArray escaped = target.toHtmlEscaped().toUtf8();
    QByteArray body =
        "<!DOCTYPE html><html><head><title>" + escaped + "</title></head><body><p>" + escaped + "</p>";
    if (target.startsWith("/frames")) body += "<iframe src=\"/inner\"></iframe>";
    body += "</body></html>";
    socket->write(
        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
        QByteArray::number(body.size()) + "\r\n\r\n");
    socket->write(body);
    socket->disconnectFromHost();
}
