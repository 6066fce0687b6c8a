#include "storage/impronta.h"

#include <QFile>
#include <QStringList>
#include <QtEndian>
#include <sys/stat.h>

Impronta Impronta::di(const QString &percorso)
{
    struct stat s;
    if (::stat(QFile::encodeName(percorso).constData(), &s) != 0)
        return {};
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    Impronta i;
    i.dispositivo = quint64(s.st_dev);
    i.nodo = quint64(s.st_ino);
    i.dimensione = qint64(s.st_size);
    i.modifica = ns(s.st_mtim);
    i.cambio = ns(s.st_ctim);
    QFile f(percorso);
    if (f.open(QIODevice::ReadOnly) && f.seek(24))
        i.contatore = f.read(4);
    if (::stat(QFile::encodeName(percorso + QStringLiteral("-wal")).constData(), &s) == 0) {
        i.log = qint64(s.st_size);
        i.modificaLog = ns(s.st_mtim);
    }
    return i;
}

std::optional<quint32> Impronta::commit() const
{
    if (contatore.size() != 4 || log > 0)
        return std::nullopt;
    return qFromBigEndian<quint32>(contatore.constData());
}

QString Impronta::testo() const
{
    return QStringList{QString::number(dispositivo), QString::number(nodo),
                       QString::number(dimensione),  QString::number(modifica),
                       QString::number(cambio),      QString::fromLatin1(contatore.toHex()),
                       QString::number(log),         QString::number(modificaLog)}
        .join(QLatin1Char(' '));
}

Impronta Impronta::daTesto(const QString &testo)
{
    const QStringList p = testo.split(QLatin1Char(' '));
    if (p.size() != 8)
        return {};
    Impronta i;
    i.dispositivo = p[0].toULongLong();
    i.nodo = p[1].toULongLong();
    i.dimensione = p[2].toLongLong();
    i.modifica = p[3].toLongLong();
    i.cambio = p[4].toLongLong();
    i.contatore = QByteArray::fromHex(p[5].toLatin1());
    i.log = p[6].toLongLong();
    i.modificaLog = p[7].toLongLong();
    return i;
}
