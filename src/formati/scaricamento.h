#pragma once

#include <QByteArray>
#include <QUrl>
#include <functional>

// Web pages fetched for their recipes: http and https only, within the limits a recipe page
// never comes near (redirects, time, size), in Italian, as Italian sites would serve them.
namespace Scaricamento {

// The page at indirizzo. avanzamento(ricevuti, totale) is called as bytes arrive and now and
// then while none do (totale -1 when unknown); returning false cancels at once. Throws
// EngineError with an Italian text naming the real cause (ConversioneAnnullata for a cancel);
// indirizzo becomes the address finally read, after its redirects.
QByteArray scarica(QUrl &indirizzo, const std::function<bool(qint64, qint64)> &avanzamento = {});

// The whole fetch's time limit, 20 s by default.
void setLimiteTempo(int millisecondi);

} // namespace Scaricamento
