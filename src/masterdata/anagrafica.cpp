#include "anagrafica.h"

#include "datasource.h"
#include "dialogs.h"

#include <QWidget>

namespace Anagrafica {

void mostraPosizione(DataSource &ds)
{
    const Recordset *rs = ds.Recordset();
    if (!rs)
        return;
    const int posizione =
        rs->EditMode() == Recordset::NuovoInCorso ? rs->RecordCount() : rs->AbsolutePosition();
    ds.setCaption(QStringLiteral("Record: %1").arg(posizione + 1));
}

void mostraErrore(DataSource &ds, int &risposta)
{
    dialogs().messageBox("Data error event hit err:" + ds.descrizioneErrore(), Dialogs::SoloOK,
                         Dialogs::titoloPredefinito(), Dialogs::NessunaIcona);
    risposta = 0;
}

void eliminaCorrente(DataSource &ds)
{
    ds.esegui([](Recordset &rs) {
        if (rs.EditMode() == Recordset::NuovoInCorso) {
            rs.Delete();
            return;
        }
        if (!rs.haRigaCorrente())
            return;
        rs.Delete();
        rs.MoveNext();
        if (rs.Eof())
            rs.MoveLast();
    });
}

void clessidra(QWidget *finestra)
{
    finestra->setCursor(Qt::WaitCursor);
}

void freccia(QWidget *finestra)
{
    finestra->unsetCursor();
}

} // namespace Anagrafica
