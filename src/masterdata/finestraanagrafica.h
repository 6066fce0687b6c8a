#pragma once

#include "toolkit/grigliadati.h"

#include <QWidget>

class DataSource;
class NavigationBar;
class QPushButton;

// What the categories and the ingredients windows share: the data source on the current book,
// opened with the window, its navigation bar and grid, its events, and closing.
class FinestraAnagrafica : public QWidget
{
    Q_OBJECT

public:
    DataSource *datPrimaryRS;

protected:
    FinestraAnagrafica(const QString &origine, QWidget *parent);

    // Wires the form's navigation bar, grid and "&Chiudi" to the data source.
    void collega(NavigationBar *barra, QTableView *griglia, QList<ColonnaGriglia> colonne,
                 QPushButton *chiudi);
    // Deletes the current row, then the next becomes current, or the last when there is none.
    // A row being added is only abandoned; with no current row nothing happens.
    void eliminaCorrente();

    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    virtual void Form_Unload();

    void cmdChiudi_Click();
    void datPrimaryRS_Reposition();
    void datPrimaryRS_Validate(int &Action, int &Save);
    void datPrimaryRS_Error(int DataErr, int &Response);

private:
    bool aperta_ = false;
};
