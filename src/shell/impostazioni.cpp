#include "shell/impostazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace Impostazioni {

QString file(const QString &cartella)
{
    return QDir(cartella).filePath(QStringLiteral("Ricette.ini"));
}

bool esiste(const QString &cartella)
{
    return QFileInfo::exists(file(cartella));
}

std::optional<QString> leggi(const QString &cartella)
{
    QFile f(file(cartella));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray riga = f.readLine(64 * 1024);
    while (riga.endsWith('\n') || riga.endsWith('\r'))
        riga.chop(1);
    // Written by us in UTF-8; an older file may be in the Windows code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString percorso = utf8(riga);
    if (utf8.hasError())
        percorso = QString::fromLatin1(riga);
    percorso = percorso.trimmed();
    if (percorso.size() >= 2 && percorso.startsWith('"') && percorso.endsWith('"'))
        percorso = percorso.mid(1, percorso.size() - 2);
    return percorso;
}

bool scrivi(const QString &cartella, const QString &percorso)
{
    QSaveFile f(file(cartella));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(percorso.toUtf8() + "\r\n");
    return f.commit();
}

} // namespace Impostazioni
