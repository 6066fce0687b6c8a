// One page fetched with Qt Network, one request per redirect, each answer handled as it comes.
#include "formati/scaricamento.h"

#include "formati/paginaweb.h"

#include <QNetworkReply>

namespace {

constexpr int MassimoRimandi = 5;

bool http(const QUrl &u)
{
    return u.scheme() == QLatin1String("http") || u.scheme() == QLatin1String("https");
}

// The common HTTP refusals in a cook's words.
QString stato(int numero)
{
    switch (numero) {
    case 400:
        return QStringLiteral("richiesta non valida");
    case 401:
        return QStringLiteral("pagina riservata a chi entra con nome e password");
    case 403:
        return QStringLiteral("accesso vietato");
    case 405:
        return QStringLiteral("richiesta non accettata");
    case 408:
        return QStringLiteral("il sito ha smesso di aspettare la richiesta");
    case 429:
        return QStringLiteral("troppe richieste in poco tempo: riprovate più tardi");
    case 500:
        return QStringLiteral("errore interno del sito");
    case 501:
        return QStringLiteral("richiesta che il sito non sa servire");
    case 502:
    case 504:
        return QStringLiteral("il sito non ha avuto risposta dal suo server");
    case 503:
        return QStringLiteral("sito momentaneamente fuori servizio");
    default:
        return numero >= 500 ? QStringLiteral("errore del sito")
                             : QStringLiteral("richiesta rifiutata dal sito");
    }
}

// What went wrong, for a cook: the first of these that holds.
QString errore(QNetworkReply &r, const QUrl &u)
{
    const QString host = u.host();
    const int numero = r.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (numero == 404 || numero == 410)
        return QStringLiteral("La pagina %1 non c'è: il sito risponde che non esiste (errore %2).")
            .arg(u.toDisplayString())
            .arg(numero);
    if (numero >= 400)
        return QStringLiteral("Il sito %1 non ha dato la pagina: risponde con l'errore %2 (%3).")
            .arg(host)
            .arg(numero)
            .arg(stato(numero));
    switch (r.error()) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Il sito %1 non esiste o manca la connessione a Internet: "
                              "controllate l'indirizzo e la connessione.")
            .arg(host);
    case QNetworkReply::RemoteHostClosedError:
        // It answered: with part of the page, or with what is no answer of the web's.
        return numero > 0 ? QStringLiteral("Il sito %1 ha chiuso il collegamento prima di mandare "
                                           "tutta la pagina: riprovate più tardi.")
                                .arg(host)
                          : QStringLiteral("Il sito %1 ha chiuso il collegamento senza una "
                                           "risposta valida: la pagina non è stata letta.")
                                .arg(host);
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("Impossibile collegarsi al sito %1: il sito non risponde o manca "
                              "la connessione a Internet.")
            .arg(host);
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Il sito %1 non ha un certificato valido: la pagina non è stata "
                              "letta, perché non si può sapere chi la manda.")
            .arg(host);
    default:
        return QStringLiteral("La pagina %1 non si è potuta leggere: %2")
            .arg(u.toDisplayString(), r.errorString());
    }
}

} // namespace

Scaricamento::Scaricamento(const Opzioni &opzioni, QObject *genitore)
    : QObject(genitore), opzioni_(opzioni)
{
    scadenza_.setSingleShot(true);
    connect(&scadenza_, &QTimer::timeout, this, [this] {
        ferma(QStringLiteral("La pagina %1 non è arrivata in %2: il sito è troppo lento o non "
                             "risponde.")
                  .arg(chiesto_, Rifiuto::secondi(opzioni_.limiteTempo)));
    });
}

Scaricamento::~Scaricamento()
{
    // Its answer would come to an object that is gone.
    if (risposta_) {
        risposta_->disconnect(this);
        risposta_->abort();
    }
}

void Scaricamento::avvia(const QUrl &indirizzo)
{
    chiesto_ = indirizzo.toDisplayString();
    dove_ = indirizzo;
    rimandi_ = 0;
    finito_ = false;
    if (!http(indirizzo) || indirizzo.host().isEmpty()) {
        // Told after the caller has returned, as every other end.
        QTimer::singleShot(0, this, [this] {
            ferma(QStringLiteral("\"%1\" non è l'indirizzo di una pagina web: scrivetelo come "
                                 "https://sito/pagina.")
                      .arg(chiesto_));
        });
        return;
    }
    scadenza_.start(opzioni_.limiteTempo);
    chiedi();
}

