#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class FinestraImportazione;
}
class DataSource;

// Lets the user pick, during an import, a category or an ingredient of the current book to
// stand for the one being imported. On entry SceltaImportazione says which (a Richiesta; a
// category for the recipe named, which has none, offers NessunaCategoria first); on leaving it
// holds the chosen key, NessunaCategoria, or 0 when the user gave up.
class FinestraImportazione : public QDialog
{
    Q_OBJECT

public:
    enum Richiesta : qint64 { Categoria = 1, Ingrediente = 2, CategoriaMancante = 3 };
    // The first entry when the recipe has no category: it keeps none.
    static constexpr qint64 NessunaCategoria = -1;

    explicit FinestraImportazione(QWidget *parent = nullptr, const QString &ricetta = QString());
    ~FinestraImportazione() override;

    // The user wants this choice for every same request of this import.
    bool perTutte() const;

protected:
    void done(int esito) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void CaricaElenco();
    void cmdOK_Click();
    void cmdAnnulla_Click();

    DataSource *Data1;
    std::unique_ptr<Ui::FinestraImportazione> ui;
};
