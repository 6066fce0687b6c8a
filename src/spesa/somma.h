#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A recipe of the list as read from the book, with the portions the cook will make.
struct RicettaLetta
{
    struct Riga
    {
        qint64 ingrediente = 0;
        QString nome;
        QString quantita; // as stored: "0.5", "0,5", "" or "0" for none
        QString commento; // the measure first: "g (ben sgocciolata)"
    };
    qint64 chiave = 0;
    QString nome;
    int porzioniLibro = 0; // the recipe's own
    int porzioni = 0;      // the list's
    QList<Riga> righe;
};

// One line of the shopping list: an ingredient and what the recipes want of it.
struct Voce
{
    qint64 ingrediente = 0;
    QString nome;
    QString quantita;   // "500 g + 2 cucchiai"; empty when no line gives a number ("q.b.")
    QStringList perChi; // "Lasagne (300 g)", in the list's order
    QString reparto;
    bool inCasa = false;

    // "Farina 00: 500 g + 2 cucchiai", or the bare name.
    QString testo() const;
};

// The ingredients of the recipes, each line converted to its recipe's portions with the
// editor's rounding, added up by ingredient and measure; in the order they first appear.
QList<Voce> somma(const QList<RicettaLetta> &ricette);
