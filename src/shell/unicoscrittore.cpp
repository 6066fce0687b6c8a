#include "shell/unicoscrittore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <unistd.h>

namespace {

// The name of a book's lock and socket: the user, and a digest of the book's full path (a
// socket's path is short); empty when the book's file is not there.
QString nomeDi(const QString &libro)
{
    const QString percorso = QFileInfo(libro).canonicalFilePath();
    if (percorso.isEmpty())
        return {};
    const QByteArray impronta =
        QCryptographicHash::hash(percorso.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QStringLiteral("pentolone-%1-%2").arg(getuid()).arg(QString::fromLatin1(impronta));
}

} // namespace

UnicoScrittore::UnicoScrittore(QObject *parent) : QObject(parent) {}

UnicoScrittore::~UnicoScrittore() = default;

bool UnicoScrittore::prendi(const QString &libro)
{
    const QString nome = nomeDi(libro);
    if (!nome.isEmpty() && nome == nome_)
        return true;
    if (nome.isEmpty()) {
        lascia();
        return true;
    }
    auto blocco = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(nome + ".lock"));
    // Held as long as its copy runs, however long: only a copy that is gone lets it go.
    blocco->setStaleLockTime(0);
    if (!blocco->tryLock(0)) {
        if (blocco->error() == QLockFile::LockFailedError)
            return false;
        lascia(); // a lock that cannot be written stops nobody
        return true;
    }
    lascia();
    blocco_ = std::move(blocco);
    nome_ = nome;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a copy that is gone would refuse the name; the lock says it is ours now.
    QLocalServer::removeServer(nome);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            s->disconnectFromServer();
        }
        emit chiamata();
    });
    server_->listen(nome);
    return true;
}

void UnicoScrittore::lascia()
{
    delete server_;
    server_ = nullptr;
    blocco_.reset();
    nome_.clear();
}

void UnicoScrittore::chiamaAvanti(const QString &libro)
{
    QLocalSocket s;
    s.connectToServer(nomeDi(libro));
    // A local socket connects at once or not at all; the other copy needs nothing more.
    constexpr int Attesa = 1000; // ms
    if (s.waitForConnected(Attesa))
        s.disconnectFromServer();
}