void Scaricamento::annulla()
{
    if (!finito_)
        fine({{true, QString()}});
}

void Scaricamento::ferma(const QString &perche)
{
    if (!finito_)
        fine({{false, perche}});
}

void Scaricamento::fine(const ErroreRete &errore)
{
    finito_ = true;
    scadenza_.stop();
    if (risposta_) {
        risposta_->disconnect(this);
        risposta_->abort();
        // Perhaps inside one of its own signals: gone once that has returned.
        risposta_->deleteLater();
        risposta_ = nullptr;
    }
    emit fallita(errore);
}

// Redirects are followed here, one request each, so each target is checked before it is asked
// for.
void Scaricamento::chiedi()
{
    QNetworkRequest richiesta(dove_);
    richiesta.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::ManualRedirectPolicy);
    richiesta.setRawHeader("Accept-Language", "it");
    richiesta.setRawHeader("Accept", "text/html,application/xhtml+xml");
    risposta_ = rete_.get(richiesta);
    const QString troppoGrande =
        QStringLiteral("La pagina %1 è più grande di 10 MB: non è una pagina di ricette.")
            .arg(chiesto_);
    connect(risposta_, &QNetworkReply::downloadProgress, this,
            [this, troppoGrande](qint64 fatti, qint64 tutti) {
                if (fatti > PaginaWeb::MassimoByte || tutti > PaginaWeb::MassimoByte)
                    ferma(troppoGrande);
                else
                    emit avanzamento(fatti, tutti);
            });
    // A size declared too large is refused as soon as it is told, not after the wait.
    connect(risposta_, &QNetworkReply::metaDataChanged, this, [this, troppoGrande] {
        if (risposta_->header(QNetworkRequest::ContentLengthHeader).toLongLong() >
            PaginaWeb::MassimoByte)
            ferma(troppoGrande);
    });
    connect(risposta_, &QNetworkReply::finished, this, &Scaricamento::risposta);
}

void Scaricamento::risposta()
{
    QNetworkReply &r = *risposta_;
    risposta_ = nullptr;
    r.deleteLater();
    const int stato = r.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (stato >= 300 && stato < 400 && stato != 304) {
        if (r.rawHeader("Location").trimmed().isEmpty())
            return ferma(QStringLiteral("La pagina %1 rimanda a un'altra pagina senza dire "
                                        "quale: non è stata letta.")
                             .arg(chiesto_));
        const QUrl prossimo = dove_.resolved(QUrl::fromEncoded(r.rawHeader("Location")));
        if (!http(prossimo))
            return ferma(QStringLiteral("La pagina %1 rimanda a \"%2\", che non è una pagina "
                                        "web: non è stata letta.")
                             .arg(chiesto_, prossimo.toDisplayString()));
        if (rimandi_ == MassimoRimandi)
            return ferma(QStringLiteral("La pagina %1 rimanda ad altre pagine più di %2 volte: "
                                        "non è stata letta.")
                             .arg(chiesto_)
                             .arg(MassimoRimandi));
        ++rimandi_;
        dove_ = prossimo;
        return chiedi();
    }
    if (r.error() != QNetworkReply::NoError || stato >= 400)
        return ferma(errore(r, dove_));
    const QByteArray pagina = r.readAll();
    const QString tipo = r.header(QNetworkRequest::ContentTypeHeader).toString();
    const bool html = tipo.isEmpty() ? PaginaWeb::riconosci(pagina)
                                     : tipo.contains(QLatin1String("html"), Qt::CaseInsensitive);
    if (!html && tipo.isEmpty())
        return ferma(QStringLiteral("L'indirizzo %1 non porta a una pagina web: il sito non dice "
                                    "che cosa manda, e non è una pagina.")
                         .arg(chiesto_));
    if (!html)
        return ferma(QStringLiteral("L'indirizzo %1 non porta a una pagina web ma a un file di "
                                    "altro tipo (%2).")
                         .arg(chiesto_, tipo.section(u';', 0, 0)));
    finito_ = true;
    scadenza_.stop();
    // The server's charset wins over what the page itself declares, as in a browser.
    const QString charset =
        tipo.section(QLatin1String("charset="), 1).section(u';', 0, 0).remove(u'"').trimmed();
    emit arrivata(PaginaWeb::conCodifica(pagina, charset));
}
