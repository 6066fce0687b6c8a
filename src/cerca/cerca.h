#pragma once

#include "toolkit/trascinaricette.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace Ui {
class Cerca;
}
class Database;
class IndiceRicette;
class QCompleter;

// "Cerca Ricette": the recipes by what is in them, or by what the cook has at hand, results as
// the user types. A result is opened by whoever opened this window (apriRicetta).
class Cerca : public QWidget
{
    Q_OBJECT

public:
    // At most this many results are listed.
    static constexpr int Massimo = 200;

    explicit Cerca(QWidget *parent = nullptr);
    ~Cerca() override;

    // A window opened over this one (the editor on a result) closes, asked as the user would,
    // before this one does.
    void setFinestraSopra(QWidget *w) { sopra_ = w; }
    // Searches again, the index first brought up to the book.
    void aggiornaRisultati();

signals:
    void apriRicetta(qint64 chiave);
    // "Alla spesa": the chosen results, for their own portions.
    void aggiungiAllaSpesa(const QList<qint64> &ricette);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void Form_Activate();
    void txtCerca_Change();
    void txtCerca_KeyDown(); // the arrow down goes to the results
    void optTesto_Click();
    void optDispensa_Click();
    void chkVegetariane_Click();
    void Lista_Click();
    void Risultati_DblClick();
    void cmdApri_Click();
    void cmdSpesa_Click();
    TrascinaRicette::Ricette ricetteScelte() const;
    void cmdGuida_Click();
    void cmdChiudi_Click();
    void completamento_Activated(const QString &nome);
    void suggerisci();
    void modo(); // the box, its hint and the detail column for the way of searching chosen

    // The index up to date with the book; false (said to the user) when the book cannot be read.
    bool preparaIndice();
    void avvisa(const QString &causa);

    std::unique_ptr<Ui::Cerca> ui;
    std::shared_ptr<Database> libro_;
    std::shared_ptr<IndiceRicette> indice_;
    QCompleter *completamento_;
    QPointer<QWidget> sopra_;
    bool aperta_ = false;
    QString avvisato_; // the cause of the last failure, already said
};
