#pragma once

#include "storage/connessione.h"
#include "storage/database.h"
#include "storage/impronta.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

class Statement;

// What the cook typed, as the terms a search looks for. A cook types a few words: at most
// MassimoTermini terms of at most MassimoLettere characters each are kept, the rest is left out
// (ridotta says so). Control characters, NUL included, separate words like spaces.
struct Domanda
{
    static constexpr int MassimoTermini = 30;
    static constexpr int MassimoLettere = 40;
    // Words found by their start at most: in a longer text (pasted, most likely) every word but
    // the last is found whole, as each start costs a walk over every word it begins.
    static constexpr int PerInizio = 8;

    QStringList presenti, assenti; // as typed; a phrase keeps its spaces
    QList<bool> frasi;             // for each of presenti then assenti: between quotes
    bool ridotta = false;

    static Domanda di(const QString &testo);
    bool vuota() const { return presenti.isEmpty(); }
    // An FTS5 expression of our own: each term quoted, so no text is ever FTS5 syntax; a word is
    // found by its start (see PerInizio). Empty when there is nothing to look for.
    QString espressione(bool soloPositivi = false) const;
};

// The content search of one book: its texts in an FTS5 index kept in a file of its own (or in
// memory), never in the book. The file names the book's fingerprint (storage/impronta.h) as it
// was when the index last matched it; an index whose fingerprint is not the book's is never
// trusted as it is: the recipes the program's own writes touched are read again when only those
// writes changed the file (the update hook names them), and otherwise every recipe is compared
// with the one indexed, by a hash of what the index holds of it, and only those that differ are
// read again (sincronia.cpp). One thread uses it, but rigaCambiata, which the thread writing the
// book calls.
class IndiceRicette : public Database::Osservatore
{
public:
    struct Filtro
    {
        bool soloVegetariane = false;
        qint64 categoria = 0; // 0: every category
    };
    struct Risultato
    {
        qint64 chiave = 0;
        QString nome;
        QString categoria;
        bool vegetariana = false;
        QString estratto = {}; // HTML: the words found in <b>
        int coperte = 0;       // "Cosa cucino con...": lines covered, of righe
        int righe = 0;
        QStringList mancanti = {}; // the ingredients of the other lines, once each
    };
    enum class Stato {
        Fedele,      // the book as indexed
        SoloNostre,  // changed by the program's own writes alone, which the hook named
        DaRileggere, // changed otherwise (another program, a copy put in its place)
    };

    // file: the index's own file, created when missing and started afresh when damaged or
    // of another format; empty: in memory. Throws EngineError when it cannot be had.
    explicit IndiceRicette(const QString &libro, const QString &file = QString());
    ~IndiceRicette() override;
    IndiceRicette(const IndiceRicette &) = delete;
    IndiceRicette &operator=(const IndiceRicette &) = delete;

    // The file a book's index is kept in, inside cartella.
    static QString fileDi(const QString &libro, const QString &cartella);

    Stato stato() const;
    // Whether the index was ever brought up to the book, in full.
    bool completo() const { return completo_; }

    // Brings the index up to the book, in full; avanzamento(done, total) follows a comparison.
    // Throws EngineError when the book cannot be read.
    void aggiorna(Database &libro, const std::function<void(int, int)> &avanzamento = {});
    // The same in steps, for a thread that answers searches in between: inizia() says whether
    // there is anything to do; each passo() reads a block of recipes, false once done.
    bool inizia(Database &libro);
    bool passo(Database &libro, int &fatte, int &tutte);

    // While it is set, a search stops soon after fermo becomes true, with no results.
    void setFermo(const std::atomic<bool> *fermo) { fermo_ = fermo; }

    // Recipes ranked at most; past them, a search's recipes come in the book's order.
    static constexpr int Classificabili = 2000;
    // Words a name may hold: a search of more puts no recipe first for its name.
    static constexpr int ParoleDiUnNome = 8;

    // Every word present (by its start) in any text of the recipe, "phrases" whole, -words
    // absent; name matches first. Nothing typed, nothing found.
    QList<Risultato> cerca(const Domanda &domanda, const Filtro &filtro, int massimo = 200);
    QList<Risultato> cerca(const QString &testo, const Filtro &filtro, int massimo = 200)
    {
        return cerca(Domanda::di(testo), filtro, massimo);
    }
    // The recipes using any of the ingredients named (by the start of a name, without regard
    // to capitals, accents or a last vowel: "uova" is "Uovo"), those missing fewest lines
    // first.
    QList<Risultato> cosaCucino(const QStringList &dispensa, const Filtro &filtro,
                                int massimo = 200);

    QStringList nomiIngredienti() const;
    QList<std::pair<qint64, QString>> categorie() const;

    void rigaCambiata(const QString &tabella, qint64 chiave) override;

private:
    struct Cambi
    {
        QSet<qint64> ricette, righe, ingredienti;
        bool categorie = false;
        bool vuoti() const
        {
            return ricette.isEmpty() && righe.isEmpty() && ingredienti.isEmpty() && !categorie;
        }
    };
    struct Sincronia // a comparison under way
    {
        Impronta impronta; // the book's when it started
        quint64 nostre = 0;
        qint64 ultima = 0; // the last key compared
        int fatte = 0, tutte = 0;
    };

    void apriFile(const QString &file);
    void creaTabelle();
    QString meta(const QString &chiave) const;
    void setMeta(const QString &chiave, const QString &valore);
    void leggiNomi(Database &libro);
    void caricaNomi();
    void soloNostre(Database &libro);
    void rifai(Database &libro, const QSet<qint64> &ricette);
    void inserisci(const QVariantList &ricetta, const QList<std::pair<qint64, qint64>> &righe,
                   const QStringList &commenti, quint64 impronta);
    static quint64 improntaDi(const QVariantList &ricetta, const QStringList &righe);
    QStringList testiRighe(const QList<std::pair<qint64, qint64>> &righe,
                           const QStringList &commenti) const;

    void esegui(std::initializer_list<const char *> istruzioni);

    QString libro_;
    QString file_; // the index's own, or Connessione::InMemoria
    Connessione db_;
    std::unique_ptr<Statement> insTesto_, insRicetta_, insRiga_;
    bool completo_ = false;
    Impronta impronta_;  // the book's, when the index last matched it
    quint64 nostre_ = 0; // the program's own commits to the book then
    mutable QMutex guardiaCambi_;
    Cambi cambi_;
    std::unique_ptr<Sincronia> sincronia_;
    const std::atomic<bool> *fermo_ = nullptr;
    QHash<qint64, QString> ingredienti_;
    QHash<qint64, QString> categorie_;
};
