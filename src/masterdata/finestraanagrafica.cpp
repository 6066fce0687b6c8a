#include "masterdata/finestraanagrafica.h"

#include "storage/datasource.h"
#include "toolkit/applicazione.h"
#include "toolkit/dialogs.h"
#include "toolkit/maiuscole.h"
#include "toolkit/navigationbar.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

FinestraAnagrafica::FinestraAnagrafica(const QString &origine, QWidget *parent)
    : QWidget(parent, Qt::Window), datPrimaryRS(new DataSource(this))
{
    datPrimaryRS->setObjectName("datPrimaryRS");
    datPrimaryRS->setRecordSource(origine);
    datPrimaryRS->setDatabaseName(Applicazione::RicettarioCorrente);
    connect(datPrimaryRS, &DataSource::Reposition, this,
            &FinestraAnagrafica::datPrimaryRS_Reposition);
    connect(datPrimaryRS, &DataSource::Validate, this, &FinestraAnagrafica::datPrimaryRS_Validate,
            Qt::DirectConnection);
    connect(datPrimaryRS, &DataSource::Error, this, &FinestraAnagrafica::datPrimaryRS_Error,
            Qt::DirectConnection);
}

void FinestraAnagrafica::collega(const Controlli &c, QList<ColonnaGriglia> colonne)
{
    c.barra->attach(datPrimaryRS);
    collegaGriglia(c.griglia, datPrimaryRS, std::move(colonne));
    connect(c.chiudi, &QPushButton::clicked, this, &FinestraAnagrafica::cmdChiudi_Click);
    connect(c.cancella, &QPushButton::clicked, this, &FinestraAnagrafica::cmdCancella_Click);
    nome_ = c.nome;
    connect(nome_, &QLineEdit::returnPressed, this, &FinestraAnagrafica::nome_KeyPress);
    nome_->installEventFilter(this);
}

void FinestraAnagrafica::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // The data source opens with the window, once.
    if (!aperta_) {
        aperta_ = true;
        datPrimaryRS->Refresh();
    }
}

void FinestraAnagrafica::cmdCancella_Click()
{
    nome_->setEnabled(false);
    datPrimaryRS->esegui([](Recordset &rs) {
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

void FinestraAnagrafica::nome_KeyPress()
{
    nome_->setText(maiuscolaIniziale(nome_->text()));
    nome_Confermato();
}

void FinestraAnagrafica::nome_LostFocus()
{
    nome_->setText(maiuscolaIniziale(nome_->text()));
}

bool FinestraAnagrafica::eventFilter(QObject *o, QEvent *e)
{
    if (o == nome_ && e->type() == QEvent::FocusOut)
        nome_LostFocus();
    return QWidget::eventFilter(o, e);
}

void FinestraAnagrafica::cmdChiudi_Click()
{
    unsetCursor();
    close();
}

// "Record: " and the position of the current row; a new row counts as the one after the last.
void FinestraAnagrafica::datPrimaryRS_Reposition()
{
    unsetCursor();
    const Recordset *rs = datPrimaryRS->Recordset();
    if (!rs)
        return;
    const int posizione =
        rs->EditMode() == Recordset::NuovoInCorso ? rs->RecordCount() : rs->AbsolutePosition();
    datPrimaryRS->setCaption(QStringLiteral("Record: %1").arg(posizione + 1));
}

// The hourglass while the data source works; Reposition gives the arrow back.
void FinestraAnagrafica::datPrimaryRS_Validate(int &, int &)
{
    setCursor(Qt::WaitCursor);
}

void FinestraAnagrafica::datPrimaryRS_Error(int, int &Response)
{
    dialogs().messageBox("Data error event hit err:" + datPrimaryRS->descrizioneErrore(),
                         Dialogs::SoloOK, Dialogs::titoloPredefinito(), Dialogs::NessunaIcona);
    Response = 0;
}

void FinestraAnagrafica::Form_Unload()
{
    nome_->setEnabled(false);
    unsetCursor();
    // Closing writes what the bound controls still hold.
    datPrimaryRS->Close();
}

void FinestraAnagrafica::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}
