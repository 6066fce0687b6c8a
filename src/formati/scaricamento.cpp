// One page fetched with Qt Network, its own event loop until it is in, failed or cancelled.
#include "formati/scaricamento.h"

#include "formati/paginaweb.h"
#include "formati/rifiuto.h"
#include "storage/engineerror.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace Scaricamento {

using Rifiuto::rifiuta;

namespace {

int limiteTempo = 20000;
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

void setLimiteTempo(int millisecondi)
{
    limiteTempo = millisecondi;
}

QByteArray scarica(QUrl &indirizzo, const std::function<bool(qint64, qint64)> &avanzamento)
{
    if (!http(indirizzo) || indirizzo.host().isEmpty())
        rifiuta(QStringLiteral("\"%1\" non è l'indirizzo di una pagina web: scrivetelo come "
                               "https://sito/pagina.")
                    .arg(indirizzo.toDisplayString()));
    const QString chiesto = indirizzo.toDisplayString();
    QNetworkAccessManager rete;
    QElapsedTimer orologio;
    orologio.start();
    QUrl dove = indirizzo;
    // Redirects are followed here, one request each, so each target is checked before it is
    // asked for.
    for (int rimandi = 0;; ++rimandi) {
        QNetworkRequest richiesta(dove);
        richiesta.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                               QNetworkRequest::ManualRedirectPolicy);
        richiesta.setRawHeader("Accept-Language", "it");
        richiesta.setRawHeader("Accept", "text/html,application/xhtml+xml");
        std::unique_ptr<QNetworkReply> r(rete.get(richiesta));

        QString motivo; // why we stopped it ourselves
        int numero = EngineError::ConversioneNonRiuscita;
        const auto ferma = [&](const QString &perche, int n = EngineError::ConversioneNonRiuscita) {
            if (motivo.isEmpty()) {
                motivo = perche;
                numero = n;
            }
            r->abort();
        };
        qint64 ricevuti = 0, totale = -1;
        const auto controlla = [&] {
            if (avanzamento && !avanzamento(ricevuti, totale))
                ferma(chiesto, EngineError::ConversioneAnnullata);
            else if (orologio.elapsed() > limiteTempo)
                ferma(QStringLiteral("La pagina %1 non è arrivata in %2: il sito è troppo lento "
                                     "o non risponde.")
                          .arg(chiesto, Rifiuto::secondi(limiteTempo)));
        };
        QObject::connect(r.get(), &QNetworkReply::downloadProgress, r.get(),
                         [&](qint64 fatti, qint64 tutti) {
                             ricevuti = fatti;
                             totale = tutti;
                             if (fatti > PaginaWeb::MassimoByte || tutti > PaginaWeb::MassimoByte)
                                 ferma(QStringLiteral("La pagina %1 è più grande di 10 MB: non è "
                                                      "una pagina di ricette.")
                                           .arg(chiesto));
                             else
                                 controlla();
                         });
        // A size declared too large is refused as soon as it is told, not after the wait.
        QObject::connect(r.get(), &QNetworkReply::metaDataChanged, r.get(), [&] {
            if (r->header(QNetworkRequest::ContentLengthHeader).toLongLong() >
                PaginaWeb::MassimoByte)
                ferma(QStringLiteral("La pagina %1 è più grande di 10 MB: non è una pagina di "
                                     "ricette.")
                          .arg(chiesto));
        });
        QEventLoop attesa;
        QObject::connect(r.get(), &QNetworkReply::finished, &attesa, &QEventLoop::quit);
        QTimer sveglia;
        QObject::connect(&sveglia, &QTimer::timeout, r.get(), controlla);
        sveglia.start(50);
        if (!r->isFinished())
            attesa.exec();

        if (!motivo.isEmpty())
            throw EngineError(numero, motivo);
        const int stato = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (stato >= 300 && stato < 400 && stato != 304) {
            if (r->rawHeader("Location").trimmed().isEmpty())
                rifiuta(QStringLiteral("La pagina %1 rimanda a un'altra pagina senza dire quale: "
                                       "non è stata letta.")
                            .arg(chiesto));
            const QUrl prossimo = dove.resolved(QUrl::fromEncoded(r->rawHeader("Location")));
            if (!http(prossimo))
                rifiuta(QStringLiteral("La pagina %1 rimanda a \"%2\", che non è una pagina web: "
                                       "non è stata letta.")
                            .arg(chiesto, prossimo.toDisplayString()));
            if (rimandi == MassimoRimandi)
                rifiuta(QStringLiteral("La pagina %1 rimanda ad altre pagine più di %2 volte: non "
                                       "è stata letta.")
                            .arg(chiesto)
                            .arg(MassimoRimandi));
            dove = prossimo;
            continue;
        }
        if (r->error() != QNetworkReply::NoError || stato >= 400)
            rifiuta(errore(*r, dove));
        const QByteArray pagina = r->readAll();
        const QString tipo = r->header(QNetworkRequest::ContentTypeHeader).toString();
        const bool html = tipo.isEmpty()
                              ? PaginaWeb::riconosci(pagina)
                              : tipo.contains(QLatin1String("html"), Qt::CaseInsensitive);
        if (!html && tipo.isEmpty())
            rifiuta(QStringLiteral("L'indirizzo %1 non porta a una pagina web: il sito non dice "
                                   "che cosa manda, e non è una pagina.")
                        .arg(chiesto));
        if (!html)
            rifiuta(QStringLiteral("L'indirizzo %1 non porta a una pagina web ma a un file di "
                                   "altro tipo (%2).")
                        .arg(chiesto, tipo.section(u';', 0, 0)));
        indirizzo = dove;
        // The server's charset wins over what the page itself declares, as in a browser.
        const QString charset =
            tipo.section(QLatin1String("charset="), 1).section(u';', 0, 0).remove(u'"').trimmed();
        return PaginaWeb::conCodifica(pagina, charset);
    }
}

} // namespace Scaricamento
