// The writes of a Recordset: a new row, an edited row, a deleted row. Opening, moves, finds
// and reads are in recordset.cpp.
#include "storage/recordset.h"

#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/statement.h"

QVariant Recordset::converti(int ordinale, const QVariant &v) const
{
    if (!colonne_[ordinale].numerica)
        return v.typeId() == QMetaType::Bool ? QVariant(v.toBool() ? -1 : 0) : v;
    if (v.typeId() == QMetaType::Bool)
        return QVariant(v.toBool() ? -1 : 0);
    if (v.typeId() != QMetaType::QString)
        return v;
    const QString t = v.toString().trimmed();
    if (t.isEmpty())
        return QVariant(); // an empty box writes no number
    bool ok = false;
    const qlonglong intero = t.toLongLong(&ok);
    if (ok)
        return QVariant(intero);
    const double reale = t.toDouble(&ok);
    if (ok)
        return QVariant(reale);
    throw EngineError(EngineError::ConversioneTipo, t);
}

void Recordset::setValue(int ordinale, const QVariant &v)
{
    controllaOrdinale(ordinale);
    if (modo_ == Nessuna)
        throw EngineError(EngineError::SenzaAddNewOEdit);
    if (ordinale == colonnaChiave_)
        throw EngineError(EngineError::CampoNonAggiornabile, colonne_[ordinale].nome);
    buffer_.insert(ordinale, converti(ordinale, v));
}

void Recordset::AddNew()
{
    if (colonnaChiave_ < 0)
        throw EngineError(EngineError::InsiemeNonAggiornabile);
    if (!avvisa(Azione::NuovoRecord))
        return;
    if (modo_ != NuovoInCorso) {
        posizionePrimaDelNuovo_ = posizione_;
        eliminataPrimaDelNuovo_ = eliminata_;
    }
    modo_ = NuovoInCorso;
    buffer_.clear();
    notifica();
}

void Recordset::Edit()
{
    if (colonnaChiave_ < 0)
        throw EngineError(EngineError::InsiemeNonAggiornabile);
    if (modo_ == Nessuna)
        seguiIlLibro();
    if (!haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    leggiCorrente();
    modo_ = InModifica;
    buffer_.clear();
}

void Recordset::CancelUpdate()
{
    if (modo_ == NuovoInCorso) {
        posizione_ = posizionePrimaDelNuovo_;
        eliminata_ = eliminataPrimaDelNuovo_;
    }
    modo_ = Nessuna;
    buffer_.clear();
}

// Every write of the set goes here: one statement of its own on one row of its table (at
// posizione; -1 for a row added). The rows it keeps stay read, and stay in the source's order
// when the write keeps it and nothing else broke it before.
qint64 Recordset::scriviRiga(const QString &sql, const QVariantList &valori, int posizione,
                             bool ordineIntatto)
{
    const bool inOrdinePrima = versioneOrdine_ == db_->versione(tabella_);
    righe_.primaDellaScrittura();
    const qint64 cambiate = db_->scrivi(tabella_, sql, valori);
    righe_.dopoLaScrittura(posizione);
    if (inOrdinePrima && ordineIntatto)
        versioneOrdine_ = db_->versione(tabella_);
    return cambiate;
}

void Recordset::inserisci()
{
    QStringList nomi, segnaposti;
    QVariantList valori;
    for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
        nomi << quotaNome(colonne_[it.key()].origine);
        segnaposti << QStringLiteral("?");
        valori << it.value();
    }
    const QString sql =
        nomi.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotaNome(tabella_))
                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(quotaNome(tabella_), nomi.join(','), segnaposti.join(','));
    // The new row stands last, wherever its value would sort.
    scriviRiga(sql, valori, -1, false);

    // Read when it is first asked for: the row is stored whatever becomes of that read.
    const qint64 chiave = db_->ultimaChiave();
    righe_.aggiungi(chiave);
    ultimaModificata_ = QVariant(chiave);
    if (observer_)
        observer_->righeCambiate();
    posizione_ = posizionePrimaDelNuovo_;
    eliminata_ = eliminataPrimaDelNuovo_;
    modo_ = Nessuna;
    buffer_.clear();
}

void Recordset::aggiorna()
{
    const qint64 chiave = righe_.chiave(posizione_);
    if (!buffer_.isEmpty()) {
        QStringList assegnazioni;
        QVariantList valori;
        for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
            assegnazioni << quotaNome(colonne_[it.key()].origine) + " = ?";
            valori << it.value();
        }
        valori << chiave;
        // The row keeps its place, whatever its new value.
        const qint64 cambiate = scriviRiga(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                               .arg(quotaNome(tabella_), assegnazioni.join(','),
                                                    quotaNome(colonne_[colonnaChiave_].origine)),
                                           valori, posizione_, !buffer_.contains(ordinatoPer_));
        // Another program deleted the row since it was read: nothing was written, and what
        // was typed stays in the buffer for the caller to keep.
        if (cambiate == 0)
            throw EngineError(EngineError::RecordEliminato);
        if (observer_)
            observer_->righeCambiate();
    }
    ultimaModificata_ = QVariant(chiave);
    modo_ = Nessuna;
    buffer_.clear();
}

void Recordset::concludiSenzaEventi()
{
    if (modo_ == NuovoInCorso) {
        if (buffer_.isEmpty())
            CancelUpdate(); // a new row left untouched is not stored
        else
            inserisci();
    } else if (modo_ == InModifica) {
        aggiorna();
    }
}

void Recordset::scriviSenzaEventi(const QHash<int, QVariant> &valori)
{
    if (valori.isEmpty())
        return;
    if (modo_ == Nessuna)
        Edit();
    for (auto it = valori.cbegin(); it != valori.cend(); ++it)
        setValue(it.key(), it.value());
}

void Recordset::Update()
{
    if (modo_ == Nessuna)
        throw EngineError(EngineError::SenzaAddNewOEdit);
    if (!avvisa(Azione::Aggiornamento))
        return;
    const bool nuovo = modo_ == NuovoInCorso;
    // The row being edited may be gone since Edit: the typing stays in the buffer.
    if (!nuovo && (seguiIlLibro(), !haRigaCorrente()))
        throw EngineError(EngineError::RecordEliminato);
    if (nuovo)
        inserisci();
    else
        aggiorna();
    if (nuovo)
        notifica();
}

void Recordset::Delete()
{
    if (modo_ == NuovoInCorso) {
        // Deleting the row being added only abandons it: the row before it is current again.
        CancelUpdate();
        notifica();
        return;
    }
    seguiIlLibro();
    if (!haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    if (!avvisa(Azione::Eliminazione))
        return;
    modo_ = Nessuna;
    buffer_.clear();
    scriviRiga(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                   .arg(quotaNome(tabella_), quotaNome(colonne_[colonnaChiave_].origine)),
               {righe_.chiave(posizione_)}, posizione_, true);
    righe_.togli(posizione_);
    eliminata_ = true;
    if (observer_)
        observer_->righeCambiate();
}
