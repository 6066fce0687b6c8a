#pragma once

#include "spesa/listaspesa.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace Ui {
class Spesa;
}
class EngineError;
class QTableWidgetItem;
class QTreeWidgetItem;
class Telefono;

// "Lista della spesa": the chosen recipes with their portions, and what to buy for them, by
// department, added up. Recipes come in from the other windows through the shell; the list and
// its choices are kept beside the book at every change (ListaSpesa).
class Spesa : public QWidget
{
    Q_OBJECT

public:
    explicit Spesa(std::shared_ptr<ListaSpesa> lista, QWidget *parent = nullptr);
    ~Spesa() override;

    // Reads the list and the book again and shows them.
    void mostra();

signals:
    void apriSettimana();

protected:
    void showEvent(QShowEvent *e) override;

private:
    void cmdTogli_Click();
    void cmdSettimana_Click();
    void Ricette_ItemChanged(QTableWidgetItem *item);
    void Voci_ItemChanged(QTreeWidgetItem *item, int colonna);
    void Voci_CurrentItemChanged();
    void Reparto_Activated(int indice);
    void cmdAnteprima_Click();
    void cmdStampa_Click();
    void stampa(bool anteprima);
    void cmdCopia_Click();
    void cmdSalva_Click();
    void cmdTelefono_Click();
    void cmdGuida_Click();
    void cmdChiudi_Click();

    void riempiRicette();
    void riempiVoci(qint64 corrente); // corrente: the ingredient to keep chosen
    void avvisa(const QString &testo);
    void errore(const EngineError &e);
    // The entry of the current tree item, nullptr for a heading or nothing.
    const Voce *voceCorrente() const;

    std::unique_ptr<Ui::Spesa> ui;
    std::shared_ptr<ListaSpesa> lista_;
    ListaSpesa::Stato stato_;
    QPointer<Telefono> telefono_;
    bool aperta_ = false;
    bool riempiendo_ = false; // the controls are being filled, not changed by the cook
};
