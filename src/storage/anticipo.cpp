// The whole checks started ahead, each on a thread of its own, owned by the registry of books
// (Libro::anticipo) until taken out of it by whoever then joins its thread: the opening of the
// book, once it waited for the check to end; a check started anew for the same book, once the
// last one ended; the application's end, which interrupts those still running and joins every
// thread before anything they use is destroyed. A check's connection is read-only
// and its own (Database::apriAParte).
#include "storage/database.h"

#include "storage/libri.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

bool finito(const Controllo &c)
{
    return c.fatto.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace

void Database::verificaInAnticipo(const QString &percorso)
{
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    // Without an application nothing would join the thread before the statics go.
    if (canonico.isEmpty() || !QFileInfo(canonico).isFile() || !Libri::registro().allaFine())
        return;
    auto nuovo = std::make_shared<Controllo>();
    const std::shared_ptr<Controllo> finitoPrima =
        Libri::registro().con(canonico, [&](Libro &l) -> std::shared_ptr<Controllo> {
            // The same book named again while its check runs: the opening waits for that one.
            if (l.anticipo && !finito(*l.anticipo)) {
                nuovo.reset();
                return nullptr;
            }
            std::promise<void> promessa;
            nuovo->fatto = promessa.get_future().share();
            nuovo->filo =
                std::thread([c = nuovo.get(), percorso, p = std::move(promessa)]() mutable {
                    // A failure is found again, and said, by the opening.
                    try {
                        Database::apriAParte(percorso, &c->interruttore);
                    } catch (...) {
                    }
                    p.set_value();
                });
            return std::exchange(l.anticipo, nuovo);
        });
    if (finitoPrima && finitoPrima->filo.joinable())
        finitoPrima->filo.join();
}

void Database::attendiVerifica(const QString &canonico)
{
    const std::shared_ptr<Controllo> c =
        Libri::registro().con(canonico, [](Libro &l) { return l.anticipo; });
    if (!c)
        return;
    c->fatto.wait();
    // Whoever takes a check out of the registry joins its thread.
    const bool preso = Libri::registro().con(canonico, [&](Libro &l) {
        if (l.anticipo != c)
            return false;
        l.anticipo.reset();
        return true;
    });
    if (preso && c->filo.joinable())
        c->filo.join();
}

void Database::fermaVerifiche()
{
    std::vector<std::shared_ptr<Controllo>> controlli;
    Libri::registro().conTutti([&](QHash<QString, std::shared_ptr<Libro>> &libri) {
        for (const std::shared_ptr<Libro> &l : std::as_const(libri))
            if (l->anticipo)
                controlli.push_back(std::exchange(l->anticipo, nullptr));
    });
    for (const auto &c : controlli)
        c->interruttore.interrompi();
    for (const auto &c : controlli)
        if (c->filo.joinable())
            c->filo.join();
}
