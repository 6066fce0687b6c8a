#include "cerca/sottofondo.h"

#include "storage/engineerror.h"

RicercaInSottofondo::RicercaInSottofondo(const QString &libro, const QString &cartella,
                                         QObject *parent)
    : QObject(parent), libro_(libro), cartella_(cartella)
{
    connect(this, &RicercaInSottofondo::daConsegnare, this, &RicercaInSottofondo::consegna,
            Qt::QueuedConnection);
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

// What the thread tells the window crosses under guardia_, so that a data race checker sees the
// hand-over too (Qt's own queue is a lock it cannot see).
void RicercaInSottofondo::spedisci(std::function<void()> emissione)
{
    {
        const std::lock_guard bloccato(guardia_);
        posta_.push_back(std::move(emissione));
    }
    emit daConsegnare();
}

void RicercaInSottofondo::consegna()
{
    std::deque<std::function<void()>> arrivate;
    {
        const std::lock_guard bloccato(guardia_);
        arrivate.swap(posta_);
    }
    for (const std::function<void()> &emetti : arrivate)
        emetti();
}

void RicercaInSottofondo::annunciaNomi(const IndiceRicette &indice)
{
    spedisci([this, c = indice.categorie(), i = indice.nomiIngredienti()] { emit nomi(c, i); });
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
        spedisci([this, causa] { emit errore(causa); });
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
                    spedisci([this, r] { emit risposta(r); });
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
            spedisci([this, fatte, tutte] { emit avanzamento(fatte, tutte); });
        } catch (const EngineError &e) {
            inCorso = false;
            dice(e.description());
        }
    }
}
