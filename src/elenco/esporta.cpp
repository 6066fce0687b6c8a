// The recipe list's ways out: the selected recipes, or all listed, printed or written to a
// MealMaster file; the selected ones to the shopping list.
#include "elenco/elenco.h"
#include "ui_elenco.h"

#include "elenco/righeelenco.h"
#include "formati/mealmaster.h"
#include "printing/impaginazione.h"
#include "printing/superficie.h"
#include "storage/criteria.h"
#include "storage/database.h"
#include "storage/datasource.h"
#include "storage/engineerror.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "toolkit/dialogs.h"

#include <QFileInfo>

using namespace Schema;

namespace {

RicettaEstera estera(const RicettaDaStampare &d)
{
    const auto campo = [&d](int i) { return d.campi.value(i).toString(); };
    RicettaEstera r;
    r.nome = campo(Schema::NomeRicetta);
    r.descrizione = campo(Schema::DescrizioneRicetta);
    r.preparataDa = campo(Schema::Preparata_da);
    r.tipoPasto = campo(Schema::TipoPasto);
    r.categoria = d.categoria;
    r.vegetariana = d.campi.value(Schema::Vegetariana).toInt() != 0;
    r.tempo = campo(Schema::TempoPreparazione);
    r.porzioni = d.campi.value(Schema::NumeroPorzioni).toInt();
    r.calorie = d.campi.value(Schema::CaloriePerPorzione).toInt();
    r.informazioni = campo(Schema::InformazioniNutrizionali);
    r.ingredientiTesto = campo(Schema::IngredientiTesto);
    r.istruzioni = campo(Schema::Istruzioni);
    r.note = campo(Schema::Note);
    r.utensili = campo(Schema::Utensili);
    for (const RigaDaStampare &l : d.righe)
        r.righe.append({l.quantita, l.nome, l.commento});
    return r;
}

} // namespace

void Elenco::esporta_Click()
{
    const int elencate = righe_->rowCount();
    if (elencate == 0 || righe_->chiave(0).isEmpty())
        return;
    auto [prima, ultima] = selezione();
    if (ultima - prima + 1 < elencate) {
        const auto r = dialogs().messageBox(
            righe({QStringLiteral("Esportare solo le ricette selezionate (%1)?")
                       .arg(ultima - prima + 1),
                   QStringLiteral("Sì: solo quelle selezionate. No: tutte le %1 ricette "
                                  "elencate.")
                       .arg(elencate)}),
            Dialogs::SiNoAnnulla, "Esporta", Dialogs::Domanda);
        if (r == Dialogs::Annulla)
            return;
        if (r == Dialogs::No)
            std::tie(prima, ultima) = std::pair(0, elencate - 1);
    }
    // One recipe's file is proposed under its name, which may hold a slash.
    const QString proposto = (prima == ultima ? righe_->nome(prima).trimmed().replace(u'/', u'-')
                                              : QStringLiteral("Ricette")) +
                             ".mmf";
    const QString file = dialogs().openFile("Esporta in un file MealMaster",
                                            "Ricette MealMaster |*.mmf", proposto, true);
    if (file.isEmpty())
        return;
    QList<RicettaEstera> ricette;
    QString errore;
    try {
        const Database::Lettura unaLettura(insieme(Data3).database());
        for (int riga = prima; riga <= ultima; ++riga)
            if (!righe_->chiave(riga).isEmpty())
                ricette.append(estera(leggiRicetta(riga)));
        errore = MealMaster::scrivi(file, ricette);
    } catch (const EngineError &e) {
        errore = e.description();
    }
    if (!errore.isEmpty()) {
        dialogs().messageBox(righe({"L'esportazione non è stata eseguita:", errore}),
                             Dialogs::SoloOK, "Errore di esportazione", Dialogs::Critica);
        return;
    }
    dialogs().messageBox(QStringLiteral("%1 nel file %2.")
                             .arg(ricette.size() == 1
                                      ? QStringLiteral("Esportata una ricetta")
                                      : QStringLiteral("Esportate %1 ricette").arg(ricette.size()),
                                  QFileInfo(file).fileName()),
                         Dialogs::SoloOK, "Esportazione completata", Dialogs::Informazione);
}

TrascinaRicette::Ricette Elenco::ricetteSelezionate() const
{
    TrascinaRicette::Ricette r;
    if (righe_->rowCount() == 0)
        return r;
    const auto [prima, ultima] = selezione();
    for (int riga = prima; riga <= ultima; ++riga)
        if (!righe_->chiave(riga).isEmpty())
            r.append({righe_->chiave(riga).toLongLong(), righe_->nome(riga).trimmed()});
    return r;
}

void Elenco::allaSpesa_Click()
{
    QList<qint64> chiavi;
    for (const auto &[chiave, nome] : ricetteSelezionate())
        chiavi << chiave;
    if (!chiavi.isEmpty())
        emit aggiungiAllaSpesa(chiavi);
}

void Elenco::stampaScelte_Click()
{
    const auto [prima, ultima] = selezione();
    stampa(prima, ultima);
}

void Elenco::stampaTutte_Click()
{
    stampa(0, righe_->rowCount() - 1);
}

// Every copy of one recipe before the next recipe; an empty list asks nothing.
void Elenco::stampa(int prima, int ultima)
{
    if (righe_->rowCount() == 0)
        return;
    comandoDiStampa(
        [&](int copie) {
            for (int riga = prima; riga <= ultima; ++riga)
                for (int c = 0; c < copie && !righe_->chiave(riga).isEmpty(); ++c)
                    StampaRicetta(riga);
        },
        prima == ultima ? righe_->nome(prima) : QStringLiteral("Ricette"),
        ui->chkAnteprima->isChecked());
}

void Elenco::StampaRicetta(int riga)
{
    ImpaginazioneRicetta(SuperficieStampa::instance(), StampaDaElenco)
        .StampaRicetta(leggiRicetta(riga));
}

RicettaDaStampare Elenco::leggiRicetta(int riga)
{
    const QString chiave = righe_->chiave(riga);
    Recordset &ricette = insieme(Data3);
    ricette.FindFirst(Criterio::PerRicetta + chiave);
    // A recipe gone since it was listed is not printed in another's place.
    if (ricette.NoMatch())
        throw EngineError(EngineError::RicettaEliminata, righe_->nome(riga));
    RicettaDaStampare r;
    for (int i = 0; i < ricette.fieldCount(); ++i)
        r.campi.append(ricette.value(i));
    const QVariant categoria = r.campi.value(IDCategoriaAlimentare);
    for (int i = 0; i < ui->Lista->count(); ++i)
        if (!categoria.isNull() && ui->Lista->itemData(i).toLongLong() == categoria.toLongLong())
            r.categoria = ui->Lista->itemText(i);

    // Only this recipe's lines are read, not the whole table.
    Data4->setRecordSource(Origine::RighePrefisso + chiave);
    Recordset &linee = insieme(Data4, true);
    Recordset &ingredienti = insieme(Data5);
    const QString criterio = Criterio::PerRicetta + chiave;
    for (linee.FindFirst(criterio); !linee.NoMatch(); linee.FindNext(criterio)) {
        ingredienti.FindFirst(Criterio::PerIngrediente + linee.value(RigaIngrediente).toString());
        r.righe.append({ingredienti.value(Ingrediente).toString(),
                        linee.value(Quantita).toString().trimmed(),
                        linee.value(Commenti).toString().trimmed()});
    }
    return r;
}
