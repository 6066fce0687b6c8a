#pragma once

class DataSource;
class QWidget;

// What the categories and the ingredients windows do alike with their data source.
namespace Anagrafica {

// "Record: " and the position of the current row; a new row counts as the one after the last.
void mostraPosizione(DataSource &ds);
// "Data error event hit err:" and the engine's description; the data source says nothing more.
void mostraErrore(DataSource &ds, int &risposta);
// Deletes the current row, then the next becomes current, or the last when there is none.
// A row being added is only abandoned; with no current row nothing happens.
void eliminaCorrente(DataSource &ds);
// The hourglass while the data source works; Reposition gives the arrow back.
void clessidra(QWidget *finestra);
void freccia(QWidget *finestra);

} // namespace Anagrafica
