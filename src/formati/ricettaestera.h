#pragma once

#include <QList>
#include <QString>

// A recipe read from a foreign file or page, in the book's own terms, before it is written into
// a source book for the import window.
struct RigaEstera
{
    QString quantita;    // as the editor stores a typed one: "0.5", never "1/2"; empty when none
    QString ingrediente; // the name, capital rule applied
    QString commento;    // unit and remarks ("g", "q.b.", "(ben sgocciolata)")
};

struct RicettaEstera
{
    QString nome; // at most 50 characters
    QString descrizione;
    QString preparataDa;
    QString tipoPasto;
    QString categoria; // empty: no category
    bool vegetariana = false;
    QString tempo;
    int porzioni = 4;
    int calorie = 0; // 0: not known
    QString informazioni;
    QString ingredientiTesto;
    QString istruzioni;
    QString note;
    QString utensili;
    QList<RigaEstera> righe;
};

namespace LibroSorgente {

// Writes the recipes into a new book at percorso, in one transaction: categories and
// ingredients once per name (without regard to capitals), lines in their order. Throws
// EngineError naming the cause; on failure nothing is left at percorso.
void scrivi(const QString &percorso, const QList<RicettaEstera> &ricette);

} // namespace LibroSorgente
