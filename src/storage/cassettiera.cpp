// The row cache of a set: the values of the rows it read last, at most CassettiTenuti rows of a
// keyed set, in drawers used in turn. A row's values serve while its table's write version
// (versioni.cpp) is the one they were read at and its drawer still holds it; they are dropped
// when the version moves (a write of the table, but the set's own to one row, which drops that
// row alone; another program's commit; a rollback) or when the drawer takes another row, and
// read again, a block of rows at a time, when next asked for.
#include "storage/cassettiera.h"

#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/statement.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sqlite3.h>

Cassettiera::Cassettiera(Database &db) : db_(db) {}

Cassettiera::~Cassettiera() = default;

void Cassettiera::apriPerChiave(const std::vector<qint64> &chiavi,
                                std::shared_ptr<Statement> rilettura,
                                std::shared_ptr<Statement> una, int colonnaChiave,
                                const QString &tabella)
{
    tabella_ = tabella;
    righe_.clear();
    posizioni_.clear();
    cassetti_.assign(CassettiTenuti, Cassetto{});
    prossimoCassetto_ = 0;
    rilettura_ = std::move(rilettura);
    una_ = std::move(una);
    colonnaChiave_ = colonnaChiave;
    righe_.reserve(chiavi.size());
    for (const qint64 k : chiavi)
        righe_.push_back(Riga{k, 0});
}

void Cassettiera::apriSenzaChiave(Statement &righe)
{
    righe_.clear();
    posizioni_.clear();
    cassetti_.clear();
    prossimoCassetto_ = 0;
    rilettura_.reset();
    una_.reset();
    colonnaChiave_ = -1;
    tabella_.clear();
    const quint64 versione = db_.versione(tabella_);
    while (righe.step()) {
        Riga r{qint64(righe_.size()), versione};
        r.cassetto = int(cassetti_.size());
        copia(righe, cassetti_.emplace_back());
        righe_.push_back(r);
    }
}

int Cassettiera::posizioneDi(qint64 chiave) const
{
    if (posizioni_.isEmpty() && !righe_.empty()) {
        posizioni_.reserve(qsizetype(righe_.size()));
        for (int i = size() - 1; i >= 0; --i)
            posizioni_.insert(righe_[i].chiave, i);
    }
    return posizioni_.value(chiave, -1);
}

void Cassettiera::aggiungi(qint64 chiave)
{
    if (!posizioni_.isEmpty() && !posizioni_.contains(chiave))
        posizioni_.insert(chiave, size());
    righe_.push_back(Riga{chiave, 0});
}

void Cassettiera::togli(int posizione)
{
    righe_.erase(righe_.begin() + posizione);
    posizioni_.clear();
}

void Cassettiera::copia(const Statement &s, Cassetto &c)
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

QVariant Cassettiera::valore(int posizione, int ordinale) const
{
    const Riga &r = righe_[posizione];
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

QVariant Cassettiera::valoreLetto(int posizione, int ordinale) const
{
    return tenuta(righe_[posizione]) ? valore(posizione, ordinale) : QVariant();
}

bool Cassettiera::tenuta(const Riga &r) const
{
    return !r.eliminata && r.cassetto >= 0 && cassetti_[r.cassetto].generazione == r.generazione;
}

void Cassettiera::sincronizza() const
{
    if (db_.versione(tabella_) != vista_)
        validaDa_ = vista_ = db_.versione(tabella_);
}

void Cassettiera::primaDellaScrittura() const
{
    sincronizza();
}

void Cassettiera::dopoLaScrittura(int posizione)
{
    // One statement of the set's own came between: its change is this row's alone.
    vista_ = db_.versione(tabella_);
    if (posizione >= 0 && posizione < size()) {
        righe_[posizione].cassetto = -1;
        righe_[posizione].eliminata = false;
    }
}

bool Cassettiera::letta(const Riga &r) const
{
    sincronizza();
    return r.versione >= validaDa_ && (r.eliminata || tenuta(r));
}

int Cassettiera::prendiCassetto() const
{
    const int c = prossimoCassetto_;
    prossimoCassetto_ = (prossimoCassetto_ + 1) % int(cassetti_.size());
    ++cassetti_[c].generazione; // the row it held is read again when next asked for
    return c;
}

void Cassettiera::leggiBlocco(const std::vector<Riga *> &blocco) const
{
    if (blocco.empty())
        return;
    const quint64 versione = db_.versione(tabella_);
    std::vector<std::pair<qint64, Riga *>> perChiave;
    perChiave.reserve(blocco.size());
    for (Riga *r : blocco)
        perChiave.emplace_back(r->chiave, r);
    std::sort(perChiave.begin(), perChiave.end());
    // One row alone by its own statement: a list of one key in Blocco places costs more.
    Statement &s = blocco.size() == 1 ? *una_ : *rilettura_;
    const int posti = blocco.size() == 1 ? 1 : Blocco;
    s.reset();
    for (int i = 0; i < posti; ++i)
        s.bind(i + 1, blocco[std::min<size_t>(i, blocco.size() - 1)]->chiave);
    std::vector<std::pair<Riga *, int>> letti;
    letti.reserve(blocco.size());
    while (s.step()) {
        const qint64 chiave = sqlite3_column_int64(s.handle(), colonnaChiave_);
        const auto [da, a] = std::equal_range(
            perChiave.begin(), perChiave.end(), std::pair<qint64, Riga *>(chiave, nullptr),
            [](const auto &x, const auto &y) { return x.first < y.first; });
        if (da == a)
            continue;
        const int c = prendiCassetto();
        copia(s, cassetti_[c]);
        for (auto it = da; it != a; ++it)
            letti.emplace_back(it->second, c);
    }
    s.reset();
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

// Each statement is a read transaction of its own, which costs far more than a row: the rows a
// walk will want next are read too, those before when the ones after are read.
std::vector<Cassettiera::Riga *> Cassettiera::bloccoDa(int posizione, int quante) const
{
    const int n = size();
    const bool indietro = posizione > 0 && posizione + 1 < n && letta(righe_[posizione + 1]);
    std::vector<Riga *> blocco;
    for (int i = 0; i < quante; ++i) {
        const int p = indietro ? posizione - i : posizione + i;
        if (p < 0 || p >= n)
            break;
        if (!letta(righe_[p]))
            blocco.push_back(&righe_[p]);
    }
    return blocco;
}

bool Cassettiera::leggi(int posizione, int quante) const
{
    Riga &cercata = righe_[posizione];
    if (!rilettura_ || letta(cercata))
        return !cercata.eliminata;
    const std::vector<Riga *> blocco = bloccoDa(posizione, qBound(1, quante, int(Blocco)));
    try {
        leggiBlocco(blocco);
    } catch (const EngineError &e) {
        // A lock holds the whole book; other failures (a value over the limits) may be one
        // row's own: the others are read one by one, and only that row keeps failing.
        if (blocco.size() == 1 || e.number() == EngineError::FileInUso)
            throw;
        for (Riga *r : blocco) {
            try {
                leggiBlocco({r});
            } catch (const EngineError &) {
                if (r == &cercata)
                    throw;
            }
        }
    }
    return !cercata.eliminata;
}
