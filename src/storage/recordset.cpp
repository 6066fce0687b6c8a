// A Recordset opened and kept up with the book; its moves and reads are in
// recordsetspostamenti.cpp, its finds in recordsetricerca.cpp, its writes in recordsetmodifica.cpp
// and the values it keeps of its rows in cassettiera.cpp.
#include "storage/recordset.h"

#include "storage/collation.h"
#include "storage/criteria.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QRegularExpression>

namespace {

// Text columns named in the closing Order by are sorted in the Italian order. primo names the
// first term's column when it is a text column sorted ascending, and is empty otherwise.
QString conOrdineItaliano(const QString &sql, QString &primo)
{
    static const QRegularExpression ordine(QStringLiteral(R"(\border\s+by\s+(.+)$)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression termine(
        QStringLiteral(R"(^\s*(\[([^\]]+)\]|(\w+))(\s+(asc|desc))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    primo.clear();
    const QRegularExpressionMatch m = ordine.match(sql);
    if (!m.hasMatch())
        return sql;
    QStringList termini = m.captured(1).split(',');
    QString primaColonna;
    for (QString &t : termini) {
        const QRegularExpressionMatch c = termine.match(t);
        if (!c.hasMatch())
            return sql;
        const QString nome = c.captured(2).isEmpty() ? c.captured(3) : c.captured(2);
        if (Schema::colonnaDiTesto(nome)) {
            if (&t == &termini.first() && c.captured(5).compare("desc", Qt::CaseInsensitive) != 0)
                primaColonna = nome;
            t = c.captured(1) + " COLLATE " + Collazione::Nome + c.captured(4);
        }
    }
    primo = primaColonna;
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

Recordset::Recordset(std::shared_ptr<Database> db, const QString &origine)
    : db_(db), origine_(origine), righe_(*db)
{
    apri();
    posizione_ = 0;
}

Recordset::~Recordset() = default;

void Recordset::apri()
{
    bool tabella = false;
    QString primo;
    const QString sql = sqlDellOrigine(tabella, primo);
    Statement s(db_->handle(), sql, db_->percorso());
    leggiColonne(s);
    ordinatoPer_ = -1;
    for (int i = 0; colonnaChiave_ >= 0 && i < int(colonne_.size()); ++i)
        if (!primo.isEmpty() && colonne_[i].origine.compare(primo, Qt::CaseInsensitive) == 0)
            ordinatoPer_ = i;
    leggiRighe(s, sql, tabella);
    modo_ = Nessuna;
    buffer_.clear();
    eliminata_ = false;
    persa_ = false;
}

// A table's name stands for all its rows.
QString Recordset::sqlDellOrigine(bool &tabella, QString &primo) const
{
    QString sql = origine_.trimmed();
    tabella = !sql.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
    if (tabella) {
        const Schema::Tabella *t = Schema::tabella(sql);
        if (!t)
            throw EngineError(EngineError::OrigineSconosciuta, origine_);
        sql = "SELECT * FROM " + quotaNome(t->nome);
    }
    return conOrdineItaliano(sql, primo);
}

// The set can be written when all its columns come from one table of the book whose key it
// selects.
void Recordset::leggiColonne(const Statement &s)
{
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
}

// Reads the set's columns of quante rows by their keys (Blocco, or one).
std::shared_ptr<Statement> Recordset::rilettura(int quante) const
{
    QStringList nomi;
    for (const Colonna &c : colonne_)
        nomi << quotaNome(c.origine);
    QStringList segnaposti;
    for (int i = 0; i < quante; ++i)
        segnaposti << QStringLiteral("?");
    return db_->preparato(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                              .arg(nomi.join(','), quotaNome(tabella_),
                                   quotaNome(colonne_[colonnaChiave_].origine),
                                   segnaposti.join(',')));
}

void Recordset::leggiRighe(Statement &s, const QString &sql, bool tabella)
{
    if (colonnaChiave_ < 0) {
        righe_.apriSenzaChiave(s);
        return;
    }
    // Only the keys, in the source's order: the engine sorts small records, and a row's
    // values are read when a move lands on it. A "select *" asks for the key alone, so the sort
    // does not carry every column (the engine keeps a subquery's columns through its sort).
    static const QRegularExpression tutte(QStringLiteral(R"(^\s*select\s+\*\s+from\s)"),
                                          QRegularExpression::CaseInsensitiveOption);
    // The sort reads the column it sorts by: its values come along, for the list of names.
    const QString chiave = quotaNome(colonne_[colonnaChiave_].nome);
    const QRegularExpressionMatch m = tutte.match(sql);
    const QString ordinata =
        ordinatoPer_ >= 0 ? ", " + quotaNome(colonne_[ordinatoPer_].origine) : QString();
    const QString sqlChiavi =
        m.hasMatch() ? "SELECT " + chiave + ordinata + " FROM " + sql.mid(m.capturedEnd())
                     : QStringLiteral("SELECT %1 FROM (%2)").arg(chiave, sql);
    // Sets of one origin opened while their table is unchanged share one sort.
    db_->guardaAltrui();
    altruiVisti_ = db_->cambiDaAltri();
    ordine_ = db_->ordine(sqlChiavi, tabella_);
    if (!ordine_) {
        auto letto = std::make_shared<Database::Ordine>();
        letto->versione = db_->versione(tabella_);
        letto->altrui = altruiVisti_;
        Statement chiavi(db_->handle(), sqlChiavi, db_->percorso());
        const bool conValori = chiavi.columnCount() > 1;
        while (chiavi.step()) {
            letto->chiavi.push_back(chiavi.column(0).toLongLong());
            if (conValori)
                letto->valori << chiavi.column(1);
        }
        // A table's own order is its key's. The engine reads the keys from its narrowest
        // index, in that index's order; sorting them here costs less than reading the table.
        if (tabella)
            std::sort(letto->chiavi.begin(), letto->chiavi.end());
        db_->ricordaOrdine(sqlChiavi, letto);
        ordine_ = letto;
    }
    versioneOrdine_ = ordine_->versione;
    righe_.apriPerChiave(ordine_->chiavi, rilettura(Cassettiera::Blocco), rilettura(1),
                         colonnaChiave_, tabella_);
}

bool Recordset::inOrdine(int ordinale) const
{
    return ordinale >= 0 && ordinale == ordinatoPer_ && versioneOrdine_ == db_->versione(tabella_);
}

void Recordset::Requery()
{
    apri();
    posizione_ = 0;
}

bool Recordset::seguiIlLibro()
{
    if (colonnaChiave_ < 0)
        return false; // rows without a key cannot be found again
    db_->guardaAltrui();
    if (db_->cambiDaAltri() == altruiVisti_)
        return false;
    richiave();
    return true;
}

// The keys read again in the source's order. The current row (or, after a deletion, the row
// standing in its place) is found again by its key; when the book lost it, the set stands where
// the next row that is still there stands now, with no current row.
void Recordset::richiave()
{
    const auto daRitrovare = [this](int posizione) -> std::vector<qint64> {
        std::vector<qint64> chiavi; // the row, then those after it, as the set had them
        for (int p = qMax(0, posizione); p < righe_.size(); ++p)
            chiavi.push_back(righe_.chiave(p));
        return chiavi;
    };
    const std::vector<qint64> corrente = daRitrovare(posizione_);
    const std::vector<qint64> primaDelNuovo = daRitrovare(posizionePrimaDelNuovo_);
    const bool fuori = posizione_ >= righe_.size();
    const bool cera = haRigaCorrente();
    bool tabella = false;
    QString primo;
    const QString sql = sqlDellOrigine(tabella, primo);
    Statement s(db_->handle(), sql, db_->percorso());
    leggiRighe(s, sql, tabella);
    const auto ritrova = [this](const std::vector<qint64> &chiavi, bool &persa) {
        persa = false;
        for (const qint64 k : chiavi) {
            if (const int p = righe_.posizioneDi(k); p >= 0)
                return p;
            persa = true;
        }
        return int(righe_.size());
    };
    bool persa = false;
    if (modo_ == NuovoInCorso) {
        bool persaPrima = false;
        posizionePrimaDelNuovo_ = ritrova(primaDelNuovo, persaPrima);
        eliminataPrimaDelNuovo_ = eliminataPrimaDelNuovo_ || persaPrima;
    }
    if (fuori) {
        posizione_ = posizione_ < 0 ? -1 : righe_.size();
        return;
    }
    posizione_ = ritrova(corrente, persa);
    if (cera && persa) {
        eliminata_ = true;
        persa_ = true;
    }
}

bool Recordset::avvisa(int azione)
{
    return !observer_ || observer_->prima(azione);
}

void Recordset::notifica()
{
    // A new row has nothing to read yet.
    if (haRigaCorrente() && modo_ != NuovoInCorso)
        leggiCorrente();
    if (observer_)
        observer_->dopo();
}
