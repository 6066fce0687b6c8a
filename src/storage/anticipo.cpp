// The whole checks started ahead, each on a thread of its own. One object owns them all: an
// opening waits for its book's; the program's end interrupts those still running and waits for
// their threads before anything they use is destroyed.
#include "storage/database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <future>
#include <sqlite3.h>
#include <thread>

namespace {

class Anticipi
{
public:
    struct Controllo
    {
        std::thread filo;
        std::shared_future<void> fatto;
        Database::Interruttore interruttore;
    };

    static Anticipi &tutti()
    {
        static Anticipi a;
        return a;
    }
    ~Anticipi() { ferma(); }

    void avvia(const QString &percorso, const QString &canonico)
    {
        QMutexLocker bloccato(&guardia_);
        // The same book named again while its check runs: the opening waits for that one.
        if (const auto c = inCorso_.value(canonico);
            c && c->fatto.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return;
        raccogli();
        auto c = std::make_shared<Controllo>();
        std::promise<void> promessa;
        c->fatto = promessa.get_future().share();
        c->filo = std::thread([c = c.get(), percorso, p = std::move(promessa)]() mutable {
            // A failure is found again, and said, by the opening.
            try {
                Database::apriAParte(percorso, &c->interruttore);
            } catch (...) {
            }
            p.set_value();
        });
        inCorso_.insert(canonico, c);
        tenuti_.push_back(c);
    }

    void attendi(const QString &canonico)
    {
        std::shared_future<void> fatto;
        {
            const QMutexLocker bloccato(&guardia_);
            if (const auto c = inCorso_.take(canonico))
                fatto = c->fatto;
        }
        if (fatto.valid())
            fatto.wait();
    }

    void ferma()
    {
        std::vector<std::shared_ptr<Controllo>> tenuti;
        {
            const QMutexLocker bloccato(&guardia_);
            tenuti.swap(tenuti_);
            inCorso_.clear();
        }
        for (const auto &c : tenuti)
            c->interruttore.interrompi();
        for (const auto &c : tenuti)
            if (c->filo.joinable())
                c->filo.join();
    }

private:
    // Threads whose check ended are joined here, under the lock.
    void raccogli()
    {
        std::erase_if(tenuti_, [](const std::shared_ptr<Controllo> &c) {
            if (c->fatto.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
                return false;
            c->filo.join();
            return true;
        });
    }

    QMutex guardia_;
    QHash<QString, std::shared_ptr<Controllo>> inCorso_;
    std::vector<std::shared_ptr<Controllo>> tenuti_;
};

} // namespace

void Database::verificaInAnticipo(const QString &percorso)
{
    const QString canonico = QFileInfo(percorso).canonicalFilePath();
    if (canonico.isEmpty() || !QFileInfo(canonico).isFile())
        return;
    // The threads end with the application, before the program's statics go.
    static const bool registrato = [] {
        qAddPostRoutine(&Database::fermaVerifiche);
        return true;
    }();
    (void)registrato;
    Anticipi::tutti().avvia(percorso, canonico);
}

void Database::fermaVerifiche()
{
    Anticipi::tutti().ferma();
}

void Database::attendiVerifica(const QString &canonico)
{
    Anticipi::tutti().attendi(canonico);
}
