#pragma once

#include "toolkit/grigliadati.h"

#include <QWidget>

class DataSource;
class NavigationBar;
class QLineEdit;
class QPushButton;

// What the categories and the ingredients windows share: the data source on the current book,
// opened with the window, its navigation bar and grid, its events, the name box (its first
// letter made capital when it is left or confirmed), deleting, and closing.
class FinestraAnagrafica : public QWidget
{
    Q_OBJECT

protected:
    FinestraAnagrafica(const QString &origine, QWidget *parent);

    DataSource *datPrimaryRS;

    // The controls both forms hold.
    struct Controlli
    {
        NavigationBar *barra;
        QTableView *griglia;
        QLineEdit *nome;
        QPushButton *cancella, *chiudi;
    };
    // Wires the form's controls to the data source and to the shared handlers.
    void collega(const Controlli &c, QList<ColonnaGriglia> colonne);
    // Enter in the name box, the first letter already made capital.
    virtual void nome_Confermato() = 0;

    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void Form_Unload();
    void cmdChiudi_Click();
    // Deletes the current row, then the next becomes current, or the last when there is none.
    // A row being added is only abandoned; with no current row nothing happens.
    void cmdCancella_Click();
    void nome_KeyPress();
    void nome_LostFocus();
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Error(int DataErr, int &Response);

    QLineEdit *nome_ = nullptr;
    bool aperta_ = false;
};
