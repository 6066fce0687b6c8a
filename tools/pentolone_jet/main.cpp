// Reads a recipe book kept in a Jet (Access) file and writes it as a new book of ours.
// The converter starts it as a child process because libmdb may loop or crash on a damaged file:
// the parent then kills it and throws the half-written book away.
//
//   pentolone-jet <jet file> <new book>
//
// Lines on standard output: "totale N" (rows in all), "fatti N" as each table starts and every
// few rows (the parent takes a long silence for a hang), "fine" once the book is written. A file
// that is no recipe book gives one line "manca-tabella T" or "manca-colonna T<tab>C" (names as our
// format writes them), "illeggibile", "non-scrivibile" or "troppo-lungo T<tab>C", and exit code 2.
#include "limiti/limiti.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"
#include "storage/statement.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <mdbtools.h>
#include <memory>
#include <vector>

namespace {

// Large enough for a memo of a million characters; a longer one is refused, not cut.
constexpr size_t Misura = 16 * 1024 * 1024;
constexpr int OgniRighe = 50;
// The exit code of a refusal, its reason on the last line: the program words it for the cook.
constexpr int Rifiutato = 2;

struct Rifiuto
{
    QByteArray riga;
};

void scrivi(const QByteArray &riga)
{
    std::fwrite(riga.constData(), 1, size_t(riga.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// libmdb's file and its tables' definitions, freed however the conversion ends, a refusal too:
// the tables before the file they were read from.
struct ChiudiFile
{
    void operator()(MdbHandle *mdb) const { mdb_close(mdb); }
};
struct LiberaTabella
{
    void operator()(MdbTableDef *t) const { mdb_free_tabledef(t); }
};
using Tabella = std::unique_ptr<MdbTableDef, LiberaTabella>;

struct Lettura
{
    const Schema::Tabella *schema;
    Tabella tabella;
    std::vector<int> colonne; // libmdb's column number for each of ours
};

Tabella leggiTabella(MdbHandle *mdb, GPtrArray *catalogo, const QString &nome)
{
    for (guint i = 0; i < catalogo->len; ++i) {
        auto *voce = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalogo, i));
        if (voce->object_type != MDB_TABLE ||
            QString::fromUtf8(voce->object_name).compare(nome, Qt::CaseInsensitive) != 0)
            continue;
        Tabella t(mdb_read_table(voce));
        if (!t || !mdb_read_columns(t.get()))
            throw Rifiuto{"illeggibile"};
        return t;
    }
    (void)mdb;
    throw Rifiuto{"manca-tabella " + nome.toUtf8()};
}

Lettura prepara(MdbHandle *mdb, GPtrArray *catalogo, const Schema::Tabella &schema)
{
    Lettura l{&schema, leggiTabella(mdb, catalogo, schema.nome), {}};
    for (const Schema::Colonna &c : schema.colonne) {
        int trovata = -1;
        for (guint i = 0; i < l.tabella->columns->len && trovata < 0; ++i) {
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(l.tabella->columns, i));
            if (QString::fromUtf8(col->name).compare(c.nome, Qt::CaseInsensitive) == 0)
                trovata = int(i);
        }
        if (trovata < 0)
            throw Rifiuto{"manca-colonna " + schema.nome.toUtf8() + '\t' + c.nome.toUtf8()};
        l.colonne.push_back(trovata);
    }
    return l;
}

bool colonnaIntera(const Schema::Colonna &c)
{
    return c.tipo.startsWith("INTEGER") || c.tipo.startsWith("BOOLEAN");
}

// One value as our book stores it: yes/no as -1/0, whole numbers as numbers, the rest as text.
QVariant valore(MdbHandle *mdb, const Lettura &l, int i, const MdbField &campo)
{
    auto *col = static_cast<MdbColumn *>(g_ptr_array_index(l.tabella->columns, l.colonne[i]));
    if (col->col_type == MDB_BOOL) // the null bit holds the value
        return campo.is_null ? Schema::No : Schema::Si;
    if (campo.is_null)
        return QVariant();
    if (campo.siz == 0)
        return QString("");
    char *testo = mdb_col_to_string(mdb, mdb->pg_buf, campo.start, col->col_type, campo.siz);
    if (!testo)
        return QVariant();
    const size_t lunghezza = std::strlen(testo);
    const QString s = QString::fromUtf8(testo, qsizetype(lunghezza));
    g_free(testo);
    // A memo whose pages are lost comes back empty, without a word from libmdb: its own header
    // still tells the length it had.
    if (col->col_type == MDB_MEMO && lunghezza == 0 && campo.siz >= 4 &&
        (mdb_get_int32(mdb->pg_buf, campo.start) & 0x3fffffff) > 0)
        throw Rifiuto{"illeggibile"};
    if (lunghezza + 8 >= Misura)
        throw Rifiuto{"troppo-lungo " + l.schema->nome.toUtf8() + '\t' +
                      l.schema->colonne[i].nome.toUtf8()};
    if (colonnaIntera(l.schema->colonne[i])) {
        bool ok = false;
        const qlonglong n = s.toLongLong(&ok);
        if (ok)
            return n;
        const double d = s.toDouble(&ok);
        if (ok)
            return d;
    }
    return s;
}

int copia(MdbHandle *mdb, const Lettura &l, Database &db, int fatti)
{
    QStringList nomi, segni;
    for (const Schema::Colonna &c : l.schema->colonne) {
        nomi << '"' + c.nome + '"';
        segni << "?";
    }
    Statement ins(db.handle(), QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                   .arg(l.schema->nome, nomi.join(", "), segni.join(", ")));
    std::vector<MdbField> campi(MDB_MAX_COLS);
    std::vector<int> perNumero(MDB_MAX_COLS);
    scrivi("fatti " + QByteArray::number(fatti));
    const int fine = fatti + int(l.tabella->num_rows);
    mdb_rewind_table(l.tabella.get());
    while (mdb_fetch_row(l.tabella.get())) {
        // A broken page chain can hand back rows without end.
        if (fatti == fine)
            throw Rifiuto{"illeggibile"};
        // Read the fields again to tell NULL from an empty text, which bound columns do not.
        int inizio = 0;
        size_t misura = 0;
        if (mdb_find_row(mdb, int(l.tabella->cur_row) - 1, &inizio, &misura) != 0)
            throw Rifiuto{"illeggibile"};
        const int n = mdb_crack_row(l.tabella.get(), inizio & 0x1fff, misura, campi.data());
        if (n < 0 || n > MDB_MAX_COLS)
            throw Rifiuto{"illeggibile"};
        std::fill(perNumero.begin(), perNumero.end(), -1);
        for (int f = 0; f < n; ++f)
            if (campi[f].colnum >= 0 && campi[f].colnum < MDB_MAX_COLS)
                perNumero[campi[f].colnum] = f;
        for (size_t i = 0; i < l.colonne.size(); ++i) {
            const int f = perNumero[l.colonne[i]];
            ins.bind(int(i) + 1, f < 0 ? QVariant() : valore(mdb, l, int(i), campi[f]));
        }
        ins.step();
        ins.reset();
        if (++fatti % OgniRighe == 0)
            scrivi("fatti " + QByteArray::number(fatti));
    }
    // A lost page loses its rows without a word from libmdb: the catalogue still counts them.
    if (fatti != fine)
        throw Rifiuto{"illeggibile"};
    return fatti;
}

int converti(const char *jet, const QString &destinazione)
{
    const std::unique_ptr<MdbHandle, ChiudiFile> file(mdb_open(jet, MDB_NOFLAGS));
    MdbHandle *mdb = file.get();
    if (!mdb)
        throw Rifiuto{"illeggibile"};
    mdb_set_bind_size(mdb, Misura);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb, "%Y-%m-%d");
    GPtrArray *catalogo = mdb_read_catalog(mdb, MDB_TABLE);
    if (!catalogo)
        throw Rifiuto{"illeggibile"};
    std::vector<Lettura> letture; // after file: gone before it
    qint64 totale = 0;
    for (const Schema::Tabella &t : Schema::tabelle()) {
        letture.push_back(prepara(mdb, catalogo, t));
        totale += letture.back().tabella->num_rows;
    }
    scrivi("totale " + QByteArray::number(totale));
    {
        std::shared_ptr<Database> db;
        try {
            db = Database::crea(destinazione);
        } catch (const EngineError &) {
            throw Rifiuto{"non-scrivibile"};
        }
        Database::Transazione t(*db);
        int fatti = 0;
        for (const Lettura &l : letture)
            fatti = copia(mdb, l, *db, fatti);
        // libmdb reads past the end of a cut file or guesses at a broken page with no more than
        // a warning, and hands back rows that were never there: any warning means damage.
        std::fflush(stderr);
        if (lseek(STDERR_FILENO, 0, SEEK_END) > 0)
            throw Rifiuto{"illeggibile"};
        // Rows the catalogue counts may still point at keys lost with a damaged page.
        if (db->valore("PRAGMA foreign_key_check").isValid())
            throw Rifiuto{"illeggibile"};
        scrivi("fatti " + QByteArray::number(fatti));
        t.commit();
    }
    scrivi("fine");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (!Limiti::prepara(argc, 2, "pentolone-jet <file jet> <nuovo ricettario>", {4ull << 30}))
        return 1;
    std::setlocale(LC_ALL, "C");             // numbers with a point, whatever the user's language
    setenv("MDBICONV", "UTF-8", 1);          // what libmdb hands back
    setenv("MDB_JET3_CHARSET", "CP1252", 0); // Italian books of Access 97
    if (std::FILE *avvisi = std::tmpfile())
        dup2(fileno(avvisi), STDERR_FILENO); // libmdb's warnings, looked at once all is read
    try {
        return converti(argv[1], QString::fromLocal8Bit(argv[2]));
    } catch (const Rifiuto &r) {
        scrivi(r.riga);
        return Rifiutato;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
