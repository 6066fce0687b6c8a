// A Recordset moved between its rows, its bookmarks, and the values of its current row read.
#include "storage/recordset.h"

#include "storage/engineerror.h"

// The row a move lands on is read before the controls are filled from it; when the read
// fails the set stays where it was, so nothing typed later goes into a row nobody was shown.
// The next move passes a row that failed for itself (not for a lock on the book), so it
// cannot keep the rows after it out of reach.
void Recordset::arriva(const Posto &prima)
{
    try {
        if (haRigaCorrente())
            righe_.leggi(posizione_);
    } catch (const EngineError &e) {
        if (e.number() != EngineError::FileInUso)
            illeggibile_ = righe_.chiave(posizione_);
        posizione_ = prima.posizione;
        eliminata_ = prima.eliminata;
        persa_ = prima.persa;
        throw;
    }
    if (observer_)
        observer_->dopo();
}

bool Recordset::haRigaCorrente() const
{
    return !eliminata_ && posizione_ >= 0 && posizione_ < righe_.size();
}

bool Recordset::Eof() const
{
    return righe_.size() == 0 || posizione_ >= righe_.size();
}

bool Recordset::Bof() const
{
    return righe_.size() == 0 || posizione_ < 0;
}

int Recordset::AbsolutePosition() const
{
    return modo_ != NuovoInCorso && haRigaCorrente() ? posizione_ : -1;
}

void Recordset::controllaSpostamento(int azione) const
{
    if (eliminata_)
        return; // the row after the deleted one already stands at its place
    if ((azione == Azione::Successivo && posizione_ >= righe_.size()) ||
        (azione == Azione::Precedente && posizione_ < 0))
        throw EngineError(EngineError::NessunRecordCorrente);
}

void Recordset::spostaSenzaEventi(int azione)
{
    const int n = righe_.size();
    controllaSpostamento(azione);
    switch (azione) {
    case Azione::Primo:
        posizione_ = 0;
        break;
    case Azione::Ultimo:
        posizione_ = n > 0 ? n - 1 : 0;
        break;
    case Azione::Successivo:
        if (!eliminata_)
            ++posizione_;
        break;
    case Azione::Precedente:
        --posizione_;
        break;
    }
    // Passed only towards a row beyond it: with none, the move tries it again and says why.
    const int oltre =
        posizione_ + (azione == Azione::Primo || azione == Azione::Successivo ? 1 : -1);
    if (oltre >= 0 && oltre < n && posizione_ >= 0 && posizione_ < n &&
        righe_.chiave(posizione_) == illeggibile_)
        posizione_ = oltre;
    illeggibile_.reset();
    eliminata_ = false;
    persa_ = false;
    modo_ = Nessuna;
    buffer_.clear();
}

void Recordset::Move(int azione)
{
    seguiIlLibro();
    controllaSpostamento(azione);
    if (!avvisa(azione))
        return;
    const Posto prima = posto();
    spostaSenzaEventi(azione);
    arriva(prima);
}

// A bookmark's or a find's row becomes current.
void Recordset::vaiAl(int posizione)
{
    const Posto prima = posto();
    modo_ = Nessuna;
    buffer_.clear();
    posizione_ = posizione;
    eliminata_ = false;
    persa_ = false;
    arriva(prima);
}

QVariant Recordset::Bookmark() const
{
    if (modo_ == NuovoInCorso || !haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    return QVariant(righe_.chiave(posizione_));
}

void Recordset::setBookmark(const QVariant &segnalibro)
{
    seguiIlLibro();
    bool ok = false;
    const qint64 chiave = segnalibro.toLongLong(&ok);
    const int p = ok ? righe_.posizioneDi(chiave) : -1;
    if (p < 0)
        throw EngineError(EngineError::RecordEliminato);
    if (!avvisa(Azione::Segnalibro))
        return;
    vaiAl(p);
}

void Recordset::controllaOrdinale(int ordinale) const
{
    if (ordinale < 0 || ordinale >= int(colonne_.size()))
        throw EngineError(EngineError::CampoSconosciuto, QString::number(ordinale));
}

int Recordset::ordinal(const QString &nome) const
{
    QString n = nome.trimmed();
    if (n.startsWith('[') && n.endsWith(']'))
        n = n.mid(1, n.size() - 2);
    for (int i = 0; i < int(colonne_.size()); ++i)
        if (colonne_[i].nome.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    throw EngineError(EngineError::CampoSconosciuto, nome);
}

Field Recordset::Fields(int ordinale)
{
    controllaOrdinale(ordinale);
    return Field(*this, ordinale);
}

Field Recordset::Fields(const QString &nome)
{
    return Field(*this, ordinal(nome));
}

void Recordset::leggiCorrente() const
{
    if (!righe_.leggi(posizione_))
        throw EngineError(EngineError::RecordEliminato);
}

QVariant Recordset::value(int ordinale) const
{
    controllaOrdinale(ordinale);
    if (modo_ != Nessuna && buffer_.contains(ordinale))
        return buffer_.value(ordinale);
    if (modo_ == NuovoInCorso)
        return QVariant();
    if (!haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    leggiCorrente();
    return righe_.valore(posizione_, ordinale);
}

QVariant Recordset::bookmarkAlPosto(int posizione) const
{
    if (posizione < 0 || posizione >= righe_.size())
        throw EngineError(EngineError::NessunRecordCorrente);
    return QVariant(righe_.chiave(posizione));
}

QVariant Recordset::valoreAlPosto(int posizione, int ordinale) const
{
    if (posizione < 0 || posizione >= righe_.size() || ordinale < 0 ||
        ordinale >= int(colonne_.size()))
        return QVariant();
    return righe_.leggi(posizione) ? righe_.valore(posizione, ordinale) : QVariant();
}

QVariant Recordset::valoreLetto(int posizione, int ordinale) const
{
    if (posizione < 0 || posizione >= righe_.size() || ordinale < 0 ||
        ordinale >= int(colonne_.size()))
        return QVariant();
    return righe_.valoreLetto(posizione, ordinale);
}
