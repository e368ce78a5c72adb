#pragma once

#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests of the web panes: it answers every GET with a little HTML
// page that names the requested target, and records each target ("/path?query") in the order the
// requests came. /frames... holds an inner frame that loads /inner.
class LocalHttpServer : public QObject {
public:
    bool start();
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }
    QString url(const QString& target) const { return "http://" + host() + target; }
    QStringList requests;

private:
    void answer(QTcpSocket* socket, const QString& target);
    QTcpServer server_;
};
