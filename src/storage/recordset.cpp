#include "storage/recordset.h"

#include "storage/collation.h"
#include "storage/criteria.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QRegularExpression>
#include <algorithm>
#include <bit>
#include <cstring>
#include <sqlite3.h>

namespace {

QString quota(const QString &nome)
{
    return QLatin1Char('"') + QString(nome).replace('"', "\"\"") + QLatin1Char('"');
}

// Text columns named in the closing Order by are sorted in the Italian order.
QString conOrdineItaliano(const QString &sql)
{
    static const QRegularExpression ordine(QStringLiteral(R"(\border\s+by\s+(.+)$)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression termine(
        QStringLiteral(R"(^\s*(\[([^\]]+)\]|(\w+))(\s+(asc|desc))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = ordine.match(sql);
    if (!m.hasMatch())
        return sql;
    QStringList termini = m.captured(1).split(',');
    for (QString &t : termini) {
        const QRegularExpressionMatch c = termine.match(t);
        if (!c.hasMatch())
            return sql;
        const QString nome = c.captured(2).isEmpty() ? c.captured(3) : c.captured(2);
        if (Schema::colonnaDiTesto(nome))
            t = c.captured(1) + " COLLATE " + Collazione::Nome + c.captured(4);
    }
    return sql.left(m.capturedStart(1)) + termini.join(',');
}

bool tipoNumerico(const QString &tipo)
{
    const QString t = tipo.toUpper();
    for (const char *parola : {"INT", "BOOL", "REAL", "NUM", "DOUB", "FLOA", "DEC"})
        if (t.contains(QLatin1String(parola)))
            return true;
    return false;
}

} // namespace

QVariant Field::Value() const
{
    return rs_.value(ordinale_);
}

void Field::setValue(const QVariant &v)
{
    rs_.setValue(ordinale_, v);
}

QString Field::Name() const
{
    return rs_.fieldName(ordinale_);
}

Recordset::Recordset(std::shared_ptr<Database> db, const QString &origine)
    : db_(std::move(db)), origine_(origine)
{
    apri();
    posizione_ = 0;
}

Recordset::~Recordset() = default;

void Recordset::apri()
{
    QString sql = origine_.trimmed();
    const bool tabella = !sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
    if (tabella) {
        const Schema::Tabella *t = Schema::tabella(sql);
        if (!t)
            throw EngineError(EngineError::OrigineSconosciuta, origine_);
        sql = "SELECT * FROM " + quota(t->nome);
    }
    sql = conOrdineItaliano(sql);

    Statement s(db_->handle(), sql, db_->percorso());
    colonne_.clear();
    tabella_.clear();
    colonnaChiave_ = -1;
    bool aggiornabile = true;
    for (int i = 0; i < s.columnCount(); ++i) {
        colonne_.push_back({s.columnName(i), s.columnOrigin(i), tipoNumerico(s.columnDecltype(i))});
        const QString t = s.columnTable(i);
        if (t.isEmpty() || (!tabella_.isEmpty() && t != tabella_))
            aggiornabile = false;
        if (tabella_.isEmpty())
            tabella_ = t;
    }
    const Schema::Tabella *schema = Schema::tabella(tabella_);
    if (aggiornabile && schema) {
        for (int i = 0; i < int(colonne_.size()); ++i)
            if (colonne_[i].origine.compare(schema->colonne.first().nome, Qt::CaseInsensitive) == 0)
                colonnaChiave_ = i;
    }
    rilettura_.reset();
    if (colonnaChiave_ >= 0) {
        QStringList nomi;
        for (const Colonna &c : colonne_)
            nomi << quota(c.origine);
        QStringList segnaposti;
        for (int i = 0; i < Blocco; ++i)
            segnaposti << QStringLiteral("?");
        rilettura_ = std::make_unique<Statement>(
            db_->handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                .arg(nomi.join(','), quota(tabella_), quota(colonne_[colonnaChiave_].origine),
                     segnaposti.join(',')),
            db_->percorso());
    }

    righe_.clear();
    cassetti_.clear();
    prossimoCassetto_ = 0;
    if (colonnaChiave_ >= 0) {
        cassetti_.resize(CassettiTenuti);
        // Only the keys, in the source's order: the engine sorts small records, and a row's
        // values are read when a move lands on it.
        Statement chiavi(
            db_->handle(),
            QStringLiteral("SELECT %1 FROM (%2)").arg(quota(colonne_[colonnaChiave_].nome), sql),
            db_->percorso());
        while (chiavi.step())
            righe_.push_back(Riga{sqlite3_column_int64(chiavi.handle(), 0), 0});
        // A table's own order is its key's. The engine reads the keys from its narrowest
        // index, in that index's order; sorting them here costs less than reading the table.
        if (tabella)
            std::sort(righe_.begin(), righe_.end(),
                      [](const Riga &a, const Riga &b) { return a.chiave < b.chiave; });
    } else {
        // Without a key the rows cannot be read again: each keeps a drawer of its own.
        const quint64 versione = db_->versione();
        while (s.step()) {
            Riga r{qint64(righe_.size()), versione};
            r.cassetto = int(cassetti_.size());
            copia(s, cassetti_.emplace_back());
            righe_.push_back(r);
        }
    }
    modo_ = Nessuna;
    buffer_.clear();
    eliminata_ = false;
}

void Recordset::Requery()
{
    apri();
    posizione_ = 0;
}

bool Recordset::avvisa(int azione)
{
    return !observer_ || observer_->prima(azione);
}

void Recordset::notifica()
{
    if (haRigaCorrente())
        aggiornaDa(posizione_);
    if (observer_)
        observer_->dopo();
}

// The row a move lands on is read before the controls are filled from it; when the read
// fails the set stays where it was, so nothing typed later goes into a row nobody was shown.
// The next move passes a row that failed for itself (not for a lock on the book), so it
// cannot keep the rows after it out of reach.
void Recordset::arriva(const Posto &prima)
{
    try {
        if (haRigaCorrente())
            aggiornaDa(posizione_);
    } catch (const EngineError &e) {
        if (e.number() != EngineError::FileInUso)
            illeggibile_ = righe_[posizione_].chiave;
        posizione_ = prima.posizione;
        eliminata_ = prima.eliminata;
        throw;
    }
    if (observer_)
        observer_->dopo();
}

bool Recordset::haRigaCorrente() const
{
    return !eliminata_ && posizione_ >= 0 && posizione_ < int(righe_.size());
}

bool Recordset::Eof() const
{
    return righe_.empty() || posizione_ >= int(righe_.size());
}

bool Recordset::Bof() const
{
    return righe_.empty() || posizione_ < 0;
}

int Recordset::AbsolutePosition() const
{
    return modo_ != NuovoInCorso && haRigaCorrente() ? posizione_ : -1;
}

void Recordset::spostaSenzaEventi(int azione)
{
    const int n = int(righe_.size());
    switch (azione) {
    case Azione::Primo:
        posizione_ = 0;
        break;
    case Azione::Ultimo:
        posizione_ = n > 0 ? n - 1 : 0;
        break;
    case Azione::Successivo:
        if (eliminata_)
            break; // the row after the deleted one already stands at its place
        if (posizione_ >= n)
            throw EngineError(EngineError::NessunRecordCorrente);
        ++posizione_;
        break;
    case Azione::Precedente:
        if (!eliminata_ && posizione_ < 0)
            throw EngineError(EngineError::NessunRecordCorrente);
        --posizione_;
        break;
    }
    // Passed only towards a row beyond it: with none, the move tries it again and says why.
    const int oltre =
        posizione_ + (azione == Azione::Primo || azione == Azione::Successivo ? 1 : -1);
    if (oltre >= 0 && oltre < n && posizione_ >= 0 && posizione_ < n &&
        righe_[posizione_].chiave == illeggibile_)
        posizione_ = oltre;
    illeggibile_.reset();
    eliminata_ = false;
    modo_ = Nessuna;
    buffer_.clear();
}

void Recordset::MoveFirst()
{
    if (!avvisa(Azione::Primo))
        return;
    const Posto prima = posto();
    spostaSenzaEventi(Azione::Primo);
    arriva(prima);
}

void Recordset::MoveLast()
{
    if (!avvisa(Azione::Ultimo))
        return;
    const Posto prima = posto();
    spostaSenzaEventi(Azione::Ultimo);
    arriva(prima);
}

void Recordset::MoveNext()
{
    if (!eliminata_ && posizione_ >= int(righe_.size()))
        throw EngineError(EngineError::NessunRecordCorrente);
    if (!avvisa(Azione::Successivo))
        return;
    const Posto prima = posto();
    spostaSenzaEventi(Azione::Successivo);
    arriva(prima);
}

void Recordset::MovePrevious()
{
    if (!eliminata_ && posizione_ < 0)
        throw EngineError(EngineError::NessunRecordCorrente);
    if (!avvisa(Azione::Precedente))
        return;
    const Posto prima = posto();
    spostaSenzaEventi(Azione::Precedente);
    arriva(prima);
}

QVariant Recordset::Bookmark() const
{
    if (modo_ == NuovoInCorso || !haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    return QVariant(righe_[posizione_].chiave);
}

int Recordset::posizioneDi(qint64 chiave) const
{
    for (int i = 0; i < int(righe_.size()); ++i)
        if (righe_[i].chiave == chiave)
            return i;
    return -1;
}

void Recordset::setBookmark(const QVariant &segnalibro)
{
    bool ok = false;
    const qint64 chiave = segnalibro.toLongLong(&ok);
    const int p = ok ? posizioneDi(chiave) : -1;
    if (p < 0)
        throw EngineError(EngineError::RecordEliminato);
    if (!avvisa(Azione::Segnalibro))
        return;
    const Posto prima = posto();
    modo_ = Nessuna;
    buffer_.clear();
    posizione_ = p;
    eliminata_ = false;
    arriva(prima);
}

void Recordset::controllaOrdinale(int ordinale) const
{
    if (ordinale < 0 || ordinale >= int(colonne_.size()))
        throw EngineError(EngineError::CampoSconosciuto, QString::number(ordinale));
}

QString Recordset::fieldName(int ordinale) const
{
    controllaOrdinale(ordinale);
    return colonne_[ordinale].nome;
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

void Recordset::copia(const Statement &s, Cassetto &c)
{
    sqlite3_stmt *h = s.handle();
    const int n = sqlite3_column_count(h);
    c.celle.resize(n);
    qsizetype lunghezza = 0;
    for (int i = 0; i < n; ++i) {
        Cella &v = c.celle[i];
        v.tipo = sqlite3_column_type(h, i);
        v.lunghezza = 0;
        if (v.tipo == SQLITE_INTEGER) {
            v.dato = sqlite3_column_int64(h, i);
        } else if (v.tipo == SQLITE_FLOAT) {
            v.dato = std::bit_cast<qint64>(sqlite3_column_double(h, i));
        } else if (v.tipo != SQLITE_NULL) {
            v.lunghezza = sqlite3_column_bytes(h, i);
            v.dato = lunghezza;
            lunghezza += v.lunghezza;
        }
    }
    c.testi.resize(lunghezza); // keeps the buffer a drawer had
    char *destinazione = c.testi.data();
    for (int i = 0; i < n; ++i) {
        const Cella &v = c.celle[i];
        if (v.lunghezza > 0)
            std::memcpy(destinazione + v.dato,
                        v.tipo == SQLITE_TEXT ? sqlite3_column_text(h, i)
                                              : sqlite3_column_blob(h, i),
                        size_t(v.lunghezza));
    }
}

QVariant Recordset::valoreDi(const Riga &r, int ordinale) const
{
    const Cassetto &c = cassetti_[r.cassetto];
    const Cella &v = c.celle[ordinale];
    switch (v.tipo) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(v.dato));
    case SQLITE_FLOAT:
        return QVariant(std::bit_cast<double>(v.dato));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(c.testi.constData() + v.dato, v.lunghezza));
    case SQLITE_BLOB:
        return QVariant(QByteArray(c.testi.constData() + v.dato, v.lunghezza));
    default:
        return QVariant();
    }
}

bool Recordset::letta(const Riga &r) const
{
    return r.versione == db_->versione() &&
           (r.eliminata || (r.cassetto >= 0 && cassetti_[r.cassetto].generazione == r.generazione));
}

int Recordset::prendiCassetto() const
{
    const int c = prossimoCassetto_;
    prossimoCassetto_ = (prossimoCassetto_ + 1) % int(cassetti_.size());
    ++cassetti_[c].generazione; // the row it held is read again when next asked for
    return c;
}

void Recordset::leggi(const std::vector<Riga *> &blocco) const
{
    if (blocco.empty())
        return;
    const quint64 versione = db_->versione();
    std::vector<std::pair<qint64, Riga *>> perChiave;
    perChiave.reserve(blocco.size());
    for (Riga *r : blocco)
        perChiave.emplace_back(r->chiave, r);
    std::sort(perChiave.begin(), perChiave.end());
    rilettura_->reset();
    for (int i = 0; i < Blocco; ++i)
        rilettura_->bind(i + 1, blocco[std::min<size_t>(i, blocco.size() - 1)]->chiave);
    std::vector<std::pair<Riga *, int>> letti;
    letti.reserve(blocco.size());
    while (rilettura_->step()) {
        const qint64 chiave = sqlite3_column_int64(rilettura_->handle(), colonnaChiave_);
        const auto [da, a] = std::equal_range(
            perChiave.begin(), perChiave.end(), std::pair<qint64, Riga *>(chiave, nullptr),
            [](const auto &x, const auto &y) { return x.first < y.first; });
        if (da == a)
            continue;
        const int c = prendiCassetto();
        copia(*rilettura_, cassetti_[c]);
        for (auto it = da; it != a; ++it)
            letti.emplace_back(it->second, c);
    }
    rilettura_->reset();
    // Only a read that went through changes the rows: after a failure (a lock, a value over
    // the limits) they stay unread, and the next access tries again.
    for (Riga *r : blocco) {
        r->versione = versione;
        r->eliminata = true; // unless the book still has it
        r->cassetto = -1;
    }
    for (const auto &[r, c] : letti) {
        r->eliminata = false;
        r->cassetto = c;
        r->generazione = cassetti_[c].generazione;
    }
}

void Recordset::aggiornaDa(int posizione) const
{
    if (!rilettura_ || letta(righe_[posizione]))
        return;
    // Each statement is a read transaction of its own, which costs far more than a row:
    // read the rows a walk will want next too, those before when the ones after are read.
    const int n = int(righe_.size());
    const bool indietro = posizione > 0 && posizione + 1 < n && letta(righe_[posizione + 1]);
    std::vector<Riga *> blocco;
    for (int i = 0; i < Blocco; ++i) {
        const int p = indietro ? posizione - i : posizione + i;
        if (p < 0 || p >= n)
            break;
        if (!letta(righe_[p]))
            blocco.push_back(&righe_[p]);
    }
    try {
        leggi(blocco);
    } catch (const EngineError &e) {
        // A lock holds the whole book; other failures (a value over the limits) may be one
        // row's own: the others are read one by one, and only that row keeps failing.
        if (blocco.size() == 1 || e.number() == EngineError::FileInUso)
            throw;
        for (Riga *r : blocco) {
            try {
                leggi({r});
            } catch (const EngineError &) {
                if (r == &righe_[posizione])
                    throw;
            }
        }
    }
}

const Recordset::Riga &Recordset::riga(int posizione) const
{
    aggiornaDa(posizione);
    Riga &r = righe_[posizione];
    if (r.eliminata)
        throw EngineError(EngineError::RecordEliminato);
    return r;
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
    return valoreDi(riga(posizione_), ordinale);
}

QVariant Recordset::bookmarkAlPosto(int posizione) const
{
    if (posizione < 0 || posizione >= int(righe_.size()))
        throw EngineError(EngineError::NessunRecordCorrente);
    return QVariant(righe_[posizione].chiave);
}

QVariant Recordset::valoreAlPosto(int posizione, int ordinale) const
{
    if (posizione < 0 || posizione >= int(righe_.size()) || ordinale < 0 ||
        ordinale >= int(colonne_.size()))
        return QVariant();
    aggiornaDa(posizione);
    const Riga &r = righe_[posizione];
    return r.eliminata ? QVariant() : valoreDi(r, ordinale);
}

QVariant Recordset::valoreLetto(int posizione, int ordinale) const
{
    if (posizione < 0 || posizione >= int(righe_.size()) || ordinale < 0 ||
        ordinale >= int(colonne_.size()))
        return QVariant();
    const Riga &r = righe_[posizione];
    if (r.eliminata || r.cassetto < 0 || cassetti_[r.cassetto].generazione != r.generazione)
        return QVariant();
    return valoreDi(r, ordinale);
}

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
    if (!haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    riga(posizione_); // throws for a row deleted elsewhere
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

void Recordset::inserisci()
{
    QStringList nomi, segnaposti;
    QVariantList valori;
    for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
        nomi << quota(colonne_[it.key()].origine);
        segnaposti << QStringLiteral("?");
        valori << it.value();
    }
    const QString sql = nomi.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quota(tabella_))
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quota(tabella_), nomi.join(','), segnaposti.join(','));
    db_->esegui(sql, valori);

