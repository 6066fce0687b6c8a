#include "spesa/archivio.h"

#include "storage/engineerror.h"
#include "storage/filelaterale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace {

// "PSPE": our side files say what they are in SQLite's header.
constexpr qint64 IdApplicazione = 0x50535045;
constexpr int Versione = 1;

// The side file's tables and columns, named here once.
namespace Lato {
const QStringList Tabelle = {
    QStringLiteral("CREATE TABLE libro (nome TEXT NOT NULL)"),
    QStringLiteral("CREATE TABLE scelte (posizione INTEGER PRIMARY KEY, IDRicetta INTEGER NOT "
                   "NULL, nome TEXT NOT NULL, porzioni INTEGER NOT NULL)"),
    QStringLiteral("CREATE TABLE incasa (IDIngrediente INTEGER PRIMARY KEY)"),
    QStringLiteral("CREATE TABLE reparti (IDIngrediente INTEGER PRIMARY KEY, reparto TEXT NOT "
                   "NULL)"),
    QStringLiteral("CREATE TABLE settimana (giorno INTEGER NOT NULL, pasto INTEGER NOT NULL, "
                   "IDRicetta INTEGER, nome TEXT NOT NULL, porzioni INTEGER NOT NULL, "
                   "PRIMARY KEY (giorno, pasto))"),
};
// What each table must answer for the file to be read.
const QStringList Letture = {
    QStringLiteral("SELECT nome FROM libro"),
    QStringLiteral("SELECT posizione, IDRicetta, nome, porzioni FROM scelte"),
    QStringLiteral("SELECT IDIngrediente FROM incasa"),
    QStringLiteral("SELECT IDIngrediente, reparto FROM reparti"),
    QStringLiteral("SELECT giorno, pasto, IDRicetta, nome, porzioni FROM settimana"),
};
} // namespace Lato

QString nomeFile(const QString &percorso)
{
    return QFileInfo(percorso).fileName();
}

} // namespace

ArchivioSpesa::ArchivioSpesa(const QString &libro) : percorso_(percorsoPer(libro))
{
    apri(libro);
}

ArchivioSpesa::~ArchivioSpesa() = default;

QString ArchivioSpesa::percorsoPer(const QString &libro)
{
    const QFileInfo f(libro);
    return f.dir().filePath(f.completeBaseName() + QStringLiteral(".spesa"));
}

void ArchivioSpesa::apri(const QString &libro)
{
    if (QFileInfo::exists(percorso_)) {
        QString danno;
        try {
            file_ = std::make_unique<FileLaterale>(percorso_);
            danno = estraneo(libro);
        } catch (const EngineError &e) {
            if (e.number() != EngineError::DatabaseDanneggiato &&
                e.number() != EngineError::NonUnRicettario)
                throw;
            danno = QStringLiteral(".danneggiato");
        }
        if (!danno.isEmpty()) {
            file_.reset();
            mettiDaParte(libro, danno);
        }
    }
    if (!file_) {
        file_ = std::make_unique<FileLaterale>(percorso_);
        creaTabelle(libro);
    }
}

QString ArchivioSpesa::estraneo(const QString &libro)
{
    const auto danneggiato = QStringLiteral(".danneggiato");
    if (file_->valore(QStringLiteral("PRAGMA application_id")).toLongLong() != IdApplicazione ||
        file_->valore(QStringLiteral("PRAGMA user_version")).toInt() != Versione ||
        file_->valore(QStringLiteral("PRAGMA quick_check")).toString() != QLatin1String("ok"))
        return danneggiato;
    try {
        for (const QString &lettura : Lato::Letture)
            file_->righe(lettura);
    } catch (const EngineError &) {
        return danneggiato;
    }
    const QString suo = file_->valore(QStringLiteral("SELECT nome FROM libro")).toString();
    return suo == nomeFile(libro) ? QString() : QStringLiteral(".altro");
}

void ArchivioSpesa::mettiDaParte(const QString &libro, const QString &suffisso)
{
    QString daParte = percorso_ + suffisso;
    for (int n = 2; QFileInfo::exists(daParte); ++n)
        daParte = percorso_ + suffisso + u'.' + QString::number(n);
    QString suo;
    if (suffisso == QLatin1String(".altro")) {
        FileLaterale f(percorso_);
        suo = f.valore(QStringLiteral("SELECT nome FROM libro")).toString();
    }
    // A journal left beside it belongs to it, not to the new file.
    for (const QString &coda : {QString(), QStringLiteral("-journal")}) {
        const QString da = percorso_ + coda;
        if (QFileInfo::exists(da) &&
            std::rename(QFile::encodeName(da).constData(),
                        QFile::encodeName(daParte + coda).constData()) != 0)
            throw EngineError::daFile(errno, da);
    }
    if (suo.isEmpty())
        avviso_ = QStringLiteral("La lista della spesa di questo ricettario era danneggiata e non "
                                 "si può leggere: ne comincia una nuova. Il file è stato messo da "
                                 "parte come \"%1\".")
                      .arg(nomeFile(daParte));
    else
        avviso_ = QStringLiteral("Il file \"%1\" accanto al ricettario \"%2\" è la lista della "
                                 "spesa del ricettario \"%3\": ne comincia una nuova. Il file è "
                                 "stato messo da parte come \"%4\".")
                      .arg(nomeFile(percorso_), nomeFile(libro), suo, nomeFile(daParte));
}

