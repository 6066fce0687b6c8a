#pragma once

#include "import/confrontanomi.h"
#include "storage/schema.h"

#include <QHash>
#include <QList>
#include <QString>

// The names of one table of the current book, in table order, kept in capitals and grouped by
// their first letter: two names can be identical or similar only when their first letters
// agree, so a name is compared with that group alone, still in table order. Within it a name
// whose length is not within 3/5 of the other's is passed over (it can be neither), and the
// first row of each name in capitals is kept, so an identical name is found without a scan.
class ElencoNomi
{
public:
    // Recipes, categories and ingredients alike keep their key first and their name next.
    static constexpr int ColonnaChiave = Schema::IDCategoria;
    static constexpr int ColonnaNome = Schema::CategoriaAlimentare;

    struct Voce
    {
        qint64 chiave;
        QString nome;
        QString maiuscolo;
    };

    void aggiungi(qint64 chiave, const QString &nome);
    void svuota();
    const Voce &voce(int i) const { return voci_.at(i); }
    int conta() const { return int(voci_.size()); }

    // The first row, in table order, identical or similar to nome: its index, or -1.
    int primoSimile(const QString &nome, Somiglianza &esito) const;
    // The first identical row (-1 when none) and the last similar one (-1 when none).
    void scandisci(const QString &nome, int &identico, int &ultimoSimile) const;

private:
    // Whether row i is identical or similar to a (nome in capitals, of length la).
    Somiglianza confronta(const QString &a, qsizetype la, int i) const;

    QList<Voce> voci_;
    QHash<QChar, QList<int>> perIniziale_;
    QHash<QString, int> primoUguale_; // the first row of each name in capitals
};
