// Converting the Access 2002-2003 fixture into a book of ours, the helper process included.
#include "formati/libroaccess.h"
#include "storage/database.h"
#include "storage/engineerror.h"
#include "storage/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Giri = 10;

// The rows of every table, read through storage as the program would; 0 when unreadable.
qint64 righe(const QString &libro)
{
    try {
        const std::shared_ptr<Database> db = Database::apri(libro, Database::Modo::SolaLettura);
        qint64 n = 0;
        for (const Schema::Tabella &t : Schema::tabelle())
            n += db->valore("SELECT count(*) FROM \"" + t.nome + '"').toLongLong();
        return n;
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 0;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Aiutante::Opzioni jet3{QStringLiteral(PENTOLONE_JET)};
    const QString jet = QStringLiteral(PENTOLONE_ACCESS "/ricettario-access2003.mdb");
    QTemporaryDir dir;
    std::vector<double> tempi;
    qint64 totale = 0;
    for (int i = 0; i < Giri; ++i) {
        const QString copia = dir.filePath(QStringLiteral("copia%1.mdb").arg(i));
        QElapsedTimer t;
        t.start();
        ConversioneAccess conversione(jet3);
        QEventLoop attesa;
        QString rifiuto;
        QObject::connect(&conversione, &ConversioneAccess::riuscita, &attesa, &QEventLoop::quit);
        QObject::connect(&conversione, &ConversioneAccess::rifiutata, &attesa,
                         [&](const Rifiuto &r) {
                             rifiuto = r.testo;
                             attesa.quit();
                         });
        conversione.avvia(jet, copia);
        attesa.exec();
        if (!rifiuto.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(rifiuto));
            return 1;
        }
        tempi.push_back(t.nsecsElapsed() / 1e6);
        totale = righe(copia);
    }
    std::sort(tempi.begin(), tempi.end());
    const double mediana = (tempi[Giri / 2 - 1] + tempi[Giri / 2]) / 2;
    if (totale == 0)
        return 1;
    std::printf("convert_ms: %.1f ms\n", mediana);
    std::printf("per_row_ms: %.3f ms\n", mediana / double(totale));
    return 0;
}
