#pragma once

#include "cerca/indice.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// The content search's own thread. It alone opens the book (a connection of its own) and the
// index; it brings the index up to the book a block of recipes at a time and answers the searches
// in between, the newest only: a search asked while another runs stops that one. Whoever creates
// it owns it (the search window); its destructor stops what runs and waits for the thread, so
// nothing outlives the window. What it tells the window arrives as signals on the window's
// thread, never while the window is gone: the thread leaves each in posta_, under guardia_, and a
// queued daConsegnare() has the window's thread emit what waits there.
class RicercaInSottofondo : public QObject
{
    Q_OBJECT

public:
    struct Richiesta
    {
        QString testo;
        bool dispensa = false; // "Cosa cucino con...": testo is ingredients, comma separated
        IndiceRicette::Filtro filtro;
        int massimo = 200;
        quint64 numero = 0; // set by chiedi()
    };
    struct Risposta
    {
        quint64 numero = 0;
        QList<IndiceRicette::Risultato> risultati;
        bool ridotta = false;    // words over the limits were left out
        bool incompleta = false; // the index was still being brought up to the book
    };

    // cartella: where the index file is kept; empty: the index is kept in memory.
    RicercaInSottofondo(const QString &libro, const QString &cartella, QObject *parent = nullptr);
    ~RicercaInSottofondo() override;

    // Replaces the search still waiting, stops the one running; returns its number.
    quint64 chiedi(Richiesta r);
    // The book may have changed (the editor wrote): looked at again before the next search.
    void guardaIlLibro();
    // Stops bringing the index up to the book; what it holds stays searchable, and the next
    // window goes on from there.
    void annullaPreparazione();

signals:
    void risposta(const RicercaInSottofondo::Risposta &r);
    // A comparison of the whole book: done of total recipes; done == total at its end.
    void avanzamento(int fatte, int tutte);
    // The names the window's lists show, as the index holds them.
    void nomi(const QList<std::pair<qint64, QString>> &categorie, const QStringList &ingredienti);
    // The book or the index cannot be read: the cause, in Italian.
    void errore(const QString &causa);
    // Something waits in posta_ (the thread's own, to itself on the window's thread).
    void daConsegnare();

private:
    void lavora();
    void annunciaNomi(const IndiceRicette &indice);
    void spedisci(std::function<void()> emissione); // on the thread
    void consegna();                                // on the window's thread
    Risposta rispondi(IndiceRicette &indice, const Richiesta &r);

    QString libro_, cartella_;
    std::mutex guardia_;
    std::condition_variable sveglia_;
    std::optional<Richiesta> attesa_;
    std::deque<std::function<void()>> posta_; // emissions for the window's thread
    quint64 ultimo_ = 0;
    bool daGuardare_ = true, annullata_ = false, fine_ = false;
    std::atomic<bool> fermo_ = false;     // a newer search, or the end: the running one stops
    Database::Interruttore interruttore_; // the book's connection while it opens
    std::thread filo_;
};
