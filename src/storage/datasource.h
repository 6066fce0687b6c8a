#pragma once

#include "storage/recordset.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class Database;
class EngineError;

// How an engine error reaches the user: one route.
// - Raised: storage throws EngineError (Database, Statement, Recordset), with a number and an
//   Italian description naming the real cause. Nothing in storage shows it.
// - Caught: where a window reads or writes; or by the data source's own operations (moves,
//   Refresh, UpdateRecord, Close, esegui(), a grid's read in place), which catch it and raise
//   Error instead of throwing.
// - Shown: the Error event's handler answers it (leaving response at 0 when it said it
//   itself); an Error nobody answered (response left at 1) goes to the global handler, which
//   the program sets to a message box. A window that catches an EngineError itself shows it
//   in a message box through Dialogs.
// - No EngineError crosses Qt's event loop: every handler of a signal, a timer or a queued
//   call catches it where it reads or writes.
// Validate and Error hand back their answer through int &: it reaches the data source only
// when the handler runs inside the emit, so connect them with Qt::DirectConnection.

// The data control: one open set of one book, with controls bound to the columns of its
// current row. A move, a new row, a find or closing raises Validate, writes the bound controls
// that changed since they were filled, moves, fills the controls again and raises Reposition.
class DataSource : public QObject, private RecordsetObserver
{
    Q_OBJECT

public:
    explicit DataSource(QObject *parent = nullptr);
    // A data control as a window declares it: its name and its record source.
    DataSource(QObject *parent, const char *nome, const QString &origine);
    ~DataSource() override;

    QString DatabaseName() const { return databaseName_; }
    void setDatabaseName(const QString &percorso);
    // A book only read (the import's source) is opened read-only: never written, not even
    // its journal mode.
    void setSolaLettura(bool s) { solaLettura_ = s; }
    QString RecordSource() const { return recordSource_; }
    void setRecordSource(const QString &origine) { recordSource_ = origine; }
    QString Caption() const { return caption_; }
    void setCaption(const QString &testo);

    // Opens the set again (the book too, if needed) and makes its first row current.
    // A failure raises Error; returns whether the set is open.
    bool Refresh();
    ::Recordset *Recordset() const { return recordset_.get(); }
    std::shared_ptr<::Database> Database() const { return database_; }

    // Binds a control's property (its user property when none is named) to a column.
    // A check box stores yes/no as -1/0.
    void bind(QObject *controllo, const QString &colonna, const char *proprieta = nullptr);

    // Writes the changed bound controls into the current row now; false when that failed.
    bool UpdateRecord();
    // Sees another program's commits since the set last looked (database.h): the current row
    // is read again and the bound controls the user has not changed show it. False when the
    // current row is no longer in the book (or the book cannot be read: Error was raised).
    bool seguiIlLibro();
    // The bound controls as they stand, stored as a new row: for a current row another program
    // deleted, whose typing must not be lost. The set then stands on the new row; returns its
    // key, or an invalid value after Error was raised.
    QVariant salvaComeNuovo();
    // Drops a new or edited row not yet stored; the row before it is current again.
    void CancelUpdate();
    void Close(int azione = Azione::Chiusura);

    // The navigation bar's moves: errors go to the Error event.
    void MoveFirst() { muovi(Azione::Primo); }
    void MovePrevious() { muovi(Azione::Precedente); }
    void MoveNext() { muovi(Azione::Successivo); }
    void MoveLast() { muovi(Azione::Ultimo); }
    // A grid's choice of a row: a move like any other.
    void vaiA(int posizione);
    // A grid's read of a row in place. It never throws: a failed read is reported once through
    // Error, after the paint that asked for it; until the next move the grid shows only what
    // was read before, so a locked book cannot keep it waiting.
    QVariant valoreAlPosto(int posizione, int ordinale);

    // The description of the error the Error event is reporting.
    QString descrizioneErrore() const { return descrizioneErrore_; }

    // Runs an operation of the set, reporting an engine error through the Error event.
    bool esegui(const std::function<void(::Recordset &)> &operazione);

    // What happens to an error nobody handled (response left at 1); the program shows it.
    static void setGestoreErrori(std::function<void(int numero, const QString &descrizione)> g);

signals:
    void Reposition();
    void Validate(int &action, int &save);
    void Error(int number, int &response);
    void CaptionChanged(const QString &caption);
    // Rows added, deleted or changed through this source, or the set opened again.
    void RigheCambiate();

private:
    struct Legame
    {
        QPointer<QObject> controllo;
        QByteArray proprieta;
        int ordinale = -1;
        QString colonna;
        QVariant riempito;
    };

    bool prima(int azione) override;
    void dopo() override;
    void righeCambiate() override;
    QHash<int, QVariant> controlliCambiati() const;
    void riempi(bool soloIntatti = false); // soloIntatti: not the controls the user changed
    void segnala(const EngineError &e);
    void chiudiInsieme();
    void muovi(int azione);

    QString databaseName_;
    QString recordSource_;
    QString caption_;
    QString descrizioneErrore_;
    std::shared_ptr<::Database> database_;
    std::unique_ptr<::Recordset> recordset_;
    QList<Legame> legami_;
    bool inEvento_ = false;
    bool letturaFallita_ = false;
    bool solaLettura_ = false;
};
