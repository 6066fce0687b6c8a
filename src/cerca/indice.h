#pragma once

#include "storage/database.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;
class Statement;

// The content search of one book: its texts in an FTS5 index held in memory, never in the
// book. Built when first needed; afterwards only the recipes that the program's own writes
// touched are read again, and the whole book when another program changed the file.
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

    // The index of the book kept since it was last used, or a new one for another book.
    static std::shared_ptr<IndiceRicette> per(const QString &percorso);

    explicit IndiceRicette(const QString &percorso);
    ~IndiceRicette() override;
    IndiceRicette(const IndiceRicette &) = delete;
    IndiceRicette &operator=(const IndiceRicette &) = delete;

    // Whether aggiorna() will read the whole book.
    bool daCostruire() const;
    // Brings the index up to the book; avanzamento(done, total) follows a whole build.
    // Throws EngineError when the book cannot be read.
    void aggiorna(Database &libro, const std::function<void(int, int)> &avanzamento = {});

    // Every word present (by its start) in any text of the recipe, "phrases" whole, -words
    // absent; name matches first. Nothing typed, nothing found.
    QList<Risultato> cerca(const QString &testo, const Filtro &filtro, int massimo = 200);
    // The recipes using any of the ingredients named (by the start of a name, without regard
    // to capitals or accents), those whose lines are covered most first.
    QList<Risultato> cosaCucino(const QStringList &dispensa, const Filtro &filtro,
                                int massimo = 200);

    QStringList nomiIngredienti() const;
    QList<std::pair<qint64, QString>> categorie() const;

    // What the user typed as an FTS5 expression of our own: each term quoted, so no text is
    // ever taken as FTS5 syntax. Empty when there is nothing to look for.
    static QString espressione(const QString &testo, bool soloPositivi = false);

    void rigaCambiata(const QString &tabella, qint64 chiave) override;

private:
    struct Cambi
    {
        QSet<qint64> ricette, righe, ingredienti;
        bool categorie = false;
    };

    void costruisci(Database &libro, const std::function<void(int, int)> &avanzamento);
    void leggiNomi(Database &libro);
    void rifai(Database &libro, const QSet<qint64> &ricette);
    void inserisci(const QVariantList &ricetta, const QList<std::pair<qint64, qint64>> &righe,
                   const QStringList &commenti);
    QList<Risultato> completa(QList<Risultato> risultati);

    QString percorso_;
    sqlite3 *mem_ = nullptr;
    std::unique_ptr<Statement> insTesto_, insRicetta_, insRiga_;
    bool costruito_ = false;
    std::optional<quint32> commit_;
    quint64 nostre_ = 0;
    Cambi cambi_;
    QHash<qint64, QString> ingredienti_;
    QHash<qint64, QString> categorie_;
};