void ArchivioSpesa::creaTabelle(const QString &libro)
{
    FileLaterale::Transazione t(*file_);
    for (const QString &tabella : Lato::Tabelle)
        file_->esegui(tabella);
    file_->esegui(QStringLiteral("INSERT INTO libro (nome) VALUES (?)"), {nomeFile(libro)});
    file_->esegui(QStringLiteral("PRAGMA application_id = %1").arg(IdApplicazione));
    file_->esegui(QStringLiteral("PRAGMA user_version = %1").arg(Versione));
    t.commit();
}

QList<Scelta> ArchivioSpesa::scelte()
{
    QList<Scelta> s;
    for (const QVariantList &r :
         file_->righe(QStringLiteral("SELECT posizione, IDRicetta, nome, porzioni FROM scelte "
                                     "ORDER BY posizione")))
        s.append({r.at(0).toLongLong(), r.at(1).toLongLong(), r.at(2).toString(), r.at(3).toInt()});
    return s;
}

void ArchivioSpesa::aggiungi(const QList<Scelta> &scelte)
{
    FileLaterale::Transazione t(*file_);
    for (const Scelta &s : scelte)
        file_->esegui(
            QStringLiteral("INSERT INTO scelte (IDRicetta, nome, porzioni) VALUES (?, ?, ?)"),
            {s.ricetta, s.nome, s.porzioni});
    t.commit();
}

void ArchivioSpesa::togli(const QList<qint64> &posizioni)
{
    FileLaterale::Transazione t(*file_);
    for (const qint64 p : posizioni)
        file_->esegui(QStringLiteral("DELETE FROM scelte WHERE posizione = ?"), {p});
    // Ticks and places are kept for the next list only while something is on this one.
    if (file_->valore(QStringLiteral("SELECT count(*) FROM scelte")).toInt() == 0)
        file_->esegui(QStringLiteral("DELETE FROM incasa"));
    t.commit();
}

void ArchivioSpesa::setPorzioni(qint64 posizione, int porzioni)
{
    file_->esegui(QStringLiteral("UPDATE scelte SET porzioni = ? WHERE posizione = ?"),
                  {porzioni, posizione});
}

void ArchivioSpesa::rinomina(qint64 ricetta, const QString &nome)
{
    FileLaterale::Transazione t(*file_);
    file_->esegui(QStringLiteral("UPDATE scelte SET nome = ? WHERE IDRicetta = ?"),
                  {nome, ricetta});
    file_->esegui(QStringLiteral("UPDATE settimana SET nome = ? WHERE IDRicetta = ?"),
                  {nome, ricetta});
    t.commit();
}

QSet<qint64> ArchivioSpesa::inCasa()
{
    QSet<qint64> s;
    for (const QVariantList &r : file_->righe(QStringLiteral("SELECT IDIngrediente FROM incasa")))
        s.insert(r.at(0).toLongLong());
    return s;
}

void ArchivioSpesa::setInCasa(qint64 ingrediente, bool inCasa)
{
    file_->esegui(inCasa ? QStringLiteral("INSERT OR IGNORE INTO incasa (IDIngrediente) VALUES (?)")
                         : QStringLiteral("DELETE FROM incasa WHERE IDIngrediente = ?"),
                  {ingrediente});
}

QHash<qint64, QString> ArchivioSpesa::reparti()
{
    QHash<qint64, QString> h;
    for (const QVariantList &r :
         file_->righe(QStringLiteral("SELECT IDIngrediente, reparto FROM reparti")))
        h.insert(r.at(0).toLongLong(), r.at(1).toString());
    return h;
}

void ArchivioSpesa::setReparto(qint64 ingrediente, const QString &reparto)
{
    file_->esegui(
        QStringLiteral("INSERT OR REPLACE INTO reparti (IDIngrediente, reparto) VALUES (?, ?)"),
        {ingrediente, reparto});
}

QList<Pasto> ArchivioSpesa::settimana()
{
    QList<Pasto> s;
    for (const QVariantList &r : file_->righe(
             QStringLiteral("SELECT giorno, pasto, IDRicetta, nome, porzioni FROM settimana "
                            "ORDER BY giorno, pasto")))
        s.append({r.at(0).toInt(), r.at(1).toInt(), r.at(2).toLongLong(), r.at(3).toString(),
                  r.at(4).toInt()});
    return s;
}

void ArchivioSpesa::setPasto(const Pasto &p)
{
    if (p.nome.trimmed().isEmpty()) {
        file_->esegui(QStringLiteral("DELETE FROM settimana WHERE giorno = ? AND pasto = ?"),
                      {p.giorno, p.pasto});
        return;
    }
    file_->esegui(
        QStringLiteral("INSERT OR REPLACE INTO settimana (giorno, pasto, IDRicetta, "
                       "nome, porzioni) VALUES (?, ?, ?, ?, ?)"),
        {p.giorno, p.pasto, p.ricetta ? QVariant(p.ricetta) : QVariant(), p.nome, p.porzioni});
}

void ArchivioSpesa::svuotaSettimana()
{
    file_->esegui(QStringLiteral("DELETE FROM settimana"));
}

void ArchivioSpesa::staccaRicetta(qint64 ricetta)
{
    FileLaterale::Transazione t(*file_);
    file_->esegui(QStringLiteral("DELETE FROM scelte WHERE IDRicetta = ?"), {ricetta});
    file_->esegui(QStringLiteral("UPDATE settimana SET IDRicetta = NULL WHERE IDRicetta = ?"),
                  {ricetta});
    t.commit();
}
