#include "storage/datasource.h"

#include "storage/database.h"
#include "storage/engineerror.h"

#include <QMetaProperty>
#include <QScopeGuard>

namespace {

std::function<void(int, const QString &)> &gestoreErrori()
{
    static std::function<void(int, const QString &)> g;
    return g;
}

QVariant leggiControllo(const QObject *c, const QByteArray &proprieta)
{
    const QVariant v = c->property(proprieta.constData());
    if (v.typeId() == QMetaType::Bool)
        return QVariant(v.toBool() ? -1 : 0);
    return v;
}

} // namespace

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::DataSource(QObject *parent, const char *nome, const QString &origine)
    : DataSource(parent)
{
    setObjectName(QString::fromUtf8(nome));
    recordSource_ = origine;
}

DataSource::~DataSource()
{
    chiudiInsieme();
}

void DataSource::setGestoreErrori(std::function<void(int, const QString &)> g)
{
    gestoreErrori() = std::move(g);
}

void DataSource::setDatabaseName(const QString &percorso)
{
    if (percorso == databaseName_)
        return;
    chiudiInsieme();
    databaseName_ = percorso;
}

void DataSource::setCaption(const QString &testo)
{
    caption_ = testo;
    emit CaptionChanged(caption_);
}

void DataSource::chiudiInsieme()
{
    recordset_.reset();
    database_.reset();
}

void DataSource::segnala(const EngineError &e)
{
    int risposta = 1;
    descrizioneErrore_ = e.description();
    emit Error(e.number(), risposta);
    if (risposta != 0 && gestoreErrori())
        gestoreErrori()(e.number(), e.description());
}

bool DataSource::esegui(const std::function<void(::Recordset &)> &operazione)
{
    if (!recordset_)
        return false;
    try {
        operazione(*recordset_);
        return true;
    } catch (const EngineError &e) {
        segnala(e);
        return false;
    }
}

bool DataSource::Refresh()
{
    try {
        if (!database_ || !database_->aperto() || database_->percorso() != databaseName_)
            database_ =
                Database::apri(databaseName_, solaLettura_ ? Database::Modo::SolaLettura
                                                           : Database::Modo::LetturaScrittura);
        recordset_.reset();
        recordset_ = std::make_unique<::Recordset>(database_, recordSource_);
        recordset_->setObserver(this);
        for (Legame &l : legami_)
            l.ordinale = -1;
    } catch (const EngineError &e) {
        recordset_.reset();
        segnala(e);
        return false;
    }
    emit RigheCambiate();
    dopo();
    return true;
}

void DataSource::bind(QObject *controllo, const QString &colonna, const char *proprieta)
{
    Legame l;
    l.controllo = controllo;
    l.colonna = colonna;
    if (proprieta) {
        l.proprieta = proprieta;
    } else {
        const QMetaProperty utente = controllo->metaObject()->userProperty();
        l.proprieta = utente.isValid() ? QByteArray(utente.name()) : QByteArray("text");
    }
    legami_.append(l);
}

QHash<int, QVariant> DataSource::controlliCambiati() const
{
    QHash<int, QVariant> valori;
    for (const Legame &l : legami_) {
        if (!l.controllo || l.ordinale < 0)
            continue;
        const QVariant attuale = leggiControllo(l.controllo, l.proprieta);
        if (attuale != l.riempito)
            valori.insert(l.ordinale, attuale);
    }
    return valori;
}

void DataSource::riempi(bool soloIntatti)
{
    for (Legame &l : legami_) {
        if (!l.controllo)
            continue;
        if (soloIntatti && l.ordinale >= 0 &&
            leggiControllo(l.controllo, l.proprieta) != l.riempito)
            continue;
        QVariant valore;
        try {
            if (l.ordinale < 0)
                l.ordinale = recordset_->ordinal(l.colonna);
            if (recordset_->EditMode() == ::Recordset::NuovoInCorso || recordset_->haRigaCorrente())
                valore = recordset_->value(l.ordinale);
        } catch (const EngineError &) {
            // A deleted row or an unknown column shows as empty.
        }
        const QMetaProperty p = l.controllo->metaObject()->property(
            l.controllo->metaObject()->indexOfProperty(l.proprieta.constData()));
        const QVariant nuovo = p.metaType().id() == QMetaType::Bool
                                   ? QVariant(valore.toLongLong() != 0)
                                   : QVariant(valore.isNull() ? QString() : valore.toString());
        // Only a value that differs is set: a box says it changed as it would for the user
        // (a multi-line box would say so even for the same text).
        if (l.controllo->property(l.proprieta.constData()) != nuovo)
            l.controllo->setProperty(l.proprieta.constData(), nuovo);
        l.riempito = leggiControllo(l.controllo, l.proprieta);
    }
}

bool DataSource::prima(int azione)
{
    if (inEvento_)
        return true;
    const QHash<int, QVariant> cambiati = controlliCambiati();
    int action = azione;
    int save = cambiati.isEmpty() ? 0 : 1;
    emit Validate(action, save);
    if (action == Azione::Annulla)
        return false;
    if (azione == Azione::Eliminazione)
        return true; // the row goes: nothing of it is written
    // Errors here reach the caller of the move, which reports them.
    inEvento_ = true;
    const auto fine = qScopeGuard([this] { inEvento_ = false; });
    const bool nuovo = recordset_->EditMode() == ::Recordset::NuovoInCorso;
    if (!nuovo && recordset_->EditMode() == ::Recordset::Nessuna && !recordset_->haRigaCorrente())
        save = 0; // no row to write into
    if (save)
        recordset_->scriviSenzaEventi(cambiati);
    if (azione != Azione::Aggiornamento)
        recordset_->concludiSenzaEventi();
    if (save || nuovo)
        for (Legame &l : legami_)
            if (l.controllo)
                l.riempito = leggiControllo(l.controllo, l.proprieta);
    return true;
}