    // Read when it is first asked for: the row is stored whatever becomes of that read.
    righe_.push_back(Riga{db_->ultimaChiave(), 0});
    ultimaModificata_ = QVariant(righe_.back().chiave);
    if (observer_)
        observer_->righeCambiate();
    posizione_ = posizionePrimaDelNuovo_;
    eliminata_ = eliminataPrimaDelNuovo_;
    modo_ = Nessuna;
    buffer_.clear();
}

void Recordset::aggiorna()
{
    Riga &r = righe_[posizione_];
    if (!buffer_.isEmpty()) {
        QStringList assegnazioni;
        QVariantList valori;
        for (auto it = buffer_.cbegin(); it != buffer_.cend(); ++it) {
            assegnazioni << quota(colonne_[it.key()].origine) + " = ?";
            valori << it.value();
        }
        valori << r.chiave;
        db_->esegui(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                        .arg(quota(tabella_), assegnazioni.join(','),
                             quota(colonne_[colonnaChiave_].origine)),
                    valori);
        if (observer_)
            observer_->righeCambiate();
    }
    ultimaModificata_ = QVariant(r.chiave);
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
    if (!haRigaCorrente())
        throw EngineError(EngineError::NessunRecordCorrente);
    if (!avvisa(Azione::Eliminazione))
        return;
    modo_ = Nessuna;
    buffer_.clear();
    const Riga &r = righe_[posizione_];
    db_->esegui(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                    .arg(quota(tabella_), quota(colonne_[colonnaChiave_].origine)),
                {r.chiave});
    righe_.erase(righe_.begin() + posizione_);
    eliminata_ = true;
    if (observer_)
        observer_->righeCambiate();
}

void Recordset::cerca(const QString &testo, int da, int passo)
{
    const Criterio criterio = Criterio::analizza(testo);
    const int ordinale = ordinal(criterio.colonna());
    if (!avvisa(Azione::Ricerca)) {
        noMatch_ = false; // nothing was searched: no answer from an earlier find stays
        return;
    }
    for (int p = da; p >= 0 && p < int(righe_.size()); p += passo) {
        if (criterio.soddisfattoDa(valoreAlPosto(p, ordinale))) {
            const Posto prima = posto();
            modo_ = Nessuna;
            buffer_.clear();
            posizione_ = p;
            eliminata_ = false;
            noMatch_ = false;
            arriva(prima);
            return;
        }
    }
    noMatch_ = true;
}

void Recordset::FindFirst(const QString &criterio)
{
    cerca(criterio, 0, 1);
}

void Recordset::FindLast(const QString &criterio)
{
    cerca(criterio, int(righe_.size()) - 1, -1);
}

void Recordset::FindNext(const QString &criterio)
{
    cerca(criterio, eliminata_ ? posizione_ : posizione_ + 1, 1);
}

void Recordset::FindPrevious(const QString &criterio)
{
    cerca(criterio, posizione_ - 1, -1);
}
