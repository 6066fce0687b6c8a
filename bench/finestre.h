#pragma once

// What the benchmarks that drive windows share: dialogs nobody answers, controls by name, the
// median of repeated timings.
#include "toolkit/dialogs.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTableView>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

// The bench answers nothing: a message box means the window went somewhere a cook would not,
// and the figures would not be the ones asked for.
class Silenzio : public Dialogs
{
public:
    int inattesi = 0;
    QStringList attesi; // messages the bench expects, answered OK
    Risposta messageBox(const QString &testo, Pulsanti, const QString &titolo, Icona) override
    {
        if (attesi.contains(testo))
            return OK;
        std::fprintf(stderr, "messaggio inatteso: %s (%s)\n", qPrintable(testo),
                     qPrintable(titolo));
        ++inattesi;
        return OK;
    }
    QString inputBox(const QString &, const QString &, const QString &, bool) override
    {
        ++inattesi;
        return {};
    }
    QString openFile(const QString &, const QString &, const QString &, bool) override
    {
        ++inattesi;
        return {};
    }
    bool printPreview(const QString &, const std::function<void()> &) override
    {
        ++inattesi;
        return false;
    }
    std::unique_ptr<Avanzamento> avanzamento(const QString &testo, const QString &, int) override
    {
        struct Muto : Avanzamento
        {
            void segna(qint64, qint64) override {}
        };
        std::fprintf(stderr, "avanzamento inatteso: %s\n", qPrintable(testo));
        ++inattesi;
        return std::make_unique<Muto>();
    }
    int copie = 0; // the print dialog's answer; none expected when 0
    int printDialog(int, const QString &) override
    {
        if (copie == 0)
            ++inattesi;
        return copie;
    }
    void beep() override {}
    void help(const QString &, int, int) override { ++inattesi; }
    void openUrl(const QString &) override { ++inattesi; }
};

// The resident memory of the process, in MB.
inline double memoriaMb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &r : f.readAll().split('\n'))
        if (r.startsWith("VmRSS:"))
            return r.mid(6).trimmed().split(' ').first().toDouble() / 1024; // kB
    return 0;
}

// The CPU time of the process, all its threads, in milliseconds.
inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Milliseconds since t started.
inline double ms(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// The figures need no display: offscreen unless a platform was asked for. Before QApplication.
inline void senzaSchermo()
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class T> inline T *controllo(QWidget *finestra, const char *nome)
{
    T *c = finestra->findChild<T *>(nome);
    if (!c) {
        std::fprintf(stderr, "controllo mancante: %s\n", nome);
        std::exit(1);
    }
    return c;
}

// The recipe list window listing every recipe by name, its first righe rows selected as the
// mouse would.
inline void elencoConScelte(QWidget *elenco, int righe)
{
    controllo<QAbstractButton>(elenco, "Option2")->click();
    auto *griglia = controllo<QTableView>(elenco, "Griglia");
    griglia->selectionModel()->select(
        QItemSelection(griglia->model()->index(0, 0), griglia->model()->index(righe - 1, 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
