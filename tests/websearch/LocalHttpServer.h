#pragma once

#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

// A small HTTP server on 127.0.0.1 for tests of the web panes: it answers every GET with
// a little HTML page that names the requested target, and records each target
// ("/path?query") in the order the requests came. Special paths:
//   /frames...  a page holding an inner frame that loads /inner
//   /slow...    the answer is held back until release()
//   /big...     a page of about 3 MB, sent in pieces a little apart, for progress in steps
class LocalHttpServer : public QObject {
public:
    bool start();
    // "127.0.0.1:PORT"
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }
    QString url(const QString& target) const { return QStringLiteral("http://") + host() + target; }
    // Answers every held /slow request.
    void release();

    QStringList requests;

private:
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& target);

    QTcpServer server_;
    QList<QPair<QPointer<QTcpSocket>, QString>> held_;
};