void DataSource::righeCambiate()
{
    letturaFallita_ = false;
    emit RigheCambiate();
}

void DataSource::vaiA(int posizione)
{
    esegui([posizione](::Recordset &rs) { rs.setBookmark(rs.bookmarkAlPosto(posizione)); });
}

QVariant DataSource::valoreAlPosto(int posizione, int ordinale)
{
    if (!recordset_)
        return {};
    if (letturaFallita_)
        return recordset_->valoreLetto(posizione, ordinale); // what is still at hand
    try {
        return recordset_->valoreAlPosto(posizione, ordinale);
    } catch (const EngineError &e) {
        letturaFallita_ = true;
        // A message box opened inside a paint would run the event loop there: report it after.
        QMetaObject::invokeMethod(
            this, [this, e] { segnala(e); }, Qt::QueuedConnection);
        return {};
    }
}

void DataSource::dopo()
{
    letturaFallita_ = false;
    riempi();
    emit Reposition();
}

bool DataSource::UpdateRecord()
{
    if (!recordset_)
        return false;
    try {
        if (recordset_->EditMode() == ::Recordset::Nessuna)
            recordset_->seguiIlLibro();
        int action = Azione::Aggiornamento;
        int save = 1;
        emit Validate(action, save);
        if (action == Azione::Annulla || !save)
            return true;
        const QHash<int, QVariant> cambiati = controlliCambiati();
        if (cambiati.isEmpty() && recordset_->EditMode() == ::Recordset::Nessuna)
            return true;
        recordset_->scriviSenzaEventi(cambiati);
        recordset_->concludiSenzaEventi();
        for (Legame &l : legami_)
            if (l.controllo)
                l.riempito = leggiControllo(l.controllo, l.proprieta);
        return true;
    } catch (const EngineError &e) {
        segnala(e);
        return false;
    }
}

bool DataSource::seguiIlLibro()
{
    if (!recordset_)
        return false;
    try {
        if (recordset_->seguiIlLibro() && recordset_->haRigaCorrente() &&
            recordset_->EditMode() == ::Recordset::Nessuna) {
            recordset_->value(0); // read now: a failure is said before a control changes
            riempi(true);
        }
        return recordset_->haRigaCorrente() || recordset_->EditMode() == ::Recordset::NuovoInCorso;
    } catch (const EngineError &e) {
        segnala(e);
        return false;
    }
}

QVariant DataSource::salvaComeNuovo()
{
    if (!recordset_)
        return {};
    QHash<int, QVariant> tutti;
    for (const Legame &l : legami_)
        if (l.controllo && l.ordinale >= 0 && l.ordinale != recordset_->ordinaleChiave())
            tutti.insert(l.ordinale, leggiControllo(l.controllo, l.proprieta));
    // No events until the row is stored: the row they would ask about is gone, and the controls
    // must keep what they show.
    inEvento_ = true;
    recordset_->setObserver(nullptr);
    const auto fine = qScopeGuard([this] {
        inEvento_ = false;
        if (recordset_)
            recordset_->setObserver(this);
    });
    try {
        recordset_->CancelUpdate();
        recordset_->AddNew();
        recordset_->scriviSenzaEventi(tutti);
        recordset_->concludiSenzaEventi();
        const QVariant chiave = recordset_->LastModified();
        recordset_->setObserver(this);
        emit RigheCambiate();
        recordset_->setBookmark(chiave); // the move shows it
        return chiave;
    } catch (const EngineError &e) {
        recordset_->CancelUpdate();
        segnala(e);
        return {};
    }
}

void DataSource::CancelUpdate()
{
    if (!recordset_ || recordset_->EditMode() == ::Recordset::Nessuna)
        return;
    recordset_->CancelUpdate();
    dopo();
}

void DataSource::Close(int azione)
{
    if (recordset_) {
        try {
            recordset_->seguiIlLibro();
            prima(azione);
        } catch (const EngineError &e) {
            segnala(e);
        }
    }
    chiudiInsieme();
}

// The bar stays on the first or the last row instead of leaving the set; after a deletion
// it goes on from the deleted row's place.
void DataSource::muovi(int azione)
{
    esegui([azione](::Recordset &rs) {
        const bool avanti = azione == Azione::Successivo || azione == Azione::Ultimo;
        const int estremo = avanti ? Azione::Ultimo : Azione::Primo;
        const auto fuori = [&rs, avanti] { return avanti ? rs.Eof() : rs.Bof(); };
        const int bordo = avanti ? rs.RecordCount() - 1 : 0;
        if (azione == estremo || fuori() ||
            (rs.haRigaCorrente() && rs.AbsolutePosition() == bordo)) {
            rs.Move(estremo);
            return;
        }
        rs.Move(azione);
        if (fuori())
            rs.Move(estremo);
    });
}
