#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests of the web panes: it answers every GET with
// a little HTML page that names the requested path and query, and records each request
// target. Special paths:
//   /frames...  a page holding an inner frame that loads /inner
//   /slow...    the answer is held back until release() (or the server goes away)
//   /big...     a page of about 3 MB, sent in pieces, for progress in steps
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    explicit LocalHttpServer(QObject* parent = nullptr);

    bool start();
    quint16 port() const { return server_.serverPort(); }
    // "127.0.0.1:PORT"
    QString host() const;
    // Every request target ("/path?query") in the order the requests came.
    QStringList requests() const { return requests_; }
    void clearRequests() { requests_.clear(); }
    // Answers every held /slow request.
    void release();

signals:
    void requested(const QString& target);

private:
    void onConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& target);

    QTcpServer server_;
    QStringList requests_;
    QList<QPair<QPointer<QTcpSocket>, QString>> held_;
};
