#pragma once

#include "formati/rifiuto.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTimer>
#include <QUrl>

class QNetworkReply;

// Why a page did not come: the cook cancelled it, or the address, the site or the network
// refused it (testo says which, naming the address or the site).
struct ErroreRete : Rifiuto
{
};

// A web page fetched for its recipes: http and https only, within the limits a recipe page never
// comes near (redirects, time, size), in Italian, as Italian sites would serve them. The fetch
// goes on while the event loop runs and ends with arrivata() or fallita(), once.
//
// Rules: owned by whoever started it, on that thread; destroyed while it fetches, it stops the
// fetch and says nothing. Its owner destroys it from the event loop, never from inside its signals.
class Scaricamento : public QObject
{
    Q_OBJECT

public:
    struct Opzioni
    {
        int limiteTempo; // for the whole fetch, redirects included, in ms
    };
    static constexpr Opzioni Predefinite = {20000};

    explicit Scaricamento(const Opzioni &opzioni = Predefinite, QObject *genitore = nullptr);
    ~Scaricamento() override;

    void avvia(const QUrl &indirizzo);
    // Stops the fetch: fallita() with annullato set. Nothing once it has ended.
    void annulla();
    // The address asked for, and after the end the one finally read, after its redirects.
    const QUrl &indirizzo() const { return dove_; }

signals:
    // Bytes received of the total (-1 while unknown).
    void avanzamento(qint64 ricevuti, qint64 totale);
    // The page, in the server's charset made to win (PaginaWeb::conCodifica).
    void arrivata(const QByteArray &pagina);
    void fallita(const ErroreRete &errore);

private:
    void chiedi();
    void risposta();
    void ferma(const QString &perche);
    void fine(const ErroreRete &errore);

    Opzioni opzioni_;
    QNetworkAccessManager rete_;
    QNetworkReply *risposta_ = nullptr; // the request in flight, a child of rete_
    QTimer scadenza_;
    QString chiesto_; // the address as asked, for the messages
    QUrl dove_;
    int rimandi_ = 0;
    bool finito_ = true;
};
