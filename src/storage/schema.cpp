#include "storage/schema.h"

namespace Schema {

// Made once, at the first call from any thread, and only read after: the check ahead and the
// search read it from their own threads, and are joined before the statics go.
const QList<Tabella> &tabelle()
{
    static const QList<Tabella> t = {
        {CategorieAlimentari,
         {{"IDCategoriaAlimentare", "INTEGER PRIMARY KEY AUTOINCREMENT"},
          {"CategoriaAlimentare", "TEXT"}}},
        {Ingredienti,
         {{"IDIngrediente", "INTEGER PRIMARY KEY AUTOINCREMENT"}, {"Ingrediente", "TEXT"}}},
        {Ricette,
         {{"IDRicetta", "INTEGER PRIMARY KEY AUTOINCREMENT"},
          {"NomeRicetta", "VARCHAR(50)"},
          {"DescrizioneRicetta", "VARCHAR(255)"},
          {"Preparata_da", "VARCHAR(50)"},
          {"TipoPasto", "VARCHAR(50)"},
          {"IDCategoriaAlimentare", "INTEGER"},
          {"Vegetariana", "BOOLEAN NOT NULL DEFAULT 0"},
          {"TempoPreparazione", "VARCHAR(50)"},
          {"NumeroPorzioni", "INTEGER"},
          {"CaloriePerPorzione", "INTEGER"},
          {"InformazioniNutrizionali", "TEXT"},
          {"Ingredienti", "TEXT"},
          {"Istruzioni", "TEXT"},
          {"Note", "TEXT"},
          {"Utensili", "VARCHAR(255)"}}},
        // Deleting an ingredient or a recipe takes its lines with it.
        {IngredientiRicetta,
         {{"IDIngredienteRicetta", "INTEGER PRIMARY KEY AUTOINCREMENT"},
          {"IDRicetta", "INTEGER REFERENCES \"Ricette\"(\"IDRicetta\") ON DELETE CASCADE"},
          {"IDIngrediente",
           "INTEGER REFERENCES \"Ingredienti\"(\"IDIngrediente\") ON DELETE CASCADE"},
          {"Quantità", "TEXT"},
          {"Commenti", "TEXT"}}},
    };
    return t;
}

const Tabella *tabella(const QString &nome)
{
    for (const Tabella &t : tabelle())
        if (t.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

bool colonnaDiTesto(const QString &nome)
{
    for (const Tabella &t : tabelle())
        for (const Colonna &c : t.colonne)
            if (c.nome.compare(nome, Qt::CaseInsensitive) == 0)
                return c.tipo.startsWith("TEXT") || c.tipo.startsWith("VARCHAR");
    return false;
}

int larghezza(const QString &nome, int colonna)
{
    const QString tipo = tabella(nome)->colonne.at(colonna).tipo;
    return tipo.section(u'(', 1).section(u')', 0, 0).toInt();
}

} // namespace Schema
