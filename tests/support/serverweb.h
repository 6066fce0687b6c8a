#pragma once

#include <QTcpServer>
#include <QTcpSocket>

// A web server on a local port for the tests that fetch pages: "/ricetta" (any other path) gives
// the page, "/rimanda/N" N redirects before it, "/file" a redirect to a file, "/manca" 404,
// "/errore" 500, "/immagine" a picture, "/latino" a Latin-1 page, "/grande" 20 MB of unknown
// length, "/ferma" no answer; a path in grezze gets those bytes as they are, whatever they
// break of the protocol. It remembers the last request's headers.
class ServerWeb : public QTcpServer
{
public:
    QByteArray richiesta;
    QByteArray pagina; // what any other path gets
    QHash<QByteArray, QByteArray> grezze;
    bool lasciaAperta = false; // after a raw answer, the connection stays open

    ServerWeb()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s] { rispondi(s); });
        });
    }
    QString indirizzo(const QString &via) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(via);
    }

private:
    void rispondi(QTcpSocket *s)
    {
        if (!s->peek(1 << 16).contains("\r\n\r\n"))
            return; // the rest of the request is still to come
        QObject::disconnect(s, &QTcpSocket::readyRead, nullptr, nullptr);
        richiesta = s->readAll();
        const QByteArray via = richiesta.split(' ').value(1);
        const auto invia = [s](const QByteArray &stato, const QByteArray &intestazioni,
                               const QByteArray &corpo) {
            // The 20 MB page tells no length: the limit must hold as it arrives.
            const QByteArray lunghezza =
                corpo.size() > (10 << 20)
                    ? QByteArray()
                    : "Content-Length: " + QByteArray::number(corpo.size()) + "\r\n";
            s->write("HTTP/1.1 " + stato + "\r\nConnection: close\r\n" + lunghezza + intestazioni +
                     "\r\n");
            s->write(corpo);
            s->disconnectFromHost();
        };
        const QByteArray pagina =
            this->pagina.isEmpty() ? "<html><body>ricetta</body></html>" : this->pagina;
        if (via == "/ferma")
            return; // the socket is closed with the server
        if (grezze.contains(via)) {
            s->write(grezze.value(via));
            if (!lasciaAperta)
                s->disconnectFromHost();
            return;
        }
        if (via.startsWith("/rimanda/") && via.mid(9).toInt() > 0)
            invia("302 Found",
                  "Location: /rimanda/" + QByteArray::number(via.mid(9).toInt() - 1) + "\r\n", {});
        else if (via == "/file")
            invia("302 Found", "Location: file:///etc/passwd\r\n", {});
        else if (via == "/manca")
            invia("404 Not Found", {}, {});
        else if (via == "/errore")
            invia("500 Internal Server Error", {}, {});
        else if (via == "/immagine")
            invia("200 OK", "Content-Type: image/png\r\n", "\x89PNG");
        else if (via == "/latino") // its charset in the header alone
            invia("200 OK", "Content-Type: text/html; charset=iso-8859-1\r\n", "<p>caff\xe8</p>");
        else if (via == "/grande")
            invia("200 OK", "Content-Type: text/html\r\n", QByteArray(20 << 20, 'x'));
        else
            invia("200 OK", "Content-Type: text/html; charset=utf-8\r\n", pagina);
    }
};
