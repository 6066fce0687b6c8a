// Reading MealMaster files: the file's limits and its decoding; the lines are read in
// mealmasterlettore.cpp.
#include "formati/mealmaster.h"
#include "formati/mealmastercolonne.h"

#include "storage/engineerror.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>

namespace MealMaster {

namespace {

constexpr qint64 DimensioneMassima = 64 * 1024 * 1024; // 10,000 recipes take some 15 MB
constexpr qsizetype RigaMassima = 4096;                // the format's lines have 80 columns
constexpr qsizetype Inizio = 256 * 1024;               // where riconosci looks for a header

// Bytes no text file holds: NUL and the control characters other than tab, line and page
// breaks and the old end-of-file mark.
qsizetype controllo(const QByteArray &b)
{
    for (qsizetype i = 0; i < b.size(); ++i) {
        const uchar c = uchar(b.at(i));
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1a)
            return i;
    }
    return -1;
}

// The first line longer than the limit, 0 when none.
int rigaTroppoLunga(const QByteArray &b)
{
    int numero = 1;
    qsizetype inizio = 0;
    while (inizio <= b.size()) {
        qsizetype fine = inizio;
        while (fine < b.size() && b[fine] != '\n' && b[fine] != '\r')
            ++fine;
        if (fine - inizio > RigaMassima)
            return numero;
        inizio = fine + (b.mid(fine, 2) == "\r\n" ? 2 : 1);
        ++numero;
    }
    return 0;
}

// UTF-8 when the bytes are valid UTF-8 (a byte order mark dropped by the decoder), Latin-1
// otherwise.
QString decodifica(const QByteArray &b)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString t = utf8.decode(b);
    if (utf8.hasError())
        t = QString::fromLatin1(b);
    return t;
}

} // namespace

bool riconosci(const QString &percorso)
{
    // By its name too, so that a damaged one is said to be what it is not.
    const QString estensione = QFileInfo(percorso).suffix().toLower();
    if (estensione == QLatin1String("mmf") || estensione == QLatin1String("mm"))
        return true;
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString inizio = QString::fromLatin1(f.read(Inizio));
    for (QStringView riga : QStringView(inizio).tokenize(u'\n'))
        for (QStringView parte : riga.tokenize(u'\r'))
            if (eIntestazione(parte))
                return true;
    return false;
}

QList<RicettaEstera> leggi(const QByteArray &contenuto, const QString &nome, QString &errore)
{
    errore.clear();
    if (const qsizetype dove = controllo(contenuto); dove >= 0) {
        errore = QStringLiteral("Il file %1 non è un file MealMaster: al byte %2 c'è un "
                                "carattere che nessun file di testo contiene.")
                     .arg(nome)
                     .arg(dove + 1);
        return {};
    }
    if (const int riga = rigaTroppoLunga(contenuto)) {
        errore = QStringLiteral("La riga %1 del file %2 è lunga più di %3 caratteri: non è un "
                                "file di ricette MealMaster leggibile.")
                     .arg(riga)
                     .arg(nome)
                     .arg(RigaMassima);
        return {};
    }
    return leggiTesto(decodifica(contenuto), nome, errore);
}

QList<RicettaEstera> leggi(const QString &percorso, QString &errore)
{
    const QString nome = QFileInfo(percorso).fileName();
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        errore = EngineError::daFile(errno, percorso).description();
        return {};
    }
    if (f.size() > DimensioneMassima) {
        errore = QStringLiteral("Il file %1 è troppo grande (%2 MB) per un file di ricette "
                                "MealMaster: se ne leggono al massimo %3 MB.")
                     .arg(nome)
                     .arg(f.size() / (1024 * 1024))
                     .arg(DimensioneMassima / (1024 * 1024));
        return {};
    }
    const QByteArray contenuto = f.read(DimensioneMassima + 1);
    if (f.error() != QFileDevice::NoError) {
        errore = EngineError::daFile(EIO, percorso).description();
        return {};
    }
    return leggi(contenuto, nome, errore);
}

} // namespace MealMaster
