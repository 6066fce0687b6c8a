#pragma once

#include "cerca/sottofondo.h"
#include "toolkit/trascinaricette.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace Ui {
class Cerca;
}
class QCompleter;

// "Cerca Ricette": the recipes by what is in them, or by what the cook has at hand, results as
// the user types. The searches run on the window's own thread (RicercaInSottofondo), so typing
// never waits for them; only the newest one's results are shown. A result is opened by whoever
// opened this window (apriRicetta).
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
    // Where the indexes of the books are kept: the user's cache folder.
    static QString cartellaIndici();

signals:
    void apriRicetta(qint64 chiave);
    // "Alla spesa": the chosen results, for their own portions.
    void aggiungiAllaSpesa(const QList<qint64> &ricette);
    // The results of the newest search are on the screen; not completi while the index was
    // still being brought up to the book.
    void risultatiMostrati(bool completi);

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
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
    void cmdAnnulla_Click();
    void ricerca_Risposta(const RicercaInSottofondo::Risposta &r);
    void ricerca_Avanzamento(int fatte, int tutte);
    void ricerca_Nomi(const QList<std::pair<qint64, QString>> &categorie,
                      const QStringList &ingredienti);
    void completamento_Activated(const QString &nome);
    void suggerisci();
    void modo(); // the box, its hint and the detail column for the way of searching chosen

    void avvisa(const QString &causa);

    std::unique_ptr<Ui::Cerca> ui;
    RicercaInSottofondo *ricerca_ = nullptr;
    quint64 attesa_ = 0; // the number of the newest search asked
    QCompleter *completamento_;
    QPointer<QWidget> sopra_;
    bool aperta_ = false;
    QString avvisato_; // the cause of the last failure, already said
};
