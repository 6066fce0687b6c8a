#pragma once

#include <QString>
#include <QStringList>

// The one place that names the tables, the columns and the record sources of a recipe book.
// Column order is part of the format: several windows read columns by position.
namespace Schema {

inline const QString Ricette = QStringLiteral("Ricette");
inline const QString CategorieAlimentari = QStringLiteral("Categorie alimentari");
inline const QString Ingredienti = QStringLiteral("Ingredienti");
inline const QString IngredientiRicetta = QStringLiteral("ingredienti_ricetta");

// Columns of Ricette by ordinal.
enum ColonnaRicetta {
    IDRicetta = 0,
    NomeRicetta,
    DescrizioneRicetta,
    Preparata_da,
    TipoPasto,
    IDCategoriaAlimentare,
    Vegetariana,
    TempoPreparazione,
    NumeroPorzioni,
    CaloriePerPorzione,
    InformazioniNutrizionali,
    IngredientiTesto,
    Istruzioni,
    Note,
    Utensili,
};

// Columns of Categorie alimentari, Ingredienti and ingredienti_ricetta by ordinal.
enum ColonnaCategoria { IDCategoria = 0, CategoriaAlimentare };
enum ColonnaIngrediente { IDIngrediente = 0, Ingrediente };
enum ColonnaRiga { IDIngredienteRicetta = 0, RigaRicetta, RigaIngrediente, Quantita, Commenti };

struct Colonna
{
    QString nome;
    QString tipo; // declared SQLite type
};

struct Tabella
{
    QString nome;
    QList<Colonna> colonne; // column 0 is the counter key
};

// The four tables, columns in format order.
const QList<Tabella> &tabelle();
const Tabella *tabella(const QString &nome); // without regard to case; nullptr when unknown
bool colonnaDiTesto(const QString &nome);    // a text column of any table, without regard to case
// The width a column of tabella declares ("VARCHAR(50)": 50); 0 when it declares none ("TEXT").
int larghezza(const QString &tabella, int colonna);

// Yes/no values as stored.
constexpr int Si = -1;
constexpr int No = 0;

// Record sources, exactly as the windows write them.
namespace Origine {
// The lines as a bare table, with the capitals the windows write.
inline const QString TabellaRighe = QStringLiteral("Ingredienti_ricetta");
inline const QString CategorieOrdinePerChiave =
    QStringLiteral("select * from [Categorie alimentari] Order by [IDCategoriaAlimentare]");
inline const QString IngredientiPerNome =
    QStringLiteral("select * from [Ingredienti] Order by [Ingrediente]");
inline const QString RicettePerNome =
    QStringLiteral("select * from [Ricette] Order by [NomeRicetta]");
inline const QString RighePrefisso = QStringLiteral(
    "select [IDIngredienteRicetta],[IDRicetta],[IDIngrediente],[Quantità],[Commenti] "
    "from [ingredienti_ricetta] where [IDRicetta]=");
inline const QString RicettePerChiave =
    QStringLiteral("select * from [Ricette] Order by [IDRicetta]");
inline const QString ElencoPrefisso = QStringLiteral("Select NomeRicetta, IDRicetta from Ricette ");
inline const QString ElencoPerCategoria = QStringLiteral("where IDCategoriaAlimentare = ");
inline const QString OrdinePerNome = QStringLiteral(" Order by [NomeRicetta]");
inline const QString ElencoAlfabetico =
    QStringLiteral("select [NomeRicetta], [IDRicetta] from [Ricette] Order by [NomeRicetta]");
inline const QString ElencoVegetariane =
    QStringLiteral("Select NomeRicetta, IDRicetta from Ricette where Vegetariana = -1 Order by "
                   "[NomeRicetta]");
inline const QString CategoriePerNome =
    QStringLiteral("select * from [Categorie Alimentari] Order by [CategoriaAlimentare]");
} // namespace Origine

// Search criteria: each is followed by a key, or by a quoted name for the search by name.
namespace Criterio {
inline const QString PerRicetta = QStringLiteral("IDRicetta = ");
inline const QString PerRiga = QStringLiteral("IDIngredienteRicetta = ");
inline const QString PerCategoria = QStringLiteral("IDCategoriaAlimentare = ");
inline const QString PerIngrediente = QStringLiteral("IDIngrediente = ");
inline const QString DaNome = QStringLiteral("NomeRicetta >= ");
} // namespace Criterio

} // namespace Schema
