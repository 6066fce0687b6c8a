#pragma once

#include "import/elenconomi.h"
#include "toolkit/dialogs.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class Recordset;

// What one import remembers beyond the window it runs in: the current book's names as the import
// leaves them (read once, each one it adds added to them), the source book's lines and
// ingredients by key, the answers and choices ticked "for all", and what was done, for
// "Importazione completata".
//
// A button's import starts afresh (nuovaImportazione: no answer for all, nothing counted); when
// the books are put back as they were, what was read of them is read again (dimenticaLibri).
class MemoriaImportazione
{
public:
    // The questions of an import; a tick under one answers the following ones of its kind.
    enum class Domanda {
        RicettaIdentica,
        RicettaSimile,
        RinominaRicetta,
        CategoriaSimile,
        RinominaCategoria,
        IngredienteSimile,
        RinominaIngrediente
    };
    // The current book's tables whose names an import compares.
    enum class Nomi { Ricette, Categorie, Ingredienti };
    // What one button's import did.
    struct Resoconto
    {
        int importate = 0, saltate = 0, rinominate = 0, ingredienti = 0, categorie = 0;
    };

    void nuovaImportazione();
    void dimenticaLibri();

    // The answer ticked for every question of its kind, if one was.
    std::optional<Dialogs::Risposta> risposta(Domanda d) const;
    void fissaRisposta(Domanda d, Dialogs::Risposta r);
    // The choice ticked for every request that stands for the same thing (per), if one was.
    std::optional<qint64> scelta(const QString &per) const;
    void fissaScelta(const QString &per, qint64 chiave);

    // The names of one table of the current book, read from tabella the first time.
    ElencoNomi &nomi(Nomi quali, Recordset &tabella);
    // A recipe, category or ingredient the import added to the current book: known, and
    // counted.
    void aggiunto(Nomi quali, qint64 chiave, const QString &nome);
    // The positions of a source recipe's lines among righe, the source book's lines in table
    // order: read once, not once per recipe.
    const QList<int> &righeSorgente(qint64 ricetta, Recordset &righe);
    // The name of a source ingredient, read once from ingredienti; none when the source book
    // does not hold it.
    std::optional<QString> ingredienteSorgente(qint64 chiave, Recordset &ingredienti);

    Resoconto &resoconto() { return resoconto_; }
    // "Importazione completata" and what was done.
    QString completata() const;

private:
    QHash<Domanda, Dialogs::Risposta> risposte_;
    QHash<QString, qint64> scelte_; // by what they stand for: a kind and the source's name
    Resoconto resoconto_;

    ElencoNomi nomi_[3];
    bool nomiLetti_[3] = {};
    QHash<qint64, QList<int>> righePerRicetta_;
    bool righeLette_ = false;
    QHash<qint64, QString> ingredientiSorgente_;
    bool ingredientiLetti_ = false;
};
