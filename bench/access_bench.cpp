// Converting the Access 2002-2003 fixture into a book of ours, the helper process included.
#include "formati/libroaccess.h"
#include "storage/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int Giri = 10;

qint64 righe(const QString &libro)
{
    sqlite3 *db = nullptr;
    qint64 n = 0;
    if (sqlite3_open_v2(QFile::encodeName(libro).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK)
        for (const Schema::Tabella &t : Schema::tabelle()) {
            sqlite3_stmt *s = nullptr;
            const QByteArray sql = "SELECT count(*) FROM \"" + t.nome.toUtf8() + '"';
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) == SQLITE_OK &&
                sqlite3_step(s) == SQLITE_ROW)
                n += sqlite3_column_int64(s, 0);
            sqlite3_finalize(s);
        }
    sqlite3_close(db);
    return n;
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
