#pragma once

#include "spesa/listaspesa.h"

#include <QWidget>
#include <memory>

namespace Ui {
class MenuSettimana;
}
class EngineError;
class QCompleter;
class QLineEdit;
class QSpinBox;

// "Menù della settimana": seven days, lunch and dinner, a recipe and its portions in each
// place, typed with completion from the book's names or dragged from the recipe list and the
// search window. A name the book does not know is kept as the cook wrote it ("Pizza fuori").
class MenuSettimana : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Posti = 14; // day * 2 + meal

    explicit MenuSettimana(std::shared_ptr<ListaSpesa> lista, QWidget *parent = nullptr);
    ~MenuSettimana() override;

signals:
    // The week's recipes went into the list: the shell shows it.
    void mostraSpesa();

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void Pasto_EditingFinished(int Index);
    void Porzioni_ValueChanged(int Index);
    void completamento_Activated(const QString &nome);
    void cmdAllaSpesa_Click();
    void cmdNuova_Click();
    void cmdAnteprima_Click();
    void cmdStampa_Click();
    void stampa(bool anteprima);
    void cmdGuida_Click();
    void cmdChiudi_Click();

    void riempi();
    // Puts a recipe of the book, or a name typed, into a place and keeps it.
    void metti(int Index, qint64 ricetta, const QString &nome, int porzioni);
    void segnaSenzaRicetta(int Index, bool senza);
    void avvisa(const QString &testo);
    void errore(const EngineError &e);

    std::unique_ptr<Ui::MenuSettimana> ui;
    std::shared_ptr<ListaSpesa> lista_;
    QLineEdit *Pasto[Posti] = {};
    QSpinBox *Porzioni[Posti] = {};
    QList<::Pasto> settimana_;
    QList<ListaSpesa::Ricetta> ricette_; // the book's, for completion and names typed
    QCompleter *completamento_ = nullptr;
    bool aperta_ = false;
    bool riempiendo_ = false;
};
