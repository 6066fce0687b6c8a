#include "cerca/sottofondo.h"

#include "storage/engineerror.h"

RicercaInSottofondo::RicercaInSottofondo(const QString &libro, const QString &cartella,
                                         QObject *parent)
    : QObject(parent), libro_(libro), cartella_(cartella)
{
    filo_ = std::thread([this] { lavora(); });
}

RicercaInSottofondo::~RicercaInSottofondo()
{
    {
        const std::lock_guard bloccato(guardia_);
        fine_ = true;
    }
    fermo_ = true;
    interruttore_.interrompi();
    sveglia_.notify_all();
    filo_.join();
}

quint64 RicercaInSottofondo::chiedi(Richiesta r)
{
    {
        const std::lock_guard bloccato(guardia_);
        r.numero = ++ultimo_;
        attesa_ = std::move(r);
        fermo_ = true;
    }
    sveglia_.notify_all();
    return ultimo_;
}

void RicercaInSottofondo::guardaIlLibro()
{
    {
        const std::lock_guard bloccato(guardia_);
        daGuardare_ = true;
        annullata_ = false;
    }
    sveglia_.notify_all();
}

void RicercaInSottofondo::annullaPreparazione()
{
    {
        const std::lock_guard bloccato(guardia_);
        annullata_ = true;
    }
    sveglia_.notify_all();
}

void RicercaInSottofondo::annunciaNomi(const IndiceRicette &indice)
{
    QMetaObject::invokeMethod(
        this, [this, c = indice.categorie(), i = indice.nomiIngredienti()] { emit nomi(c, i); },
        Qt::QueuedConnection);
}

RicercaInSottofondo::Risposta RicercaInSottofondo::rispondi(IndiceRicette &indice,
                                                            const Richiesta &r)
{
    Risposta risposta;
    risposta.numero = r.numero;
    if (r.dispensa) {
        risposta.risultati =
            indice.cosaCucino(r.testo.split(QLatin1Char(',')), r.filtro, r.massimo);
    } else {
        const Domanda d = Domanda::di(r.testo);
        risposta.ridotta = d.ridotta;
        risposta.risultati = indice.cerca(d, r.filtro, r.massimo);
    }
    return risposta;
}

// The thread: opens, then waits for work. Bringing the index up to the book goes a block at a
// time, and a search waiting goes before the next block.
void RicercaInSottofondo::lavora()
{
    const auto dice = [this](const QString &causa) {
        QMetaObject::invokeMethod(
            this, [this, causa] { emit errore(causa); }, Qt::QueuedConnection);
    };
    std::shared_ptr<Database> libro;
    std::unique_ptr<IndiceRicette> indice;
    try {
        libro = Database::apriAParte(libro_, &interruttore_);
        indice = std::make_unique<IndiceRicette>(
            libro_, cartella_.isEmpty() ? QString() : IndiceRicette::fileDi(libro_, cartella_));
        indice->setFermo(&fermo_);
        annunciaNomi(*indice);
    } catch (const EngineError &e) {
        if (!interruttore_.interrotto())
            dice(e.description());
        return;
    }
    bool inCorso = false; // a comparison under way
    for (;;) {
        std::optional<Richiesta> richiesta;
        bool guarda = false, annulla = false;
        {
            std::unique_lock bloccato(guardia_);
            sveglia_.wait(bloccato, [&] {
                return fine_ || attesa_ || daGuardare_ || (inCorso && !annullata_);
            });
            if (fine_)
                return;
            richiesta = std::exchange(attesa_, std::nullopt);
            fermo_ = false;
            guarda = std::exchange(daGuardare_, false);
            annulla = annullata_;
        }
        try {
            if (guarda && !inCorso)
                inCorso = indice->inizia(*libro);
        } catch (const EngineError &e) {
            dice(e.description());
        }
        if (richiesta) {
            try {
                Risposta r = rispondi(*indice, *richiesta);
                r.incompleta = inCorso || !indice->completo();
                if (!fermo_)
                    QMetaObject::invokeMethod(
                        this, [this, r] { emit risposta(r); }, Qt::QueuedConnection);
            } catch (const EngineError &e) {
                dice(e.description());
            }
            continue; // another search may be waiting already
        }
        if (!inCorso)
            continue;
        if (annulla) {
            inCorso = false; // stopped: the next look goes on from what is done
            continue;
        }
        try {
            int fatte = 0, tutte = 0;
            inCorso = indice->passo(*libro, fatte, tutte);
            if (!inCorso) {
                annunciaNomi(*indice);
                fatte = tutte = qMax(fatte, tutte);
            }
            QMetaObject::invokeMethod(
                this, [this, fatte, tutte] { emit avanzamento(fatte, tutte); },
                Qt::QueuedConnection);
        } catch (const EngineError &e) {
            inCorso = false;
            dice(e.description());
        }
    }
}
